// TTableDlg: the table designer, its spin edits and its grid.
#include "ui/dialogs/TableDesigner.h"

#include "platform/DialogExec.h"
#include "platform/Help.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/dialogs/CellPropertiesDialog.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/dialogs/TableSourceView.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Spin edit

TSpinEdit::TSpinEdit(const char *Name, int MinValue, int MaxValue, int Value, QWidget *Parent)
    : QAbstractSpinBox(Parent), MinValue(MinValue), MaxValue(MaxValue)
{
    setObjectName(Name);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    lineEdit()->setText(QString::number(Value));
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { emit Changed(); });
}

QSize TSpinEdit::sizeHint() const
{
    ensurePolished();
    const QFontMetrics fm(font());
    const int text = std::max(fm.horizontalAdvance(QString::number(MaxValue)), fm.horizontalAdvance(QString::number(MinValue)));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize content(text + 2 * fm.horizontalAdvance(QLatin1Char(' ')), lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, content, this);
}

int TSpinEdit::Value() const
{
    return SpinEditValue(QStringToBytes(text()));
}

void TSpinEdit::SetValue(int Value)
{
    const QString text = QString::number(Value);
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
    update();
}

void TSpinEdit::ClampValue()
{
    const int value = Value();
    const int clamped = std::clamp(value, MinValue, MaxValue);
    if (clamped != value)
        SetValue(clamped);
}

QValidator::State TSpinEdit::validate(QString &Input, int &) const
{
    const QChar decimal = QLocale().decimalPoint().isEmpty() ? QChar('.') : QLocale().decimalPoint().front();
    for (const QChar c : Input)
        if (!c.isDigit() && c != '+' && c != '-' && c != decimal)
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

void TSpinEdit::stepBy(int Steps)
{
    const long long value = static_cast<long long>(Value()) + Steps;
    SetValue(static_cast<int>(std::clamp<long long>(value, MinValue, MaxValue)));
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (Value() < MaxValue)
        enabled |= StepUpEnabled;
    if (Value() > MinValue)
        enabled |= StepDownEnabled;
    return enabled;
}

void TSpinEdit::focusOutEvent(QFocusEvent *E)
{
    ClampValue();
    QAbstractSpinBox::focusOutEvent(E);
}

// ---------------------------------------------------------------------------------------------
// Grid model and drawing

class TTableModel : public QAbstractTableModel {
public:
    TTableModel(TTableGrid &Grid, QObject *Parent) : QAbstractTableModel(Parent), Grid(Grid) {}

    int rowCount(const QModelIndex &Parent = {}) const override { return Parent.isValid() ? 0 : Grid.RowCount(); }
    int columnCount(const QModelIndex &Parent = {}) const override { return Parent.isValid() ? 0 : Grid.ColCount(); }
    QVariant data(const QModelIndex &Index, int Role) const override
    {
        if (!Index.isValid() || (Role != Qt::DisplayRole && Role != Qt::EditRole))
            return {};
        return BytesToQString(Grid.Cell(Index.column(), Index.row()));
    }
    bool setData(const QModelIndex &Index, const QVariant &Value, int Role) override
    {
        if (!Index.isValid() || Role != Qt::EditRole)
            return false;
        Grid.SetCell(Index.column(), Index.row(), QStringToBytes(Value.toString()));
        emit dataChanged(Index, Index);
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex &Index) const override
    {
        // Heading cells are the grid's fixed cells: never current, never edited in place.
        if (!Index.isValid() || Grid.IsHeadingCell(Index.column(), Index.row()))
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }
    QVariant headerData(int Section, Qt::Orientation, int Role) const override
    {
        return Role == Qt::DisplayRole ? QVariant(Section) : QVariant();
    }
    void Refresh()
    {
        beginResetModel();
        endResetModel();
    }

private:
    TTableGrid &Grid;
};

namespace {

class TCellDelegate : public QStyledItemDelegate {
public:
    TCellDelegate(const TTableGrid &Grid, const TCellInfoList &Cells, QObject *Parent)
        : QStyledItemDelegate(Parent), Grid(Grid), Cells(Cells)
    {
    }

    void paint(QPainter *P, const QStyleOptionViewItem &Option, const QModelIndex &Index) const override
    {
        const int col = Index.column(), row = Index.row();
        const bool heading = Grid.IsHeadingCell(col, row);
        // Heading cells are disabled items; they are drawn in the active colours all the same.
        const QPalette pal = Option.widget ? Option.widget->palette() : Option.palette;
        const auto color = [&pal](QPalette::ColorRole Role) { return pal.color(QPalette::Active, Role); };
        QColor fill = color(QPalette::Base);
        if (heading)
            fill = color(QPalette::Dark);
        else if (Option.state & QStyle::State_HasFocus)
            fill = color(QPalette::Button);
        else if (Option.state & QStyle::State_Selected)
            fill = color(QPalette::Highlight);
        const QRect r = Option.rect;
        P->save();
        P->fillRect(r, fill);
        QFont font = Option.font;
        font.setBold(heading);
        P->setFont(font);
        const QFontMetrics fm(font);
        const QString text = BytesToQString(Grid.Cell(col, row));
        const TCellTextPos pos = CellTextPosition(r.left(), r.top(), r.width(), r.height(),
                                                  fm.horizontalAdvance(text), fm.height(), heading,
                                                  Cells.GetCell(col, row));
        P->setClipRect(r);
        P->setPen(color((Option.state & QStyle::State_Selected) && !heading && !(Option.state & QStyle::State_HasFocus)
                            ? QPalette::HighlightedText
                            : QPalette::Text));
        P->drawText(pos.X, pos.Y + fm.ascent(), text);
        P->restore();
    }

    QWidget *createEditor(QWidget *Parent, const QStyleOptionViewItem &Option, const QModelIndex &Index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(Parent, Option, Index);
        // The cell takes every keystroke at once, so OK and Source see what is being typed.
        if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            QPointer<QLineEdit> guard(edit);
            connect(edit, &QLineEdit::textEdited, this, [this, guard] {
                if (guard)
                    emit const_cast<TCellDelegate *>(this)->commitData(guard);
            });
        }
        return editor;
    }

private:
    const TTableGrid &Grid;
    const TCellInfoList &Cells;
};

} // namespace

