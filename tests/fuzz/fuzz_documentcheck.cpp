// Fuzz target for the document check: the editor's own checks and the markup checker's glue on any
// bytes, the report's records through the pipe reader (the input itself, and a report cut into
// pieces), and the whole check in its child process. With the "grow" choice the text is repeated
// into a document of up to 5 MB (one long line when it holds no line end), which only the whole
// check takes: deep nesting may crash the markup checker there, and the check must survive it.
#include "core/markup/DocumentCheck.h"
#include "core/markup/MarkupCheckProcess.h"
#include "core/markup/TidyCheck.h"

#include "FuzzInput.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

namespace {

class TFuzzFiles final : public TFileLookup {
public:
    bool Exists(const std::string &Path) override { return Files.count(Path) > 0; }
    std::optional<std::vector<std::string>> Entries(const std::string &Directory) override
    {
        if (Directory != "/d")
            return std::nullopt;
        return std::vector<std::string>{"a.gif", "Sub"};
    }
    std::set<std::string> Files = {"/d", "/d/a.gif", "/d/Sub", "/d/Sub/b.htm"};
};

std::string Describe(const TCheckFinding &F)
{
    return std::to_string(F.Line) + ":" + std::to_string(F.Column) + " " + F.Message;
}

// Positions inside the text (up to MaxLine), kinds known, messages said.
void CheckFindings(const std::vector<TCheckFinding> &Findings, int MaxLine, bool InOrder, bool Said = true)
{
    for (std::size_t i = 0; i < Findings.size(); ++i) {
        const TCheckFinding &f = Findings[i];
        FUZZ_CHECK_MSG(f.Line >= 1 && f.Line <= MaxLine && f.Column >= 1, Describe(f));
        FUZZ_CHECK_MSG(int(f.Kind) >= 0 && int(f.Kind) <= int(TFindingKind::Note), Describe(f));
        FUZZ_CHECK_MSG(!Said || !f.Message.empty(), Describe(f));
        if (InOrder && i > 0)
            FUZZ_CHECK_MSG(std::pair(Findings[i - 1].Line, Findings[i - 1].Column) <= std::pair(f.Line, f.Column),
                           Describe(Findings[i - 1]) + " before " + Describe(f));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    TFuzzInput in(Data, Size);
    const TCheckEncoding encoding = in.Bool() ? TCheckEncoding::Utf8 : TCheckEncoding::Windows1252;
    const uint8_t mode = in.Byte();
    std::string text(in.Rest());

    // Any bytes given to the pipe reader: it reads records or reports damage, nothing else.
    TMarkupReportReader raw;
    raw.Feed(text);
    CheckFindings(raw.Report().Findings, INT32_MAX, false, false);
    // The last line, and one more for what the markup checker says at the end of the text.
    const auto lastLine = [](std::string_view Text) { return int(std::count(Text.begin(), Text.end(), '\n')) + 2; };

    if (mode & 4) {
        if (text.empty())
            return 0;
        const std::string piece = text;
        while (text.size() < (5u << 20))
            text += piece;
        TFuzzFiles files;
        const TCheckReport report = CheckDocument({text, encoding, "/d"}, files);
        FUZZ_CHECK(!report.Cancelled);
        CheckFindings(report.Findings, lastLine(text), true);
        FUZZ_CHECK(report.Findings.size() <= kMaxListedFindings + 1);
        return 0;
    }

    // The own checks, in text order, each unknown entity pointing at its finding.
    TFuzzFiles files;
    TDocumentChecker checker(files, (mode & 1) ? "/d" : "", encoding);
    const std::vector<TCheckFinding> own = checker.Check(text);
    CheckFindings(own, lastLine(text), true);
    for (const auto &e : checker.UnknownEntities()) {
        FUZZ_CHECK(e.Index < own.size());
        FUZZ_CHECK(own[e.Index].Line == e.Line && own[e.Index].Column == e.Column);
    }

    // The markup checker in this process (short inputs cannot nest deeply enough to hurt).
    const TMarkupReport markup = TidyMarkupReport(text, encoding);
    FUZZ_CHECK(markup.Complete);
    CheckFindings(markup.Findings, lastLine(text), false);
    for (std::size_t index : markup.EntityFindings)
        FUZZ_CHECK(index < markup.Findings.size());
    CheckFindings(MergeFindings(own, checker.UnknownEntities(), markup), lastLine(text), true);

    // The report through the pipe's records, cut where the input says, comes back whole.
    const TMarkupReportWriter writer;
    std::string stream = writer.Progress(mode % 101);
    for (std::size_t i = 0; i < markup.Findings.size(); ++i)
        stream += writer.Finding(markup.Findings[i], std::find(markup.EntityFindings.begin(),
                                                               markup.EntityFindings.end(),
                                                               i) != markup.EntityFindings.end());
    stream += writer.End(true);
    TMarkupReportReader reader;
    const std::size_t step = 1 + mode % 7;
    for (std::size_t at = 0; at < stream.size(); at += step)
        FUZZ_CHECK(reader.Feed(std::string_view(stream).substr(at, step)));
    FUZZ_CHECK(reader.Ended());
    FUZZ_CHECK(reader.Report() == markup);

    // The whole check in its child process finds what the two parts found here.
    if (mode & 2) {
        TFuzzFiles again;
        const TCheckReport report = CheckDocument({text, encoding, (mode & 1) ? "/d" : ""}, again);
        FUZZ_CHECK(!report.Cancelled);
        TFuzzFiles third;
        TDocumentChecker checker2(third, (mode & 1) ? "/d" : "", encoding);
        std::vector<TCheckFinding> expected = MergeFindings(checker2.Check(text), checker2.UnknownEntities(), markup);
        if (expected.size() > kMaxListedFindings)
            expected.resize(kMaxListedFindings);
        FUZZ_CHECK(report.Findings.size() >= expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            FUZZ_CHECK_MSG(report.Findings[i] == expected[i], Describe(report.Findings[i]) + " / " + Describe(expected[i]));
    }
    return 0;
}
