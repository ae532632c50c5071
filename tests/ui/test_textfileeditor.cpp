// Loading, saving and inserting files through the markup editor: formats, byte-exact round trips,
// file name rules, backups, failed reads and saves, long lines and the ends of lines and files.
#include "core/editor/SafeFile.h"
#include "support/ScriptedPrompt.h"
#include "ui/editor/MarkupEditor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace {

std::string ReadBytes(const QString &Name)
{
    std::ifstream In(QFile::encodeName(Name).toStdString(), std::ios::binary);
    std::ostringstream S;
    S << In.rdbuf();
    return S.str();
}

void WriteBytes(const QString &Name, const std::string &Bytes)
{
    std::ofstream Out(QFile::encodeName(Name).toStdString(), std::ios::binary | std::ios::trunc);
    Out << Bytes;
}

std::vector<std::string> Paras(const TMarkupEditor &Ed)
{
    std::vector<std::string> P;
    for (int I = 1; I <= Ed.ParaCount(); ++I)
        P.emplace_back(Ed.ParaList().ParaText(I));
    return P;
}

using TParas = std::vector<std::string>;

class TextFileEditor : public ::testing::Test {
protected:
    QString Path(const QString &Name) const { return Dir.filePath(Name); }
    QStringList Entries() const { return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    QTemporaryDir Dir;
    TScriptedPrompt Prompts;
    TMarkupEditor Ed;
};

} // namespace

TEST_F(TextFileEditor, DetectsFormatLoadsAndSavesByteExact)
{
    // CR LF file: DOS, paragraphs a, b and the final empty one, saved back byte for byte.
    WriteBytes(Path("dos.htm"), "a\r\nb\r\n");
    Ed.LoadFromFile(Path("dos.htm"));
    EXPECT_EQ(Ed.FileFormat(), ffDos);
    EXPECT_EQ(Paras(Ed), (TParas{"a", "b", ""}));
    EXPECT_TRUE(Ed.IsOpen());
    EXPECT_FALSE(Ed.Modified());
    EXPECT_FALSE(Ed.ParaList().CanUndo());
    Ed.SaveToFile(Path("dos2.htm"));
    EXPECT_EQ(ReadBytes(Path("dos2.htm")), "a\r\nb\r\n");
    EXPECT_EQ(Ed.FileName(), Path("dos.htm")); // saving does not rename

    // LF without a final LF: Unix; written through SaveToFile its lines get CR LF, and the last
    // line stays without a line end as it came.
    WriteBytes(Path("unix.htm"), "a\nb");
    Ed.LoadFromFile(Path("unix.htm"));
    EXPECT_EQ(Ed.FileFormat(), ffUnix);
    EXPECT_EQ(Paras(Ed), (TParas{"a", "b", ""}));
    Ed.SaveToFile(Path("unix.htm"));
    EXPECT_EQ(ReadBytes(Path("unix.htm")), "a\r\nb");
    EXPECT_EQ(Ed.FileFormat(), ffUnix); // saving leaves the format alone

    // Empty file: Unix, one empty paragraph.
    WriteBytes(Path("empty.htm"), "");
    Ed.LoadFromFile(Path("empty.htm"));
    EXPECT_EQ(Ed.FileFormat(), ffUnix);
    EXPECT_EQ(Paras(Ed), (TParas{""}));

    // The first CR after byte 512: the Unix reader keeps each CR at the end of its paragraph.
    std::string Late(600, 'x');
    Late += "\r\nend\r\n";
    WriteBytes(Path("late.htm"), Late);
    Ed.LoadFromFile(Path("late.htm"));
    EXPECT_EQ(Ed.FileFormat(), ffUnix);
    EXPECT_EQ(Paras(Ed), (TParas{std::string(600, 'x') + "\r", "end\r", ""}));

    // DOS: CR LF, a lone LF and a lone CR each end a line and are written back as they were; a
    // Ctrl+Z inside is a character; trailing blanks go.
    WriteBytes(Path("mixed.htm"), "a\r\nb\nc  \t\rd\x1Akept\r\n");
    Ed.LoadFromFile(Path("mixed.htm"));
    EXPECT_EQ(Ed.FileFormat(), ffDos);
    EXPECT_EQ(Paras(Ed), (TParas{"a", "b", "c", "d\x1Akept", ""}));
    Ed.SaveToFile(Path("mixed.htm"));
    EXPECT_EQ(ReadBytes(Path("mixed.htm")), "a\r\nb\nc\rd\x1Akept\r\n");

    // A longer text with 8-bit characters, tabs and markup survives a round trip unchanged.
    std::string Big;
    for (int I = 0; I < 5000; ++I)
        Big += "<P>Line " + std::to_string(I) + "\t&auml;\xE4\x80\xFF</P>\r\n";
    WriteBytes(Path("big.htm"), Big);
    Ed.LoadFromFile(Path("big.htm"));
    EXPECT_EQ(Ed.ParaCount(), 5001);
    Ed.SaveToFile(Path("big2.htm"));
    EXPECT_EQ(ReadBytes(Path("big2.htm")), Big);
}

