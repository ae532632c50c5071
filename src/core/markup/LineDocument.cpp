// A plain in-memory document for the line-by-line markup commands.
#include "core/markup/LineDocument.h"

#include "core/editor/EditorErrors.h"
#include "core/markup/TagCase.h"

#include <algorithm>
#include <iterator>
#include <utility>

TStringLineDocument::TStringLineDocument(std::vector<std::string> Lines, int TabSize)
    : FLines(std::move(Lines)), FTabSize(TabSize > 0 ? TabSize : 8)
{
    if (FLines.empty())
        FLines.emplace_back();
}

std::string TStringLineDocument::Text(const std::string &Separator) const
{
    std::string Result;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        if (i > 0)
            Result += Separator;
        Result += FLines[i];
    }
    return Result;
}

const std::string &TStringLineDocument::LineAt(int Line) const
{
    if (Line < 1 || Line > static_cast<int>(FLines.size()))
        throw EInvalidLineOrPara();
    return FLines[static_cast<std::size_t>(Line - 1)];
}

int TStringLineDocument::LineCount() { return static_cast<int>(FLines.size()); }

std::string TStringLineDocument::GetLine(int Line) { return LineAt(Line); }

std::string TStringLineDocument::GetStringLine(int Line)
{
    std::string Result;
    for (char c : LineAt(Line)) {
        if (c == '\t')
            Result.append(static_cast<std::size_t>(FTabSize - static_cast<int>(Result.size()) % FTabSize), ' ');
        else
            Result += c;
    }
    return Result;
}

bool TStringLineDocument::GetSelection(int &Line1, int &Col1, int &Line2, int &Col2)
{
    if (FSelLine1 == FSelLine2 && FSelCol1 == FSelCol2)
        return false;
    Line1 = FSelLine1;
    Col1 = FSelCol1;
    Line2 = FSelLine2;
    Col2 = FSelCol2;
    return true;
}

void TStringLineDocument::SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd)
{
    const int Count = LineCount();
    auto Clip = [&](int &L, int &C) {
        L = std::clamp(L, 1, Count);
        C = std::clamp(C, 1, static_cast<int>(LineAt(L).size()) + 1);
    };
    Clip(Line1, Col1);
    Clip(Line2, Col2);
    if (CaretAtEnd) {
        FCaretLine = Line2;
        FCaretCol = Col2;
    } else {
        FCaretLine = Line1;
        FCaretCol = Col1;
    }
    if (std::pair(Line2, Col2) < std::pair(Line1, Col1)) {
        std::swap(Line1, Line2);
        std::swap(Col1, Col2);
    }
    FSelLine1 = Line1;
    FSelCol1 = Col1;
    FSelLine2 = Line2;
    FSelCol2 = Col2;
}

void TStringLineDocument::SetCaretPosition(int Line, int Col)
{
    if (Line < 1 || Line > LineCount() || Col < 1)
        throw EInvalidLineOrPara();
    Col = std::min(Col, static_cast<int>(LineAt(Line).size()) + 1);
    FCaretLine = FSelLine1 = FSelLine2 = Line;
    FCaretCol = FSelCol1 = FSelCol2 = Col;
}

bool TStringLineDocument::InsertPlainText(const std::string &Text)
{
    if (FReadOnly)
        return false;
    int Line1 = FCaretLine, Col1 = FCaretCol, Line2 = FCaretLine, Col2 = FCaretCol;
    GetSelection(Line1, Col1, Line2, Col2);
    const std::size_t First = static_cast<std::size_t>(Line1 - 1);
    const std::size_t Last = static_cast<std::size_t>(Line2 - 1);
    const std::string Head = FLines[First].substr(0, static_cast<std::size_t>(Col1 - 1));
    const std::string Tail = FLines[Last].substr(static_cast<std::size_t>(Col2 - 1));

    std::vector<std::string> Pieces(1);
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')
            continue;
        if (Text[i] == '\n' || Text[i] == '\r')
            Pieces.emplace_back();
        else
            Pieces.back() += Text[i];
    }
    Pieces.front().insert(0, Head);
    const int CaretLine = Line1 + static_cast<int>(Pieces.size()) - 1;
    const int CaretCol = static_cast<int>(Pieces.back().size()) + 1;
    Pieces.back() += Tail;

    // Lines are overwritten in place and only a difference in number shifts the ones below, so
    // a replacement within one line costs that line alone, not the rest of the document.
    const std::size_t Old = Last - First + 1;
    const std::size_t Common = std::min(Old, Pieces.size());
    for (std::size_t i = 0; i < Common; ++i)
        FLines[First + i] = std::move(Pieces[i]);
    const auto At = FLines.begin() + static_cast<std::ptrdiff_t>(First + Common);
    if (Old > Common)
        FLines.erase(At, At + static_cast<std::ptrdiff_t>(Old - Common));
    else
        FLines.insert(At, std::make_move_iterator(Pieces.begin() + static_cast<std::ptrdiff_t>(Common)),
                      std::make_move_iterator(Pieces.end()));
    SetCaretPosition(CaretLine, CaretCol);
    return true;
}

bool TStringLineDocument::InsertMarkup(const std::string &Text)
{
    return InsertPlainText(ApplyTagCase(Text, FLowerCaseTags));
}
