// Custom buttons: their definitions, the CUSTOM.HTB file, the bar's numbering and the click rule.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char *CustomButtonsFileName = "CUSTOM.HTB";
inline constexpr int CustomButtonsMaxLoad = 50;     // records read from the file at most
inline constexpr std::size_t CustomCaptionMax = 255; // caption bytes stored per record
inline constexpr std::size_t CustomCaptionBlock = 256;

// Bar and button geometry.
inline constexpr int CustomBarWidth = 100;
inline constexpr int CustomButtonLeft = 2;
inline constexpr int CustomButtonHeight = 21;
inline constexpr int CustomButtonPitch = 23; // top of the button at position i is i * 23
inline constexpr int CustomButtonFirstTop = 2; // the first button of a run that loaded none

// One custom button. An empty opening or closing text means the button has none.
struct TCustButton {
    std::string Caption;
    std::string OpeningTag; // may span lines (CR LF)
    std::string ClosingTag;
    int Tag = 0; // sequence number within the run; 0 until the bar numbers it

    int32_t OpeningTagLength() const { return static_cast<int32_t>(OpeningTag.size()); }
    int32_t ClosingTagLength() const { return static_cast<int32_t>(ClosingTag.size()); }
    // "CustomButton" + Tag.
    std::string Name() const;
};

// Reads at most CustomButtonsMaxLoad records. Accepts any bytes: a record cut short by the end of
// the data yields a button with what could be read; a text length that is negative counts as no
// text, one longer than the data left takes what is left. Never allocates more than it reads.
std::vector<TCustButton> ReadCustomButtons(std::istream &In);
std::vector<TCustButton> ParseCustomButtons(std::string_view Bytes);
// The records for the buttons in order: length byte, caption cut to 255 and padded with spaces
// to 256 bytes, little-endian 32-bit opening length, opening text, closing length, closing text.
std::string FormatCustomButtons(const std::vector<TCustButton> &Buttons);

// A missing or unreadable file gives no buttons and no error.
std::vector<TCustButton> LoadCustomButtonsFile(const std::string &FileName);
// Replaces the file through a temporary file; throws ECustomFileError "Cannot create file <name>".
void SaveCustomButtonsFile(const std::string &FileName, const std::vector<TCustButton> &Buttons);

// What a click on a custom button inserts into the active document window.
enum class TCustomClickKind { Nothing, TagPair, Markup };
struct TCustomClickAction {
    TCustomClickKind Kind = TCustomClickKind::Nothing;
    std::string Start, End; // the texts up to their first NUL byte
};
// Both texts: a tag pair; opening text only: markup; otherwise nothing. The button becomes the
// last markup command in every case.
TCustomClickAction CustomButtonClickAction(const TCustButton &Button);

// Listed in the "Custom Buttons" dialog: a caption that is neither empty nor "-".
bool IsListedCustomButton(const TCustButton &Button);
// "Edit Custom Button: " + caption.
std::string CustomButtonEditorCaption(const TCustButton &Button);
// The button editor's OK: the caption and both texts (an empty text means none).
void ApplyCustomButtonEdit(TCustButton &Button, const std::string &Caption, const std::string &Opening,
                           const std::string &Closing);
// The entry selected after removing entry Removed, given the number of entries left; -1: none.
int SelectionAfterRemove(int Removed, int CountLeft);

// The custom speed bar's buttons in bar order with the run's sequence counter.
class TCustomButtonSet {
public:
    const std::vector<TCustButton> &Buttons() const { return Items; }
    std::vector<TCustButton> &Buttons() { return Items; }
    int Counter() const { return Sequence; }

    // Appends the file's buttons (at most 50), numbering them from the counter on. A missing file
    // adds nothing. Returns the number loaded.
    int Load(const std::string &FileName);
    // Throws ECustomFileError "Cannot create file <name>".
    void Save(const std::string &FileName) const;

    // Appends a button with the next number; an empty caption gives "Button " + number. No texts.
    TCustButton &NewButton(const std::string &Caption);
    // Removes the button at Index (bar order); numbers are not reused. False when out of range.
    bool RemoveAt(int Index);

    // Null when no button has that name or number.
    const TCustButton *FindByName(const std::string &Name) const;
    const TCustButton *FindByTag(int Tag) const;
    int IndexOfTag(int Tag) const;

    // The top of the button at bar position Position after restacking.
    static int ButtonTop(int Position) { return Position * CustomButtonPitch; }

private:
    std::vector<TCustButton> Items;
    int Sequence = 0;
};