TEST_F(TextFileEditor, FileNameAndIsOpenRules)
{
    WriteBytes(Path("PAGE"), "page text\r\n");
    Ed.SetFileName(Path("PAGE."));
    EXPECT_EQ(Ed.FileName(), Path("PAGE"));
    EXPECT_FALSE(Ed.IsOpen());
    Ed.SetIsOpen(true);
    EXPECT_TRUE(Ed.IsOpen());
    EXPECT_EQ(Paras(Ed), (TParas{"page text", ""}));

    // A new name clears IsOpen but keeps the text; the same name changes nothing.
    Ed.SetFileName(Path("PAGE"));
    EXPECT_TRUE(Ed.IsOpen());
    Ed.SetFileName(Path("page"));
    EXPECT_EQ(Ed.FileName(), Path("page"));
    EXPECT_FALSE(Ed.IsOpen());
    EXPECT_EQ(Paras(Ed), (TParas{"page text", ""}));

    // A single "." is a name of its own.
    Ed.SetFileName(".");
    EXPECT_EQ(Ed.FileName(), ".");

    // Loading through LoadFromFile with a trailing dot stores and opens the name without it.
    Ed.LoadFromFile(Path("PAGE."));
    EXPECT_EQ(Ed.FileName(), Path("PAGE"));
    EXPECT_TRUE(Ed.IsOpen());

    // IsOpen false clears the text.
    Ed.SetIsOpen(false);
    EXPECT_FALSE(Ed.IsOpen());
    EXPECT_EQ(Paras(Ed), (TParas{""}));

    // A file that cannot be opened fails in the format test: the text stays, IsOpen stays false.
    TEdCustomEditor &Base = Ed;
    Base.InsertString("kept");
    Ed.SetFileName(Path("missing.htm"));
    EXPECT_THROW(Ed.SetIsOpen(true), EFileError);
    EXPECT_FALSE(Ed.IsOpen());
    EXPECT_EQ(Paras(Ed), (TParas{"kept"}));

    // Without a name IsOpen cannot be set.
    TMarkupEditor Fresh;
    Fresh.SetIsOpen(true);
    EXPECT_FALSE(Fresh.IsOpen());
    EXPECT_EQ(Fresh.FileFormat(), ffNone);
}

TEST_F(TextFileEditor, FailedReadClearsTheText)
{
    WriteBytes(Path("one.htm"), "first\r\n");
    Ed.LoadFromFile(Path("one.htm"));
    WriteBytes(Path("two.htm"), std::string(100000, 'y') + "\r\n");

    // The format test opens and reads; the reader's own read then fails.
    int Opens = 0;
    TFileFaultScope Faults([&Opens](TFileOp Op, const std::string &) {
        if (Op == TFileOp::Open)
            ++Opens;
        return Op == TFileOp::Read && Opens >= 2 ? EIO : 0;
    });
    EXPECT_THROW(Ed.LoadFromFile(Path("two.htm")), EFileError);
    EXPECT_FALSE(Ed.IsOpen());
    EXPECT_EQ(Paras(Ed), (TParas{""}));
    EXPECT_EQ(Ed.FileFormat(), ffDos); // from the last successful load
}

TEST_F(TextFileEditor, BackupAndFailedSaves)
{
    const QString Index = Path("INDEX.HTM");
    WriteBytes(Index, "old\r\n");
    Ed.LoadFromFile(Index);
    TEdCustomEditor &Base = Ed;
    Base.InsertString("new ");
    ASSERT_TRUE(Ed.Modified());

    // MakeBackup keeps the old file as INDEX.BAK; the extension is cut to 3 characters.
    Ed.SetMakeBackup(true);
    Ed.SetBackupExt("BAKX");
    EXPECT_EQ(Ed.BackupExt(), "BAK");
    Ed.SaveToFile(Index);
    EXPECT_EQ(ReadBytes(Index), "new old\r\n");
    EXPECT_EQ(ReadBytes(Path("INDEX.BAK")), "old\r\n");
    EXPECT_FALSE(Ed.Modified());

    // Undoing past the save shows the text modified again.
    Ed.Undo();
    EXPECT_TRUE(Ed.Modified());
    Ed.Redo();

    // A write error at the file layer: the file and its backup are as before, nothing is left
    // behind, the error reaches the caller and the text stays modified.
    Base.InsertString("x");
    ASSERT_TRUE(Ed.Modified());
    const QStringList Before = Entries();
    for (TFileOp Failing : {TFileOp::Create, TFileOp::Write, TFileOp::Sync, TFileOp::Rename}) {
        TFileFaultScope Faults([Failing](TFileOp Op, const std::string &) { return Op == Failing ? ENOSPC : 0; });
        EXPECT_THROW(Ed.SaveToFile(Index), EFileError);
        EXPECT_EQ(ReadBytes(Index), "new old\r\n");
        EXPECT_TRUE(Ed.Modified());
        EXPECT_EQ(ReadBytes(Path("INDEX.BAK")), "old\r\n");
        EXPECT_EQ(Entries(), Before);
    }

    // A directory that does not exist cannot be written either.
    EXPECT_THROW(Ed.SaveToFile(Path("no/such/dir/X.HTM")), EFileError);
    EXPECT_TRUE(Ed.Modified());

    // An empty name does nothing.
    Ed.SaveToFile(QString());
    EXPECT_TRUE(Ed.Modified());
}

