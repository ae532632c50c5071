// The editor driven by key strokes: caret moves, editing commands, sequences and bookmarks.
#include "support/EditorFixture.h"
#include "support/ScriptedPrompt.h"

#include <QAction>

#include <random>

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
    // The status report comes after the operation, not during it.
    Statuses.clear();
    QTest::keyClick(Ed, Qt::Key_Right);
    EXPECT_TRUE(Statuses.empty());
    Settle();
    ASSERT_EQ(Statuses.size(), 1u);
    EXPECT_EQ(Statuses.back().Col, 10);
}

TEST_F(EditorKeys, VerticalMovesCarryTheScreenColumnWithoutGoalColumn)
{
    Load(std::string(30, 'x') + "\r\nabcde\r\n" + std::string(30, 'y') + "\r\n\tz");
    Ed->SetCaretPosition(1, 20);
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), std::make_pair(2, 6));
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), std::make_pair(3, 6));
    // Into a tab's cell: the caret lands on the tab; back up keeps screen column 1.
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), std::make_pair(4, 1));
    Ed->SetCaretPosition(4, 2);  // after the tab: screen column 9
    Key(Qt::Key_Up);
    EXPECT_EQ(Caret(), std::make_pair(3, 9));
    Key(Qt::Key_Up, Qt::ShiftModifier);
    int l1, c1, l2, c2;
    ASSERT_TRUE(Ed->GetSelection(l1, c1, l2, c2));
    EXPECT_EQ(std::vector<int>({l1, c1, l2, c2}), std::vector<int>({2, 6, 3, 9}));
    // Left at a paragraph start wraps to the end of the line above; Right at an end goes down.
    Ed->SetCaretPosition(3, 1);
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), std::make_pair(2, 6));
    Key(Qt::Key_Right);
    EXPECT_EQ(Caret(), std::make_pair(3, 1));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(4, 3));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
}

TEST_F(EditorKeys, WordMovesStopAtWordStarts)
{
    Load("<p>foo, bar\r\nnext");
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(1, 2));
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(1, 4));
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(1, 9));
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(1, 12));
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(2, 1));
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(1, 12));
    Key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Caret(), std::make_pair(1, 9));
    EXPECT_EQ(Ed->SelectedText(), "bar");
}

TEST_F(EditorKeys, EnterDropsTrailingBlanksSplitsAndMovesInOverwriteMode)
{
    Load("abc   \r\nxyz");
    Ed->SetCaretPosition(1, 7);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "abc\r\n\r\nxyz");
    EXPECT_EQ(Caret(), std::make_pair(2, 1));
    // At offset 1 the line stays untouched and an empty one appears above it.
    Ed->SetCaretPosition(3, 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "abc\r\n\r\n\r\nxyz");
    EXPECT_EQ(Caret(), std::make_pair(4, 1));
    Ed->SetCaretPosition(4, 2);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "abc\r\n\r\n\r\nx\r\nyz");
    // Overwrite mode: Enter only moves, to the next paragraph or the end of the last one.
    Key(Qt::Key_Insert);
    EXPECT_FALSE(Ed->InsertMode());
    Ed->SetCaretPosition(1, 2);
    Key(Qt::Key_Return);
    EXPECT_EQ(Caret(), std::make_pair(2, 1));
    Ed->SetCaretPosition(5, 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(Caret(), std::make_pair(5, 3));
    EXPECT_EQ(Text(), "abc\r\n\r\n\r\nx\r\nyz");
    // Typing overwrites; past the end it appends.
    Ed->SetCaretPosition(1, 2);
    Type("XYZ");
    EXPECT_EQ(Ed->GetLine(1), "aXYZ");
    // The shared mode goes to the controller when focus leaves.
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(Ed, &out);
    EXPECT_FALSE(Ed->Controller()->InsertMode());
}

TEST_F(EditorKeys, BackspaceAndDeleteJoinParagraphsAndRefuseOverlongJoins)
{
    Load("ab\r\ncd");
    Ed->SetCaretPosition(2, 1);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "abcd");
    EXPECT_EQ(Caret(), std::make_pair(1, 3));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "acd");
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "ad");
    Ed->SetCaretPosition(1, 1);
    Key(Qt::Key_Backspace);  // at (1, 1) nothing happens
    EXPECT_EQ(Text(), "ad");

    // Joins refused by a paragraph limit (here a caller's 32,767; a document's is 64 MiB).
    const std::string longText = std::string(20000, 'a') + "\r\n" + std::string(20000, 'b');
    Ed->SetParaLengthLimit(32767);
    Load(longText);
    TScriptedPrompt prompt;
    prompt.ExpectMessage("Cannot join paragraphs. New paragraph size exceeds maximum paragraph size", mrOk);
    Ed->SetCaretPosition(2, 1);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), longText);
    EXPECT_EQ(Caret(), std::make_pair(2, 1));
    EXPECT_FALSE(Ed->Modified());
    prompt.ExpectMessage("Cannot join paragraphs. New paragraph size exceeds maximum paragraph size", mrOk);
    Ed->SetCaretPosition(1, 20001);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), longText);
    // With OnError assigned the code goes there instead of a message.
    std::vector<int> codes;
    Ed->OnError = [&](TEdCustomEditor *, int Code) { codes.push_back(Code); };
    Key(Qt::Key_Delete);
    EXPECT_EQ(codes, std::vector<int>{266});
    EXPECT_EQ(Text(), longText);
}

