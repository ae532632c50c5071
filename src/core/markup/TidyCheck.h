// TidyMarkupReport: the markup checker, HTML Tidy's parser run in memory over a document's bytes with
// its diagnostics taken from its report callback (nothing written, no output document made).
#pragma once

#include "core/markup/DocumentCheck.h"

#include <string_view>

// Parses Text (lines separated by LF; a CR inside a line counts as a blank, as the editor shows
// it) in Encoding, for HTML of any age: valid markup of HTML 2 to 5 is not reported, upper-case
// tags included, nor are the editor's own checks' subjects (pictures without ALT, comments left
// open; entities are reported and marked, for merging). Columns count characters, a tab as one.
// Progress hears the share of the text read and may stop the parse: the report is then
// incomplete. Any bytes are accepted, but deeply nested markup can exhaust the stack: run it
// through RunMarkupCheckerIsolated.
TMarkupReport TidyMarkupReport(std::string_view Text, TCheckEncoding Encoding, const TCheckProgress &Progress = {});

// The message of a diagnostic as the list shows it: the first letter in capitals.
std::string MarkupMessageText(std::string_view Message);
