// The link dialog's address composition and its Browse rules.
#pragma once

#include <string>

// The fields of the link dialog.
struct TLinkFields {
    std::string URL;     // the address returned (URLCombo)
    std::string URLType; // scheme prefix (URLTypesCombo)
    std::string Host;    // HostCombo
    std::string File;    // FileEdit
    bool IncludeLocalPath = false;
};

// The entries of the URL type drop-down.
inline constexpr const char *LinkURLTypes[] = {"http://", "ftp://", "file://", "gopher://", "news:", "telnet://"};

// Type + Host + "/" + File when Host is not empty, else Type + File.
std::string ComposeLinkAddress(const std::string &URLType, const std::string &Host, const std::string &File);

// Sets Fields.URL from the type, host and file.
void UpdateLinkAddress(TLinkFields &Fields);

// Takes a file chosen with Browse (its full local path): with IncludeLocalPath the whole path in
// URL form under the type "file://" with no host, else the file name alone; the file name
// lower-cased when LowerName (directories keep their case); ".htm" becomes ".html" when
// ForceHTMLExt is on; then the address is composed afresh.
void ApplyLinkBrowse(TLinkFields &Fields, const std::string &ChosenPath, bool ForceHTMLExt, bool LowerName);

// The anchor around the selection: "<A HREF=\"address\">" and "</A>".
std::string LinkStartTag(const std::string &Address);
inline constexpr const char *LinkEndTag = "</A>";
