// Bad inputs opened as documents: each gives a clear message or a sensible document, never
// a crash, and never costs more memory than a small multiple of the file's size.

#include "tessavoxdoc.h"

#include "messages.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <ostream>
#include <random>
#include <string>

namespace {

const QString kZeroLength = QStringLiteral("The file has zero length.\nIt cannot be read");
const QString kTooLong =
    QStringLiteral("File is too long.\nThis version can read only maximum of 1000 lines in.\n"
                   "Please edit the file to shorten it and try again.");
const QString kBeep = MessageCapture::beepEvent;

QString cannotOpen(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot open the file \"%1\".\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// Kilobytes of a "Vm..." line of /proc/self/status, or -1 where there is none.
long statusKilobytes(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::char_traits<char>::length(key)));
    }
    return -1;
}

// Starts a fresh peak: the kernel resets VmHWM to the current RSS on "5".
bool resetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

std::string labelOf(const FormantRecord &record)
{
    return std::string(record.label.data(), std::size_t(record.labelLength));
}

using Formants = std::array<std::int32_t, 5>;

struct HostileCase
{
    const char *name;
    // Makes the input in the scratch folder and returns the path to open.
    std::function<QString(const TestFiles &)> make;
    bool opens;
    // Exactly what the user sees, in order; "%1" stands for the path.
    QStringList events;
    int tokens = 0;
    std::function<void(const CTessavoxDoc &)> check = {};
};

QString writeRepeated(const TestFiles &files, const QString &name, const QByteArray &chunk,
                      int times)
{
    const QString path = files.path(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return path;
    for (int i = 0; i < times; ++i)
        file.write(chunk);
    return path;
}

QByteArray binaryGarbage()
{
    std::mt19937 random(20240607);
    QByteArray bytes(64 * 1024, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random() & 0xFF);
    return bytes;
}

// A megabyte of lines that look like data but hold no token line.
QByteArray nonTokenMegabyte()
{
    const QByteArray lines = "Speaker 12, session 3: vowel a\r\n"
                             "F1 F2 F3 label\r\n"
                             "512 \"a\"\r\n"
                             "12 34 56 78 \"i\"\r\n"
                             "\r\n";
    QByteArray chunk;
    while (chunk.size() + lines.size() <= 1024 * 1024)
        chunk += lines;
    return chunk.leftJustified(1024 * 1024, ' ', true);
}

QByteArray megabyteLines()
{
    const int mb = 1024 * 1024;
    QByteArray text = "500 1500 2500 \"a\" " + QByteArray(mb, 'x') + "\n";
    text += QByteArray(mb, '7') + "\n";                               // one endless digit run
    text += "600 1600 " + QByteArray("700 ").repeated(mb / 4) + "\n"; // past the fifth formant
    return text;
}

QByteArray tokenLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "500\t1500\t2500\t\"a\"\t\r\n";
    return text;
}

