// The horizontal rule, block element and font dialogs' tag compositions.
#include "core/markup/DialogRule.h"

#include <cstdio>

namespace {

void AddQuoted(std::string &Tag, const char *Name, const std::string &Value)
{
    if (!Value.empty())
        Tag += std::string(" ") + Name + "=\"" + Value + "\"";
}

void AddBare(std::string &Tag, const char *Name, const std::string &Value)
{
    if (!Value.empty())
        Tag += std::string(" ") + Name + "=" + Value;
}

} // namespace

std::string ComposeHRTag(const THRFields &Fields)
{
    std::string tag = "<HR";
    AddQuoted(tag, "ALIGN", Fields.Align);
    AddQuoted(tag, "CLEAR", Fields.Clear);
    AddBare(tag, "SIZE", Fields.Size);
    AddBare(tag, "WIDTH", Fields.Width);
    if (Fields.NoShade)
        tag += " NOSHADE";
    return tag + ">";
}

std::string ComposeBlockStartTag(const TBlockFields &Fields)
{
    std::string tag = "<" + Fields.Element;
    AddQuoted(tag, "ALIGN", Fields.Align);
    AddQuoted(tag, "CLASS", Fields.Class);
    AddQuoted(tag, "CLEAR", Fields.Clear);
    if (Fields.NoWrap)
        tag += " NOWRAP";
    return tag + ">";
}

std::string ComposeEndTag(const std::string &Element)
{
    return "</" + Element + ">";
}

std::string HeadingDialogCaption(int Level)
{
    return "Heading Style " + std::to_string(Level);
}

std::string HeadingElement(int Level)
{
    return "H" + std::to_string(Level);
}

std::string ComposeFontStartTag(const TFontFields &Fields)
{
    std::string tag = "<" + Fields.Element;
    AddQuoted(tag, "SIZE", Fields.Size);
    if (!Fields.Color.empty())
        tag += " COLOR=\"#" + Fields.Color + "\"";
    return tag + ">";
}

std::string FontColorText(unsigned char R, unsigned char G, unsigned char B)
{
    char text[7];
    std::snprintf(text, sizeof text, "%2.2X%2.2X%2.2X", R, G, B);
    return text;
}
