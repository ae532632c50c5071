// TidyMarkupReport: HTML Tidy's parser over a document's bytes, its diagnostics as findings.
#include "core/markup/TidyCheck.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>
#include <vector>

namespace {

// What the report callback fills while the parser runs.
struct TParseState {
    TMarkupReport Report;
    std::set<std::tuple<int, int, std::string>> Seen;  // the parser repeats some reports
    bool LastKept = false;                              // whether the last report became a finding
};

// The input source: the text byte by byte, with the parser's pushed-back bytes, progress every
// 64 KB and a stop that ends the input.
struct TTextSource {
    std::string_view Text;
    std::size_t Next = 0;
    std::vector<unsigned char> PushedBack;
    const TCheckProgress *Progress = nullptr;
    int Percent = -1;
    bool Stopped = false;

    int Get()
    {
        if (!PushedBack.empty()) {
            const unsigned char b = PushedBack.back();
            PushedBack.pop_back();
            return b;
        }
        if (Stopped || Next >= Text.size())
            return int(EndOfStream);
        if ((Next & 0xFFFF) == 0 && Progress && *Progress) {
            const int percent = int(Next * 100 / Text.size());
            if (percent != Percent) {
                Percent = percent;
                if (!(*Progress)(percent)) {
                    Stopped = true;
                    return int(EndOfStream);
                }
            }
        }
        const unsigned char b = static_cast<unsigned char>(Text[Next++]);
        // The parser ends a line at a CR as well; the editor shows it inside the line.
        return b == '\r' ? ' ' : b;
    }
    bool AtEnd() const { return PushedBack.empty() && (Stopped || Next >= Text.size()); }
};

int TIDY_CALL GetByte(void *Data) { return static_cast<TTextSource *>(Data)->Get(); }
void TIDY_CALL UngetByte(void *Data, byte B) { static_cast<TTextSource *>(Data)->PushedBack.push_back(B); }
Bool TIDY_CALL IsEOF(void *Data) { return static_cast<TTextSource *>(Data)->AtEnd() ? yes : no; }

bool Is(const char *Key, const char *Name) { return Key && std::strcmp(Key, Name) == 0; }

// Valid in some HTML of the editor's users, or said better by the editor's own checks.
bool Unwanted(const char *Key, std::string_view Message)
{
    return Is(Key, "MISSING_QUOTEMARK_OPEN")      // BORDER=1 is fine in HTML
           || Is(Key, "MISSING_ENDTAG_OPTIONAL")  // so is <LI> without </LI>
           || Is(Key, "MALFORMED_COMMENT_EOS")    // the own check points at the comment's start
           || (Is(Key, "MISSING_ATTRIBUTE") &&
               (Message == "<img> lacks \"alt\" attribute"  // the own check reports it
                || Message.find("lacks \"summary\"") != std::string_view::npos));  // never required
}

// Omitted but implied in every HTML: worth knowing, not a fault.
bool OnlyANote(const char *Key)
{
    return Is(Key, "MISSING_DOCTYPE") || Is(Key, "INSERTING_TAG");
}

Bool TIDY_CALL OnMessage(TidyMessage Message)
{
    auto *state = static_cast<TParseState *>(tidyGetAppData(tidyGetMessageDoc(Message)));
    TFindingKind kind;
    switch (tidyGetMessageLevel(Message)) {
    case TidyInfo:
    case TidyAccess: kind = TFindingKind::Note; break;
    case TidyWarning: kind = TFindingKind::Warning; break;
    case TidyError:
    case TidyBadDocument:
    case TidyFatal: kind = TFindingKind::Error; break;
    default: return no;  // configuration and summary dialogue
    }
    const char *key = tidyGetMessageKey(Message);
    const char *text = tidyGetMessageDefault(Message);
    const std::string_view message = text ? text : "";
    const int line = std::max(1, tidyGetMessageLine(Message));
    const int column = std::max(1, tidyGetMessageColumn(Message));
    if (Is(key, "PREVIOUS_LOCATION")) {
        // "<table> previously mentioned" points at the element the report before it is about:
        // said there, since sorted by line the two would part.
        if (state->LastKept) {
            const std::size_t cut = message.find(" previously");
            state->Report.Findings.back().Message +=
                " (" + std::string(cut == std::string_view::npos ? "it" : "the " + std::string(message.substr(0, cut))) +
                " starts at line " + std::to_string(line) + ")";
        }
        return no;
    }
    state->LastKept = false;
    if (Unwanted(key, message))
        return no;
    if (OnlyANote(key))
        kind = TFindingKind::Note;
    if (!state->Seen.emplace(line, column, std::string(message)).second)
        return no;
    state->LastKept = true;
    if (Is(key, "UNKNOWN_ENTITY"))
        state->Report.EntityFindings.push_back(state->Report.Findings.size());
    state->Report.Findings.push_back({line, column, kind, MarkupMessageText(message)});
    return no;  // nothing written anywhere
}

// The document and its error buffer, released on every way out.
class TTidyDocument {
public:
    TTidyDocument() : Doc(tidyCreate()) { tidyBufInit(&Errors); }
    ~TTidyDocument()
    {
        tidyRelease(Doc);
        tidyBufFree(&Errors);
    }
    TTidyDocument(const TTidyDocument &) = delete;
    TTidyDocument &operator=(const TTidyDocument &) = delete;

    TidyDoc Doc;
    TidyBuffer Errors;
};

} // namespace

std::string MarkupMessageText(std::string_view Message)
{
    std::string text(Message);
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = char(text[0] - 'a' + 'A');
    return text;
}

TMarkupReport TidyMarkupReport(std::string_view Text, TCheckEncoding Encoding, const TCheckProgress &Progress)
{
    TParseState state;
    TTidyDocument tidy;
    TidyDoc doc = tidy.Doc;
    tidySetAppData(doc, &state);
    // Whatever the callback lets through would go to this buffer, never to the terminal.
    tidySetErrorBuffer(doc, &tidy.Errors);
    tidySetMessageCallback(doc, OnMessage);
    tidyOptSetValue(doc, TidyInCharEncoding, Encoding == TCheckEncoding::Utf8 ? "utf8" : "win1252");
    tidyOptSetInt(doc, TidyShowErrors, 1000000000);  // every error, not the first six
    tidyOptSetBool(doc, TidyShowWarnings, yes);
    tidyOptSetBool(doc, TidyShowInfo, yes);
    tidyOptSetBool(doc, TidyQuiet, yes);
    tidyOptSetInt(doc, TidyTabSize, 1);  // a tab is one column, as the editor counts characters

    TTextSource text;
    text.Text = Text;
    text.Progress = &Progress;
    TidyInputSource source;
    tidyInitSource(&source, &text, GetByte, UngetByte, IsEOF);
    tidyParseSource(doc, &source);
    state.Report.Complete = !text.Stopped;
    if (Progress && !text.Stopped)
        Progress(100);
    return std::move(state.Report);
}
