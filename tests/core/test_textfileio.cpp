// Text file readers and writers: format test, DOS and Unix readers, writers, byte-exact round trips.
#include "core/editor/SafeFile.h"
#include "core/editor/TextFileIO.h"
#include "../shared/ReadOptions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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
            ReadTextFile(File, Format, Options, [&P](std::string_view S, TLineEnd) { P.emplace_back(S); });
        if (Result)
            *Result = R;
        P.emplace_back();
        return P;
    }
    static void Save(const std::string &File, TFileFormat Format, const Paras &P, TTextSaveOptions Options = {})
    {
        SaveTextFile(
            File, Format, static_cast<int>(P.size()),
            [&P](int I) { return TParaOut(P[static_cast<std::size_t>(I - 1)]); }, Options);
    }
    // Loads a file untrimmed, with its line ends and its end, and saves it again as the editor
    // does after an edit elsewhere (Edit may change the paragraphs); returns the bytes written.
    std::string LoadAndSave(const std::string &File, const std::function<void(Paras &)> &Edit = {},
                            TFileFormat *Format = nullptr, TTextEncoding *Encoding = nullptr)
    {
        Paras P;
        std::vector<TLineEnd> Ends;
        const TTextReadResult R = ReadTextFile(File, ffNone, Untrimmed(), [&](std::string_view S, TLineEnd E) {
            P.emplace_back(S);
            Ends.push_back(E);
        });
        P.emplace_back();
        Ends.push_back(TLineEnd::Default);
        if (Edit)
            Edit(P);
        if (Format)
            *Format = R.Format;
        if (Encoding)
            *Encoding = R.Encoding;
        TTextSaveOptions O;
        O.Write.EndMark = R.EndMark;
        O.Write.ByteOrderMark = R.Encoding == TTextEncoding::Utf8Bom;
        const std::string Out = Path("saved.out");
        SaveTextFile(
            Out, R.Format, static_cast<int>(P.size()),
            [&](int I) {
                const auto K = static_cast<std::size_t>(I - 1);
                return TParaOut(P[K], K < Ends.size() ? Ends[K] : TLineEnd::Default);
            },
            O);
        return Get(Out);
    }

    std::string Dir;
};

