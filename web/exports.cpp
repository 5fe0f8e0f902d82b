// The web page's only way into the simulator: plain C functions with number
// arguments, called from procesor.js. The page feeds them the mouse, the keys, the
// focus and the fields' texts, each with the time of its clock (performance.now(),
// in ms). Every event returns the screen's update as a record of ints (see
// procesor_update_record()), its texts read with procesor_update_text(); the page
// carries it out: it copies the changed rectangles onto its canvas, brings the speed
// field in line, sets the wake, moves the focus, opens the error box, says the
// sentence and opens the explainer named.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "picture/DiagramLayout.h"
#include "picture/Scaled.h"
#include "picture/Scaling.h"
#include "screen/Screen.h"
#include "screen/TimeLine.h"
#include "web/Start.h"
#include "web/page.h"

namespace {

using procesor::render::Box;
using procesor::screen::Command;
using procesor::screen::kCommands;
using procesor::screen::Key;
using procesor::screen::Millis;
using procesor::screen::Screen;
using Element = Screen::Element;

// The update as the page reads it, one int each (a kind is an Element::Kind code,
// -1 for none; a number as Element's). The dirty rectangles follow as x, y, w, h.
enum Field {
    kDirtyCount,
    kSpeedVisible,
    kFocusKind,
    kFocusNumber,
    kClickedKind,
    kClickedNumber,
    kCompanion, // 1: the element clicked names an explainer
    kTaken,     // 0: the key or the paste is the page's own
    kNextWakeKnown,
    kCarryOut, // a Command for the page to carry out itself, -1 for none
    kPanes,     // 1: the panes beside the diagram changed (procesor_pane_pixels)
    kPaneWidth, // their width now, 0 while none is open
    kFields
};

struct Page {
    std::unique_ptr<Screen> screen;
    std::vector<std::uint8_t> rgba;   // the canvas as ImageData wants it: R, G, B, A bytes
    std::vector<int> record;          // the last update: kFields ints, then the rectangles
    Screen::Update last;              // its texts and its wake
    std::string text;                 // UTF-8 passed in from the page
    std::size_t outBytes = 0;         // the length of the last text passed out
    std::string outText;              // a text made for the page
    std::vector<std::uint8_t> scaled; // the picture made smaller, RGBA bytes
    std::string name;                 // a file's name passed in from the page
    std::string program;              // the program in RAM passed out to the page
    std::vector<std::uint8_t> panes;  // the panes beside the diagram, RGBA bytes
    procesor::render::Canvas whole;   // the diagram with the panes, for procesor_scaled
};

Page& page() {
    static Page p;
    return p;
}

// The picture the page shows: the diagram, and the panes right of it while open.
const procesor::render::Canvas& shown() {
    Page& p = page();
    const procesor::render::Canvas& c = p.screen->canvas();
    const procesor::render::Canvas& panes = p.screen->paneCanvas();
    if (panes.width == 0) return c;
    p.whole = procesor::render::Canvas(c.width + panes.width, c.height);
    for (int y = 0; y < c.height; ++y) {
        std::copy_n(c.pixels.begin() + std::ptrdiff_t(y) * c.width, c.width,
                    p.whole.pixels.begin() + std::ptrdiff_t(y) * p.whole.width);
        if (y < panes.height)
            std::copy_n(panes.pixels.begin() + std::ptrdiff_t(y) * panes.width, panes.width,
                        p.whole.pixels.begin() + std::ptrdiff_t(y) * p.whole.width + c.width);
    }
    return p.whole;
}

std::optional<Element> elementOf(int kind, int number) {
    if (kind < Element::Image || kind > Element::Pane) return std::nullopt;
    return Element{Element::Kind(kind), number};
}

void copyRgba(const procesor::render::Canvas& c, Box r, std::vector<std::uint8_t>& out);

// The update in the record, its rectangles' pixels in the RGBA copy; the machine
// as it is after it to the explainers that follow it.
const int* record(Screen::Update u) {
    Page& p = page();
    procesor::web::explainersFollow(p.screen->simulator());
    const procesor::render::Canvas& c = p.screen->canvas();
    std::vector<int>& r = p.record;
    r.assign(kFields, 0);
    for (Box b : u.dirty) {
        const int right = std::min(b.x + b.w, c.width), bottom = std::min(b.y + b.h, c.height);
        b.x = std::max(b.x, 0);
        b.y = std::max(b.y, 0);
        b.w = right - b.x;
        b.h = bottom - b.y;
        if (b.w <= 0 || b.h <= 0) continue;
        copyRgba(c, b, p.rgba);
        r.insert(r.end(), {b.x, b.y, b.w, b.h});
    }
    r[kDirtyCount] = int(r.size() - kFields) / 4;
    r[kSpeedVisible] = u.speedVisible ? 1 : 0;
    r[kFocusKind] = u.focus ? int(u.focus->kind) : -1;
    r[kFocusNumber] = u.focus ? u.focus->number : 0;
    r[kClickedKind] = u.clicked ? int(u.clicked->kind) : -1;
    r[kClickedNumber] = u.clicked ? u.clicked->number : 0;
    r[kCompanion] = u.companion ? 1 : 0;
    r[kTaken] = u.taken ? 1 : 0;
    r[kNextWakeKnown] = u.nextWake ? 1 : 0;
    r[kCarryOut] = u.carryOut ? int(*u.carryOut) : -1;
    r[kPanes] = u.panes ? 1 : 0;
    r[kPaneWidth] = p.screen->paneWidth();
    p.last = std::move(u);
    return r.data();
}

// A text for the page, read with its length (procesor_out_bytes): it may hold a NUL.
const char* out(const std::string& text) {
    page().outBytes = text.size();
    return text.data();
}

// The text the page wrote into the buffer: its first `bytes` bytes.
const std::string& textIn(int bytes) {
    std::string& t = page().text;
    t.resize(std::size_t(bytes > 0 && std::size_t(bytes) < t.size() ? bytes : 0));
    return t;
}

// The page's clock in whole milliseconds.
// A time that is no number (a call that left it out) is the screen's own last one.
Millis ms(double now) {
    return std::isfinite(now) ? Millis(std::floor(now)) : page().screen->now();
}

// 0xFFRRGGBB words to R, G, B, A bytes, only inside r.
void copyRgba(const procesor::render::Canvas& c, Box r, std::vector<std::uint8_t>& out) {
    for (int y = r.y; y < r.y + r.h; ++y) {
        const std::uint32_t* from = c.pixels.data() + std::size_t(y) * c.width + r.x;
        std::uint8_t* to = out.data() + (std::size_t(y) * c.width + r.x) * 4;
        for (int x = 0; x < r.w; ++x, to += 4) {
            const std::uint32_t p = from[x];
            to[0] = std::uint8_t(p >> 16);
            to[1] = std::uint8_t(p >> 8);
            to[2] = std::uint8_t(p);
            to[3] = 0xFF;
        }
    }
}

} // namespace

