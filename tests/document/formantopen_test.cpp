// A Formant file opened as a document: the rows a table shows and the table the analysis
// takes are what the loader reads from the file, and a second file replaces the first
// only once it has been read.

#include "document/labeltext.h"
#include "document/tessavoxdoc.h"

#include "testfiles.h"

#include <QObject>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <string>
#include <tuple>

namespace {

using Model = TokenTableModel;

std::string labelOf(const FormantRecord &record)
{
    return record.label.substr(0, std::size_t(record.labelLength));
}

// Token lines with labels that test the order: unquoted and quoted, empty, one text in
// UTF-8 and in Windows-1252 ("é"), bytes that are no UTF-8, capitals before small letters,
// digits, and a label longer than a short string holds; some lines with F4 and F5, some
// formants out of range.
QByteArray mixedFile(int lines)
{
    const QByteArray labels[] = {
        "i",      "\"a\"", "\"\xC3\xA9\"", "\"\xE9\"",
        "",       "\"B\"", "\"b\"",        "\"\xFF\xFE\"",
        "\"10\"", "\"2\"", "\"\xC9\x99\"", "\"a rather long label, quoted\""};
    QRandomGenerator random(22);
    QByteArray text;
    for (int i = 0; i < lines; ++i) {
        text += QByteArray::number(random.bounded(200, 900)) + ' ' +
                QByteArray::number(random.bounded(700, 12000)) + '\t' +
                QByteArray::number(random.bounded(2000, 3200));
        if (i % 5 == 0)
            text += ' ' + QByteArray::number(random.bounded(3000, 4500)) + ' ' +
                    QByteArray::number(random.bounded(4000, 5500));
        text += ' ' + labels[random.bounded(int(std::size(labels)))] + (i % 2 ? "\r\n" : "\n");
    }
    return text;
}

// The rows a table window shows for the loader's records: stably sorted by the label's
// bytes, numbered per distinct label, F1 to F3 above the highest formant shown as 0.
struct ExpectedRow
{
    std::array<int, 4> numbers;
    std::string bytes;
    std::array<int, 2> higher;
    bool operator==(const ExpectedRow &) const = default;
};

std::vector<ExpectedRow> expectedRows(const std::vector<FormantRecord> &records, int count)
{
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&records](int a, int b) {
        return labelOf(records[std::size_t(a)]) < labelOf(records[std::size_t(b)]);
    });
    std::map<std::string, int> number;
    std::vector<ExpectedRow> rows;
    for (int i : order) {
        const FormantRecord &r = records[std::size_t(i)];
        const std::string label = labelOf(r);
        const auto inRange = [](int hertz) { return hertz > kMaxFormant ? 0 : hertz; };
        const int vowel = number.try_emplace(label, int(number.size()) + 1).first->second;
        rows.push_back(
            {{inRange(r.formants[0]), inRange(r.formants[1]), inRange(r.formants[2]), vowel},
             label,
             {r.formants[3], r.formants[4]}});
    }
    return rows;
}

std::vector<ExpectedRow> shownRows(const Model &tokens)
{
    std::vector<ExpectedRow> rows;
    for (int r = 0; r < tokens.count(); ++r) {
        const Model::Row &row = tokens.row(r);
        EXPECT_EQ(row.emptyNumbers, 0) << "row " << r;
        EXPECT_EQ(row.symbol, LabelText(row.symbolBytes)) << "row " << r;
        rows.push_back({row.numbers, row.symbolBytes.toStdString(), row.higherFormants});
    }
    return rows;
}

void expectSameTable(const TabularTable &a, const TabularTable &b)
{
    ASSERT_EQ(std::pair(a.rowCount(), a.columnCount()), std::pair(b.rowCount(), b.columnCount()));
    EXPECT_EQ(a.vowelColumn(), b.vowelColumn());
    for (int column = 0; column < a.columnCount(); ++column) {
        EXPECT_EQ(a.header(column), b.header(column));
        for (int row = 0; row < a.rowCount(); ++row)
            ASSERT_EQ(a.cell(row, column), b.cell(row, column)) << row << ", " << column;
    }
    for (int formant = 1; formant <= 5; ++formant) {
        EXPECT_EQ(a.missingCount(formant), b.missingCount(formant));
        const auto x = a.formantValues(formant);
        const auto y = b.formantValues(formant);
        EXPECT_TRUE(std::equal(
            x.begin(), x.end(), y.begin(), y.end(),
            [](double p, double q) { return p == q || (std::isnan(p) && std::isnan(q)); }))
            << "F" << formant;
    }
}

