// Test support for the markup dialogs: a scripted modal-dialog hook (each shown dialog is handed
// to the next scripted step, which fills it and presses a button), typing and clicking helpers,
// and a temporary working directory for the history files.
#pragma once

#include "core/settings/SetupManager.h"
#include "platform/DialogExec.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

class TDialogScript {
public:
    // A step gets the dialog, shown, and returns the result the modal loop would have returned.
    using TStep = std::function<int(QDialog &)>;

    TDialogScript()
    {
        SetDialogExecHook([this](QDialog &Dialog) { return Run(Dialog); });
    }
    ~TDialogScript()
    {
        SetDialogExecHook({});
        EXPECT_TRUE(Steps.empty()) << Steps.size() << " scripted dialog(s) never shown";
    }

    // Expect a dialog with this caption next.
    TDialogScript &Expect(const QString &Caption, TStep Step)
    {
        Steps.push_back({Caption, std::move(Step)});
        return *this;
    }

    QStringList Shown;

private:
    int Run(QDialog &Dialog)
    {
        Shown << Dialog.windowTitle();
        if (Steps.empty()) {
            ADD_FAILURE() << "unexpected dialog " << Dialog.windowTitle().toStdString();
            return QDialog::Rejected;
        }
        auto [caption, step] = std::move(Steps.front());
        Steps.pop_front();
        EXPECT_EQ(Dialog.windowTitle(), caption);
        Dialog.setResult(QDialog::Rejected);
        Dialog.show();
        QApplication::processEvents();
        const int result = step(Dialog);
        Dialog.hide();
        return result;
    }

    std::deque<std::pair<QString, TStep>> Steps;
};

// The child with that object name; fails the test when there is none.
template <class T> T *Child(QWidget &Parent, const char *Name)
{
    T *child = Parent.findChild<T *>(QString::fromLatin1(Name));
    if (!child)
        ADD_FAILURE() << "no " << Name << " in " << Parent.objectName().toStdString();
    return child;
}

// Types the text at the end of the edit as key presses.
inline void Type(QLineEdit *Edit, const QString &Text)
{
    Edit->setFocus();
    Edit->end(false);
    QTest::keyClicks(Edit, Text);
}
// Clears the edit and types the text.
inline void Retype(QLineEdit *Edit, const QString &Text)
{
    Edit->selectAll();
    QTest::keyClick(Edit, Qt::Key_Delete);
    QTest::keyClicks(Edit, Text);
}
inline void Retype(QComboBox *Combo, const QString &Text) { Retype(Combo->lineEdit(), Text); }
inline void Click(QAbstractButton *Button)
{
    // A check box or radio button reacts on its indicator and its text, not on the empty rest.
    if (Button->isCheckable() && !Button->inherits("QPushButton"))
        QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(4, Button->height() / 2));
    else
        QTest::mouseClick(Button, Qt::LeftButton);
}
// Presses the button and hands back the dialog's result, as a step returns it.
inline int Press(QDialog &Dialog, QAbstractButton *Button)
{
    Click(Button);
    return Dialog.result();
}

inline QStringList ComboEntries(const QComboBox *Combo)
{
    QStringList entries;
    for (int i = 0; i < Combo->count(); ++i)
        entries << Combo->itemText(i);
    return entries;
}

inline QByteArray ReadBytes(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
inline void WriteBytes(const QString &Path, const QByteArray &Bytes)
{
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Bytes);
}

// A fresh working directory for one test, made current; the old one comes back afterwards.
class TTempWorkDir {
public:
    TTempWorkDir() : Old(QDir::currentPath())
    {
        EXPECT_TRUE(Dir.isValid());
        SetWorkingDirectory(Dir.path().toStdString());
    }
    ~TTempWorkDir()
    {
        SetWorkingDirectory(Old.toStdString());
        ResetSettingsFileName();
    }
    QString Path(const QString &Name) const { return Dir.path() + "/" + Name; }

    QTemporaryDir Dir;
    QString Old;
};
