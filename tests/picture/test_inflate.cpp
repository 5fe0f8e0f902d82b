// The start picture's unpacking: DEFLATE streams written by zlib (stored, fixed and
// dynamic codes, several blocks with copies reaching back across them) make exactly
// the bytes zlib packed, and no damaged stream — cut short, one byte changed, a room
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
    "831d035408d400b20e6c3bd770880b1003e877704c003d0ff63bccf3ccd0a0077b1e28090d6ba0e74141088b0960d031"
    "41420614d69cd0a007c7041b1b2ce8794192bcb088e7448e78064690a1a09800073d52c433c3221e922cb81011cf851c"
    "f18c4053c08e190e71016240fc0ef33c344b002306e879b0df619e6780063dd8f3204978aa0785192ce8615982930314"
    "f4b0b086e6395816049acac1c18148f54811cf0acb121cd03c078f780658c44392052722e2d9c1116f3c4c3208ac3c80"
    "a77ab0df619e47940740cf43c21a1af4d0e2079227809288540fd20e8b09589680943f4811cf078f78709e6065452aee"
    "90229e0d9625b8c1f621453c2b2ce221c982a77c986410a8e759d1cb0378aa47aa0838912a0260aa8716f5909840aa08"
    "f841590291ea912a020e444500b20f29e279e1110f4e166c6c48c51d52c473c3b2041bac9e8345bcd230c920f08a0056"
    "d4433ccf815e1ec0533d5245c086541100533d1f5271875c1180ea60a4548f14f1dc888a00643d52c473205a00a064c1"
    "cc8c54dc21453c0fbc0590364c32082772f307a93c608315f510cff323377f4021034ff51cc8cd1f4445004cf5bc48c5"
    "1d724500aa837910a91e29e2d9905a0040fb90229e1dd1026004b7c5908a3b70c40f93e6ae1200";
constexpr const char* kDynamic =
    "dc54ed71c5200c33103e13e0ba4257782b7485aed015ba42c7ae6cec242bbcfce3cec84692057d7cbebebe7f7effe8bd"
    "0fbdb57d2fa5a694f3b6c5e87d08e4dc9863f47e1cfbde6a2d25e79462dcb6e0bd7344730e878b7c9f71805774398ede"
    "c798930845eff93ee3004797c6dd180778401b9917a34eafc0315ca6637cca328e71183ff5318c035c1e838b00f03899"
    "de9ee0051fc05d9c0079e16ee4834a2fe45154ad419e253427209d5fcab0d655a517275232e93b17bb195fefc693e3a6"
    "ec84487f333e98f16b2dda657cbb1befd0451ef3042ff8b0b81b798d048c0179e16ee449a517f25c3cb79e3533e92d12"
    "b5b0f4a6b566ce2288aea5946beb6fc6478b44d1cc9dc69319bfd6a25ec66731fef59080d87f706ebd7037f2d77f00f2"
    "4b6b955ebf9f950914afad67b839b122f10f0000ffffdd968b0d85200c45f362a818507770385778eb4bc1b6278ec004"
    "0d9cfbd330d4bf06f8c3c1774fa484b80378314b947e0fe093811fb2a8ff490cf23e3e7df3c0558f22d850044df56fd4"
    "0f122882532d11aa4711e42802bd07f0bb83efb21041dc017c314b88f59c81bf263188178145fd787cfee681ab1e4520"
    "2882a6fa0371c722d00e86ea01be4411e87980cfb1005416cb82b803f8ea0be09ec4201be70ff2402ceac7e34fce1ffd"
    "19577de6fc892268aadf11772c02ede01aaa0778c10268f7007e8d05f0eb5b0c71d7c14f3277af07";

// The bytes packed above: runs of a few byte values, then patterns of four bits.
std::vector<std::uint8_t> data(int n) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < n; ++i)
        out.push_back((i / 200) % 2 ? std::uint8_t(((i * 7) / 13 ^ (i >> 5)) & 15) : std::uint8_t((i % 9) * 17));
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

} // namespace

TEST_CASE(streamsOfEveryBlockKindMakeZlibsBytes) {
    const struct {
        const char* name;
        const char* hex;
        int size;
    } streams[] = {{"stored", kStored, 40}, {"fixed", kFixed, 3000}, {"dynamic", kDynamic, 3000}};
    for (const auto& s : streams) {
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

TEST_CASE(colourNumbersBecomeTheirColoursInPlace) {
    const std::uint32_t palette[3] = {0x11223344, 0x55667788, 0x99aabbcc};
    // Three pixels: numbers 1, 2 | 0 (and an unused four bits) in the last two bytes.
    std::vector<std::uint8_t> pixels(12, 0xee);
    CHECK_EQ(numberBytes(3), std::size_t(2));
    pixels[10] = 0x12;
    pixels[11] = 0x0f;
    CHECK(paintFromPalette(pixels.data(), 3, palette, 3));
    const std::uint32_t expected[3] = {0x55667788, 0x99aabbcc, 0x11223344};
    CHECK(std::equal(pixels.begin(), pixels.end(), reinterpret_cast<const std::uint8_t*>(expected)));
    // A number beyond the colours is refused.
    std::vector<std::uint8_t> bad(8, 0);
    bad[7] = 0x03;
    CHECK(!paintFromPalette(bad.data(), 2, palette, 3));
}

PLAIN_TEST_MAIN()