TEST_F(EditorKeys, SequencesFireUserCommandsAndTypeNothing)
{
    AddQuickKeySequences(Ed->Controller()->Processor().Table("Default"));
    std::vector<int> commands;
    Ed->OnUserCommand = [&](TEdCustomEditor *, int Command) { commands.push_back(Command); };
    Key(Qt::Key_Q, Qt::ControlModifier);
    Key(Qt::Key_A);
    EXPECT_EQ(commands, std::vector<int>{256});
    EXPECT_EQ(Text(), "");
    Key(Qt::Key_Q, Qt::ControlModifier);
    Key(Qt::Key_Z);
    EXPECT_EQ(commands, std::vector<int>({256, 281}));
    EXPECT_EQ(Text(), "");
    // A second key that matches nothing types normally.
    Key(Qt::Key_Q, Qt::ControlModifier);
    Key(Qt::Key_1);
    EXPECT_EQ(Text(), "1");
    Type("ab");
    EXPECT_EQ(Text(), "1ab");
    EXPECT_EQ(commands.size(), 2u);
}

TEST_F(EditorKeys, BookmarksAreSetWithShiftCtrlDigitAndMenuShortcutsWin)
{
    Load("one\r\ntwo\r\nthree");
    Ed->SetCaretPosition(2, 3);
    Key(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Ed->ParaList().Bookmark(3), (TParaPos{2, 3}));
    Ed->SetCaretPosition(3, 5);
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(2, 3));
    // A bookmark follows its text.
    Ed->SetCaretPosition(1, 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(Ed->ParaList().Bookmark(3), (TParaPos{3, 3}));

    // A window action that owns Ctrl+3 gets the key; the editor does not move.
    auto *action = new QAction("hidden", Window.get());
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_3));
    Window->addAction(action);
    int fired = 0;
    QObject::connect(action, &QAction::triggered, [&] { ++fired; });
    Ed->SetCaretPosition(1, 1);
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
    // Disabled, it no longer owns the key.
    action->setEnabled(false);
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(Caret(), std::make_pair(3, 3));
    // Hidden, it fires no more, and the key still does not reach the editor.
    action->setEnabled(true);
    action->setVisible(false);
    Ed->SetCaretPosition(1, 1);
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
    Ed->SetCaretPosition(3, 3);
    // Shift+Ctrl+digit still reaches the editor.
    Key(Qt::Key_7, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Ed->ParaList().Bookmark(7), (TParaPos{3, 3}));
}

TEST_F(EditorKeys, UndoRedoGroupsAndBeeps)
{
    TScriptedPrompt prompt;
    Type("hello world");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "");
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Text(), "hello world");
    EXPECT_EQ(Caret(), std::make_pair(1, 12));
    // Five backspaces come back in one step, caret before them.
    for (int i = 0; i < 5; ++i)
        Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "hello ");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "hello world");
    EXPECT_EQ(Caret(), std::make_pair(1, 7));
    EXPECT_EQ(prompt.Beeps(), 0);
    Type("!");
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // typing dropped the redo
    EXPECT_EQ(prompt.Beeps(), 1);
    // Read-only: no editing, undo beeps, moves still work.
    Ed->SetReadOnly(true);
    Type("x");
    Key(Qt::Key_Delete);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "hello !world");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(prompt.Beeps(), 2);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Caret(), std::make_pair(1, 7));
    EXPECT_EQ(Text(), "hello !world");
    EXPECT_EQ(Ed->InsertString("zz"), 0);
    EXPECT_EQ(Text(), "hello !world");
    Ed->SetReadOnly(false);
    // Typing over a selection is one step.
    Ed->SetSelection(1, 1, 1, 6, true);
    Type("H");
    EXPECT_EQ(Text(), "H !world");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "hello !world");
    // Undo down to the loaded state clears Modified.
    Ed->SetUndoBufferSize(0);
    Type("q");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(prompt.Beeps(), 3);
}

TEST_F(EditorKeys, TypedCharactersIncludeHighBytesAndIgnoreChords)
{
    QKeyEvent eacute(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)));
    QCoreApplication::sendEvent(Ed, &eacute);
    QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x20AC)));
    QCoreApplication::sendEvent(Ed, &euro);
    QKeyEvent han(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x4E2D)));
    QCoreApplication::sendEvent(Ed, &han);
    Key(Qt::Key_B, Qt::AltModifier);
    Key(Qt::Key_K, Qt::ControlModifier);
    // A character the code page lacks becomes a numeric character reference.
    EXPECT_EQ(Text(), "\xE9\x80&#20013;");
    // Delete and Tab without WantTab type nothing themselves.
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "\xE9\x80&#20013;");
}