TStringGrid::TStringGrid(QWidget *Parent) : QTableView(Parent)
{
    setObjectName("Table1");
    setFont(QFont("Arial", 8));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(true);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setContextMenuPolicy(Qt::PreventContextMenu);
    horizontalHeader()->setSectionsMovable(true);
    verticalHeader()->setSectionsMovable(true);
    horizontalHeader()->setDefaultSectionSize(64);
    verticalHeader()->setDefaultSectionSize(24);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent *E)
{
    if (E->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(E->position().toPoint());
        // Outside every cell the right button does nothing.
        if (index.isValid())
            emit CellRightClicked(index.column(), index.row());
        return;
    }
    QTableView::mouseReleaseEvent(E);
}

// ---------------------------------------------------------------------------------------------
// Designer

TTableDlg::TTableDlg(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("TableDlg");
    setWindowTitle("Table Designer");

    RowSpinEdit = new TSpinEdit("RowSpinEdit", 1, TableMaxRows, 5, this);
    ColSpinEdit = new TSpinEdit("ColSpinEdit", 1, TableMaxCols, 5, this);
    ColHeadingsCheck = new QCheckBox("Column Headings", this);
    ColHeadingsCheck->setObjectName("ColHeadingsCheck");
    ColHeadingsCheck->setChecked(true);
    RowHeadingsCheck = new QCheckBox("Row Headings", this);
    RowHeadingsCheck->setObjectName("RowHeadingsCheck");
    RowHeadingsCheck->setChecked(true);
    TableCaptionEdit = NewEdit(this, "TableCaptionEdit");
    CaptionAlignCombo = NewEditableCombo(this, "CaptionAlignCombo");
    for (const char *align : CaptionAlignments)
        CaptionAlignCombo->addItem(QString::fromLatin1(align));
    CaptionAlignCombo->setCurrentIndex(-1);
    CaptionAlignCombo->setEditText(QString());
    BorderCheckBox = new QCheckBox("Border Width", this);
    BorderCheckBox->setObjectName("BorderCheckBox");
    BorderCheckBox->setChecked(true);
    BorderWidthEdit = NewEdit(this, "BorderWidthEdit");
    CellPaddingEdit = NewEdit(this, "CellPaddingEdit");
    CellSpacingEdit = NewEdit(this, "CellSpacingEdit");
    Table1 = new TStringGrid(this);
    Model = new TTableModel(Grid, this);
    Table1->setModel(Model);
    Table1->setItemDelegate(new TCellDelegate(Grid, CellInfoList, Table1));
    PreviewBtn = NewButton(this, "PreviewBtn", "Source");
    const TDialogButtons buttons = NewDialogButtons(*this, "table_designer", "OkBtn");
    OkBtn = buttons.OK;
    CancelBtn = buttons.Cancel;
    HelpBtn = buttons.Help;

    auto label = [this](const char *text, QWidget *buddy) {
        auto *l = new QLabel(QString::fromLatin1(text), this);
        l->setBuddy(buddy);
        return l;
    };
    auto *options = new QGridLayout;
    options->addWidget(label("Rows", RowSpinEdit), 0, 0);
    options->addWidget(RowSpinEdit, 0, 1);
    options->addWidget(label("Columns", ColSpinEdit), 1, 0);
    options->addWidget(ColSpinEdit, 1, 1);
    options->addWidget(ColHeadingsCheck, 0, 2);
    options->addWidget(RowHeadingsCheck, 1, 2);
    options->addWidget(label("Caption", TableCaptionEdit), 2, 0);
    options->addWidget(TableCaptionEdit, 2, 1, 1, 2);
    options->addWidget(label("Position", CaptionAlignCombo), 2, 3);
    options->addWidget(CaptionAlignCombo, 2, 4);
    options->addWidget(BorderCheckBox, 0, 3);
    options->addWidget(BorderWidthEdit, 0, 4);
    options->addWidget(label("Cell Padding", CellPaddingEdit), 1, 3);
    options->addWidget(CellPaddingEdit, 1, 4);
    options->addWidget(label("Cell Spacing", CellSpacingEdit), 1, 5);
    options->addWidget(CellSpacingEdit, 1, 6);
    auto *hint = new QLabel("Right-click on table headings to specify text", this);
    hint->setObjectName("HintLabel");
    auto *row = new QHBoxLayout;
    row->addWidget(PreviewBtn);
    row->addStretch();
    row->addWidget(OkBtn);
    row->addWidget(CancelBtn);
    row->addWidget(HelpBtn);
    auto *main = new QVBoxLayout(this);
    main->addLayout(options);
    main->addWidget(hint);
    main->addWidget(Table1, 1);
    main->addLayout(row);
    // The number fields need room for a few digits only; what is left goes to the grid's width.
    for (QLineEdit *number : {BorderWidthEdit, CellPaddingEdit, CellSpacingEdit})
        number->setFixedWidth(number->fontMetrics().horizontalAdvance("00000") + 16);
    options->setColumnStretch(7, 1);
    resize(std::max(560, sizeHint().width()), 420);
    // 48 pixels from the top of the screen, centred across it.
    const QRect screenArea = (Parent ? Parent->screen() : screen())->availableGeometry();
    move(screenArea.left() + std::max(0, (screenArea.width() - width()) / 2), screenArea.top() + 48);

    connect(RowSpinEdit, &TSpinEdit::Changed, this, &TTableDlg::RowSpinEditChange);
    connect(ColSpinEdit, &TSpinEdit::Changed, this, &TTableDlg::ColSpinEditChange);
    connect(ColHeadingsCheck, &QCheckBox::clicked, this, &TTableDlg::ColHeadingsCheckClick);
    connect(RowHeadingsCheck, &QCheckBox::clicked, this, &TTableDlg::RowHeadingsCheckClick);
    connect(Table1, &TStringGrid::CellRightClicked, this,
            [this](int col, int row) { Guarded([&] { Table1MouseUp(col, row); }); });
    connect(Table1->verticalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { Table1RowMoved(from, to); });
    connect(Table1->horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { Table1ColumnMoved(from, to); });
    connect(PreviewBtn, &QPushButton::clicked, this, [this] { Guarded([this] { PreviewBtnClick(); }); });
    connect(OkBtn, &QPushButton::clicked, this, &TTableDlg::OkBtnClick);
}

