// The document window commands that open the markup dialogs (image, link, BODY, rule with
// options, block elements, font and base font, table designer) and their installation.
#pragma once

class TMDIChild;
class TMainHost;
struct TMarkupCommand;

// Each runs its dialog for the document window and inserts what it built; true when the dialog
// closed with OK (the window applies the recording rule of the command).
bool LinkDialogCommand(TMDIChild &Doc);
// Replaces the document's BODY start tag, inserts it, or wraps the selection, as the dialog says.
bool BodyDialogCommand(TMDIChild &Doc);
bool RuleDialogCommand(TMDIChild &Doc);
// The block element dialog with the command's caption and element (paragraph, division, heading).
bool BlockDialogCommand(TMDIChild &Doc, const TMarkupCommand &Command);
// The font dialog for the command's element; BASEFONT's caption and size label come from it.
bool FontDialogCommand(TMDIChild &Doc, const TMarkupCommand &Command);
// Each generated line followed by a line feed, with the busy cursor shown meanwhile.
bool TableDesignerCommand(TMDIChild &Doc);

// Makes these the handlers of their catalogue kinds in every document window, and the image
// dialog the main window's image command.
void InstallMarkupDialogs(TMainHost &Form);
