#include "model/ResultCode.h"

#include "model/TaskText.h"

namespace procesor {

namespace {

__extension__ typedef unsigned __int128 Wide; // GCC and Clang, WebAssembly too

constexpr int kBase = 31;
constexpr std::uint64_t kTaskShare = 1272; // (31^15 - 1) / 2^64, rounded down
constexpr std::uint64_t kTaskChecks = kTaskShare * kBase;

int digitOf(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::size_t at = kCodeAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int checkDigit(const std::array<int, kCodeLength>& digits, std::uint64_t taskCheck) {
    std::uint64_t sum = taskCheck % kBase;
    for (int i = 0; i < kCodeLength - 1; ++i)
        sum +=
            static_cast<std::uint64_t>(i + 1) * static_cast<std::uint64_t>(digits[std::size_t(i)]);
    return static_cast<int>(sum % kBase);
}

} // namespace

std::string resultCode(const std::array<int, kProgramWords>& ram, std::uint64_t taskDigest) {
    std::uint64_t words = 0;
    for (int word : ram) words = words << 4 | static_cast<std::uint64_t>(word & 15);
    const std::uint64_t taskCheck = taskDigest % kTaskChecks;
    Wide payload = Wide{words} * kTaskShare + taskCheck / kBase;
    std::array<int, kCodeLength> digits{};
    for (int i = kCodeLength - 2; i >= 0; --i) {
        digits[std::size_t(i)] = static_cast<int>(payload % kBase);
        payload /= kBase;
    }
    digits[kCodeLength - 1] = checkDigit(digits, taskCheck);
    std::string code;
    for (int d : digits) code += kCodeAlphabet[std::size_t(d)];
    return code;
}

DecodedCode decodeResultCode(std::string_view code, std::uint64_t taskDigest) {
    DecodedCode out;
    std::array<int, kCodeLength> digits{};
    int count = 0;
    int position = 0;
    for (std::size_t at = 0; at < code.size(); ++at) {
        const unsigned char c = static_cast<unsigned char>(code[at]);
        if ((c & 0xC0) != 0x80) ++position;
        if (c == ' ' || c == '-' || c == '\t' || c == '\r' || c == '\n') continue;
        const int d = c < 0x80 ? digitOf(static_cast<char>(c)) : -1;
        if (d < 0) {
            if (out.kind == DecodedCode::Ok) {
                const std::size_t length = utf8CharacterLength(code, at);
                out.kind = DecodedCode::BadCharacter;
                out.position = position;
                out.character = length == 0 || c < 0x20 || c == 0x7F
                                    ? std::string("\uFFFD")
                                    : std::string(code.substr(at, length));
            }
            continue;
        }
        if (count < kCodeLength) digits[std::size_t(count)] = d;
        ++count;
    }
    out.length = count;
    if (out.kind == DecodedCode::Ok && count != kCodeLength) out.kind = DecodedCode::BadLength;
    if (out.kind != DecodedCode::Ok) return out;

    const std::uint64_t taskCheck = taskDigest % kTaskChecks;
    Wide payload = 0;
    for (int i = 0; i < kCodeLength - 1; ++i)
        payload = payload * kBase + Wide(digits[std::size_t(i)]);
    const Wide words = payload / kTaskShare;
    if (digits[kCodeLength - 1] != checkDigit(digits, taskCheck) ||
        payload % kTaskShare != taskCheck / kBase || words > Wide{~std::uint64_t{0}}) {
        out.kind = DecodedCode::Mismatch;
        return out;
    }
    std::uint64_t w = static_cast<std::uint64_t>(words);
    for (int a = kProgramWords - 1; a >= 0; --a) {
        out.ram[std::size_t(a)] = static_cast<int>(w & 15);
        w >>= 4;
    }
    return out;
}

std::string resultCodeMessage(const DecodedCode& d) {
    switch (d.kind) {
    case DecodedCode::Ok:
        return {};
    case DecodedCode::BadLength:
        return "Kód řešení má 16 znaků, tento jich má " + std::to_string(d.length) + ".";
    case DecodedCode::BadCharacter:
        return "Kód řešení obsahuje na " + std::to_string(d.position) + ". pozici znak „" +
               d.character +
               "“, který v kódu být nemůže (kód tvoří číslice 2 až 9 a písmena kromě I, L a O).";
    case DecodedCode::Mismatch:
        return "Kód řešení nepatří k této úloze, nebo je v něm překlep.";
    }
    return {};
}

} // namespace procesor
