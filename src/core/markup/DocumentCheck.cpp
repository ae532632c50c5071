// TDocumentChecker: the editor's own checks of an HTML document, the merging of findings and
// CheckDocument.
#include "core/markup/DocumentCheck.h"

#include "core/editor/Encoding.h"

#include "core/markup/Entities.h"
#include "core/markup/MarkupCheckProcess.h"
#include "core/markup/TidyCheck.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <system_error>

namespace {

bool IsLetter(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }
bool IsSpace(char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r' || C == '\f'; }
char Lower(char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; }

bool EqualNoCase(std::string_view A, std::string_view B)
{
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return Lower(X) == Lower(Y);
           });
}

int HexValue(char C)
{
    if (IsDigit(C))
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// "%41" as "A"; a "%" without two hexadecimal digits stays.
std::string PercentDecoded(std::string_view Text)
{
    std::string out;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '%' && i + 2 < Text.size() && HexValue(Text[i + 1]) >= 0 && HexValue(Text[i + 2]) >= 0) {
            out += char(HexValue(Text[i + 1]) * 16 + HexValue(Text[i + 2]));
            i += 2;
        } else {
            out += Text[i];
        }
    }
    return out;
}

// An attribute value with "&amp;" and ASCII character references read, as a browser reads the
// address; other entities stay as they are.
std::string ValueText(std::string_view Value)
{
    std::string out;
    for (std::size_t i = 0; i < Value.size(); ++i) {
        if (Value[i] == '&') {
            if (Value.substr(i, 5) == "&amp;") {
                out += '&';
                i += 4;
                continue;
            }
            if (Value.substr(i, 2) == "&#") {
                std::size_t j = i + 2;
                const bool hex = j < Value.size() && (Value[j] == 'x' || Value[j] == 'X');
                if (hex)
                    ++j;
                unsigned code = 0;
                std::size_t digits = 0;
                for (; j < Value.size() && digits < 6; ++j, ++digits) {
                    const int d = hex ? HexValue(Value[j]) : (IsDigit(Value[j]) ? Value[j] - '0' : -1);
                    if (d < 0)
                        break;
                    code = code * (hex ? 16 : 10) + unsigned(d);
                }
                if (digits > 0 && j < Value.size() && Value[j] == ';' && code > 0 && code < 0x80) {
                    out += char(code);
                    i = j;
                    continue;
                }
            }
        }
        out += Value[i];
    }
    return out;
}

// Browsers drop blanks around an address and line breaks and tabs inside it.
std::string TrimmedAddress(std::string_view Address)
{
    while (!Address.empty() && IsSpace(Address.front()))
        Address.remove_prefix(1);
    while (!Address.empty() && IsSpace(Address.back()))
        Address.remove_suffix(1);
    std::string out;
    for (char c : Address)
        if (c != '\n' && c != '\r' && c != '\t')
            out += c;
    return out;
}

bool OneEditApart(std::string_view A, std::string_view B)
{
    if (A.size() == B.size()) {
        std::size_t first = 0;
        while (first < A.size() && A[first] == B[first])
            ++first;
        if (first == A.size())
            return false;
        if (A.substr(first + 1) == B.substr(first + 1))
            return true;  // one letter changed
        return first + 1 < A.size() && A[first] == B[first + 1] && A[first + 1] == B[first] &&
               A.substr(first + 2) == B.substr(first + 2);  // two swapped
    }
    if (A.size() + 1 == B.size())
        std::swap(A, B);
    if (A.size() != B.size() + 1)
        return false;
    std::size_t first = 0;
    while (first < B.size() && A[first] == B[first])
        ++first;
    return A.substr(first + 1) == B.substr(first);  // one letter more
}

std::string Plural(std::size_t Count, const char *One, const char *Many)
{
    return std::to_string(Count) + " " + (Count == 1 ? One : Many);
}

} // namespace

