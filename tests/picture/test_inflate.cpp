// The start picture's unpacking: DEFLATE streams written by zlib (stored, fixed and
// dynamic codes, several blocks with copies reaching back across them) make exactly
// the bytes zlib packed, or as colour numbers exactly their colours, and no damaged stream — cut short, one byte changed, a room
// of the wrong size — writes outside its room or is taken for a whole picture.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture/Inflate.h"
#include "tests/support/PlainCheck.h"

using namespace procesor::render;

namespace {

// zlib 1.2 (level 0; level 9 with Z_FIXED; level 9 with a sync flush after 1,500 bytes),
// raw DEFLATE, of data(40) and data(3000).
constexpr const char* kStored =
    "012800d7ff00112233445566778800112233445566778800112233445566778800112233445566778800112233";
constexpr const char* kFixed =
    "6310543276094d2bef6018da0c5e2e2e6e6e0e0e4e3636767616165656262666660646463e7e3e3e5e5e1e1e6e6e2e4e"
    "4e0e0e7676363656561616662626464606067e7e3e46a042907a903ea0764ea0293c3cbcbc7c7cfcfc0c0c4049262690"
    "7a903ea076a0295c20d340fa80da9981c680ed636585dace09d407d20eb61d683d1b3bd83a903ea0f5fc50c780f401b5"
    "831d035408d400b20e6c3b17e33001433f454118a088e7448e783e68c443930552c4f323473c1b3815727181239e0339"
    "e2191960a910642a3ce2b9b9811a40a909a41d640c2415f27142d21d2c1582d31d1313cc31c0f40ad20e4ff510dbc18e"
    "e101670958aa671926605814564006ac3c80463c2b72c42397075c5cc811cf8c887850b2004a228a3ba488e785264a36"
    "48f9c38c28eef8206521ac306465452aee20b6430b4358a204dbc7072fee80a6b143b204244ff0b00f13c0304cea41f4"
    "f20011f1bcc811cf06aa0441c90256cf31236a4148c44393052372718714f1bc90b2901156cf418b3b70ba83a54290a9"
    "b07a0e52dc81cb42586108290ba1a91e960aa175300bd73001c3a51ee4446efe2095076cc811cf8914f1c07805a52678"
    "f38703b9f9c3084f16b07a0e560bc2522138598024e1c51dc814782d08b11d940aa1f51c3cd5439b7e90c2908707a9b8"
    "03a742de610200";
constexpr const char* kDynamic =
    "dc94d98d83210c84b90f73292d6c0bdbc2b6b02da485b490b2333690d0427e9e90f0e7b13483d5ede7f7effffe78aaef"
    "be34a25252ca21c4e89cf7c658abb4eea3f7d66a2d85724e29c610bc77ce1aa3b55263748d42ae670e7846975a5beb7d"
    "0ca5f0680cd733071c5d88bb3107dca28de879bfd43338c6451df2218a1c73901f6b18e680cb302804c072a24efa22e7"
    "fb13352f6c7c3e8defcbf8158bc3f8711a1f248544627c3a8dd76aa790bbbe8d2f0500a789716e3353d8f3ccdd4ea1e4"
    "ce983d0cf2caf83bf5535d86a9f22576eadd45ce2596152e7b1f2ce3fd69fcb90f884ee3edc7788e051e3febee30becd"
    "50be000000ffffdd964b0ec5200c031feabf82deffb8af89e360f508618b44161ec6312c0cb465eaee810b29c36d13dd"
    "617ac89050fabc2775f7be76e04be04ff4a3c8f915e9c1af0f66f04383dfad040d0bf6dc325b10c107164d7527c10fb8"
    "b0b1e74277ce1d29b457d973d09dbb9032840b837a52181dbcde454e951ebc74fd111fec1afc25c1bfb91a4db9fe9cba"
    "feb4c4823dc71624858e855da6eeec956c414c370aa3e792fa58fd20c3de45774ee12872fe";

// The bytes packed above: in turn 200 of a pattern of nine byte values, 200 of a
// pattern of four bits, 200 of one byte (a run).
std::vector<std::uint8_t> data(int n) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < n; ++i) {
        const int part = (i / 200) % 3;
        out.push_back(part == 0 ? std::uint8_t((i % 9) * 17)
                      : part == 1 ? std::uint8_t(((i * 7) / 13 ^ (i >> 5)) & 15)
                                  : std::uint8_t((i / 600) * 3 + 1));
    }
    return out;
}

std::vector<std::uint8_t> bytes(const char* hex) {
    std::vector<std::uint8_t> out;
    for (std::string h = hex; out.size() * 2 < h.size();)
        out.push_back(std::uint8_t(std::stoi(h.substr(out.size() * 2, 2), nullptr, 16)));
    return out;
}

