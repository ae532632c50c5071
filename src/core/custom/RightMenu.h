// The right mouse button menu: its stored list of target names and the menu editor's list rules.
#pragma once

#include "core/settings/Profile.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char *RightMenuSection = "Custom-Test";

// The stored names in menu order: keys "0", "1", ... up to the first missing or empty value.
std::vector<std::string> ReadRightMenuNames(const TProfile &Profile);
// Erases the section, then writes key i (decimal from 0) for each name; empty names, which
// would end the list when read back, are left out. Throws EProfileError.
void WriteRightMenuNames(TProfile &Profile, const std::vector<std::string> &Names);

enum class TRightMenuTargetKind { MenuItem, Button, CustomButton, Unknown };

// One entry of the menu or of the editor's lists: a caption linked to its target by name.
struct TRightMenuEntry {
    std::string Caption; // with its "&" accelerator marker
    std::string TargetName;
    TRightMenuTargetKind Kind = TRightMenuTargetKind::Unknown;
    bool operator==(const TRightMenuEntry &) const = default;
};

// "Menu Item", "Button", "Custom Button" or "Unknown", as the editor's lists show the kind.
const char *RightMenuKindText(TRightMenuTargetKind Kind);
// The caption as the lists draw it: without its first "&".
std::string CaptionWithoutFirstAmpersand(const std::string &Caption);
// Offered as a candidate: a caption that is neither empty nor "-".
bool IsOfferedCaption(const std::string &Caption);
// "\"<caption>\" is already on the menu."
std::string AlreadyOnMenuMessage(const std::string &Caption);
// Sorts candidates by caption, ignoring letter case.
void SortRightMenuCandidates(std::vector<TRightMenuEntry> &Candidates);

// The stored names turned into entries; Lookup finds a name (main window first, then the
// document window, then the custom bar) and names it does not find are skipped.
std::vector<TRightMenuEntry> ResolveRightMenu(const std::vector<std::string> &Names,
                                             const std::function<std::optional<TRightMenuEntry>(const std::string &)> &Lookup);

// The editor's "Right-Mouse Menu Items" list with its selection (-1: none).
class TRightMenuList {
public:
    TRightMenuList() = default;
    explicit TRightMenuList(std::vector<TRightMenuEntry> Entries) : Items(std::move(Entries)) {}

    const std::vector<TRightMenuEntry> &Entries() const { return Items; }
    int Selected() const { return Selection; }
    void Select(int Index) { Selection = (Index >= 0 && Index < static_cast<int>(Items.size())) ? Index : -1; }

    bool Contains(const std::string &TargetName) const;
    // A dropped candidate: appended and selected, or, when its target is already on the menu,
    // nothing changes and the warning text is returned.
    std::optional<std::string> Drop(const TRightMenuEntry &Entry);
    // Exchange the selected entry with its neighbour; the selection follows. No-ops at the ends.
    void MoveUp();
    void MoveDown();
    // Deletes the selected entry; the entry now at its place, or the new last one, is selected.
    void Remove();
    // The target names in order, as OK stores them.
    std::vector<std::string> Names() const;

private:
    std::vector<TRightMenuEntry> Items;
    int Selection = -1;
};