const HostileCase kCases[] = {
    {"EmptyFile",
     [](const TestFiles &f) { return f.write("empty.txt", {}); },
     false,
     {kBeep, kZeroLength}},
    {"Directory",
     [](const TestFiles &f) {
         QDir().mkpath(f.path("sub"));
         return f.path("sub");
     },
     false,
     {cannotOpen("%1", "It is a folder, not a file.")}},
    {"MissingFile",
     [](const TestFiles &f) { return f.path("missing.txt"); },
     false,
     {cannotOpen("%1", "The file does not exist.")}},
    {"NamedPipe",
     [](const TestFiles &f) {
         const QString path = f.path("pipe");
         mkfifo(QFile::encodeName(path).constData(), 0600);
         return path;
     },
     false,
     {cannotOpen("%1", "The file could not be read (it is not a regular file).")}},
    {"BinaryGarbage",
     [](const TestFiles &f) { return f.write("garbage.bin", binaryGarbage()); },
     true,
     {},
     -1},
    {"HundredMegabytesWithoutTokens",
     [](const TestFiles &f) { return writeRepeated(f, "big.txt", nonTokenMegabyte(), 100); },
     true,
     {},
     0},
    {"MegabyteLines",
     [](const TestFiles &f) { return f.write("wide.txt", megabyteLines()); },
     true,
     {},
     2,
     [](const CTessavoxDoc &doc) {
         EXPECT_EQ(doc.m_records[0].formants, (Formants{500, 1500, 2500, 0, 0}));
         EXPECT_EQ(labelOf(doc.m_records[0]), "a");
         EXPECT_EQ(doc.m_records[1].formants, (Formants{600, 1600, 700, 700, 700}));
         EXPECT_EQ(doc.m_records[1].labelLength, 0);
     }},
    {"TenThousandTokenLines",
     [](const TestFiles &f) { return f.write("long.txt", tokenLines(10000)); },
     false,
     {kBeep, kTooLong}},
    {"NulBytes",
     [](const TestFiles &f) {
         return f.write("nul.txt", QByteArray("500\0001500\000\"a\000b\"\n", 15) +
                                       QByteArray(1000, '\0') + "\n600 1600 \"c\"\n");
     },
     true,
     {},
     2,
     [](const CTessavoxDoc &doc) {
         EXPECT_EQ(doc.m_records[0].formants, (Formants{500, 1500, 0, 0, 0}));
         EXPECT_EQ(labelOf(doc.m_records[0]), std::string("a\0b", 3));
         EXPECT_EQ(labelOf(doc.m_records[1]), "c");
     }},
    {"InvalidUtf8",
     [](const TestFiles &f) {
         return f.write("latin1.txt", "500 1500 \"\xFF\xFE\xC3\"\n"
                                      "500 1500 \xC3(\n"
                                      "500 1500 \"" +
                                          QByteArray(300, '\x80') + "\"\n");
     },
     true,
     {},
     3,
     [](const CTessavoxDoc &doc) {
         // The bytes are kept as they are; a label is only ever cut, never rewritten.
         EXPECT_EQ(labelOf(doc.m_records[0]), "\xFF\xFE\xC3");
         EXPECT_EQ(labelOf(doc.m_records[1]), "\xC3");
         EXPECT_EQ(doc.m_records[2].labelLength, 255);
     }},
    {"LabelOfTenThousandCharacters",
     [](const TestFiles &f) {
         const QByteArray label(10000, 'e');
         return f.write("label.txt", "500 1500 2500 \"" + label + "\"\n500 1500 " + label + "\n");
     },
     true,
     {},
     2,
     [](const CTessavoxDoc &doc) {
         // The closing quote lies past the part of the line that is read.
         EXPECT_EQ(doc.m_records[0].formants, (Formants{500, 1500, 2500, 0, 0}));
         EXPECT_EQ(doc.m_records[0].labelLength, 0);
         EXPECT_EQ(labelOf(doc.m_records[1]), "e");
     }},
    {"FortyDigitNumbers",
     [](const TestFiles &f) {
         return f.write("digits.txt", "1234567890123456789012345678901234567890 1500 \"a\"\n"
                                      "0000000000000000000000000000000000000500 "
                                      "0000000000000000000000000000000000001500 \"b\"\n");
     },
     true,
     {},
     2,
     [](const CTessavoxDoc &doc) {
         EXPECT_EQ(doc.m_records[0].formants[0], 2147483647);
         EXPECT_EQ(doc.m_records[1].formants, (Formants{500, 1500, 0, 0, 0}));
     }},
};

// Names the case in failure reports instead of dumping its bytes.
void PrintTo(const HostileCase &c, std::ostream *out)
{
    *out << c.name;
}

class HostileFile : public ::testing::TestWithParam<HostileCase>
{
};

TEST_P(HostileFile, GivesAClearMessageOrASensibleDocument)
{
    const HostileCase &c = GetParam();
    TestFiles files;
    const QString path = c.make(files);
    const qint64 fileSize = QFileInfo(path).isFile() ? QFileInfo(path).size() : 0;

    MessageCapture capture;
    CTessavoxDoc doc;
    const bool peakReset = resetPeakMemory();
    const long before = statusKilobytes("VmRSS:");
    const bool opened = doc.OnOpenDocument(path);
    const long peak = statusKilobytes("VmHWM:");

    QStringList expected;
    for (const QString &event : c.events)
        expected.append(event.contains("%1") ? event.arg(QDir::toNativeSeparators(path)) : event);
    EXPECT_EQ(capture.events(), expected);
    EXPECT_EQ(opened, c.opens);
    EXPECT_EQ(doc.m_bDataLoaded, c.opens);
    if (c.tokens >= 0) {
        EXPECT_EQ(doc.m_nTokenCount, c.tokens);
    }

    ASSERT_GE(doc.m_nTokenCount, 0);
    ASSERT_LE(doc.m_nTokenCount, FormantLimits::kTokenLines);
    for (int i = 0; i < doc.m_nTokenCount; ++i) {
        const FormantRecord &record = doc.m_records[std::size_t(i)];
        ASSERT_GE(record.labelLength, 0);
        ASSERT_LE(record.labelLength, FormantLimits::kLabelBytes);
        for (std::int32_t formant : record.formants)
            ASSERT_GE(formant, 0);
    }
    if (!opened) {
        EXPECT_EQ(doc.m_records[0].formants[0], 0) << "a refused file leaves no records";
    }
    if (c.check)
        c.check(doc);

    // One buffer the size of the file, plus fixed overhead, is what reading may cost.
    if (peakReset && before > 0 && peak > 0) {
        const long grownKilobytes = peak - before;
        EXPECT_LE(grownKilobytes, 2 * fileSize / 1024 + 32 * 1024)
            << "file of " << fileSize / 1024 << " KiB";
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileFile, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