std::string_view FindingKindName(TFindingKind Kind)
{
    switch (Kind) {
    case TFindingKind::Error: return "Error";
    case TFindingKind::Warning: return "Warning";
    case TFindingKind::Note: return "Note";
    }
    return "Note";
}

std::string NearestEntityName(std::string_view Name)
{
    for (std::string_view known : Html4EntityNames())
        if (EqualNoCase(known, Name))
            return std::string(known);
    for (std::string_view known : Html4EntityNames())
        if (OneEditApart(known, Name))
            return std::string(known);
    return {};
}

// ---------------------------------------------------------------------------------------------
// The disk

bool TDiskFileLookup::Exists(const std::string &Path)
{
    const auto [it, added] = FExists.try_emplace(Path, false);
    if (added) {
        std::error_code error;
        it->second = std::filesystem::exists(std::filesystem::path(Path), error);
    }
    return it->second;
}

std::optional<std::vector<std::string>> TDiskFileLookup::Entries(const std::string &Directory)
{
    const auto [it, added] = FEntries.try_emplace(Directory);
    if (added) {
        std::error_code error;
        std::filesystem::directory_iterator entries(std::filesystem::path(Directory), error);
        if (!error) {
            std::vector<std::string> names;
            for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
                if (error)
                    break;
                names.push_back(entries->path().filename().string());
            }
            it->second = std::move(names);
        }
    }
    return it->second;
}

// ---------------------------------------------------------------------------------------------
// The scan

class TDocumentChecker::TScan {
public:
    TScan(TDocumentChecker &Owner, std::string_view Text, const TCheckProgress &Progress)
        : Owner(Owner), T(Text), Progress(Progress)
    {
    }

    std::vector<TCheckFinding> Run();

private:
    struct TAttribute {
        std::string_view Name, Value;
        int Line = 1, Column = 1;  // of the value
        bool Suspect = false;      // a quoted value that seems to lack its closing quote
    };

    char At(std::size_t I) const { return I < T.size() ? T[I] : '\0'; }
    // Moves to byte To, counting lines and columns on the way.
    void AdvanceTo(std::size_t To);
    void Advance() { AdvanceTo(I + 1); }
    bool StartsWithNoCase(std::size_t At, std::string_view What) const
    {
        return EqualNoCase(T.substr(std::min(At, T.size()), What.size()), What);
    }
    // The index of the next "</Name" from I on, or the text's end.
    std::size_t EndTagOf(std::string_view Name) const;

    void Comment();
    void StartTag();
    // Looks at the entity at I ("&"); checked in text and attribute values alike.
    void Entity();
    // Walks to Stop (exclusive), looking at entities.
    void TextUpTo(std::size_t Stop);
    void Address(const TAttribute &A);
    void Add(int Line, int Column, TFindingKind Kind, std::string Message)
    {
        Findings.push_back({Line, Column, Kind, std::move(Message)});
    }
    std::string Shown(std::string_view Bytes) const
    {
        return Owner.FEncoding == TCheckEncoding::Windows1252 ? Windows1252ToUtf8(Bytes) : std::string(Bytes);
    }
    // The corrected name of a missing file whose every part exists in other letter case.
    std::optional<std::string> OtherCase(const std::filesystem::path &Missing);

    TDocumentChecker &Owner;
    std::string_view T;
    const TCheckProgress &Progress;
    std::size_t I = 0;
    int Line = 1, Column = 1;
    std::size_t NextProgress = 0;
    bool Stopped = false;
    bool BaseGiven = false;
    bool UntitledNoted = false;
    std::vector<TCheckFinding> Findings;
    // Per entity name: 0 fine, 1 known to HTML 4 only, 2 unknown.
    std::unordered_map<std::string, int> EntityClass;
    // The note of each HTML 4 entity name outside the table, and how often the name came.
    std::map<std::string, std::pair<std::size_t, std::size_t>> Html4Notes;
};

