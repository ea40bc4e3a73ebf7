// Saving the token table as a Formant file: the exact bytes, what reads back, and saves
// that fail without harming the file already on disk.

#include "document/formantreader.h"
#include "document/formantwriter.h"
#include "document/labeltext.h"
#include "document/tessavoxdoc.h"

#include "document/cellsource.h"
#include "framework/messages.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
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
class FakeTable : public CellSource
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

TEST(FormantWriter, WritesEveryRowWithItsOwnLabelAndReadsBack)
{
    // Symbols come in runs and come back, as in a sorted or edited table.
    const std::vector<Row> rows = {{{310, 2020, 2960}, "i"},
                                   {{320, 2100, 2900}, "i"},
                                   {{-45, 0, 10000}, ""},
                                   {{5, 50, 99}, "i"},
                                   {{710, 1100, 2540}, QStringLiteral("\u0251\u02D0")},
                                   {{300, 2000, 2900}, "a\"b"},
                                   {{500, 1500, 2500}, "not in use"}};
    const FakeTable table(rows);
    const QByteArray bytes = FormatFormantText(table, 6);
    EXPECT_EQ(bytes, QByteArray("310\t2020\t2960\t\"i\"\t\r\n"
                                "320\t2100\t2900\t\"i\"\t\r\n"
                                "-45\t000\t10000\t\"\"\t\r\n"
                                "005\t050\t099\t\"i\"\t\r\n"
                                "710\t1100\t2540\t\"\xC9\x91\xCB\x90\"\t\r\n"
                                "300\t2000\t2900\t\"a\"b\"\t\r\n"));
    EXPECT_TRUE(FormatFormantText(table, 0).isEmpty());
    EXPECT_THROW(FormatFormantText(table, 8), std::out_of_range);

    std::vector<FormantRecord> records(FormantLimits::kRecords);
    ASSERT_EQ(ParseFormantText(bytes.toStdString(), records).tokenCount, 6);
    for (std::size_t i = 0; i < 6; ++i) {
        if (i == 2)
            continue; // a negative value is no formant to the reader
        SCOPED_TRACE(i);
        for (int f = 0; f < 3; ++f)
            EXPECT_EQ(records[i].formants[f], rows[i].f[f]);
        // A label's inner double quote ends it on reading: "a"b" comes back as a.
        EXPECT_EQ(QString::fromUtf8(records[i].label.data(), records[i].labelLength),
                  i == 5 ? QStringLiteral("a") : rows[i].symbol);
    }
}

TEST(WriteFileSafely, ReplacesTheFileKeepingPermissionsAndLinksOrLeavesAllAsItWas)
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

    ASSERT_TRUE(QDir().mkdir(files.path("folder")));
    EXPECT_EQ(WriteFileSafely(files.path("missing/v.txt"), "x").kind, FileError::Kind::BadPath);
    EXPECT_EQ(WriteFileSafely(QString(), "x").kind, FileError::Kind::BadPath);
    EXPECT_EQ(WriteFileSafely(files.path("folder"), "x").kind, FileError::Kind::IsDirectory);
    // A streaming writer that gives up abandons its file.
    const FileError abandoned = WriteFileSafely(path, [](QIODevice &device) {
        device.write("half a picture");
        return false;
    });
    EXPECT_EQ(abandoned.kind, FileError::Kind::WriteFailed);
    EXPECT_EQ(TestFiles::read(path), "new\r\n");
    EXPECT_EQ(entries(files.path(".")), QStringList({"folder", "link.txt", "vowels.txt"}));
    EXPECT_TRUE(entries(files.path("folder")).isEmpty());
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write to read-only files";
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    EXPECT_EQ(WriteFileSafely(path, "newer\r\n").kind, FileError::Kind::AccessDenied);
    EXPECT_EQ(TestFiles::read(path), "new\r\n");
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
    ASSERT_FALSE(WriteFileSafely(path, "310\t2020\t2960\t\"i\"\t\r\n").isError());

    EXPECT_EQ(WriteFileSafely(path, QByteArray(256 * 1024, 'x')).kind, FileError::Kind::DiskFull);
    EXPECT_EQ(TestFiles::read(path), "310\t2020\t2960\t\"i\"\t\r\n");
    EXPECT_EQ(entries(files.path("disk")), QStringList{"vowels.txt"});
}

