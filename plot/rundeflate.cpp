#include "plot/rundeflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

// The literal/length alphabet: bytes, the end of a block, then 29 codes for copy lengths.
constexpr int kLiteralCodes = 286;
constexpr int kEndOfBlock = 256;
constexpr int kMinCopy = 3;
constexpr int kMaxCopy = 258;
constexpr int kMaxCodeBits = 15;
constexpr int kMaxLengthCodeBits = 7;
// Tokens a block holds: enough that its code tables cost little beside its data.
constexpr std::size_t kBlockTokens = std::size_t(1) << 15;
constexpr std::size_t kMaxStored = 65535;

// A token is a byte (0-255) or a copy of the byte before, 256 + its length less three.
using Token = std::uint16_t;

struct LengthCode
{
    std::uint16_t symbol = 0;
    std::uint8_t extraBits = 0;
    std::uint16_t extra = 0;
};

// The shortest copy each length code stands for, and the bits after it that say how much
// longer the copy is.
constexpr std::array<int, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                          15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                          67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtraBits{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// The code of each copy length, 3 to 258, with the bits that follow it.
constexpr std::array<LengthCode, kMaxCopy - kMinCopy + 1> makeLengthCodes()
{
    std::array<LengthCode, kMaxCopy - kMinCopy + 1> codes{};
    for (int length = kMinCopy; length <= kMaxCopy; ++length) {
        int c = int(kLengthBase.size()) - 1;
        while (kLengthBase[c] > length)
            --c;
        codes[length - kMinCopy] = {std::uint16_t(kEndOfBlock + 1 + c),
                                    std::uint8_t(kLengthExtraBits[c]),
                                    std::uint16_t(length - kLengthBase[c])};
    }
    return codes;
}
constexpr auto kLengthCodes = makeLengthCodes();

int symbolOf(Token token)
{
    return token < 256 ? token : kLengthCodes[token - 256].symbol;
}

// Bits in the order the format packs them: from the low bit of each byte up. Writes into
// room made beforehand, so that a bit costs no check for space.
class BitWriter
{
public:
    explicit BitWriter(std::vector<uchar> &out) : m_out(out), m_size(out.size()) {}

    // Room for `bytes` more bytes; the writes up to there need no other check.
    void reserve(std::size_t bytes)
    {
        if (m_out.size() < m_size + bytes + 8)
            m_out.resize(std::max(m_out.size() * 2, m_size + bytes + 8));
    }
    void put(std::uint32_t value, int count)
    {
        m_bits |= std::uint64_t(value) << m_count;
        m_count += count;
        if (m_count >= 32) {
            uchar *at = m_out.data() + m_size;
            for (int i = 0; i < 4; ++i)
                at[i] = uchar(m_bits >> (8 * i));
            m_size += 4;
            m_bits >>= 32;
            m_count -= 32;
        }
    }
    void alignToByte()
    {
        for (; m_count > 0; m_count -= 8) {
            m_out[m_size++] = uchar(m_bits);
            m_bits >>= 8;
        }
        m_bits = 0;
        m_count = 0;
    }
    // Whole bytes, after alignToByte().
    void putBytes(std::span<const uchar> bytes)
    {
        std::copy(bytes.begin(), bytes.end(), m_out.begin() + std::ptrdiff_t(m_size));
        m_size += bytes.size();
    }
    // The bytes written, all bits aligned.
    void finish()
    {
        alignToByte();
        m_out.resize(m_size);
    }

private:
    std::vector<uchar> &m_out;
    std::size_t m_size; // bytes written to m_out
    std::uint64_t m_bits = 0;
    int m_count = 0;
};

// Lengths of a Huffman code for `frequencies`, none longer than `maxBits`. Symbols that
// never occur get none; at least two symbols get one, so every decoder takes the code.
template <std::size_t N>
std::array<std::uint8_t, N> codeLengths(std::array<std::uint32_t, N> frequencies, int maxBits)
{
    for (std::size_t s = 0; std::count_if(frequencies.begin(), frequencies.end(),
                                          [](std::uint32_t f) { return f > 0; }) < 2;
         ++s)
        frequencies[s] = std::max<std::uint32_t>(frequencies[s], 1);
    for (;;) {
        // The two-queue construction over the leaves in order of frequency: merged nodes
        // come out in order of weight, so the lightest two are always at the queues' heads.
        std::vector<std::uint32_t> leaves;
        for (std::size_t s = 0; s < N; ++s) {
            if (frequencies[s] > 0)
                leaves.push_back(std::uint32_t(s));
        }
        std::stable_sort(leaves.begin(), leaves.end(), [&](std::uint32_t a, std::uint32_t b) {
            return frequencies[a] < frequencies[b];
        });
        const std::size_t n = leaves.size();
        std::vector<std::uint64_t> weight(2 * n - 1);
        std::vector<std::size_t> parent(2 * n - 1);
        for (std::size_t i = 0; i < n; ++i)
            weight[i] = frequencies[leaves[i]];
        std::size_t nextLeaf = 0;
        std::size_t nextNode = n;
        const auto lightest = [&](std::size_t end) {
            if (nextLeaf < n && (nextNode == end || weight[nextLeaf] <= weight[nextNode]))
                return nextLeaf++;
            return nextNode++;
        };
        for (std::size_t end = n; end < 2 * n - 1; ++end) {
            const std::size_t a = lightest(end);
            const std::size_t b = lightest(end);
            weight[end] = weight[a] + weight[b];
            parent[a] = parent[b] = end;
        }
        // A parent comes after its children, so depths fill in from the root down.
        std::vector<int> depth(2 * n - 1, 0);
        for (std::size_t i = 2 * n - 1; i-- > 0;) {
            if (i != 2 * n - 2)
                depth[i] = depth[parent[i]] + 1;
        }
        if (*std::max_element(depth.begin(), depth.begin() + std::ptrdiff_t(n)) <= maxBits) {
            std::array<std::uint8_t, N> lengths{};
            for (std::size_t i = 0; i < n; ++i)
                lengths[leaves[i]] = std::uint8_t(depth[i]);
            return lengths;
        }
        // Too deep: flatten the frequencies and build again. All ones gives a balanced
        // tree, well within the limit for these alphabets.
        for (std::uint32_t &f : frequencies)
            f = f == 0 ? 0 : (f + 1) / 2;
    }
}

// The canonical codes of `lengths`, bit-reversed for writing from the low bit up.
template <std::size_t N>
std::array<std::uint16_t, N> canonicalCodes(const std::array<std::uint8_t, N> &lengths)
{
    std::array<int, kMaxCodeBits + 1> count{};
    for (std::uint8_t length : lengths)
        ++count[length];
    count[0] = 0;
    std::array<int, kMaxCodeBits + 2> next{};
    for (int bits = 1; bits <= kMaxCodeBits; ++bits)
        next[bits + 1] = (next[bits] + count[bits]) << 1;
    std::array<std::uint16_t, N> codes{};
    for (std::size_t s = 0; s < N; ++s) {
        const int length = lengths[s];
        if (length == 0)
            continue;
        const int code = next[length]++;
        int reversed = 0;
        for (int b = 0; b < length; ++b)
            reversed |= ((code >> b) & 1) << (length - 1 - b);
        codes[s] = std::uint16_t(reversed);
    }
    return codes;
}

// The code lengths of both alphabets as the block header sends them: each length, or a
// repeat of the one before (16), or a run of zeros (17, 18), with its repeat count.
struct HeaderLength
{
    std::uint8_t symbol;
    std::uint8_t repeat;
};
constexpr std::array<int, 19> kExtraRepeatBits{0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                               0, 0, 0, 0, 0, 0, 2, 3, 7};

std::vector<HeaderLength> runsOfLengths(const std::vector<std::uint8_t> &lengths)
{
    std::vector<HeaderLength> out;
    for (std::size_t i = 0; i < lengths.size();) {
        const std::uint8_t value = lengths[i];
        std::size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == value)
            ++run;
        i += run;
        if (value == 0) {
            for (; run >= 11; run -= std::min<std::size_t>(run, 138))
                out.push_back({18, std::uint8_t(std::min<std::size_t>(run, 138) - 11)});
            if (run >= 3) {
                out.push_back({17, std::uint8_t(run - 3)});
                run = 0;
            }
        } else {
            out.push_back({value, 0});
            --run;
            for (; run >= 3; run -= std::min<std::size_t>(run, 6))
                out.push_back({16, std::uint8_t(std::min<std::size_t>(run, 6) - 3)});
        }
        for (; run > 0; --run)
            out.push_back({value, 0});
    }
    return out;
}

