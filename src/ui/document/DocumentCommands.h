// TEditorLineDocument: the document window's commands that rewrite existing text: entity conversion, Entity by
// Character Value, Remove HTML Tags, Auto Paragraph Format, Intelligent Tag Insert and the list
// makers; with the line view of an editor and the prompt's boxes that these commands work through.
#pragma once

#include "core/editor/Encoding.h"
#include "core/markup/LineDocument.h"

#include <string>

class TMDIChild;

// The document window's editor seen as its stored lines (paragraphs): the lines of the file,
// whatever word wrap makes of them on the screen, so a wrapped line is scanned whole and
// replacements never change the number of lines. Positions are mapped to the editor's display
// lines for selecting. Insertions go through the window's InsertPlainText and InsertMarkup; a
// read-only editor refuses them (false); other editor errors are raised.
class TEditorLineDocument final : public TLineDocument {
public:
    explicit TEditorLineDocument(TMDIChild &Doc) : FDoc(Doc) {}

    int LineCount() override;
    std::string GetLine(int Line) override;
    std::string GetStringLine(int Line) override;
    bool GetSelection(int &Line1, int &Col1, int &Line2, int &Col2) override;
    void SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd) override;
    void SetCaretPosition(int Line, int Col) override;
    bool InsertPlainText(const std::string &Text) override;
    bool InsertMarkup(const std::string &Text) override;
    bool Utf8() override;

private:
    TMDIChild &FDoc;
};

// The commands' questions as confirmation and information boxes of the application's prompt.
// Their texts may quote the document's characters, in its encoding.
class TPromptQuestions final : public TMarkupQuestions {
public:
    explicit TPromptQuestions(TTextEncoding Encoding = TTextEncoding::Windows1252) : FEncoding(Encoding) {}
    TAnswer Confirm(const std::string &Msg, TQuestionButtons Buttons) override;
    void Inform(const std::string &Msg) override;

private:
    TTextEncoding FEncoding;
};

// ---- The commands, each as its menu item's click runs it on a document window.
void ConvertCharacterstoEntities1Click(TMDIChild &Doc);
void ConvertEntitiestoCharacters1Click(TMDIChild &Doc);
// Asks for a number and inserts "&#" + the answer as typed + ";"; "Invalid Value." otherwise.
void EntitybyCharacterValue1Click(TMDIChild &Doc);
void RemoveHTMLTags1Click(TMDIChild &Doc);
void AutoParagraphFormat1Click(TMDIChild &Doc);
// Shows the dialog; false when it was cancelled.
bool IntelligentTagInsert1Click(TMDIChild &Doc);
// The list makers for "UL", "OL", "MENU" and "DIR".
void ListMakerClick(TMDIChild &Doc, const std::string &Element);
void DefinitionList1Click(TMDIChild &Doc);

// Installs the commands above as the document windows' handlers of their catalogue kinds.
void InstallDocumentCommands();
