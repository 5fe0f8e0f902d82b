// DEFLATE decoding by canonical Huffman codes: each code is read one bit at a time and
// found among the codes of its length, counted from the first code of that length.
#include "picture/Inflate.h"

#include <cstring>

namespace procesor::render {
namespace {

constexpr int kMaxBits = 15;
constexpr int kLiteralCodes = 288;
constexpr int kDistanceCodes = 30;

// How many codes each length has, and the symbols in the order of their codes.
struct Huffman {
    std::uint16_t count[kMaxBits + 1];
    std::uint16_t symbol[kLiteralCodes];
};

struct Stream {
    const std::uint8_t* in;
    std::size_t size;
    std::size_t at = 0; // next byte to take bits from
    std::uint32_t bits = 0; // bits taken but not used, lowest first
    int held = 0;
    bool broken = false;

    // The next n bits (n <= 16), the first in the lowest place; 0 past the end.
    std::uint32_t take(int n) {
        while (held < n) {
            if (at == size) {
                broken = true;
                return 0;
            }
            bits |= std::uint32_t(in[at++]) << held;
            held += 8;
        }
        const std::uint32_t value = bits & ((1u << n) - 1);
        bits >>= n;
        held -= n;
        return value;
    }
};

// Builds the code from each symbol's length (0: no code). False where the lengths
// ask for more codes than there are (a stream nobody could have written); a code
// with too few is kept, its missing codes refused when read.
bool build(Huffman& h, const std::uint8_t* lengths, int n) {
    std::memset(h.count, 0, sizeof h.count);
    for (int s = 0; s < n; ++s) ++h.count[lengths[s]];
    int left = 1;
    for (int len = 1; len <= kMaxBits; ++len) {
        left = 2 * left - h.count[len];
        if (left < 0) return false;
    }
    std::uint16_t offset[kMaxBits + 1];
    offset[1] = 0;
    for (int len = 1; len < kMaxBits; ++len) offset[len + 1] = std::uint16_t(offset[len] + h.count[len]);
    for (int s = 0; s < n; ++s)
        if (lengths[s] != 0) h.symbol[offset[lengths[s]]++] = std::uint16_t(s);
    return true;
}

// The next symbol of code h; -1 where the bits are no code of it.
int decode(Stream& s, const Huffman& h) {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
        code |= int(s.take(1));
        const int count = h.count[len];
        if (code - first < count) return h.symbol[index + code - first];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[kDistanceCodes] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[kDistanceCodes] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

struct Output {
    std::uint8_t* out;
    std::size_t size;
    std::size_t at = 0;
};

// One block's symbols up to its end code.
bool codes(Stream& s, Output& o, const Huffman& literals, const Huffman& distances) {
    for (;;) {
        int symbol = decode(s, literals);
        if (symbol < 0 || s.broken) return false;
        if (symbol < 256) {
            if (o.at == o.size) return false;
            o.out[o.at++] = std::uint8_t(symbol);
            continue;
        }
        if (symbol == 256) return true;
        symbol -= 257;
        if (symbol >= 29) return false;
        const std::size_t length = kLengthBase[symbol] + s.take(kLengthExtra[symbol]);
        const int d = decode(s, distances);
        if (d < 0 || d >= kDistanceCodes) return false;
        const std::size_t distance = kDistanceBase[d] + s.take(kDistanceExtra[d]);
        if (s.broken || distance > o.at || length > o.size - o.at) return false;
        // A copy may overlap what it makes (a run of what the last `distance` bytes
        // hold): then it goes in pieces of `distance` bytes, each after the last.
        if (distance == 1) {
            std::memset(o.out + o.at, o.out[o.at - 1], length);
            o.at += length;
            continue;
        }
        for (std::size_t left = length; left > 0;) {
            const std::size_t piece = left < distance ? left : distance;
            std::memcpy(o.out + o.at, o.out + o.at - distance, piece);
            o.at += piece;
            left -= piece;
        }
    }
}

bool stored(Stream& s, Output& o) {
    s.bits = 0;
    s.held = 0; // the rest of the current byte is unused
    if (s.size - s.at < 4) return false;
    const std::size_t length = s.in[s.at] | s.in[s.at + 1] << 8;
    const std::size_t complement = s.in[s.at + 2] | s.in[s.at + 3] << 8;
    s.at += 4;
    if ((length ^ 0xffff) != complement || length > s.size - s.at || length > o.size - o.at) return false;
    // (An empty block may come with no room at all: no copy, not even of nothing.)
    if (length > 0) std::memcpy(o.out + o.at, s.in + s.at, length);
    s.at += length;
    o.at += length;
    return true;
}

bool fixed(Stream& s, Output& o) {
    static Huffman literals, distances;
    static bool made = false;
    if (!made) {
        std::uint8_t lengths[kLiteralCodes];
        for (int c = 0; c < kLiteralCodes; ++c) lengths[c] = c < 144 ? 8 : c < 256 ? 9 : c < 280 ? 7 : 8;
        build(literals, lengths, kLiteralCodes);
        std::memset(lengths, 5, kDistanceCodes);
        build(distances, lengths, kDistanceCodes);
        made = true;
    }
    return codes(s, o, literals, distances);
}

bool dynamic(Stream& s, Output& o) {
    const int nLiterals = int(s.take(5)) + 257;
    const int nDistances = int(s.take(5)) + 1;
    const int nLengthCodes = int(s.take(4)) + 4;
    if (s.broken || nLiterals > 286 || nDistances > kDistanceCodes) return false;
    static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::uint8_t lengths[286 + kDistanceCodes] = {};
    for (int i = 0; i < nLengthCodes; ++i) lengths[kOrder[i]] = std::uint8_t(s.take(3));
    Huffman lengthCode;
    if (s.broken || !build(lengthCode, lengths, 19)) return false;
    const int total = nLiterals + nDistances;
    for (int i = 0; i < total;) {
        const int symbol = decode(s, lengthCode);
        if (symbol < 0 || s.broken) return false;
        if (symbol < 16) {
            lengths[i++] = std::uint8_t(symbol);
            continue;
        }
        std::uint8_t value = 0;
        int repeat;
        if (symbol == 16) {
            if (i == 0) return false;
            value = lengths[i - 1];
            repeat = 3 + int(s.take(2));
        } else if (symbol == 17) {
            repeat = 3 + int(s.take(3));
        } else {
            repeat = 11 + int(s.take(7));
        }
        if (s.broken || i + repeat > total) return false;
        while (repeat-- > 0) lengths[i++] = value;
    }
    if (lengths[256] == 0) return false; // a block without its end
    Huffman literals, distances;
    if (!build(literals, lengths, nLiterals) || !build(distances, lengths + nLiterals, nDistances)) return false;
    return codes(s, o, literals, distances);
}

} // namespace

bool inflate(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out, std::size_t outSize) {
    Stream s{packed, packedSize};
    Output o{out, outSize};
    for (bool last = false; !last;) {
        last = s.take(1) != 0;
        const std::uint32_t type = s.take(2);
        if (s.broken) return false;
        const bool ok = type == 0 ? stored(s, o) : type == 1 ? fixed(s, o) : type == 2 ? dynamic(s, o) : false;
        if (!ok) return false;
    }
    return o.at == outSize;
}

bool paintFromPalette(std::uint8_t* pixels, std::size_t count, const std::uint32_t* palette,
                      std::size_t colours) {
    if (colours > 16) colours = 16;
    // Each byte of numbers, two pixels, made at once: its two colours by the byte,
    // or no pair where either number is not below `colours`.
    std::uint32_t pairs[256][2];
    bool known[256];
    for (int b = 0; b < 256; ++b) {
        known[b] = std::size_t(b >> 4) < colours && std::size_t(b & 15) < colours;
        pairs[b][0] = known[b] ? palette[b >> 4] : 0;
        pairs[b][1] = known[b] ? palette[b & 15] : 0;
    }
    const std::uint8_t* numbers = pixels + 4 * count - numberBytes(count);
    // Pixels 2j and 2j + 1 take bytes 8j..8j+7, never beyond number byte j, read first.
    const std::size_t whole = count / 2;
    for (std::size_t j = 0; j < whole; ++j) {
        const std::uint8_t two = numbers[j];
        if (!known[two]) return false;
        std::memcpy(pixels + 8 * j, pairs[two], 8);
    }
    if (count % 2 != 0) {
        const std::size_t last = numbers[whole] >> 4;
        if (last >= colours) return false;
        std::memcpy(pixels + 8 * whole, &palette[last], 4);
    }
    return true;
}

} // namespace procesor::render