void writeStored(BitWriter &bits, std::span<const uchar> raw, bool last)
{
    std::size_t done = 0;
    do {
        const std::size_t size = std::min(raw.size() - done, kMaxStored);
        const bool final = last && done + size == raw.size();
        bits.reserve(size + 8);
        bits.put(final ? 1 : 0, 3);
        bits.alignToByte();
        const std::array<uchar, 4> header{uchar(size), uchar(size >> 8), uchar(~size),
                                          uchar(~size >> 8)};
        bits.putBytes(header);
        bits.putBytes(raw.subspan(done, size));
        done += size;
    } while (done < raw.size());
}

// One block of `tokens`, which stand for the bytes `raw`.
void writeBlock(BitWriter &bits, const std::vector<Token> &tokens,
                std::array<std::uint32_t, kLiteralCodes> frequencies, std::span<const uchar> raw,
                bool last)
{
    frequencies[kEndOfBlock] = 1;
    const auto lengths = codeLengths(frequencies, kMaxCodeBits);
    const auto codes = canonicalCodes(lengths);
    // Copies are all of the byte before, distance code 0. A second, unused distance code
    // keeps the distance code complete for decoders that want it so.
    std::size_t literalCount = kLiteralCodes;
    while (literalCount > 257 && lengths[literalCount - 1] == 0)
        --literalCount;
    std::vector<std::uint8_t> allLengths(lengths.begin(),
                                         lengths.begin() + std::ptrdiff_t(literalCount));
    allLengths.insert(allLengths.end(), {1, 1});
    const std::vector<HeaderLength> header = runsOfLengths(allLengths);
    std::array<std::uint32_t, 19> headerFrequencies{};
    for (const HeaderLength &h : header)
        ++headerFrequencies[h.symbol];
    const auto headerLengths = codeLengths(headerFrequencies, kMaxLengthCodeBits);
    const auto headerCodes = canonicalCodes(headerLengths);
    static constexpr std::array<int, 19> kOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                11, 4,  12, 3, 13, 2, 14, 1, 15};
    int orderCount = 19;
    while (orderCount > 4 && headerLengths[kOrder[orderCount - 1]] == 0)
        --orderCount;

    // Stored when that is smaller: bytes that do not repeat, such as noise.
    std::uint64_t size = 3 + 5 + 5 + 4 + 3 * std::uint64_t(orderCount);
    for (const HeaderLength &h : header)
        size += headerLengths[h.symbol] + kExtraRepeatBits[h.symbol];
    // A copy pays its extra bits and a one-bit distance on top of its code.
    for (int s = 0; s < kLiteralCodes; ++s) {
        const int extra = s > kEndOfBlock ? kLengthExtraBits[s - kEndOfBlock - 1] + 1 : 0;
        size += std::uint64_t(frequencies[s]) * std::uint64_t(lengths[s] + extra);
    }
    const std::uint64_t storedPieces =
        std::max<std::uint64_t>(1, (raw.size() + kMaxStored - 1) / kMaxStored);
    if ((raw.size() + 5 * storedPieces) * 8 <= size) {
        writeStored(bits, raw, last);
        return;
    }

    bits.reserve(std::size_t(size / 8));
    bits.put(last ? 1 : 0, 1);
    bits.put(2, 2); // Huffman codes of the block's own
    bits.put(std::uint32_t(literalCount - 257), 5);
    bits.put(2 - 1, 5);
    bits.put(std::uint32_t(orderCount - 4), 4);
    for (int i = 0; i < orderCount; ++i)
        bits.put(headerLengths[kOrder[i]], 3);
    for (const HeaderLength &h : header) {
        bits.put(headerCodes[h.symbol], headerLengths[h.symbol]);
        bits.put(h.repeat, kExtraRepeatBits[h.symbol]);
    }
    for (Token t : tokens) {
        if (t < 256) {
            bits.put(codes[t], lengths[t]);
        } else {
            const LengthCode &c = kLengthCodes[t - 256];
            bits.put(codes[c.symbol], lengths[c.symbol]);
            bits.put(c.extra, c.extraBits);
            bits.put(0, 1);
        }
    }
    bits.put(codes[kEndOfBlock], lengths[kEndOfBlock]);
}

