// The document window commands that open the markup dialogs.
#include "ui/dialogs/DialogCommands.h"

#include "core/markup/Catalogue.h"
#include "core/markup/DialogLink.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"
#include "ui/dialogs/BodyColorsDialog.h"
#include "ui/dialogs/RuleDialog.h"
#include "ui/dialogs/BlockDialog.h"
#include "ui/dialogs/TableDesigner.h"
#include "ui/dialogs/ImageDialog.h"
#include "ui/dialogs/LinkDialog.h"
#include "ui/dialogs/FontDialog.h"
#include "ui/document/DocumentWindow.h"

namespace {

QString ViewText(std::string_view Text)
{
    return BytesToQString(std::string(Text));
}

// The busy cursor for one scope, put back however the scope ends.
class TBusyCursor {
public:
    explicit TBusyCursor(TMDIChild &Doc) : FDoc(Doc) { FDoc.SetBusyCursor(true); }
    ~TBusyCursor() { FDoc.SetBusyCursor(false); }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;

private:
    TMDIChild &FDoc;
};

} // namespace

bool LinkDialogCommand(TMDIChild &Doc)
{
    const auto address = ExecURLBox(&Doc);
    if (!address)
        return false;
    Doc.InsertTagPair(LinkStartTag(*address), LinkEndTag);
    return true;
}

bool BodyDialogCommand(TMDIChild &Doc)
{
    const auto body = ExecBackgroundBox(&Doc);
    if (!body)
        return false;
    Doc.InsertBodyTag(body->Tag, body->EndTag);
    return true;
}

bool RuleDialogCommand(TMDIChild &Doc)
{
    const auto rule = ExecHRBox(&Doc);
    if (!rule)
        return false;
    Doc.InsertMarkup(*rule);
    return true;
}

bool BlockDialogCommand(TMDIChild &Doc, const TMarkupCommand &Command)
{
    const auto block = ExecPBox(&Doc, ViewText(Command.DialogCaption), std::string(Command.Element));
    if (!block)
        return false;
    if (block->End)
        Doc.InsertTagPair(block->Start, *block->End);
    else
        Doc.InsertMarkup(block->Start);
    return true;
}

bool FontDialogCommand(TMDIChild &Doc, const TMarkupCommand &Command)
{
    const auto font =
        ExecFontDlg(&Doc, std::string(Command.Element), ViewText(Command.DialogCaption), ViewText(Command.Prompt));
    if (!font)
        return false;
    Doc.InsertTagPair(font->first, font->second);
    return true;
}

bool TableDesignerCommand(TMDIChild &Doc)
{
    const auto lines = ExecTableDlg(&Doc);
    if (!lines)
        return false;
    const TBusyCursor busy(Doc);
    for (const std::string &line : *lines)
        Doc.InsertMarkup(line + "\n");
    return true;
}

void InstallMarkupDialogs(TMainHost &Form)
{
    using K = TCommandKind;
    InstallImageCommand(Form);
    TMDIChild::SetCommandHook(K::LinkDialog, [](TMDIChild &Doc, const TMarkupCommand &) { return LinkDialogCommand(Doc); });
    TMDIChild::SetCommandHook(K::BodyDialog, [](TMDIChild &Doc, const TMarkupCommand &) { return BodyDialogCommand(Doc); });
    TMDIChild::SetCommandHook(K::RuleDialog, [](TMDIChild &Doc, const TMarkupCommand &) { return RuleDialogCommand(Doc); });
    TMDIChild::SetCommandHook(K::BlockDialog, &BlockDialogCommand);
    TMDIChild::SetCommandHook(K::FontDialog, &FontDialogCommand);
    TMDIChild::SetCommandHook(K::TableDesigner,
                              [](TMDIChild &Doc, const TMarkupCommand &) { return TableDesignerCommand(Doc); });
}
