// TTBackgroundBox: the body colors dialog (BODY (Background Colors)): five page colours picked on a 16-colour
// grid and shown on a sample, a background image, and the BODY start tag built from them.
#pragma once

#include "core/markup/DialogBody.h"

#include <QDialog>
#include <QWidget>

#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The 16 standard colours in a 4 by 4 grid with two marks: the left mouse button moves the
// foreground mark ("FG"), the right button the background mark ("BG").
class TBodyColorGrid : public QWidget {
    Q_OBJECT
public:
    explicit TBodyColorGrid(QWidget *Parent = nullptr);

    int ForegroundIndex() const { return FForeground; }
    int BackgroundIndex() const { return FBackground; }
    // Move a mark without raising Change; indices outside 0..15 are ignored.
    void SetForegroundIndex(int Index);
    void SetBackgroundIndex(int Index);
    static QColor CellColor(int Index);
    QRect CellRect(int Index) const;
    // The cell under a point, or -1.
    int CellAt(const QPoint &Pos) const;

    QSize sizeHint() const override;

signals:
    // A mouse button moved a mark.
    void Change();

protected:
    void paintEvent(QPaintEvent *E) override;
    void mousePressEvent(QMouseEvent *E) override;

private:
    int FForeground = 0, FBackground = 7;
};

// The colour sample: the text colour and the three link colours written on the background.
class TBodySample : public QWidget {
    Q_OBJECT
public:
    TBodySample(const TBodyColors &Colors, QWidget *Parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *E) override;

private:
    const TBodyColors &FColors;
};

class TTBackgroundBox : public QDialog {
    Q_OBJECT
public:
    explicit TTBackgroundBox(QWidget *Parent = nullptr);

    TBodyColorGrid *ColorGrid1 = nullptr;
    QRadioButton *TextRadio = nullptr, *LinkRadio = nullptr, *VLinkRadio = nullptr, *ALinkRadio = nullptr;
    TBodySample *PaintBox1 = nullptr;
    QLineEdit *ImagePathEdit = nullptr;
    QPushButton *BrowseBtn = nullptr;
    QCheckBox *EndTagCheck = nullptr;
    QPushButton *OkButton = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;

    // The five colour choices and the grid's marks.
    TBodyColors Colors;
    // The BODY start tag, built by OK.
    std::string ResultText;

    void ColorGrid1Change();
    void RadioClick(TBodyElement Element);
    void BrowseBtnClick();
    void OkButtonClick();
};

struct TBodyResult {
    std::string Tag;  // the BODY start tag
    bool EndTag = false;  // "Include </BODY> tag" was checked
};

// Runs the body colors dialog once; its tag and end-tag choice when it closed with OK.
std::optional<TBodyResult> ExecBackgroundBox(QWidget *Parent);