TTableDlg::~TTableDlg() = default;

void TTableDlg::RefreshGrid()
{
    Model->Refresh();
}

void TTableDlg::RowSpinEditChange()
{
    Grid.SetRowCount(RowSpinEdit->Value());
    // A single row cannot carry the heading row, but the box keeps its tick; the heading row
    // comes back with the second row, so the table always matches what the box shows.
    if (ColHeadingsCheck->isChecked() && Grid.FixedRows() == 0 && Grid.ColHeadingsEnabled())
        Grid.SetFixedRows(true);
    ColHeadingsCheck->setEnabled(Grid.ColHeadingsEnabled());
    RefreshGrid();
}

void TTableDlg::ColSpinEditChange()
{
    Grid.SetColCount(ColSpinEdit->Value());
    if (RowHeadingsCheck->isChecked() && Grid.FixedCols() == 0 && Grid.RowHeadingsEnabled())
        Grid.SetFixedCols(true);
    RowHeadingsCheck->setEnabled(Grid.RowHeadingsEnabled());
    RefreshGrid();
}

void TTableDlg::ColHeadingsCheckClick()
{
    Grid.SetFixedRows(ColHeadingsCheck->isChecked());
    RefreshGrid();
}

void TTableDlg::RowHeadingsCheckClick()
{
    Grid.SetFixedCols(RowHeadingsCheck->isChecked());
    RefreshGrid();
}

