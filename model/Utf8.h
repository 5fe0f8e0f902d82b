#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 as every text of the program is read: a program, the speed field, the
// captions drawn from the glyph tables. One reading for all, so that a byte one of
// them takes as a character no other one takes as something else.
namespace procesor::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

struct Character {
    char32_t code;      // the code point, or kReplacement where valid is false
    std::size_t length; // in bytes, at least 1; 1 for a byte that starts no character
    bool valid;
};

// The character that starts at text[at] (at < text.size()). Bytes that are not
// well-formed UTF-8 there (a stray continuation byte, a truncated sequence, an
// overlong form, a surrogate, beyond U+10FFFF) give an invalid character of one
// byte, and reading goes on with the next byte.
Character decode(std::string_view text, std::size_t at);

// The UTF-8 bytes of a code point (U+0000..U+10FFFF, no surrogate).
std::string encode(char32_t code);

} // namespace procesor::utf8