// A byte-by-byte DOS reader without trimming, as the reference for the fast one: CR LF, CR and LF
// each end a line, a Ctrl+Z ends the file only as its last byte.
Paras ReferenceDos(std::string_view Bytes)
{
    Paras Out;
    std::string Line;
    bool Pending = false;
    for (std::size_t I = 0; I < Bytes.size(); ++I) {
        const char C = Bytes[I];
        if (C == CtrlZ && I + 1 == Bytes.size())
            break;
        if (C == '\r' || C == '\n') {
            Out.push_back(Line);
            Line.clear();
            Pending = false;
            if (C == '\r' && I + 1 < Bytes.size() && Bytes[I + 1] == '\n')
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
    TTextLineReader Reader(Format, Options, [&P](std::string_view S, TLineEnd) { P.emplace_back(S); });
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

TEST(TextFileIO, FormatTestLooksAtTheFirstLineEnd)
{
    EXPECT_EQ(DetectTextFormat(""), ffUnix);
    EXPECT_EQ(DetectTextFormat("a\nb"), ffUnix);
    EXPECT_EQ(DetectTextFormat("a\r\nb"), ffDos);
    EXPECT_EQ(DetectTextFormat("\nb\r\n"), ffUnix);
    // Stray CRs before the first LF do not make a Unix file DOS, nor LFs after it a DOS file Unix.
    EXPECT_EQ(DetectTextFormat("ab\rcd\r\ref\ngh\r\n"), ffUnix);
    EXPECT_EQ(DetectTextFormat("ab\r\ncd\nef\n"), ffDos);
    // Without a LF: a CR means DOS (CR-only files), no line end at all Unix.
    EXPECT_EQ(DetectTextFormat("lone\rcr"), ffDos);
    EXPECT_EQ(DetectTextFormat("no line end"), ffUnix);
    EXPECT_EQ(DetectTextFormat(std::string(510, 'x') + "\r\n"), ffDos);   // the LF is byte 512
    EXPECT_EQ(DetectTextFormat(std::string(511, 'x') + "\r\n"), ffDos);   // only the CR is seen
    EXPECT_EQ(DetectTextFormat(std::string(511, 'x') + "\n"), ffUnix);
    EXPECT_EQ(DetectTextFormat(std::string(512, 'x') + "\r\n"), ffUnix);  // neither is
    EXPECT_EQ(DetectTextFormat("x\r" + std::string(600, 'x') + "\n"), ffDos);
    EXPECT_EQ(StripTrailingDot("PAGE."), "PAGE");
    EXPECT_EQ(StripTrailingDot("PAGE.."), "PAGE.");
    EXPECT_EQ(StripTrailingDot("."), ".");
    EXPECT_EQ(StripTrailingDot("PAGE"), "PAGE");
}

TEST_F(TextFileTest, ReadersAndWritersOfTheDocumentedCases)
{
    TTextReadResult R;
    // CR LF file: a, b and the final empty paragraph; saved back byte for byte.
    Put(Path("crlf.htm"), "a\r\nb\r\n");
    EXPECT_EQ(Load(Path("crlf.htm"), &R), (Paras{"a", "b", ""}));
    EXPECT_EQ(R.Format, ffDos);
    EXPECT_EQ(R.Lines, 2u);
    EXPECT_FALSE(R.NoFinalLineEnd);
    Save(Path("crlf.htm"), ffDos, Load(Path("crlf.htm")));
    EXPECT_EQ(Get(Path("crlf.htm")), "a\r\nb\r\n");

    // LF file without a final LF: Unix, and it says so; written as DOS every line gets CR LF.
    Put(Path("lf.htm"), "a\nb");
    EXPECT_EQ(Load(Path("lf.htm"), &R), (Paras{"a", "b", ""}));
    EXPECT_EQ(R.Format, ffUnix);
    EXPECT_TRUE(R.NoFinalLineEnd);
    Save(Path("lf.htm"), ffDos, Load(Path("lf.htm")));
    EXPECT_EQ(Get(Path("lf.htm")), "a\r\nb\r\n");
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
    Save(Path("empty.htm"), ffDos, Paras{""});
    EXPECT_EQ(fs::file_size(Path("empty.htm")), 0u);

    // The Unix reader keeps every CR as a character.
    Put(Path("late.htm"), "a\nx\r\ny\r\n");
    EXPECT_EQ(Load(Path("late.htm"), &R), (Paras{"a", "x\r", "y\r", ""}));
    EXPECT_EQ(R.Format, ffUnix);

    // DOS: CR LF, a lone CR and a lone LF each end a line; a Ctrl+Z inside is a character, the
    // one at the very end the end mark.
    Put(Path("dos.htm"), "a\nb\r\nc\rd\r\n\ne\x1a" "kept\r\n\x1a");
    EXPECT_EQ(Load(Path("dos.htm"), &R, {}, ffDos), (Paras{"a", "b", "c", "d", "", "e\x1a" "kept", ""}));
    EXPECT_TRUE(R.EndMark);
    Put(Path("eof.htm"), "a\r\n\x1a\r\nb\r\n");
    EXPECT_EQ(Load(Path("eof.htm"), &R), (Paras{"a", "\x1a", "b", ""}));
    EXPECT_FALSE(R.EndMark);
    // In a Unix file Ctrl+Z and NUL are characters like any other.
    Put(Path("ctrlz.htm"), Bytes({'a', 26, 0, 'b', '\n', 'c'}));
    EXPECT_EQ(Load(Path("ctrlz.htm")), (Paras{Bytes({'a', 26, 0, 'b'}), "c", ""}));

    // Trailing spaces and tabs are trimmed on loading (both readers), unless switched off.
    Put(Path("blanks.htm"), "a  \r\n \t\r\nb\t \r\n");
    EXPECT_EQ(Load(Path("blanks.htm")), (Paras{"a", "", "b", ""}));
    Put(Path("blanks2.htm"), "a  \n b \n");
    EXPECT_EQ(Load(Path("blanks2.htm")), (Paras{"a", " b", ""}));
    EXPECT_EQ(Load(Path("blanks2.htm"), nullptr, Untrimmed()), (Paras{"a  ", " b ", ""}));

    // Backups: saving INDEX.HTM keeps the old one as INDEX.BAK.
    Put(Path("INDEX.HTM"), "old\r\n");
    Save(Path("INDEX.HTM"), ffDos, Paras{"new", ""}, {true, "BAK", {}});
    EXPECT_EQ(Get(Path("INDEX.HTM")), "new\r\n");
    EXPECT_EQ(Get(Path("INDEX.BAK")), "old\r\n");
}

TEST_F(TextFileTest, FilesComeBackAsTheyWentIn)
{
    // Each file, loaded and saved after an edit of another line, is written back byte for byte.
    const auto EditFirst = [](Paras &P) { P.front() += "!"; };
    const auto Check = [&](const std::string &Name, const std::string &Bytes, TFileFormat Want) {
        Put(Path(Name), Bytes);
        TFileFormat Got = ffNone;
        EXPECT_TRUE(LoadAndSave(Path(Name), {}, &Got) == Bytes) << Name;
        EXPECT_EQ(Got, Want) << Name;
        // The edited first line changes, and nothing else.
        std::string Edited = Bytes;
        const std::size_t Eol = Want == ffDos ? Edited.find_first_of("\r\n") : Edited.find('\n');
        Edited.insert(Eol == std::string::npos ? Edited.size() - (Edited.back() == CtrlZ) : Eol, "!");
        EXPECT_TRUE(LoadAndSave(Path(Name), EditFirst) == Edited) << Name;
    };
    Check("ctrlz.htm", "<p>a\x1a" "b</p>\r\n<p>c</p>\r\n\x1a", ffDos);
    Check("stray.htm", "<html>\r<head>\n<title>t</title>\r\n</head>\n", ffUnix);
    Check("cronly.htm", "one\rtwo\r\rthree\r", ffDos);
    Check("mixed.htm", "a\r\nb\nc\rd\r\ne", ffDos);
    Check("nofinal.htm", "a\nb", ffUnix);
    Check("blanks.htm", "a  \n\t\nb \t\n", ffUnix);

    // UTF-8 with and without the byte-order mark: Greek, Cyrillic, CJK, an emoji, combining marks.
    const std::string Mixed = "<p>\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC "
                              "\xD0\xA0\xD1\x83\xD1\x81 \xE6\xBC\xA2\xE5\xAD\x97 \xF0\x9F\x98\x80 "
                              "e\xCC\x81" "a\xCC\x88\xCC\x81</p>";
    for (const std::string &Bom : {std::string(), std::string(kUtf8Bom)})
        for (const char *Eol : {"\r\n", "\n"}) {
            const std::string Bytes = Bom + "<html>" + Eol + Mixed + Eol + "\xE2\x82\xAC" + Eol;
            Check("utf8.htm", Bytes, std::string(Eol) == "\n" ? ffUnix : ffDos);
            TTextEncoding Got = TTextEncoding::Windows1252;
            LoadAndSave(Path("utf8.htm"), {}, nullptr, &Got);
            EXPECT_EQ(Got, Bom.empty() ? TTextEncoding::Utf8 : TTextEncoding::Utf8Bom);
            TTextReadResult R;
            EXPECT_EQ(Load(Path("utf8.htm"), &R)[0], "<html>") << "the mark is not text";
        }

    // A 200,000-character line with blanks and a 5 MB base64 line without: one paragraph each.
    std::string Long;
    for (int I = 0; Long.size() < 200000; ++I)
        Long += "word" + std::to_string(I) + " ";
    std::string Base64 = "<img src=\"data:image/png;base64,";
    for (std::size_t I = 0; Base64.size() < 5u << 20; ++I)
        Base64 += "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"[(I * 7919) % 64];
    Base64 += "\">";
    Put(Path("long.htm"), "<p>\r\n" + Long + "\r\n" + Base64 + "\r\n");
    TTextReadResult R;
    const Paras P = Load(Path("long.htm"), &R, Untrimmed());
    ASSERT_EQ(P.size(), 4u);
    EXPECT_TRUE(P[1] == Long);
    EXPECT_TRUE(P[2] == Base64);
    EXPECT_TRUE(LoadAndSave(Path("long.htm"), EditFirst) == "<p>!\r\n" + Long + "\r\n" + Base64 + "\r\n");

    // Any bytes at all, a program's for instance: a random binary file of every byte value.
    std::mt19937 Rng(7);
    std::string Binary;
    for (int I = 0; I < 300000; ++I)
        Binary += static_cast<char>(Rng() % 7 == 0 ? "\r\n\x1a\0"[Rng() % 4] : Rng() % 256);
    for (const std::string &Tail : {std::string(), std::string("\x1a"), std::string("\r"), std::string("x\r\n")}) {
        Put(Path("binary"), Binary + Tail);
        EXPECT_TRUE(LoadAndSave(Path("binary")) == Binary + Tail) << Tail.size();
    }
}

TEST_F(TextFileTest, TheEncodingIsDecidedOverTheWholeFileAndCanBeForced)
{
    using E = TTextEncoding;
    // An invalid byte far behind the first chunk makes the file Windows-1252, byte exact.
    std::string Bytes;
    while (Bytes.size() < 700000)
        Bytes += "<td>\xD0\x96\xE6\xBC\xA2</td>\r\n";
    const std::size_t Bad = Bytes.size() - 5;
    Bytes.insert(Bad, "caf\xE9");
    Put(Path("mostly.htm"), Bytes);
    TTextReadResult R;
    Load(Path("mostly.htm"), &R);
    EXPECT_EQ(R.Encoding, E::Windows1252);
    EXPECT_EQ(R.FirstInvalidUtf8, Bad + 3);
    EXPECT_TRUE(LoadAndSave(Path("mostly.htm")) == Bytes);

    // A sequence cut off by the end of the file, pure ASCII with and without a declaration.
    Put(Path("cut.htm"), "ab\xE6\xBC");
    Load(Path("cut.htm"), &R);
    EXPECT_EQ(R.Encoding, E::Windows1252);
    EXPECT_EQ(R.FirstInvalidUtf8, 2u);
    Put(Path("ascii.htm"), "<meta charset=\"UTF-8\">\n<p>plain</p>\n");
    Load(Path("ascii.htm"), &R);
    EXPECT_EQ(R.Encoding, E::Utf8);
    Put(Path("plain.htm"), "<p>plain</p>\n");
    TTextReadOptions O;
    Load(Path("plain.htm"), &R, O);
    EXPECT_EQ(R.Encoding, E::Windows1252);
    O.NewDocuments = E::Utf8;
    Load(Path("plain.htm"), &R, O);
    EXPECT_EQ(R.Encoding, E::Utf8) << "pure ASCII takes the preference";

    // Forced: a file with a mark read as Windows-1252 keeps the mark's bytes as text.
    Put(Path("bom.htm"), std::string(kUtf8Bom) + "x\n");
    O = {};
    O.Encoding = E::Windows1252;
    EXPECT_EQ(Load(Path("bom.htm"), &R, O)[0], std::string(kUtf8Bom) + "x");
    EXPECT_EQ(R.Encoding, E::Windows1252);
    O.Encoding = E::Utf8;
    EXPECT_EQ(Load(Path("bom.htm"), &R, O)[0], "x");
    EXPECT_EQ(R.Encoding, E::Utf8Bom);
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
        const TTextReadOptions Raw = Untrimmed();

        // DOS against the byte-by-byte reference, whole and in random chunks.
        const Paras Ref = ReferenceDos(In);
        ASSERT_EQ(ReadTextParagraphs(In, ffDos, Raw), Ref) << Round;
        ASSERT_EQ(ReadChunked(In, ffDos, Rng, Raw), Ref) << Round;

        // Unix loses nothing but a final Ctrl+Z: the paragraphs joined by LF give the input back.
        TTextReadResult RU;
        const Paras U = ReadChunked(In, ffUnix, Rng, Raw, &RU);
        std::string Joined;
        for (const std::string &S : U)
            Joined += S + "\n";
        if (RU.NoFinalLineEnd)
            Joined.pop_back();
        if (RU.EndMark)
            Joined += CtrlZ;
        ASSERT_EQ(Joined, In) << Round;
        ASSERT_EQ(U, ReadTextParagraphs(In, ffUnix, Raw));

        // Trimming gives the same through chunks as whole.
        TTextReadResult R1, R2;
        ASSERT_EQ(ReadChunked(In, ffDos, Rng, TTextReadOptions(), &R1), ReadTextParagraphs(In, ffDos, TTextReadOptions(), &R2));
        EXPECT_EQ(R1.Lines, R2.Lines);
        EXPECT_EQ(R1.EndMark, R2.EndMark);
        EXPECT_EQ(R1.NoFinalLineEnd, R2.NoFinalLineEnd);
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
    EXPECT_EQ(P.back(), "after");
    EXPECT_EQ(R.Format, ffDos);
}

TEST_F(TextFileTest, RandomizedRoundTripsForBothFormats)
{
    std::mt19937 Rng(99);
    for (TFileFormat Format : {ffDos, ffUnix}) {
        for (int Round = 0; Round < 60; ++Round) {
            // Paragraphs of any bytes but the format's line ends, without
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
                    if (C == '\n')
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
            ReadTextFile(Name, Format, {}, [&Back](std::string_view S, TLineEnd) { Back.emplace_back(S); });
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
        EXPECT_THROW(ReadTextFile(Path("list.htm"), ffNone, {}, [&Got](std::string_view, TLineEnd) { ++Got; }),
                     EFileError);
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
