// Text file readers and writers: format test, DOS and Unix readers, writers, byte-exact round trips.
#include "core/editor/SafeFile.h"
#include "core/editor/TextFileIO.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using Paras = std::vector<std::string>;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char Templ[] = "/tmp/pelmar-textfile-XXXXXX";
        ASSERT_NE(::mkdtemp(Templ), nullptr);
        Dir = Templ;
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Path(const std::string &Name) const { return Dir + "/" + Name; }
    static void Put(const std::string &File, const std::string &Bytes)
    {
        std::ofstream(File, std::ios::binary) << Bytes;
    }
    static std::string Get(const std::string &File)
    {
        std::ifstream In(File, std::ios::binary);
        std::ostringstream S;
        S << In.rdbuf();
        return S.str();
    }

    // Loads a file as the editor does: the paragraphs read plus the text store's final empty one.
    static Paras Load(const std::string &File, TTextReadResult *Result = nullptr, TTextReadOptions Options = {},
                      TFileFormat Format = ffNone)
    {
        Paras P;
        const TTextReadResult R =
            ReadTextFile(File, Format, Options, [&P](std::string_view S) { P.emplace_back(S); });
        if (Result)
            *Result = R;
        P.emplace_back();
        return P;
    }
    static void Save(const std::string &File, TFileFormat Format, const Paras &P, TTextSaveOptions Options = {})
    {
        SaveTextFile(
            File, Format, static_cast<int>(P.size()),
            [&P](int I) { return std::string_view(P[static_cast<std::size_t>(I - 1)]); }, Options);
    }

    std::string Dir;
};

// A byte-by-byte DOS reader without trimming or splitting, as the reference for the fast one.
Paras ReferenceDos(std::string_view Bytes)
{
    Paras Out;
    std::string Line;
    bool Pending = false;
    for (std::size_t I = 0; I < Bytes.size(); ++I) {
        const char C = Bytes[I];
        if (C == CtrlZ)
            break;
        if (C == '\r') {
            Out.push_back(Line);
            Line.clear();
            Pending = false;
            if (I + 1 < Bytes.size() && Bytes[I + 1] == '\n')
                ++I;
            continue;
        }
        Line += C;
        Pending = true;
    }
    if (Pending)
        Out.push_back(Line);
    return Out;
}

// Feeds the bytes in random chunks.
Paras ReadChunked(std::string_view Bytes, TFileFormat Format, std::mt19937 &Rng, TTextReadOptions Options = {},
                  TTextReadResult *Result = nullptr)
{
    Paras P;
    TTextLineReader Reader(Format, Options, [&P](std::string_view S) { P.emplace_back(S); });
    std::size_t Pos = 0;
    while (Pos < Bytes.size()) {
        const std::size_t N = std::min<std::size_t>(Bytes.size() - Pos, Rng() % 9);
        Reader.Feed(Bytes.substr(Pos, N));
        Pos += N;
    }
    const TTextReadResult R = Reader.Finish();
    if (Result)
        *Result = R;
    return P;
}

std::string Bytes(std::initializer_list<int> Codes)
{
    std::string S;
    for (int C : Codes)
        S += static_cast<char>(C);
    return S;
}

} // namespace

TEST(TextFileIO, FormatTestLooksAtTheFirst512Bytes)
{
    EXPECT_EQ(DetectTextFormat(""), ffUnix);
    EXPECT_EQ(DetectTextFormat("a\nb"), ffUnix);
    EXPECT_EQ(DetectTextFormat("a\r\nb"), ffDos);
    EXPECT_EQ(DetectTextFormat("lone\rcr"), ffDos);
    EXPECT_EQ(DetectTextFormat(std::string(511, 'x') + "\r\n"), ffDos);  // byte 512 is a CR
    EXPECT_EQ(DetectTextFormat(std::string(512, 'x') + "\r\n"), ffUnix); // byte 513 is
    EXPECT_EQ(StripTrailingDot("PAGE."), "PAGE");
    EXPECT_EQ(StripTrailingDot("PAGE.."), "PAGE.");
    EXPECT_EQ(StripTrailingDot("."), ".");
    EXPECT_EQ(StripTrailingDot("PAGE"), "PAGE");
}

