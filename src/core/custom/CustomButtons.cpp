// Custom buttons: their definitions, the CUSTOM.HTB file, the bar's numbering and the click rule.
#include "core/custom/CustomButtons.h"

#include "core/custom/CustomFiles.h"

#include <fstream>
#include <limits>
#include <sstream>

#include <sys/stat.h>

std::string TCustButton::Name() const
{
    return "CustomButton" + std::to_string(Tag);
}

namespace {

// Reads up to Count bytes in bounded blocks, so a damaged length never allocates more than the
// data holds.
std::string ReadUpTo(std::istream &In, std::size_t Count)
{
    std::string out;
    char buf[65536];
    while (Count > 0 && In) {
        const std::size_t want = std::min(Count, sizeof buf);
        In.read(buf, static_cast<std::streamsize>(want));
        const auto got = static_cast<std::size_t>(In.gcount());
        out.append(buf, got);
        Count -= got;
        if (got < want)
            break;
    }
    return out;
}

// A 32-bit little-endian length; a field cut short counts as no text.
int32_t ReadLength(std::istream &In)
{
    const std::string b = ReadUpTo(In, 4);
    if (b.size() < 4)
        return 0;
    const uint32_t v = static_cast<unsigned char>(b[0]) | static_cast<unsigned char>(b[1]) << 8 |
                       static_cast<unsigned char>(b[2]) << 16 | static_cast<uint32_t>(static_cast<unsigned char>(b[3])) << 24;
    return static_cast<int32_t>(v);
}

std::string ReadText(std::istream &In)
{
    const int32_t n = ReadLength(In);
    return n > 0 ? ReadUpTo(In, static_cast<std::size_t>(n)) : std::string();
}

void PutLength(std::string &Out, std::size_t Length)
{
    const auto v = static_cast<uint32_t>(std::min<std::size_t>(Length, std::numeric_limits<int32_t>::max()));
    for (int i = 0; i < 4; ++i)
        Out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string UpToNul(const std::string &Text)
{
    return Text.substr(0, Text.find('\0'));
}

} // namespace

std::vector<TCustButton> ReadCustomButtons(std::istream &In)
{
    std::vector<TCustButton> buttons;
    for (int i = 0; i < CustomButtonsMaxLoad; ++i) {
        const std::string block = ReadUpTo(In, CustomCaptionBlock);
        if (block.empty())
            break;
        TCustButton b;
        const std::size_t length = static_cast<unsigned char>(block[0]);
        b.Caption = block.substr(1, length);
        if (block.size() == CustomCaptionBlock) {
            b.OpeningTag = ReadText(In);
            b.ClosingTag = ReadText(In);
        }
        buttons.push_back(std::move(b));
    }
    return buttons;
}

std::vector<TCustButton> ParseCustomButtons(std::string_view Bytes)
{
    std::istringstream in{std::string(Bytes)};
    return ReadCustomButtons(in);
}

std::string FormatCustomButtons(const std::vector<TCustButton> &Buttons)
{
    std::string out;
    for (const auto &b : Buttons) {
        const std::string caption = b.Caption.substr(0, CustomCaptionMax);
        out += static_cast<char>(caption.size());
        out += caption;
        out.append(CustomCaptionBlock - 1 - caption.size(), ' ');
        const std::size_t opening = std::min<std::size_t>(b.OpeningTag.size(), std::numeric_limits<int32_t>::max());
        PutLength(out, opening);
        out.append(b.OpeningTag, 0, opening);
        const std::size_t closing = std::min<std::size_t>(b.ClosingTag.size(), std::numeric_limits<int32_t>::max());
        PutLength(out, closing);
        out.append(b.ClosingTag, 0, closing);
    }
    return out;
}

std::vector<TCustButton> LoadCustomButtonsFile(const std::string &FileName)
{
    // Opening a pipe or a device of that name would wait for a writer forever.
    struct stat st {};
    if (FileName.empty() || ::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        return {};
    return ReadCustomButtons(in);
}

void SaveCustomButtonsFile(const std::string &FileName, const std::vector<TCustButton> &Buttons)
{
    if (!WriteWholeFile(FileName, FormatCustomButtons(Buttons)))
        throw ECustomFileError(CannotCreateFileMessage(FileName));
}

TCustomClickAction CustomButtonClickAction(const TCustButton &Button)
{
    if (!Button.OpeningTag.empty() && !Button.ClosingTag.empty())
        return {TCustomClickKind::TagPair, UpToNul(Button.OpeningTag), UpToNul(Button.ClosingTag)};
    if (!Button.OpeningTag.empty())
        return {TCustomClickKind::Markup, UpToNul(Button.OpeningTag), {}};
    return {};
}

bool IsListedCustomButton(const TCustButton &Button)
{
    return !Button.Caption.empty() && Button.Caption != "-";
}

std::string CustomButtonEditorCaption(const TCustButton &Button)
{
    return "Edit Custom Button: " + Button.Caption;
}

void ApplyCustomButtonEdit(TCustButton &Button, const std::string &Caption, const std::string &Opening,
                           const std::string &Closing)
{
    Button.Caption = Caption;
    Button.OpeningTag = Opening;
    Button.ClosingTag = Closing;
}

int SelectionAfterRemove(int Removed, int CountLeft)
{
    if (CountLeft <= 0)
        return -1;
    return Removed < CountLeft ? Removed : CountLeft - 1;
}

int TCustomButtonSet::Load(const std::string &FileName)
{
    std::vector<TCustButton> loaded = LoadCustomButtonsFile(FileName);
    for (auto &b : loaded) {
        b.Tag = ++Sequence;
        Items.push_back(std::move(b));
    }
    return static_cast<int>(loaded.size());
}

void TCustomButtonSet::Save(const std::string &FileName) const
{
    SaveCustomButtonsFile(FileName, Items);
}

TCustButton &TCustomButtonSet::NewButton(const std::string &Caption)
{
    TCustButton b;
    b.Tag = ++Sequence;
    b.Caption = Caption.empty() ? "Button " + std::to_string(b.Tag) : Caption;
    Items.push_back(std::move(b));
    return Items.back();
}

bool TCustomButtonSet::RemoveAt(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(Items.size()))
        return false;
    Items.erase(Items.begin() + Index);
    return true;
}

const TCustButton *TCustomButtonSet::FindByName(const std::string &Name) const
{
    for (const auto &b : Items)
        if (b.Name() == Name)
            return &b;
    return nullptr;
}

const TCustButton *TCustomButtonSet::FindByTag(int Tag) const
{
    const int i = IndexOfTag(Tag);
    return i < 0 ? nullptr : &Items[static_cast<std::size_t>(i)];
}

int TCustomButtonSet::IndexOfTag(int Tag) const
{
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (Items[i].Tag == Tag)
            return static_cast<int>(i);
    return -1;
}