const procesor::Simulator& procesor::web::pageSimulator() {
    return page().screen->simulator();
}

extern "C" {

// The first update: the whole picture, the fields, the focus in the speed field.
EMSCRIPTEN_KEEPALIVE const int* procesor_init() {
    Page& p = page();
    p.screen = std::make_unique<Screen>();
    const procesor::render::Canvas& c = p.screen->canvas();
    p.rgba.assign(std::size_t(c.width) * c.height * 4, 0);
    return record(procesor::web::start(*p.screen));
}

// The codes the seam uses, in this order: the element kinds Image, Label, Panel,
// DataSwitch, Arrow and Field, then the keys Tab, BackTab, Space, Enter, Up, Down,
// Undo, Redo, PageUp, PageDown, TimingDiagram (F8) and SavePicture (Ctrl+S), then the
// element kind Pane.
EMSCRIPTEN_KEEPALIVE const int* procesor_codes() {
    static const int codes[] = {
        Element::Image,          Element::Label,       Element::Panel,   Element::DataSwitch,
        Element::Arrow,          Element::Field,       int(Key::Tab),    int(Key::BackTab),
        int(Key::Space),         int(Key::Enter),      int(Key::Up),     int(Key::Down),
        int(Key::Undo),          int(Key::Redo),       int(Key::PageUp), int(Key::PageDown),
        int(Key::TimingDiagram), int(Key::SavePicture), Element::Pane};
    return codes;
}

// How many ints the record has before its rectangles; the last update's record.
EMSCRIPTEN_KEEPALIVE int procesor_update_fields() {
    return kFields;
}

EMSCRIPTEN_KEEPALIVE const int* procesor_update_record() {
    return page().record.data();
}

// A text of the last update, read with procesor_out_bytes(): 0 the speed field's
// text, 1 the error box to open (empty: none), 2 what the panes said and what its
// clock pulses changed, for the live region.
EMSCRIPTEN_KEEPALIVE const char* procesor_update_text(int which) {
    const Screen::Update& u = page().last;
    return out(which == 0   ? u.speedText
               : which == 1 ? u.error
               : which == 2 ? (page().outText = u.spoken())
                            : page().outText);
}

// When the screen next needs waking, on the page's clock; -1 while no timer runs.
EMSCRIPTEN_KEEPALIVE double procesor_next_wake() {
    const std::optional<Millis> due = page().last.nextWake;
    return due ? double(*due) : -1.0;
}

// The length in bytes of the text that the last function returning one gave out.
EMSCRIPTEN_KEEPALIVE int procesor_out_bytes() {
    return int(page().outBytes);
}

EMSCRIPTEN_KEEPALIVE const int* procesor_mouse_down(int x, int y, double now) {
    return record(page().screen->mouseDown(x, y, ms(now)));
}

EMSCRIPTEN_KEEPALIVE const int* procesor_mouse_up(int x, int y, double now) {
    return record(page().screen->mouseUp(x, y, ms(now)));
}

// A key (a code of procesor_codes()) pressed, or released, on a control of the page.
EMSCRIPTEN_KEEPALIVE const int* procesor_key(int key, int down, double now) {
    const Key k = Key(std::clamp(key, int(Key::Tab), int(Key::SavePicture)));
    return record(down ? page().screen->key(k, ms(now)) : page().screen->keyReleased(k, ms(now)));
}

// The page moved the focus itself (a click into a field, the focus coming in from
// beyond the diagram, or going out: kind -1).
EMSCRIPTEN_KEEPALIVE const int* procesor_focus(int kind, int number, double now) {
    return record(page().screen->focus(elementOf(kind, number), ms(now)));
}

EMSCRIPTEN_KEEPALIVE const int* procesor_error_closed(double now) {
    return record(page().screen->errorClosed(ms(now)));
}

// Runs every tick due by now; the page calls it when procesor_next_wake() asked,
// and when it is shown again.
EMSCRIPTEN_KEEPALIVE const int* procesor_wake(double now) {
    return record(page().screen->wake(ms(now)));
}

// Whether TimerN runs, for the page's tests.
EMSCRIPTEN_KEEPALIVE int procesor_timer_running(int timer) {
    return page().screen->timer(timer).enabled ? 1 : 0;
}

// A tick of TimerN given by hand now, if it runs: the page's "#manual-timers".
EMSCRIPTEN_KEEPALIVE const int* procesor_tick(int timer, double now) {
    return record(page().screen->timerTick(timer, ms(now)));
}

// The time of the last event or tick the screen ran.
EMSCRIPTEN_KEEPALIVE double procesor_now() {
    return double(page().screen->now());
}

// A buffer of `bytes` bytes for the page to write UTF-8 text into.
EMSCRIPTEN_KEEPALIVE char* procesor_text_buffer(int bytes) {
    std::string& t = page().text;
    t.assign(std::size_t(bytes > 0 ? bytes : 0) + 1, '\0');
    return t.data();
}

// A buffer of `bytes` bytes for the page to write a file's name into, as UTF-8.
EMSCRIPTEN_KEEPALIVE char* procesor_name_buffer(int bytes) {
    std::string& n = page().name;
    n.assign(std::size_t(bytes > 0 ? bytes : 0) + 1, '\0');
    return n.data();
}

// A program as text, pasted (`pasted` 1) or dropped or given in the page's address:
// the first `bytes` bytes of the text buffer. Pasted into the speed field, a number
// (or what is no program) is the field's own: the record's kTaken is 0.
EMSCRIPTEN_KEEPALIVE const int* procesor_paste(int bytes, int pasted, double now) {
    Screen& s = *page().screen;
    return record(pasted ? s.paste(textIn(bytes), ms(now)) : s.bringIn(textIn(bytes), ms(now)));
}

// A file dropped on the page: its bytes (at most procesor_max_program_bytes() + 1
// of them) in the text buffer, its name of `nameBytes` bytes in the name buffer.
EMSCRIPTEN_KEEPALIVE const int* procesor_open_file(int nameBytes, int bytes, double now) {
    const std::string& n = page().name;
    return record(page().screen->openFile(
        std::string_view(n).substr(0, nameBytes > 0 ? std::size_t(nameBytes) : 0), textIn(bytes),
        ms(now)));
}

// A dropped file that the page could not read; its name is in the name buffer.
EMSCRIPTEN_KEEPALIVE const int* procesor_file_unreadable(int nameBytes, double now) {
    const std::string& n = page().name;
    return record(page().screen->fileUnreadable(
        std::string_view(n).substr(0, nameBytes > 0 ? std::size_t(nameBytes) : 0), ms(now)));
}

EMSCRIPTEN_KEEPALIVE int procesor_max_program_bytes() {
    return int(std::max(procesor::kMaxProgramBytes, procesor::kMaxTaskBytes));
}

// A task given in the page's address ("#task="): the first `bytes` bytes of the text
// buffer; one that does not parse opens the error box and changes nothing.
EMSCRIPTEN_KEEPALIVE const int* procesor_open_task(int bytes, double now) {
    return record(page().screen->openTask(textIn(bytes), {}, ms(now)));
}

// The panes beside the diagram as RGBA bytes, procesor_update_record()'s width by the
// diagram's height.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* procesor_pane_pixels() {
    Page& p = page();
    const procesor::render::Canvas& c = p.screen->paneCanvas();
    p.panes.assign(std::size_t(c.width) * c.height * 4, 0);
    copyRgba(c, {0, 0, c.width, c.height}, p.panes);
    return p.panes.data();
}

