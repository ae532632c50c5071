// TTableDlg: the table designer (Table Designer): rows, columns and headings of a table laid out on a grid,
// cell texts edited in place, cell attributes through the cell properties dialog, and the
// table's source lines.
#pragma once

#include "core/markup/DialogTable.h"

#include <QAbstractSpinBox>
#include <QDialog>
#include <QTableView>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TTableModel;

// A spin edit that takes typed text as it is (digits, signs and the decimal separator only),
// keeps its arrows within MinValue..MaxValue and puts an out-of-range number back to the nearest
// bound when it loses the focus. A text that is no whole number counts as 1.
class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    TSpinEdit(const char *Name, int MinValue, int MaxValue, int Value, QWidget *Parent = nullptr);

    const int MinValue, MaxValue;
    int Value() const;
    void SetValue(int Value);
    // What leaving the edit does: an out-of-range number becomes the nearest bound.
    void ClampValue();

    QValidator::State validate(QString &Input, int &Pos) const override;
    void fixup(QString &) const override {}
    void stepBy(int Steps) override;
    // Room for the widest value beside the arrows.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // The text changed, by typing or by the arrows.
    void Changed();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent *E) override;
};

// The designer's grid view: cells drawn by the designer's rules, heading cells that never take
// the focus, a right-click report per cell, rows and columns dragged by their header sections.
class TStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget *Parent = nullptr);

signals:
    // The right mouse button was released over a cell.
    void CellRightClicked(int Col, int Row);

protected:
    void mouseReleaseEvent(QMouseEvent *E) override;
};

class TTableDlg : public QDialog {
    Q_OBJECT
public:
    explicit TTableDlg(QWidget *Parent = nullptr);
    ~TTableDlg() override;

    TSpinEdit *RowSpinEdit = nullptr, *ColSpinEdit = nullptr;
    QCheckBox *ColHeadingsCheck = nullptr, *RowHeadingsCheck = nullptr;
    QLineEdit *TableCaptionEdit = nullptr;
    QComboBox *CaptionAlignCombo = nullptr;
    QCheckBox *BorderCheckBox = nullptr;
    QLineEdit *BorderWidthEdit = nullptr, *CellPaddingEdit = nullptr, *CellSpacingEdit = nullptr;
    TStringGrid *Table1 = nullptr;
    QPushButton *PreviewBtn = nullptr, *OkBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;

    // The grid's texts and headings, the per-cell attributes and the generated lines.
    TTableGrid Grid;
    TCellInfoList CellInfoList;
    std::vector<std::string> Source;

    void RowSpinEditChange();
    void ColSpinEditChange();
    void ColHeadingsCheckClick();
    void RowHeadingsCheckClick();
    // The cell properties dialog for a cell (right mouse button released over it).
    void Table1MouseUp(int Col, int Row);
    // A row or column dragged from one position to another: the texts move, attributes stay.
    void Table1RowMoved(int From, int To);
    void Table1ColumnMoved(int From, int To);
    void PreviewBtnClick();
    void OkBtnClick();

    TTableOptions Options() const;
    // Rebuilds Source from the controls, the grid and the attributes.
    void Generate();
    // Shows the grid afresh after its size, headings or texts changed.
    void RefreshGrid();

private:
    TTableModel *Model = nullptr;
};

// Runs the table designer once; its lines when it closed with OK.
std::optional<std::vector<std::string>> ExecTableDlg(QWidget *Parent);
