#include "companions/common/Scene.h"

#include <algorithm>

#include "companions/common/Controls.h"

namespace procesor::explain {

namespace {

Canvas sized(int width, int height) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.pixels.assign(std::size_t(width) * std::size_t(height), 0xFF000000u | kWindowColour);
    return c;
}

// Rows are compared in bands of this height; each band that changed gives one
// rectangle, as wide as its changed columns.
constexpr int kBand = 16;

} // namespace

Scene::Scene(int width, int height)
    : canvas_(sized(width, height)), drawing_(sized(width, height)) {}

Scene::~Scene() = default;

void Scene::add(Control& control) {
    controls_.push_back(&control);
}

bool Scene::focusable(int index) const {
    return index >= 0 && index < controlCount() && controls_[std::size_t(index)]->focusable();
}

void Scene::moveFocus(int step) {
    const int n = controlCount();
    if (n == 0) return;
    int at = focus_ < 0 ? (step > 0 ? -1 : 0) : focus_;
    for (int tried = 0; tried < n; ++tried) {
        at = ((at + step) % n + n) % n;
        if (focusable(at)) {
            focus_ = at;
            return;
        }
    }
    focus_ = -1;
}

std::vector<Box> Scene::render() {
    // The focus never rests on a control that cannot take it.
    if (!focusable(focus_)) moveFocus(+1);

    Canvas& d = drawing_;
    std::fill(d.pixels.begin(), d.pixels.end(), 0xFF000000u | kWindowColour);
    paint(d);
    for (int i = 0; i < controlCount(); ++i) {
        const Control& c = *controls_[std::size_t(i)];
        if (c.visible()) c.paint(d, i == held_ && overHeld_, i == focus_);
    }

    std::vector<Box> changed;
    if (!drawnOnce_) {
        drawnOnce_ = true;
        changed.push_back({0, 0, d.width, d.height});
    } else {
        for (int top = 0; top < d.height; top += kBand) {
            const int bottom = std::min(top + kBand, d.height);
            int left = d.width;
            int right = -1;
            for (int y = top; y < bottom; ++y) {
                const std::uint32_t* was = canvas_.pixels.data() + std::size_t(y) * d.width;
                const std::uint32_t* now = d.pixels.data() + std::size_t(y) * d.width;
                for (int x = 0; x < d.width; ++x)
                    if (was[x] != now[x]) {
                        left = std::min(left, x);
                        break;
                    }
                for (int x = d.width - 1; x > right; --x)
                    if (was[x] != now[x]) {
                        right = x;
                        break;
                    }
            }
            if (right < 0) continue;
            const Box band = {left, top, right - left + 1, bottom - top};
            // A band that continues the last one's columns joins it.
            if (!changed.empty()) {
                Box& last = changed.back();
                if (last.y + last.h == top && last.x == band.x && last.w == band.w) {
                    last.h += band.h;
                    continue;
                }
            }
            changed.push_back(band);
        }
    }
    // Copied, not swapped: a front end may keep pointing at the canvas's pixels.
    std::copy(d.pixels.begin(), d.pixels.end(), canvas_.pixels.begin());
    return changed;
}

int Scene::controlAt(int x, int y) const {
    for (int i = controlCount() - 1; i >= 0; --i) {
        const Control& c = *controls_[std::size_t(i)];
        if (c.visible() && c.box().contains(x, y)) return i;
    }
    return -1;
}

void Scene::mouseDown(int x, int y) {
    const int at = controlAt(x, y);
    held_ = at >= 0 && controls_[std::size_t(at)]->enabled() ? at : -1;
    overHeld_ = held_ >= 0;
}

void Scene::mouseMove(int x, int y) {
    if (held_ >= 0) overHeld_ = controls_[std::size_t(held_)]->box().contains(x, y);
}

void Scene::mouseUp(int x, int y) {
    const int held = held_;
    held_ = -1;
    overHeld_ = false;
    if (held < 0) return;
    Control& c = *controls_[std::size_t(held)];
    if (!c.enabled() || !c.box().contains(x, y)) return;
    if (c.focusable()) focus_ = held;
    beforeClick(c);
    c.click();
    afterClick(c);
}

bool Scene::key(Key key) {
    if (keyPressed(key)) return true;
    switch (key) {
    case Key::Tab:
    case Key::Right:
    case Key::Down:
        moveFocus(+1);
        return focus_ >= 0;
    case Key::BackTab:
    case Key::Left:
    case Key::Up:
        moveFocus(-1);
        return focus_ >= 0;
    case Key::Space:
    case Key::Enter:
        if (!focusable(focus_)) return false;
        Control& c = *controls_[std::size_t(focus_)];
        beforeClick(c);
        c.click();
        afterClick(c);
        return true;
    }
    return false;
}

} // namespace procesor::explain
