// The time line kept as text across a reload of the page: every position brought
// back as it was (random lessons, the worked example with a speed typed), the newest
// entries kept within the bounds, and any other text refused with nothing changed.

#include <cstdint>
#include <random>
#include <string>

#include "screen/Screen.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::screen;

namespace {

struct Point {
    int x;
    int y;
};
constexpr Point kControls[] = {{922, 146}, {938, 146}, {954, 146}, {970, 146}, {448, 340},
                               {448, 372}, {448, 404}, {859, 108}, {859, 132}, {855, 284},
                               {855, 284}, {855, 284}, {855, 320}, {985, 316}, {985, 327}};
constexpr Point kClear = {448, 404}, kRun = {859, 132}, kClock = {855, 284};

void click(Screen& s, Point p, Screen::Now at = {}) {
    s.mouseDown(p.x, p.y, at);
    s.mouseUp(p.x, p.y, at);
}

// `b` as `a` left at rest: a reload stops the clock and lets every button go.
bool sameMachine(const Screen& a, const Screen& b) {
    return History::atRest(a.simulator()) ==
           History::State{b.simulator().model(), b.simulator().elements()};
}

// Every position of `restored` as the same one of `original`, walked by both.
void samePositions(Screen& original, Screen& restored) {
    const History& a = original.history();
    const History& b = restored.history();
    REQUIRE_EQ(b.last() - b.first(), a.last() - a.first());
    const std::uint64_t position = a.position();
    for (std::uint64_t p = 0; p <= a.last() - a.first(); ++p) {
        REQUIRE(original.moveTo(a.first() + p));
        REQUIRE(restored.moveTo(b.first() + p));
        CONTEXT("position " + std::to_string(p));
        CHECK(sameMachine(original, restored));
    }
    original.moveTo(position);
}

std::string fnvLine(const std::string& body) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : body) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    char hex[20];
    std::snprintf(hex, sizeof hex, "#%016llx", static_cast<unsigned long long>(h));
    return hex;
}

// The text with its last lines replaced and a check that fits them.
std::string withBody(const std::string& body) {
    return body + fnvLine(body);
}

} // namespace

// The worked example run to its halt, a speed typed, two steps back: all of it comes
// back on a fresh screen, where the machine was (the speed too), every position
// equal; Ctrl+Z and Ctrl+Y go on working there; "nulování" of the program undone.
TEST_CASE(workedExampleComesBack) {
    Screen s;
    s.paste("0001 0101 1011 0101 1110");
    click(s, kRun);
    for (int i = 0; i < 34; ++i) {
        click(s, kClock);
        s.timerTick(5);
    }
    s.stepBack();
    s.stepBack();
    s.speedEdited("6");
    const std::string saved = s.savedWork();
    REQUIRE(!saved.empty());
    CHECK(saved.size() < 600); // compact: 36 entries and two states as differences
    Screen r;
    REQUIRE(r.restoreWork(saved, "0001.0101.1011.0101.1110"));
    CHECK(sameMachine(s, r));
    CHECK_EQ(r.simulator().elements().edit17.text, std::string("6"));
    CHECK_EQ(r.history().position() - r.history().first(),
             s.history().position() - s.history().first());
    CHECK(r.enabled(Command::StepForward));
    CHECK(r.key(Key::Redo).taken);
    CHECK(s.key(Key::Redo).taken);
    CHECK(sameMachine(s, r));
    samePositions(s, r);
    // Back to the start of the lesson on the restored one: start-up state.
    while (r.stepBack()) {
    }
    CHECK(r.simulator().elements() == ElementState::startup());

    // A program cleared by "nulování" in programming mode: a new lesson, nothing kept.
    Screen c;
    c.paste("0001 0101");
    click(c, kClear);
    CHECK_EQ(c.savedWork(), std::string());
    CHECK(c.stepBack()); // undone, it is kept again
    const std::string kept = c.savedWork();
    Screen d;
    REQUIRE(d.restoreWork(kept, "0001.0101"));
    CHECK_EQ(d.simulator().model().ram[1], 5);
    CHECK(d.stepForward()); // and the clear done again
    CHECK_EQ(d.simulator().model().ram[1], 0);
    CHECK_EQ(Screen().savedWork(), std::string()); // untouched: nothing to keep
}