TEST_F(TextFileTest, RoundTripsOfTheDocumentedCases)
{
    TTextReadResult R;
    // CR LF file: a, b and the final empty paragraph; saved back byte for byte.
    Put(Path("crlf.htm"), "a\r\nb\r\n");
    EXPECT_EQ(Load(Path("crlf.htm"), &R), (Paras{"a", "b", ""}));
    EXPECT_EQ(R.Format, ffDos);
    EXPECT_EQ(R.Lines, 2u);
    Save(Path("crlf.htm"), ffDos, Load(Path("crlf.htm")));
    EXPECT_EQ(Get(Path("crlf.htm")), "a\r\nb\r\n");

    // LF file without a final LF: Unix; saved as DOS it gains CR LF after every line.
    Put(Path("lf.htm"), "a\nb");
    EXPECT_EQ(Load(Path("lf.htm"), &R), (Paras{"a", "b", ""}));
    EXPECT_EQ(R.Format, ffUnix);
    Save(Path("lf.htm"), ffDos, Load(Path("lf.htm")));
    EXPECT_EQ(Get(Path("lf.htm")), "a\r\nb\r\n");
    // The Unix writer never writes a CR.
    Save(Path("lf2.htm"), ffUnix, Paras{"a", "b", ""});
    EXPECT_EQ(Get(Path("lf2.htm")), "a\nb\n");
    Save(Path("lf3.htm"), ffUnix, Paras{"a", "b"});
    EXPECT_EQ(Get(Path("lf3.htm")), "a\nb\n");
    Save(Path("lf4.htm"), ffDos, Paras{"a", "", ""});
    EXPECT_EQ(Get(Path("lf4.htm")), "a\r\n\r\n");

    // An empty file: one empty paragraph, Unix, written back empty.
    Put(Path("empty.htm"), "");
    EXPECT_EQ(Load(Path("empty.htm"), &R), (Paras{""}));
    EXPECT_EQ(R.Format, ffUnix);
    Save(Path("empty.htm"), ffUnix, Load(Path("empty.htm")));
    EXPECT_EQ(fs::file_size(Path("empty.htm")), 0u);
    Save(Path("empty.htm"), ffDos, Paras{""});
    EXPECT_EQ(fs::file_size(Path("empty.htm")), 0u);

    // First CR after byte 512: the Unix reader keeps every CR as a character.
    std::string Late;
    for (int I = 0; I < 60; ++I)
        Late += "<LI>line " + std::to_string(I) + "\n";
    ASSERT_GT(Late.size(), 512u);
    Late += "x\r\ny\r\n";
    Put(Path("late.htm"), Late);
    const Paras LateParas = Load(Path("late.htm"), &R);
    EXPECT_EQ(R.Format, ffUnix);
    ASSERT_EQ(LateParas.size(), 63u);
    EXPECT_EQ(LateParas[60], "x\r");
    EXPECT_EQ(LateParas[61], "y\r");
    Save(Path("late.htm"), ffUnix, LateParas);
    EXPECT_EQ(Get(Path("late.htm")), Late);

    // DOS: a lone LF is a character, a lone CR ends the line, a Ctrl+Z ends the file.
    Put(Path("dos.htm"), "a\nb\r\nc\rd\r\n\ne\x1a" "ignored\r\n");
    EXPECT_EQ(Load(Path("dos.htm"), &R), (Paras{"a\nb", "c", "d", "\ne", ""}));
    EXPECT_TRUE(R.EndMarkSeen);
    Put(Path("lonelf.htm"), "a\nb\r\n");
    Save(Path("lonelf.htm"), ffDos, Load(Path("lonelf.htm")));
    EXPECT_EQ(Get(Path("lonelf.htm")), "a\nb\r\n");
    Put(Path("eof.htm"), "a\r\n\x1a\r\nb\r\n");
    EXPECT_EQ(Load(Path("eof.htm")), (Paras{"a", ""}));
    // In a Unix file Ctrl+Z and NUL are characters like any other.
    Put(Path("ctrlz.htm"), Bytes({'a', 26, 0, 'b', '\n', 'c'}));
    EXPECT_EQ(Load(Path("ctrlz.htm")), (Paras{Bytes({'a', 26, 0, 'b'}), "c", ""}));
    Put(Path("nul.htm"), Bytes({'a', 0, 'b', '\r', '\n'}));
    EXPECT_EQ(Load(Path("nul.htm")), (Paras{Bytes({'a', 0, 'b'}), ""}));

    // Trailing spaces and tabs are trimmed on loading (both readers), unless switched off.
    Put(Path("blanks.htm"), "a  \r\n \t\r\nb\t \r\n");
    EXPECT_EQ(Load(Path("blanks.htm")), (Paras{"a", "", "b", ""}));
    Put(Path("blanks2.htm"), "a  \n b \n");
    EXPECT_EQ(Load(Path("blanks2.htm")), (Paras{"a", " b", ""}));
    EXPECT_EQ(Load(Path("blanks2.htm"), nullptr, {DefaultParaLengthLimit, false}), (Paras{"a  ", " b ", ""}));

    // Backups: saving INDEX.HTM keeps the old one as INDEX.BAK.
    Put(Path("INDEX.HTM"), "old\r\n");
    Save(Path("INDEX.HTM"), ffDos, Paras{"new", ""}, {true, "BAK"});
    EXPECT_EQ(Get(Path("INDEX.HTM")), "new\r\n");
    EXPECT_EQ(Get(Path("INDEX.BAK")), "old\r\n");
}

