// A shown offscreen editor with a known font and size, and shorthands to drive it and read it.
#pragma once

#include "ui/editor/EditorWidget.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class TEditorFixture : public ::testing::Test {
protected:
    struct TStatus {
        int Line = 0;
        int Col = 0;
    };

    void SetUp() override
    {
        Window = std::make_unique<QWidget>();
        Ed = new TEdCustomEditor(Window.get());
        QFont font("DejaVu Sans Mono");
        font.setPixelSize(12);
        Ed->FixedFont().AssignOrSubstitute(font);
        Ed->setGeometry(0, 0, 400, 300);
        Window->resize(400, 300);
        Ed->OnShowStatus = [this](TEdCustomEditor *, int Line, int Col) {
            Statuses.push_back({Line, Col});
        };
        Window->show();
        QApplication::setActiveWindow(Window.get());
        Ed->setFocus();
        Settle();
    }

    void TearDown() override { Window.reset(); }

    // Lets posted events (status reports, paints) arrive.
    static void Settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // The text with CR LF between paragraphs.
    std::string Text() const { return Ed->ParaList().GetText(); }

    // Replaces the text (as a load would) and puts the caret at the start.
    void Load(const std::string &Text)
    {
        Ed->ClearText();
        ASSERT_EQ(Ed->InsertString(Text), 0);
        Ed->ParaList().SetModified(false);
        Ed->SetCaretPosition(1, 1);
        Settle();
        Statuses.clear();
    }

    std::pair<int, int> Caret() const
    {
        int col = 0;
        const int line = Ed->GetCaretPosition(col);
        return {line, col};
    }

    TStatus LastStatus()
    {
        Settle();
        return Statuses.empty() ? TStatus{} : Statuses.back();
    }

    void Key(Qt::Key K, Qt::KeyboardModifiers Mods = Qt::NoModifier)
    {
        QTest::keyClick(Ed, K, Mods);
        Settle();
    }

    void Type(const char *Keys)
    {
        QTest::keyClicks(Ed, QString::fromLatin1(Keys));
        Settle();
    }

    // Centre of the character cell at screen column Col of visible row Row (both from 1).
    QPoint CellPoint(int Row, int ScreenCol) const
    {
        return {Ed->LeftMargin() + (ScreenCol - 1 - Ed->HScroll()) * Ed->CharWidth() + Ed->CharWidth() / 4,
                (Row - 1) * Ed->LineHeight() + Ed->LineHeight() / 2};
    }

    std::unique_ptr<QWidget> Window;
    TEdCustomEditor *Ed = nullptr;
    std::vector<TStatus> Statuses;
};
