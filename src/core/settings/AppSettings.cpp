// The main window's own keys of the settings file.
#include "core/settings/AppSettings.h"

#include <algorithm>

TAppFlags ReadAppFlags(const TProfile &Profile)
{
    TAppFlags f;
    f.UseActualCharacters = Profile.ReadBool("Setup", "UseActualCharacters", false);
    f.NewlineAfterTitle = Profile.ReadBool("Setup", "NewlineAfterTitle", false);
    f.ForceHTMLExt = Profile.ReadBool("Setup", "ForceHTMLExt", true);
    f.NeverUseCENTER = Profile.ReadBool("Setup", "NeverUseCENTER", true);
    return f;
}

TQuickKeyTable ReadQuickKeys(const TProfile &Profile)
{
    TQuickKeyTable t;
    for (int i = 0; i < 26; ++i)
        t[std::size_t(i)] = Profile.ReadString("QuickKeys", std::string(1, char('A' + i)), "");
    return t;
}

void WriteQuickKeys(TProfile &Profile, const TQuickKeyTable &Table)
{
    for (int i = 0; i < 26; ++i)
        Profile.WriteString("QuickKeys", std::string(1, char('A' + i)), Table[std::size_t(i)]);
}

const char *SpeedBarKey(TSpeedBar Bar)
{
    switch (Bar) {
    case TSpeedBar::Standard: return "DisplayStandardSpeedBar";
    case TSpeedBar::Common: return "DisplayCommonSpeedBar";
    case TSpeedBar::Extended: return "DisplayExtendedSpeedBar";
    case TSpeedBar::Special: return "DisplaySpecialSpeedBar";
    case TSpeedBar::Custom: return "DisplayCustomSpeedBar";
    }
    return "";
}

bool ReadSpeedBarVisible(const TProfile &Profile, TSpeedBar Bar)
{
    return Profile.ReadBool("Setup", SpeedBarKey(Bar), true);
}

void WriteSpeedBarVisible(TProfile &Profile, TSpeedBar Bar, bool Visible)
{
    Profile.WriteBool("Setup", SpeedBarKey(Bar), Visible);
}

std::vector<std::string> ReadRecentFiles(const TProfile &Profile)
{
    std::vector<std::string> names;
    for (std::size_t i = 1; i <= kMaxRecentFiles; ++i) {
        std::string name = Profile.ReadString("Recent Files", std::to_string(i), "");
        if (!name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

void WriteRecentFiles(TProfile &Profile, const std::vector<std::string> &Names)
{
    Profile.EraseSection("Recent Files");
    for (std::size_t i = 0; i < Names.size() && i < kMaxRecentFiles; ++i)
        Profile.WriteString("Recent Files", std::to_string(i + 1), Names[i]);
}

TWindowRect DefaultWindowRect(const TSystemMetrics &m)
{
    return {m.CXBorder, m.CYBorder, m.CXScreen - m.CXBorder, m.CYScreen - 2 * m.CYIcon + 4};
}

TWindowRect FitWindowRect(TWindowRect r, const TSystemMetrics &m)
{
    const TWindowRect def = DefaultWindowRect(m);
    auto usable = [](int v) { return v >= 100 && v <= 32767; };
    if (!usable(r.Width) || !usable(r.Height)) {
        r.Width = def.Width;
        r.Height = def.Height;
    }
    constexpr long long kVisible = 50;
    const long long left = r.Left, top = r.Top;
    const bool onScreen = left + r.Width >= kVisible && left <= m.CXScreen - kVisible &&
                          top + r.Height >= kVisible && top <= m.CYScreen - kVisible;
    if (!onScreen) {
        r.Left = def.Left;
        r.Top = def.Top;
    }
    // A rectangle kept at another scale factor (or from a larger screen) is cut to this screen
    // and moved onto it, so that the bars along its bottom and right edges are seen. The bottom
    // keeps the room the default leaves for the title bar and the desktop's panel.
    const int right = def.Left + def.Width, bottom = def.Top + def.Height;
    r.Width = std::min(r.Width, std::max(100, def.Width));
    r.Height = std::min(r.Height, std::max(100, def.Height));
    r.Left = std::max(0, std::min(r.Left, right - r.Width));
    r.Top = std::max(0, std::min(r.Top, bottom - r.Height));
    return r;
}

int ReadUndoBufferKB(const TProfile &Profile)
{
    return std::clamp(Profile.ReadInteger("Setup", "UndoBufferKB", kDefaultUndoBufferKB), 0, kMaxUndoBufferKB);
}

void WriteUndoBufferKB(TProfile &Profile, int KB)
{
    Profile.WriteInteger("Setup", "UndoBufferKB", std::clamp(KB, 0, kMaxUndoBufferKB));
}

TTextEncoding ReadNewDocEncoding(const TProfile &Profile)
{
    std::string value = Profile.ReadString("Setup", "NewDocEncoding", "Windows-1252");
    for (char &c : value)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return value == "UTF-8" || value == "UTF8" ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
}

void WriteNewDocEncoding(TProfile &Profile, TTextEncoding Encoding)
{
    Profile.WriteString("Setup", "NewDocEncoding",
                        Encoding == TTextEncoding::Windows1252 ? "Windows-1252" : "UTF-8");
}

const char *EncodingName(TTextEncoding Encoding)
{
    switch (Encoding) {
    case TTextEncoding::Utf8: return "UTF-8";
    case TTextEncoding::Utf8Bom: return "UTF-8 BOM";
    default: return "Windows-1252";
    }
}

int ReadRecoverySeconds(const TProfile &Profile)
{
    return std::clamp(Profile.ReadInteger("Setup", "RecoverySeconds", kDefaultRecoverySeconds), 0,
                      kMaxRecoverySeconds);
}

void WriteRecoverySeconds(TProfile &Profile, int Seconds)
{
    Profile.WriteInteger("Setup", "RecoverySeconds", std::clamp(Seconds, 0, kMaxRecoverySeconds));
}