void TDocumentChecker::TScan::AdvanceTo(std::size_t To)
{
    To = std::min(To, T.size());
    const bool utf8 = Owner.FEncoding == TCheckEncoding::Utf8;
    for (; I < To; ++I) {
        const auto b = static_cast<unsigned char>(T[I]);
        if (b == '\n') {
            ++Line;
            Column = 1;
        } else if (!utf8 || (b & 0xC0) != 0x80) {
            ++Column;  // a UTF-8 character counts once, at its first byte
        }
    }
}

std::size_t TDocumentChecker::TScan::EndTagOf(std::string_view Name) const
{
    for (std::size_t at = T.find("</", I); at != std::string_view::npos; at = T.find("</", at + 1))
        if (StartsWithNoCase(at + 2, Name))
            return at;
    return T.size();
}

std::vector<TCheckFinding> TDocumentChecker::TScan::Run()
{
    while (I < T.size() && !Stopped) {
        if (I >= NextProgress) {
            NextProgress = I + (1u << 18);
            if (Progress && !Progress(int(I * 100 / T.size()))) {
                Stopped = true;
                break;
            }
        }
        const char c = T[I];
        if (c == '&') {
            Entity();
            Advance();
        } else if (c == '<' && T.substr(I, 4) == "<!--") {
            Comment();
        } else if (c == '<' && (At(I + 1) == '!' || At(I + 1) == '?' || (At(I + 1) == '/' && IsLetter(At(I + 2))))) {
            // A declaration, processing instruction or end tag: nothing in it is checked.
            const std::size_t end = T.find('>', I);
            AdvanceTo(end == std::string_view::npos ? T.size() : end + 1);
        } else if (c == '<' && IsLetter(At(I + 1))) {
            StartTag();
        } else {
            Advance();
        }
    }
    for (const auto &[name, note] : Html4Notes)
        Findings[note.first].Message = "\"&" + name + ";\" is an entity of HTML 4 that the editor's entity table " +
                                       "lacks, so its conversions leave it alone (" +
                                       Plural(note.second, "time", "times") + " in this document)";
    if (Progress && !Stopped)
        Stopped = !Progress(100);
    return std::move(Findings);
}

void TDocumentChecker::TScan::Comment()
{
    // "<!-->" and "<!--->" already end the comment, as browsers read it.
    const std::size_t end = T.find("-->", I + 2);
    if (end == std::string_view::npos) {
        Add(Line, Column, TFindingKind::Error,
            "Comment not closed: no \"-->\" follows this \"<!--\", so the rest of the document is hidden");
        AdvanceTo(T.size());
        return;
    }
    AdvanceTo(end + 3);
}

void TDocumentChecker::TScan::Entity()
{
    std::size_t end = I + 1;
    if (!IsLetter(At(end)))
        return;  // numeric references and lone ampersands are the markup checker's
    while (end < T.size() && end - I <= 40 && (IsLetter(T[end]) || IsDigit(T[end])))
        ++end;
    if (At(end) != ';')
        return;
    const std::string name(T.substr(I + 1, end - I - 1));
    auto [known, added] = EntityClass.try_emplace(name, 0);
    if (added) {
        if (CharacterForEntity("&" + name + ";") != 0)
            known->second = 0;
        else
            known->second = IsHtml4EntityName(name) ? 1 : 2;
    }
    if (known->second == 1) {
        auto [note, first] = Html4Notes.try_emplace(name, Findings.size(), 0);
        if (first)
            Add(Line, Column, TFindingKind::Note, {});  // the message once the count is known
        ++note->second.second;
    } else if (known->second == 2) {
        std::string message = "Unknown entity \"&" + name + ";\"";
        if (const std::string nearest = NearestEntityName(name); !nearest.empty())
            message += " (did you mean \"&" + nearest + ";\"?)";
        Owner.FUnknownEntities.push_back({Line, Column, Findings.size(), name});
        Add(Line, Column, TFindingKind::Warning, std::move(message));
    }
}

