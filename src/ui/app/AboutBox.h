// TAboutBoxSW: the about box and the program icon.
#pragma once

#include <QDialog>
#include <QIcon>

class QLabel;
class QPushButton;

// The version shown in the about box and by --version.
inline constexpr const char *ProgramVersion = "1.5f";

// The program's icon, drawn Size logical pixels wide for a screen of that pixel ratio (the same
// picture as the installed pelmar32.svg).
QPixmap ProgramIconPixmap(int Size, qreal DevicePixelRatio = 1.0);
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
