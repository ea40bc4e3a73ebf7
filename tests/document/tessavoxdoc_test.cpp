// Opening files as documents, good and hostile: each gives a clear message or a sensible
// document, never a crash, and never costs more memory than a small multiple of its size.

#include "document/tessavoxdoc.h"

#include "framework/messages.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>

namespace {

using Formants = std::array<std::int32_t, 5>;
using Make = std::function<QString(const TestFiles &)>;

const QString kBeep = MessageCapture::beepEvent;
const QString kTooLong =
    QStringLiteral("File is too long.\nThis version can read only maximum of 1000 lines in.\n"
                   "Please edit the file to shorten it and try again.");

QString cannotOpen(const QString &reason)
{
    return "Cannot open the file \"%1\".\n" + reason;
}

// Kilobytes of a "Vm..." line of /proc/self/status, or -1 where there is none.
long statusKilobytes(const std::string &key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    }
    return -1;
}

std::string labelOf(const FormantRecord &record)
{
    return record.label.substr(0, std::size_t(record.labelLength));
}

Make file(const QByteArray &bytes)
{
    return [bytes](const TestFiles &f) { return f.write("input.txt", bytes); };
}

// Bytes of a Formant file's own alphabet in random order, so numbers, separators, quotes
// and line ends meet in every combination.
QByteArray randomFormantBytes()
{
    QByteArray text;
    unsigned state = 12345;
    const char pool[] = "0123456789012345678 \t\",.\r\n\xC3\xA9\x80\0";
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        text += pool[(state >> 16) % (sizeof pool - 1)];
    }
    return text;
}

// A hundred megabytes of lines that look like data but hold no token line.
QString hundredMegabytesWithoutTokens(const TestFiles &f)
{
    const QByteArray lines = "Speaker 12, session 3: vowel a\r\nF1 F2 F3 label\r\n512 \"a\"\r\n"
                             "12 34 56 78 \"i\"\r\n\r\n";
    const QByteArray chunk = lines.repeated(1024 * 1024 / lines.size());
    QFile out(f.path("big.txt"));
    if (out.open(QIODevice::WriteOnly)) {
        for (int i = 0; i < 100; ++i)
            out.write(chunk);
    }
    return out.fileName();
}

struct OpenCase
{
    const char *name;
    Make make;          // makes the input in the scratch folder and returns its path
    QStringList events; // exactly what the user sees, "%1" standing for the path; none = opens
    int tokens = 0;     // -1 = any
    std::function<void(const CTessavoxDoc &)> check = {};
};

void PrintTo(const OpenCase &c, std::ostream *out)
{
    *out << c.name;
}

