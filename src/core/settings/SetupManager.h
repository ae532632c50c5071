// TSetupManager: the settings kept in memory: loaded from the settings file at creation, each written back the
// moment it is set. Also the settings file name, the working directory and the colour indices.
#pragma once

#include "core/settings/Profile.h"

#include <cstdint>
#include <string>

// The settings file's name as the program knows it.
inline constexpr const char *kSettingsFileName = "PELMAR32.INI";

// A colour as red, green, blue.
struct TColor {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TColor &) const = default;
};

// Index 0..15 to one of the 16 standard colours (black, maroon, green, olive, navy, purple, teal,
// silver, grey, red, lime, yellow, blue, fuchsia, aqua, white). Out-of-range indices give black.
TColor ColorIndexToColor(int Index);
bool IsValidColorIndex(int Index);
// The index of a standard colour, or -1.
int ColorToColorIndex(TColor Color);

// Records the working directory and makes it the process's current directory. The first call
// also fixes the settings file name: dir/PELMAR32.INI when that file exists there, else the bare
// name. Returns false when the directory cannot be entered.
bool SetWorkingDirectory(const std::string &Dir);
const std::string &WorkingDirectory();
const std::string &SettingsFileName();
// Forgets the settings file name so the next SetWorkingDirectory fixes it again (tests).
void ResetSettingsFileName();

// Screen metrics for the defaults of the window rectangle.
struct TSystemMetrics {
    int CXBorder = 1, CYBorder = 1;
    int CXScreen = 1024, CYScreen = 768;
    int CYIcon = 32;
};

class TSetupManager {
public:
    // Loads, in this order: Maximize, WordWrap, MDIChildMaximize, the window rectangle, the three
    // colours, SyntaxHighlighting, LowerCaseTags, NetscapeDDE, ProgPath, Dictionary,
    // UserDictionary, DefFileExt. Missing or malformed values take their defaults.
    TSetupManager(const std::string &FileName, const TSystemMetrics &Metrics);

    int WindowTop() const { return FWindowTop; }
    int WindowLeft() const { return FWindowLeft; }
    int WindowWidth() const { return FWindowWidth; }
    int WindowHeight() const { return FWindowHeight; }
    bool WordWrap() const { return FWordWrap; }
    bool SyntaxHighlighting() const { return FSyntaxHighlighting; }
    TColor TextColor() const { return FTextColor; }
    TColor ElementColor() const { return FElementColor; }
    TColor EntityColor() const { return FEntityColor; }
    // The indices behind the three colours (always 0..15).
    int TextColorIndex() const { return FTextColorIndex; }
    int ElementColorIndex() const { return FElementColorIndex; }
    int EntityColorIndex() const { return FEntityColorIndex; }
    bool LowerCaseTags() const { return FLowerCaseTags; }
    bool MDIChildMaximize() const { return FMDIChildMaximize; }
    bool Maximize() const { return FMaximize; }
    bool NetscapeDDE() const { return FNetscapeDDE; }
    const std::string &ProgPath() const { return FProgPath; }
    const std::string &Dictionary() const { return FDictionary; }
    const std::string &UserDictionary() const { return FUserDictionary; }
    const std::string &DefFileExt() const { return FDefFileExt; }

    // Each setter stores the value and writes its key at once (EProfileError on failure).
    void SetWindowTop(int v);
    void SetWindowLeft(int v);
    void SetWindowWidth(int v);
    void SetWindowHeight(int v);
    void SetWordWrap(bool v);
    void SetSyntaxHighlighting(bool v);
    void SetLowerCaseTags(bool v);
    void SetMDIChildMaximize(bool v);
    void SetMaximize(bool v);
    void SetNetscapeDDE(bool v);
    void SetProgPath(const std::string &v);
    void SetDictionary(const std::string &v);
    void SetUserDictionary(const std::string &v);
    void SetDefFileExt(const std::string &v);
    // Store ColorIndexToColor(Index) and write the index. An index outside 0..15 stands for the
    // property's default index (0, 12, 9), which is then stored and written instead.
    void SetTextColorIndex(int Index);
    void SetElementColorIndex(int Index);
    void SetEntityColorIndex(int Index);

    static constexpr int DefaultTextColorIndex = 0;
    static constexpr int DefaultElementColorIndex = 12;
    static constexpr int DefaultEntityColorIndex = 9;

    const TProfile &Profile() const { return FProfile; }

private:
    TProfile FProfile;
    int FWindowTop, FWindowLeft, FWindowWidth, FWindowHeight;
    bool FWordWrap = false, FSyntaxHighlighting = true, FLowerCaseTags = false;
    bool FMDIChildMaximize = false, FMaximize = false, FNetscapeDDE = false;
    TColor FTextColor, FElementColor, FEntityColor;
    int FTextColorIndex = DefaultTextColorIndex, FElementColorIndex = DefaultElementColorIndex;
    int FEntityColorIndex = DefaultEntityColorIndex;
    std::string FProgPath, FDictionary, FUserDictionary, FDefFileExt;
};
