// Search and replace with their options, and the clipboard.
#include "support/EditorFixture.h"
#include "support/ScriptedPrompt.h"

#include "core/editor/Search.h"
#include "platform/TextCodec.h"

#include <QClipboard>

class EditorSearch : public TEditorFixture {};

TEST_F(EditorSearch, FindsForwardBackwardWithCaseWordsAndScope)
{
    Load("the cat <cat> Cat\r\nconcat cat");
    EXPECT_TRUE(Ed->Search("cat", 0));
    EXPECT_EQ(Ed->SelectedText(), "cat");
    EXPECT_EQ(Caret(), std::make_pair(1, 8));  // forward: caret at the match's end
    // Whole words: found between "<" and ">", not after a letter.
    Ed->SetCaretPosition(1, 8);
    EXPECT_TRUE(Ed->Search("cat", soWholeWords));
    EXPECT_EQ(Caret(), std::make_pair(1, 13));
    Ed->SetCaretPosition(2, 1);
    EXPECT_TRUE(Ed->Search("CAT", soWholeWords));
    EXPECT_EQ(Caret(), std::make_pair(2, 11));
    EXPECT_FALSE(Ed->Search("cat", soWholeWords));  // nothing after the caret
    // Match case.
    Ed->SetCaretPosition(1, 1);
    EXPECT_TRUE(Ed->Search("Cat", soMatchCase));
    EXPECT_EQ(Caret(), std::make_pair(1, 18));
    // Backward: the caret goes to the match's start; from the text's start nothing is found.
    EXPECT_TRUE(Ed->Search("cat", soBackward));
    EXPECT_EQ(Caret(), std::make_pair(1, 15));
    EXPECT_EQ(Ed->SelectedText(), "Cat");
    Ed->SetCaretPosition(1, 1);
    EXPECT_FALSE(Ed->Search("cat", soBackward));
    EXPECT_TRUE(Ed->Search("cat", soBackward | soWholeText));
    EXPECT_EQ(Caret(), std::make_pair(2, 8));
    EXPECT_TRUE(Ed->Search("the", soWholeText));
    EXPECT_EQ(Caret(), std::make_pair(1, 4));
    // Selected text only: the scope is the selection.
    Ed->SetSelection(1, 5, 1, 14, false);
    EXPECT_TRUE(Ed->Search("cat", soSelectedOnly | soBackward));
    EXPECT_EQ(Caret(), std::make_pair(1, 10));
    Ed->SetSelection(1, 6, 1, 12, false);
    EXPECT_FALSE(Ed->Search("cat", soSelectedOnly));
    EXPECT_FALSE(Ed->Search("", 0));
    EXPECT_EQ(Ed->Replace("", "x", soReplaceAll), 0);
    EXPECT_EQ(Ed->Replace("dog", "x", soReplaceAll), -1);
}

TEST_F(EditorSearch, ReplaceOneAndReplaceAllCount)
{
    Load("a cat, a cat\r\nno CAT here\r\ncatcat");
    EXPECT_EQ(Ed->Replace("cat", "dog", soReplaceAll | soWholeWords), 3);
    EXPECT_EQ(Text(), "a dog, a dog\r\nno dog here\r\ncatcat");
    EXPECT_FALSE(Ed->HasSelection());
    // One undo brings every replacement back, and one redo makes them again.
    Ed->Undo();
    EXPECT_EQ(Text(), "a cat, a cat\r\nno CAT here\r\ncatcat");
    Ed->Redo();
    EXPECT_EQ(Text(), "a dog, a dog\r\nno dog here\r\ncatcat");
    Ed->Undo();
    // A replacement that contains the text is not replaced again.
    Ed->SetCaretPosition(1, 1);
    EXPECT_EQ(Ed->Replace("cat", "catcat", soReplaceAll | soMatchCase), 4);
    EXPECT_EQ(Text(), "a catcat, a catcat\r\nno CAT here\r\ncatcatcatcat");
    // Replace one: the selected match is replaced and the next one selected.
    Load("x1 x2 x3");
    EXPECT_EQ(Ed->Replace("x", "yy", soReplace), 0);  // nothing selected: only finds
    EXPECT_EQ(Ed->SelectedText(), "x");
    EXPECT_EQ(Ed->Replace("x", "yy", soReplace), 1);
    EXPECT_EQ(Text(), "yy1 x2 x3");
    EXPECT_EQ(Ed->SelectedText(), "x");
    EXPECT_EQ(Caret(), std::make_pair(1, 6));
    // Replace all inside a selection restores the selection over the grown scope.
    Load("aa aa aa aa");
    Ed->SetSelection(1, 4, 1, 9, false);
    EXPECT_EQ(Ed->Replace("aa", "bbb", soReplaceAll | soSelectedOnly), 2);
    EXPECT_EQ(Text(), "aa bbb bbb aa");
    EXPECT_EQ(Ed->SelectedText(), "bbb bbb");
    // Backward replace all.
    Load("ab ab ab");
    Ed->SetCaretPosition(1, 9);
    EXPECT_EQ(Ed->Replace("ab", "b", soReplaceAll | soBackward), 3);
    EXPECT_EQ(Text(), "b b b");
}

