// SandboxTest: the fixture every window test starts from: a temporary directory holding the
// settings directory (config/), the cache directory (cache/) and the working directory (cwd/, or
// the directory itself), with the environment, the current directory, the key-state query and
// the dialog hook put back after.
#pragma once

#include "core/settings/SetupManager.h"
#include "platform/DialogExec.h"
#include "platform/KeyState.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class SandboxTest : public ::testing::Test {
protected:
    // WorkInCwd: the working directory is tmp/cwd rather than tmp itself.
    explicit SandboxTest(bool WorkInCwd = true) : FWorkInCwd(WorkInCwd) {}

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        FStartDir = QDir::currentPath();
        QDir(tmp.path()).mkpath("config");
        QDir(tmp.path()).mkpath("cwd");
        QDir(tmp.path()).mkpath("cache");
        FOldXdg = qgetenv("XDG_CONFIG_HOME");
        FOldCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CONFIG_HOME", (tmp.path() + "/config").toUtf8());
        qputenv("XDG_CACHE_HOME", (tmp.path() + "/cache").toUtf8());
        // Recovery copies and the list of preview files stay inside the sandbox too.
        FOldState = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", (tmp.path() + "/state").toUtf8());
        QDir::setCurrent(WorkDir());
        ResetSettingsFileName();
        SetKeyStateQuery({});
    }
    void TearDown() override
    {
        QDir::setCurrent(FStartDir);
        ResetSettingsFileName();
        SetKeyStateQuery({});
        SetDialogExecHook({});
        qputenv("XDG_CONFIG_HOME", FOldXdg);
        qputenv("XDG_CACHE_HOME", FOldCache);
        qputenv("XDG_STATE_HOME", FOldState);
    }

    QString WorkDir() const { return FWorkInCwd ? tmp.path() + "/cwd" : tmp.path(); }
    // After a main window's shut-down: back in the working directory, the settings file found afresh.
    void BackToWorkDir()
    {
        QDir::setCurrent(WorkDir());
        ResetSettingsFileName();
    }

    QTemporaryDir tmp;

private:
    bool FWorkInCwd;
    QString FStartDir;
    QByteArray FOldXdg, FOldCache, FOldState;
};
