// Positions in the editor's text (paragraph and display-line coordinates) and how edits move them.
#pragma once

#include <compare>

// A paragraph position: paragraph 1..ParaCount, offset 1..length + 1 (character index, tab = 1).
struct TParaPos {
    int Para = 0;
    int Offset = 0;
    friend bool operator==(const TParaPos &, const TParaPos &) = default;
    friend auto operator<=>(const TParaPos &, const TParaPos &) = default;
};

// A line position: display line 1..LineCount over the whole text, column 1..line length + 1.
struct TLinePos {
    int Line = 0;
    int Col = 0;
    friend bool operator==(const TLinePos &, const TLinePos &) = default;
    friend auto operator<=>(const TLinePos &, const TLinePos &) = default;
};

enum class TShiftResult { Unchanged, Moved, Removed };

// One edit as it moves the positions held outside the text (bookmarks, caret, selection, top line).
struct TPosShift {
    enum TKind {
        CharsInserted, // Count characters at (Para, Offset): positions at or after Offset move right
        CharsDeleted,  // Count characters at (Para, Offset): positions inside are removed, later ones move left
        ParasInserted, // Count paragraphs now numbered Para..: paragraphs from Para on move down
        ParasDeleted,  // Count paragraphs from Para: positions in them are removed, later ones move up
        ParaSplit,     // Para split at Offset: the tail, Count indent columns later, is paragraph Para + 1
        ParasJoined,   // Para + 1 appended to Para at Offset
    };
    TKind Kind = CharsInserted;
    int Para = 0;
    int Offset = 0;
    int Count = 0;

    // Moves Pos as the edit moved the text. A position inside removed text is put where the removed
    // text was (the start of the deleted characters, or offset 1 of the paragraph that took the
    // deleted paragraphs' place) and Removed is returned: bookmarks there are cleared.
    TShiftResult Apply(TParaPos &Pos) const;
};