TEST_F(TextFileEditor, LongLinesStayWholeAndTheEndsOfLinesAndFilesAreKept)
{
    // 200,000 characters with blanks in between: one paragraph, no warning (an unexpected prompt
    // fails the test), and after an edit of another line the file is written back as it was.
    std::string Long;
    while (Long.size() < 200000)
        Long += "word" + std::to_string(Long.size()) + " ";
    const std::string File = "short\r\n" + Long + "\nlast\rend\x1a";
    WriteBytes(Path("long.htm"), File);
    Ed.LoadFromFile(Path("long.htm"));
    EXPECT_EQ(Ed.FileFormat(), ffDos);
    const TParas P = Paras(Ed);
    ASSERT_EQ(P.size(), 5u);
    EXPECT_TRUE(P[1] + " " == Long); // the trailing blank is trimmed, as for every line
    TEdCustomEditor &Base = Ed;
    Ed.SetCaretPosition(1, 6);
    Base.InsertString("er");
    Ed.SaveToFile(Path("long.htm"));
    EXPECT_TRUE(ReadBytes(Path("long.htm")) == "shorter\r\n" + P[1] + "\nlast\rend\x1a");

    // A line the user adds takes the document's format; Save As gives every line that format.
    Ed.SetTrimWhiteSpace(false);
    WriteBytes(Path("mixed.htm"), "a\r\nb\nc");
    Ed.LoadFromFile(Path("mixed.htm"));
    Ed.SetCaretPosition(2, 2);
    Base.InsertString("\r\nnew");
    Ed.SaveToFile(Path("mixed.htm"));
    EXPECT_EQ(ReadBytes(Path("mixed.htm")), "a\r\nb\nnew\r\nc");
    Ed.WriteFile(Path("mixed.htm"), ffUnix, false);
    EXPECT_EQ(ReadBytes(Path("mixed.htm")), "a\nb\nnew\nc");
    // The last line, read without a line end, gets one when a line break is typed after it.
    Ed.SetCaretPosition(4, 2);
    Base.InsertString("\r\n");
    Ed.SaveToFile(Path("mixed.htm"));
    EXPECT_EQ(ReadBytes(Path("mixed.htm")), "a\r\nb\nnew\r\nc\r\n\r\n");

    // With a smaller paragraph limit a longer line is refused whole, never cut.
    Ed.SetParaLengthLimit(10);
    WriteBytes(Path("long.txt"), "short\nabcdefghijklmnopqrstuvwxy\nz");
    try {
        Ed.LoadFromFile(Path("long.txt"));
        ADD_FAILURE() << "loaded";
    } catch (const EEditorError &E) {
        EXPECT_EQ(E.Code(), edeParaTooLong);
    }
    EXPECT_FALSE(Ed.IsOpen());
    EXPECT_EQ(Paras(Ed), TParas{""});
}

TEST_F(TextFileEditor, InsertTextFilePutsTheCaretBack)
{
    TEdCustomEditor &Base = Ed;
    Base.InsertString("Hello World");
    Ed.SetCaretPosition(1, 7);
    WriteBytes(Path("two.txt"), "line one\r\nline two");
    EXPECT_TRUE(Ed.InsertTextFile(Path("two.txt.")));
    EXPECT_EQ(Paras(Ed), (TParas{"Hello line one", "line two", "World"}));
    int Col = 0;
    EXPECT_EQ(Ed.GetCaretPosition(Col), 1);
    EXPECT_EQ(Col, 7);
    EXPECT_TRUE(Ed.Modified());
    EXPECT_FALSE(Ed.IsOpen()); // inserting does not open a file

    // Each line and each line break is a step of its own: one undo takes the last break back.
    Ed.Undo();
    EXPECT_EQ(Paras(Ed), (TParas{"Hello line one", "line twoWorld"}));

    // A file that cannot be read is reported; the text stays as it was.
    const TParas Was = Paras(Ed);
    Prompts.ExpectMessagePrefix("", mrOk);
    EXPECT_FALSE(Ed.InsertTextFile(Path("missing.txt")));
    EXPECT_TRUE(Prompts.AllUsed());
    EXPECT_EQ(Prompts.Records().back().type, TMsgDlgType::mtError);
    EXPECT_EQ(Paras(Ed), Was);
}
