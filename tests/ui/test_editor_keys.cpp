// The editor driven by key strokes: caret moves, editing commands, sequences and bookmarks.
#include "support/EditorFixture.h"
#include "support/ScriptedPrompt.h"

#include <QAction>

class EditorKeys : public TEditorFixture {};

TEST_F(EditorKeys, TabColumnIsReportedAsScreenColumn)
{
    Ed->SetWantTab(true);
    Type("a");
    Key(Qt::Key_Tab);
    Type("b");
    Key(Qt::Key_Left);
    EXPECT_EQ(Text(), "a\tb");
    EXPECT_EQ(Caret(), std::make_pair(1, 3));
    const auto status = LastStatus();
    EXPECT_EQ(status.Line, 1);
    EXPECT_EQ(status.Col, 9);
}
