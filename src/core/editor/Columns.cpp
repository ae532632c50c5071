// TEdVScrollMap: column arithmetic of the editor view.
#include "core/editor/Columns.h"

#include "core/editor/Search.h"

#include <algorithm>
#include <string>

namespace {
inline int CellWidth(char c, int Width, int TabSize)
{
    return c == '\t' ? TabSize - Width % TabSize : 1;
}
} // namespace

int EdScreenWidth(std::string_view Line, int Count, int TabSize)
{
    if (TabSize <= 0)
        TabSize = 1;
    const int n = std::min<int>(std::max(Count, 0), static_cast<int>(Line.size()));
    int width = 0;
    for (int i = 0; i < n; ++i)
        width += CellWidth(Line[i], width, TabSize);
    return width + (std::max(Count, 0) - n);
}

int EdCharColumn(std::string_view Line, int ScreenCol, int TabSize)
{
    if (TabSize <= 0)
        TabSize = 1;
    const int target = ScreenCol - 1;
    int width = 0;
    const int n = static_cast<int>(Line.size());
    for (int i = 0; i < n; ++i) {
        const int w = CellWidth(Line[i], width, TabSize);
        if (target < width + w)
            return i + 1;
        width += w;
    }
    return n + 1 + std::max(0, target - width);
}

std::string EdExpandTabs(std::string_view Line, int TabSize)
{
    std::string out;
    out.reserve(Line.size());
    for (char c : Line) {
        if (c == '\t')
            out.append(static_cast<std::size_t>(CellWidth(c, static_cast<int>(out.size()), TabSize)), ' ');
        else
            out.push_back(c);
    }
    return out;
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

int EdHScrollMax(bool WordWrap, int WrapColumn, int ParaLengthLimit)
{
    return std::min(WordWrap ? WrapColumn : ParaLengthLimit, 512);
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
