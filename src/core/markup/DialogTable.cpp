// The table designer's data (grid texts, headings, per-cell attributes) and its table lines.
#include "core/markup/DialogTable.h"

#include <algorithm>
#include <charconv>

const TCellInfo *TCellInfoList::GetCell(int Col, int Row) const
{
    for (auto it = Items.rbegin(); it != Items.rend(); ++it)
        if (it->Col == Col && it->Row == Row)
            return &*it;
    return nullptr;
}

TCellInfo *TCellInfoList::GetCell(int Col, int Row)
{
    return const_cast<TCellInfo *>(static_cast<const TCellInfoList *>(this)->GetCell(Col, Row));
}

void TCellInfoList::SetCell(int Col, int Row, const std::string &HAlign, const std::string &VAlign, bool NoWrap)
{
    TCellInfo *info = GetCell(Col, Row);
    if (!info) {
        Items.push_back({Col, Row, {}, {}, false});
        info = &Items.back();
    }
    info->HAlign = HAlign.substr(0, CellAlignMax);
    info->VAlign = VAlign.substr(0, CellAlignMax);
    info->NoWrap = NoWrap;
}

int SpinEditValue(const std::string &Text)
{
    const char *first = Text.data(), *last = Text.data() + Text.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-')
            return 1;
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range && end == last)
        return (first != last && *first == '-') ? -2147483647 - 1 : 2147483647;
    if (ec != std::errc() || end != last)
        return 1;
    return static_cast<int>(std::clamp<long long>(value, -2147483647LL - 1, 2147483647LL));
}

void TTableGrid::SetRowCount(int Count)
{
    Rows = std::clamp(Count, 1, TableMaxRows);
    if (Rows <= FixedR)
        FixedR = 0;
}

void TTableGrid::SetColCount(int Count)
{
    Cols = std::clamp(Count, 1, TableMaxCols);
    if (Cols <= FixedC)
        FixedC = 0;
}

bool TTableGrid::SetFixedRows(bool On)
{
    if (On && Rows <= 1)
        return false;
    FixedR = On ? 1 : 0;
    return true;
}

bool TTableGrid::SetFixedCols(bool On)
{
    if (On && Cols <= 1)
        return false;
    FixedC = On ? 1 : 0;
    return true;
}

const std::string &TTableGrid::Cell(int Col, int Row) const
{
    static const std::string empty;
    const auto it = Texts.find({Col, Row});
    return it == Texts.end() ? empty : it->second;
}

void TTableGrid::SetCell(int Col, int Row, std::string Text)
{
    if (Text.empty())
        Texts.erase({Col, Row});
    else
        Texts[{Col, Row}] = std::move(Text);
}

bool TTableGrid::IsHeadingCell(int Col, int Row) const
{
    return (Col == 0 && FixedC > 0) || (Row == 0 && FixedR > 0);
}

void TTableGrid::MoveRow(int From, int To)
{
    if (From < 0 || From >= Rows || To < 0 || To >= Rows || From == To)
        return;
    for (int c = 0; c < Cols; ++c) {
        std::vector<std::string> column;
        for (int r = 0; r < Rows; ++r)
            column.push_back(Cell(c, r));
        std::string moved = std::move(column[From]);
        column.erase(column.begin() + From);
        column.insert(column.begin() + To, std::move(moved));
        for (int r = 0; r < Rows; ++r)
            SetCell(c, r, std::move(column[r]));
    }
}

void TTableGrid::MoveColumn(int From, int To)
{
    if (From < 0 || From >= Cols || To < 0 || To >= Cols || From == To)
        return;
    for (int r = 0; r < Rows; ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < Cols; ++c)
            row.push_back(Cell(c, r));
        std::string moved = std::move(row[From]);
        row.erase(row.begin() + From);
        row.insert(row.begin() + To, std::move(moved));
        for (int c = 0; c < Cols; ++c)
            SetCell(c, r, std::move(row[c]));
    }
}

std::vector<std::string> GenerateTableLines(const TTableOptions &Options, const TTableGrid &Grid,
                                            const TCellInfoList &Cells)
{
    std::vector<std::string> lines;
    std::string table = "TABLE";
    if (Options.Border) {
        table += " BORDER";
        if (!Options.BorderWidth.empty())
            table += "=\"" + Options.BorderWidth + "\"";
    }
    if (!Options.CellPadding.empty())
        table += " CELLPADDING=\"" + Options.CellPadding + "\"";
    if (!Options.CellSpacing.empty())
        table += " CELLSPACING=\"" + Options.CellSpacing + "\"";
    lines.push_back("<" + table + ">");

    if (!Options.Caption.empty()) {
        std::string caption = "<CAPTION";
        if (!Options.CaptionAlign.empty())
            caption += " ALIGN=\"" + Options.CaptionAlign + "\"";
        lines.push_back(caption + ">" + Options.Caption + "</CAPTION>");
    }

    for (int r = 0; r < Grid.RowCount(); ++r) {
        std::string line = "<TR> ";
        for (int c = 0; c < Grid.ColCount(); ++c) {
            const char *name = Grid.IsHeadingCell(c, r) ? "TH" : "TD";
            std::string attributes = name;
            if (const TCellInfo *info = Cells.GetCell(c, r)) {
                if (!info->HAlign.empty())
                    attributes += " ALIGN=\"" + info->HAlign + "\"";
                if (!info->VAlign.empty())
                    attributes += " VALIGN=\"" + info->VAlign + "\"";
                if (info->NoWrap)
                    attributes += " NOWRAP";
            }
            line += "<" + attributes + ">" + Grid.Cell(c, r) + "</" + name + "> ";
        }
        lines.push_back(line + "</TR>");
    }
    lines.push_back("</TABLE>");
    return lines;
}

std::string CellPropertyCaption(int Col, int Row, bool Heading)
{
    return std::string(Heading ? "Table Heading" : "Table Data") + ": Col " + std::to_string(Col) + ", Row " +
           std::to_string(Row);
}

TCellTextPos CellTextPosition(int Left, int Top, int Width, int Height, int TextWidth, int TextHeight,
                              bool Heading, const TCellInfo *Info)
{
    TCellTextPos pos{Left, Top + Height / 2 - TextHeight / 2, Heading};
    if (Heading)
        pos.X = Left + Width / 2 - TextWidth / 2;
    if (Info) {
        if (Info->HAlign == "left")
            pos.X = Left;
        else if (Info->HAlign == "center")
            pos.X = Left + Width / 2 - TextWidth / 2;
        else if (Info->HAlign == "right")
            pos.X = Left + Width - TextWidth;
        if (Info->VAlign == "top")
            pos.Y = Top;
        else if (Info->VAlign == "center")
            pos.Y = Top + Height / 2 - TextHeight / 2;
        else if (Info->VAlign == "bottom")
            pos.Y = Top + Height - TextHeight;
    }
    return pos;
}
