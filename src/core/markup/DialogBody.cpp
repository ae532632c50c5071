// The body colors dialog's state (five colour choices on the 16-colour grid) and its BODY tag.
#include "core/markup/DialogBody.h"

#include "core/markup/DialogPaths.h"

#include <cstdio>

std::string HTMLColorText(TColor Color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%.2X%.2X%.2X", Color.R, Color.G, Color.B);
    return text;
}

std::string BodyImageFromBrowse(const std::string &ChosenPath, bool LowerName)
{
    const std::string name = DialogFileName(ChosenPath);
    return LowerName ? LowerAscii(name) : name;
}

TBodyColors::TBodyColors()
{
    for (int i = 0; i < 5; ++i)
        Choices[i] = {BodyInitialIndex[i], ColorIndexToColor(BodyInitialIndex[i])};
}

void TBodyColors::SelectElement(TBodyElement Element)
{
    SelectedElement = Element;
    if (Element != TBodyElement::Background)
        Foreground = Choice(Element).Index;
}

void TBodyColors::GridChange(int ForegroundIndex, int BackgroundIndex)
{
    if (ForegroundIndex < 0 || ForegroundIndex > 15 || BackgroundIndex < 0 || BackgroundIndex > 15)
        return;
    Foreground = ForegroundIndex;
    Background = BackgroundIndex;
    Choices[static_cast<int>(TBodyElement::Background)] = {Background, ColorIndexToColor(Background)};
    if (SelectedElement != TBodyElement::Background)
        Choices[static_cast<int>(SelectedElement)] = {Foreground, ColorIndexToColor(Foreground)};
}

std::string TBodyColors::ComposeTag(const std::string &ImagePath) const
{
    std::string tag = "<BODY";
    if (!ImagePath.empty())
        tag += " BACKGROUND=\"" + ImagePath + "\"";
    static const char *const names[5] = {"BGCOLOR", "TEXT", "LINK", "VLINK", "ALINK"};
    for (int i = 0; i < 5; ++i)
        if (Choices[i].Index != BodyInitialIndex[i])
            tag += std::string(" ") + names[i] + "=\"" + HTMLColorText(Choices[i].Color) + "\"";
    return tag + ">";
}
