// TTabbedNotebookDlg: the Preferences dialog (four pages of user settings) and the shared colour choice
// PickColor.
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

#include <functional>

class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class TColorGrid;
class TMainHost;

// A plain area whose content is drawn by OnPaint.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget *Parent = nullptr) : QWidget(Parent) {}
    std::function<void(QPainter &)> OnPaint;

protected:
    void paintEvent(QPaintEvent *E) override;
};

class TTabbedNotebookDlg : public QDialog {
    Q_OBJECT
public:
    // Builds the pages and runs FormCreate, whose effects on Main (the four flags, the quick-key
    // table) and on the working directory stay even when the dialog is cancelled.
    explicit TTabbedNotebookDlg(TMainHost &Main, QWidget *Parent = nullptr);

    // The pages, in tab order.
    enum TPage { OptionsPage, HelpersPage, ColorsPage, QuickKeysPage };

    QTabWidget *TabbedNotebook1 = nullptr;
    // Options
    QCheckBox *WordWrap = nullptr, *NewlineAfterTitle = nullptr, *UseAcualCharacters = nullptr,
              *DocOptionsDlg = nullptr, *LowerCaseTags = nullptr, *ForceHTMLExtCheck = nullptr,
              *NeverUseCenterCheck = nullptr, *MaximizeCheck = nullptr, *KeepTrailingBlanksCheck = nullptr;
    QLineEdit *DefFileExtEdit = nullptr;
    // Helpers
    QRadioButton *UseNetscapeRadio = nullptr, *UseIExploreRadio = nullptr, *UseOtherRadio = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *TestProgEdit = nullptr, *ImageEditorEdit = nullptr, *WorkDirEdit = nullptr;
    QPushButton *TestProgBrowseBtn = nullptr, *ImageEditorBrowseButton = nullptr, *WorkDirButton = nullptr;
    // Colors
    QRadioButton *NormalTextRadio = nullptr, *HTMLTagsRadio = nullptr, *EntitiesRadio = nullptr;
    QCheckBox *SyntaxHighlighting = nullptr;
    QSpinBox *UndoMemoryEdit = nullptr;
    // Seconds between recovery copies of unsaved text; 0 (shown as "off") writes none.
    QSpinBox *RecoverySecondsEdit = nullptr;
    QComboBox *NewDocEncodingCombo = nullptr;
    TColorGrid *ColorGrid2 = nullptr;
    TPaintBox *PaintBox1 = nullptr;
    // QuickKeys: 26 rows, column 0 fixed ("Ctrl+Q A".."Ctrl+Q Z"), column 1 the texts.
    QTableWidget *StringGrid1 = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;

    // The colour indices (0..15) and colours being edited: text, tags, entities.
    int TextColorIndex = 0, ElementColorIndex = 12, EntityColorIndex = 9;
    QColor TextColor, ElementColor, EntityColor;

    // Writes every setting (see the .cpp for the order); EProfileError stops at the failing write.
    void OKBtnClick();
    void HelpBtnClick();
    void TestProgBrowseBtnClick();
    void ImageEditorBrowseButtonClick();
    void WorkDirButtonClick();
    void BrowserRadioClick();
    void ColorRadioClick();
    void ColorGrid2Change();
    void PaintBox1Paint(QPainter &P);

    // The word the preview draws before the entity.
    static const char *const PreviewSampleWord;

private:
    void BuildOptionsPage();
    void BuildHelpersPage();
    void BuildColorsPage();
    void BuildQuickKeysPage();
    void FormCreate();
    // Whichever of the three category radios is selected: its index and colour.
    int &SelectedIndex();
    QColor &SelectedColor();

    TMainHost &Main;
};

// The shared colour choice: the colour dialog, starting at black, with its 16 custom colours
// read from and written back to section CustomColors. On OK: Color is the choice, Text its red,
// green and blue as six upper-case hexadecimal digits, and true returns. On Cancel: Text is
// empty, Color untouched, false returns.
bool PickColor(QColor &Color, QString &Text);