// Unpacks into a room of exactly `size` bytes (so that the sanitizer sees any byte
// written beyond it); the bytes made, or nothing.
std::optional<std::vector<std::uint8_t>> unpacked(const std::vector<std::uint8_t>& packed, std::size_t size) {
    std::vector<std::uint8_t> out(size);
    if (!inflate(packed.data(), packed.size(), out.data(), out.size())) return std::nullopt;
    return out;
}

// The streams above, each with the number of bytes it makes.
const struct {
    const char* name;
    const char* hex;
    int size;
} kStreams[] = {{"stored", kStored, 40}, {"fixed", kFixed, 3000}, {"dynamic", kDynamic, 3000}};

} // namespace

TEST_CASE(streamsOfEveryBlockKindMakeZlibsBytes) {
    for (const auto& s : kStreams) {
        CONTEXT(s.name);
        const std::vector<std::uint8_t> packed = bytes(s.hex);
        CHECK(unpacked(packed, std::size_t(s.size)) == data(s.size));
        // A room one byte larger or smaller is not this picture.
        CHECK(!unpacked(packed, std::size_t(s.size) - 1));
        CHECK(!unpacked(packed, std::size_t(s.size) + 1));
        // Cut short anywhere, the stream is refused.
        bool anyTaken = false;
        for (std::size_t n = 0; n < packed.size(); ++n)
            anyTaken |= unpacked({packed.begin(), packed.begin() + long(n)}, std::size_t(s.size)).has_value();
        CHECK(!anyTaken);
        // One byte changed anywhere: never a write outside the room; where it is still
        // taken, it made exactly the room's bytes.
        int refused = 0;
        for (std::size_t at = 0; at < packed.size(); ++at)
            for (std::uint8_t change : {0x01, 0x10, 0x80, 0xff}) {
                std::vector<std::uint8_t> damaged = packed;
                damaged[at] ^= change;
                refused += !unpacked(damaged, std::size_t(s.size));
            }
        CHECK(refused > 0);
    }
}

TEST_CASE(emptyAndNonsenseStreamsAreRefused) {
    CHECK(!unpacked({}, 0));
    CHECK(!unpacked({}, 10));
    CHECK(!unpacked({0x07}, 10)); // block type 3 does not exist
    CHECK(!unpacked({0x01, 0x05, 0x00, 0xfa, 0xfe}, 5)); // stored, length and complement disagree
    CHECK(unpacked({0x01, 0x00, 0x00, 0xff, 0xff}, 0) == std::vector<std::uint8_t>{}); // empty stored
    CHECK(!unpacked({0x03, 0x00}, 1)); // fixed, ends at once: no byte for a room of one
}

TEST_CASE(colourNumbersUnpackStraightIntoTheirColours) {
    // The same streams as colour numbers: every pixel the colour of its byte, runs and
    // copies reaching back across blocks as well; one colour too few, or a room of a
    // pixel more or less, refused, and nothing written beyond the room.
    for (const auto& s : kStreams) {
        CONTEXT(s.name);
        const std::vector<std::uint8_t> packed = bytes(s.hex), numbers = data(s.size);
        std::vector<std::uint32_t> palette(256);
        for (std::size_t c = 0; c < palette.size(); ++c) palette[c] = std::uint32_t(c * 0x01030507u) ^ 0xff0000aau;
        const std::size_t colours = std::size_t(*std::max_element(numbers.begin(), numbers.end())) + 1;
        const auto colouredIn = [&](std::size_t count, std::size_t known) -> std::optional<std::vector<std::uint32_t>> {
            std::vector<std::uint8_t> room(4 * count);
            if (!inflateColours(packed.data(), packed.size(), palette.data(), known, room.data(), count))
                return std::nullopt;
            std::vector<std::uint32_t> pixels(count);
            std::copy(room.begin(), room.end(), reinterpret_cast<std::uint8_t*>(pixels.data()));
            return pixels;
        };
        std::vector<std::uint32_t> expected;
        for (std::uint8_t n : numbers) expected.push_back(palette[n]);
        CHECK(colouredIn(numbers.size(), colours) == expected);
        CHECK(!colouredIn(numbers.size(), colours - 1));
        CHECK(!colouredIn(numbers.size() - 1, colours));
        CHECK(!colouredIn(numbers.size() + 1, colours));
        int refused = 0;
        for (std::size_t at = 0; at < packed.size(); ++at) {
            std::vector<std::uint8_t> damaged = packed;
            damaged[at] ^= 0x10;
            std::vector<std::uint8_t> room(4 * numbers.size());
            refused += !inflateColours(damaged.data(), damaged.size(), palette.data(), colours, room.data(),
                                       numbers.size());
        }
        CHECK(refused > 0);
    }
}

PLAIN_TEST_MAIN()
