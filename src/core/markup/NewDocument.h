// TNewDocOptions: the skeleton a new document starts with, from the choices of the new-document options.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The options dialog's fields; the defaults are its initial state.
struct TNewDocOptions {
    bool HTML = true;
    bool BODY = true;
    bool HEAD = true;
    bool Author = true;
    std::string Title;                  // empty: "Document Title"
    std::string URL;
    std::vector<std::string> Comments;  // the comment memo's lines; empty ones are skipped
};

inline constexpr std::string_view DefaultDocumentTitle = "Document Title";

// The title used (and shown back in the dialog's field): the typed one, or "Document Title".
std::string EffectiveTitle(std::string_view Title);

// The texts inserted one after the other, each by its own InsertMarkup, in order. AuthorName
// and ShortDate are only used with Author on.
std::vector<std::string> NewDocumentPieces(const TNewDocOptions &Options, std::string_view AuthorName,
                                           std::string_view ShortDate);

// The new document's text: the pieces, each through the tag-case rule on its own.
std::string NewDocumentText(const TNewDocOptions &Options, std::string_view AuthorName, std::string_view ShortDate,
                            bool LowerCaseTags);

// The user's login name: from the environment (USER, else LOGNAME), else the account's name in
// the password database; empty only when even that is missing.
std::string DefaultAuthorName();
