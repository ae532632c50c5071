// The link dialog's address composition and its Browse rules.
#include "core/markup/DialogLink.h"

#include "core/markup/DialogPaths.h"

std::string ComposeLinkAddress(const std::string &URLType, const std::string &Host, const std::string &File)
{
    if (!Host.empty())
        return URLType + Host + "/" + File;
    return URLType + File;
}

void UpdateLinkAddress(TLinkFields &Fields)
{
    Fields.URL = ComposeLinkAddress(Fields.URLType, Fields.Host, Fields.File);
}

void ApplyLinkBrowse(TLinkFields &Fields, const std::string &ChosenPath, bool ForceHTMLExt, bool LowerName)
{
    const std::string chosen = LowerName ? LowerFileNamePart(ChosenPath) : ChosenPath;
    if (Fields.IncludeLocalPath) {
        Fields.File = LocalPathToURLPath(chosen);
        Fields.URLType = "file://";
        Fields.Host.clear();
    } else {
        Fields.File = DialogFileName(chosen);
    }
    if (ForceHTMLExt && DialogFileExt(Fields.File) == ".htm")
        Fields.File += 'l';
    UpdateLinkAddress(Fields);
}

std::string LinkStartTag(const std::string &Address)
{
    return "<A HREF=\"" + Address + "\">";
}
