// The about box and the program icon.
#pragma once

#include <QDialog>
#include <QIcon>

class QLabel;
class QPushButton;

// The program's icon, drawn at the given size.
QPixmap ProgramIconPixmap(int Size);
QIcon ProgramIcon();

// "About": the program icon, the product name and version; Credits opens the help topic
// "acknow", OK closes the box.
class TAboutBoxSW : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBoxSW(QWidget *Parent = nullptr);

    QLabel *ProgramIconLabel = nullptr;
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QPushButton *CreditsButton = nullptr;
    QPushButton *OKButton = nullptr;

    void CreditsButtonClick();
};
