// Browser preview without a window: preview file names and their directory, the file URL form,
// the browser conversations' texts, the open-command template rule and the preview file writer.
#pragma once

#include "core/editor/TextFileIO.h"

#include <string>
#include <vector>

// "~htm" + Counter as at least four digits + ".htm" ("~htm0001.htm" for 1).
std::string PreviewFileName(int Counter);

// The directory a document's preview goes to, ending in "/": the directory part of Caption
// (the document's full file name), or WorkDir for "Untitled" and for a caption without one.
std::string PreviewDirectory(const std::string &Caption, const std::string &WorkDir);

// The file URL of an absolute file name: "file://" + the name, every byte outside the letters,
// digits and "/-._~!$&'()*+,;=:@" written as "%" and two upper-case hexadecimal digits.
std::string FileUrlForm(const std::string &FullName);

// The texts of the browser conversations.
inline constexpr const char *kPreviewActivateData = "0xFFFFFFFF,0x0";
// IExplore's open command: the plain name in double quotes, then ",,0xFFFFFFFF,0x3".
std::string IExploreOpenURLData(const std::string &FullName);
// Netscape's open request: the file URL followed by ",,0xFFFFFFFF,0x3".
std::string NetscapeOpenURLData(const std::string &FileUrl);

// The open-command rule on a template already split into arguments: the first "%1" (in the
// first argument holding one) is replaced by File; without any "%1" File is appended as an
// argument of its own. Either way File lands inside exactly one argument, whatever it holds.
std::vector<std::string> PreviewArguments(std::vector<std::string> TemplateArgs, const std::string &File);

// Writes paragraphs 1..ParaCount with CR LF line ends to FileName without ever writing through
// whatever is at that name: the bytes go to a new file of the same directory, which is then
// renamed over the name (a symbolic or hard link planted there is replaced, not followed).
// Throws EFileError; on failure nothing is left behind.
void WritePreviewFile(const std::string &FileName, int ParaCount, const TParagraphSource &Source,
                      bool ByteOrderMark = false);
