// TPageWizDlg: the six-page HTML Page Builder wizard that writes a home page and opens it.
#pragma once

#include "core/markup/DialogPageBuilder.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class TMainHost;

class TPageWizDlg : public QDialog {
    Q_OBJECT
public:
    // Main opens the written page and gives the open-file filter; without it the page is only
    // written.
    explicit TPageWizDlg(TMainHost *Main, QWidget *Parent = nullptr);

    // The pages of Notebook1, in order.
    enum TPage { IntroPage, TitlePage, ImagePage, TextPage, LinksPage, SavePage };

    QStackedWidget *Notebook1 = nullptr;
    QLineEdit *TitleEdit = nullptr, *SubHeadingEdit = nullptr;
    QCheckBox *HRAfterHeadingsCheck = nullptr, *CenterCheck = nullptr;
    QLineEdit *ImageFileNameEdit = nullptr;
    QPushButton *ImageBrowseButton = nullptr;
    QCheckBox *CenterImageCheck = nullptr;
    QPlainTextEdit *ParagraphMemo = nullptr;
    QCheckBox *CenterParagraphCheck = nullptr;
    QLineEdit *LinkDesc1Edit = nullptr, *LinkURL1Edit = nullptr, *LinkDesc2Edit = nullptr, *LinkURL2Edit = nullptr,
              *LinkDesc3Edit = nullptr, *LinkURL3Edit = nullptr;
    QLineEdit *SaveBrowseEdit = nullptr;
    QPushButton *SaveBrowseButton = nullptr;
    QLabel *PageNumLabel = nullptr;
    QPushButton *PrevButton = nullptr, *NextButton = nullptr, *CancelButton = nullptr, *FinishButton = nullptr,
                *HelpButton = nullptr;

    // The page shown, from 1.
    int PageNumber() const;
    void PrevButtonClick();
    void NextButtonClick();
    void ImageBrowseButtonClick();
    void SaveBrowseButtonClick();
    // Checks the entries, writes the page, reports it and opens it; stays open on a missing
    // entry, closes otherwise.
    void FinishButtonClick();
    void HelpButtonClick();

    // The paragraph as the text box shows it: one entry per shown line, a long line broken
    // where the box wraps it.
    std::vector<std::string> ParagraphLines() const;
    // Everything entered, as the page generator takes it.
    TPageWizardAnswers Answers() const;

private:
    void BuildPages();
    void UpdateButtons();

    TMainHost *Main;
};
