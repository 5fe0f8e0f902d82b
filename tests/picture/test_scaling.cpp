// The picture's size in every window and how it is drawn there: the largest size in
// proportion, a whole factor where one comes within a tenth of it, otherwise every
// one-pixel line of the diagram equally wide in device pixels with its blending only
// at its two edges; and a click at any device pixel lands on the pixel under it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "picture/Scaled.h"
#include "picture/Scaling.h"
#include "screen/Screen.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::render;
using namespace procesor::screen;

namespace {

constexpr int kW = 1024, kH = 715; // the diagram

std::string named(const Fit& f) {
    return std::to_string(f.width) + "x" + std::to_string(f.height) + " factor " +
           std::to_string(f.factor);
}

// A one-pixel line of the picture: down (x fixed) or across (y fixed), with the
// colour around it on both sides for two pixels.
struct Wire {
    int x, y;
    bool down;
    std::uint32_t line, around;
};

int channel(std::uint32_t p, int k) {
    return int((p >> (16 - 8 * k)) & 0xFF);
}

// The channel in which the line and what is around it differ most.
int contrastChannel(const Wire& w) {
    int best = 0;
    for (int k = 1; k < 3; ++k)
        if (std::abs(channel(w.line, k) - channel(w.around, k)) >
            std::abs(channel(w.line, best) - channel(w.around, best)))
            best = k;
    return best;
}

std::vector<Wire> wiresOf(const Canvas& c) {
    std::vector<Wire> out;
    for (int y = 3; y < c.height - 3; ++y)
        for (int x = 3; x < c.width - 3; ++x)
            for (const bool down : {true, false}) {
                const auto at = [&](int along, int across) {
                    return down ? c.at(x + across, y + along) : c.at(x + along, y + across);
                };
                const std::uint32_t line = at(0, 0), around = at(0, 1);
                bool ok = line != around;
                for (int a = -1; a <= 1 && ok; ++a) {
                    ok = at(a, 0) == line;
                    for (const int side : {-2, -1, 1, 2}) ok = ok && at(a, side) == around;
                }
                Wire w{x, y, down, line, around};
                const int k = contrastChannel(w);
                if (ok && std::abs(channel(line, k) - channel(around, k)) >= 64) out.push_back(w);
            }
    return out;
}

struct Crossing {
    double ink = 0;        // in device pixels of the line's colour
    bool evenEdges = true; // pure colours inside, blending only at the two edges
};

// Across the wire through the middle of its pixel in the picture made w x h.
Crossing crossing(const std::vector<std::uint8_t>& rgba, int w, int h, const Wire& wire) {
    const double sx = double(w) / kW, sy = double(h) / kH;
    const double s = wire.down ? sx : sy;
    const int along = wire.down ? int((wire.y + 0.5) * sy) : int((wire.x + 0.5) * sx);
    const int from = wire.down ? wire.x : wire.y;
    const int first = int(std::ceil((from - 2) * s - 1e-9)), last = int((from + 3) * s) - 1;
    const int k = contrastChannel(wire);
    const double span = channel(wire.around, k) - channel(wire.line, k);
    Crossing c;
    int phase = 0; // 0 before the line, 1 blended start, 2 inside, 3 blended end, 4 after
    for (int i = first; i <= last; ++i) {
        const int px = wire.down ? i : along, py = wire.down ? along : i;
        const std::uint8_t* p = &rgba[(std::size_t(py) * w + px) * 4];
        const double covered = (channel(wire.around, k) - p[k]) / span;
        c.ink += covered;
        const auto is = [&](std::uint32_t colour) {
            for (int q = 0; q < 3; ++q)
                if (std::abs(p[q] - channel(colour, q)) > 1) return false;
            return true;
        };
        const int kind = is(wire.around) ? 0 : is(wire.line) ? 2 : 1;
        // Outside, blended, the line's colour, blended, outside: each at most once, in
        // that order, a blended pixel at most one device pixel at each edge.
        const int next = kind == 0 ? (phase == 0 ? 0 : 4) : kind == 2 ? 2 : (phase == 0 ? 1 : 3);
        if (next < phase || (kind == 1 && phase == 3) || (kind == 2 && phase > 2))
            c.evenEdges = false;
        phase = std::max(phase, next);
    }
    return c;
}

// Rooms in device pixels: a 1024 x 715 window at the desktop's fractional scalings,
// a maximised browser of 1920 x 960 on a projector (less the strip of 26 buttons'
// pixels), windows of no round size, and one smaller than the picture.
struct Room {
    const char* what;
    int w, h;
};
constexpr Room kFractional[] = {
    {"1.25", 1280, 894},       {"1.5", 1536, 1073},
    {"1.75", 1792, 1252},      {"projector", 1894, 960},
    {"1342x950", 1342, 950},   {"1611x1140", 1611, 1140},
    {"2300x1600", 2300, 1600}, {"smaller, 820x600", 820, 600},
};

} // namespace