// The stream's checksum (Adler-32), kept token by token: a repeat of one byte adds in
// closed form, so a long run costs no more than a single byte.
class RunChecksum
{
public:
    void addByte(uchar value)
    {
        m_a += value;
        m_b += m_a;
        counted();
    }
    void addRepeats(uchar value, std::uint64_t count)
    {
        m_b += count * m_a + value * count * (count + 1) / 2;
        m_a += count * value;
        counted();
    }
    std::uint32_t value()
    {
        reduce();
        return std::uint32_t(m_b << 16 | m_a);
    }

private:
    static constexpr std::uint64_t kModulus = 65521;
    // After this many tokens of at most 258 bytes each, the sums are still far from
    // overflowing 64 bits.
    static constexpr int kTokensBetweenReductions = 1024;

    void counted()
    {
        if (++m_pending == kTokensBetweenReductions)
            reduce();
    }
    void reduce()
    {
        m_a %= kModulus;
        m_b %= kModulus;
        m_pending = 0;
    }

    std::uint64_t m_a = 1;
    std::uint64_t m_b = 0;
    int m_pending = 0;
};

// How many bytes from `data` on, up to `limit`, equal `value`.
std::size_t runLength(const uchar *data, uchar value, std::size_t limit)
{
    std::size_t k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Eight bytes at a time; the first that differs is the lowest set byte.
        const std::uint64_t pattern = 0x0101010101010101ull * value;
        for (; k + 8 <= limit; k += 8) {
            std::uint64_t word;
            std::memcpy(&word, data + k, 8);
            if (const std::uint64_t diff = word ^ pattern; diff != 0)
                return k + std::size_t(std::countr_zero(diff) / 8);
        }
    }
    while (k < limit && data[k] == value)
        ++k;
    return k;
}

} // namespace

