// Any bytes through the Formant file reader: it must not crash, overrun or hang, and
// every record it returns must fit the record layout.

#include "document/formantreader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isZero(const FormantRecord &record)
{
    return record.labelLength == 0 && record.label.empty() &&
           std::all_of(record.formants.begin(), record.formants.end(),
                       [](std::int32_t f) { return f == 0; });
}

void checkRecord(const FormantRecord &record)
{
    const int length = record.labelLength;
    require(length >= 0 && length <= FormantLimits::kLabelBytes);
    for (std::int32_t formant : record.formants)
        require(formant >= 0);
    // A label stops at a quote or a line end, so neither can be inside it.
    require(record.label.size() >= std::size_t(length));
    for (int i = 0; i < length; ++i)
        require(record.label[i] != '"' && record.label[i] != '\r' && record.label[i] != '\n');
    // After the label: its closing quote at most.
    const std::size_t size = record.label.size();
    require(size == std::size_t(length) ||
            (size == std::size_t(length) + 1 && record.label.back() == '"'));
}

bool sameRecord(const FormantRecord &a, const FormantRecord &b)
{
    return a.labelLength == b.labelLength && a.label == b.label && a.formants == b.formants;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Kept between runs: clearing 10,000 records every time would dominate the run time,
    // so only the records a run wrote are cleared after it.
    static std::vector<FormantRecord> records(FormantLimits::kRecords);
    static std::vector<FormantRecord> few(8);

    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const FormantReadResult result = ParseFormantText(text, records);

    const auto lineEnds =
        std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; });
    require(result.tokenCount >= 0 && result.tokenCount <= FormantLimits::kTokenLines);
    require(result.tokenCount <= lineEnds + 1);
    if (result.status == FormantReadResult::Status::Ok) {
        for (int i = 0; i < result.tokenCount; ++i)
            checkRecord(records[std::size_t(i)]);
        // A trailing line that was no token line must leave nothing behind.
        require(isZero(records[std::size_t(result.tokenCount)]));
    } else {
        require(result.status == FormantReadResult::Status::TooLong);
        require(result.tokenCount == 0);
        require(std::all_of(records.begin(), records.end(), isZero));
    }

    // The same text into a small table: the same records while they fit, refused as too
    // long (and left empty) once they do not.
    const FormantReadResult small = ParseFormantText(text, few);
    if (result.status == FormantReadResult::Status::Ok &&
        std::size_t(result.tokenCount) < few.size()) {
        require(small.status == FormantReadResult::Status::Ok);
        require(small.tokenCount == result.tokenCount);
        for (int i = 0; i < result.tokenCount; ++i)
            require(sameRecord(few[std::size_t(i)], records[std::size_t(i)]));
    } else {
        require(small.status == FormantReadResult::Status::TooLong);
        require(std::all_of(few.begin(), few.end(), isZero));
    }

    std::fill(records.begin(), records.begin() + result.tokenCount, FormantRecord{});
    std::fill(few.begin(), few.end(), FormantRecord{});
    return 0;
}