TEST_CASE(sizeInTheRoom) {
    struct Case {
        int roomW, roomH;
        int width, height, factor;
    };
    const Case cases[] = {
        {1024, 715, 1024, 715, 1},   // exactly the picture
        {1100, 760, 1024, 715, 1},   // 1.07: the whole factor within a tenth
        {1130, 800, 1024, 715, 1},   // 1.10
        {1140, 800, 1140, 795, 0},   // 1.11: too far, the picture in proportion
        {1894, 960, 1374, 960, 0},   // the projector: the whole height
        {2200, 1600, 2048, 1430, 2}, // 2.12: two device pixels a pixel
        {2300, 1600, 2291, 1600, 0}, // 2.24
        {3072, 2145, 3072, 2145, 3}, // exactly three
        {820, 600, 820, 572, 0},     // smaller than the picture
        {1024, 300, 429, 300, 0},    // a wide, low frame: the height decides
        {0, 0, 1, 1, 0},             // nothing to show it in
    };
    for (const Case& c : cases) {
        CONTEXT(std::to_string(c.roomW) + "x" + std::to_string(c.roomH));
        const Fit f = fitPicture(c.roomW, c.roomH, kW, kH);
        CHECK_EQ(named(f), named(Fit{kW, kH, c.width, c.height, c.factor}));
        CHECK(f.width <= std::max(c.roomW, 1) && f.height <= std::max(c.roomH, 1));
    }
    // The projector: a maximised browser of 1920 x 960 CSS pixels at ratio 1 fills at
    // least nine tenths of its height, as do the rooms of the fractional scalings.
    for (const Room& r : kFractional) {
        CONTEXT(r.what);
        const Fit f = fitPicture(r.w, r.h, kW, kH);
        CHECK(f.height * 10 >= r.h * 9 || f.width * 10 >= r.w * 9);
        CHECK(!f.sharp());
        CHECK(std::abs(f.width * kH - f.height * kW) <= std::max(kW, kH)); // in proportion
    }
    CHECK_EQ(named(actualSize(kW, kH)), named(Fit{kW, kH, kW, kH, 1}));
}

TEST_CASE(everyWireEquallyWide) {
    Screen screen;
    screen.render();
    const Canvas& picture = screen.canvas();
    const std::vector<Wire> wires = wiresOf(picture);
    CHECK(wires.size() > 1500); // the diagram's wires and the letters' strokes
    for (const Room& r : kFractional) {
        CONTEXT(r.what);
        const Fit f = fitPicture(r.w, r.h, kW, kH);
        std::vector<std::uint8_t> rgba(std::size_t(f.width) * f.height * 4);
        scaleTo(picture, f.width, f.height, rgba.data());
        int uneven = 0, wrongInk = 0;
        double least = 1e9, most = 0;
        for (const Wire& w : wires) {
            const Crossing c = crossing(rgba, f.width, f.height, w);
            const double s = w.down ? double(f.width) / kW : double(f.height) / kH;
            least = std::min(least, c.ink);
            most = std::max(most, c.ink);
            uneven += !c.evenEdges;
            wrongInk += std::abs(c.ink - s) > 0.05;
        }
        if (!CHECK_EQ(uneven + wrongInk, 0))
            std::printf("  %zu wires: %d blended inside, %d not %.3f wide (%.3f..%.3f)\n",
                        wires.size(), uneven, wrongInk, double(f.width) / kW, least, most);
    }
    // A whole factor is each pixel grown to a square, not a colour changed.
    std::vector<std::uint8_t> twice(std::size_t(kW) * kH * 16);
    scaleTo(picture, 2 * kW, 2 * kH, twice.data());
    int differ = 0;
    for (int y = 0; y < 2 * kH; ++y)
        for (int x = 0; x < 2 * kW; ++x)
            for (int k = 0; k < 3; ++k)
                differ += twice[(std::size_t(y) * 2 * kW + x) * 4 + k] !=
                          channel(picture.at(x / 2, y / 2), k);
    CHECK_EQ(differ, 0);
}

// A repaint of what changed: the picture made in pieces is the picture made whole.
TEST_CASE(piecesMakeTheWhole) {
    Screen screen;
    screen.render();
    for (const Room& r : kFractional) {
        CONTEXT(r.what);
        const Fit f = fitPicture(r.w, r.h, kW, kH);
        std::vector<std::uint8_t> whole(std::size_t(f.width) * f.height * 4), pieces(whole.size());
        scaleTo(screen.canvas(), f.width, f.height, whole.data());
        const int cx = f.width / 3 + 1, cy = f.height / 2 - 1;
        for (const Box& b : {Box{0, 0, cx, cy}, Box{cx, 0, f.width, cy}, Box{0, cy, 7, f.height},
                             Box{7, cy, f.width, f.height}})
            scaleTo(screen.canvas(), f.width, f.height, pieces.data(), b);
        CHECK(whole == pieces);
    }
}

TEST_CASE(clicksLandUnderThePointer) {
    std::vector<Fit> fits = {actualSize(kW, kH), fitPicture(2200, 1600, kW, kH),
                             fitPicture(3072, 2145, kW, kH)};
    for (const Room& r : kFractional) fits.push_back(fitPicture(r.w, r.h, kW, kH));
    for (const Fit& f : fits) {
        CONTEXT(named(f));
        // The device pixel in the middle of each picture pixel lands on that pixel (where
        // there are enough of them), and every device pixel on the pixel whose span holds
        // its centre.
        int missed = 0;
        for (int x = 0; x < kW && f.width >= kW; ++x)
            missed += pictureAt(f, int((x + 0.5) * f.width / kW), 0).x != x;
        for (int y = 0; y < kH && f.height >= kH; ++y)
            missed += pictureAt(f, 0, int((y + 0.5) * f.height / kH)).y != y;
        for (int d = 0; d < f.width; ++d) {
            const int x = pictureAt(f, d, 0).x;
            missed += !(x * f.width <= (d + 0.5) * kW && (d + 0.5) * kW < (x + 1) * f.width);
        }
        CHECK_EQ(missed, 0);
        if (f.sharp()) CHECK_EQ(pictureAt(f, 5 * f.factor - 1, 7 * f.factor).x, 4);
        for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {f.width, 0}, {0, f.height}})
            CHECK(!pictureAt(f, x, y).inside());
        CHECK_EQ(pictureAt(f, f.width - 1, f.height - 1).x, kW - 1);
    }
}

PLAIN_TEST_MAIN()
