// TMarkupEditor: the editor control of the document windows. Paints HTML tags and entities in
// their colours, detects DOS or Unix line ends when loading, and hands right button presses to
// its owner.
#pragma once

#include "core/settings/SetupManager.h"
#include "ui/editor/TextFileEditor.h"

#include <QColor>
#include <QPoint>

#include <functional>
#include <optional>
#include <string>

class TMarkupEditor : public TEdCustomTextFileEditor {
    Q_OBJECT
public:
    explicit TMarkupEditor(QWidget *Parent = nullptr);
    ~TMarkupEditor() override;

    // A right button press over the editor (Pos in the editor's client coordinates, as the
    // mouse events of its viewport give them). The caret does not move; the owner window
    // shows its menu here. Unassigned: the press goes on to the parent widget.
    std::function<void(TMarkupEditor *Sender, QPoint Pos)> OnRightButton;

    // The pens of plain text, of characters from "<" to ">" and from "&" to ";". All black at
    // first. Does not repaint by itself: call update() afterwards.
    void SetSyntaxColors(const QColor &Text, const QColor &Element, const QColor &Entity);
    void SetSyntaxColors(TColor Text, TColor Element, TColor Entity);
    QColor TextColor() const { return FTextColor; }
    QColor ElementColor() const { return FElementColor; }
    QColor EntityColor() const { return FEntityColor; }

    // 0 (ffNone): no file read or written yet; 1 (ffUnix): LF line ends; 2 (ffDos): CR LF.
    TFileFormat FileFormat() const { return FFileFormat; }
    void SetFileFormat(TFileFormat Value) { FFileFormat = Value; }

    // Detects the format on the file's first 512 bytes (a CR among them: DOS, else Unix), reads
    // it with that reader and sets FileFormat. A file that cannot be opened raises before
    // anything changes.
    void LoadFromFile(const QString &Name) override;

    // The selected text with CR LF between paragraphs; nullopt when nothing is selected.
    // Raises EEditorError 264 "Region is too large (> 64K)" when it holds more than
    // MaxSelectedText bytes. (A caller that needs the zero-terminated size adds 1.)
    std::optional<std::string> GetSelectedText() const;
    static constexpr int MaxSelectedText = 65520;

protected:
    void PaintRows(QPainter &Painter, int First, int Last) override;
    void mousePressEvent(QMouseEvent *E) override;
    void mouseDoubleClickEvent(QMouseEvent *E) override;
    void contextMenuEvent(QContextMenuEvent *E) override;

private:
    bool RightButton(QMouseEvent *E);

    QColor FTextColor{0, 0, 0};
    QColor FElementColor{0, 0, 0};
    QColor FEntityColor{0, 0, 0};
    TFileFormat FFileFormat = ffNone;
};
