// CUSTOM.HTB reading and writing, the bar's numbering and the custom button click rule.
#include "core/custom/CustomButtons.h"
#include "core/custom/CustomFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TCustButton Button(std::string Caption, std::string Opening = {}, std::string Closing = {})
{
    TCustButton b;
    b.Caption = std::move(Caption);
    b.OpeningTag = std::move(Opening);
    b.ClosingTag = std::move(Closing);
    return b;
}

// One record built by hand, byte by byte.
std::string Record(const std::string &Caption, const std::string &Opening, const std::string &Closing)
{
    std::string r(1, static_cast<char>(Caption.size()));
    r += Caption;
    r += std::string(255 - Caption.size(), ' ');
    auto len = [&](uint32_t n) {
        for (int i = 0; i < 4; ++i)
            r += static_cast<char>(n >> (8 * i));
    };
    len(static_cast<uint32_t>(Opening.size()));
    r += Opening;
    len(static_cast<uint32_t>(Closing.size()));
    r += Closing;
    return r;
}

std::string Slurp(const fs::path &P)
{
    std::ifstream in(P, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(CustomButtonFile, LayoutAndByteExactRoundTrip)
{
    std::vector<TCustButton> buttons = {Button("Bold", "<B>", "</B>"), Button("Sig", "-- \r\nAnn\r\n"),
                                        Button("Close only", "", "</X>"), Button("")};
    const std::string bytes = FormatCustomButtons(buttons);
    EXPECT_EQ(bytes, Record("Bold", "<B>", "</B>") + Record("Sig", "-- \r\nAnn\r\n", "") +
                         Record("Close only", "", "</X>") + Record("", "", ""));
    EXPECT_EQ(bytes.size(), 4u * 264 + 3 + 4 + 10 + 4);

    std::vector<TCustButton> back = ParseCustomButtons(bytes);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[1].OpeningTag, "-- \r\nAnn\r\n");
    EXPECT_EQ(back[1].OpeningTagLength(), 10);
    EXPECT_EQ(back[1].ClosingTagLength(), 0);
    EXPECT_EQ(back[2].ClosingTag, "</X>");
    EXPECT_EQ(FormatCustomButtons(back), bytes);

    // The padding is ignored on reading; length bytes beyond the block count only what is there.
    std::string odd = bytes;
    odd[10] = 'x';
    EXPECT_EQ(ParseCustomButtons(odd)[0].Caption, "Bold");
    // Byte values above 127 and NULs inside texts survive.
    std::vector<TCustButton> binary = {Button(std::string("\xE9\0t", 3), std::string("a\0b", 3), "\xFF")};
    EXPECT_EQ(FormatCustomButtons(ParseCustomButtons(FormatCustomButtons(binary))), FormatCustomButtons(binary));
    EXPECT_EQ(ParseCustomButtons(FormatCustomButtons(binary))[0].OpeningTag, std::string("a\0b", 3));
}

TEST(CustomButtonFile, CaptionLimits)
{
    const std::string c255(255, 'c'), c256(256, 'd');
    const std::string full = FormatCustomButtons({Button(c255)});
    EXPECT_EQ(full.size(), 264u);
    EXPECT_EQ(static_cast<unsigned char>(full[0]), 255);
    EXPECT_EQ(full.substr(1, 255), c255); // no padding left
    const std::string cut = FormatCustomButtons({Button(c256)});
    EXPECT_EQ(cut.size(), 264u);
    EXPECT_EQ(ParseCustomButtons(cut)[0].Caption, std::string(255, 'd'));
}

TEST(CustomButtonFile, AtMostFiftyRecords)
{
    std::vector<TCustButton> many;
    for (int i = 1; i <= 51; ++i)
        many.push_back(Button("B" + std::to_string(i), "<" + std::to_string(i) + ">"));
    std::vector<TCustButton> back = ParseCustomButtons(FormatCustomButtons(many));
    ASSERT_EQ(back.size(), 50u);
    EXPECT_EQ(back.back().Caption, "B50");
    EXPECT_EQ(back.back().OpeningTag, "<50>");
}

TEST(CustomButtonFile, RecordsCutShort)
{
    const std::string whole = Record("First", "<A>", "</A>") + Record("Second", "<OPEN>", "</CLOSE>");
    const std::size_t second = 264 + 3 + 4;
    struct Cut {
        std::size_t Length;
        std::size_t Count;
        const char *Caption, *Opening, *Closing;
    } cuts[] = {
        {second, 1, "First", "<A>", "</A>"},
        {second + 1, 2, "", "", ""},          // only the length byte
        {second + 4, 2, "Sec", "", ""},       // caption itself cut
        {second + 200, 2, "Second", "", ""},  // inside the padding
        {second + 258, 2, "Second", "", ""},  // opening length cut short
        {second + 262, 2, "Second", "<O", ""}, // opening text cut short
        {second + 266, 2, "Second", "<OPEN>", ""},
        {second + 270, 2, "Second", "<OPEN>", ""},
        {second + 275, 2, "Second", "<OPEN>", "</CLO"},
    };
    for (const auto &c : cuts) {
        std::vector<TCustButton> b = ParseCustomButtons(whole.substr(0, c.Length));
        ASSERT_EQ(b.size(), c.Count) << c.Length;
        EXPECT_EQ(b.back().Caption, c.Caption) << c.Length;
        EXPECT_EQ(b.back().OpeningTag, c.Opening) << c.Length;
        EXPECT_EQ(b.back().ClosingTag, c.Closing) << c.Length;
    }
    EXPECT_TRUE(ParseCustomButtons("").empty());
}

TEST(CustomButtonFile, DamagedLengthsAndGarbage)
{
    // A negative opening length counts as no text and the closing length follows at once.
    std::string neg = Record("N", "", "</Z>");
    neg[256] = neg[257] = neg[258] = neg[259] = '\xFF';
    std::vector<TCustButton> b = ParseCustomButtons(neg);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].OpeningTag, "");
    EXPECT_EQ(b[0].ClosingTag, "</Z>");

    // A huge length takes what is left of the data.
    std::string huge = Record("H", "abc", "");
    huge[256] = '\xFF', huge[257] = '\xFF', huge[258] = '\xFF', huge[259] = '\x7F';
    b = ParseCustomButtons(huge);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].OpeningTag, std::string("abc\0\0\0\0", 7));

    std::mt19937 rng(42);
    for (int i = 0; i < 300; ++i) {
        std::string junk(rng() % 3000, '\0');
        for (auto &c : junk)
            c = static_cast<char>(rng());
        std::vector<TCustButton> g = ParseCustomButtons(junk);
        EXPECT_LE(g.size(), 50u);
        std::size_t total = 0;
        for (const auto &x : g) {
            EXPECT_LE(x.Caption.size(), 255u);
            total += x.OpeningTag.size() + x.ClosingTag.size();
        }
        EXPECT_LE(total, junk.size());
        EXPECT_EQ(g.empty(), junk.empty());
    }
}

