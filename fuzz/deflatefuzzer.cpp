// The chart PNG's compressor: whatever the bytes, zlib must inflate the stream back to them
// (its checksum included), and the stream must never be much larger than the bytes. An input
// whose first byte is odd is read as pairs of run length and value, for the long runs of one
// colour a chart has.

#include "plot/rundeflate.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<uchar> bytes;
    if (size > 0 && data[0] % 2 == 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2)
            bytes.insert(bytes.end(), std::size_t(data[i]) * 8 + 1, data[i + 1]);
    } else {
        bytes.assign(data, data + size);
    }
    const std::vector<uchar> compressed = RunDeflate(bytes);
    require(compressed.size() <= bytes.size() + bytes.size() / 1000 + 16);
    std::vector<uchar> back(bytes.size() + 1);
    uLongf backSize = uLongf(back.size());
    require(uncompress(back.data(), &backSize, compressed.data(), uLong(compressed.size())) ==
            Z_OK);
    require(backSize == bytes.size());
    require(std::equal(bytes.begin(), bytes.end(), back.begin()));
    return 0;
}