// The panes' controls that take the keyboard focus now, in Tab's order: kind,
// number, x, y, w, h (in client pixels, right of the diagram) of each, as many as
// procesor_pane_controls_count().
EMSCRIPTEN_KEEPALIVE int procesor_pane_controls_count() {
    return int(page().screen->paneControls().size());
}

EMSCRIPTEN_KEEPALIVE const int* procesor_pane_controls() {
    static std::vector<int> places;
    places.clear();
    for (const Screen::KeyboardControl& c : page().screen->paneControls())
        places.insert(places.end(),
                      {int(c.element.kind), c.element.number,
                       procesor::layout::kClientWidth + c.box.x, c.box.y, c.box.w, c.box.h});
    return places.data();
}

// What Ctrl+C on the diagram copies: the program in RAM, or an empty text when
// there is nothing to copy.
EMSCRIPTEN_KEEPALIVE const char* procesor_copy_text() {
    page().program = page().screen->copy().value_or(std::string());
    return page().program.c_str();
}

// The program in RAM as the page's address carries it, words joined by dots.
EMSCRIPTEN_KEEPALIVE const char* procesor_program_link() {
    page().program = page().screen->programLink();
    return page().program.c_str();
}

// The user changed Edit17: its new text is the first `bytes` bytes of the buffer,
// NULs and all.
EMSCRIPTEN_KEEPALIVE const int* procesor_speed_edited(int bytes, double now) {
    return record(page().screen->speedEdited(textIn(bytes), ms(now)));
}