TEST(CustomButtonFile, FilesAndTheBar)
{
    const fs::path dir = fs::temp_directory_path() / ("custbtn_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string name = (dir / CustomButtonsFileName).string();

    TCustomButtonSet bar;
    EXPECT_EQ(bar.Load(name), 0); // missing file: no buttons, no error
    EXPECT_EQ(bar.Counter(), 0);

    std::ofstream(name, std::ios::binary) << Record("One", "<1>", "") << Record("Two", "", "") << Record("Three", "a", "b");
    const std::string original = Slurp(name);
    EXPECT_EQ(bar.Load(name), 3);
    ASSERT_EQ(bar.Buttons().size(), 3u);
    EXPECT_EQ(bar.Buttons()[2].Name(), "CustomButton3");
    bar.Save(name);
    EXPECT_EQ(Slurp(name), original);

    EXPECT_EQ(bar.NewButton("").Caption, "Button 4");
    EXPECT_EQ(bar.NewButton("Mine").Name(), "CustomButton5");
    EXPECT_TRUE(bar.RemoveAt(1));
    EXPECT_FALSE(bar.RemoveAt(4));
    EXPECT_EQ(bar.NewButton("").Caption, "Button 6"); // numbers are not reused
    EXPECT_EQ(bar.FindByName("CustomButton2"), nullptr);
    ASSERT_NE(bar.FindByName("CustomButton3"), nullptr);
    EXPECT_EQ(bar.FindByName("CustomButton3")->Caption, "Three");
    EXPECT_EQ(bar.IndexOfTag(5), 3);
    EXPECT_EQ(bar.IndexOfTag(2), -1);
    EXPECT_EQ(TCustomButtonSet::ButtonTop(2), 46);

    // After a restart the remaining buttons are numbered afresh in file order.
    bar.Save(name);
    TCustomButtonSet next;
    EXPECT_EQ(next.Load(name), 5);
    EXPECT_EQ(next.FindByName("CustomButton2")->Caption, "Three");

    // Removing everything saves an empty file.
    while (next.RemoveAt(0)) {
    }
    next.Save(name);
    EXPECT_EQ(fs::file_size(name), 0u);

    // A file that cannot be written is reported and the old one kept.
    fs::create_directories(dir / "sub" / CustomButtonsFileName);
    try {
        SaveCustomButtonsFile((dir / "sub" / CustomButtonsFileName).string(), {Button("x")});
        FAIL();
    } catch (const ECustomFileError &e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + (dir / "sub" / CustomButtonsFileName).string());
    }
    EXPECT_TRUE(LoadCustomButtonsFile((dir / "sub" / CustomButtonsFileName).string()).empty());
    fs::remove_all(dir);
}

