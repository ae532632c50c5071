// Browser preview: Test HTML Document writes the active document to a preview file and hands it
// to the chosen browser (a DDE conversation, the class key's open command, or a program);
// Update Viewer saves the active document.
#pragma once

#include <QObject>
#include <QString>

class TMainForm;
class TMDIChild;

class TBrowserPreview : public QObject {
    Q_OBJECT
public:
    // Lives as a child of the main window (object name "BrowserPreview").
    explicit TBrowserPreview(TMainForm &Main);

    // Incremented before each preview file is named; 0 at start.
    int PreviewCounter = 0;

    // Test HTML Document (F9, the standard bar's Test button).
    void TestButtonClick();
    // Update Viewer (F8): the File menu's Save as a menu click, only while it is enabled.
    void UpdateViewer1Click();

    // Names the next preview file of Doc, writes the document's text to it with CR LF line ends
    // (Modified and the document's file name untouched) and adds it to PreviewFiles. Returns the
    // file's full name; raises the file layer's error when it cannot be written.
    QString WritePreviewFile(TMDIChild &Doc);

private:
    // Hands the preview to one of the two DDE browsers, falling back on its class key's command.
    void PreviewByDde(const QString &Service, bool Request, const QString &FullName);

    TMainForm &Main;
};

// Creates the main window's preview commands and connects TestHTMLDocument1 and UpdateViewer1.
TBrowserPreview *ConnectPreviewCommands(TMainForm &Main);
// The preview commands of a main window, or nullptr.
TBrowserPreview *BrowserPreview(const TMainForm &Main);
