// The entity commands on real document windows: both conversions through the menu with their
// questions, reports and counts, and Entity by Character Value with its answers.
#include "support/DocumentFixture.h"

#include "platform/TextCodec.h"

#include <QApplication>

namespace {

class EntityCommandTest : public DocumentTest {
protected:
    TMDIChild *Doc(const std::string &Text)
    {
        TMDIChild *doc = NewDocument();
        Type(doc, Text);
        doc->Editor->SetCaretPosition(1, 1);
        return doc;
    }
    static QString Q(const std::string &Bytes) { return BytesToQString(Bytes); }
    QObject *Last() const { return form->LastMarkupCommand.data(); }
    static constexpr TMsgDlgButtons YesNo = mbYes | mbNo;
    static constexpr TMsgDlgButtons YesNoAll = mbYes | mbNo | mbAll;
    static constexpr TMsgDlgType Confirm = TMsgDlgType::mtConfirmation;
    static constexpr TMsgDlgType Info = TMsgDlgType::mtInformation;
};

} // namespace

TEST_F(EntityCommandTest, EntitiesToCharactersAsksReportsAndCounts)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = Doc("&amp;lt;");
    prompt.ExpectMessage("Confirm each replacement?", mrNo, Confirm, YesNo)
        .ExpectMessage("Entities Converted: 1", mrOk, Info, mbOK);
    Click(doc, "ConvertEntitiestoCharacters1");
    EXPECT_EQ(Text(doc), "&lt;") << "the produced & is not scanned again";
    EXPECT_EQ(Last(), nullptr) << "the conversions do not record themselves";

    // No to the first question still offers the second.
    doc = Doc("&eacute;&Eacute;");
    prompt.ExpectMessage("Confirm each replacement?", mrYes, Confirm, YesNo)
        .ExpectMessage(Q("Replace &&eacute; with \xE9 ?"), mrNo, Confirm, YesNoAll)
        .ExpectMessage(Q("Replace &&Eacute; with \xC9 ?"), mrYes, Confirm, YesNoAll)
        .ExpectMessage("Entities Converted: 1", mrOk, Info);
    Click(doc, "ConvertEntitiestoCharacters1");
    EXPECT_EQ(Text(doc), "&eacute;\xC9");

    // All stops the questions; unknown candidates are reported one by one and kept.
    doc = Doc("&nbsp;&shy;&AMP;&#65;&#x41;&#;&#321;\nAT&T; rules &copy;");
    prompt.ExpectMessage("Confirm each replacement?", mrYes, Confirm, YesNo)
        .ExpectMessage("Replace &&nbsp; with   ?", mrAll, Confirm, YesNoAll)
        .ExpectMessage("Unknown Entity: &&AMP;", mrOk, Info, mbOK)
        .ExpectMessage("Unknown Entity: &&#x41;", mrOk, Info)
        .ExpectMessage("Unknown Entity: &&#;", mrOk, Info)
        .ExpectMessage("Unknown Entity: &&T;", mrOk, Info)
        .ExpectMessage("Entities Converted: 5", mrOk, Info);
    Click(doc, "ConvertEntitiestoCharacters1");
    EXPECT_EQ(Text(doc), " -&AMP;A&#x41;&#;A\nAT&T; rules \xA9");
    EXPECT_TRUE(doc->Editor->Modified());

    doc = Doc("AT&T; rules");
    prompt.ExpectMessage("Confirm each replacement?", mrNo)
        .ExpectMessage("Unknown Entity: &&T;", mrOk)
        .ExpectMessage("No Entities Converted.", mrOk, Info);
    Click(doc, "ConvertEntitiestoCharacters1");
    EXPECT_EQ(Text(doc), "AT&T; rules");
}