TEST(FormantOpen, RowsAndTableAreThoseOfTheFileAsRead)
{
    const TestFiles files;
    for (const int lines : {1, 700, FormantLimits::kTokenLines}) {
        SCOPED_TRACE(lines);
        const QString path = files.write(QStringLiteral("mixed.txt"), mixedFile(lines));
        const TokenFile read = LoadTokenFile(path);
        ASSERT_TRUE(read.ok());
        ASSERT_EQ(read.tokenCount, lines);

        CTessavoxDoc doc;
        ASSERT_TRUE(doc.open(path, {}).ok());
        EXPECT_EQ(doc.m_nTokenCount, lines);
        ASSERT_EQ(doc.m_records.size(), std::size_t(FormantLimits::kRecords));
        for (int i = 0; i < FormantLimits::kRecords; ++i) {
            const FormantRecord &mine = doc.m_records[std::size_t(i)];
            const FormantRecord &theirs = read.records[std::size_t(i)];
            ASSERT_EQ(std::tuple(mine.formants, mine.labelLength, mine.label),
                      std::tuple(theirs.formants, theirs.labelLength, theirs.label))
                << "record " << i;
        }
        expectSameTable(doc.tokenTable(), read.table);

        QObject table;
        doc.attachTable(&table);
        EXPECT_EQ(shownRows(doc.tokens()), expectedRows(read.records, lines));
        EXPECT_EQ(doc.m_nTokenCount, lines);
        EXPECT_FALSE(doc.isModified());
    }
}

TEST(FormantOpen, ASecondFileReplacesTheFirstOnlyOnceItIsRead)
{
    const TestFiles files;
    const QString first = files.write(QStringLiteral("first.txt"), "500 1500 2500 \"a\"\n"
                                                                   "600 1600 2600 \"b\"\n");
    const QString second = files.write(QStringLiteral("second.txt"), "300 2300 \"i\"\n");
    const QString tooLong =
        files.write(QStringLiteral("long.txt"), QByteArray("400 1400 \"x\"\n").repeated(9999));
    const QString table = files.write(QStringLiteral("table.csv"), "vowel,F1,F2\nu,350,800\n");

    // A refused file leaves a fresh document's records empty, every one of them.
    CTessavoxDoc fresh;
    EXPECT_FALSE(fresh.open(tooLong, {}).ok());
    EXPECT_TRUE(
        std::all_of(fresh.m_records.begin(), fresh.m_records.end(), [](const FormantRecord &r) {
            return r.labelLength == 0 && r.label.empty() &&
                   r.formants == std::array<std::int32_t, 5>{};
        }));
    EXPECT_EQ(fresh.tokenTable().rowCount(), 0);

    CTessavoxDoc doc;
    ASSERT_TRUE(doc.open(first, {}).ok());
    EXPECT_EQ(doc.tokenTable().rowCount(), 2);
    ASSERT_TRUE(doc.open(second, {}).ok());
    EXPECT_EQ(doc.tokenTable().rowCount(), 1);
    EXPECT_EQ(doc.tokenTable().vowel(0), "i");
    EXPECT_EQ(labelOf(doc.m_records[0]), "i");
    EXPECT_EQ(doc.m_records[1].formants[0], 0) << "the first file's second line is gone";

    // The refused file changes nothing; the next one read replaces it all.
    EXPECT_FALSE(doc.open(tooLong, {}).ok());
    EXPECT_EQ(labelOf(doc.m_records[0]), "i");
    EXPECT_EQ(doc.m_nTokenCount, 1);
    EXPECT_EQ(doc.tokenTable().vowel(0), "i");
    ASSERT_TRUE(doc.open(table, {}).ok());
    EXPECT_TRUE(doc.isTableDocument());
    EXPECT_EQ(doc.tokenTable().vowel(0), "u");
    ASSERT_TRUE(doc.open(first, {}).ok());
    EXPECT_FALSE(doc.isTableDocument());
    EXPECT_EQ(doc.tokenTable().rowCount(), 2);
    EXPECT_EQ(doc.tokenTable().vowel(1), "b");
}

} // namespace
