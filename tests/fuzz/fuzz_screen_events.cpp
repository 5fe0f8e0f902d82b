// Streams of the screen's events as a student and a busy machine give them: clicks
// and drags at any pixel and on every control, keys on the focused control, time
// passing with wakes on time, late or never, timer ticks by hand, speed texts, the
// arrows, pastes, dropped and unreadable files, copies pasted back, the fields'
// texts, scrolling and selections. After every event the machine holds four-bit
// values and the diagram its rules (one listing line and its instruction name in
// yellow, the RAM cell at PC in yellow, the digits showing the registers); after the
// stream the picture drawn bit by bit equals the whole diagram drawn anew.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ProgramText.h"
#include "panel/Speed.h"
#include "picture/DiagramLayout.h"
#include "picture/Renderer.h"
#include "screen/ErrorBox.h"
#include "screen/Routes.h"
#include "screen/Screen.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace procesor;
using screen::Key;
using screen::Millis;
using screen::Screen;

namespace {

// ---- the screen's events ----------------------------------------------------
// Every call into Screen goes through here, so that a change of its event API is
// made in this one place. What an event reports (an error box, a companion to
// start) is gathered into `Reported`.
struct Reported {
    std::vector<std::string> errors;     // as the handlers reported them
    std::vector<std::string> boxes;      // as the updates open them
    std::vector<std::string> companions; // as the updates start them
};

struct Driver {
    Reported reported;
    Screen screen{[this](const std::string& message) { reported.errors.push_back(message); }};
    Millis now = 0;

    void take(const Screen::Update& u) {
        if (u.companion) reported.companions.push_back(*u.companion);
        // The student closes each box as it opens; the next one waiting follows.
        if (!u.error.empty()) {
            reported.boxes.push_back(u.error);
            take(screen.errorClosed(now));
        }
    }
    void down(int x, int y) { take(screen.mouseDown(x, y, now)); }
    void up(int x, int y) { take(screen.mouseUp(x, y, now)); }
    void move(int x, int y) { take(screen.mouseMove(x, y, now)); }
    // A key on a control with the keyboard focus, as the front ends give it: Space
    // pressed and released, or Enter; now and then one of the time line's keys.
    void key(Screen::Element control, render::Box, unsigned how) {
        take(screen.focus(control, now));
        switch (how % 6) {
        case 0:
            take(screen.key(Key::Enter, now));
            break;
        case 1:
            take(screen.key(Key::Undo, now));
            break;
        case 2:
            take(screen.key(how & 8 ? Key::Redo : Key::PageDown, now));
            break;
        default:
            take(screen.key(Key::Space, now));
            take(screen.keyReleased(Key::Space, now));
        }
    }
    void focus(std::optional<Screen::Element> control) { take(screen.focus(control, now)); }
    void wake() { take(screen.wake(now)); }
    void tick(int timer) { take(screen.timerTick(timer, now)); }
    void speedText(std::string_view text) { take(screen.speedEdited(text, now)); }
    void arrow(bool up) { take(screen.speedArrow(up, now)); }
    void paste(std::string_view text) { take(screen.paste(text, now)); }
    void file(std::string_view name, std::string_view bytes) {
        take(screen.openFile(name, bytes, now));
    }
    void unreadable(std::string_view name) { take(screen.fileUnreadable(name, now)); }
    std::optional<std::string> copy() const { return screen.copy(); }
    void memo(std::string_view text) { screen.memoEdited(text); }
    void scrolled(int edit17X, int memo1X, int memo1Y) {
        screen.fieldsScrolled(edit17X, memo1X, memo1Y);
    }
    void selected(render::Selection edit17, render::Selection memo1) {
        screen.fieldsSelected(edit17, memo1);
    }
    void draw() { screen.render(); }
};

// ---- the input, read as a stream of choices -----------------------------------
struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool done() const { return at >= size; }
    unsigned byte() { return at < size ? data[at++] : 0; }
    unsigned word() { return byte() | byte() << 8; }
    int signedSmall() { return int(byte()) - 128; }
    std::string text(std::size_t most) {
        const std::size_t n = std::min<std::size_t>(byte() % (most + 1), size - std::min(at, size));
        std::string out(reinterpret_cast<const char*>(data + at), n);
        at += n;
        return out;
    }
};