// Random lessons (clicks, ticks, speeds, programs, steps back and jumps), saved and
// restored: every position the same.
TEST_CASE(randomLessonsComeBack) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        CONTEXT("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        Screen s;
        for (int event = 0; event < 1500; ++event) {
            const int what = pick(20);
            if (what < 11)
                click(s, kControls[pick(int(std::size(kControls)))]);
            else if (what < 14)
                s.timerTick(1 + pick(5));
            else if (what < 16)
                s.speedEdited(pick(4) ? std::to_string(1 + pick(8)) : "x,=%\n\xc3\xa1");
            else if (what < 17)
                s.paste(pick(2) ? "1110" : "0001 0011 1000 0000");
            else if (what < 19)
                s.stepBack();
            else
                s.moveTo(s.history().first() +
                         random() % (s.history().last() - s.history().first() + 1));
        }
        const std::string saved = s.savedWork();
        Screen r;
        REQUIRE(r.restoreWork(saved, s.programLink()));
        CHECK(sameMachine(s, r));
        samePositions(s, r);
    }
}

// A long lesson keeps its newest entries within the bounds, and its end comes back.
TEST_CASE(savedTextIsBounded) {
    Screen s;
    s.drawEachEvent(false);
    s.paste("1000 0000"); // JMP 0: runs for ever
    click(s, kRun);
    for (std::uint64_t i = 0; i < History::kMaxSavedEntries + 5000; ++i) {
        click(s, kClock);
        s.timerTick(5);
        if (i % 20000 == 0) s.speedEdited(std::to_string(1 + i % 7)); // a state kept
    }
    const std::string saved = s.savedWork();
    CHECK(saved.size() <= History::kMaxSavedBytes);
    Screen r;
    REQUIRE(r.restoreWork(saved, "1000"));
    CHECK(sameMachine(s, r));
    CHECK(r.history().last() - r.history().first() <= History::kMaxSavedEntries);
    CHECK(r.history().last() - r.history().first() >=
          History::kMaxSavedEntries - History::kKeepEvery);
    CHECK(r.stepBack());
    CHECK(s.stepBack());
    CHECK(sameMachine(s, r));
}

// Texts that are no saved time line, or not of this page's program: refused, the
// screen as it was. None may crash, however garbled.
TEST_CASE(otherTextsRefused) {
    Screen s;
    s.paste("0001 0101 1110");
    click(s, kRun);
    click(s, kClock);
    const std::string saved = s.savedWork();
    REQUIRE(!saved.empty());
    const std::string body = saved.substr(0, saved.rfind('#'));
    const std::string bad[] = {
        "",
        "hello",
        "{\"program\":\"0001\"}",
        saved.substr(0, saved.size() / 2),                  // cut short
        saved.substr(0, saved.size() - 1) + "0",            // its check wrong
        body + "#",                                         // no check
        "x" + saved,                                        // another header
        withBody("procesor-historie 2\n0\n\n\n\n"),         // another version
        withBody("procesor-historie 1\n5\na3\n\n\n"),       // beyond the entries
        withBody("procesor-historie 1\n0\nz\n\n\n"),        // no such kind
        withBody("procesor-historie 1\n0\na9999999\n\n\n"), // too many entries
        withBody("procesor-historie 1\n0\n\n20=99\n\n"),    // PC 99
        withBody("procesor-historie 1\n0\n\n999999=1\n\n"), // no such field
        withBody("procesor-historie 1\n0\n\n1=2\n\n"),      // a flag of 2
        withBody("procesor-historie 1\n0\n\n27=%C3\n\n"),   // a text that is no UTF-8
        withBody("procesor-historie 1\n0\n\n27=%G1\n\n"),   // a stray %
        withBody("procesor-historie 1\n0\na\n\n\n0:1=1\n"), // a kept state before the first
        std::string(History::kMaxSavedBytes + 1, 'a'),
    };
    std::mt19937 random(7);
    for (const std::string& text : bad) {
        CONTEXT(text.substr(0, 40));
        Screen fresh;
        CHECK(!fresh.restoreWork(text, ""));
        CHECK(fresh.simulator().elements() == ElementState::startup());
        CHECK(!fresh.history().canStepBack());
    }
    // Bytes changed at random: refused by the check, never a crash.
    for (int i = 0; i < 2000; ++i) {
        std::string text = saved;
        text[random() % text.size()] = char(random());
        Screen fresh;
        if (text != saved) CHECK(!fresh.restoreWork(text, "0001.0101.1110"));
    }
    // A well-made text of another program (a new link): refused.
    Screen other;
    CHECK(!other.restoreWork(saved, "0001.1110"));
    CHECK(other.simulator().elements() == ElementState::startup());
    CHECK(other.restoreWork(saved, "0001 0101,1110 # the link as a teacher wrote it"));
}

PLAIN_TEST_MAIN()