std::vector<uchar> RunDeflate(std::span<const uchar> data)
{
    std::vector<uchar> out;
    out.reserve(data.size() / 8 + 64);
    // The stream's header: deflate with a 32 KB window, fastest compression.
    out.push_back(0x78);
    out.push_back(0x01);
    BitWriter bits(out);
    std::vector<Token> tokens;
    tokens.reserve(kBlockTokens);
    const uchar *bytes = data.data();
    const std::size_t size = data.size();
    std::size_t pos = 0;
    RunChecksum checksum;
    for (bool last = false; !last;) {
        tokens.clear();
        std::array<std::uint32_t, kLiteralCodes> frequencies{};
        const std::size_t blockStart = pos;
        while (pos < size && tokens.size() < kBlockTokens) {
            const std::size_t copy = pos > 0 && bytes[pos] == bytes[pos - 1]
                                         ? runLength(bytes + pos, bytes[pos - 1],
                                                     std::min<std::size_t>(size - pos, kMaxCopy))
                                         : 0;
            if (copy >= kMinCopy) {
                const Token t = Token(256 + copy - kMinCopy);
                tokens.push_back(t);
                ++frequencies[symbolOf(t)];
                checksum.addRepeats(bytes[pos], copy);
                pos += copy;
            } else {
                tokens.push_back(bytes[pos]);
                ++frequencies[bytes[pos]];
                checksum.addByte(bytes[pos]);
                ++pos;
            }
        }
        last = pos == size;
        writeBlock(bits, tokens, frequencies, data.subspan(blockStart, pos - blockStart), last);
    }
    bits.finish();
    const std::uint32_t sum = checksum.value();
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uchar(sum >> shift));
    return out;
}
