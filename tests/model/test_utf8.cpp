// The one UTF-8 reading that programs, the speed field and the drawn captions share:
// well-formed characters of every length, and each kind of malformed byte taken as
// one byte that is no character, after which reading goes on.

#include <string>
#include <vector>

#include "model/Utf8.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;

namespace {

struct Row {
    std::string bytes;
    std::vector<unsigned> codes; // what reading all of it gives; 0xFFFD for a bad byte
    std::vector<bool> valid;
};

const std::vector<Row> kRows = {
    {"A", {'A'}, {true}},
    {"\xC5\x99", {0x159}, {true}},            // ř
    {"\xE2\x80\xA6", {0x2026}, {true}},       // …
    {"\xF0\x9F\x98\x80", {0x1F600}, {true}},  // an emoji
    {"\xF4\x8F\xBF\xBF", {0x10FFFF}, {true}}, // the last code point
    {"\x80"
     "A",
     {0xFFFD, 'A'},
     {false, true}},             // stray continuation byte
    {"\xC5", {0xFFFD}, {false}}, // cut short at the end
    {"\xE2\x80"
     "A",
     {0xFFFD, 0xFFFD, 'A'},
     {false, false, true}},                                            // cut short before 'A'
    {"\xC0\x80", {0xFFFD, 0xFFFD}, {false, false}},                    // overlong NUL
    {"\xE0\x80\xAF", {0xFFFD, 0xFFFD, 0xFFFD}, {false, false, false}}, // overlong '/'
    {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}, {false, false, false}}, // a surrogate
    {"\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}, {false, false, false, false}},
    {"\xF8\x88\x80\x80\x80", std::vector<unsigned>(5, 0xFFFD), std::vector<bool>(5, false)},
    {"\xFF", {0xFFFD}, {false}},
    {"\xEF\xBF\xBD", {0xFFFD}, {true}}, // U+FFFD itself is a character
};

TEST_CASE(eachCharacterAndEachBadByte) {
    for (const Row& row : kRows) {
        CONTEXT("bytes of \"" + row.bytes + "\"");
        std::vector<unsigned> codes;
        std::vector<bool> valid;
        for (std::size_t at = 0; at < row.bytes.size();) {
            const utf8::Character c = utf8::decode(row.bytes, at);
            codes.push_back(unsigned(c.code));
            valid.push_back(c.valid);
            if (!c.valid) CHECK_EQ(c.length, std::size_t{1});
            at += c.length;
        }
        CHECK_EQ(codes, row.codes);
        CHECK_EQ(valid, row.valid);
    }
}

TEST_CASE(encodingIsTheWayBack) {
    for (const char32_t code : {0x41u, 0x7Fu, 0x80u, 0x159u, 0x7FFu, 0x800u, 0x2400u, 0xFFFDu,
                                0x10000u, 0x1F600u, 0x10FFFFu}) {
        CONTEXT("U+" + std::to_string(unsigned(code)));
        const std::string bytes = utf8::encode(code);
        const utf8::Character c = utf8::decode(bytes, 0);
        CHECK(c.valid);
        CHECK_EQ(unsigned(c.code), unsigned(code));
        CHECK_EQ(c.length, bytes.size());
    }
    CHECK_EQ(utf8::encode(0x2026), std::string("\xE2\x80\xA6"));
}

} // namespace

PLAIN_TEST_MAIN()
