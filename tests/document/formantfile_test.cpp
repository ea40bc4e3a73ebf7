// Formant files: how the reader makes lines into records, and its limits; saving the token
// table as the exact bytes that read back, and saves that fail without harming the file
// already on disk.

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

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/mount.h>
#include <unistd.h>

namespace {

std::string labelOf(const FormantRecord &record)
{
    return record.label.substr(0, std::size_t(record.labelLength));
}

std::vector<FormantRecord> parse(const std::string &text, FormantReadResult *result = nullptr)
{
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    const FormantReadResult r = ParseFormantText(text, records);
    if (result)
        *result = r;
    records.resize(std::size_t(r.tokenCount));
    return records;
}

// Each line alone in a file: its F1.. (the rest must be 0) and label; no formants = no token.
TEST(ReaderLines, EachKindOfLineGivesItsFormantsAndLabel)
{
    struct Case
    {
        std::string line;
        std::vector<int> formants;
        std::string label;
    };
    for (const Case &c : {
             Case{"500\t1500\t2500\t\"i\"\t", {500, 1500, 2500}, "i"},
             Case{"310 2020 2960 3500 4200 \"i:\"", {310, 2020, 2960, 3500, 4200}, "i:"},
             Case{"1 100 200 300 400 500 600 700 \"a\"", {100, 200, 300, 400, 500}, "a"},
             Case{"500 1500 2500 a", {500, 1500, 2500}, "a"},
             Case{"500 1500 2500 /a/", {500, 1500, 2500}, "/"},
             Case{"500  1500  2500  \"a\"", {500, 1500}, "a"},
             Case{"500 1500 2500", {500, 1500}, ""},
             Case{"500.5 1500.2 2500 \"e\"", {500, 1500}, "e"},
             Case{"500.555 1500 \"e\"", {500, 555, 1500}, "e"},
             Case{"500,1500,2500,\"o\"", {500, 1500, 2500}, "o"},
             Case{"80 500 1500 \"u\"", {500, 1500}, "u"},
             Case{"500 1500\"a\"", {500, 1500}, ""},
             Case{"\"a\" 500 1500 2500 ", {500, 1500, 2500}, ""},
             Case{"500 1500 \"a", {500, 1500}, ""},
             Case{"F1 F2 F3 vowel", {}, ""},
             Case{"500 1500 2500 \xC9\x99\xCB\x90", {500, 1500, 2500}, "\xC9\x99"},
             Case{"500 1500 \"\xC9\x94\xCB\x90\"", {500, 1500}, "\xC9\x94\xCB\x90"},
         }) {
        SCOPED_TRACE(c.line);
        const auto records = parse(c.line + "\r\n");
        ASSERT_EQ(records.size(), c.formants.empty() ? 0u : 1u);
        if (c.formants.empty())
            continue;
        std::array<std::int32_t, 5> expected{};
        std::copy(c.formants.begin(), c.formants.end(), expected.begin());
        EXPECT_EQ(records[0].formants, expected);
        EXPECT_EQ(labelOf(records[0]), c.label);
    }
}

TEST(ReaderLines, LineEndsOfEveryKindAndAnUnendedLastLineGiveTheSameRecords)
{
    const std::string crlf = "heading\r\n500 1500 2500 \"a\"\r\n\r\n300 2200 2900 \"i\"\r\n";
    std::string lf = crlf, cr = crlf;
    std::erase(lf, '\r');
    std::erase(cr, '\n');
    const auto expected = parse(crlf);
    ASSERT_EQ(expected.size(), 2u);
    for (const std::string &text :
         {lf, cr, "\n\n\r\r" + lf + "\n\n", lf.substr(0, lf.size() - 1)}) {
        const auto records = parse(text);
        ASSERT_EQ(records.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(records[i].formants, expected[i].formants);
            EXPECT_EQ(labelOf(records[i]), labelOf(expected[i]));
        }
    }
    // The lone F1 of a one-number line must not leak into the next record.
    EXPECT_EQ(parse("777 \"x\"\n500 1500 \"a\"\n").at(0).formants[0], 500);
}

TEST(ReaderLimits, LinesAreReadToTheirThousandthByteAndLabelsCutAtACharacter)
{
    // The label's closing quote sits past byte 1,000, so only the formants survive.
    auto records = parse("500 1500 2500 " + std::string(990, ' ') + "\"late\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].labelLength, 0);
    EXPECT_EQ(records[0].formants[2], 2500);

    // F2 straddles byte 1,000, so it is an unended run and the line is no token line.
    records = parse("500 " + std::string(994, ',') + "1500 \"a\"\n600 1600 \"b\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(labelOf(records[0]), "b");

    records = parse("500 1500 \"" + std::string(300, 'x') + "\"\n");
    EXPECT_EQ(records.at(0).labelLength, 255);

    // 127 two-byte characters fill 254 bytes; the 128th would split at byte 255.
    std::string twoByte;
    for (int i = 0; i < 140; ++i)
        twoByte += "\xC9\x99";
    records = parse("500 1500 \"" + twoByte + "\"\n");
    EXPECT_EQ(labelOf(records.at(0)), twoByte.substr(0, 254));
}

TEST(ReaderLimits, Accepts9998TokenLinesAndRefuses9999LeavingNothing)
{
    std::string text = "F1 F2 label\n";
    for (int i = 0; i < FormantLimits::kTokenLines; ++i)
        text += std::to_string(300 + i % 500) + "\t1500\t2500\t\"a\"\t\r\n\r\n7\n";
    FormantReadResult result;
    parse(text, &result);
    EXPECT_EQ(result.status, FormantReadResult::Status::Ok);
    EXPECT_EQ(result.tokenCount, 9998);

    std::vector<FormantRecord> all(FormantLimits::kRecords);
    result = ParseFormantText(text + "400 1400 \"b\"\n", all);
    EXPECT_EQ(result.status, FormantReadResult::Status::TooLong);
    for (const FormantRecord &record : all)
        ASSERT_EQ(record.formants[0], 0) << "a refused file leaves nothing behind";
}

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
    bool IsCellEmpty(int row, int) const override { return at(row).f[0] < -1000; }

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
    EXPECT_EQ(FindEmptyFormant(table, 7).row, -1);
    // A row whose cells are empty cannot be written: a 0 would read back as 0 Hz.
    const FakeTable empty({{{300, 2000, 2900}, "a"}, {{-9999, 0, 0}, "e"}});
    EXPECT_EQ(FindEmptyFormant(empty, 2).row, 1);
    EXPECT_EQ(FindEmptyFormant(empty, 2).column, 0);

    const auto records = parse(bytes.toStdString());
    ASSERT_EQ(records.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        if (i == 2)
            continue; // a negative value is no formant to the reader
        SCOPED_TRACE(i);
        for (int f = 0; f < 3; ++f)
            EXPECT_EQ(records[i].formants[f], rows[i].f[f]);
        // A label's inner double quote ends it on reading: "a"b" comes back as a.
        EXPECT_EQ(QString::fromStdString(labelOf(records[i])),
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
    // No tokens would make a file that cannot be opened again: refused, the file kept.
    doc.tokens().removeRowAt(0);
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_TRUE(capture.lastMessage().contains("no tokens to write"));
    EXPECT_EQ(TestFiles::read(path), "310\t2020\t2960\t\"i\"\t\r\n");
    EXPECT_TRUE(doc.isModified());
}

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
    // In byte order, each label its own vowel: Windows-1252 "é" is not UTF-8 "é".
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(doc.tokens().GetCellInt(row, 4), row + 1) << row;
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
