// A main window with real document windows for UI tests: settings in a temporary directory,
// helpers to open documents, run their menu items by object name and read their text and caret.
#pragma once

#include "support/Sandbox.h"
#include "core/settings/Profile.h"
#include "core/settings/SetupManager.h"
#include "platform/DialogExec.h"
#include "platform/KeyState.h"
#include "support/ScriptedPrompt.h"
#include "ui/app/MainWindow.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline void PrintTo(const QString &Text, std::ostream *Out)
{
    *Out << '"' << Text.toStdString() << '"';
}

class DocumentTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
    }
    void TearDown() override
    {
        // Closing without questions: the tests that ask have answered already.
        if (form)
            for (QMdiSubWindow *sub : form->MDIClient->subWindowList())
                if (auto *doc = dynamic_cast<TMDIChild *>(sub))
                    doc->Editor->SetModified(false);
        form.reset();
        for (TCommandKind kind : hooked)
            TMDIChild::SetCommandHook(kind, {});
        SandboxTest::TearDown();
    }

    // Writes keys into the settings file before the main window starts.
    void Setting(const std::string &Section, const std::string &Key, const std::string &Value)
    {
        TProfile((tmp.path() + "/config/PELMAR32.INI").toStdString()).WriteString(Section, Key, Value);
    }

    TMainForm &Start()
    {
        form = std::make_unique<TMainForm>();
        form->show();
        QCoreApplication::processEvents();
        return *form;
    }
    // Runs the shut-down; the next start reads the settings afresh.
    void Stop()
    {
        form.reset();
        BackToWorkDir();
    }
    QString Path(const QString &Name) const { return tmp.path() + "/cwd/" + Name; }
    static void Put(const QString &Path, const QByteArray &Bytes)
    {
        QFile f(Path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    }
    static QByteArray Bytes(const QString &Path)
    {
        QFile f(Path);
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        return f.readAll();
    }

    TMDIChild *NewDocument()
    {
        if (!form)
            Start();
        return dynamic_cast<TMDIChild *>(form->OpenDocument("Untitled", true));
    }
    TMDIChild *OpenFile(const QString &Path)
    {
        if (!form)
            Start();
        return dynamic_cast<TMDIChild *>(form->OpenDocument(Path, false));
    }
    // Runs the menu item with that object name as a click would (only when enabled).
    static void Click(TMDIChild *Doc, const char *Name)
    {
        QAction *a = Doc->findChild<QAction *>(Name);
        ASSERT_NE(a, nullptr) << Name;
        a->trigger();
        Settle();
    }
    // Lets the editor's queued status reports arrive.
    static void Settle() { QCoreApplication::processEvents(); }
    // Paragraphs joined by LF (the final empty paragraph gives a trailing LF).
    static std::string Text(TMDIChild *Doc)
    {
        std::string text;
        const int n = Doc->Editor->ParaCount();
        for (int p = 1; p <= n; ++p) {
            int len = 0;
            const char *s = Doc->Editor->GetParaPointer(p, len);
            text.append(s, std::size_t(len));
            if (p < n)
                text += '\n';
        }
        return text;
    }
    static void Type(TMDIChild *Doc, const std::string &Text) { Doc->Editor->InsertString(Text); }
    static std::pair<int, int> Caret(TMDIChild *Doc)
    {
        int col = 0;
        const int line = Doc->Editor->GetCaretPosition(col);
        return {line, col};
    }
    void Hook(TCommandKind Kind, TDocumentCommandHook Fn)
    {
        hooked.push_back(Kind);
        TMDIChild::SetCommandHook(Kind, std::move(Fn));
    }
    void HoldShift(bool On)
    {
        SetKeyStateQuery([On] { return On ? Qt::KeyboardModifiers(Qt::ShiftModifier) : Qt::KeyboardModifiers(); });
    }

    std::vector<TCommandKind> hooked;
    std::unique_ptr<TMainForm> form;
};
