#include "tests/support/frames/Png.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#include <zlib.h>
#endif

namespace procesor::testing {

namespace {

#ifdef __EMSCRIPTEN__
// The web build has no zlib of its own; its tests run under Node.js, which lends its
// own. Inflates (or deflates at level 9) `source` into `target`; the size made, or -1.
EM_JS(int, nodeZlib,
      (int inflate, const unsigned char* source, int sourceSize, unsigned char* target,
       int targetCapacity),
      {
          const zlib = require('zlib');
          const input = HEAPU8.subarray(source, source + sourceSize);
          let result;
          try {
              result = inflate ? zlib.inflateSync(input) : zlib.deflateSync(input, {level : 9});
          } catch (e) {
              return -1;
          }
          if (result.length > targetCapacity) return -1;
          HEAPU8.set(result, target);
          return result.length;
      });
#endif

// zlib data of `raw`, or an empty vector when it cannot be made.
std::vector<unsigned char> deflate(const std::vector<unsigned char>& raw) {
#ifdef __EMSCRIPTEN__
    std::vector<unsigned char> packed(raw.size() + raw.size() / 100 + 1024);
    const int size = nodeZlib(0, raw.data(), int(raw.size()), packed.data(), int(packed.size()));
    packed.resize(size < 0 ? 0 : std::size_t(size));
#else
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK)
        return {};
    packed.resize(packedSize);
#endif
    return packed;
}

// Inflates `packed` into `raw`, which must come out exactly as large as it is.
bool inflate(const std::vector<unsigned char>& packed, std::vector<unsigned char>& raw) {
#ifdef __EMSCRIPTEN__
    return nodeZlib(1, packed.data(), int(packed.size()), raw.data(), int(raw.size())) ==
           int(raw.size());
#else
    uLongf rawSize = static_cast<uLongf>(raw.size());
    return uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) ==
               Z_OK &&
           rawSize == raw.size();
#endif
}

// The CRC-32 of a PNG chunk.
std::uint32_t crc32Of(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

std::uint32_t get32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void chunk(std::vector<unsigned char>& out, const char* type,
           const std::vector<unsigned char>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32Of(out.data() + start, out.size() - start));
}

constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

} // namespace

bool writePng(const std::string& path, const Image& image) {
    std::vector<unsigned char> raw;
    raw.reserve(std::size_t(image.height) * (1 + 3 * std::size_t(image.width)));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.pixels[std::size_t(y) * image.width + x];
            raw.insert(raw.end(),
                       {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                        static_cast<unsigned char>(p)});
        }
    }
    const std::vector<unsigned char> packed = deflate(raw);
    if (packed.empty()) return false;

    std::vector<unsigned char> out(kSignature.begin(), kSignature.end());
    std::vector<unsigned char> header;
    put32(header, static_cast<std::uint32_t>(image.width));
    put32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, not interlaced
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return bool(file);
}

std::optional<Image> readPng(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> in((std::istreambuf_iterator<char>(file)), {});
    if (in.size() < 8 || !std::equal(kSignature.begin(), kSignature.end(), in.begin()))
        return std::nullopt;
    Image image;
    int channels = 0;
    std::vector<unsigned char> packed;
    for (std::size_t at = 8; at + 12 <= in.size();) {
        const std::uint32_t length = get32(&in[at]);
        if (length > in.size() - at - 12) return std::nullopt;
        const std::string type(reinterpret_cast<const char*>(&in[at + 4]), 4);
        const unsigned char* data = &in[at + 8];
        if (type == "IHDR" && length >= 13) {
            image.width = static_cast<int>(get32(data));
            image.height = static_cast<int>(get32(data + 4));
            if (data[8] != 8 || data[12] != 0 || (data[9] != 2 && data[9] != 6))
                return std::nullopt;
            channels = data[9] == 2 ? 3 : 4;
        } else if (type == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        }
        at += 12 + length;
    }
    if (channels == 0 || image.width <= 0 || image.height <= 0 || image.width > 1 << 14 ||
        image.height > 1 << 14)
        return std::nullopt;
    const std::size_t stride = std::size_t(image.width) * channels;
    std::vector<unsigned char> raw((stride + 1) * image.height);
    if (!inflate(packed, raw)) return std::nullopt;

    image.pixels.resize(std::size_t(image.width) * image.height);
    std::vector<unsigned char> previous(stride, 0);
    for (int y = 0; y < image.height; ++y) {
        unsigned char* row = &raw[y * (stride + 1) + 1];
        const int filter = row[-1];
        for (std::size_t i = 0; i < stride; ++i) {
            const int left = i >= std::size_t(channels) ? row[i - channels] : 0;
            const int up = previous[i];
            const int upLeft = i >= std::size_t(channels) ? previous[i - channels] : 0;
            const int predictor = filter == 1   ? left
                                  : filter == 2 ? up
                                  : filter == 3 ? (left + up) / 2
                                  : filter == 4 ? paeth(left, up, upLeft)
                                                : 0;
            row[i] = static_cast<unsigned char>(row[i] + predictor);
        }
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* p = row + std::size_t(x) * channels;
            image.pixels[std::size_t(y) * image.width + x] =
                0xFF000000u | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
        }
        previous.assign(row, row + stride);
    }
    return image;
}

} // namespace procesor::testing
