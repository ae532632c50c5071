// Name and path helpers shared by the markup dialogs: extension, file name, lower case, URL form.
#pragma once

#include <string>

// The text from the last "." that stands after the last ":", "\" or "/" to the end; empty if none.
std::string DialogFileExt(const std::string &Name);

// The file name of a local path: the text after the last ":" or "\"; for an absolute path
// ("/..." on this system) the text after the last "/". Relative names with "/" are kept whole.
std::string DialogFileName(const std::string &Path);

// Only the letters A to Z change.
std::string LowerAscii(std::string Text);

// Path with the letters A to Z of its file name (the text after the last ":", "\" or "/")
// lower-cased; the directories before it keep their case, since on this system a directory of
// another case is another directory.
std::string LowerFileNamePart(std::string Path);

// Every ":" becomes "|" and every "\" becomes "/".
std::string LocalPathToURLPath(std::string Path);

// "file:" + Slashes slashes + the URL form of a local path, without doubling the slash that
// starts an absolute path of this system (so "/home/a.gif" gives "file:///home/a.gif" for 3).
std::string LocalFileURL(const std::string &Path, int Slashes);
