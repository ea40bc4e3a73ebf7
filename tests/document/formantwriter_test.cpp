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

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include <sys/mount.h>
#include <unistd.h>

namespace {

struct Row
{
    int f1, f2, f3;
    QString symbol;
    int order = 0;
};

// A table of fixed rows; reading past them throws, as the grid does.
class FakeTable : public View, public CellSource
{
public:
    explicit FakeTable(std::vector<Row> rows) : m_rows(std::move(rows)) {}

    int GetCellInt(int row, int column) const override
    {
        const Row &r = at(row);
        switch (column) {
        case 0:
            return r.f1;
        case 1:
            return r.f2;
        case 2:
            return r.f3;
        case 4:
            return r.order;
        }
        throw std::out_of_range("not an integer column");
    }
    QString GetCellText(int row, int column) const override
    {
        if (column != 3)
            throw std::out_of_range("not a text column");
        return at(row).symbol;
    }

private:
    const Row &at(int row) const
    {
        if (row < 0 || row >= int(m_rows.size()))
            throw std::out_of_range("Invalid row index");
        return m_rows[std::size_t(row)];
    }
    std::vector<Row> m_rows;
};

std::vector<FormantRecord> readBack(const QByteArray &bytes, int &count)
{
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    const FormantReadResult result = ParseFormantText(bytes.toStdString(), records);
    count = result.tokenCount;
    return records;
}

QString labelOf(const FormantRecord &record)
{
    return QString::fromUtf8(record.label.data(), record.labelLength);
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

TEST(FormantWriterFormat, WritesEachRowAsThreeNumbersAndAQuotedLabel)
{
    const FakeTable table({{310, 2020, 2960, "i", 2},
                           {-45, 0, 10000, "", 1},
                           {710, 1100, 2540, QStringLiteral("\u0251\u02D0"), 3},
                           {500, 1500, 2500, "unused", 4}});
    // The Order column is not saved, and only the rows in use are.
    EXPECT_EQ(FormatFormantText(table, 3),
              QByteArray("310\t2020\t2960\t\"i\"\t\r\n"
                         "-45\t0\t10000\t\"\"\t\r\n"
                         "710\t1100\t2540\t\"\xC9\x91\xCB\x90\"\t\r\n"));
    EXPECT_TRUE(FormatFormantText(table, 0).isEmpty());
    EXPECT_THROW(FormatFormantText(table, 5), std::out_of_range);
}

TEST(FormantWriterFormat, ReadsBackWithTheSameFormantsAndLabelsInOrder)
{
    const std::vector<Row> rows = {{710, 1100, 2540, "a"},
                                   {310, 2020, 2960, "i"},
                                   {350, 800, 2300, QStringLiteral("\u028A")},
                                   {500, 1500, 0, ""},
                                   {450, 1900, 2600, "e:"}};
    int count = 0;
    const auto records = readBack(FormatFormantText(FakeTable(rows), int(rows.size())), count);
    ASSERT_EQ(count, int(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i].formants[0], rows[i].f1);
        EXPECT_EQ(records[i].formants[1], rows[i].f2);
        EXPECT_EQ(records[i].formants[2], rows[i].f3);
        EXPECT_EQ(labelOf(records[i]), rows[i].symbol);
    }
}

TEST(FormantWriterFormat, LabelWithAQuoteIsWrittenUnchangedAndReadsBackCutAtIt)
{
    const FakeTable table({{300, 2000, 2900, "a\"b"}});
    const QByteArray bytes = FormatFormantText(table, 1);
    EXPECT_EQ(bytes, QByteArray("300\t2000\t2900\t\"a\"b\"\t\r\n"));
    int count = 0;
    const auto records = readBack(bytes, count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(labelOf(records[0]), "a");
}

TEST(WriteFileSafely, ReplacesTheFileAndKeepsItsPermissions)
{
    TestFiles files;
    const QString path = files.write("vowels.txt", "old contents that are longer\r\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QFileDevice::Permissions before = QFile::permissions(path);
    EXPECT_FALSE(WriteFileSafely(path, "new\r\n").isError());
    EXPECT_EQ(TestFiles::read(path), "new\r\n");
    EXPECT_EQ(QFile::permissions(path), before);
    EXPECT_EQ(entries(QFileInfo(path).absolutePath()), QStringList{"vowels.txt"});

    EXPECT_FALSE(WriteFileSafely(path, {}).isError());
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST(WriteFileSafely, SavingThroughALinkUpdatesTheLinkedFile)
{
    TestFiles files;
    const QString real = files.write("real.txt", "old\r\n");
    const QString link = files.path("link.txt");
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_FALSE(WriteFileSafely(link, "new\r\n").isError());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(TestFiles::read(real), "new\r\n");
}

TEST(WriteFileSafely, RefusesBadTargetsAndCreatesNothing)
{
    TestFiles files;
    const QString folder = files.path("folder");
    ASSERT_TRUE(QDir().mkdir(folder));

    EXPECT_EQ(WriteFileSafely(files.path("missing/vowels.txt"), "x").kind,
              FileError::Kind::BadPath);
    EXPECT_EQ(WriteFileSafely(QString(), "x").kind, FileError::Kind::BadPath);
    EXPECT_EQ(WriteFileSafely(folder, "x").kind, FileError::Kind::IsDirectory);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(entries(files.path(".")), QStringList{"folder"});
    EXPECT_TRUE(entries(folder).isEmpty());
}

TEST(WriteFileSafely, ReadOnlyTargetOrFolderIsRefusedAndTheOldFileKept)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write anywhere";
    TestFiles files;
    const QString path = files.write("vowels.txt", "old\r\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    EXPECT_EQ(WriteFileSafely(path, "new\r\n").kind, FileError::Kind::AccessDenied);
    EXPECT_EQ(TestFiles::read(path), "old\r\n");

    const QString folder = files.path("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(WriteFileSafely(folder + "/new.txt", "x").kind, FileError::Kind::AccessDenied);
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(entries(folder).isEmpty());
}

// A tiny file system of its own; only where the test may mount one (as root).
class SmallDisk
{
public:
    SmallDisk() : m_folder(m_files.path("disk"))
    {
        QDir().mkdir(m_folder);
        m_mounted =
            ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    QString path(const QString &name) const { return m_folder + '/' + name; }

private:
    TestFiles m_files;
    QString m_folder;
    bool m_mounted = false;
};

TEST(WriteFileSafely, FullDiskIsReportedAndTheOldFileKept)
{
    SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString path = disk.path("vowels.txt");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("310\t2020\t2960\t\"i\"\t\r\n");
    old.close();

    EXPECT_EQ(WriteFileSafely(path, QByteArray(256 * 1024, 'x')).kind, FileError::Kind::DiskFull);
    EXPECT_EQ(TestFiles::read(path), "310\t2020\t2960\t\"i\"\t\r\n");
    EXPECT_EQ(entries(QFileInfo(path).absolutePath()), QStringList{"vowels.txt"});
}

// Saving through the document.
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
    FakeTable table({{310, 2020, 2960, "i"}, {710, 1100, 2540, "a"}, {1, 2, 3, "x"}});
    doc.addView(&table);
    doc.m_nTokenCount = 2;
    const QString path = files.write("vowels.txt", "previous contents\r\n");

    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(TestFiles::read(path), "310\t2020\t2960\t\"i\"\t\r\n710\t1100\t2540\t\"a\"\t\r\n");
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(capture.events().isEmpty());
}

TEST_F(DocumentSave, EmptyTableWritesAnEmptyFile)
{
    FakeTable table({});
    doc.addView(&table);
    const QString path = files.path("empty.txt");
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST_F(DocumentSave, FailedSaveReportsAndKeepsTheDocumentModified)
{
    FakeTable table({{310, 2020, 2960, "i"}});
    doc.addView(&table);
    doc.m_nTokenCount = 1;
    const QString folder = files.path("folder");
    ASSERT_TRUE(QDir().mkdir(folder));

    EXPECT_FALSE(doc.OnSaveDocument(files.path("missing/vowels.txt")));
    EXPECT_EQ(capture.lastMessage(),
              QStringLiteral("Cannot save the file \"%1\".\nThe file name is not valid or its "
                             "folder does not exist.")
                  .arg(QDir::toNativeSeparators(files.path("missing/vowels.txt"))));
    EXPECT_FALSE(doc.OnSaveDocument(folder));
    EXPECT_TRUE(capture.lastMessage().endsWith("It is a folder, not a file."));
    EXPECT_EQ(capture.messages().size(), 2);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DocumentSave, UnreadableCellFailsTheSaveAndKeepsTheOldFile)
{
    FakeTable table({{310, 2020, 2960, "i"}});
    doc.addView(&table);
    doc.m_nTokenCount = 2; // one more than the grid holds
    const QString path = files.write("vowels.txt", "old\r\n");

    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_TRUE(capture.lastMessage().startsWith("Cannot save the file"));
    EXPECT_TRUE(capture.lastMessage().contains("Invalid row index"));
    EXPECT_EQ(TestFiles::read(path), "old\r\n");
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DocumentSave, WithoutATableNothingIsWritten)
{
    doc.m_nTokenCount = 3;
    const QString path = files.write("vowels.txt", "old\r\n");
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(capture.messages().size(), 1);
    EXPECT_EQ(TestFiles::read(path), "old\r\n");
    EXPECT_TRUE(doc.isModified());
}

} // namespace