TEST_F(EntityCommandTest, CharactersToEntitiesAsksReportsAndCounts)
{
    Start();
    TScriptedPrompt prompt;
    // Without questions: the multiplication sign is reported and kept; 160 and below stay silently.
    TMDIChild *doc = Doc("\xE9 \xA9\n\xB1 \xD7 \xA0<&>");
    prompt.ExpectMessage("Confirm each replacement?", mrNo, Confirm, YesNo)
        .ExpectMessage(Q("No Entity for this Character: \xD7"), mrOk, Info, mbOK)
        .ExpectMessage("Characters Converted: 3", mrOk, Info, mbOK);
    Click(doc, "ConvertCharacterstoEntities1");
    EXPECT_EQ(Text(doc), "&eacute; &copy;\n&#177; \xD7 \xA0<&>");
    EXPECT_EQ(Last(), nullptr);

    // Yes, No, then All: the rest goes without questions, and the scan continues after each entity.
    doc = Doc("\xE9\xE8\xE0\n\xFC\xC6");
    prompt.ExpectMessage("Confirm each replacement?", mrYes)
        .ExpectMessage(Q("Replace \xE9 with &&eacute; ?"), mrYes, Confirm, YesNoAll)
        .ExpectMessage(Q("Replace \xE8 with &&egrave; ?"), mrNo, Confirm, YesNoAll)
        .ExpectMessage(Q("Replace \xE0 with &&agrave; ?"), mrAll, Confirm, YesNoAll)
        .ExpectMessage("Characters Converted: 4", mrOk);
    Click(doc, "ConvertCharacterstoEntities1");
    EXPECT_EQ(Text(doc), "&eacute;\xE8&agrave;\n&uuml;&AElig;");

    doc = Doc("plain <B>text</B> &amp;");
    prompt.ExpectMessage("Confirm each replacement?", mrYes).ExpectMessage("No Characters Converted.", mrOk, Info);
    Click(doc, "ConvertCharacterstoEntities1");
    EXPECT_EQ(Text(doc), "plain <B>text</B> &amp;");

    // A read-only editor keeps its text; nothing counts as converted.
    doc = Doc("\xE9");
    doc->Editor->SetReadOnly(true);
    prompt.ExpectMessage("Confirm each replacement?", mrNo).ExpectMessage("No Characters Converted.", mrOk);
    Click(doc, "ConvertCharacterstoEntities1");
    EXPECT_EQ(Text(doc), "\xE9");
}

TEST_F(EntityCommandTest, EntityByCharacterValueInsertsTheAnswerAsTyped)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = NewDocument();
    QAction *item = doc->Action("EntitybyCharacterValue1");
    prompt.ExpectInput("Enter ASCII value:", "65");
    Click(doc, "EntitybyCharacterValue1");
    EXPECT_EQ(Text(doc), "&#65;");
    EXPECT_EQ(prompt.Records().back().caption, "Entity by Character value");
    EXPECT_EQ(Last(), item);

    prompt.ExpectInput("Enter ASCII value:", "300");
    Click(doc, "EntitybyCharacterValue1");
    EXPECT_EQ(Text(doc), "&#65;&#300;") << "not range-checked";

    form->LastMarkupCommand = nullptr;
    prompt.ExpectInput("Enter ASCII value:", "-1").ExpectMessage("Invalid Value.", mrOk, Info, mbOK);
    Click(doc, "EntitybyCharacterValue1");
    EXPECT_EQ(Last(), item) << "recorded after an invalid value too";
    prompt.ExpectInput("Enter ASCII value:", "abc").ExpectMessage("Invalid Value.", mrOk, Info);
    Click(doc, "EntitybyCharacterValue1");
    form->LastMarkupCommand = nullptr;
    prompt.ExpectInput("Enter ASCII value:", QString());  // Cancel
    Click(doc, "EntitybyCharacterValue1");
    EXPECT_EQ(Last(), item) << "and after Cancel";
    EXPECT_EQ(Text(doc), "&#65;&#300;");

    // Hexadecimal and blanks read as numbers and are inserted exactly as typed.
    prompt.ExpectInput("Enter ASCII value:", " $41");
    Click(doc, "EntitybyCharacterValue1");
    EXPECT_EQ(Text(doc), "&#65;&#300;&# $41;");

    // Repeat asks again.
    prompt.ExpectInput("Enter ASCII value:", "66");
    Click(doc, "RepeatLastMarkup1");
    EXPECT_EQ(Text(doc), "&#65;&#300;&# $41;&#66;");
}

TEST_F(EntityCommandTest, WrappedLinesAreScannedWholeAndToTheEnd)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = NewDocument();
    doc->Editor->SetWordWrap(true);
    doc->Editor->SetWrapColumn(12);
    // A word longer than the wrap column is split on the screen; the entity in it is found.
    Type(doc, "xxxxxxxxx&eacute; tail");
    ASSERT_GT(doc->Editor->LineCount(), 1);
    ASSERT_EQ(doc->Editor->GetLine(1).find("&eacute;"), std::string::npos) << "split by the wrap";
    prompt.ExpectMessage("Confirm each replacement?", mrNo).ExpectMessage("Entities Converted: 1", mrOk);
    Click(doc, "ConvertEntitiestoCharacters1");
    EXPECT_EQ(Text(doc), "xxxxxxxxx\xE9 tail");

    // Growing lines push later ones down the screen; they are converted all the same.
    doc->Editor->ClearText();
    // A late resize of the new window re-derives the wrap column from its width; flush it first.
    QApplication::processEvents();
    doc->Editor->SetWrapColumn(12);
    Type(doc, "\xE9 \xE9 \xE9 \xE9\n\xE9");
    const int before = doc->Editor->LineCount();
    prompt.ExpectMessage("Confirm each replacement?", mrNo).ExpectMessage("Characters Converted: 5", mrOk);
    Click(doc, "ConvertCharacterstoEntities1");
    EXPECT_EQ(Text(doc), "&eacute; &eacute; &eacute; &eacute;\n&eacute;");
    EXPECT_GT(doc->Editor->LineCount(), before);
}
