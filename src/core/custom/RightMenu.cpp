// The right mouse button menu: its stored list of target names and the menu editor's list rules.
#include "core/custom/RightMenu.h"

#include "core/custom/HistoryList.h"

#include <algorithm>
#include <utility>

std::vector<std::string> ReadRightMenuNames(const TProfile &Profile)
{
    std::vector<std::string> names;
    for (int i = 0;; ++i) {
        std::string name = Profile.ReadString(RightMenuSection, std::to_string(i), "");
        if (name.empty())
            break;
        names.push_back(std::move(name));
    }
    return names;
}

void WriteRightMenuNames(TProfile &Profile, const std::vector<std::string> &Names)
{
    Profile.EraseSection(RightMenuSection);
    int key = 0;
    for (const auto &name : Names)
        if (!name.empty())
            Profile.WriteString(RightMenuSection, std::to_string(key++), name);
}

const char *RightMenuKindText(TRightMenuTargetKind Kind)
{
    switch (Kind) {
    case TRightMenuTargetKind::MenuItem: return "Menu Item";
    case TRightMenuTargetKind::Button: return "Button";
    case TRightMenuTargetKind::CustomButton: return "Custom Button";
    default: return "Unknown";
    }
}

std::string CaptionWithoutFirstAmpersand(const std::string &Caption)
{
    std::string text = Caption;
    const auto amp = text.find('&');
    if (amp != std::string::npos)
        text.erase(amp, 1);
    return text;
}

bool IsOfferedCaption(const std::string &Caption)
{
    return !Caption.empty() && Caption != "-";
}

std::string AlreadyOnMenuMessage(const std::string &Caption)
{
    return "\"" + Caption + "\" is already on the menu.";
}

void SortRightMenuCandidates(std::vector<TRightMenuEntry> &Candidates)
{
    std::stable_sort(Candidates.begin(), Candidates.end(), [](const TRightMenuEntry &A, const TRightMenuEntry &B) {
        return CompareTextIgnoringCase(A.Caption, B.Caption) < 0;
    });
}

std::vector<TRightMenuEntry> ResolveRightMenu(const std::vector<std::string> &Names,
                                             const std::function<std::optional<TRightMenuEntry>(const std::string &)> &Lookup)
{
    std::vector<TRightMenuEntry> entries;
    for (const auto &name : Names)
        if (auto entry = Lookup(name))
            entries.push_back(std::move(*entry));
    return entries;
}

bool TRightMenuList::Contains(const std::string &TargetName) const
{
    return std::any_of(Items.begin(), Items.end(), [&](const TRightMenuEntry &e) { return e.TargetName == TargetName; });
}

std::optional<std::string> TRightMenuList::Drop(const TRightMenuEntry &Entry)
{
    if (Contains(Entry.TargetName))
        return AlreadyOnMenuMessage(Entry.Caption);
    Items.push_back(Entry);
    Selection = static_cast<int>(Items.size()) - 1;
    return std::nullopt;
}

void TRightMenuList::MoveUp()
{
    if (Selection <= 0 || Selection >= static_cast<int>(Items.size()))
        return;
    std::swap(Items[Selection], Items[Selection - 1]);
    --Selection;
}

void TRightMenuList::MoveDown()
{
    if (Selection < 0 || Selection >= static_cast<int>(Items.size()) - 1)
        return;
    std::swap(Items[Selection], Items[Selection + 1]);
    ++Selection;
}

void TRightMenuList::Remove()
{
    if (Selection < 0 || Selection >= static_cast<int>(Items.size()))
        return;
    Items.erase(Items.begin() + Selection);
    if (Selection >= static_cast<int>(Items.size()))
        Selection = static_cast<int>(Items.size()) - 1;
}

std::vector<std::string> TRightMenuList::Names() const
{
    std::vector<std::string> names;
    for (const auto &e : Items)
        names.push_back(e.TargetName);
    return names;
}
