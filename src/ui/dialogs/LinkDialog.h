// TInsertURLBox: the link dialog (Link to URL): an address composed from a URL type, a host and a file, or typed
// or picked from its history, with the URL and host history lists.
#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class THistoryCombo;

class TInsertURLBox : public QDialog {
    Q_OBJECT
public:
    // Loads URLS.HIS, then HOSTS.HIS; each missing file is reported and leaves its list empty.
    explicit TInsertURLBox(QWidget *Parent = nullptr);
    ~TInsertURLBox() override;

    QComboBox *URLCombo = nullptr;
    QComboBox *URLTypesCombo = nullptr;
    QComboBox *HostCombo = nullptr;
    QLineEdit *FileEdit = nullptr;
    QPushButton *BrowseBtn = nullptr;
    QCheckBox *IncludeLocalPathCheck = nullptr;
    QPushButton *OkButton = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;

    // What Browse uses: the open dialog's filter and whether ".htm" becomes ".html".
    QString OpenFileFilter = "All files (*.*)|*.*";
    bool ForceHTMLExt = true;

    // The address from type, host and file into URLCombo.
    void UpdateAddress();
    void BrowseBtnClick();
    // Adds the address and the host to their histories, saves both and closes with OK.
    void OkButtonClick();

    // The text of URLCombo, which the caller makes the link's address.
    std::string Address() const;

private:
    std::unique_ptr<THistoryCombo> URLHistory, HostHistory;
    bool FUpdating = false;
};

// Runs the link dialog once (Browse taking the main window's filter and ForceHTMLExt when it
// exists); the address when it closed with OK.
std::optional<std::string> ExecURLBox(QWidget *Parent);
