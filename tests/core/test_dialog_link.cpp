// The link dialog's address composition and the Browse rules with ForceHTMLExt.
#include "core/markup/DialogLink.h"

#include <gtest/gtest.h>

TEST(LinkAddress, TypeHostFileCombinations)
{
    EXPECT_EQ(ComposeLinkAddress("http://", "www.a.org", "dir/x.html"), "http://www.a.org/dir/x.html");
    EXPECT_EQ(ComposeLinkAddress("ftp://", "", "pub/f.zip"), "ftp://pub/f.zip"); // no slash without host
    EXPECT_EQ(ComposeLinkAddress("", "host", ""), "host/");
    EXPECT_EQ(ComposeLinkAddress("news:", "", "comp.lang"), "news:comp.lang");
    EXPECT_EQ(ComposeLinkAddress("", "", ""), "");
    EXPECT_EQ(ComposeLinkAddress("HTTP://", " Host ", "A B"), "HTTP:// Host /A B"); // nothing trimmed or lowered

    TLinkFields f;
    f.URL = "typed by hand";
    f.URLType = "gopher://";
    f.Host = "h";
    UpdateLinkAddress(f);
    EXPECT_EQ(f.URL, "gopher://h/");
    EXPECT_EQ(LinkStartTag(f.URL), "<A HREF=\"gopher://h/\">");
    EXPECT_EQ(std::string(LinkStartTag("a\"b")) + LinkEndTag, "<A HREF=\"a\"b\"></A>");
}

TEST(LinkAddress, BrowseWithLocalPath)
{
    TLinkFields f;
    f.IncludeLocalPath = true;
    f.URLType = "http://";
    f.Host = "www.x.org";
    ApplyLinkBrowse(f, "C:\\WEB\\Index.htm", true, true);
    EXPECT_EQ(f.URLType, "file://");
    EXPECT_EQ(f.Host, "");
    EXPECT_EQ(f.File, "C|/WEB/index.html") << "directories keep their case";
    EXPECT_EQ(f.URL, "file://C|/WEB/index.html");

    TLinkFields g;
    g.IncludeLocalPath = true;
    ApplyLinkBrowse(g, "/home/Ann/Site/Page.HTM", false, true);
    EXPECT_EQ(g.URL, "file:///home/Ann/Site/page.htm");
    // A name whose lower-case form would name another file keeps its case, and its ".HTM" is
    // no ".htm" to extend.
    ApplyLinkBrowse(g, "/home/Ann/Site/Page.HTM", true, false);
    EXPECT_EQ(g.URL, "file:///home/Ann/Site/Page.HTM");
}

TEST(LinkAddress, BrowseNameOnlyAndForcedExtension)
{
    TLinkFields f;
    f.URLType = "http://";
    f.Host = "www.x.org";
    ApplyLinkBrowse(f, "C:\\WEB\\INDEX.HTM", true, true);
    EXPECT_EQ(f.URLType, "http://"); // type and host stay
    EXPECT_EQ(f.Host, "www.x.org");
    EXPECT_EQ(f.URL, "http://www.x.org/index.html");

    struct Case {
        const char *Chosen;
        bool Force;
        const char *File;
    } cases[] = {
        {"C:\\WEB\\Index.htm", false, "index.htm"},
        {"C:\\WEB\\Index.html", true, "index.html"},
        {"C:\\WEB\\Index.htmx", true, "index.htmx"},
        {"C:\\WEB\\Index.shtm", true, "index.shtm"},
        {"C:\\WEB.HTM\\readme", true, "readme"},
        {"/srv/www/Doc.HTM", true, "doc.html"},
        {"/srv/www.htm/read", true, "read"},
        {"noext", true, "noext"},
        {".htm", true, ".html"},
    };
    for (const auto &c : cases) {
        TLinkFields g;
        ApplyLinkBrowse(g, c.Chosen, c.Force, true);
        EXPECT_EQ(g.File, c.File) << c.Chosen;
        EXPECT_EQ(g.URL, c.File) << c.Chosen;
    }
}