TEST(DocumentSave, WritesTheTableOrReportsWhyKeepingFileAndModifiedFlag)
{
    TestFiles files;
    MessageCapture capture;
    CTessavoxDoc doc;
    const QString path = files.write("vowels.txt", "old\r\n");
    doc.setModifiedFlag(true);
    EXPECT_FALSE(doc.OnSaveDocument(path)); // no table shows the rows
    EXPECT_TRUE(capture.lastMessage().startsWith("Cannot save the file"));

    QObject table;
    doc.attachTable(&table);
    TokenTableModel::Row row;
    row.numbers = {310, 2020, 2960, 1};
    row.symbol = QStringLiteral("i");
    doc.tokens().insertRowAt(0, row);
    EXPECT_EQ(doc.m_nTokenCount, 1);
    const QString missing = files.path("missing/vowels.txt");
    EXPECT_FALSE(doc.OnSaveDocument(missing));
    EXPECT_EQ(capture.lastMessage(),
              QStringLiteral("Cannot save the file \"%1\".\nThe file name is not valid or its "
                             "folder does not exist.")
                  .arg(QDir::toNativeSeparators(missing)));
    EXPECT_EQ(capture.events().size(), 2);
    EXPECT_EQ(TestFiles::read(path), "old\r\n");
    EXPECT_TRUE(doc.isModified());

    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(TestFiles::read(path), "310\t2020\t2960\t\"i\"\t\r\n");
    EXPECT_FALSE(doc.isModified());
    doc.tokens().removeRowAt(0);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(capture.events().size(), 2);
}

} // namespace

namespace {

// Labels from older tools keep their bytes, and F4 and F5 their values, through a save;
// what would not read back is refused with the row named, and the file left alone.
TEST(DocumentSave, KeepsLabelBytesAndHigherFormantsAndRefusesSymbolsThatWouldNotReadBack)
{
    TestFiles files;
    MessageCapture capture;
    const QString path = files.write("vowels.txt", "F1 F2 F3 F4 F5 label\r\n"
                                                   "450\t1900\t2600\t\"\xE9\"\t\r\n"
                                                   "300\t2300\t2900\t3500\t4100\t\"i\"\t\r\n"
                                                   "460\t1850\t2550\t\"\xC3\xA9\"\t\r\n"
                                                   "350\t800\t2300\t000\t4200\t\"\x80u\"\t\r\n");
    CTessavoxDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    QObject table;
    doc.attachTable(&table);
    const TokenTableModel &tokens = doc.tokens();
    // In byte order, each label its own vowel: Windows-1252 "é" is not UTF-8 "é".
    const QStringList shown = {"i", QStringLiteral("\u20ACu"), QStringLiteral("\u00E9"),
                               QStringLiteral("\u00E9")};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(tokens.GetCellText(row, 3), shown[row]) << row;
        EXPECT_EQ(tokens.GetCellInt(row, 4), row + 1) << row;
    }
    const QByteArray sorted = "300\t2300\t2900\t3500\t4100\t\"i\"\t\r\n"
                              "350\t800\t2300\t000\t4200\t\"\x80u\"\t\r\n"
                              "460\t1850\t2550\t\"\xC3\xA9\"\t\r\n"
                              "450\t1900\t2600\t\"\xE9\"\t\r\n";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(TestFiles::read(path), sorted);

    // An edited label is written as UTF-8; a symbol that would not read back stops the save.
    doc.tokens().setSymbol(3, QStringLiteral("\u00E8"));
    doc.tokens().setSymbol(1, QStringLiteral("say \"u\""));
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_TRUE(capture.lastMessage().contains("row 2")) << capture.lastMessage().toStdString();
    EXPECT_EQ(TestFiles::read(path), sorted);
    doc.tokens().setSymbol(1, QStringLiteral("\u20ACu"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(TestFiles::read(path), "300\t2300\t2900\t3500\t4100\t\"i\"\t\r\n"
                                     "350\t800\t2300\t000\t4200\t\"\xE2\x82\xAC"
                                     "u\"\t\r\n"
                                     "460\t1850\t2550\t\"\xC3\xA9\"\t\r\n"
                                     "450\t1900\t2600\t\"\xC3\xA8\"\t\r\n");
}

TEST(LabelText, Utf8AsUtf8AndAnythingElseByteForByteAsWindows1252)
{
    EXPECT_EQ(LabelText("\xC9\x91\xCB\x90"), QStringLiteral("\u0251\u02D0"));
    EXPECT_EQ(LabelText("caf\xE9"), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(LabelText("\x80\x8A\x9F\x81\xFF"), QStringLiteral("\u20AC\u0160\u0178\u0081\u00FF"));
    // One byte short of a UTF-8 sequence is not UTF-8.
    EXPECT_EQ(LabelText("\xC3"), QStringLiteral("\u00C3"));
}

} // namespace
