#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ProgramText.h"

// The result code of a solved task ("kód řešení"): sixteen characters a student copies
// into the school's quiz and the teacher verifies. It carries the whole RAM (sixteen
// words, 64 bits) and a check of the task it solves, in an alphabet without the
// characters one mistakes for others (no 0, O, 1, I or L):
//
//   the RAM as one 64-bit number (address 0 the most significant four bits), times
//   1272, plus the task's check divided by 31, written as fifteen digits of base 31;
//   then one digit: the digits weighted 1..15, summed with the task's check mod 31.
//
// The last digit makes every change of one character and every swap of two
// neighbouring ones show; with the part in the fifteen digits, a code of another task
// passes only one time in 39432.
namespace procesor {

inline constexpr std::string_view kCodeAlphabet = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";
inline constexpr int kCodeLength = 16;

std::string resultCode(const std::array<int, kProgramWords>& ram, std::uint64_t taskDigest);

struct DecodedCode {
    enum Kind {
        Ok,
        BadLength,    // `length` characters, not 16
        BadCharacter, // `character`, the `position`th, is not of the alphabet
        Mismatch,     // a character changed, or the code of another task
    };
    Kind kind = Ok;
    std::array<int, kProgramWords> ram{};
    int length = 0;
    int position = 0;
    std::string character;
};

// Reads a code; small letters count as capitals, blanks and dashes are skipped.
DecodedCode decodeResultCode(std::string_view code, std::uint64_t taskDigest);

// Why a code was refused, in Czech.
std::string resultCodeMessage(const DecodedCode& decoded);

} // namespace procesor