const std::array<std::string_view, 9> kPrograms = {
    "0001 0101 1011 0101 1110",      // LDA 5; MOV; ADD; HLT
    "1000 0000",                     // JMP 0: runs for ever
    "0001.1111.1011.0101.1000.0010", // a link's form: counts up for ever
    "0101 0101 0101 0101 0101 0101 0101 0101 0101 0101 0101 0101 0101 0101 0101 1110",
    "1111 1111 1110 # comment\n",
    "0110 0111 0011", // codes that start inside a routine
    "0001 0101 1011 0101 1110 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0001",
    "01012",
    "\xEF\xBB\xBF"
    "0001\r\n0011\r\n",
};
const std::array<std::string_view, 12> kSpeeds = {"1",  "4", "7",   "8",          "9",   "0",
                                                  "-5", "",  "abc", "2147483647", " 6 ", "+3"};

// The points that matter: the middle of every control and field, and of the places
// that start a companion.
std::vector<std::pair<Screen::Element, render::Box>> controls() {
    std::vector<std::pair<Screen::Element, render::Box>> all;
    for (const Screen::KeyboardControl& c : Screen::keyboardControls())
        all.push_back({c.element, c.box});
    for (const layout::SwitchPlace& s : layout::dataSwitches())
        all.push_back({{Screen::Element::DataSwitch, s.button}, s.box});
    return all;
}

// ---- what must hold ------------------------------------------------------------
const std::string kBlankCell(11, ' ');

std::string wordText(int value) {
    std::string text;
    for (int weight = 8; weight >= 1; weight /= 2) text += (value & weight) ? " l " : "O";
    return text;
}

// The instruction name beside each microprogram line: NOP 0-1, LDA 2-5, ADD 6-8,
// JMP 9-11, MOV 12-14, HLT 15.
constexpr std::array<int, 16> kNameOfLine = {13, 13, 30, 30, 30, 30, 31, 31,
                                             31, 32, 32, 32, 33, 33, 33, 34};
constexpr std::array<int, 6> kNames = {13, 30, 31, 32, 33, 34};
constexpr std::array<std::string_view, 6> kCompanions = {"vondrel", "plimo",   "sarvek",
                                                         "quobin",  "tamrelA", "tamrelB"};

bool nibble(int v) {
    return v >= 0 && v <= 15;
}

void checkState(const Driver& d) {
    const ProcessorModel& m = d.screen.simulator().model();
    const ElementState& el = d.screen.simulator().elements();
    for (int v : {m.pc, m.bus, m.ir, m.ramOut, m.regA, m.regB, m.sum}) FUZZ_CHECK(nibble(v));
    for (int v : m.ram) FUZZ_CHECK(nibble(v));
    FUZZ_CHECK(m.phi1 || !m.phi2);
    if (!m.phi2) FUZZ_CHECK(!m.bLoad && !m.aLoad && !m.pcLoad && !m.irLoad && !m.pcCount);

    int line = -1;
    for (int l = 0; l < 16; ++l) {
        const Rgb c = el.label[14 + l].colour;
        FUZZ_CHECK(c == clYellow || c == clSkyBlue);
        if (c == clYellow) {
            FUZZ_CHECK(line < 0);
            line = l;
        }
    }
    FUZZ_CHECK(line >= 0);
    for (int name : kNames)
        FUZZ_CHECK(el.label[name].colour == (name == kNameOfLine[line] ? clYellow : clSkyBlue));
    for (int address = 0; address < 16; ++address) {
        const Label& cell = el.label[35 + address];
        FUZZ_CHECK(cell.colour == (address == m.pc ? clYellow : clSkyBlue));
        FUZZ_CHECK(cell.caption == m.ramText[address]);
        FUZZ_CHECK(cell.caption == kBlankCell || cell.caption == wordText(m.ram[address]));
    }
    FUZZ_CHECK(el.label[2].caption == std::to_string(m.pc));
    FUZZ_CHECK(el.label[5].caption == std::to_string(m.regA));
    FUZZ_CHECK(el.label[9].caption == std::to_string(m.sum));
    FUZZ_CHECK(el.label[10].caption == std::to_string(m.regB));
    FUZZ_CHECK(el.label[66].caption == std::to_string(m.ir));
    const std::array<int, 4> busDigits = {12, 62, 63, 64}, busLines = {118, 119, 120, 121};
    for (int bit = 0; bit < 4; ++bit)
        FUZZ_CHECK(el.label[busDigits[bit]].caption ==
                   (el.image[busLines[bit]].visible ? "1" : "0"));
    FUZZ_CHECK(el.upDown1.position >= 1 && el.upDown1.position <= 7);
    // Every tick due by now has run: the next one lies ahead, and only a running
    // timer asks for a wake.
    const std::optional<Millis> wake = d.screen.nextWake();
    if (wake) FUZZ_CHECK(*wake > d.now);
    bool running = false;
    for (int t = 1; t < ElementState::kTimers; ++t) running = running || el.timer[t].enabled;
    FUZZ_CHECK(wake.has_value() == running);

    // The box shows the message as boxedMessage gives it (the typed speed text in it
    // made readable): never empty, always well-formed.
    for (const std::string& e : d.reported.errors)
        FUZZ_CHECK(!e.empty() && fuzz::wellFormed(screen::boxedMessage(e)));
    for (const std::string& e : d.reported.boxes) FUZZ_CHECK(!e.empty() && fuzz::wellFormed(e));
    for (const std::string& c : d.reported.companions)
        FUZZ_CHECK(std::find(kCompanions.begin(), kCompanions.end(), c) != kCompanions.end());
}

