// The tag-case rule applied to every piece of inserted markup, and the code page's case mappings.
#include "core/markup/TagCase.h"

namespace {

unsigned char LowerByte(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

unsigned char UpperByte(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

}  // namespace

std::string ApplyTagCase(std::string_view Text, bool LowerCaseTags)
{
    std::string Result(Text);
    if (!LowerCaseTags)
        return Result;
    bool InTag = false;
    bool Lowering = false;
    for (std::size_t i = 0; i < Result.size(); ++i) {
        char &ch = Result[i];
        if (ch == '<') {
            InTag = true;
            Lowering = !(i == 0 && i + 1 < Result.size() && Result[i + 1] == '!');
        } else if (ch == '>') {
            InTag = false;
            Lowering = false;
        } else if (ch == '"' && InTag) {
            // Flips in both directions: a quote inside an opening comment starts lowering too.
            Lowering = !Lowering;
        }
        if (Lowering && ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
    return Result;
}

std::string AsciiUpperCase(std::string_view Text)
{
    std::string Result(Text);
    for (char &c : Result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return Result;
}

std::string AnsiLowerCase(std::string_view Text)
{
    std::string Result(Text);
    for (char &c : Result)
        c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
    return Result;
}

std::string AnsiUpperCase(std::string_view Text)
{
    std::string Result(Text);
    for (char &c : Result)
        c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
    return Result;
}
