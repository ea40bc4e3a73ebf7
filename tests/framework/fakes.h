#pragma once

// Small documents and views for driving the framework without the program's own classes.

#include "framework/commandtarget.h"
#include "framework/document.h"
#include "framework/printinfo.h"
#include "framework/view.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

class FakeDocument : public Document
{
public:
    bool OnOpenDocument(const QString &path) override { return QFileInfo(path).isFile(); }
    bool OnSaveDocument(const QString &path) override
    {
        saved.append(path);
        return saveSucceeds;
    }

    bool saveSucceeds = true;
    QStringList saved;
};

// Keeps its document open or not, as a table or a chart window does; prints `pages` pages.
class FakeView : public View
{
public:
    explicit FakeView(bool keepsOpen = true) : m_keepsOpen(keepsOpen) {}
    bool keepsDocumentOpen() const override { return m_keepsOpen; }
    bool OnPreparePrinting(PrintInfo &info) override
    {
        info.maxPage = pages;
        return true;
    }
    void OnPrint(QPainter &, PrintInfo &info) override
    {
        printedPages.append(info.currentPage);
        lastDrawRect = info.m_rectDraw;
        lastWasPreview = info.preview;
    }

    int pages = 1;
    QList<int> printedPages;
    QRect lastDrawRect;
    bool lastWasPreview = false;

private:
    bool m_keepsOpen;
};

// Points the program's settings at a scratch folder for the test's lifetime.
class SettingsSandbox
{
public:
    SettingsSandbox()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("Tessavox Tests"));
        QSettings().clear();
    }

private:
    QTemporaryDir m_dir;
};
