// The editor model's commands that change many places: one undo step, the question before a
// change too large for the undo memory, and typing over a selection in overwrite mode.
#include "core/editor/EditorModel.h"
#include "core/editor/KeyCommands.h"
#include "core/editor/Search.h"
#include "StubView.h"

#include <gtest/gtest.h>

namespace {

std::string Text(const TEdModel &M)
{
    std::string s;
    for (int p = 1; p <= M.List().ParaCount(); ++p)
        s += (p > 1 ? "|" : "") + std::string(M.List().ParaText(p));
    return s;
}

struct TEditor {
    TStubView View;
    TEdModel Model{View};
    explicit TEditor(const std::string &Text)
    {
        View.Model = &Model;
        Model.InsertString(Text);
        Model.SetCaretPosition(1, 1);
    }
};

TEST(EditorModel, ReplaceAllIsOneUndoStep)
{
    TEditor E("<b>x</b> <b>y</b>\r\n<b>z</b>");
    const std::string before = Text(E.Model);
    EXPECT_EQ(E.Model.Replace("<b>", "<strong>", soReplaceAll), 3);
    EXPECT_EQ(Text(E.Model), "<strong>x</b> <strong>y</b>|<strong>z</b>");
    E.Model.Undo();
    EXPECT_EQ(Text(E.Model), before) << "one undo brings every replacement back";
    E.Model.Redo();
    EXPECT_EQ(Text(E.Model), "<strong>x</b> <strong>y</b>|<strong>z</b>");
    EXPECT_TRUE(E.View.Questions.empty());
}

TEST(EditorModel, AChangeTooLargeForTheUndoMemoryIsAskedAboutFirst)
{
    TEditor E(std::string(200, 'a') + "\r\n" + std::string(200, 'a'));
    E.Model.List().SetUndoBufferSize(1000);
    E.Model.InsertString("b");  // one step to lose
    const std::string before = Text(E.Model);

    // No: nothing changes, and the history stays.
    E.View.Answers = {false};
    EXPECT_EQ(E.Model.Replace("a", "cc", soReplaceAll | soWholeText), 0);
    ASSERT_EQ(E.View.Questions, (std::vector<std::string>{kCannotUndoQuestion}));
    EXPECT_EQ(Text(E.Model), before);
    EXPECT_TRUE(E.Model.List().CanUndo());

    // Yes: the change is made, unrecorded, and the older steps are gone with it.
    E.View.Answers = {false, true};
    EXPECT_EQ(E.Model.Replace("a", "cc", soReplaceAll | soWholeText), 400);
    EXPECT_EQ(Text(E.Model), "b" + std::string(400, 'c') + "|" + std::string(400, 'c'));
    EXPECT_FALSE(E.Model.List().CanUndo());
    EXPECT_TRUE(E.Model.List().Modified());
    // Recording goes on afterwards.
    E.Model.ProcessCommand(ccChar, 'z');
    EXPECT_TRUE(E.Model.List().CanUndo());

    // A change that fits asks nothing.
    TEditor F("a a");
    F.Model.Replace("a", "b", soReplaceAll | soWholeText);
    EXPECT_TRUE(F.View.Questions.empty());
}

TEST(EditorModel, TypingOverASelectionInOverwriteModeReplacesJustTheSelection)
{
    TEditor E("abcdef");
    E.Model.ProcessCommand(ccIns, 0);
    ASSERT_FALSE(E.Model.InsertMode());
    E.Model.SelectParaRange({1, 2}, {1, 4});
    E.Model.ProcessCommand(ccChar, 'X');
    EXPECT_EQ(Text(E.Model), "aXdef");
    E.Model.ProcessCommand(ccChar, 'Y');
    EXPECT_EQ(Text(E.Model), "aXYef") << "without a selection the next character overwrites";
}

} // namespace
