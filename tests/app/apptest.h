#pragma once

// A running program for each test: the application started as at launch, on scratch
// settings, with its shell channel on a name of its own.

#include "app/mainframe.h"
#include "app/tessavoxapp.h"
#include "framework/commandrouter.h"
#include "framework/document.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        static int instances = 0;
        app = std::make_unique<CTessavoxApp>();
        app->setShellServerName(QStringLiteral("tessavox-test-%1-%2")
                                    .arg(QCoreApplication::applicationPid())
                                    .arg(++instances));
        ASSERT_TRUE(app->init());
        frame = app->mainFrame();
    }
    void TearDown() override
    {
        app.reset();
        flushDeletes();
    }

    QString formantFile(const QString &name) const
    {
        return files.write(name, "Speaker\n310 2020 2960 \"i\"\n320 2100 2900 \"i\"\n"
                                 "300 1990 3000 \"i\"\n700 1200 2500 \"a\"\n");
    }
    static bool execute(int id) { return CommandRouter::instance().execute(id); }
    // The state the menus and toolbar would show now.
    CommandState state(int id)
    {
        frame->refreshCommandStates();
        return CommandState{frame->commandAction(id)->isEnabled(),
                            frame->commandAction(id)->isChecked()};
    }
    static void flushDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    TestFiles files;
    std::unique_ptr<CTessavoxApp> app;
    CMainFrame *frame = nullptr;

private:
    QTemporaryDir m_settings;
};
