// The image dialog's IMG tag composition, the GIF size it takes over, and the path helpers.
#include "core/markup/DialogImage.h"
#include "core/markup/DialogPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void WriteGif(const fs::path &P, unsigned W, unsigned H)
{
    const unsigned char b[] = {'G', 'I', 'F', '8', '9', 'a', static_cast<unsigned char>(W & 0xFF),
                               static_cast<unsigned char>(W >> 8), static_cast<unsigned char>(H & 0xFF),
                               static_cast<unsigned char>(H >> 8), 0, 0, 0};
    std::ofstream(P, std::ios::binary).write(reinterpret_cast<const char *>(b), sizeof b);
}

// Runs each test in a fresh current directory, as relative sources resolve against it.
class ImageTag : public ::testing::Test {
protected:
    void SetUp() override
    {
        Old = fs::current_path();
        Dir = fs::temp_directory_path() / ("imgtag_" + std::to_string(::getpid()));
        fs::create_directories(Dir);
        fs::current_path(Dir);
    }
    void TearDown() override
    {
        fs::current_path(Old);
        fs::remove_all(Dir);
    }
    fs::path Old, Dir;
};

} // namespace

TEST(DialogPaths, ExtensionNameAndURLForms)
{
    EXPECT_EQ(DialogFileExt("C:\\PICS\\Logo.GIF"), ".GIF");
    EXPECT_EQ(DialogFileExt("C:\\A.B\\noext"), "");
    EXPECT_EQ(DialogFileExt("a.tar.gz"), ".gz");
    EXPECT_EQ(DialogFileExt("/home/u.d/file"), "");
    EXPECT_EQ(DialogFileExt(""), "");
    EXPECT_EQ(DialogFileName("C:\\PICS\\Logo.GIF"), "Logo.GIF");
    EXPECT_EQ(DialogFileName("C:Logo.GIF"), "Logo.GIF");
    EXPECT_EQ(DialogFileName("images/logo.gif"), "images/logo.gif");
    EXPECT_EQ(DialogFileName("/home/u/pics/Logo.gif"), "Logo.gif");
    EXPECT_EQ(DialogFileName("C:\\dir\\"), "");
    EXPECT_EQ(LowerAscii("AbZ\xC4@[`{"), "abz\xC4@[`{");
    EXPECT_EQ(LowerFileNamePart("/Home/Pics/LOGO.GIF"), "/Home/Pics/logo.gif");
    EXPECT_EQ(LowerFileNamePart("C:\\PICS\\Logo.GIF"), "C:\\PICS\\logo.gif");
    EXPECT_EQ(LowerFileNamePart("C:Logo.GIF"), "C:logo.gif");
    EXPECT_EQ(LowerFileNamePart("LOGO.GIF"), "logo.gif");
    EXPECT_EQ(LocalPathToURLPath("C:\\A\\b:c"), "C|/A/b|c");
    EXPECT_EQ(LocalFileURL("C:\\PICS\\x.gif", 3), "file:///C|/PICS/x.gif");
    EXPECT_EQ(LocalFileURL("/home/x.gif", 3), "file:///home/x.gif");
    EXPECT_EQ(LocalFileURL("/home/x.htm", 2), "file:///home/x.htm");
    EXPECT_EQ(LocalFileURL("C:\\x.htm", 2), "file://C|/x.htm");
}

TEST_F(ImageTag, AttributesInOrderAndOnlyWhenFilled)
{
    TImageFields f;
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"\">");
    f.Alt = "say \"hi\"";
    f.HSpace = "3";
    f.Align = "left";
    f.Border = "0";
    f.VSpace = "2";
    f.Width = "10";
    f.Height = "20";
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"\" ALT=\"say \"hi\"\" ALIGN=\"left\" WIDTH=\"10\" HEIGHT=\"20\" "
                                 "BORDER=\"0\" VSPACE=\"2\" HSPACE=\"3\">");
    f = {};
    f.Src = "Photo.JPG";
    f.Height = "5";
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"photo.jpg\" HEIGHT=\"5\">");
}

TEST_F(ImageTag, SourceForms)
{
    TImageFields f;
    f.Src = "C:\\PICS\\Logo.GIF";
    f.Alt = "Logo";
    f.Align = "left";
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"logo.gif\" ALT=\"Logo\" ALIGN=\"left\">");
    f.IncludeLocalPath = true;
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"file:///C|/PICS/logo.gif\" ALT=\"Logo\" ALIGN=\"left\">")
        << "directories keep their case";
    f.Alt = f.Align = "";
    f.Src = "Images/Sub/X.png";
    f.IncludeLocalPath = false;
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"Images/Sub/x.png\">");
    f.Src = "/srv/Pics/X.png";
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"x.png\">");
    f.IncludeLocalPath = true;
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"file:///srv/Pics/x.png\">");
    // Where the lower-case name would name another file, the name keeps its case.
    f.LowerName = false;
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"file:///srv/Pics/X.png\">");
    f.IncludeLocalPath = false;
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"X.png\">");
    f.LowerName = true;
    // Only A to Z are lowered; other bytes pass unchanged.
    f.Src = "\xC9T\xC9.PNG";
    f.IncludeLocalPath = false;
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"\xC9t\xC9.png\">");
}

TEST_F(ImageTag, GifSizeReplacesTypedSize)
{
    WriteGif(Dir / "LOGO.GIF", 120, 40);
    TImageFields f;
    f.Src = "LOGO.GIF";
    f.Width = "999";
    EXPECT_TRUE(ApplyImageGifSize(f));
    EXPECT_FALSE(ApplyImageGifSize(f)); // already shown: no further change, no endless re-run
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"logo.gif\" WIDTH=\"120\" HEIGHT=\"40\">");
    f.IncludeLocalPath = true;
    f.Src = (Dir / "LOGO.GIF").string();
    f.Width = "1";
    EXPECT_EQ(UpdateImageTag(f), "<IMG SRC=\"" + LowerFileNamePart("file://" + f.Src) + "\" WIDTH=\"120\" HEIGHT=\"40\">");

    // Cases that leave typed sizes alone: zero stored size, no GIF extension, missing file,
    // a file that is not a GIF.
    WriteGif(Dir / "zero.gif", 0, 50);
    WriteGif(Dir / "pic.jpg", 7, 8);
    std::ofstream(Dir / "fake.gif") << "JFIF and more bytes";
    for (const char *name : {"zero.gif", "pic.jpg", "missing.gif", "fake.gif", "pic.jpg.bak"}) {
        TImageFields g;
        g.Src = name;
        g.Width = "11";
        g.Height = "";
        EXPECT_FALSE(ApplyImageGifSize(g)) << name;
        EXPECT_EQ(g.Width, "11") << name;
        EXPECT_EQ(g.Height, "") << name;
    }
}
