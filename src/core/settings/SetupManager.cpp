// TSetupManager, the colour-index rule, the working directory and the settings file name.
#include "core/settings/SetupManager.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The system's default 20-colour palette; the 16 standard colours skip entries 8 to 11.
constexpr TColor kPalette[20] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

struct TWorkState {
    std::string workDir;
    std::string settingsFile = kSettingsFileName;
    bool settingsFixed = false;
};

TWorkState &State()
{
    static TWorkState state;
    return state;
}

int ReadColorIndex(const TProfile &p, const char *key, int def)
{
    const int index = p.ReadInteger("Syntax Highlighting", key, def);
    return IsValidColorIndex(index) ? index : def;
}

} // namespace

bool IsValidColorIndex(int Index)
{
    return Index >= 0 && Index <= 15;
}

TColor ColorIndexToColor(int Index)
{
    if (!IsValidColorIndex(Index))
        return kPalette[0];
    return kPalette[Index < 8 ? Index : Index + 4];
}

int ColorToColorIndex(TColor Color)
{
    for (int i = 0; i < 16; ++i)
        if (ColorIndexToColor(i) == Color)
            return i;
    return -1;
}

bool SetWorkingDirectory(const std::string &Dir)
{
    TWorkState &s = State();
    if (!s.settingsFixed) {
        s.settingsFixed = true;
        std::error_code ec;
        const fs::path candidate = fs::path(Dir) / kSettingsFileName;
        if (!Dir.empty() && fs::is_regular_file(candidate, ec))
            s.settingsFile = Dir + (Dir.back() == '/' ? "" : "/") + kSettingsFileName;
        else
            s.settingsFile = kSettingsFileName;
    }
    if (Dir.empty())
        return false;
    std::error_code ec;
    const fs::path absolute = fs::absolute(Dir, ec);
    if (ec)
        return false;
    fs::current_path(absolute, ec);
    if (ec)
        return false;
    s.workDir = absolute.string();
    return true;
}

const std::string &WorkingDirectory()
{
    TWorkState &s = State();
    if (s.workDir.empty()) {
        std::error_code ec;
        s.workDir = fs::current_path(ec).string();
    }
    return s.workDir;
}

const std::string &SettingsFileName()
{
    return State().settingsFile;
}

void ResetSettingsFileName()
{
    State().settingsFixed = false;
    State().settingsFile = kSettingsFileName;
}

TSetupManager::TSetupManager(const std::string &FileName, const TSystemMetrics &Metrics) : FProfile(FileName)
{
    const TProfile &p = FProfile;
    FMaximize = p.ReadBool("Setup", "Maximize", false);
    FWordWrap = p.ReadBool("Setup", "WordWrap", false);
    FMDIChildMaximize = p.ReadBool("Setup", "ChildMaximize", false);
    FWindowTop = p.ReadInteger("Position", "Top", Metrics.CYBorder);
    FWindowLeft = p.ReadInteger("Position", "Left", Metrics.CXBorder);
    FWindowWidth = p.ReadInteger("Position", "Width", Metrics.CXScreen - Metrics.CXBorder);
    FWindowHeight = p.ReadInteger("Position", "Height", Metrics.CYScreen - 2 * Metrics.CYIcon + 4);
    FTextColorIndex = ReadColorIndex(p, "TextColor", DefaultTextColorIndex);
    FElementColorIndex = ReadColorIndex(p, "ElementColor", DefaultElementColorIndex);
    FEntityColorIndex = ReadColorIndex(p, "EntityColor", DefaultEntityColorIndex);
    FTextColor = ColorIndexToColor(FTextColorIndex);
    FElementColor = ColorIndexToColor(FElementColorIndex);
    FEntityColor = ColorIndexToColor(FEntityColorIndex);
    FSyntaxHighlighting = p.ReadBool("Setup", "SyntaxHighlighting", true);
    FLowerCaseTags = p.ReadBool("Setup", "LowerCaseTags", false);
    FNetscapeDDE = p.ReadBool("Setup", "NetscapeDDE", false);
    FProgPath = p.ReadString("Setup", "ProgPath", "");
    FDictionary = p.ReadString("Setup", "Dictionary", "english.dct");
    FUserDictionary = p.ReadString("Setup", "UserDictionary", "user.udc");
    FDefFileExt = p.ReadString("Setup", "DefFileExt", "htm");
}

void TSetupManager::SetWindowTop(int v) { FWindowTop = v; FProfile.WriteInteger("Position", "Top", v); }
void TSetupManager::SetWindowLeft(int v) { FWindowLeft = v; FProfile.WriteInteger("Position", "Left", v); }
void TSetupManager::SetWindowWidth(int v) { FWindowWidth = v; FProfile.WriteInteger("Position", "Width", v); }
void TSetupManager::SetWindowHeight(int v) { FWindowHeight = v; FProfile.WriteInteger("Position", "Height", v); }
void TSetupManager::SetWordWrap(bool v) { FWordWrap = v; FProfile.WriteBool("Setup", "WordWrap", v); }
void TSetupManager::SetSyntaxHighlighting(bool v)
{
    FSyntaxHighlighting = v;
    FProfile.WriteBool("Setup", "SyntaxHighlighting", v);
}
void TSetupManager::SetLowerCaseTags(bool v) { FLowerCaseTags = v; FProfile.WriteBool("Setup", "LowerCaseTags", v); }
void TSetupManager::SetMDIChildMaximize(bool v)
{
    FMDIChildMaximize = v;
    FProfile.WriteBool("Setup", "ChildMaximize", v);
}
void TSetupManager::SetMaximize(bool v) { FMaximize = v; FProfile.WriteBool("Setup", "Maximize", v); }
void TSetupManager::SetNetscapeDDE(bool v) { FNetscapeDDE = v; FProfile.WriteBool("Setup", "NetscapeDDE", v); }
void TSetupManager::SetProgPath(const std::string &v) { FProgPath = v; FProfile.WriteString("Setup", "ProgPath", v); }
void TSetupManager::SetDictionary(const std::string &v)
{
    FDictionary = v;
    FProfile.WriteString("Setup", "Dictionary", v);
}
void TSetupManager::SetUserDictionary(const std::string &v)
{
    FUserDictionary = v;
    FProfile.WriteString("Setup", "UserDictionary", v);
}
void TSetupManager::SetDefFileExt(const std::string &v)
{
    FDefFileExt = v;
    FProfile.WriteString("Setup", "DefFileExt", v);
}

void TSetupManager::SetTextColorIndex(int Index)
{
    FTextColorIndex = IsValidColorIndex(Index) ? Index : DefaultTextColorIndex;
    FTextColor = ColorIndexToColor(FTextColorIndex);
    FProfile.WriteInteger("Syntax Highlighting", "TextColor", FTextColorIndex);
}

void TSetupManager::SetElementColorIndex(int Index)
{
    FElementColorIndex = IsValidColorIndex(Index) ? Index : DefaultElementColorIndex;
    FElementColor = ColorIndexToColor(FElementColorIndex);
    FProfile.WriteInteger("Syntax Highlighting", "ElementColor", FElementColorIndex);
}

void TSetupManager::SetEntityColorIndex(int Index)
{
    FEntityColorIndex = IsValidColorIndex(Index) ? Index : DefaultEntityColorIndex;
    FEntityColor = ColorIndexToColor(FEntityColorIndex);
    FProfile.WriteInteger("Syntax Highlighting", "EntityColor", FEntityColorIndex);
}