// Typing in either encoding: Zhe becomes its UTF-8 bytes or a character reference, a character
// outside the Basic Multilingual Plane arrives whole, input methods commit the same way and show
// what they compose at the caret; the caret steps, deletes and reports its column by character.
TEST_F(EditorKeys, TypedCharactersFollowTheDocumentsEncoding)
{
    const auto typeChars = [this](const QString &text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QCoreApplication::sendEvent(Ed, &key);
        Settle();
    };
    typeChars(QString::fromUtf8("\u0416"));
    EXPECT_EQ(Text(), "&#1046;");
    Ed->ClearText();
    Ed->ParaList().SetEncoding(TTextEncoding::Utf8);
    typeChars(QString::fromUtf8("\u0416\u00e9"));
    typeChars(QString::fromUtf8("\U0001F600"));
    Type("a");
    EXPECT_EQ(Text(), "\xD0\x96\xC3\xA9\xF0\x9F\x98\x80" "a");
    EXPECT_EQ(Caret(), std::make_pair(1, 10));
    EXPECT_EQ(LastStatus().Col, 5);  // four characters before the caret, whatever their bytes
    EXPECT_EQ(Ed->CaretScreenColumn(), 6);  // the emoji takes two cells
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), std::make_pair(1, 5));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "\xD0\x96\xF0\x9F\x98\x80" "a");
    EXPECT_EQ(Caret(), std::make_pair(1, 3));
    // Overwriting replaces the whole emoji with one letter.
    Key(Qt::Key_Insert);
    Type("z");
    EXPECT_EQ(Text(), "\xD0\x96za");
    Key(Qt::Key_Insert);
    // Undo takes back typing and overwriting as before.
    Ed->Undo();
    EXPECT_EQ(Text(), "\xD0\x96\xF0\x9F\x98\x80" "a");

    // An input method: the composed text shows at the caret, the commit string goes in.
    EXPECT_TRUE(Ed->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent preedit(QString::fromUtf8("\u306b"), {});
    QCoreApplication::sendEvent(Ed, &preedit);
    EXPECT_EQ(Text(), "\xD0\x96\xF0\x9F\x98\x80" "a");
    QInputMethodQueryEvent query(Qt::ImCursorRectangle | Qt::ImEnabled);
    QCoreApplication::sendEvent(Ed, &query);
    EXPECT_TRUE(query.value(Qt::ImEnabled).toBool());
    const QRect cursor = query.value(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(cursor.left(), Ed->viewport()->x() + Ed->LeftMargin() + (Ed->CaretScreenColumn() - 1) * Ed->CharWidth());
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\u65e5\u672c"));
    QCoreApplication::sendEvent(Ed, &commit);
    EXPECT_EQ(Text(), "\xD0\x96\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80" "a");
    EXPECT_EQ(Caret(), std::make_pair(1, 9));
    // The same commit string in a Windows-1252 text.
    Ed->ClearText();
    Ed->ParaList().SetEncoding(TTextEncoding::Windows1252);
    QCoreApplication::sendEvent(Ed, &commit);
    EXPECT_EQ(Text(), "&#26085;&#26412;");
}

TEST_F(EditorKeys, LineAndWordDeletionsAndTabs)
{
    Load("alpha beta  gamma\r\nsecond\r\nthird");
    Ed->SetCaretPosition(1, 7);
    Ed->ProcessCommand(ccDelWord, 0);
    EXPECT_EQ(Ed->GetLine(1), "alpha gamma");
    Ed->ProcessCommand(ccDelEol, 0);
    EXPECT_EQ(Ed->GetLine(1), "alpha ");
    Ed->SetCaretPosition(2, 3);
    Ed->ProcessCommand(ccDelLine, 0);
    EXPECT_EQ(Text(), "alpha \r\nthird");
    EXPECT_EQ(Caret(), std::make_pair(2, 1));
    Ed->ProcessCommand(ccDelLine, 0);
    EXPECT_EQ(Text(), "alpha \r\n");
    // Tab over a selection replaces it by a tab.
    Ed->SetWantTab(true);
    Ed->SetSelection(1, 1, 1, 6, true);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Ed->GetLine(1), "\t ");
    EXPECT_EQ(Ed->GetStringLine(1), "         ");
    // Without WantTab the key is left to focus navigation (no other widget takes it here).
    Ed->SetWantTab(false);
    Ed->SetTabType(ttFixed);
    Ed->SetCaretPosition(2, 1);
    Ed->ProcessCommand(ccTab, 0);
    EXPECT_EQ(Ed->GetLine(2), std::string(8, ' '));
}
