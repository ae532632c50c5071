// The document check: the editor's own checks on small documents, the markup checker's report,
// merging both, the report's way through the pipe, and the whole check in its child process
// (crashes contained, cancel, progress).
#include "core/markup/DocumentCheck.h"
#include "core/markup/Entities.h"
#include "core/markup/MarkupCheckProcess.h"
#include "core/markup/TidyCheck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace {

// Files and directories by full name; a directory lists the names below it.
class TFakeFiles final : public TFileLookup {
public:
    explicit TFakeFiles(std::set<std::string> Paths) : Paths(std::move(Paths)) {}
    bool Exists(const std::string &Path) override
    {
        Asked.push_back(Path);
        return Paths.count(Path) > 0;
    }
    std::optional<std::vector<std::string>> Entries(const std::string &Directory) override
    {
        std::vector<std::string> names;
        for (const std::string &p : Paths) {
            const std::filesystem::path path(p);
            if (path.parent_path() == Directory)
                names.push_back(path.filename().string());
        }
        return names;
    }
    std::set<std::string> Paths;
    std::vector<std::string> Asked;
};

std::string Describe(const std::vector<TCheckFinding> &Findings)
{
    std::string out;
    for (const TCheckFinding &f : Findings)
        out += std::to_string(f.Line) + ":" + std::to_string(f.Column) + " " + std::string(FindingKindName(f.Kind)) +
               ": " + f.Message + "\n";
    return out;
}

std::vector<TCheckFinding> Own(std::string_view Text, const std::string &Dir = "/site",
                               TCheckEncoding Encoding = TCheckEncoding::Windows1252)
{
    TFakeFiles files({"/site", "/site/logo.gif", "/site/index.htm", "/site/Pics", "/site/Pics/a b.gif",
                      "/site/caf\xC3\xA9.gif", "/other.htm"});
    TDocumentChecker checker(files, Dir, Encoding);
    return checker.Check(Text);
}

// The document of the command's description: a table left open, a mistyped entity, a picture
// whose name differs in letter case from the file, and a quote left open.
const std::string kFaulty = "<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY>\n"
                            "<TABLE>\n"
                            "<TR><TD>caf&eacutx;</TD></TR>\n"
                            "<P><IMG SRC=\"Logo.GIF\" ALT=\"logo\">\n"
                            "<P><A HREF=\"index.htm>home</A>\n"
                            "</BODY></HTML>\n";

} // namespace

TEST(DocumentCheckOwn, EntitiesOutsideTheTable)
{
    const auto found = Own("<P>&eacute; &copy; &lt; &#233; &#xE9; &amp AT&T\n"
                           "&eacutx; &Eacutee; &COPY; &mdash; x &mdash; &hellip;\n"
                           "<A TITLE=\"&zzqq;\">x</A><SCRIPT>a = \"&nope;\";</SCRIPT><TITLE>&badt;</TITLE>\n"
                           "<!-- &incomment; -->\t&tabbed;");
    EXPECT_EQ(Describe(found),
              "2:1 Warning: Unknown entity \"&eacutx;\" (did you mean \"&eacute;\"?)\n"
              "2:10 Warning: Unknown entity \"&Eacutee;\" (did you mean \"&Eacute;\"?)\n"
              "2:20 Warning: Unknown entity \"&COPY;\" (did you mean \"&copy;\"?)\n"
              "2:27 Note: \"&mdash;\" is an entity of HTML 4 that the editor's entity table lacks, so its "
              "conversions leave it alone (2 times in this document)\n"
              "2:45 Note: \"&hellip;\" is an entity of HTML 4 that the editor's entity table lacks, so its "
              "conversions leave it alone (1 time in this document)\n"
              "3:11 Warning: Unknown entity \"&zzqq;\"\n"
              "3:61 Warning: Unknown entity \"&badt;\"\n"
              "4:22 Warning: Unknown entity \"&tabbed;\"\n");

    // The nearest name: other letter case first, then one typing mistake of any kind.
    EXPECT_EQ(NearestEntityName("NBSP"), "nbsp");
    EXPECT_EQ(NearestEntityName("eacte"), "eacute");
    EXPECT_EQ(NearestEntityName("eacuute"), "eacute");
    EXPECT_EQ(NearestEntityName("eacuet"), "eacute");
    EXPECT_EQ(NearestEntityName("qqqqqq"), "");
    std::set<std::string_view> names(Html4EntityNames().begin(), Html4EntityNames().end());
    EXPECT_EQ(names.size(), 252u);
    for (const TEntityRow &row : EntityTable()) {
        if (!row.Entity.starts_with("&#")) {
            EXPECT_TRUE(IsHtml4EntityName(row.Entity.substr(1, row.Entity.size() - 2))) << row.Entity;
        }
    }
}

