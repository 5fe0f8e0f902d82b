#include "picture/PngFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace procesor::render {

namespace {

std::uint32_t crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void bigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += char((v >> shift) & 0xFF);
}

void chunk(std::string& out, std::string_view type, std::string_view data) {
    bigEndian(out, std::uint32_t(data.size()));
    std::string typed(type);
    typed += data;
    out += typed;
    bigEndian(out, crc32(typed));
}

} // namespace

std::string pngBytes(const Canvas& canvas) {
    std::string raw;
    raw.reserve(std::size_t(canvas.height) * (1 + 3 * std::size_t(canvas.width)));
    for (int y = 0; y < canvas.height; ++y) {
        raw += '\0'; // no filter
        for (int x = 0; x < canvas.width; ++x) {
            const std::uint32_t p = canvas.at(x, y);
            raw += char((p >> 16) & 0xFF);
            raw += char((p >> 8) & 0xFF);
            raw += char(p & 0xFF);
        }
    }
    // zlib: stored deflate blocks of at most 65,535 bytes, then the Adler-32 sum.
    std::string z = "\x78\x01";
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        z += char(at + n == raw.size() ? 1 : 0);
        z += char(n & 0xFF);
        z += char(n >> 8);
        z += char(~n & 0xFF);
        z += char((~n >> 8) & 0xFF);
        z.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    bigEndian(z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    bigEndian(header, std::uint32_t(canvas.width));
    bigEndian(header, std::uint32_t(canvas.height));
    header +=
        std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no filter, no interlace
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", {});
    return png;
}

} // namespace procesor::render
