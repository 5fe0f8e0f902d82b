// The keyboard and what each event hands the front end: the rows of keys.txt walked on
// the headless screen (the desktop window and the page walk the same rows), Space
// holding a control down as the mouse does, the error box one at a time, the sentence
// after a pulse, the element clicked, a program pasted into the speed field, and "1:1"
// (Ctrl+0) from the keys and from the context menu.

#include <string>

#include "panel/Colours.h"
#include "screen/Screen.h"
#include "screen/Shortcuts.h"
#include "tests/screen/KeyTable.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::screen;

namespace {

using E = Screen::Element;

std::string nameOf(std::optional<E> e) {
    if (!e) return "none";
    switch (e->kind) {
    case E::Field:
        return e->number == 17 ? "Edit17" : "Memo1";
    case E::DataSwitch:
        return "Button" + std::to_string(e->number);
    case E::Arrow:
        return e->number > 0 ? "UpDown1-up" : "UpDown1-down";
    case E::Panel:
        return "Panel" + std::to_string(e->number);
    case E::Image:
        return "Image" + std::to_string(e->number);
    case E::Label:
        return "Label" + std::to_string(e->number);
    }
    return "?";
}

Key keyNamed(const std::string& name) {
    if (name == "Tab") return Key::Tab;
    if (name == "BackTab") return Key::BackTab;
    if (name == "Space") return Key::Space;
    if (name == "Enter") return Key::Enter;
    if (name == "Up") return Key::Up;
    return Key::Down;
}

// The focus frame the picture draws for the focus.
std::string framed(const Screen& s) {
    const render::ControlLook look = s.pushed();
    if (look.focusPanel) return "Panel" + std::to_string(look.focusPanel);
    if (look.focus) return "Button" + std::to_string(look.focus);
    if (look.focusArrow) return look.focusArrow > 0 ? "UpDown1-up" : "UpDown1-down";
    if (look.focusImage) return "Image" + std::to_string(look.focusImage);
    if (look.focusLabel) return "Label" + std::to_string(look.focusLabel);
    return "";
}

TEST_CASE(keyTable) {
    Screen s;
    s.focus(Screen::kEdit17); // where the window opens with it
    const auto rows = testing::readKeyTable(PROCESOR_KEYS);
    CHECK(rows.size() > 30);
    for (const testing::KeyRow& row : rows) {
        const std::string at = "keys.txt:" + std::to_string(row.line) + " ";
        const auto pulses = s.pulses();
        std::string started;
        if (row.key != "-") {
            const Screen::Update u = s.key(keyNamed(row.key));
            CHECK_MSG(u.taken == (row.focus != "none"), at + "taken");
            CHECK_MSG(nameOf(u.focus) == row.focus, at + "the update's focus " + nameOf(u.focus));
            started = u.companion.value_or("");
            if (row.key == "Space") {
                CHECK_MSG(!u.companion, at + "started on the press"); // on the release
                started = s.keyReleased(Key::Space).companion.value_or("");
            }
        }
        CHECK_MSG(nameOf(s.focused()) == row.focus, at + "focus on " + nameOf(s.focused()));
        const bool drawn = row.focus != "Edit17" && row.focus != "Memo1" && row.focus != "none";
        CHECK_MSG(framed(s) == (drawn ? row.focus : ""), at + "focus frame on " + framed(s));
        bool pulsed = false;
        std::string start;
        for (const std::string& did : row.did) {
            const ElementState& el = s.simulator().elements();
            if (did.starts_with("speed="))
                CHECK_MSG(el.edit17.text == did.substr(6), at + "speed " + el.edit17.text);
            else if (did == "run")
                CHECK_MSG(el.panel[7].colour == clLime, at + "not in provoz");
            else if (did.starts_with("Button"))
                CHECK_MSG(el.button[std::stoi(did.substr(6))].caption ==
                              did.substr(did.find('=') + 1),
                          at + did);
            else if (did == "pulse")
                pulsed = true;
            else if (did.starts_with("start="))
                start = did.substr(6);
            else
                FAIL(at + "unknown effect " + did);
        }
        CHECK_MSG(s.pulses() == pulses + (pulsed ? 1 : 0), at + "pulses");
        CHECK_MSG(started == start, at + "started " + started);
    }
}

// The focus frame round an element that opens an explainer: every other pixel of the
// edge of a box just outside it inverted, nothing else changed, and all of it gone
// again with the focus. A gate (Image203, 312,248 25 x 33) is framed two pixels out,
// clear of its outline; a listing line (Label17, its bar at 40,80, 13 high) one out.
TEST_CASE(focusFrameRoundAnElement) {
    Screen s;
    s.render();
    const std::vector<std::uint32_t> rest = s.canvas().pixels;
    // The listing line's bar is as wide as its caption.
    const int barWidth = s.renderer().labelBar(17).w;
    CHECK(barWidth > 40);
    struct Case {
        E element;
        Box frame;
    };
    for (const Case& c : {Case{{E::Image, 203}, {310, 246, 29, 37}},
                          Case{{E::Label, 17}, {39, 79, barWidth + 2, 15}}}) {
        CONTEXT(nameOf(c.element));
        s.setFocus(c.element);
        s.render();
        const render::Canvas& now = s.canvas();
        const Box f = c.frame;
        int changed = 0, astray = 0;
        std::string first;
        for (int y = 0; y < now.height; ++y)
            for (int x = 0; x < now.width; ++x) {
                const std::size_t i = std::size_t(y) * now.width + x;
                if (now.pixels[i] == rest[i]) continue;
                ++changed;
                const bool inBox = x >= f.x && x < f.x + f.w && y >= f.y && y < f.y + f.h;
                const bool edge = x == f.x || x == f.x + f.w - 1 || y == f.y || y == f.y + f.h - 1;
                if (!inBox || !edge || ((now.pixels[i] ^ rest[i]) & 0xFFFFFF) != 0xFFFFFF) {
                    if (!astray++) first = std::to_string(x) + "," + std::to_string(y);
                }
            }
        CHECK_EQ(changed, f.w + f.h - 2); // every other pixel of the edge
        CHECK_MSG(astray == 0, "changed off the frame, first at " + first);
        s.setFocus(std::nullopt);
        s.render();
        CHECK(s.canvas().pixels == rest);
    }
}

// Space holds the control down until it is released, where the mouse holds it while
// the button is down; neither works while the other holds, and a focus moved away
// lets go without a click.
TEST_CASE(spaceHoldsLikeTheMouse) {
    Screen s;
    s.focus(E{E::DataSwitch, 9});
    CHECK(s.key(Key::Space).clicked == std::nullopt);
    CHECK_EQ(s.pushed().dataSwitch, 9);
    CHECK(s.simulator().elements().button[9].caption == "0");
    s.mouseDown(448, 372); // "zápis do RAM": taken by nothing while the key holds
    CHECK(s.mouseUp(448, 372).clicked == std::nullopt);
    CHECK(s.key(Key::Space).clicked == std::nullopt); // the key repeating
    const Screen::Update up = s.keyReleased(Key::Space);
    CHECK(up.clicked == (E{E::DataSwitch, 9}));
    CHECK(s.simulator().elements().button[9].caption == "1");
    CHECK_EQ(s.pushed().dataSwitch, 0);
    // Held, then Tab: up without a click.
    s.key(Key::Space);
    s.key(Key::Tab);
    CHECK(s.keyReleased(Key::Space).clicked == std::nullopt);
    CHECK(s.simulator().elements().button[9].caption == "1");
    // The mouse holding a switch: Space on the focus does nothing.
    s.focus(E{E::DataSwitch, 8});
    s.mouseDown(970, 146);
    s.key(Key::Space);
    CHECK(s.keyReleased(Key::Space).clicked == std::nullopt);
    CHECK(s.mouseUp(970, 146).clicked == (E{E::DataSwitch, 11}));
    CHECK(s.simulator().elements().button[8].caption == "0");
    // In a text field Space and Enter are the field's; Up and Down in Memo1 too.
    s.focus(Screen::kMemo1);
    CHECK(!s.key(Key::Space).taken);
    CHECK(!s.key(Key::Enter).taken);
    CHECK(!s.key(Key::Up).taken);
    CHECK(s.simulator().elements().edit17.text == "4");
}

// One error box at a time: a second error waits until the first box is closed, the
// same error again is not shown twice, and the typed text comes readable.
TEST_CASE(errorsOneAtATime) {
    Screen s;
    s.mouseDown(859, 132); // "provoz"
    s.mouseUp(859, 132);
    s.speedEdited(std::string("7\0x", 3));
    Screen::Update u = s.mouseDown(855, 320); // "start/stop"
    CHECK(u.error.empty());
    u = s.mouseUp(855, 320);
    CHECK(u.error == "'7\u2400x' is not a valid integer value");
    CHECK(s.errorShown() == u.error);
    s.mouseDown(855, 320);
    CHECK(s.mouseUp(855, 320).error.empty()); // the same again, while shown
    u = s.paste("0001 2");
    CHECK(u.error.empty()); // waits
    CHECK(s.wake(10).error.empty());
    u = s.errorClosed();
    CHECK(u.error.find("jen v režimu programování") != std::string::npos);
    u = s.errorClosed();
    CHECK(u.error.empty());
    CHECK(s.errorShown().empty());
}

// After a pulse the update says what it changed; other events say nothing. The update
// carries the speed field, the next wake, the element clicked and its explainer.
TEST_CASE(updateContents) {
    Screen s;
    s.mouseDown(859, 132);
    Screen::Update u = s.mouseUp(859, 132, 0);
    CHECK(u.clicked == (E{E::Panel, 7}));
    CHECK(u.sentence.empty());
    CHECK(!u.dirty.empty());
    CHECK(u.speedVisible && u.speedText == "4");
    CHECK(!u.nextWake);
    s.mouseDown(855, 284, 0); // "ručně"
    u = s.mouseUp(855, 284, 0);
    CHECK(u.sentence == "Fáze Φ1. Řádek mikroprogramu 0001: RAM/R-IR/W. Na sběrnici je 0.");
    CHECK(u.nextWake == Millis(300));
    u = s.wake(300); // the release: no pulse, nothing said
    CHECK(u.sentence.empty());
    CHECK(!u.nextWake);
    CHECK(s.mouseMove(1, 1).dirty.empty());
    s.mouseDown(45, 35); // the first listing line
    u = s.mouseUp(45, 35);
    CHECK(u.clicked == (E{E::Label, 14}));
    CHECK(u.companion == std::optional<std::string>("vondrel"));
    s.speedEdited("9");
    u = s.key(Key::Tab); // from none: the speed field
    CHECK(u.speedText == "9");
    CHECK(u.focus == Screen::kEdit17);
}

// In the speed field a pasted program comes in as the program and the field keeps its
// text; a number, or what is no program, is the field's to take as typed.
TEST_CASE(pasteIntoTheSpeedField) {
    Screen s;
    s.focus(Screen::kEdit17);
    Screen::Update u = s.paste("0001.0101.1011.0101.1110");
    CHECK(u.taken && u.error.empty());
    CHECK(s.programLink() == "0001.0101.1011.0101.1110");
    CHECK(u.speedText == "4");
    for (const char* text : {"5", "1010", " 7 ", "abc", ""}) {
        u = s.paste(text);
        CHECK_MSG(!u.taken && u.error.empty(), std::string("pasted ") + text);
    }
    CHECK(s.programLink() == "0001.0101.1011.0101.1110");
    // On the diagram the same number is a program of one word.
    s.focus(std::nullopt);
    CHECK(s.paste("1010").taken);
    CHECK(s.programLink() == "1010");
}

// Ctrl+0, the keypad's too (a front end reads it as the same key), is "1:1" and nothing
// else is: not 0 alone or with Shift, Alt or the system key besides, not Ctrl+O or Ctrl+9.
// It switches "1:1" on and off wherever the focus is, a field too, and comes back for the
// front end to show the picture anew; the menu's item does the same and shows it checked.
TEST_CASE(actualSizeKey) {
    CHECK(isActualSizeKey({'0', true}));
    CHECK(isActualSizeKey({'0', true, true})); // Ctrl+Shift+0 where 0 needs Shift
    for (const KeyChord other :
         {KeyChord{'0'}, KeyChord{'0', false, true}, KeyChord{'0', true, false, true},
          KeyChord{'0', true, false, false, true}, KeyChord{'o', true}, KeyChord{'9', true},
          KeyChord{0, true}})
        CHECK(!isActualSizeKey(other));

    Screen s;
    CHECK(!s.actualSize() && !s.checked(Command::ActualSize));
    s.focus(Screen::kEdit17);
    Screen::Update u = s.key(Key::ActualSize);
    CHECK(u.taken && u.carryOut == Command::ActualSize);
    CHECK(s.actualSize() && s.checked(Command::ActualSize) && s.enabled(Command::ActualSize));
    CHECK(s.focused() == Screen::kEdit17);
    CHECK(s.key(Key::ActualSize).carryOut == Command::ActualSize);
    CHECK(!s.actualSize());
    CHECK(s.command(Command::ActualSize).carryOut == Command::ActualSize);
    CHECK(s.actualSize());
    s.command(Command::ActualSize);
    CHECK(!s.checked(Command::ActualSize));
    // Its item as the menu shows it; not a button of the strip, where the page has its own.
    CHECK_EQ(std::string(commandInfo(Command::ActualSize).text), std::string("1:1"));
    CHECK_EQ(commandTooltip(Command::ActualSize), std::string("1:1 (Ctrl+0)"));
    CHECK(commandInfo(Command::ActualSize).checkable);
    for (const CommandInfo& c : kCommands) CHECK(c.command != Command::ActualSize);
}

} // namespace

PLAIN_TEST_MAIN()
