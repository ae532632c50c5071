// Commands that rewrite existing text: tag removal, list makers, comment lines, automatic
// paragraph marks and the Intelligent Tag Insert.
#pragma once

#include "core/markup/LineDocument.h"

#include <string>
#include <string_view>
#include <vector>

namespace TransformText {
inline constexpr std::string_view NoTextSelectedWarning = "No text selected";       // Remove HTML Tags
inline constexpr std::string_view NoTextSelectedInfo = "No Text Selected";          // Auto Paragraph Format
inline constexpr std::string_view ConfirmParagraphInsertions = "Confirm paragraph Tag Insertions?";
inline constexpr std::string_view InsertParagraphTag = "Insert Paragraph Tag?";
inline constexpr std::string_view InsertTagsInLine = "Insert tags in this line?";
}  // namespace TransformText

// Drops every run from a "<" up to and including the next ">"; a ">" outside a tag stays, and
// an unclosed "<" drops the rest. Quotes, comments and entities are ordinary characters.
std::string RemoveHTMLTags(std::string_view Text);

// Splits at CR LF, lone CR or lone LF; a break that ends the text starts no further line.
std::vector<std::string> SplitSelectionLines(std::string_view Text);

// The list maker for the element ("UL", "OL", "MENU", "DIR") on a selected text: each non-empty
// line without "<LI>" (any case) is wrapped in <LI>..</LI>, the whole in <name>..</name>; every
// line, the two added included, ends with CR LF. Only the added tags get the tag-case rule.
std::string MakeList(std::string_view Selected, std::string_view Element, bool LowerCaseTags);

// The definition list maker: "<DT>" before a non-empty first line, "<DD>" before every other
// non-empty line, all inside <DL>..</DL>, each line ended by CR LF.
std::string MakeDefinitionList(std::string_view Selected, bool LowerCaseTags);

// "<!-- " + Text + blanks up to 44 characters + " -->" + LF.
std::string CommentLine(std::string_view Text);

// Auto Paragraph Format over the selected lines: a non-empty line followed by an empty one gets
// "<P>" at its end (through InsertMarkup), asking first whether to confirm each. The selection's
// last line is never examined. Returns the marks inserted.
int AutoParagraphFormat(TLineDocument &Doc, TMarkupQuestions &Ask);

// The choices of the Intelligent Tag Insert dialog (defaults = the dialog's initial state).
enum class TMatchMode { StartingWith = 0, EndingWith = 1, Containing = 2 };
enum class TTagPlacement { StartOfLine = 0, EndOfLine = 1, Both = 2 };
struct TIntelliTagCriteria {
    TMatchMode Mode = TMatchMode::Containing;
    TTagPlacement Placement = TTagPlacement::Both;
    std::string SearchFor;
    std::string FirstTag;
    std::string SecondTag;
    bool CaseSensitive = false;
    bool RequireConfirmation = true;
};

// Whether a line (tabs expanded) matches. Without case sensitivity ASCII letters are compared
// upper-cased. Starting with / ending with look at the first occurrence only, so "A.B." does not
// end with "."; an empty search text matches nothing.
bool IntelliTagMatches(std::string_view Line, const TIntelliTagCriteria &Criteria);
// The line with the tags placed as chosen; the tags are used exactly as typed.
std::string IntelliTagLine(std::string_view Line, const TIntelliTagCriteria &Criteria);

// Intelligent Tag Insert over every line of the document (count taken once), asking per line
// when confirmation is wanted; Cancel stops. Returns the lines changed.
int IntelligentTagInsert(TLineDocument &Doc, TMarkupQuestions &Ask, const TIntelliTagCriteria &Criteria);
