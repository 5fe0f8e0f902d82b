#include "model/Utf8.h"

#include <cstdint>

namespace procesor::utf8 {

Character decode(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
    const std::uint8_t lead = byte(0);
    constexpr Character kInvalid{kReplacement, 1, false};
    if (lead < 0x80) return {lead, 1, true};
    std::size_t more = 0;
    char32_t code = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, code = lead & 0x07, least = 0x10000;
    } else {
        return kInvalid;
    }
    if (text.size() - at <= more) return kInvalid;
    for (std::size_t i = 1; i <= more; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return kInvalid;
        code = code << 6 | (byte(i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return kInvalid;
    return {code, more + 1, true};
}

std::string encode(char32_t code) {
    if (code < 0x80) return {char(code)};
    if (code < 0x800) return {char(0xC0 | (code >> 6)), char(0x80 | (code & 0x3F))};
    if (code < 0x10000)
        return {char(0xE0 | (code >> 12)), char(0x80 | ((code >> 6) & 0x3F)),
                char(0x80 | (code & 0x3F))};
    return {char(0xF0 | (code >> 18)), char(0x80 | ((code >> 12) & 0x3F)),
            char(0x80 | ((code >> 6) & 0x3F)), char(0x80 | (code & 0x3F))};
}

} // namespace procesor::utf8