void TDocumentChecker::TScan::TextUpTo(std::size_t Stop)
{
    Stop = std::min(Stop, T.size());
    while (I < Stop) {
        if (T[I] == '&')
            Entity();
        Advance();
    }
}

void TDocumentChecker::TScan::StartTag()
{
    const int tagLine = Line, tagColumn = Column;
    AdvanceTo(I + 1);
    const std::size_t nameStart = I;
    while (I < T.size() && !IsSpace(T[I]) && T[I] != '>' && T[I] != '/' && T[I] != '<')
        Advance();
    const std::string_view name = T.substr(nameStart, I - nameStart);

    std::vector<TAttribute> attributes;
    bool closed = false;
    while (I < T.size()) {
        const char c = T[I];
        if (c == '>') {
            Advance();
            closed = true;
            break;
        }
        if (IsSpace(c) || c == '/') {
            Advance();
            continue;
        }
        if (c == '<')
            break;  // a tag left open: the next one starts here
        TAttribute a;
        const std::size_t attrStart = I;
        while (I < T.size() && !IsSpace(T[I]) && T[I] != '=' && T[I] != '>' && T[I] != '/' && T[I] != '<')
            Advance();
        if (I == attrStart)
            Advance();  // a lone "=" or the like
        a.Name = T.substr(attrStart, I - attrStart);
        std::size_t look = I;
        while (look < T.size() && IsSpace(T[look]))
            ++look;
        if (At(look) == '=') {
            AdvanceTo(look + 1);
            while (I < T.size() && IsSpace(T[I]))
                Advance();
            const char quote = At(I);
            if (quote == '"' || quote == '\'') {
                const int quoteLine = Line, quoteColumn = Column;
                Advance();
                a.Line = Line;
                a.Column = Column;
                const std::size_t valueStart = I;
                // An open quote runs on to the next one, wherever it is, as in a browser.
                std::size_t end = T.find(quote, I);
                if (end == std::string_view::npos)
                    end = T.size();
                TextUpTo(end);
                a.Value = T.substr(valueStart, end - valueStart);
                // A value that swallowed a line end and a tag's bracket has lost its closing quote.
                a.Suspect = a.Value.find('\n') != std::string_view::npos &&
                            a.Value.find_first_of("<>") != std::string_view::npos;
                if (a.Suspect)
                    Add(quoteLine, quoteColumn, TFindingKind::Warning,
                        "Quote not closed? The value of " + Shown(a.Name) + " opened here runs on to line " +
                            std::to_string(Line) + ", taking the markup between with it");
                Advance();
            } else {
                a.Line = Line;
                a.Column = Column;
                const std::size_t valueStart = I;
                std::size_t end = I;
                while (end < T.size() && !IsSpace(T[end]) && T[end] != '>')
                    ++end;
                TextUpTo(end);
                a.Value = T.substr(valueStart, end - valueStart);
            }
        }
        attributes.push_back(a);
    }

    auto attribute = [&](std::string_view Wanted) -> const TAttribute * {
        for (const TAttribute &a : attributes)
            if (EqualNoCase(a.Name, Wanted))
                return &a;
        return nullptr;
    };
    if (EqualNoCase(name, "IMG") && !attribute("ALT"))
        Add(tagLine, tagColumn, TFindingKind::Warning,
            "Picture without alternate text: this <" + Shown(name) +
                "> needs an ALT attribute for readers who cannot see it");
    if (EqualNoCase(name, "BASE") && attribute("HREF"))
        BaseGiven = true;  // relative addresses then lead elsewhere
    else
        for (const TAttribute &a : attributes)
            if ((EqualNoCase(a.Name, "SRC") || EqualNoCase(a.Name, "HREF")) && !a.Suspect)
                Address(a);

    if (!closed)
        return;
    // Contents that are not markup: script and style code, and the old example elements.
    for (std::string_view raw : {"SCRIPT", "STYLE", "XMP"})
        if (EqualNoCase(name, raw)) {
            AdvanceTo(EndTagOf(raw));
            return;
        }
    if (EqualNoCase(name, "PLAINTEXT")) {
        AdvanceTo(T.size());
        return;
    }
    // Text whose entities count but whose "<" starts no tag.
    for (std::string_view text : {"TITLE", "TEXTAREA"})
        if (EqualNoCase(name, text)) {
            TextUpTo(EndTagOf(text));
            return;
        }
}