TEST(CustomButtonClick, DecisionAndDialogRules)
{
    TCustomClickAction a = CustomButtonClickAction(Button("b", "<B>", "</B>"));
    EXPECT_EQ(a.Kind, TCustomClickKind::TagPair);
    EXPECT_EQ(a.Start, "<B>");
    EXPECT_EQ(a.End, "</B>");
    a = CustomButtonClickAction(Button("s", "line1\r\nline2"));
    EXPECT_EQ(a.Kind, TCustomClickKind::Markup);
    EXPECT_EQ(a.Start, "line1\r\nline2");
    EXPECT_EQ(CustomButtonClickAction(Button("c", "", "</X>")).Kind, TCustomClickKind::Nothing);
    EXPECT_EQ(CustomButtonClickAction(Button("n")).Kind, TCustomClickKind::Nothing);
    a = CustomButtonClickAction(Button("z", std::string("ab\0cd", 5), std::string("\0", 1)));
    EXPECT_EQ(a.Kind, TCustomClickKind::TagPair);
    EXPECT_EQ(a.Start, "ab");
    EXPECT_EQ(a.End, "");

    EXPECT_TRUE(IsListedCustomButton(Button("x")));
    EXPECT_FALSE(IsListedCustomButton(Button("-")));
    EXPECT_FALSE(IsListedCustomButton(Button("")));
    TCustButton b = Button("Old", "<o>", "</o>");
    EXPECT_EQ(CustomButtonEditorCaption(b), "Edit Custom Button: Old");
    ApplyCustomButtonEdit(b, "New", "", "</c>");
    EXPECT_EQ(b.Caption, "New");
    EXPECT_EQ(b.OpeningTagLength(), 0);
    EXPECT_EQ(b.ClosingTag, "</c>");

    EXPECT_EQ(SelectionAfterRemove(0, 0), -1);
    EXPECT_EQ(SelectionAfterRemove(1, 3), 1);
    EXPECT_EQ(SelectionAfterRemove(3, 3), 2);
}

TEST(CustomButtonFile, SystemFileRoundTripsByteForByte)
{
    // A file as the system writes it: multi-line CR LF texts, a full caption, a cut one, an empty one.
    const std::vector<TCustButton> written = {
        Button("Table", "<TABLE>\r\n<TR>\r\n<TD>", "</TD>\r\n</TR>\r\n</TABLE>\r\n"),
        Button(std::string(255, 'F'), "<P>"), Button(std::string(256, 'C'), "", "\r\n"), Button("", "", ""),
        Button("Sig", "-- \r\n\r\nA. Writer\r\n")};
    const std::string file = FormatCustomButtons(written);
    EXPECT_EQ(file.size(), 5u * 264 + 19 + 24 + 3 + 2 + 18);
    EXPECT_EQ(file.substr(264 + 19 + 24, 256), std::string(1, '\xFF') + std::string(255, 'F'));

    const std::vector<TCustButton> loaded = ParseCustomButtons(file);
    ASSERT_EQ(loaded.size(), 5u);
    EXPECT_EQ(loaded[0].OpeningTag, "<TABLE>\r\n<TR>\r\n<TD>");
    EXPECT_EQ(loaded[0].ClosingTag, "</TD>\r\n</TR>\r\n</TABLE>\r\n");
    EXPECT_EQ(loaded[2].Caption, std::string(255, 'C'));
    EXPECT_EQ(FormatCustomButtons(loaded), file);
    // Loading the reloaded file again changes nothing either.
    EXPECT_EQ(FormatCustomButtons(ParseCustomButtons(FormatCustomButtons(loaded))), file);
}