// The fields as they show now: Memo1's text (the first `memoBytes` bytes of the text
// buffer, -1 when unchanged), how far the fields scrolled their texts in pixels, and
// what is selected in them as byte offsets into their UTF-8 texts.
EMSCRIPTEN_KEEPALIVE const int* procesor_fields_shown(int memoBytes, int edit17X, int memo1X,
                                                      int memo1Y, int edit17From, int edit17To,
                                                      int memo1From, int memo1To) {
    Screen& s = *page().screen;
    if (memoBytes >= 0) s.memoEdited(textIn(memoBytes));
    s.fieldsScrolled(edit17X, memo1X, memo1Y);
    s.fieldsSelected({edit17From, edit17To}, {memo1From, memo1To});
    return record(s.focus(s.focused()));
}

EMSCRIPTEN_KEEPALIVE const char* procesor_memo_text() {
    return out(page().screen->fields().memo1);
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* procesor_pixels() {
    return page().rgba.data();
}

// What a screen reader says for a control.
EMSCRIPTEN_KEEPALIVE const char* procesor_accessible_name(int kind, int number) {
    Page& p = page();
    const std::optional<Element> e = elementOf(kind, number);
    p.outText = e ? p.screen->accessibleName(*e) : std::string();
    return out(p.outText);
}

// Every stop of the keyboard focus in the order Tab visits them, the speed field
// always included: kind, number, x, y, w, h of each, as many as
// procesor_focus_ring_count().
EMSCRIPTEN_KEEPALIVE int procesor_focus_ring_count() {
    return int(2 + procesor::layout::dataSwitches().size() + Screen::keyboardControls().size());
}

EMSCRIPTEN_KEEPALIVE const int* procesor_focus_ring() {
    using namespace procesor::layout;
    static std::vector<int> places;
    places.clear();
    const auto add = [](Element e, Box b) {
        places.insert(places.end(), {int(e.kind), e.number, b.x, b.y, b.w, b.h});
    };
    add(Screen::kEdit17, kEdit17);
    for (const SwitchPlace& s : dataSwitches()) add({Element::DataSwitch, s.button}, s.box);
    add(Screen::kMemo1, kMemo1);
    for (const Screen::KeyboardControl& c : Screen::keyboardControls()) add(c.element, c.box);
    return places.data();
}

// The picture's size in a room of width x height device pixels (at one device pixel
// per pixel with `actual`): the shown width, height and whole factor (0: averaged,
// procesor_scaled makes it), which clicks are mapped back through.
procesor::render::Fit& shownFit() {
    static procesor::render::Fit fit = procesor::render::actualSize(1024, 715);
    return fit;
}
EMSCRIPTEN_KEEPALIVE const int* procesor_fit(int width, int height, int actual) {
    const procesor::render::Canvas& c = page().screen->canvas();
    const int w = c.width + page().screen->paneWidth(); // the panes fitted with the diagram
    shownFit() = actual ? procesor::render::actualSize(w, c.height)
                        : procesor::render::fitPicture(width, height, w, c.height);
    static int out[3];
    out[0] = shownFit().width;
    out[1] = shownFit().height;
    out[2] = shownFit().factor;
    return out;
}

// The picture's pixel under device pixel (x, y) of the picture shown, x and y, or
// -1, -1 outside it.
EMSCRIPTEN_KEEPALIVE const int* procesor_picture_at(int x, int y) {
    static int out[2];
    const procesor::render::PicturePoint at = procesor::render::pictureAt(shownFit(), x, y);
    out[0] = at.x;
    out[1] = at.y;
    return out;
}

// The whole picture made width x height (at most eight times its own), every pixel the
// average of the picture's pixels it covers; RGBA bytes.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* procesor_scaled(int width, int height) {
    Page& p = page();
    const procesor::render::Canvas& c = shown();
    width = std::clamp(width, 1, 8 * c.width);
    height = std::clamp(height, 1, 8 * c.height);
    p.scaled.resize(std::size_t(width) * height * 4);
    procesor::render::scaleTo(c, width, height, p.scaled.data());
    return p.scaled.data();
}

