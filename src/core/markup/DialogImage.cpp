// The image dialog's composition of the IMG tag from its fields.
#include "core/markup/DialogImage.h"

#include "core/markup/DialogPaths.h"
#include "core/markup/GifSize.h"

bool ApplyImageGifSize(TImageFields &Fields)
{
    if (LowerAscii(DialogFileExt(Fields.Src)) != ".gif")
        return false;
    const TGifSize size = ReadGifSize(Fields.Src);
    if (size.Width == 0 || size.Height == 0)
        return false;
    const std::string w = std::to_string(size.Width), h = std::to_string(size.Height);
    const bool changed = Fields.Width != w || Fields.Height != h;
    Fields.Width = w;
    Fields.Height = h;
    return changed;
}

std::string ComposeImageTag(const TImageFields &Fields)
{
    std::string name = Fields.IncludeLocalPath ? Fields.Src : DialogFileName(Fields.Src);
    if (Fields.LowerName)
        name = LowerFileNamePart(name);
    const std::string src = Fields.IncludeLocalPath ? LocalFileURL(name, 3) : LocalPathToURLPath(name);
    std::string tag = "<IMG SRC=\"" + src + "\"";
    const std::pair<const char *, const std::string *> attributes[] = {
        {"ALT", &Fields.Alt},       {"ALIGN", &Fields.Align},   {"WIDTH", &Fields.Width},
        {"HEIGHT", &Fields.Height}, {"BORDER", &Fields.Border}, {"VSPACE", &Fields.VSpace},
        {"HSPACE", &Fields.HSpace}};
    for (const auto &[name, value] : attributes)
        if (!value->empty())
            tag += std::string(" ") + name + "=\"" + *value + "\"";
    return tag + ">";
}

std::string UpdateImageTag(TImageFields &Fields)
{
    ApplyImageGifSize(Fields);
    return ComposeImageTag(Fields);
}