TEST(CustomButtonFile, EveryTruncationPointLoadsWhatIsThere)
{
    const std::vector<TCustButton> written = {Button("One", "<A HREF=\"x\">\r\n", "</A>"), Button("Two", "", "</B>"),
                                              Button("Three", "abc")};
    const std::string file = FormatCustomButtons(written);
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        const std::string part = file.substr(0, cut);
        const std::vector<TCustButton> got = ParseCustomButtons(part);
        // A record with at least one byte present yields a button.
        std::size_t starts = 0, offset = 0;
        for (const auto &b : written) {
            if (cut > offset)
                ++starts;
            offset += 264 + b.OpeningTag.size() + b.ClosingTag.size();
        }
        ASSERT_EQ(got.size(), starts) << cut;
        std::size_t total = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            // What was read is always the start of what was written.
            EXPECT_EQ(written[i].Caption.compare(0, got[i].Caption.size(), got[i].Caption), 0) << cut;
            EXPECT_EQ(written[i].OpeningTag.compare(0, got[i].OpeningTag.size(), got[i].OpeningTag), 0) << cut;
            EXPECT_EQ(written[i].ClosingTag.compare(0, got[i].ClosingTag.size(), got[i].ClosingTag), 0) << cut;
            total += got[i].OpeningTag.size() + got[i].ClosingTag.size();
        }
        EXPECT_LE(total, part.size());
    }
}

TEST(CustomButtonFile, CorruptedLengthFieldsStayWithinTheData)
{
    const std::vector<TCustButton> written = {Button("One", "<I>", "</I>"), Button("Two", "x\r\ny", ""),
                                              Button("Three", "", "</U>")};
    const std::string file = FormatCustomButtons(written);
    // Offsets of every length field of the file.
    std::vector<std::size_t> fields;
    std::size_t offset = 0;
    for (const auto &b : written) {
        fields.push_back(offset + 256);
        fields.push_back(offset + 260 + b.OpeningTag.size());
        offset += 264 + b.OpeningTag.size() + b.ClosingTag.size();
    }
    std::vector<uint32_t> values = {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFEu, 1, 2, 5, 263, 264, 265,
                                    static_cast<uint32_t>(file.size()), static_cast<uint32_t>(file.size() + 1),
                                    0x10000u, 0x00FFFFFFu};
    std::mt19937 rng(7);
    for (int i = 0; i < 40; ++i)
        values.push_back(static_cast<uint32_t>(rng()));
    int runs = 0;
    for (std::size_t field : fields)
        for (uint32_t v : values)
            for (std::size_t cut : {file.size(), field + 4, file.size() - 1}) {
                std::string bad = file;
                for (int k = 0; k < 4; ++k)
                    bad[field + k] = static_cast<char>(v >> (8 * k));
                bad.resize(cut);
                const std::vector<TCustButton> got = ParseCustomButtons(bad);
                ++runs;
                ASSERT_FALSE(got.empty());
                ASSERT_LE(got.size(), (bad.size() + 263) / 264); // every record but the last takes 264 bytes
                EXPECT_EQ(got[0].Caption, "One");
                std::size_t total = 0;
                for (const auto &b : got)
                    total += b.Caption.size() + b.OpeningTag.size() + b.ClosingTag.size();
                EXPECT_LE(total, bad.size());
                // A negative length counts as no text.
                if (static_cast<int32_t>(v) < 0 && field == fields[0])
                    EXPECT_EQ(got[0].OpeningTag, "");
            }
    EXPECT_EQ(runs, static_cast<int>(fields.size() * values.size() * 3));

    // A file of nothing but length fields claiming 2 GB each, and a pipe of that name, load quickly.
    const fs::path dir = fs::temp_directory_path() / ("custbad_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string name = (dir / CustomButtonsFileName).string();
    std::string huge(256, 'x');
    huge[0] = 3;
    huge += std::string("\xFF\xFF\xFF\x7F", 4) + "tail";
    std::ofstream(name, std::ios::binary) << huge;
    const std::vector<TCustButton> got = LoadCustomButtonsFile(name);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].Caption, "xxx");
    EXPECT_EQ(got[0].OpeningTag, "tail");
    fs::remove(name);
    ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
    EXPECT_TRUE(LoadCustomButtonsFile(name).empty());
    fs::remove_all(dir);
}
