// TTagStripper: saving a copy of a document's file with every tag left out.
#include "core/markup/SaveWithoutTags.h"

#include "core/editor/SafeFile.h"

#include <array>

std::string TTagStripper::Feed(std::string_view Piece)
{
    std::string Result;
    Result.reserve(Piece.size());
    for (char c : Piece) {
        if (c == '<')
            FInTag = true;
        if (!FInTag)
            Result += c;
        if (c == '>')
            FInTag = false;
    }
    return Result;
}

void SaveWithoutHTMLTags(const std::string &InputFile, const std::string &OutputFile)
{
    // The whole input is read before the output is replaced, so choosing the document's own
    // file as the output cannot truncate the input while it is being read.
    TFileReader Reader(InputFile);
    TTagStripper Stripper;
    std::string Stripped;
    std::array<char, 32768> Buffer;
    while (std::size_t Got = Reader.Read(Buffer.data(), Buffer.size()))
        Stripped += Stripper.Feed(std::string_view(Buffer.data(), Got));
    SaveFileSafely(OutputFile, Stripped);
}