std::optional<std::string> TDocumentChecker::TScan::OtherCase(const std::filesystem::path &Missing)
{
    std::filesystem::path found = Missing.root_path();
    for (const std::filesystem::path &part : Missing.relative_path()) {
        const std::filesystem::path exact = found / part;
        if (Owner.FFiles.Exists(exact.string())) {
            found = exact;
            continue;
        }
        const auto entries = Owner.FFiles.Entries(found.empty() ? std::string(".") : found.string());
        if (!entries)
            return std::nullopt;
        const auto match = std::find_if(entries->begin(), entries->end(), [&](const std::string &Entry) {
            return EqualNoCase(Entry, part.string());
        });
        if (match == entries->end())
            return std::nullopt;
        found /= *match;
    }
    return found.string();
}

void TDocumentChecker::TScan::Address(const TAttribute &A)
{
    const std::string address = TrimmedAddress(ValueText(A.Value));
    if (address.empty() || address[0] == '#' || address[0] == '/' || address[0] == '\\')
        return;  // this page, the site's root, another machine
    std::size_t scheme = 0;
    while (scheme < address.size() && (IsLetter(address[scheme]) || (scheme > 0 && (IsDigit(address[scheme]) ||
                                                                                   address[scheme] == '+' ||
                                                                                   address[scheme] == '-' ||
                                                                                   address[scheme] == '.'))))
        ++scheme;
    std::string path;
    bool absolute = false;
    if (scheme > 0 && scheme < address.size() && address[scheme] == ':') {
        if (!EqualNoCase(std::string_view(address).substr(0, scheme), "file"))
            return;  // http:, mailto:, a drive letter, ...
        std::string_view rest = std::string_view(address).substr(scheme + 1);
        if (rest.starts_with("//")) {
            rest.remove_prefix(2);
            const std::size_t slash = rest.find('/');
            const std::string_view host = rest.substr(0, slash);
            if (slash == std::string_view::npos || !(host.empty() || EqualNoCase(host, "localhost")))
                return;  // a file on another machine
            rest.remove_prefix(slash);
        }
        if (!rest.starts_with('/'))
            return;
        path = std::string(rest);
        absolute = true;
    } else {
        if (BaseGiven)
            return;
        if (Owner.FDirectory.empty()) {
            if (!UntitledNoted) {
                UntitledNoted = true;
                Add(A.Line, A.Column, TFindingKind::Note,
                    "The document has no file name yet, so its relative addresses were not checked");
            }
            return;
        }
        path = address;
    }
    path = path.substr(0, path.find_first_of("?#"));
    if (Owner.FEncoding == TCheckEncoding::Windows1252)
        path = Windows1252ToUtf8(path);  // names on the disk are UTF-8
    path = PercentDecoded(path);
    if (path.empty())
        return;
    const std::filesystem::path full =
        (absolute ? std::filesystem::path(path) : std::filesystem::path(Owner.FDirectory) / path).lexically_normal();
    if (Owner.FFiles.Exists(full.string()))
        return;
    std::string message = "File not found: \"" + Shown(TrimmedAddress(A.Value)) + "\"";
    if (const std::optional<std::string> other = OtherCase(full)) {
        std::filesystem::path shown(*other);
        if (!absolute) {
            const std::filesystem::path relative = shown.lexically_relative(Owner.FDirectory);
            if (!relative.empty())
                shown = relative;
        }
        message += " (there is \"" + shown.string() + "\": the letter case differs)";
    }
    Add(A.Line, A.Column, TFindingKind::Error, std::move(message));
}

