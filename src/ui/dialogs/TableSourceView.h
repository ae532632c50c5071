// TTablePreview: the table designer's source preview: the lines it would insert, read-only.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

class TTablePreview : public QDialog {
    Q_OBJECT
public:
    explicit TTablePreview(QWidget *Parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *OKBtn = nullptr;

    void SetLines(const std::vector<std::string> &Lines);
};
