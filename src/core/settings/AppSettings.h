// The keys the main window reads and writes outside TSetupManager: the application-wide flags,
// the quick-key texts, the speed-bar visibility, the recent-file list and the window rectangle.
#pragma once

#include "core/editor/Encoding.h"
#include "core/settings/Profile.h"
#include "core/settings/SetupManager.h"

#include <array>
#include <string>
#include <vector>

// The four flags of section Setup kept in memory by the main window.
struct TAppFlags {
    bool UseActualCharacters = false;
    bool NewlineAfterTitle = false;
    bool ForceHTMLExt = true;
    bool NeverUseCENTER = true;
};
TAppFlags ReadAppFlags(const TProfile &Profile);

// The texts of Ctrl+Q followed by A..Z (section QuickKeys, keys "A".."Z").
using TQuickKeyTable = std::array<std::string, 26>;
TQuickKeyTable ReadQuickKeys(const TProfile &Profile);
void WriteQuickKeys(TProfile &Profile, const TQuickKeyTable &Table);

// The five speed bars and their visibility keys, in the Options menu's order.
enum class TSpeedBar { Standard, Common, Extended, Special, Custom };
inline constexpr std::array<TSpeedBar, 5> kSpeedBars = {TSpeedBar::Standard, TSpeedBar::Common, TSpeedBar::Extended,
                                                        TSpeedBar::Special, TSpeedBar::Custom};
const char *SpeedBarKey(TSpeedBar Bar);
bool ReadSpeedBarVisible(const TProfile &Profile, TSpeedBar Bar);
void WriteSpeedBarVisible(TProfile &Profile, TSpeedBar Bar, bool Visible);

// The undo memory of each document in KB (Setup, UndoBufferKB): 0 keeps no undo; values are held
// to 0..262,144 (256 MiB); a missing or unreadable value gives 4,096 (4 MiB).
inline constexpr int kDefaultUndoBufferKB = 4096;
inline constexpr int kMaxUndoBufferKB = 262144;
int ReadUndoBufferKB(const TProfile &Profile);
void WriteUndoBufferKB(TProfile &Profile, int KB);

// How often unsaved text is copied for recovery, in seconds (Setup, RecoverySeconds): 0 writes
// no copies; values are held to 0..86,400; a missing or unreadable value gives 30.
inline constexpr int kDefaultRecoverySeconds = 30;
inline constexpr int kMaxRecoverySeconds = 86400;
int ReadRecoverySeconds(const TProfile &Profile);
void WriteRecoverySeconds(TProfile &Profile, int Seconds);

// The encoding of new documents and of files of pure ASCII without a declaration (Setup,
// NewDocEncoding): "UTF-8" or "Windows-1252" (the default, also for anything unreadable).
TTextEncoding ReadNewDocEncoding(const TProfile &Profile);
void WriteNewDocEncoding(TProfile &Profile, TTextEncoding Encoding);
// The name shown for an encoding: "UTF-8", "UTF-8 BOM", "Windows-1252".
const char *EncodingName(TTextEncoding Encoding);

// The recent-file list holds at most this many names, most recent first.
inline constexpr std::size_t kMaxRecentFiles = 4;
// The non-empty names of keys "1".."4" of section "Recent Files", in key order.
std::vector<std::string> ReadRecentFiles(const TProfile &Profile);
// Erases the section and writes the names (at most four) to keys "1".."4".
void WriteRecentFiles(TProfile &Profile, const std::vector<std::string> &Names);

// The main window's rectangle as stored in section Position.
struct TWindowRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TWindowRect &) const = default;
};
// The default rectangle for a screen: just inside the border, full width, leaving room below.
TWindowRect DefaultWindowRect(const TSystemMetrics &Metrics);
// A stored rectangle made usable: a size outside 100..32767 takes the default size, and a
// rectangle that would not show at least 50 pixels of itself on the screen takes the default
// place; then it is cut to the default rectangle's size and moved to lie within the default
// rectangle's right and bottom edges.
TWindowRect FitWindowRect(TWindowRect Rect, const TSystemMetrics &Metrics);