// ---------------------------------------------------------------------------------------------

TDocumentChecker::TDocumentChecker(TFileLookup &Files, std::string DocumentDirectory, TCheckEncoding Encoding)
    : FFiles(Files), FDirectory(std::move(DocumentDirectory)), FEncoding(Encoding)
{
}

std::vector<TCheckFinding> TDocumentChecker::Check(std::string_view Text, const TCheckProgress &Progress)
{
    FUnknownEntities.clear();
    return TScan(*this, Text, Progress).Run();
}

std::vector<TCheckFinding> MergeFindings(std::vector<TCheckFinding> Own,
                                         const std::vector<TDocumentChecker::TEntityFinding> &OwnUnknownEntities,
                                         const TMarkupReport &Markup)
{
    std::set<std::pair<int, int>> markupEntities, ownEntities;
    for (std::size_t index : Markup.EntityFindings)
        if (index < Markup.Findings.size())
            markupEntities.emplace(Markup.Findings[index].Line, Markup.Findings[index].Column);
    for (const TDocumentChecker::TEntityFinding &e : OwnUnknownEntities) {
        ownEntities.emplace(e.Line, e.Column);
        // The markup checker knows the name when it read the whole text and said nothing there.
        if (Markup.Complete && e.Index < Own.size() && !markupEntities.count({e.Line, e.Column})) {
            Own[e.Index].Kind = TFindingKind::Note;
            Own[e.Index].Message = "The entity \"&" + e.Name + ";\" is known only to browsers of HTML 5";
        }
    }
    std::vector<TCheckFinding> all = std::move(Own);
    std::vector<bool> entity(Markup.Findings.size(), false);
    for (std::size_t index : Markup.EntityFindings)
        if (index < entity.size())
            entity[index] = true;
    for (std::size_t i = 0; i < Markup.Findings.size(); ++i) {
        const TCheckFinding &f = Markup.Findings[i];
        if (entity[i] && ownEntities.count({f.Line, f.Column}))
            continue;  // said already, with the nearest name
        all.push_back(f);
    }
    std::stable_sort(all.begin(), all.end(), [](const TCheckFinding &A, const TCheckFinding &B) {
        return A.Line != B.Line ? A.Line < B.Line : A.Column < B.Column;
    });
    return all;
}

TCheckReport CheckDocument(const TCheckRequest &Request, TFileLookup &Files, const TCheckProgress &Progress,
                           const TMarkupCheckerFn &MarkupChecker)
{
    TCheckReport report;
    bool stopped = false;
    // Progress: the own checks run while the markup checker starts; they take the first fifth.
    auto part = [&](int From, int Share) {
        return [&, From, Share](int Percent) {
            if (Progress && !Progress(From + Percent * Share / 100))
                stopped = true;
            return !stopped;
        };
    };
    TMarkupCheckProcess markup(MarkupChecker ? MarkupChecker : TMarkupCheckerFn(TidyMarkupReport), Request.Text,
                               Request.Encoding);
    TDocumentChecker own(Files, Request.DocumentDirectory, Request.Encoding);
    std::vector<TCheckFinding> ownFindings = own.Check(Request.Text, part(0, 20));
    if (stopped) {
        report.Cancelled = true;
        return report;
    }
    const TMarkupReport markupReport = markup.Wait(part(20, 80));
    if (stopped) {
        report.Cancelled = true;
        return report;
    }
    report.Findings = MergeFindings(std::move(ownFindings), own.UnknownEntities(), markupReport);
    if (report.Findings.size() > kMaxListedFindings) {
        report.Findings.resize(kMaxListedFindings);
        const int last = report.Findings.back().Line;
        report.Findings.push_back({last, report.Findings.back().Column, TFindingKind::Note,
                                   "Only the first " + std::to_string(kMaxListedFindings) + " findings are listed"});
    }
    if (Progress)
        Progress(100);
    return report;
}
