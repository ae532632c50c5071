// TInsertImageBox: the image dialog (Inline Image): an IMG tag composed from a source file and its attributes,
// with the image history list, and the image command that inserts the tag.
#pragma once

#include "platform/Prompt.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class THistoryCombo;
class TMainHost;
struct TImageFields;

class TInsertImageBox : public QDialog {
    Q_OBJECT
public:
    // Loads the image history (IMAGES.HIS); a missing file is reported and the list stays empty.
    explicit TInsertImageBox(QWidget *Parent = nullptr);
    ~TInsertImageBox() override;

    QLineEdit *SrcEdit = nullptr;
    QPushButton *BrowseButton = nullptr;
    QCheckBox *IncludeLocalPathCheck = nullptr;
    QLineEdit *AltEdit = nullptr;
    QComboBox *AlignCombo = nullptr;
    QLineEdit *WidthEdit = nullptr, *HeightEdit = nullptr, *BorderEdit = nullptr;
    QLineEdit *VSpaceEdit = nullptr, *HSpaceEdit = nullptr;
    QComboBox *TagCombo = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;
    // The open dialog that Browse runs.
    TFileDialogRequest BrowseOpenDialog;

    // Composes the tag afresh from the fields into TagCombo; a source naming a GIF file with a
    // positive size first puts that size into WidthEdit and HeightEdit.
    void UpdateURL();
    void BrowseButtonClick();
    // Adds the tag to the history, saves it and closes with OK.
    void OKBtnClick();

    // The text of TagCombo, which the caller inserts.
    std::string Tag() const;

private:
    TImageFields Fields() const;

    std::unique_ptr<THistoryCombo> ImageHistory;
    bool FUpdating = false;
};

// Runs the image dialog once with the initial source; the tag when it closed with OK.
std::optional<std::string> ExecImageBox(QWidget *Parent, const std::string &InitialSource);

// The image command: the dialog with the initial source, then, on OK, the tag into the main
// window's active document window through InsertMarkup (nothing without one).
void ImageCommand(const QString &InitialSource);
// Makes ImageCommand the main window's image command (dropped pictures).
void InstallImageCommand(TMainHost &Form);