TEST(DocumentCheckOwn, LocalAddressesNamingNoFile)
{
    const auto found = Own("<IMG SRC=\"Logo.GIF\" ALT=\"\"><IMG SRC=logo.gif ALT=x>\n"
                           "<A HREF=\"index.htm#top\">a</A><A HREF=\"index.htm?q=1&amp;r=2\">b</A>\n"
                           "<A HREF=\"pics/A%20B.gif\">c</A><A HREF=\"Pics/a%20b.gif\">ok</A>\n"
                           "<A HREF=\"gone.htm\">d</A><A HREF=\"sub/../index.htm\">ok</A><A HREF=\"../other.htm\">ok</A>\n"
                           "<A HREF=\"http://x.org/gone\">e</A><A HREF=mailto:a@b.c>f</A><A HREF=\"/root.htm\">g</A>\n"
                           "<A HREF=\"#here\">h</A><IMG SRC=\"C:\\web\\x.gif\" ALT=x><A HREF=\"//host/x\">i</A>\n"
                           "<A HREF=\"file:///site/logo.gif\">j</A><A HREF=\"file://localhost/site/LOGO.gif\">k</A>\n"
                           "<A HREF=\"file://elsewhere/x\">l</A><IMG SRC=\" caf\xE9.gif \" ALT=x><LINK HREF=\"s.css\">\n"
                           "<BASE HREF=\"http://x.org/\"><A HREF=\"gone-too.htm\">m</A>");
    EXPECT_EQ(Describe(found),
              "1:11 Error: File not found: \"Logo.GIF\" (there is \"logo.gif\": the letter case differs)\n"
              "3:10 Error: File not found: \"pics/A%20B.gif\" (there is \"Pics/a b.gif\": the letter case differs)\n"
              "4:10 Error: File not found: \"gone.htm\"\n"
              "7:47 Error: File not found: \"file://localhost/site/LOGO.gif\" (there is \"/site/logo.gif\": "
              "the letter case differs)\n"
              "8:75 Error: File not found: \"s.css\"\n");

    // A document without a file: relative addresses cannot be looked up, and it says so once.
    EXPECT_EQ(Describe(Own("<A HREF=\"a.htm\">a</A>\n<A HREF=\"b.htm\">b</A><A HREF=\"file:///gone\">c</A>", "")),
              "1:10 Note: The document has no file name yet, so its relative addresses were not checked\n"
              "2:31 Error: File not found: \"file:///gone\"\n");

    // The real disk, a directory part in other letter case.
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("pelmar-check-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "Images");
    std::ofstream(dir / "Images" / "Photo.jpg") << "x";
    TDiskFileLookup disk;
    TDocumentChecker checker(disk, dir.string(), TCheckEncoding::Windows1252);
    EXPECT_EQ(Describe(checker.Check("<IMG SRC=\"images/photo.JPG\" ALT=x><IMG SRC=\"Images/Photo.jpg\" ALT=x>")),
              "1:11 Error: File not found: \"images/photo.JPG\" (there is \"Images/Photo.jpg\": the letter case "
              "differs)\n");
    std::filesystem::remove_all(dir);
}

TEST(DocumentCheckOwn, PicturesCommentsAndPositions)
{
    EXPECT_EQ(Describe(Own("<P>\t<IMG SRC=\"logo.gif\">x<img\nsrc=logo.gif alt=\"\"><IMG ALT><IMG>\n"
                           "<!-- a <IMG> --><!--><!---><SCRIPT>if (a<b) x='<!--';</SCRIPT>\n"
                           "<P>one <!-- open <IMG>\n&nope;")),
              "1:5 Warning: Picture without alternate text: this <IMG> needs an ALT attribute for readers who "
              "cannot see it\n"
              "2:30 Warning: Picture without alternate text: this <IMG> needs an ALT attribute for readers who "
              "cannot see it\n"
              "4:8 Error: Comment not closed: no \"-->\" follows this \"<!--\", so the rest of the document is "
              "hidden\n");

    // UTF-8 columns count characters; Windows-1252 columns count bytes.
    const std::string text = "<P>\xC3\xA9\xC3\xA9 &nope;";
    EXPECT_EQ(Own(text, "/site", TCheckEncoding::Utf8).at(0).Column, 7);
    EXPECT_EQ(Own(text).at(0).Column, 9);

    // A quote left open runs on to the next quote, as in a browser: said at the quote, and what
    // it swallowed is no address. Line ends alone in a value are no sign of it.
    EXPECT_EQ(Describe(Own("<A HREF=\"index.htm>x</A>\n<IMG SRC=\"x\" ALT=\"y\">\n<A TITLE='a\nb' HREF='gone'>")),
              "1:9 Warning: Quote not closed? The value of HREF opened here runs on to line 2, taking the markup "
              "between with it\n"
              "4:10 Error: File not found: \"gone\"\n");
}

TEST(DocumentCheckMarkup, TidysReportOnTheFaultyDocument)
{
    const TMarkupReport report = TidyMarkupReport(kFaulty, TCheckEncoding::Windows1252);
    ASSERT_TRUE(report.Complete);
    const std::string described = Describe(report.Findings);
    EXPECT_NE(described.find("2:1 Warning: Missing </table>"), std::string::npos) << described;
    EXPECT_NE(described.find("3:12 Warning: Unescaped & or unknown entity \"&eacutx\""), std::string::npos) << described;
    EXPECT_NE(described.find("7:1 Warning: <a> end of file while parsing attributes"), std::string::npos) << described;
    EXPECT_NE(described.find("4:1 Warning: <p> isn't allowed in <table> elements (the <table> starts at line 2)\n"),
              std::string::npos) << "one finding, told where the element starts: " << described;
    EXPECT_EQ(described.find("previously mentioned"), std::string::npos) << described;
    ASSERT_EQ(report.EntityFindings.size(), 1u);
    EXPECT_EQ(report.Findings[report.EntityFindings[0]].Line, 3);

    // Valid in some HTML, or the own checks' subject: not reported. A CR inside a line moves no line.
    const TMarkupReport quiet = TidyMarkupReport("<!DOCTYPE html>\n<HTML><HEAD><TITLE>x</TITLE></HEAD><BODY>\r"
                                                 "<TABLE BORDER=1 WIDTH=50%><TR><TD><UL><LI>a<LI>b</UL></TD></TR>"
                                                 "</TABLE>\n<IMG SRC=a.gif><CENTER><FONT SIZE=2>x</FONT></CENTER>"
                                                 "<!-- open\n",
                                                 TCheckEncoding::Utf8);
    EXPECT_EQ(Describe(quiet.Findings), "") << Describe(quiet.Findings);
    const TMarkupReport crLine = TidyMarkupReport("<P>a\r<B>x</I>\n", TCheckEncoding::Windows1252);
    ASSERT_FALSE(crLine.Findings.empty());
    for (const TCheckFinding &f : crLine.Findings)
        EXPECT_EQ(f.Line, 1) << Describe(crLine.Findings);

    // Progress comes as the text is read, and stopping it ends the parse.
    const std::string big(200000, 'x');
    std::vector<int> seen;
    const TMarkupReport stopped = TidyMarkupReport(big, TCheckEncoding::Windows1252, [&](int Percent) {
        seen.push_back(Percent);
        return Percent < 30;
    });
    EXPECT_FALSE(stopped.Complete);
    EXPECT_EQ(seen, (std::vector<int>{0, 32}));
}

TEST(DocumentCheckMerge, EntitiesOnceSortedByPlace)
{
    std::vector<TCheckFinding> own = {{2, 5, TFindingKind::Warning, "Unknown entity \"&eacutx;\" (did you mean \"&eacute;\"?)"},
                                      {3, 1, TFindingKind::Warning, "Unknown entity \"&check;\""},
                                      {9, 1, TFindingKind::Error, "File not found: \"x\""}};
    const std::vector<TDocumentChecker::TEntityFinding> unknown = {{2, 5, 0, "eacutx"}, {3, 1, 1, "check"}};
    TMarkupReport markup;
    markup.Findings = {{4, 1, TFindingKind::Warning, "Missing </table>"},
                       {2, 5, TFindingKind::Warning, "Unescaped & or unknown entity \"&eacutx\""},
                       {2, 9, TFindingKind::Warning, "Unescaped & or unknown entity \"&T\""},
                       {1, 1, TFindingKind::Note, "Missing <!DOCTYPE> declaration"}};
    markup.EntityFindings = {1, 2};
    EXPECT_EQ(Describe(MergeFindings(own, unknown, markup)),
              "1:1 Note: Missing <!DOCTYPE> declaration\n"
              "2:5 Warning: Unknown entity \"&eacutx;\" (did you mean \"&eacute;\"?)\n"
              "2:9 Warning: Unescaped & or unknown entity \"&T\"\n"
              "3:1 Note: The entity \"&check;\" is known only to browsers of HTML 5\n"
              "4:1 Warning: Missing </table>\n"
              "9:1 Error: File not found: \"x\"\n");
    // When the markup checker did not read everything, its silence proves nothing.
    markup.Complete = false;
    EXPECT_EQ(MergeFindings(own, unknown, markup)[3].Kind, TFindingKind::Warning);
}

TEST(DocumentCheckProcess, ReportsCrossThePipeInPiecesOfAnySize)
{
    const TMarkupReportWriter writer;
    const std::string stream = writer.Progress(40) + writer.Finding({7, 3, TFindingKind::Error, "a\nb\0c"}, false) +
                               writer.Finding({8, 1, TFindingKind::Note, ""}, true) + writer.End(true);
    TMarkupReportReader whole, bytewise;
    ASSERT_TRUE(whole.Feed(stream));
    for (char c : stream)
        ASSERT_TRUE(bytewise.Feed(std::string_view(&c, 1)));
    for (const TMarkupReportReader *r : {&whole, &bytewise}) {
        EXPECT_TRUE(r->Ended());
        EXPECT_EQ(r->Progress(), 40);
        EXPECT_EQ(Describe(r->Report().Findings), "7:3 Error: a\nb\n8:1 Note: \n");
        EXPECT_EQ(r->Report().EntityFindings, (std::vector<std::size_t>{1}));
    }
    // Damage: an unknown record, a kind out of range, anything after the end.
    for (const std::string &bad : {std::string("X"), writer.Finding({1, 1, TFindingKind(7), "x"}, false),
                                   writer.End(true) + writer.Progress(1), std::string("P\xC8")}) {
        TMarkupReportReader r;
        EXPECT_FALSE(r.Feed(bad));
        EXPECT_TRUE(r.Damaged());
    }
}

TEST(DocumentCheckProcess, WholeCheckInItsOwnProcess)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("pelmar-whole-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "logo.gif") << "GIF89a";
    std::ofstream(dir / "index.htm") << "x";
    TDiskFileLookup disk;
    std::vector<int> progress;
    const TCheckReport report = CheckDocument({kFaulty, TCheckEncoding::Windows1252, dir.string()}, disk,
                                              [&](int Percent) {
                                                  progress.push_back(Percent);
                                                  return true;
                                              });
    std::filesystem::remove_all(dir);
    ASSERT_FALSE(report.Cancelled);
    const std::string described = Describe(report.Findings);
    EXPECT_NE(described.find("2:1 Warning: Missing </table>"), std::string::npos) << described;
    EXPECT_NE(described.find("3:12 Warning: Unknown entity \"&eacutx;\" (did you mean \"&eacute;\"?)"),
              std::string::npos) << described;
    EXPECT_EQ(described.find("Unescaped & or unknown entity \"&eacutx\""), std::string::npos) << "said once";
    EXPECT_NE(described.find("4:14 Error: File not found: \"Logo.GIF\" (there is \"logo.gif\""), std::string::npos)
        << described;
    EXPECT_NE(described.find("5:12 Warning: Quote not closed? The value of HREF opened here runs on to line 7"),
              std::string::npos) << described;
    EXPECT_EQ(described.find("File not found: \"index.htm"), std::string::npos) << "no address: " << described;
    EXPECT_TRUE(std::is_sorted(report.Findings.begin(), report.Findings.end(), [](const auto &A, const auto &B) {
        return std::pair(A.Line, A.Column) < std::pair(B.Line, B.Column);
    }));
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);

    // A checker that crashes costs its findings, not the program; the own checks still count.
    TFakeFiles none({});
    const TCheckReport crashed = CheckDocument({"<IMG>", TCheckEncoding::Windows1252, ""}, none, {},
                                               [](std::string_view, TCheckEncoding, const TCheckProgress &) {
                                                   std::raise(SIGSEGV);
                                                   return TMarkupReport{};
                                               });
    EXPECT_EQ(Describe(crashed.Findings),
              Describe({{1, 1, TFindingKind::Warning,
                         "Picture without alternate text: this <IMG> needs an ALT attribute for readers who cannot "
                         "see it"},
                        MarkupCheckerFailedFinding()}));

    // A checker that never ends is ended by the cancel at once.
    const auto start = std::chrono::steady_clock::now();
    int calls = 0;
    const TCheckReport cancelled = CheckDocument(
        {"<P>x", TCheckEncoding::Windows1252, ""}, none, [&](int) { return ++calls < 10; },
        [](std::string_view, TCheckEncoding, const TCheckProgress &) {
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
            return TMarkupReport{};
        });
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_TRUE(cancelled.Findings.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "not waited for";

    // Too many findings: the first ones, and a note that says so.
    std::string many;
    for (int i = 0; i < 10005; ++i)
        many += "&zz;\n";
    const TCheckReport capped = CheckDocument({many, TCheckEncoding::Windows1252, ""}, none, {},
                                              [](std::string_view, TCheckEncoding, const TCheckProgress &) {
                                                  return TMarkupReport{};
                                              });
    ASSERT_EQ(capped.Findings.size(), kMaxListedFindings + 1);
    EXPECT_EQ(capped.Findings.back().Message, "Only the first 10000 findings are listed");
    EXPECT_EQ(capped.Findings.back().Line, 10000);
}