// Clock pulses taken so far, for the page's tests and figures.
EMSCRIPTEN_KEEPALIVE double procesor_pulses() {
    return double(page().screen->pulses());
}

// Where the page puts its own fields (web/Start.h).
EMSCRIPTEN_KEEPALIVE const int* procesor_places() {
    return procesor::web::kPlaces.data();
}

// ---- the commands of the strip beside the diagram (screen/Commands.h) ----

// How many commands there are; for each, in the table's order: its code, whether it
// can be given now, whether it is on (a toggle) and whether it is a toggle.
EMSCRIPTEN_KEEPALIVE int procesor_command_count() {
    return int(kCommands.size());
}

EMSCRIPTEN_KEEPALIVE const int* procesor_command_states() {
    static std::vector<int> states;
    states.clear();
    const Screen& s = *page().screen;
    for (const procesor::screen::CommandInfo& c : kCommands)
        states.insert(states.end(), {int(c.command), s.enabled(c.command) ? 1 : 0,
                                     s.checked(c.command) ? 1 : 0, c.checkable ? 1 : 0});
    return states.data();
}

// A command's text (which 0) or its tooltip with the shortcut (1), by its code.
EMSCRIPTEN_KEEPALIVE const char* procesor_command_text(int command, int which) {
    Page& p = page();
    p.outText.clear();
    for (const procesor::screen::CommandInfo& c : kCommands)
        if (int(c.command) == command)
            p.outText = which ? procesor::screen::commandTooltip(c.command) : std::string(c.text);
    return out(p.outText);
}