void TTableDlg::Table1MouseUp(int Col, int Row)
{
    if (Col < 0 || Row < 0 || Col >= Grid.ColCount() || Row >= Grid.RowCount())
        return;
    TCellProperty dlg(this);
    if (const TCellInfo *info = CellInfoList.GetCell(Col, Row)) {
        SetComboText(*dlg.HAlignCombo, info->HAlign);
        SetComboText(*dlg.VAlignCombo, info->VAlign);
        dlg.NoWrapCheck->setChecked(info->NoWrap);
    }
    SetEditText(*dlg.TextEdit, Grid.Cell(Col, Row));
    dlg.setWindowTitle(BytesToQString(CellPropertyCaption(Col, Row, Grid.IsHeadingCell(Col, Row))));
    if (ExecDialog(dlg) != QDialog::Accepted)
        return;
    Grid.SetCell(Col, Row, EditText(*dlg.TextEdit));
    CellInfoList.SetCell(Col, Row, ComboText(*dlg.HAlignCombo), ComboText(*dlg.VAlignCombo),
                         dlg.NoWrapCheck->isChecked());
    RefreshGrid();
}

void TTableDlg::Table1RowMoved(int From, int To)
{
    // The header sections stay in order; the rows' texts move instead.
    QHeaderView *header = Table1->verticalHeader();
    {
        const QSignalBlocker block(header);
        header->moveSection(To, From);
    }
    // A heading row stays where it is, and nothing is moved onto it.
    if (From < Grid.FixedRows() || To < Grid.FixedRows())
        return;
    Grid.MoveRow(From, To);
    RefreshGrid();
}

void TTableDlg::Table1ColumnMoved(int From, int To)
{
    QHeaderView *header = Table1->horizontalHeader();
    {
        const QSignalBlocker block(header);
        header->moveSection(To, From);
    }
    if (From < Grid.FixedCols() || To < Grid.FixedCols())
        return;
    Grid.MoveColumn(From, To);
    RefreshGrid();
}

TTableOptions TTableDlg::Options() const
{
    TTableOptions o;
    o.Border = BorderCheckBox->isChecked();
    o.BorderWidth = EditText(*BorderWidthEdit);
    o.CellPadding = EditText(*CellPaddingEdit);
    o.CellSpacing = EditText(*CellSpacingEdit);
    o.Caption = EditText(*TableCaptionEdit);
    o.CaptionAlign = ComboText(*CaptionAlignCombo);
    return o;
}

void TTableDlg::Generate()
{
    Source = GenerateTableLines(Options(), Grid, CellInfoList);
}

void TTableDlg::PreviewBtnClick()
{
    Generate();
    TTablePreview preview(this);
    preview.SetLines(Source);
    ExecDialog(preview);
}

void TTableDlg::OkBtnClick()
{
    Generate();
    accept();
}

std::optional<std::vector<std::string>> ExecTableDlg(QWidget *Parent)
{
    TTableDlg dlg(Parent);
    if (ExecDialog(dlg) != QDialog::Accepted)
        return std::nullopt;
    return dlg.Source;
}
