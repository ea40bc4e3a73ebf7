#pragma once

// A running program for each test: the application started as at launch, on scratch
// settings, with its shell channel on a name of its own.

#include "document.h"
#include "mainframe.h"
#include "tessavoxapp.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
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
        ASSERT_TRUE(app->InitInstance());
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

    // The state the menus and toolbar would show now.
    CmdUI state(int id)
    {
        frame->refreshCommandStates();
        return CmdUI{frame->commandAction(id)->isEnabled(), frame->commandAction(id)->isChecked()};
    }

    int windowCount() const
    {
        int count = 0;
        for (Document *doc : app->documents())
            count += int(doc->frames().size());
        return count;
    }

    static void flushDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static bool waitUntil(const std::function<bool()> &done, int timeoutMs = 15000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    TestFiles files;
    std::unique_ptr<CTessavoxApp> app;
    CMainFrame *frame = nullptr;

private:
    QTemporaryDir m_settings;
};