const OpenCase kCases[] = {
    {"EmptyFile", file({}), {kBeep, "The file has zero length.\nIt cannot be read"}},
    {"Directory",
     [](const TestFiles &f) { return f.path(""); },
     {cannotOpen("It is a folder, not a file.")}},
    {"MissingFile",
     [](const TestFiles &f) { return f.path("missing.txt"); },
     {cannotOpen("The file does not exist.")}},
    {"Unreadable",
     [](const TestFiles &f) {
         const QString path = f.write("locked.txt", "500 1500 \"a\"\n");
         QFile::setPermissions(path, QFileDevice::Permissions());
         return path;
     },
     {cannotOpen("Access to the file was denied.")}},
    {"NamedPipe",
     [](const TestFiles &f) {
         const QString path = f.path("pipe");
         mkfifo(QFile::encodeName(path).constData(), 0600);
         return path;
     },
     {cannotOpen("The file could not be read (it is not a regular file).")}},
    {"RandomBytes", file(randomFormantBytes()), {}, -1},
    {"HundredMegabytesWithoutTokens", hundredMegabytesWithoutTokens, {}},
    {"MegabyteLines",
     file("500 1500 2500 \"a\" " + QByteArray(1 << 20, 'x') + "\n" + QByteArray(1 << 20, '7') +
          "\n600 1600 " + QByteArray("700 ").repeated(1 << 18) + "\n"),
     {},
     2,
     [](const CTessavoxDoc &doc) {
         EXPECT_EQ(doc.m_records[0].formants, (Formants{500, 1500, 2500, 0, 0}));
         EXPECT_EQ(labelOf(doc.m_records[0]), "a");
         EXPECT_EQ(doc.m_records[1].formants, (Formants{600, 1600, 700, 700, 700}));
         EXPECT_EQ(doc.m_records[1].labelLength, 0);
     }},
    {"TooManyTokenLines",
     file(QByteArray("500\t1500\t2500\t\"a\"\t\r\n").repeated(9999)),
     {kBeep, kTooLong}},
    {"NulBytes",
     file(QByteArray("500\0001500\000\"a\000b\"\n", 15) + QByteArray(1000, '\0') +
          "\n600 1600 \"c\"\n"),
     {},
     2,
     [](const CTessavoxDoc &doc) {
         EXPECT_EQ(doc.m_records[0].formants, (Formants{500, 1500, 0, 0, 0}));
         EXPECT_EQ(labelOf(doc.m_records[0]), std::string("a\0b", 3));
         EXPECT_EQ(labelOf(doc.m_records[1]), "c");
     }},
    {"InvalidUtf8",
     file("500 1500 \"\xFF\xFE\xC3\"\n500 1500 \xC3(\n500 1500 \"" + QByteArray(300, '\x80') +
          "\"\n"),
     {},
     3,
     [](const CTessavoxDoc &doc) {
         // The bytes are kept as they are; a label is only ever cut, never rewritten.
         EXPECT_EQ(labelOf(doc.m_records[0]), "\xFF\xFE\xC3");
         EXPECT_EQ(labelOf(doc.m_records[1]), "\xC3");
         EXPECT_EQ(doc.m_records[2].labelLength, 255);
     }},
    {"FortyDigitNumbers",
     file("1234567890123456789012345678901234567890 1500 \"a\"\n" + QByteArray(37, '0') + "500 " +
          QByteArray(36, '0') + "1500 \"b\"\n"),
     {},
     2,
     [](const CTessavoxDoc &doc) {
         EXPECT_EQ(doc.m_records[0].formants[0], 2147483647);
         EXPECT_EQ(doc.m_records[1].formants, (Formants{500, 1500, 0, 0, 0}));
     }},
};

class OpenFile : public ::testing::TestWithParam<OpenCase>
{
};

TEST_P(OpenFile, GivesAClearMessageOrASensibleDocument)
{
    const OpenCase &c = GetParam();
    if (c.name == std::string("Unreadable") && ::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TestFiles files;
    const QString path = c.make(files);
    const qint64 fileSize = QFileInfo(path).isFile() ? QFileInfo(path).size() : 0;

    MessageCapture capture;
    CTessavoxDoc doc;
    // A fresh peak: the kernel resets VmHWM to the current RSS on "5".
    std::ofstream clearRefs("/proc/self/clear_refs");
    const bool peakReset = bool(clearRefs << "5" << std::flush);
    const long before = statusKilobytes("VmRSS:");
    const bool opened = doc.OnOpenDocument(path);
    const long peak = statusKilobytes("VmHWM:");

    QStringList expected;
    for (const QString &event : c.events)
        expected << (event.contains("%1") ? event.arg(QDir::toNativeSeparators(path)) : event);
    EXPECT_EQ(capture.events(), expected);
    EXPECT_EQ(opened, c.events.isEmpty());
    EXPECT_EQ(doc.m_bDataLoaded, opened);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(c.tokens < 0 || doc.m_nTokenCount == c.tokens) << doc.m_nTokenCount;
    ASSERT_GE(doc.m_nTokenCount, 0);
    ASSERT_LE(doc.m_nTokenCount, FormantLimits::kTokenLines);
    for (int i = 0; i < doc.m_nTokenCount; ++i) {
        const FormantRecord &record = doc.m_records[std::size_t(i)];
        ASSERT_GE(record.labelLength, 0);
        ASSERT_LE(record.labelLength, FormantLimits::kLabelBytes);
        for (std::int32_t formant : record.formants)
            ASSERT_GE(formant, 0);
    }
    EXPECT_TRUE(opened || doc.m_records[0].formants[0] == 0) << "a refused file leaves no records";
    if (c.check)
        c.check(doc);

    // One buffer the size of the file, plus fixed overhead, is what reading may cost.
    EXPECT_TRUE(!peakReset || before <= 0 || peak <= 0 ||
                peak - before <= 2 * fileSize / 1024 + 32 * 1024)
        << (peak - before) << " KiB for " << fileSize / 1024 << " KiB";
}

INSTANTIATE_TEST_SUITE_P(Inputs, OpenFile, ::testing::ValuesIn(kCases),
                         [](const auto &test) { return std::string(test.param.name); });

} // namespace
