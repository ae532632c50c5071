// The rules of the Preferences dialog that need no window: the stored default extension, the
// browser choice, colour texts and the colour dialog's custom colours in section CustomColors.
#pragma once

#include "core/settings/Profile.h"
#include "core/settings/SetupManager.h"

#include <array>
#include <optional>
#include <string>

// The default extension as typed to the one stored: a leading dot is dropped (".html" gives
// "html"); any other text is stored as typed.
std::string DefFileExtFromEdit(const std::string &Typed);

// Which browser ProgPath names: the two built-in names, or a program (also when empty).
enum class TBrowserChoice { Netscape, IExplore, Other };
TBrowserChoice BrowserChoiceOf(const std::string &ProgPath);
inline constexpr const char *kNetscapeProgPath = "Netscape";
inline constexpr const char *kIExploreProgPath = "IExplore";

// Red, green and blue as six upper-case hexadecimal digits ("FF0000" for pure red).
std::string ColorRGBText(TColor Color);

// The colour dialog keeps 16 custom colours.
inline constexpr int kCustomColorCount = 16;
// "ColorA" .. "ColorP" for Index 0..15.
std::string CustomColorKey(int Index);
// The stored form of a custom colour: the Windows colour value as six upper-case hexadecimal
// digits, blue first ("0000FF" for pure red).
std::string CustomColorValue(TColor Color);
// Reads a stored value (one to six hexadecimal digits, either case); nothing for anything else.
std::optional<TColor> ParseCustomColorValue(const std::string &Value);

// The custom colours of section CustomColors; an entry is empty where its key is missing or
// holds no colour.
using TCustomColors = std::array<std::optional<TColor>, kCustomColorCount>;
TCustomColors ReadCustomColors(const TProfile &Profile);
// Writes all 16 keys in order (EProfileError at the first write that fails).
void WriteCustomColors(TProfile &Profile, const std::array<TColor, kCustomColorCount> &Colors);
