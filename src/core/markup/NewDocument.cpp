// TNewDocOptions: the skeleton a new document starts with, from the choices of the new-document options.
#include "core/markup/NewDocument.h"

#include "core/markup/TagCase.h"
#include "core/markup/TextTransform.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

std::string EffectiveTitle(std::string_view Title)
{
    return std::string(Title.empty() ? DefaultDocumentTitle : Title);
}

std::vector<std::string> NewDocumentPieces(const TNewDocOptions &Options, std::string_view AuthorName,
                                           std::string_view ShortDate)
{
    std::vector<std::string> Pieces;
    if (Options.HTML)
        Pieces.push_back("<HTML>\n");
    Pieces.push_back(CommentLine("This document was created with Pelmar32"));
    if (Options.Author) {
        Pieces.push_back(CommentLine("Author: " + std::string(AuthorName)));
        Pieces.push_back(CommentLine("Date:   " + std::string(ShortDate)));
    }
    if (!Options.URL.empty())
        Pieces.push_back(CommentLine("URL:    " + Options.URL));
    for (const std::string &Line : Options.Comments)
        if (!Line.empty())
            Pieces.push_back(CommentLine(Line));
    if (Options.HEAD) {
        Pieces.push_back("<HEAD>\n");
        Pieces.push_back("<TITLE>" + EffectiveTitle(Options.Title) + "</TITLE>\n");
        if (!Options.URL.empty())
            Pieces.push_back("<BASE HREF=\"" + Options.URL + "\">\n");
        Pieces.push_back("</HEAD>\n");
    }
    if (Options.BODY) {
        Pieces.push_back("\n<BODY>\n");
        Pieces.push_back("\n");
        Pieces.push_back("</BODY>\n");
    }
    if (Options.HTML)
        Pieces.push_back("</HTML>\n");
    return Pieces;
}

std::string NewDocumentText(const TNewDocOptions &Options, std::string_view AuthorName, std::string_view ShortDate,
                            bool LowerCaseTags)
{
    std::string Text;
    for (const std::string &Piece : NewDocumentPieces(Options, AuthorName, ShortDate))
        Text += ApplyTagCase(Piece, LowerCaseTags);
    return Text;
}

std::string DefaultAuthorName()
{
    for (const char *Name : {"USER", "LOGNAME"})
        if (const char *Value = std::getenv(Name); Value && *Value)
            return Value;
    // Some launchers start programs without either: the account's own entry still names it.
    if (const passwd *Account = ::getpwuid(::getuid()); Account && Account->pw_name)
        return Account->pw_name;
    return {};
}
