// The explainers in the page: plain C functions with integer arguments, called from
// explainers.js. Each open explainer is a scene with a handle (1, 2, ...); the page
// feeds it the mouse and the keys of its own window and copies the changed
// rectangles of its picture onto that window's canvas. Opened from the diagram it
// follows the student's machine (screen/Explainers.h): after each update of the
// page, explainers_follow() hands it the machine and the page repaints it.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "companions/Scenes.h"
#include "picture/Scaled.h"
#include "picture/Scaling.h"
#include "screen/CompanionClicks.h"
#include "screen/Explainers.h"
#include "web/page.h"

namespace {

using procesor::explain::Scene;
using procesor::render::Box;

struct Open {
    Scene* scene = nullptr; // kept by Explainers::scenes
    std::string command;
    std::string title;
    std::vector<std::uint8_t> rgba;   // the scene's canvas as R, G, B, A bytes
    std::vector<std::uint8_t> scaled; // the canvas made to another size, the same way
};

struct Explainers {
    procesor::screen::OpenExplainers scenes;
    std::map<int, Open> open;
    std::vector<int> dirty; // x, y, w, h of each changed rectangle of the last render
};

Explainers& explainers() {
    static Explainers e;
    return e;
}

Open* find(int handle) {
    auto& open = explainers().open;
    const auto at = open.find(handle);
    return at == open.end() ? nullptr : &at->second;
}

} // namespace

void procesor::web::explainersFollow(const Simulator& sim) {
    explainers().scenes.follow(sim);
}

extern "C" {

// Opens the explainer of a diagram element (kind 0: Image, 1: Label; its number),
// opened on that element and, with `follow`, on the student's machine, following it;
// returns its handle, 0 when the element has none.
EMSCRIPTEN_KEEPALIVE int explain_open(int kind, int number, int follow) {
    const auto k = kind == 1 ? procesor::ElementKind::Label : procesor::ElementKind::Image;
    Explainers& e = explainers();
    const int handle = e.scenes.open(k, number, follow ? &procesor::web::pageSimulator() : nullptr);
    if (!handle) return 0;
    Open& o = e.open[handle];
    o.scene = e.scenes.scene(handle);
    o.title = o.scene->title();
    o.command = procesor::companionFor(k, number);
    o.rgba.assign(std::size_t(o.scene->width()) * std::size_t(o.scene->height()) * 4, 0xFF);
    return handle;
}

// The command of the explainer an element opens ("" when none), so that the page can
// bring an open one to the front instead of opening it again.
EMSCRIPTEN_KEEPALIVE const char* explain_command_for(int kind, int number) {
    const char* command = procesor::companionFor(
        kind == 1 ? procesor::ElementKind::Label : procesor::ElementKind::Image, number);
    return command ? command : "";
}

// Whether the element's explainer is drawn by a scene in this build.
EMSCRIPTEN_KEEPALIVE int explain_has_scene(int kind, int number) {
    const char* command = explain_command_for(kind, number);
    return procesor::explain::makeScene(command) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void explain_close(int handle) {
    explainers().open.erase(handle);
    explainers().scenes.close(handle);
}

EMSCRIPTEN_KEEPALIVE int explain_width(int handle) {
    const Open* o = find(handle);
    return o ? o->scene->width() : 0;
}

EMSCRIPTEN_KEEPALIVE int explain_height(int handle) {
    const Open* o = find(handle);
    return o ? o->scene->height() : 0;
}

EMSCRIPTEN_KEEPALIVE const char* explain_title(int handle) {
    const Open* o = find(handle);
    return o ? o->title.c_str() : "";
}

EMSCRIPTEN_KEEPALIVE void explain_mouse_down(int handle, int x, int y) {
    if (Open* o = find(handle)) o->scene->mouseDown(x, y);
}

EMSCRIPTEN_KEEPALIVE void explain_mouse_move(int handle, int x, int y) {
    if (Open* o = find(handle)) o->scene->mouseMove(x, y);
}

EMSCRIPTEN_KEEPALIVE void explain_mouse_up(int handle, int x, int y) {
    if (Open* o = find(handle)) o->scene->mouseUp(x, y);
}

// A key: 0 Tab, 1 Shift+Tab, 2 Space, 3 Enter, 4..7 Left, Right, Up, Down. Returns
// whether the scene used it.
EMSCRIPTEN_KEEPALIVE int explain_key(int handle, int key) {
    Open* o = find(handle);
    if (!o || key < 0 || key > 7) return 0;
    return o->scene->key(static_cast<procesor::explain::Key>(key)) ? 1 : 0;
}

// The control with the scene's keyboard focus, -1 for none.
EMSCRIPTEN_KEEPALIVE int explain_focus(int handle) {
    Open* o = find(handle);
    return o ? o->scene->focus() : -1;
}

// What the scene's last step did, as a screen reader says it (UTF-8, NUL-ended).
EMSCRIPTEN_KEEPALIVE const char* explain_spoken(int handle) {
    static std::string text;
    Open* o = find(handle);
    text = o ? o->scene->spoken() : std::string();
    return text.c_str();
}

// Draws what changed and returns how many rectangles changed; explain_dirty() then
// holds x, y, w, h of each, explain_pixels() the whole canvas as RGBA bytes.
EMSCRIPTEN_KEEPALIVE int explain_render(int handle) {
    Explainers& e = explainers();
    e.dirty.clear();
    Open* o = find(handle);
    if (!o) return 0;
    const procesor::render::Canvas& c = o->scene->canvas();
    for (const Box& b : o->scene->render()) {
        for (int y = b.y; y < b.y + b.h; ++y) {
            const std::uint32_t* from = c.pixels.data() + std::size_t(y) * c.width + b.x;
            std::uint8_t* to = o->rgba.data() + (std::size_t(y) * c.width + b.x) * 4;
            for (int x = 0; x < b.w; ++x, to += 4) {
                to[0] = std::uint8_t(from[x] >> 16);
                to[1] = std::uint8_t(from[x] >> 8);
                to[2] = std::uint8_t(from[x]);
            }
        }
        e.dirty.insert(e.dirty.end(), {b.x, b.y, b.w, b.h});
    }
    return int(e.dirty.size() / 4);
}

// The scene's size in a room of width x height device pixels, by the one rule the
// diagram is shown by: width, height and the whole factor (0 when averaged).
EMSCRIPTEN_KEEPALIVE const int* explain_fit(int handle, int width, int height) {
    static int out[3];
    const Open* o = find(handle);
    if (!o) return out;
    const procesor::render::Fit fit = procesor::render::fitPicture(
        std::max(width, 1), std::max(height, 1), o->scene->width(), o->scene->height());
    out[0] = fit.width;
    out[1] = fit.height;
    out[2] = fit.factor;
    return out;
}

// The scene's picture made to width x height device pixels, each the average of the
// scene's pixels under it, as RGBA bytes (after explain_render).
EMSCRIPTEN_KEEPALIVE const std::uint8_t* explain_scaled(int handle, int width, int height) {
    Open* o = find(handle);
    if (!o) return nullptr;
    const procesor::render::Canvas& c = o->scene->canvas();
    width = std::clamp(width, 1, 8 * c.width);
    height = std::clamp(height, 1, 8 * c.height);
    o->scaled.resize(std::size_t(width) * height * 4);
    procesor::render::scaleTo(c, width, height, o->scaled.data());
    return o->scaled.data();
}

EMSCRIPTEN_KEEPALIVE const int* explain_dirty() {
    return explainers().dirty.data();
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* explain_pixels(int handle) {
    const Open* o = find(handle);
    return o ? o->rgba.data() : nullptr;
}

} // extern "C"