TEST_F(TextFileTest, LongLinesAreSplitNotCut)
{
    // The CR of a long first line lies past the format test: the reader is chosen here.
    for (const char *Eol : {"\r\n", "\n"}) {
        const TFileFormat Format = Eol[0] == '\r' ? ffDos : ffUnix;
        TTextReadResult R;
        // 40,000 characters without a blank: 32,767 and the other 7,233.
        std::string Line(40000, 'x');
        for (std::size_t I = 0; I < Line.size(); ++I)
            Line[I] = static_cast<char>('a' + I % 26);
        Put(Path("long.htm"), Line + Eol + "next" + Eol);
        Paras P = Load(Path("long.htm"), &R, {}, Format);
        ASSERT_EQ(P.size(), 4u);
        EXPECT_TRUE(P[0] == Line.substr(0, 32767));
        EXPECT_TRUE(P[1] == Line.substr(32767));
        EXPECT_EQ(P[2], "next");
        EXPECT_TRUE(R.LinesSplit);
        EXPECT_EQ(R.Lines, 2u);
        EXPECT_EQ(R.Paragraphs, 3u);

        // The only blank at position 30,000: the first 29,999 (the blank trimmed), then 10,000.
        Line[29999] = ' ';
        Put(Path("long.htm"), Line + Eol);
        P = Load(Path("long.htm"), &R, {}, Format);
        ASSERT_EQ(P.size(), 3u);
        EXPECT_TRUE(P[0] == Line.substr(0, 29999));
        EXPECT_TRUE(P[1] == Line.substr(30000));
        // Without trimming nothing at all is lost.
        P = Load(Path("long.htm"), &R, {DefaultParaLengthLimit, false}, Format);
        EXPECT_TRUE(P[0] + P[1] == Line);

        // Exactly at the limit, or over it only by trailing blanks: no split.
        Put(Path("edge.htm"), std::string(32767, 'y') + "   " + Eol);
        P = Load(Path("edge.htm"), &R, {}, Format);
        EXPECT_TRUE(P == (Paras{std::string(32767, 'y'), ""}));
        EXPECT_FALSE(R.LinesSplit);
    }

    // The limit is a parameter; a 1 MB line without line end splits into equal pieces.
    Paras P = ReadTextParagraphs("aaaa bbbb cccc dddd", ffUnix, {10, true});
    EXPECT_EQ(P, (Paras{"aaaa bbbb", "cccc dddd"}));
    P = ReadTextParagraphs("abcdefghijklmnopqrstuvwxy", ffDos, {10, true});
    EXPECT_EQ(P, (Paras{"abcdefghij", "klmnopqrst", "uvwxy"}));
    const std::string Mega(1 << 20, 'm');
    TTextReadResult R;
    P = ReadTextParagraphs(Mega, ffDos, {}, &R);
    EXPECT_EQ(P.size(), (Mega.size() + 32766) / 32767);
    std::string Joined;
    for (const std::string &S : P)
        Joined += S;
    EXPECT_TRUE(Joined == Mega);
}

TEST_F(TextFileTest, ReadersAgreeAcrossChunksAndFiles)
{
    std::mt19937 Rng(1234);
    const char Alphabet[] = {'a', 'b', ' ', '\t', '\r', '\n', 26, 0, '<', '\xe9'};
    for (int Round = 0; Round < 300; ++Round) {
        std::string In;
        const int Len = static_cast<int>(Rng() % 200);
        for (int I = 0; I < Len; ++I)
            In += Alphabet[Rng() % sizeof(Alphabet)];
        const TTextReadOptions Raw{DefaultParaLengthLimit, false};

        // DOS against the byte-by-byte reference, whole and in random chunks.
        const Paras Ref = ReferenceDos(In);
        ASSERT_EQ(ReadTextParagraphs(In, ffDos, Raw), Ref) << Round;
        ASSERT_EQ(ReadChunked(In, ffDos, Rng, Raw), Ref) << Round;

        // Unix loses nothing: the paragraphs joined by LF give the input back.
        const Paras U = ReadChunked(In, ffUnix, Rng, Raw);
        std::string Joined;
        for (const std::string &S : U)
            Joined += S + "\n";
        if (!In.empty() && In.back() != '\n')
            Joined.pop_back();
        ASSERT_EQ(Joined, In) << Round;
        ASSERT_EQ(U, ReadTextParagraphs(In, ffUnix, Raw));

        // Trimming and a small limit give the same through chunks as whole.
        TTextReadResult R1, R2;
        ASSERT_EQ(ReadChunked(In, ffDos, Rng, {7, true}, &R1), ReadTextParagraphs(In, ffDos, {7, true}, &R2));
        EXPECT_EQ(R1.LinesSplit, R2.LinesSplit);
        EXPECT_EQ(R1.Lines, R2.Lines);
    }

    // A CR LF pair straddling the file reader's block boundary counts once.
    std::string Big;
    while (Big.size() < 262143 - 10)
        Big += "<P>text\r\n";
    Big += std::string(262143 - Big.size(), 'z');
    Big += "\r\n\nafter\r\n";
    Put(Path("big.htm"), Big);
    TTextReadResult R;
    Paras P = Load(Path("big.htm"), &R);
    P.pop_back();
    EXPECT_EQ(P, ReferenceDos(Big));
    EXPECT_EQ(P.back(), "\nafter");
    EXPECT_EQ(R.Format, ffDos);
}

