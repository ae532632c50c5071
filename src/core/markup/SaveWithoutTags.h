// TTagStripper: saving a copy of a document's file with every tag left out.
#pragma once

#include <string>
#include <string_view>

// Leaves out every run from a "<" up to and including the next ">", over text fed in pieces:
// a tag may span pieces. A ">" outside a tag is kept; a tag still open at the end drops the rest.
class TTagStripper {
public:
    std::string Feed(std::string_view Piece);
    bool InTag() const { return FInTag; }

private:
    bool FInTag = false;
};

// Copies InputFile to OutputFile without tags; line breaks, entities and all other bytes are
// copied unchanged. An existing output file is replaced, but only once the whole copy has been
// written (it survives any failure). Throws EFileError naming the file and the cause.
void SaveWithoutHTMLTags(const std::string &InputFile, const std::string &OutputFile);

namespace SaveNoTagsText {
inline constexpr std::string_view DialogTitle = "Save Without HTML Tags";
inline constexpr std::string_view Filter = "Text Files (*.txt)|*.txt|All files (*.*)|*.*";
inline constexpr int HelpContext = 26;
}  // namespace SaveNoTagsText
