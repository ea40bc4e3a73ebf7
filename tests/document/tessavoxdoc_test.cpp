// Opening a Formant file as a document: defaults, what the user is told, what is kept.

#include "tessavoxdoc.h"

#include "messages.h"
#include "testfiles.h"

#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QString kZeroLength = QStringLiteral("The file has zero length.\nIt cannot be read");
const QString kTooLong =
    QStringLiteral("File is too long.\nThis version can read only maximum of 1000 lines in.\n"
                   "Please edit the file to shorten it and try again.");

TEST(TessavoxDoc, StartsWithItsDefaults)
{
    CTessavoxDoc doc;
    EXPECT_EQ(doc.m_records.size(), 10000u);
    EXPECT_EQ(doc.m_nTokenCount, 0);
    EXPECT_FALSE(doc.m_bDataLoaded);
    EXPECT_EQ(doc.m_nOrderLabel.front(), -1);
    EXPECT_EQ(doc.m_nOrderLabel.back(), -1);
    EXPECT_TRUE(doc.m_strOrderLabel[999].isEmpty());
    EXPECT_TRUE(doc.m_bAlwaysClear);
    EXPECT_EQ(doc.m_nF1Max, 1500);
    EXPECT_EQ(doc.m_nF1Min, 200);
    EXPECT_EQ(doc.m_nF2Max, 3500);
    EXPECT_EQ(doc.m_nF2Min, 500);
    EXPECT_EQ(doc.m_nF3Max, 3000);
    EXPECT_EQ(doc.m_nF3Min, 2000);
    EXPECT_EQ(doc.m_nLineWeight, 0);
    EXPECT_FALSE(doc.m_bLinear);
    EXPECT_TRUE(doc.m_bBark);
    EXPECT_TRUE(doc.m_bDrawEllipse);
    EXPECT_FALSE(doc.isModified());
}

TEST(TessavoxDocOpen, ReadsTokensAndKeepsF4F5)
{
    TestFiles files;
    MessageCapture capture;
    CTessavoxDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(files.write("five.txt", "Speaker 1\r\n"
                                                           "310 2020 2960 3500 4200 \"i\"\r\n"
                                                           "710 1100 2540 3400 4100 \"a\"\r\n")));
    EXPECT_TRUE(capture.events().isEmpty());
    EXPECT_EQ(doc.m_nTokenCount, 2);
    EXPECT_TRUE(doc.m_bDataLoaded);
    EXPECT_EQ(doc.m_records[1].formants[4], 4100);
    EXPECT_EQ(doc.m_records[1].label[0], 'a');
    EXPECT_FALSE(doc.isModified());
}

TEST(TessavoxDocOpen, FileWithoutTokenLinesIsLoadedAndEmpty)
{
    TestFiles files;
    MessageCapture capture;
    CTessavoxDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(files.write("heading.txt", "F1 F2 F3 vowel\n12 \"a\"\n")));
    EXPECT_EQ(doc.m_nTokenCount, 0);
    EXPECT_TRUE(doc.m_bDataLoaded);
    EXPECT_TRUE(capture.events().isEmpty());
}

TEST(TessavoxDocOpen, ZeroLengthBeepsThenSaysSo)
{
    TestFiles files;
    MessageCapture capture;
    CTessavoxDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(files.write("empty.txt", {})));
    EXPECT_EQ(capture.events(), QStringList({MessageCapture::beepEvent, kZeroLength}));
    EXPECT_FALSE(doc.m_bDataLoaded);
}

TEST(TessavoxDocOpen, TooManyTokenLinesBeepsAndLeavesNothing)
{
    QByteArray text;
    for (int i = 0; i < 9999; ++i)
        text += "500 1500 2500 \"a\"\n";
    TestFiles files;
    MessageCapture capture;
    CTessavoxDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(files.write("long.txt", text)));
    EXPECT_EQ(capture.events(), QStringList({MessageCapture::beepEvent, kTooLong}));
    EXPECT_EQ(doc.m_nTokenCount, 0);
    EXPECT_FALSE(doc.m_bDataLoaded);
    EXPECT_EQ(doc.m_records[0].formants[0], 0);
    EXPECT_EQ(doc.m_records[9998].formants[0], 0);
}

TEST(TessavoxDocOpen, FilesThatCannotBeReadAreReportedByNameAndReason)
{
    TestFiles files;
    MessageCapture capture;

    CTessavoxDoc missing;
    const QString missingPath = files.path("nowhere.txt");
    EXPECT_FALSE(missing.OnOpenDocument(missingPath));
    ASSERT_EQ(capture.messages().size(), 1);
    EXPECT_TRUE(capture.lastMessage().contains(missingPath));
    EXPECT_TRUE(capture.lastMessage().contains("does not exist"));
    EXPECT_EQ(capture.beeps(), 0);

    CTessavoxDoc folder;
    files.write("sub/placeholder", "x");
    EXPECT_FALSE(folder.OnOpenDocument(files.path("")));
    EXPECT_TRUE(capture.lastMessage().contains("folder"));
    EXPECT_FALSE(folder.m_bDataLoaded);
}

TEST(TessavoxDocOpen, UnreadableFileIsReportedAsAccessDenied)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TestFiles files;
    const QString path = files.write("locked.txt", "500 1500 \"a\"\n");
    QFile::setPermissions(path, QFileDevice::Permissions());
    MessageCapture capture;
    CTessavoxDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_TRUE(capture.lastMessage().contains("denied"));
}

TEST(TessavoxDoc, DocumentsKeepTheirOwnOptions)
{
    CTessavoxDoc first;
    CTessavoxDoc second;
    first.m_nF1Max = 1200;
    first.m_bDrawEllipse = false;
    EXPECT_EQ(second.m_nF1Max, 1500);
    EXPECT_TRUE(second.m_bDrawEllipse);
}

} // namespace
