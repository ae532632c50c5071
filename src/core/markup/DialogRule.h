// The horizontal rule, block element and font dialogs' tag compositions.
#pragma once

#include <string>

// Horizontal rule dialog fields; the alignment starts as "left".
struct THRFields {
    std::string Align = "left";
    std::string Clear, Size, Width;
    bool NoShade = false;
};

inline constexpr const char *HRAlignments[] = {"left", "center", "right"};
inline constexpr const char *ClearValues[] = {"left", "right", "all"};

// "<HR" ALIGN="" CLEAR="" SIZE= WIDTH= NOSHADE ">" (size and width unquoted).
std::string ComposeHRTag(const THRFields &Fields);

// Block element dialog fields: the element name ("P", "DIV", "H1".."H6") and its options.
struct TBlockFields {
    std::string Element;
    std::string Align = "left";
    std::string Class, Clear;
    bool NoWrap = false;
    bool EndTag = true; // also insert the end tag around the selection
};

inline constexpr const char *BlockAlignments[] = {"left", "center", "right", "justify"};
inline constexpr const char *BlockClasses[] = {"Abstract", "Appendix", "Chapter", "Section"};

// "<" Element ALIGN="" CLASS="" CLEAR="" NOWRAP ">".
std::string ComposeBlockStartTag(const TBlockFields &Fields);
// "</" Element ">".
std::string ComposeEndTag(const std::string &Element);
// The end-tag check box's caption: the end tag itself.
inline std::string BlockEndCheckCaption(const std::string &Element) { return ComposeEndTag(Element); }
// Caption and element of the heading dialog for Style 1..6 with Shift: "Heading Style n", "Hn".
std::string HeadingDialogCaption(int Level);
std::string HeadingElement(int Level);

// Font dialog fields: Element is "FONT" or "BASEFONT"; Color is hexadecimal digits without "#".
struct TFontFields {
    std::string Element = "FONT";
    std::string Size, Color;
};

// "<" Element SIZE="" COLOR="#..." ">"; the end tag is ComposeEndTag(Element).
std::string ComposeFontStartTag(const TFontFields &Fields);
// The colour text the colour chooser gives: red, green, blue as upper-case hexadecimal pairs.
std::string FontColorText(unsigned char R, unsigned char G, unsigned char B);
