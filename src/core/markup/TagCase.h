// The tag-case rule applied to every piece of inserted markup, and the code page's case mappings.
#pragma once

#include <string>
#include <string_view>

// With LowerCaseTags off the text comes back unchanged. With it on, ASCII capitals inside tags
// are lowered: tag and attribute names and unquoted values, but not double-quoted values nor text
// outside tags. A text that opens with "<!" keeps the case of that first tag. Same length out.
std::string ApplyTagCase(std::string_view Text, bool LowerCaseTags);

// "A".."Z" only.
std::string AsciiUpperCase(std::string_view Text);
// The Windows Latin-1 code page's letters (ASCII, the accented letters, S/Z/OE with caron or
// ligature, Y with diaeresis); other bytes unchanged.
std::string AnsiLowerCase(std::string_view Text);
std::string AnsiUpperCase(std::string_view Text);
