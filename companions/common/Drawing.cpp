#include "companions/common/Drawing.h"

#include <algorithm>

#include "companions/common/Texts.h"
#include "model/WordText.h"
#include "picture/Blocks.h"
#include "picture/Paint.h"

namespace procesor::explain {

namespace {

Box whole(const Canvas& c) {
    return {0, 0, c.width, c.height};
}

} // namespace

void wire(Canvas& c, Point from, Point to, bool on) {
    const int x0 = std::min(from.x, to.x);
    const int y0 = std::min(from.y, to.y);
    const int x1 = std::max(from.x, to.x);
    const int y1 = std::max(from.y, to.y);
    c.fill({x0, y0, x1 - x0 + 2, y1 - y0 + 2}, on ? kSignal : kWire);
}

void wirePath(Canvas& c, std::initializer_list<Point> points, bool on) {
    for (std::size_t i = 1; i < points.size(); ++i)
        wire(c, std::data(points)[i - 1], std::data(points)[i], on);
}

void dot(Canvas& c, Point at, bool on) {
    c.fill({at.x - 1, at.y - 1, 4, 4}, on ? kSignal : kWire);
}

void arrowHead(Canvas& c, Point tip, Towards towards, bool on) {
    const Rgb colour = on ? kSignal : kWire;
    // Rows of the head from its tip back, each two pixels longer, over a 2-pixel wire.
    for (int k = 0; k < 5; ++k) {
        const int across = 2 + 2 * k;
        switch (towards) {
        case Towards::Right:
            c.fill({tip.x + 1 - k, tip.y + 1 - across / 2, 1, across}, colour);
            break;
        case Towards::Left:
            c.fill({tip.x + k, tip.y + 1 - across / 2, 1, across}, colour);
            break;
        case Towards::Down:
            c.fill({tip.x + 1 - across / 2, tip.y + 1 - k, across, 1}, colour);
            break;
        case Towards::Up:
            c.fill({tip.x + 1 - across / 2, tip.y + k, across, 1}, colour);
            break;
        }
    }
}

void bundle(Canvas& c, Point from, Point to, int spacing, int word) {
    const bool level = from.y == to.y;
    for (int bit = 3; bit >= 0; --bit) {
        const int offset = (3 - bit) * spacing;
        const Point a = level ? Point{from.x, from.y + offset} : Point{from.x + offset, from.y};
        const Point b = level ? Point{to.x, to.y + offset} : Point{to.x + offset, to.y};
        wire(c, a, b, (word >> bit) & 1);
    }
}

void busTaps(Canvas& c, Box block, int busX, int spacing, int word) {
    for (int bit = 3; bit >= 0; --bit) {
        const int y = block.y + 9 + (3 - bit) * spacing;
        const int x = busX + (3 - bit) * spacing;
        const bool on = (word >> bit) & 1;
        wire(c, {block.x + block.w, y}, {x, y}, on);
        dot(c, {x, y}, on);
    }
}

void block(Canvas& c, Box box, std::string_view title, std::string_view line) {
    render::frame(c, box, 1, 1, whole(c));
    const int step = render::lineHeight(Face::Window);
    const int lines = line.empty() ? 1 : 2;
    int y = box.y + (box.h - lines * step) / 2;
    const Box inside = render::shrink(box, 1, 1, 1, 1);
    render::drawText(c, Face::WindowBold,
                     box.x + (box.w - render::textWidth(Face::WindowBold, title)) / 2, y, title,
                     kInk, inside);
    if (line.empty()) return;
    y += step;
    render::drawText(c, Face::Window, box.x + (box.w - render::textWidth(Face::Window, line)) / 2,
                     y, line, kInk, inside);
}

void gate(Canvas& c, Box box) {
    render::paintGate(c, box, whole(c));
}

void valueDigits(Canvas& c, Box box, int value) {
    render::frame(c, box, 1, 1, whole(c));
    const std::string digits = decimal(value);
    render::drawText(c, Face::Digits, box.x + (box.w - render::textWidth(Face::Digits, digits)) / 2,
                     box.y + (box.h - render::lineHeight(Face::Digits)) / 2, digits, clRed,
                     render::shrink(box, 1, 1, 1, 1));
}

void text(Canvas& c, Face face, Point at, std::string_view utf8, Rgb ink) {
    render::drawText(c, face, at.x, at.y, utf8, ink, whole(c));
}

std::vector<std::string> wrap(Face face, std::string_view text, int width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        const std::string_view paragraph = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        std::string line;
        std::size_t at = 0;
        while (at <= paragraph.size()) {
            std::size_t blank = paragraph.find(' ', at);
            if (blank == std::string_view::npos) blank = paragraph.size();
            const std::string_view word = paragraph.substr(at, blank - at);
            std::string longer = line.empty() ? std::string(word) : line + " " + std::string(word);
            if (!line.empty() && render::textWidth(face, longer) > width) {
                lines.push_back(line);
                line = std::string(word);
            } else {
                line = std::move(longer);
            }
            at = blank + 1;
        }
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

int wrappedHeight(Face face, std::string_view text, int width) {
    return int(wrap(face, typeset(std::string(text)), width).size()) * render::lineHeight(face);
}

int textBox(Canvas& c, Face face, Box box, std::string_view text, Rgb ink) {
    const int step = render::lineHeight(face);
    int y = box.y;
    for (const std::string& line : wrap(face, typeset(std::string(text)), box.w)) {
        render::drawText(c, face, box.x, y, line, ink, render::intersect(box, whole(c)));
        y += step;
    }
    return y - box.y;
}

void heading(Canvas& c, std::string_view text) {
    render::drawText(c, Face::Digits, kMargin, kHeadingTop, text, kInk, whole(c));
}

int explanationTop() {
    return kHeadingTop + render::lineHeight(Face::Digits) + 6;
}

int explanation(Canvas& c, std::string_view text) {
    const int top = explanationTop();
    const Box box = {kMargin, top, c.width - 2 * kMargin, c.height - top};
    return top + textBox(c, Face::Window, box, text) + 8;
}

int bodyTopUnder(std::string_view explanation, int sceneWidth) {
    return explanationTop() + wrappedHeight(Face::Window, explanation, sceneWidth - 2 * kMargin) +
           8;
}

Box resultBoxIn(int sceneWidth, int sceneHeight, int lines) {
    const int h = lines * render::lineHeight(Face::WindowBold) + 8;
    return {kMargin, sceneHeight - kMargin - h, sceneWidth - 2 * kMargin, h};
}

Box resultBox(const Canvas& c, int lines) {
    return resultBoxIn(c.width, c.height, lines);
}

void result(Canvas& c, std::string_view text, int lines) {
    const Box box = resultBox(c, lines);
    c.fill(box, clWhite);
    render::edge(c, box, render::kSunkenField, nullptr, whole(c));
    textBox(c, Face::WindowBold, render::shrink(box, 5, 4, 5, 2), text);
}

} // namespace procesor::explain

namespace procesor::explain {

void registerBlock(Canvas& c, Box box, std::string_view title, std::string_view line, int value) {
    render::paintRegister(c, box, title, line, {}, whole(c));
    const int textArea = render::registerTextWidth(box);
    const std::string digits = decimal(value);
    const int right = box.w - textArea;
    render::drawText(c, Face::Digits,
                     box.x + textArea + (right - render::textWidth(Face::Digits, digits)) / 2 - 4,
                     box.y + (box.h - render::lineHeight(Face::Digits)) / 2, digits, clRed,
                     render::shrink(box, 1, 1, 1, 1));
}

} // namespace procesor::explain
