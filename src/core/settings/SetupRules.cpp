// The Preferences dialog's rules without a window: default extension, browser choice, colour texts.
#include "core/settings/SetupRules.h"

#include <cstdio>

std::string DefFileExtFromEdit(const std::string &Typed)
{
    if (!Typed.empty() && Typed.front() == '.')
        return Typed.substr(1);
    return Typed;
}

TBrowserChoice BrowserChoiceOf(const std::string &ProgPath)
{
    if (ProgPath == kNetscapeProgPath)
        return TBrowserChoice::Netscape;
    if (ProgPath == kIExploreProgPath)
        return TBrowserChoice::IExplore;
    return TBrowserChoice::Other;
}

std::string ColorRGBText(TColor Color)
{
    char text[8];
    std::snprintf(text, sizeof text, "%2.2X%2.2X%2.2X", unsigned(Color.R), unsigned(Color.G), unsigned(Color.B));
    return text;
}

std::string CustomColorKey(int Index)
{
    return std::string("Color") + char('A' + Index);
}

std::string CustomColorValue(TColor Color)
{
    char text[8];
    std::snprintf(text, sizeof text, "%2.2X%2.2X%2.2X", unsigned(Color.B), unsigned(Color.G), unsigned(Color.R));
    return text;
}

std::optional<TColor> ParseCustomColorValue(const std::string &Value)
{
    if (Value.empty() || Value.size() > 6)
        return std::nullopt;
    unsigned v = 0;
    for (const char c : Value) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = unsigned(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = unsigned(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = unsigned(c - 'a' + 10);
        else
            return std::nullopt;
        v = v * 16 + digit;
    }
    return TColor{uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF), uint8_t((v >> 16) & 0xFF)};
}

TCustomColors ReadCustomColors(const TProfile &Profile)
{
    TCustomColors colors;
    for (int i = 0; i < kCustomColorCount; ++i)
        colors[std::size_t(i)] = ParseCustomColorValue(Profile.ReadString("CustomColors", CustomColorKey(i), ""));
    return colors;
}

void WriteCustomColors(TProfile &Profile, const std::array<TColor, kCustomColorCount> &Colors)
{
    for (int i = 0; i < kCustomColorCount; ++i)
        Profile.WriteString("CustomColors", CustomColorKey(i), CustomColorValue(Colors[std::size_t(i)]));
}
