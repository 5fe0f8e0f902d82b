// The web page's only way into the simulator: plain C functions with integer
// arguments, called from procesor.js. The page feeds them the mouse, the ticks of
// its timers and the speed field's text, and copies the changed rectangles of the
// picture onto its canvas.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "renderer/DiagramLayout.h"
#include "renderer/Screen.h"

namespace {

using procesor::render::Box;
using procesor::render::Screen;

struct Page {
    std::string pendingError; // set by the handler, taken by the page
    std::string shownError;
    std::unique_ptr<Screen> screen;
    std::vector<std::uint8_t> rgba; // the canvas as ImageData wants it: R, G, B, A bytes
    std::vector<int> dirty;         // x, y, w, h of each changed rectangle
    std::string text;               // UTF-8 passed in from the page, or out to it
    std::string memo;
    unsigned pulses = 0;       // clock pulses taken, for the page's tests and figures
    int companion[2] = {0, 0}; // the element whose explainer the last click named
};

Page& page() {
    static Page p;
    return p;
}

// Every clock pulse the machine takes moves its phase on by one state.
template <typename Event> void countingPulses(Event event) {
    const procesor::ProcessorModel& m = page().screen->simulator().model();
    const bool phi1 = m.phi1, phi2 = m.phi2;
    event();
    if (m.phi1 != phi1 || m.phi2 != phi2) ++page().pulses;
}

bool validTimer(int n) {
    return n >= 1 && n <= 5;
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
        if (page().pendingError.empty()) page().pendingError = message;
    });
    const procesor::render::Canvas& c = p.screen->canvas();
    p.rgba.assign(std::size_t(c.width) * c.height * 4, 0);
    p.memo.clear();
    for (std::string_view line : procesor::layout::memoLines()) {
        p.memo += line;
        p.memo += '\n';
    }
    if (!p.memo.empty()) p.memo.pop_back(); // no newline after the last line
}

EMSCRIPTEN_KEEPALIVE void procesor_mouse_down(int x, int y) {
    page().screen->mouseDown(x, y);
}

// Whether the click named a companion program; procesor_companion() then says which
// element was clicked (0 Image or 1 Label, and its number), for the page to open its
// explainer.
EMSCRIPTEN_KEEPALIVE int procesor_mouse_up(int x, int y) {
    bool named = false;
    const auto element = page().screen->elementAt(x, y);
    countingPulses([&] { named = page().screen->mouseUp(x, y).has_value(); });
    if (named && element) {
        page().companion[0] = element->kind == Screen::Element::Label ? 1 : 0;
        page().companion[1] = element->number;
    }
    return named ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const int* procesor_companion() {
    return page().companion;
}

EMSCRIPTEN_KEEPALIVE void procesor_timer_tick(int timer, int releaseDueInMs) {
    if (validTimer(timer)) countingPulses([&] { page().screen->timerTick(timer, releaseDueInMs); });
}

EMSCRIPTEN_KEEPALIVE int procesor_timer_enabled(int timer) {
    return validTimer(timer) && page().screen->timer(timer).enabled ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int procesor_timer_interval(int timer) {
    return validTimer(timer) ? page().screen->timer(timer).interval : 0;
}

EMSCRIPTEN_KEEPALIVE unsigned procesor_timer_starts(int timer) {
    return validTimer(timer) ? page().screen->timer(timer).starts : 0;
}

// A buffer of `bytes` bytes for the page to write UTF-8 text into.
EMSCRIPTEN_KEEPALIVE char* procesor_text_buffer(int bytes) {
    std::string& t = page().text;
    t.assign(std::size_t(bytes > 0 ? bytes : 0) + 1, '\0');
    return t.data();
}

// The user changed Edit17: its new text is the first `bytes` bytes of the buffer.
EMSCRIPTEN_KEEPALIVE void procesor_speed_edited(int bytes) {
    std::string& t = page().text;
    t.resize(std::size_t(bytes > 0 && std::size_t(bytes) < t.size() ? bytes : 0));
    page().screen->speedEdited(t);
}

EMSCRIPTEN_KEEPALIVE void procesor_speed_arrow(int up) {
    page().screen->speedArrow(up != 0);
}

EMSCRIPTEN_KEEPALIVE const char* procesor_speed_text() {
    return page().screen->simulator().elements().edit17.text.c_str();
}

EMSCRIPTEN_KEEPALIVE int procesor_speed_visible() {
    return page().screen->simulator().elements().edit17.visible ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* procesor_memo_text() {
    return page().memo.c_str();
}

// The error message the last event reported, once; an empty text when none.
EMSCRIPTEN_KEEPALIVE const char* procesor_take_error() {
    Page& p = page();
    p.shownError = std::move(p.pendingError);
    p.pendingError.clear();
    return p.shownError.c_str();
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

// The data switch (8..11) that has the keyboard focus in the page, 0 for none.
EMSCRIPTEN_KEEPALIVE void procesor_set_focus(int dataSwitch) {
    page().screen->setFocus(dataSwitch);
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

EMSCRIPTEN_KEEPALIVE unsigned procesor_pulses() {
    return page().pulses;
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
