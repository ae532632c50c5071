// TEdVScrollMap: column arithmetic of the editor view.
#include "core/editor/Columns.h"

#include "core/editor/Cells.h"
#include "core/editor/Search.h"

#include <algorithm>
#include <string>

int EdScreenWidth(std::string_view Line, int Count, int TabSize) { return TEdCells(Line, TabSize).Width(Count); }

int EdCharColumn(std::string_view Line, int ScreenCol, int TabSize)
{
    return TEdCells(Line, TabSize).CharColumn(ScreenCol);
}

std::string EdExpandTabs(std::string_view Line, int TabSize)
{
    const TEdCells Cells(Line, TabSize);
    return Cells.Slice(0, Cells.TotalWidth());
}

std::size_t EdWordLeft(std::string_view Para, std::size_t Pos)
{
    Pos = std::min(Pos, Para.size());
    while (Pos > 0 && IsWordDelimiter(Para[Pos - 1]))
        --Pos;
    while (Pos > 0 && !IsWordDelimiter(Para[Pos - 1]))
        --Pos;
    return Pos;
}

std::size_t EdWordRight(std::string_view Para, std::size_t Pos)
{
    while (Pos < Para.size() && !IsWordDelimiter(Para[Pos]))
        ++Pos;
    while (Pos < Para.size() && IsWordDelimiter(Para[Pos]))
        ++Pos;
    return Pos;
}

std::size_t EdDeleteWordEnd(std::string_view Para, std::size_t Pos)
{
    if (Pos >= Para.size())
        return Pos;
    std::size_t end = Pos;
    while (end < Para.size() && !IsWordDelimiter(Para[end]))
        ++end;
    if (end == Pos && !EdIsBlank(Para[end]))
        ++end;  // on a punctuation character: that character alone is the "word"
    while (end < Para.size() && EdIsBlank(Para[end]))
        ++end;
    return end;
}

std::pair<std::size_t, std::size_t> EdWordAt(std::string_view Para, std::size_t Pos)
{
    Pos = std::min(Pos, Para.size());
    std::size_t start = Pos;
    if (start >= Para.size() || IsWordDelimiter(Para[start])) {
        while (start > 0 && IsWordDelimiter(Para[start - 1]))
            --start;
    }
    while (start > 0 && !IsWordDelimiter(Para[start - 1]))
        --start;
    std::size_t end = start;
    while (end < Para.size() && !IsWordDelimiter(Para[end]))
        ++end;
    while (end < Para.size() && EdIsBlank(Para[end]))
        ++end;
    return {start, end};
}

std::int32_t TEdVScrollMap::TopLineAt(std::int32_t P) const
{
    if (P <= 1)
        return 1;
    if (P >= Max)
        return Lines;
    return std::clamp<std::int32_t>(Factor > 1 ? P * Factor : P, 1, Lines);
}

TEdVScrollMap EdVScrollMap(std::int32_t LineCount, std::int32_t VisibleRows)
{
    TEdVScrollMap map;
    map.Lines = std::max<std::int32_t>(1, LineCount - std::max<std::int32_t>(VisibleRows, 1) + 1);
    map.Factor = map.Lines > 32767 ? (map.Lines / 32768) * 2 : 1;
    map.Max = map.Lines / map.Factor;
    return map;
}

int EdHScrollMax(bool WordWrap, int WrapColumn, int ParaLengthLimit, int LongestLine)
{
    if (WordWrap)
        return std::min(WrapColumn, 512);
    // In steps of 1,024 columns, so that typing at the end of the longest line does not change
    // the scroll bar with every character.
    constexpr int Step = 1024;
    const int Reach = LongestLine <= 512 ? 0 : (LongestLine / Step + 1) * Step;
    return std::max(std::min(ParaLengthLimit, 512), Reach);
}

std::vector<std::pair<std::size_t, std::size_t>> EdPasteBlocks(std::string_view Text)
{
    std::vector<std::pair<std::size_t, std::size_t>> blocks;
    const std::size_t size = Text.size();
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = std::min(start + EdPasteBlockSize, size);
        const std::size_t cap = std::min(start + EdPasteBlockMax, size);
        while (end < cap && (Text[end] == '\r' || Text[end] == '\n'))
            ++end;
        // A CR run left at a block's end would be read as a line break although in the whole
        // text it is followed by other characters: keep such a run for the next block.
        if (end < size && Text[end] != '\n') {
            std::size_t back = end;
            while (back > start && Text[back - 1] == '\r')
                --back;
            if (back > start)
                end = back;
        }
        blocks.emplace_back(start, end);
        start = end;
    }
    return blocks;
}
