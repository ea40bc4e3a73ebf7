// Documents made by a template: saving under a new name, and closing their windows with the
// save prompt at the right moment.

#include "fakes.h"
#include "framework/doctemplate.h"
#include "framework/documentwindow.h"
#include "framework/filedialogs.h"
#include "framework/messages.h"
#include "framework/stringtable.h"
#include "testfiles.h"

#include <QMdiArea>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

// Runs the deletions that closed windows and documents have scheduled.
void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

class LifecycleTest : public ::testing::Test
{
protected:
    LifecycleTest() { DocTemplate::setMdiArea(&area); }
    ~LifecycleTest() override
    {
        DocTemplate::setMdiArea(nullptr);
        qDeleteAll(area.subWindowList());
        flushDeletes();
    }

    FakeDocument *open(const QString &path = {})
    {
        return static_cast<FakeDocument *>(docTemplate.OpenDocumentFile(path));
    }

    // Another window on `doc`, like Window > New Window (keeps it open) or a chart.
    DocumentWindow *addWindow(Document *doc, bool keepsOpen)
    {
        nextViewKeepsOpen = keepsOpen;
        DocumentWindow *frame = docTemplate.newWindow(doc);
        DocTemplate::showWindow(frame);
        nextViewKeepsOpen = true;
        return frame;
    }

    int openWindows() const
    {
        int count = 0;
        for (QMdiSubWindow *window : area.subWindowList())
            count += qobject_cast<DocumentWindow *>(window)->isClosing() ? 0 : 1;
        return count;
    }

    SettingsSandbox sandbox;
    TestFiles files;
    QMdiArea area;
    bool nextViewKeepsOpen = true;
    DocTemplate docTemplate{IDR_TESSAVOXTYPE, [] { return new FakeDocument; },
                            [] { return new DocumentWindow; },
                            [this] { return new FakeView(nextViewKeepsOpen); }};
};

TEST_F(LifecycleTest, SaveAsAsksWithTheDocumentFilterAndTakesTheNewNameOnlyOnSuccess)
{
    FakeDocument *doc = open();
    doc->setModifiedFlag();
    {
        ScopedFileDialogAnswer cancel{QString()};
        EXPECT_FALSE(doc->saveAs(QString()));
        EXPECT_TRUE(doc->saved.isEmpty());
    }
    const QString target = files.path(QStringLiteral("saved.txt"));
    ScopedFileDialogAnswer answer(target);
    doc->saveSucceeds = false;
    EXPECT_FALSE(doc->saveAs(QString()));
    EXPECT_TRUE(doc->isModified());
    EXPECT_TRUE(doc->pathName().isEmpty());
    EXPECT_EQ(doc->title(), QStringLiteral("Tessavox1"));

    doc->saveSucceeds = true;
    ASSERT_TRUE(doc->save()); // no path yet: File Save asks too
    ASSERT_EQ(answer.requests().size(), 2);
    const FileDialogRequest &request = answer.requests().last();
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.patterns, QStringList({"*.txt"}));
    EXPECT_EQ(QStringList({request.filterName, request.defaultSuffix, request.initialPath}),
              QStringList({"Tessavox Files (*.txt)", "txt", "Tessavox1.txt"}));
    EXPECT_EQ(doc->pathName(), target);
    EXPECT_EQ(doc->title(), QStringLiteral("saved.txt"));
    EXPECT_FALSE(doc->isModified());

    // With a path, File Save writes there without asking.
    doc->setModifiedFlag();
    ASSERT_TRUE(doc->save());
    EXPECT_EQ(answer.requests().size(), 2);
    EXPECT_EQ(doc->saved, QStringList({target, target, target}));
}

TEST_F(LifecycleTest, OnlyTheLastTableWindowAsksAndItTakesTheChartsAlong)
{
    MessageCapture capture(Messages::Answer::Cancel);
    Document *doc = open(files.write("v.txt", "1 2 \"a\"\n"));
    DocumentWindow *table = doc->frames().first();
    DocumentWindow *secondTable = addWindow(doc, true);
    QPointer<DocumentWindow> chart = addWindow(doc, false);
    EXPECT_EQ(table->windowTitle(), QStringLiteral("v.txt:1"));
    EXPECT_EQ(chart->windowTitle(), QStringLiteral("v.txt:3"));
    doc->setModifiedFlag();

    EXPECT_TRUE(secondTable->close());
    EXPECT_TRUE(capture.events().isEmpty());
    // The window number stays while the chart counts; the star marks unsaved changes.
    EXPECT_EQ(table->windowTitle(), QStringLiteral("v.txt:1*"));

    // The chart alone does not keep the document: closing the table asks.
    EXPECT_FALSE(table->close());
    EXPECT_EQ(capture.messages(), QStringList({"Save changes to v.txt?"}));
    EXPECT_EQ(openWindows(), 2);

    capture.setAnswer(Messages::Answer::No);
    EXPECT_TRUE(table->close());
    EXPECT_EQ(openWindows(), 0);
    flushDeletes();
    EXPECT_TRUE(chart.isNull());
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

TEST_F(LifecycleTest, CloseCommandKeepsTheWindowWhenSavingFails)
{
    MessageCapture capture(Messages::Answer::Yes);
    FakeDocument *doc = open(files.write("v.txt", "1 2 \"a\"\n"));
    doc->setModifiedFlag();
    doc->saveSucceeds = false;
    doc->OnFileClose();
    EXPECT_EQ(openWindows(), 1);
    EXPECT_TRUE(doc->isModified());

    doc->saveSucceeds = true;
    doc->OnFileClose();
    EXPECT_EQ(openWindows(), 0);
    EXPECT_EQ(doc->saved.size(), 2);
}

} // namespace
