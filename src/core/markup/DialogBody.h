// The body colors dialog's state (five colour choices on the 16-colour grid) and its BODY tag.
#pragma once

#include "core/settings/SetupManager.h"

#include <string>

enum class TBodyElement { Background, Text, Link, VisitedLink, ActiveLink };

// Grid index each element starts from: silver, black, blue, purple, red.
inline constexpr int BodyInitialIndex[5] = {7, 0, 12, 5, 9};

struct TBodyColorChoice {
    int Index = 0;
    TColor Color;
};

// "#" and red, green, blue as two upper-case hexadecimal digits each.
std::string HTMLColorText(TColor Color);

// A background image chosen with Browse: its file name alone, in lower case when LowerName.
std::string BodyImageFromBrowse(const std::string &ChosenPath, bool LowerName);

inline constexpr const char *BodyEndTag = "</BODY>";

// The dialog's colour choices and the colour grid's two marks. The grid's right button picks the
// background, its left button the colour of the element whose radio button is selected.
class TBodyColors {
public:
    TBodyColors();

    const TBodyColorChoice &Choice(TBodyElement Element) const { return Choices[static_cast<int>(Element)]; }
    TBodyElement Selected() const { return SelectedElement; }
    int GridForeground() const { return Foreground; }
    int GridBackground() const { return Background; }

    // A radio button click: the element becomes the selected one and the grid's foreground mark
    // moves to its index; no colour changes.
    void SelectElement(TBodyElement Element);
    // The grid reports both marks after a click with either button: the background takes the
    // background mark, the selected element the foreground mark. Indices outside 0..15 are
    // ignored.
    void GridChange(int ForegroundIndex, int BackgroundIndex);
    void LeftClick(int Index) { GridChange(Index, Background); }
    void RightClick(int Index) { GridChange(Foreground, Index); }

    // "<BODY", BACKGROUND when ImagePath is not empty, then BGCOLOR, TEXT, LINK, VLINK, ALINK
    // for each element whose index is not its initial one, then ">".
    std::string ComposeTag(const std::string &ImagePath) const;

private:
    TBodyColorChoice Choices[5];
    TBodyElement SelectedElement = TBodyElement::Text;
    int Foreground = 0, Background = 7;
};
