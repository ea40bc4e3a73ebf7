// Saving the token table as a Formant file: the exact bytes, what reads back, and saves
// that fail without harming the file already on disk.

#include "formantreader.h"
#include "formantwriter.h"
#include "tessavoxdoc.h"

#include "cellsource.h"
#include "messages.h"
#include "testfiles.h"
#include "view.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include <sys/mount.h>
#include <unistd.h>

namespace {

struct Row
{
    int f[3];
    QString symbol;
};

// Fixed rows; reading past them throws, as the grid does.
class FakeTable : public View, public CellSource
{
public:
    explicit FakeTable(std::vector<Row> rows) : m_rows(std::move(rows)) {}
    int GetCellInt(int row, int column) const override { return at(row).f[column]; }
    QString GetCellText(int row, int) const override { return at(row).symbol; }

private:
    const Row &at(int row) const
    {
        if (row < 0 || row >= int(m_rows.size()))
            throw std::out_of_range("Invalid row index");
        return m_rows[std::size_t(row)];
    }
    std::vector<Row> m_rows;
};

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

TEST(FormantWriter, WritesThreeNumbersAndTheQuotedLabelPerRow)
{
    const FakeTable table({{{310, 2020, 2960}, "i"},
                           {{-45, 0, 10000}, ""},
                           {{710, 1100, 2540}, QStringLiteral("\u0251\u02D0")},
                           {{300, 2000, 2900}, "a\"b"},
                           {{500, 1500, 2500}, "not in use"}});
    EXPECT_EQ(FormatFormantText(table, 4), QByteArray("310\t2020\t2960\t\"i\"\t\r\n"
                                                      "-45\t000\t10000\t\"\"\t\r\n"
                                                      "710\t1100\t2540\t\"\xC9\x91\xCB\x90\"\t\r\n"
                                                      "300\t2000\t2900\t\"a\"b\"\t\r\n"));
    EXPECT_TRUE(FormatFormantText(table, 0).isEmpty());
    EXPECT_THROW(FormatFormantText(table, 6), std::out_of_range);
}

TEST(FormantWriter, ReadsBackWithTheSameFormantsAndLabelsInOrder)
{
    const std::vector<Row> rows = {{{710, 1100, 2540}, "a"},
                                   {{350, 800, 2300}, QStringLiteral("\u028A")},
                                   {{500, 1500, 0}, ""},
                                   {{450, 1900, 2600}, "e:"},
                                   {{300, 2000, 2900}, "a\"b"},
                                   // A fresh row and small values must not shift or vanish.
                                   {{0, 0, 0}, ""},
                                   {{5, 99, 42}, "x"}};
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    const QByteArray bytes = FormatFormantText(FakeTable(rows), int(rows.size()));
    ASSERT_EQ(ParseFormantText(bytes.toStdString(), records).tokenCount, int(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        for (int f = 0; f < 3; ++f)
            EXPECT_EQ(records[i].formants[f], rows[i].f[f]);
        // A label's inner double quote ends it on reading: "a"b" comes back as a.
        const QString label = QString::fromUtf8(records[i].label.data(), records[i].labelLength);
        EXPECT_EQ(label, i == 4 ? QStringLiteral("a") : rows[i].symbol);
    }
}

TEST(WriteFileSafely, ReplacesTheFileKeepingPermissionsAndLinks)
{
    TestFiles files;
    const QString path = files.write("vowels.txt", "old contents that are longer\r\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QFileDevice::Permissions permissions = QFile::permissions(path);
    ASSERT_TRUE(QFile::link(path, files.path("link.txt")));

    EXPECT_FALSE(WriteFileSafely(files.path("link.txt"), "new\r\n").isError());
    EXPECT_TRUE(QFileInfo(files.path("link.txt")).isSymLink());
    EXPECT_EQ(TestFiles::read(path), "new\r\n");
    EXPECT_EQ(QFile::permissions(path), permissions);
    EXPECT_EQ(entries(files.path(".")), QStringList({"link.txt", "vowels.txt"}));
}

TEST(WriteFileSafely, RefusesBadTargetsAndLeavesEverythingAsItWas)
{
    TestFiles files;
    ASSERT_TRUE(QDir().mkdir(files.path("folder")));
    const QString old = files.write("old.txt", "old\r\n");
    EXPECT_EQ(WriteFileSafely(files.path("missing/v.txt"), "x").kind, FileError::Kind::BadPath);
    EXPECT_EQ(WriteFileSafely(QString(), "x").kind, FileError::Kind::BadPath);
    EXPECT_EQ(WriteFileSafely(files.path("folder"), "x").kind, FileError::Kind::IsDirectory);
    EXPECT_EQ(entries(files.path(".")), QStringList({"folder", "old.txt"}));
    EXPECT_TRUE(entries(files.path("folder")).isEmpty());

    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write to read-only files";
    QFile::setPermissions(old, QFileDevice::ReadOwner);
    EXPECT_EQ(WriteFileSafely(old, "new\r\n").kind, FileError::Kind::AccessDenied);
    EXPECT_EQ(TestFiles::read(old), "old\r\n");
}

TEST(WriteFileSafely, FullDiskIsReportedAndTheOldFileKept)
{
    TestFiles files;
    const QByteArray folder = QFile::encodeName(files.path("disk"));
    QDir().mkdir(files.path("disk"));
    if (::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const auto unmount = qScopeGuard([&] { ::umount2(folder.constData(), MNT_DETACH); });
    const QString path = files.path("disk/vowels.txt");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("310\t2020\t2960\t\"i\"\t\r\n");
    old.close();

    EXPECT_EQ(WriteFileSafely(path, QByteArray(256 * 1024, 'x')).kind, FileError::Kind::DiskFull);
    EXPECT_EQ(TestFiles::read(path), "310\t2020\t2960\t\"i\"\t\r\n");
    EXPECT_EQ(entries(files.path("disk")), QStringList{"vowels.txt"});
}

class DocumentSave : public ::testing::Test
{
protected:
    void SetUp() override { doc.setModifiedFlag(true); }

    TestFiles files;
    MessageCapture capture;
    CTessavoxDoc doc;
};

TEST_F(DocumentSave, WritesTheTableAndClearsTheModifiedFlag)
{
    FakeTable table({{{310, 2020, 2960}, "i"}, {{710, 1100, 2540}, "a"}});
    doc.addView(&table);
    doc.m_nTokenCount = 1;
    const QString path = files.write("vowels.txt", "previous contents\r\n");
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(TestFiles::read(path), "310\t2020\t2960\t\"i\"\t\r\n");
    EXPECT_FALSE(doc.isModified());

    doc.m_nTokenCount = 0;
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_TRUE(capture.events().isEmpty());
}

TEST_F(DocumentSave, FailureIsReportedAndKeepsFileAndModifiedFlag)
{
    const QString path = files.write("vowels.txt", "old\r\n");
    doc.m_nTokenCount = 2;
    EXPECT_FALSE(doc.OnSaveDocument(path)); // no table window
    EXPECT_TRUE(capture.lastMessage().startsWith("Cannot save the file"));

    FakeTable table({{{310, 2020, 2960}, "i"}});
    doc.addView(&table);
    EXPECT_FALSE(doc.OnSaveDocument(path)); // the second row cannot be read
    EXPECT_TRUE(capture.lastMessage().contains("Invalid row index"));

    doc.m_nTokenCount = 1;
    const QString missing = files.path("missing/vowels.txt");
    EXPECT_FALSE(doc.OnSaveDocument(missing));
    EXPECT_EQ(capture.lastMessage(),
              QStringLiteral("Cannot save the file \"%1\".\nThe file name is not valid or its "
                             "folder does not exist.")
                  .arg(QDir::toNativeSeparators(missing)));
    EXPECT_EQ(capture.events().size(), 3);
    EXPECT_EQ(TestFiles::read(path), "old\r\n");
    EXPECT_TRUE(doc.isModified());
}

} // namespace
