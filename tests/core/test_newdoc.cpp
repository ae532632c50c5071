// The new-document skeleton and saving a copy without tags.
#include "core/editor/SafeFile.h"
#include "core/markup/NewDocument.h"
#include "core/markup/SaveWithoutTags.h"
#include "core/markup/TextTransform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace {

std::vector<std::string> LinesOf(const std::string &Text)
{
    std::vector<std::string> Lines(1);
    for (char c : Text) {
        if (c == '\n')
            Lines.emplace_back();
        else
            Lines.back() += c;
    }
    return Lines;
}

std::string Comment(const std::string &Text) { return CommentLine(Text).substr(0, CommentLine(Text).size() - 1); }

namespace fs = std::filesystem;

struct TTempDir {
    fs::path Path = fs::temp_directory_path() / ("pelmar_notags_" + std::to_string(::getpid()));
    TTempDir() { fs::create_directories(Path); }
    ~TTempDir() { fs::remove_all(Path); }
    std::string File(const std::string &Name) const { return (Path / Name).string(); }
};

void WriteBytes(const std::string &Name, const std::string &Bytes)
{
    std::ofstream(Name, std::ios::binary) << Bytes;
}

std::string ReadBytes(const std::string &Name)
{
    std::ifstream In(Name, std::ios::binary);
    std::ostringstream S;
    S << In.rdbuf();
    return S.str();
}

}  // namespace

TEST(NewDocument, EverythingOn)
{
    TNewDocOptions O;
    O.URL = "http://Host/Page.htm";
    O.Title = "My Page";
    const std::string Text = NewDocumentText(O, "Ann", "12/8/26", false);
    EXPECT_EQ(LinesOf(Text), (std::vector<std::string>{
                                 "<HTML>", Comment("This document was created with Pelmar32"), Comment("Author: Ann"),
                                 Comment("Date:   12/8/26"), Comment("URL:    http://Host/Page.htm"), "<HEAD>",
                                 "<TITLE>My Page</TITLE>", "<BASE HREF=\"http://Host/Page.htm\">", "</HEAD>", "",
                                 "<BODY>", "", "</BODY>", "</HTML>", ""}));
    EXPECT_EQ(Comment("This document was created with Pelmar32").size(), 53u);
}

TEST(NewDocument, OptionsOffTitleDefaultAndComments)
{
    TNewDocOptions Off;
    Off.HTML = Off.BODY = Off.HEAD = Off.Author = false;
    EXPECT_EQ(NewDocumentText(Off, "Ann", "1/1/26", false), CommentLine("This document was created with Pelmar32"));

    // No HEAD: the URL still gets its comment line, but there is no BASE element.
    Off.URL = "u.htm";
    Off.Comments = {"first", "", "second", ""};
    EXPECT_EQ(NewDocumentText(Off, "", "", false), CommentLine("This document was created with Pelmar32") +
                                                       CommentLine("URL:    u.htm") + CommentLine("first") +
                                                       CommentLine("second"));

    TNewDocOptions HeadOnly;
    HeadOnly.HTML = HeadOnly.BODY = HeadOnly.Author = false;
    EXPECT_EQ(EffectiveTitle(""), "Document Title");
    EXPECT_EQ(EffectiveTitle("X"), "X");
    const auto Pieces = NewDocumentPieces(HeadOnly, "", "");
    EXPECT_EQ(Pieces, (std::vector<std::string>{CommentLine("This document was created with Pelmar32"), "<HEAD>\n",
                                                "<TITLE>Document Title</TITLE>\n", "</HEAD>\n"}));
}

TEST(NewDocument, TagCasePerPiece)
{
    TNewDocOptions O;
    O.Author = false;
    O.URL = "HTTP://X/Y.HTM";
    O.Title = "Big TITLE";
    O.Comments = {"Keep This Case"};
    const auto Lines = LinesOf(NewDocumentText(O, "", "", true));
    // Each comment line is its own insertion that opens with "<!", so it keeps its case.
    EXPECT_EQ(Lines[0], "<html>");
    EXPECT_EQ(Lines[1], Comment("This document was created with Pelmar32"));
    EXPECT_EQ(Lines[2], Comment("URL:    HTTP://X/Y.HTM"));
    EXPECT_EQ(Lines[3], Comment("Keep This Case"));
    EXPECT_EQ(Lines[5], "<title>Big TITLE</title>");
    EXPECT_EQ(Lines[6], "<base href=\"HTTP://X/Y.HTM\">");
    EXPECT_EQ(Lines[9], "<body>");
}

TEST(NewDocument, AuthorFromTheAccountWithoutUserOrLogname)
{
    // Some launchers start programs without either variable: the password database names the
    // account. (USER itself is used by the window tests.)
    const std::string user = std::getenv("USER") ? std::getenv("USER") : "";
    const std::string logname = std::getenv("LOGNAME") ? std::getenv("LOGNAME") : "";
    ::unsetenv("USER");
    ::unsetenv("LOGNAME");
    const passwd *account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(DefaultAuthorName(), account->pw_name);
    for (const auto &[name, value] : {std::pair{"USER", user}, std::pair{"LOGNAME", logname}})
        if (!value.empty())
            ::setenv(name, value.c_str(), 1);
}

TEST(SaveWithoutTags, StripperAcrossPieces)
{
    TTagStripper S;
    std::string Out = S.Feed("x <b");
    EXPECT_TRUE(S.InTag());
    Out += S.Feed(">bold</");
    Out += S.Feed("b> > y");
    EXPECT_EQ(Out, "x bold > y");
    EXPECT_FALSE(S.InTag());
    EXPECT_EQ(S.Feed("a <unclosed"), "a ");
    EXPECT_EQ(S.Feed("\r\nstill inside"), "");
}

TEST(SaveWithoutTags, FilesAndFailures)
{
    TTempDir Dir;
    const std::string In = Dir.File("page.htm"), Out = Dir.File("page.txt");
    WriteBytes(In, "x <b>bold</b> > y\r\nline2 <i\r\nx>&amp;\xE9\n<open");
    WriteBytes(Out, "old content that is longer than the new one");
    SaveWithoutHTMLTags(In, Out);
    EXPECT_EQ(ReadBytes(Out), "x bold > y\r\nline2 &amp;\xE9\n");

    // The document's own file as output: read whole first, so nothing is lost.
    SaveWithoutHTMLTags(In, In);
    EXPECT_EQ(ReadBytes(In), "x bold > y\r\nline2 &amp;\xE9\n");

    // A missing input reports the file and leaves the output alone.
    EXPECT_THROW(SaveWithoutHTMLTags(Dir.File("missing.htm"), Out), EFileError);
    EXPECT_EQ(ReadBytes(Out), "x bold > y\r\nline2 &amp;\xE9\n");

    // A failing write keeps the old output.
    {
        TFileFaultScope Fault([](TFileOp Op, const std::string &) { return Op == TFileOp::Rename ? 5 : 0; });
        WriteBytes(In, "<p>new</p>");
        EXPECT_THROW(SaveWithoutHTMLTags(In, Out), EFileError);
    }
    EXPECT_EQ(ReadBytes(Out), "x bold > y\r\nline2 &amp;\xE9\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path), fs::directory_iterator{}), 2);  // no temporary left
}