TEST_F(TextFileTest, RandomizedRoundTripsForBothFormats)
{
    std::mt19937 Rng(99);
    for (TFileFormat Format : {ffDos, ffUnix}) {
        for (int Round = 0; Round < 60; ++Round) {
            // Paragraphs of any bytes but the format's line end (and Ctrl+Z for DOS), without
            // trailing blanks, below the limit; the final one empty as after loading.
            Paras P;
            const int Count = static_cast<int>(Rng() % 40);
            for (int I = 0; I < Count; ++I) {
                std::string S;
                const int Len = Rng() % 10 == 0 ? static_cast<int>(Rng() % 5000) : static_cast<int>(Rng() % 80);
                for (int K = 0; K < Len; ++K) {
                    char C = static_cast<char>(Rng() % 256);
                    if (C == '\r' && Format == ffDos)
                        C = 'r';
                    if (C == CtrlZ && Format == ffDos)
                        C = 'z';
                    if (C == '\n' && Format == ffUnix)
                        C = 'n';
                    S += C;
                }
                while (!S.empty() && (S.back() == ' ' || S.back() == '\t'))
                    S.back() = '.';
                P.push_back(S);
            }
            P.emplace_back();
            // The first CR decides the reader, so a DOS text must start its CRs early enough and a
            // Unix text holding CRs near its start would be taken as DOS: read with the known reader.
            const std::string Name = Path("r.txt");
            Save(Name, Format, P);
            const std::string Written = Get(Name);
            ASSERT_EQ(Written, TextBytes(Format, P));
            Paras Back;
            ReadTextFile(Name, Format, {}, [&Back](std::string_view S) { Back.emplace_back(S); });
            Back.emplace_back();
            ASSERT_EQ(Back, P) << "format " << static_cast<int>(Format) << " round " << Round;
            // And the bytes come back unchanged through a second load and save.
            Save(Name, Format, Back);
            ASSERT_EQ(Get(Name), Written);
        }
    }
}

TEST_F(TextFileTest, ReadAndSaveFailuresReachTheCaller)
{
    try {
        Load(Path("missing.htm"));
        FAIL() << "no error";
    } catch (const EFileError &E) {
        EXPECT_EQ(E.FileName(), Path("missing.htm"));
        EXPECT_EQ(E.ErrorNumber(), ENOENT);
    }
    EXPECT_THROW(DetectFileFormat(Path("missing.htm")), EFileError);

    // A read that fails half-way stops the reader with the error.
    std::string Text;
    for (int I = 0; I < 100000; ++I)
        Text += "<LI>item " + std::to_string(I) + "\r\n";
    Put(Path("list.htm"), Text);
    EXPECT_EQ(DetectFileFormat(Path("list.htm")), ffDos);
    {
        int Reads = 0;
        TFileFaultScope Faults([&Reads](TFileOp Op, const std::string &) {
            return Op == TFileOp::Read && ++Reads == 3 ? EIO : 0;
        });
        std::size_t Got = 0;
        EXPECT_THROW(ReadTextFile(Path("list.htm"), ffNone, {}, [&Got](std::string_view) { ++Got; }), EFileError);
        EXPECT_GT(Got, 0u);
        EXPECT_LT(Got, 100000u);
    }

    // A save that fails leaves the file as it was.
    {
        TFileFaultScope Faults([](TFileOp Op, const std::string &) { return Op == TFileOp::Write ? ENOSPC : 0; });
        EXPECT_THROW(Save(Path("list.htm"), ffUnix, Paras{"x", ""}), EFileError);
    }
    EXPECT_EQ(Get(Path("list.htm")), Text);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}
