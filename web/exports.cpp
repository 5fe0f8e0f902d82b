// The web page's only way into the simulator: plain C functions with number
// arguments, called from procesor.js. The page feeds them the mouse and the speed
// field's text, each with the time of its clock (performance.now(), in ms), wakes
// the screen when it asks to be woken, and copies the changed rectangles of the
// picture onto its canvas.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/PulseReport.h"
#include "panel/Speed.h"
#include "picture/DiagramLayout.h"
#include "picture/Scaled.h"
#include "picture/Scaling.h"
#include "screen/Screen.h"

namespace {

using procesor::render::Box;
using procesor::render::Millis;
using procesor::render::Screen;

struct Page {
    std::string pendingError; // set by the handler, taken by the page
    std::string shownError;
    std::unique_ptr<Screen> screen;
    std::vector<std::uint8_t> rgba;   // the canvas as ImageData wants it: R, G, B, A bytes
    std::vector<int> dirty;           // x, y, w, h of each changed rectangle
    std::string text;                 // UTF-8 passed in from the page
    std::size_t outBytes = 0;         // the length of the last text passed out
    std::string outText;              // a text made for the page
    std::string report;               // what the last pulse changed, for the live region
    std::vector<std::uint8_t> scaled; // the picture made smaller, RGBA bytes
    int scaledWidth = 0;
    int scaledHeight = 0;
    std::string name;                 // a file's name passed in from the page
    std::string program;              // the program in RAM passed out to the page
    int companion[2] = {0, 0};        // the element whose explainer the last click named
};

Page& page() {
    static Page p;
    return p;
}

// Every clock pulse the machine takes moves its phase on; the page says what the
// event's pulses changed.
template <typename Event> void reportingPulses(Event event) {
    const procesor::ProcessorModel& m = page().screen->simulator().model();
    const procesor::ProcessorModel before = m;
    const auto pulses = page().screen->pulses();
    event();
    if (page().screen->pulses() != pulses) page().report = procesor::pulseReport(before, m);
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

extern "C" {

EMSCRIPTEN_KEEPALIVE void procesor_init() {
    Page& p = page();
    p.screen = std::make_unique<Screen>([](const std::string& message) {
        // One box at a time: a handler reports at most one failed conversion.
        // The box shows the typed text readable and cut short as the desktop's does.
        if (page().pendingError.empty()) page().pendingError = procesor::boxedMessage(message);
    });
    const procesor::render::Canvas& c = p.screen->canvas();
    p.rgba.assign(std::size_t(c.width) * c.height * 4, 0);
}

// The length in bytes of the text that the last function returning one gave out.
EMSCRIPTEN_KEEPALIVE int procesor_out_bytes() {
    return int(page().outBytes);
}

EMSCRIPTEN_KEEPALIVE void procesor_mouse_down(int x, int y, double now) {
    page().screen->mouseDown(x, y, ms(now));
}

// Whether the click named a companion program; procesor_companion() then says which
// element was clicked (0 Image or 1 Label, and its number), for the page to open its
// explainer.
EMSCRIPTEN_KEEPALIVE int procesor_mouse_up(int x, int y, double now) {
    bool named = false;
    const auto element = page().screen->elementAt(x, y);
    reportingPulses([&] { named = page().screen->mouseUp(x, y, ms(now)).has_value(); });
    if (named && element) {
        page().companion[0] = element->kind == Screen::Element::Label ? 1 : 0;
        page().companion[1] = element->number;
    }
    return named ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const int* procesor_companion() {
    return page().companion;
}

// Runs every tick due by now; the page calls it when procesor_next_wake() asked,
// and when it is shown again.
EMSCRIPTEN_KEEPALIVE void procesor_wake(double now) {
    reportingPulses([&] { page().screen->wake(ms(now)); });
}

// When the screen next needs waking, on the page's clock; -1 while no timer runs.
EMSCRIPTEN_KEEPALIVE double procesor_next_wake() {
    const std::optional<Millis> due = page().screen->nextWake();
    return due ? double(*due) : -1.0;
}

// Whether TimerN runs, for the page's tests.
EMSCRIPTEN_KEEPALIVE int procesor_timer_running(int timer) {
    return page().screen->timer(timer).enabled ? 1 : 0;
}

// A tick of TimerN given by hand now, if it runs: the page's "#manual-timers".
EMSCRIPTEN_KEEPALIVE void procesor_tick(int timer, double now) {
    reportingPulses([&] { page().screen->timerTick(timer, ms(now)); });
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

// A program as text, pasted on the diagram or given in the page's address: the
// first `bytes` bytes of the text buffer.
EMSCRIPTEN_KEEPALIVE void procesor_paste(int bytes) {
    page().screen->paste(textIn(bytes));
}

// A file dropped on the page: its bytes (at most procesor_max_program_bytes() + 1
// of them) in the text buffer, its name of `nameBytes` bytes in the name buffer.
EMSCRIPTEN_KEEPALIVE void procesor_open_file(int nameBytes, int bytes) {
    const std::string& n = page().name;
    page().screen->openFile(
        std::string_view(n).substr(0, nameBytes > 0 ? std::size_t(nameBytes) : 0),
        textIn(bytes));
}

// A dropped file that the page could not read; its name is in the name buffer.
EMSCRIPTEN_KEEPALIVE void procesor_file_unreadable(int nameBytes) {
    const std::string& n = page().name;
    page().screen->fileUnreadable(
        std::string_view(n).substr(0, nameBytes > 0 ? std::size_t(nameBytes) : 0));
}

EMSCRIPTEN_KEEPALIVE int procesor_max_program_bytes() {
    return int(procesor::kMaxProgramBytes);
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
EMSCRIPTEN_KEEPALIVE void procesor_speed_edited(int bytes, double now) {
    page().screen->speedEdited(textIn(bytes), ms(now));
}

// The user changed Memo1: the picture shows its new text.
EMSCRIPTEN_KEEPALIVE void procesor_memo_edited(int bytes) {
    page().screen->memoEdited(textIn(bytes));
}

// What is selected in the fields: byte offsets into their UTF-8 texts.
EMSCRIPTEN_KEEPALIVE void procesor_fields_selected(int edit17From, int edit17To, int memo1From,
                                                   int memo1To) {
    page().screen->fieldsSelected({edit17From, edit17To}, {memo1From, memo1To});
}

// How far the fields scrolled their texts, in pixels.
EMSCRIPTEN_KEEPALIVE void procesor_fields_scrolled(int edit17X, int memo1X, int memo1Y) {
    page().screen->fieldsScrolled(edit17X, memo1X, memo1Y);
}

EMSCRIPTEN_KEEPALIVE void procesor_speed_arrow(int up, double now) {
    page().screen->speedArrow(up != 0, ms(now));
}

EMSCRIPTEN_KEEPALIVE const char* procesor_speed_text() {
    return out(page().screen->simulator().elements().edit17.text);
}

EMSCRIPTEN_KEEPALIVE int procesor_speed_visible() {
    return page().screen->simulator().elements().edit17.visible ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* procesor_memo_text() {
    return out(page().screen->fields().memo1);
}

// What the last clock pulse changed, in Czech, once; an empty text when nothing.
EMSCRIPTEN_KEEPALIVE const char* procesor_take_report() {
    Page& p = page();
    p.outText = std::move(p.report);
    p.report.clear();
    return out(p.outText);
}

// The error message the last event reported, once; an empty text when none.
EMSCRIPTEN_KEEPALIVE const char* procesor_take_error() {
    Page& p = page();
    p.shownError = std::move(p.pendingError);
    p.pendingError.clear();
    return out(p.shownError);
}

// Draws what changed and returns how many rectangles changed; procesor_dirty()
// then holds x, y, w, h of each, procesor_pixels() the whole canvas as RGBA bytes.
EMSCRIPTEN_KEEPALIVE int procesor_render() {
    Page& p = page();
    const std::vector<Box> boxes = p.screen->render();
    p.dirty.clear();
    for (Box b : boxes) {
        const Box all = {0, 0, p.screen->canvas().width, p.screen->canvas().height};
        const int right = std::min(b.x + b.w, all.w), bottom = std::min(b.y + b.h, all.h);
        b.x = std::max(b.x, 0);
        b.y = std::max(b.y, 0);
        b.w = right - b.x;
        b.h = bottom - b.y;
        if (b.w <= 0 || b.h <= 0) continue;
        copyRgba(p.screen->canvas(), b, p.rgba);
        p.dirty.insert(p.dirty.end(), {b.x, b.y, b.w, b.h});
    }
    return int(p.dirty.size() / 4);
}

EMSCRIPTEN_KEEPALIVE const int* procesor_dirty() {
    return page().dirty.data();
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* procesor_pixels() {
    return page().rgba.data();
}

// The control that has the keyboard focus in the page: kind (0 none, 1 a panel, 2 a
// data switch, 3 an arrow) and number (Panel1 -> 1, Button8 -> 8, the arrows +1, -1).
EMSCRIPTEN_KEEPALIVE void procesor_set_focus(int kind, int number) {
    constexpr Screen::Element::Kind kinds[] = {Screen::Element::Panel, Screen::Element::DataSwitch,
                                               Screen::Element::Arrow};
    if (kind >= 1 && kind <= 3)
        page().screen->setFocus(Screen::Element{kinds[kind - 1], number});
    else
        page().screen->setFocus(std::nullopt);
}

// What a screen reader says for that control.
EMSCRIPTEN_KEEPALIVE const char* procesor_accessible_name(int kind, int number) {
    constexpr Screen::Element::Kind kinds[] = {Screen::Element::Panel, Screen::Element::DataSwitch,
                                               Screen::Element::Arrow};
    Page& p = page();
    p.outText = kind >= 1 && kind <= 3
                    ? p.screen->accessibleName(Screen::Element{kinds[kind - 1], number})
                    : std::string();
    return out(p.outText);
}

// The arrows and panels in their Tab order: kind, number, x, y, w, h of each, as many
// as procesor_keyboard_count().
EMSCRIPTEN_KEEPALIVE int procesor_keyboard_count() {
    return int(Screen::keyboardControls().size());
}

EMSCRIPTEN_KEEPALIVE const int* procesor_keyboard_places() {
    static std::vector<int> places;
    places.clear();
    for (const Screen::KeyboardControl& c : Screen::keyboardControls()) {
        const int kind = c.element.kind == Screen::Element::Panel ? 1 : 3;
        places.insert(places.end(), {kind, c.element.number, c.box.x, c.box.y, c.box.w, c.box.h});
    }
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
    shownFit() = actual ? procesor::render::actualSize(c.width, c.height)
                        : procesor::render::fitPicture(width, height, c.width, c.height);
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
    const procesor::render::Canvas& c = p.screen->canvas();
    width = std::clamp(width, 1, 8 * c.width);
    height = std::clamp(height, 1, 8 * c.height);
    p.scaled.resize(std::size_t(width) * height * 4);
    procesor::render::scaleTo(c, width, height, p.scaled.data());
    return p.scaled.data();
}

// The data switches: number, x, y, w, h of each, as many as procesor_switch_count().
EMSCRIPTEN_KEEPALIVE int procesor_switch_count() {
    return int(procesor::layout::dataSwitches().size());
}

EMSCRIPTEN_KEEPALIVE const int* procesor_switch_places() {
    static std::vector<int> places;
    places.clear();
    for (const procesor::layout::SwitchPlace& s : procesor::layout::dataSwitches())
        places.insert(places.end(), {s.button, s.box.x, s.box.y, s.box.w, s.box.h});
    return places.data();
}

// Clock pulses taken so far, for the page's tests and figures.
EMSCRIPTEN_KEEPALIVE double procesor_pulses() {
    return double(page().screen->pulses());
}

// Where the page puts its own fields: x, y, w, h of Edit17, UpDown1 and Memo1, then
// the client area's width and height.
EMSCRIPTEN_KEEPALIVE const int* procesor_places() {
    using namespace procesor::layout;
    static const int places[] = {kEdit17.x,  kEdit17.y,  kEdit17.w,    kEdit17.h,    kUpDown1.x,
                                 kUpDown1.y, kUpDown1.w, kUpDown1.h,   kMemo1.x,     kMemo1.y,
                                 kMemo1.w,   kMemo1.h,   kClientWidth, kClientHeight};
    return places;
}

} // extern "C"
