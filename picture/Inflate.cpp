// DEFLATE decoding by canonical Huffman codes: a code of up to nine bits is found at
// one look in a table by the stream's next bits; a longer one is read a bit at a time
// and found among the codes of its length, counted from the first code of that length.
#include "picture/Inflate.h"

#include <cstring>

namespace procesor::render {
namespace {

constexpr int kMaxBits = 15;
constexpr int kLiteralCodes = 288;
constexpr int kDistanceCodes = 30;

constexpr int kFastBits = 9;

// How many codes each length has, and the symbols in the order of their codes; and
// for the codes of up to kFastBits bits, by the next kFastBits bits of the stream
// (its first bit lowest), the symbol and the code's length (symbol << 4 | length; 0
// where those bits begin a longer code), so that most codes are found at one look.
struct Huffman {
    std::uint16_t count[kMaxBits + 1];
    std::uint16_t symbol[kLiteralCodes];
    std::uint16_t fast[1 << kFastBits];
};

struct Stream {
    const std::uint8_t* in;
    std::size_t size;
    std::size_t at = 0; // next byte to take bits from
    std::uint32_t bits = 0; // bits taken but not used, lowest first
    int held = 0;
    bool broken = false;

    // At least 25 bits held, or all the stream has left.
    void fill() {
        while (held <= 24 && at < size) {
            bits |= std::uint32_t(in[at++]) << held;
            held += 8;
        }
    }

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
    // Each short code, its bits in the stream's order, with every choice of the bits
    // after it.
    std::memset(h.fast, 0, sizeof h.fast);
    for (int len = 1, code = 0, index = 0; len <= kFastBits; ++len, code <<= 1)
        for (int i = 0; i < h.count[len]; ++i, ++code, ++index) {
            int reversed = 0;
            for (int b = 0; b < len; ++b) reversed |= ((code >> b) & 1) << (len - 1 - b);
            for (int k = reversed; k < (1 << kFastBits); k += 1 << len)
                h.fast[k] = std::uint16_t(h.symbol[index] << 4 | len);
        }
    return true;
}

// The next symbol of code h; -1 where the bits are no code of it.
int decode(Stream& s, const Huffman& h) {
    if (s.held < kFastBits) s.fill();
    const int entry = h.fast[s.bits & ((1u << kFastBits) - 1)];
    if (entry != 0 && (entry & 15) <= s.held) {
        s.bits >>= entry & 15;
        s.held -= entry & 15;
        return entry >> 4;
    }
    // A longer code (or the stream's last bits): bit by bit.
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

// Copies `length` units of `unit` bytes from `distance` units back to unit `at`.
// The copy may overlap what it makes (a pattern of the last `distance` units,
// repeated): it goes in pieces, each as long as all that lies from the pattern's
// start, which doubles every time, so a long run takes a few copies.
void repeat(std::uint8_t* out, std::size_t at, std::size_t distance, std::size_t length,
            std::size_t unit) {
    const std::size_t from = at - distance;
    for (std::size_t left = length; left > 0;) {
        const std::size_t piece = left < at - from ? left : at - from;
        std::memcpy(out + unit * at, out + unit * from, unit * piece);
        at += piece;
        left -= piece;
    }
}

// Where the symbols go: bytes as they are (Bytes), or colour numbers as the 32-bit
// pixels of their colours (Colours). Each refuses what would not fit its room.
struct Bytes {
    std::uint8_t* out;
    std::size_t size;
    std::size_t at = 0;

    bool literal(int symbol) {
        if (at == size) return false;
        out[at++] = std::uint8_t(symbol);
        return true;
    }
    bool copy(std::size_t distance, std::size_t length) {
        if (distance > at || length > size - at) return false;
        repeat(out, at, distance, length, 1);
        at += length;
        return true;
    }
    bool stored(const std::uint8_t* in, std::size_t length) {
        if (length > size - at) return false;
        // (An empty block may come with no room at all: no copy, not even of nothing.)
        if (length > 0) std::memcpy(out + at, in, length);
        at += length;
        return true;
    }
};

struct Colours {
    std::uint8_t* out; // 4 bytes a pixel
    std::size_t size; // pixels
    const std::uint32_t* palette;
    std::size_t colours;
    std::size_t at = 0;

    bool literal(int symbol) {
        if (at == size || std::size_t(symbol) >= colours) return false;
        std::memcpy(out + 4 * at++, &palette[symbol], 4);
        return true;
    }
    bool copy(std::size_t distance, std::size_t length) {
        if (distance > at || length > size - at) return false;
        repeat(out, at, distance, length, 4);
        at += length;
        return true;
    }
    bool stored(const std::uint8_t* in, std::size_t length) {
        if (length > size - at) return false;
        for (std::size_t i = 0; i < length; ++i)
            if (!literal(in[i])) return false;
        return true;
    }
};

// One block's symbols up to its end code.
template <typename Out>
bool codes(Stream& s, Out& o, const Huffman& literals, const Huffman& distances) {
    for (;;) {
        int symbol = decode(s, literals);
        if (symbol < 0 || s.broken) return false;
        if (symbol < 256) {
            if (!o.literal(symbol)) return false;
            continue;
        }
        if (symbol == 256) return true;
        symbol -= 257;
        if (symbol >= 29) return false;
        const std::size_t length = kLengthBase[symbol] + s.take(kLengthExtra[symbol]);
        const int d = decode(s, distances);
        if (d < 0 || d >= kDistanceCodes) return false;
        const std::size_t distance = kDistanceBase[d] + s.take(kDistanceExtra[d]);
        if (s.broken || !o.copy(distance, length)) return false;
    }
}

template <typename Out>
bool stored(Stream& s, Out& o) {
    // The rest of the current byte is unused; whole bytes taken ahead go back.
    s.at -= std::size_t(s.held / 8);
    s.bits = 0;
    s.held = 0;
    if (s.size - s.at < 4) return false;
    const std::size_t length = s.in[s.at] | s.in[s.at + 1] << 8;
    const std::size_t complement = s.in[s.at + 2] | s.in[s.at + 3] << 8;
    s.at += 4;
    if ((length ^ 0xffff) != complement || length > s.size - s.at || !o.stored(s.in + s.at, length)) return false;
    s.at += length;
    return true;
}

template <typename Out>
bool fixed(Stream& s, Out& o) {
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

template <typename Out>
bool dynamic(Stream& s, Out& o) {
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

template <typename Out>
bool run(const std::uint8_t* packed, std::size_t packedSize, Out& o) {
    Stream s{packed, packedSize};
    for (bool last = false; !last;) {
        last = s.take(1) != 0;
        const std::uint32_t type = s.take(2);
        if (s.broken) return false;
        const bool ok = type == 0 ? stored(s, o) : type == 1 ? fixed(s, o) : type == 2 ? dynamic(s, o) : false;
        if (!ok) return false;
    }
    return o.at == o.size;
}

} // namespace

bool inflate(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out, std::size_t outSize) {
    Bytes o{out, outSize};
    return run(packed, packedSize, o);
}

bool inflateColours(const std::uint8_t* packed, std::size_t packedSize, const std::uint32_t* palette,
                    std::size_t colours, std::uint8_t* pixels, std::size_t count) {
    Colours o{pixels, count, palette, colours};
    return run(packed, packedSize, o);
}

} // namespace procesor::render
