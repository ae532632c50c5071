// TDocumentChecker: the editor's own checks of an HTML document (entities, local addresses, pictures
// without alternate text, comments left open), the findings they and the markup checker make, and
// CheckDocument, which runs both on a copy of the text and merges what they found.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// How the document's bytes are to be read.
enum class TCheckEncoding { Windows1252, Utf8 };

enum class TFindingKind { Error, Warning, Note };

// One thing found in the document: line (the file's line, from 1) and column (the character in
// that line, from 1; a tab is one character), its kind and its message in UTF-8.
struct TCheckFinding {
    int Line = 1;
    int Column = 1;
    TFindingKind Kind = TFindingKind::Note;
    std::string Message;
    friend bool operator==(const TCheckFinding &, const TCheckFinding &) = default;
};

// "Error", "Warning", "Note".
std::string_view FindingKindName(TFindingKind Kind);

// Progress of a check in percent (0..100); returns false to stop the check.
using TCheckProgress = std::function<bool(int Percent)>;

// The files the address checks ask about. The real one looks at the disk; tests give their own.
class TFileLookup {
public:
    virtual ~TFileLookup() = default;
    // Whether a file or directory of that full name exists.
    virtual bool Exists(const std::string &Path) = 0;
    // The names in a directory, or nothing when it cannot be read.
    virtual std::optional<std::vector<std::string>> Entries(const std::string &Directory) = 0;
};

// The disk, each answer remembered for the lifetime of the object (one check).
class TDiskFileLookup final : public TFileLookup {
public:
    bool Exists(const std::string &Path) override;
    std::optional<std::vector<std::string>> Entries(const std::string &Directory) override;

private:
    std::unordered_map<std::string, bool> FExists;
    std::unordered_map<std::string, std::optional<std::vector<std::string>>> FEntries;
};

// The editor's own checks over a whole text (lines separated by LF):
// - a named entity ("&name;") outside the editor's entity table: unknown to HTML 4 it is a warning
//   (with the nearest known name), known to HTML 4 it is a note, once per name;
// - SRC and HREF values that are local addresses (relative to the document's directory, or file:
//   addresses) naming no existing file: an error, with the name in another letter case when
//   such a file exists; addresses from the site's root ("/x") and other schemes are left alone;
// - an IMG start tag without ALT: a warning;
// - "<!--" without a "-->" after it: an error at the "<!--".
// Script and style contents are not looked into. The findings come in text order.
class TDocumentChecker {
public:
    // DocumentDirectory: the directory relative addresses start from (bytes of the file system),
    // empty when the document has no file yet (relative addresses are then not checked).
    TDocumentChecker(TFileLookup &Files, std::string DocumentDirectory, TCheckEncoding Encoding);

    // Checks Text; Progress (when given) hears the share of the text done and may stop the check,
    // which then returns what it found so far.
    std::vector<TCheckFinding> Check(std::string_view Text, const TCheckProgress &Progress = {});

    // The position of an unknown-entity warning, so the markup checker's report of the same
    // entity can be recognised.
    struct TEntityFinding {
        int Line, Column;
        std::size_t Index;  // into the findings Check returned
        std::string Name;   // without "&" and ";"
    };
    const std::vector<TEntityFinding> &UnknownEntities() const { return FUnknownEntities; }

private:
    class TScan;
    TFileLookup &FFiles;
    std::string FDirectory;
    TCheckEncoding FEncoding;
    std::vector<TEntityFinding> FUnknownEntities;
};

// The nearest HTML 4 entity name to an unknown one: the same name in other letter case, else one
// a single typing mistake away (a letter more, less, changed or two swapped); empty when none.
std::string NearestEntityName(std::string_view Name);


// What the markup checker said about one document, before merging.
struct TMarkupReport {
    std::vector<TCheckFinding> Findings;
    // The findings (indices) that report an unknown entity.
    std::vector<std::size_t> EntityFindings;
    // False when it stopped before the end (it failed, or the check was cancelled).
    bool Complete = true;
    friend bool operator==(const TMarkupReport &, const TMarkupReport &) = default;
};

// Joins the two reports: the markup checker's report of an entity the editor's check reported too
// is dropped; an entity the editor's check does not know but the markup checker accepted (a
// name of HTML 5) becomes a note. Sorted by line, then column, else in the order found.
std::vector<TCheckFinding> MergeFindings(std::vector<TCheckFinding> Own,
                                         const std::vector<TDocumentChecker::TEntityFinding> &OwnUnknownEntities,
                                         const TMarkupReport &Markup);

// What to check: the document's bytes, lines separated by LF, in its encoding, and the directory
// relative addresses start from (empty for a document without a file).
struct TCheckRequest {
    std::string Text;
    TCheckEncoding Encoding = TCheckEncoding::Windows1252;
    std::string DocumentDirectory;
};

// At most this many findings are listed; a note after them says so.
inline constexpr std::size_t kMaxListedFindings = 10000;

struct TCheckReport {
    std::vector<TCheckFinding> Findings;
    bool Cancelled = false;
};

// The markup checker as CheckDocument runs it (replaceable for tests): the report on Text, with
// progress and stopping as for the whole check.
using TMarkupCheckerFn =
    std::function<TMarkupReport(std::string_view Text, TCheckEncoding Encoding, const TCheckProgress &Progress)>;

// Runs the markup checker (by default in a process of its own, so no document can take the
// editor down with it) and the editor's own checks, and merges their findings. Progress may
// stop the check: the report is then marked cancelled and holds nothing.
TCheckReport CheckDocument(const TCheckRequest &Request, TFileLookup &Files, const TCheckProgress &Progress = {},
                           const TMarkupCheckerFn &MarkupChecker = {});
