#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "model/Utf8.h"

// A broken invariant in a fuzz target: say which and where, then abort, so that
// libFuzzer keeps the input that broke it and the run fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

// Every byte of the text belongs to a well-formed UTF-8 character.
inline bool wellFormed(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const procesor::utf8::Character c = procesor::utf8::decode(text, at);
        if (!c.valid) return false;
        at += c.length;
    }
    return true;
}

} // namespace fuzz