void checkPicture(const Driver& d) {
    static render::Renderer fresh;
    fresh.renderAll(d.screen.simulator().elements(), d.screen.pushed(), d.screen.fields());
    FUZZ_CHECK(fresh.canvas().width == d.screen.canvas().width &&
               fresh.canvas().height == d.screen.canvas().height);
    FUZZ_CHECK(fresh.canvas().pixels == d.screen.canvas().pixels);
}

} // namespace

// Events given in the whole run, printed at its end beside libFuzzer's figures.
static std::uint64_t eventsGiven = 0;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit([] {
        std::fprintf(stderr, "events given: %llu\n", static_cast<unsigned long long>(eventsGiven));
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::pair<Screen::Element, render::Box>> kControls = controls();
    Input in{data, size};
    Driver d;
    d.draw();
    for (int events = 0; !in.done() && events < 800; ++events, ++eventsGiven) {
        const auto& [control, box] = kControls[in.byte() % kControls.size()];
        const int cx = box.x + box.w / 2, cy = box.y + box.h / 2;
        switch (in.byte() % 18) {
        case 0:
        case 1:
            d.down(cx, cy);
            d.up(cx, cy);
            break;
        case 2:
            d.down(cx, cy);
            break;
        case 3:
            d.up(cx, cy);
            break;
        case 4:
            d.move(cx, cy);
            break;
        case 5: { // anywhere, a little outside the window too
            const int x = int(in.word() % (layout::kClientWidth + 40)) - 20;
            const int y = int(in.word() % (layout::kClientHeight + 40)) - 20;
            const unsigned how = in.byte() % 4;
            if (how == 0 || how == 3) d.down(x, y);
            if (how == 1) d.move(x, y);
            if (how >= 2) d.up(x, y);
            break;
        }
        case 6:
        case 7:
            d.key(control, box, in.byte());
            break;
        case 8: // time passes and the front end wakes on time or late
            d.now += in.byte() * 10;
            d.wake();
            break;
        case 9: // a page hidden for a long while
            d.now += Millis{in.word()} * in.byte() * 10;
            d.wake();
            break;
        case 10:
            d.tick(int(in.byte() % 7));
            break;
        case 11: {
            const unsigned which = in.byte();
            d.speedText(which < 200 ? std::string(kSpeeds[which % kSpeeds.size()]) : in.text(24));
            break;
        }
        case 12:
            d.arrow(in.byte() & 1);
            break;
        case 13: {
            const unsigned which = in.byte();
            d.paste(which < 200 ? std::string(kPrograms[which % kPrograms.size()]) : in.text(64));
            break;
        }
        case 14: {
            const std::string name = in.text(12);
            if (in.byte() & 1)
                d.unreadable(name);
            else
                d.file(name, in.text(64));
            break;
        }
        case 15: { // a copy pasted back: in programming mode RAM stays as it is
            const std::array<int, 16> ram = d.screen.simulator().model().ram;
            const bool programming = d.screen.simulator().programmingMode();
            const std::optional<std::string> copied = d.copy();
            FUZZ_CHECK(copied.has_value() == (ram != std::array<int, 16>{}));
            if (copied) d.paste(*copied);
            if (programming) FUZZ_CHECK(d.screen.simulator().model().ram == ram);
            break;
        }
        case 16: {
            const unsigned what = in.byte() % 3;
            if (what == 0) d.memo(in.text(40));
            if (what == 1) d.scrolled(in.signedSmall(), in.signedSmall(), in.signedSmall());
            if (what == 2)
                d.selected({in.signedSmall(), in.signedSmall()},
                           {in.signedSmall() * 2, in.signedSmall() * 2});
            break;
        }
        case 17:
            if (in.byte() & 1)
                d.focus(control);
            else
                d.focus(std::nullopt);
            break;
        }
        d.draw();
        checkState(d);
    }
    checkPicture(d);
    return 0;
}
