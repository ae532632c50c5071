// TFontDlg: the font dialog (Font, or Base Font): the size and colour of a FONT or BASEFONT tag, the
// colour picked with the shared colour choice.
#pragma once

#include "core/markup/DialogRule.h"

#include <QColor>
#include <QDialog>
#include <QWidget>

#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// A framed rectangle filled with one colour.
class TColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit TColorSwatch(QWidget *Parent = nullptr);
    QColor Color() const { return FColor; }
    void SetColor(const QColor &Color);
    QSize sizeHint() const override { return QSize(40, 24); }

protected:
    void paintEvent(QPaintEvent *E) override;

private:
    QColor FColor = Qt::white;
};

class TFontDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFontDlg(QWidget *Parent = nullptr);

    QGroupBox *SizeGroup = nullptr, *ColorGroup = nullptr;
    QLabel *SizeLabel = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *ColorEdit = nullptr;
    TColorSwatch *Shape1 = nullptr;
    QPushButton *OKButton = nullptr;  // "&Choose..."
    QPushButton *Button2 = nullptr;   // OK
    QPushButton *Button3 = nullptr;   // Cancel

    // "&Choose...": the colour choice's text into ColorEdit and its colour into Shape1; a
    // cancelled choice empties ColorEdit and paints Shape1 black.
    void OKButtonClick();

    TFontFields Fields(const std::string &Element) const;
};

// Runs the font dialog once for Element ("FONT" or "BASEFONT"); an empty Caption or SizeLabel
// keeps the dialog's own ("Font", "Enter size (1-7 or +/- relative to basefont):"). The start
// and end tags when it closed with OK.
std::optional<std::pair<std::string, std::string>> ExecFontDlg(QWidget *Parent, const std::string &Element,
                                                                const QString &Caption = {},
                                                                const QString &SizeLabel = {});
