// Any bytes through the TextGrid reader: it must not crash, overrun, hang or allocate beyond
// the input's size; a grid it accepts has intervals that end no earlier than they start, and
// a refusal says what and where.

#include "measure/textgrid.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(int line)
{
    std::fprintf(stderr, "requirement failed on line %d\n", line);
    std::abort();
}

#define require(condition) ((condition) ? void() : fail(__LINE__))

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const TextGridReadResult result = ParseTextGrid(bytes);
    if (!result.ok()) {
        require(result.grid.tiers.empty());
        require(result.line >= 0);
        return 0;
    }
    for (const TextGridTier &tier : result.grid.tiers) {
        require(tier.line > 0);
        for (const TextGridItem &item : tier.items) {
            require(item.end >= item.start);
            require(tier.intervals || item.end == item.start);
            // Lookups at and around every item stay within the tier.
            (void)tier.labelAt(item.start);
            (void)tier.labelAt(item.end);
        }
    }
    return 0;
}