// The command given (a button of the strip); one that is not, or not now, does nothing.
EMSCRIPTEN_KEEPALIVE const int* procesor_command(int command, double now) {
    Screen& s = *page().screen;
    for (const procesor::screen::CommandInfo& c : kCommands)
        if (int(c.command) == command) return record(s.command(c.command, ms(now)));
    return record(s.focus(s.focused(), ms(now)));
}

// "Uložit obrázek…": the diagram as it is now as the bytes of a PNG file.
EMSCRIPTEN_KEEPALIVE const char* procesor_picture_png() {
    Page& p = page();
    p.outText = p.screen->picturePng();
    return out(p.outText);
}

// ---- "Časový diagram" and the log of transfers ----

// The timing diagram's width and height, then its pixels drawn anew as RGBA bytes.
EMSCRIPTEN_KEEPALIVE int procesor_timing_width() {
    return procesor::screen::TimingDiagram::kWidth;
}
EMSCRIPTEN_KEEPALIVE int procesor_timing_height() {
    return procesor::screen::TimingDiagram::kHeight;
}
EMSCRIPTEN_KEEPALIVE const std::uint8_t* procesor_timing_pixels() {
    static std::vector<std::uint8_t> rgba;
    const procesor::render::Canvas& c = page().screen->drawTimingDiagram();
    rgba.resize(std::size_t(c.width) * c.height * 4);
    copyRgba(c, {0, 0, c.width, c.height}, rgba);
    return rgba.data();
}

// A click at the timing diagram's pixel (x, y), or one of its keys (Left, Right,
// PageLeft, PageRight, Home, End, Enter: 0..6): the machine moved to the pulse named,
// if any, with the diagram's update.
EMSCRIPTEN_KEEPALIVE const int* procesor_timing_click(int x, int y, double now) {
    Screen& s = *page().screen;
    s.timingDiagramClick(x, y, ms(now));
    return record(s.focus(s.focused(), ms(now)));
}
EMSCRIPTEN_KEEPALIVE const int* procesor_timing_key(int key, double now) {
    Screen& s = *page().screen;
    if (key >= 0 && key <= int(procesor::screen::TimingDiagram::Key::Enter))
        s.timingDiagramKey(procesor::screen::TimingDiagram::Key(key), ms(now));
    return record(s.focus(s.focused(), ms(now)));
}
// The mouse wheel: whole columns, to the right for positive ones.
EMSCRIPTEN_KEEPALIVE void procesor_timing_scroll(int columns) {
    page().screen->timingDiagramScroll(std::clamp(columns, -1000, 1000));
}

// Where the time line is: its first position, where the machine is, its newest.
// (Each counted from the first ever made, as long as they fit an int.)
EMSCRIPTEN_KEEPALIVE const int* procesor_time_line() {
    static int at[3];
    const procesor::History& h = page().screen->history();
    const auto fit = [](std::uint64_t p) { return int(std::min<std::uint64_t>(p, 0x7FFFFFFF)); };
    at[0] = fit(h.first());
    at[1] = fit(h.position());
    at[2] = fit(h.last());
    return at;
}

// The log of transfers, one line each; the table of pulses as CSV (UTF-8, a header row).
EMSCRIPTEN_KEEPALIVE const char* procesor_transfer_log() {
    Page& p = page();
    p.outText = procesor::transferLogText(p.screen->history());
    return out(p.outText);
}
EMSCRIPTEN_KEEPALIVE const char* procesor_pulse_csv() {
    Page& p = page();
    p.outText = procesor::pulseTableCsv(p.screen->history());
    return out(p.outText);
}

// ---- the work kept across a reload ----

// The student's work as text for the page's own storage; empty: nothing to keep (the
// page removes what it kept).
EMSCRIPTEN_KEEPALIVE const char* procesor_saved_work() {
    Page& p = page();
    p.outText = p.screen->savedWork();
    return out(p.outText);
}

// The kept text (the first `bytes` of the text buffer) taken back when its program is
// the address's (`programBytes` of the name buffer): 1, or 0 with nothing changed.
EMSCRIPTEN_KEEPALIVE int procesor_restore_work(int bytes, int programBytes, double now) {
    const std::string& n = page().name;
    const std::string_view program =
        std::string_view(n).substr(0, programBytes > 0 ? std::size_t(programBytes) : 0);
    return page().screen->restoreWork(textIn(bytes), program, ms(now)) ? 1 : 0;
}

} // extern "C"
