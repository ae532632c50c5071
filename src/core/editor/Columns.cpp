// TEdVScrollMap: column arithmetic of the editor view.
#include "core/editor/Columns.h"

#include "core/editor/Cells.h"
#include "core/editor/Chars.h"
#include "core/editor/Search.h"

#include <algorithm>
#include <string>

int EdScreenWidth(std::string_view Line, int Count, int TabSize, bool Utf8)
{
    return TEdCells(Line, TabSize, nullptr, Utf8).Width(Count);
}

int EdCharColumn(std::string_view Line, int ScreenCol, int TabSize)
{
    return TEdCells(Line, TabSize).CharColumn(ScreenCol);
}

std::string EdExpandTabs(std::string_view Line, int TabSize, bool Utf8)
{
    const TEdCells Cells(Line, TabSize, nullptr, Utf8);
    return Cells.Slice(0, Cells.TotalWidth());
}

namespace {

// Whether the character at Pos is a word character; Pos inside the text.
bool IsWord(std::string_view Para, std::size_t Pos, bool Utf8) { return EdIsWordChar(Para, Pos, Utf8); }

} // namespace

std::size_t EdWordLeft(std::string_view Para, std::size_t Pos, bool Utf8)
{
    Pos = std::min(Pos, Para.size());
    while (Pos > 0 && !IsWord(Para, EdPrevChar(Para, Pos, Utf8), Utf8))
        Pos = EdPrevChar(Para, Pos, Utf8);
    while (Pos > 0 && IsWord(Para, EdPrevChar(Para, Pos, Utf8), Utf8))
        Pos = EdPrevChar(Para, Pos, Utf8);
    return Pos;
}

std::size_t EdWordRight(std::string_view Para, std::size_t Pos, bool Utf8)
{
    while (Pos < Para.size() && IsWord(Para, Pos, Utf8))
        Pos = EdNextChar(Para, Pos, Utf8);
    while (Pos < Para.size() && !IsWord(Para, Pos, Utf8))
        Pos = EdNextChar(Para, Pos, Utf8);
    return Pos;
}

std::size_t EdDeleteWordEnd(std::string_view Para, std::size_t Pos, bool Utf8)
{
    if (Pos >= Para.size())
        return Pos;
    std::size_t end = Pos;
    while (end < Para.size() && IsWord(Para, end, Utf8))
        end = EdNextChar(Para, end, Utf8);
    if (end == Pos && !EdIsBlank(Para[end]))
        end = EdNextChar(Para, end, Utf8);  // on a punctuation character: that character alone is the "word"
    while (end < Para.size() && EdIsBlank(Para[end]))
        end = EdNextChar(Para, end, Utf8);
    return end;
}

std::pair<std::size_t, std::size_t> EdWordAt(std::string_view Para, std::size_t Pos, bool Utf8)
{
    Pos = std::min(Pos, Para.size());
    std::size_t start = EdCharStart(Para, Pos, Utf8);
    if (start >= Para.size() || !IsWord(Para, start, Utf8)) {
        while (start > 0 && !IsWord(Para, EdPrevChar(Para, start, Utf8), Utf8))
            start = EdPrevChar(Para, start, Utf8);
    }
    while (start > 0 && IsWord(Para, EdPrevChar(Para, start, Utf8), Utf8))
        start = EdPrevChar(Para, start, Utf8);
    std::size_t end = start;
    while (end < Para.size() && IsWord(Para, end, Utf8))
        end = EdNextChar(Para, end, Utf8);
    while (end < Para.size() && EdIsBlank(Para[end]))
        end = EdNextChar(Para, end, Utf8);
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