TEST_F(EditorSearch, ReplaceAllStopsAtTheParagraphLimit)
{
    Load("ab ab\r\nab");
    Ed->SetParaLengthLimit(7);
    TScriptedPrompt prompt;
    EXPECT_THROW(Ed->Replace("ab", "abcd", soReplaceAll), EEditorError);
    EXPECT_EQ(Text(), "abcd ab\r\nab");  // the first one fitted, the second did not
}

TEST_F(EditorSearch, ClipboardCopiesWithCrLfAndPastesLongTextsExactlyOnce)
{
    Load("one\r\ntwo\r\nthree");
    Ed->SetSelection(1, 2, 3, 3, true);
    Ed->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("ne\r\ntwo\r\nth"));
    Ed->CutToClipboard();
    EXPECT_EQ(Text(), "oree");
    Ed->SetCaretPosition(1, 5);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "oreene\r\ntwo\r\nth");
    EXPECT_EQ(Caret(), std::make_pair(3, 3));
    // High bytes travel through the code page.
    Load("caf\xE9 \x80");
    Ed->SelectAll(true);
    Ed->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("caf\u00e9 \u20ac"));
    // A UTF-8 text gives other programs its characters and takes theirs as its bytes; a
    // Windows-1252 text takes a character it cannot hold as a character reference.
    Ed->ParaList().SetEncoding(TTextEncoding::Utf8);
    Load("\xD0\x96 \xE4\xB8\xAD");
    Ed->SelectAll(true);
    Ed->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("\u0416 \u4e2d"));
    QGuiApplication::clipboard()->setText(QString::fromUtf8("\u00e9\u0416"));
    Ed->PasteFromClipboard();
    EXPECT_EQ(Text(), "\xC3\xA9\xD0\x96");
    Ed->ParaList().SetEncoding(TTextEncoding::Windows1252);
    Load("caf\xE9 \x80");
    Ed->SetCaretPosition(1, 1);
    Ed->PasteFromClipboard();
    EXPECT_EQ(Text(), "\xE9&#1046;caf\xE9 \x80");
    // Read-only: cut copies nothing away and paste inserts nothing.
    Ed->SetReadOnly(true);
    Ed->CutToClipboard();
    Ed->PasteFromClipboard();
    EXPECT_EQ(Text(), "\xE9&#1046;caf\xE9 \x80");
    Ed->SetReadOnly(false);

    // 150,000 characters with CR LF pairs right at the block boundaries.
    std::string big;
    int n = 0;
    while (big.size() < 150000) {
        big += "line" + std::to_string(n++);
        big += big.size() % 7 == 0 ? "\n" : "\r\n";
    }
    big.resize(150000);
    big.replace(61439, 2, "\r\n");
    big.replace(61440 * 2 - 1, 2, "\r\n");
    if (big.back() == '\r')
        big.back() = 'x';
    Ed->ClearText();
    Type("<>");
    Key(Qt::Key_Left);
    QGuiApplication::clipboard()->setText(BytesToQString(big));
    Ed->PasteFromClipboard();
    std::string expected = big;
    for (std::size_t p = expected.find('\n'); p != std::string::npos; p = expected.find('\n', p + 2))
        if (p == 0 || expected[p - 1] != '\r')
            expected.insert(p, 1, '\r');
    EXPECT_EQ(Text(), "<" + expected + ">");
}
