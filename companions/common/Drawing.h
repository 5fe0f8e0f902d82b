#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "picture/Canvas.h"
#include "picture/Text.h"

// What every explainer draws with, in the diagram's own look: wires 2 pixels wide,
// green while they carry 0 and red while they carry 1, junction dots, bundles of the
// four bus lines, AND gates, blocks, value digits, and texts wrapped in the built-in
// faces; and the frame all six share: the heading at the top, the explanation under
// it, the result text at the foot.
namespace procesor::explain {

using render::Box;
using render::Canvas;
using render::Face;

inline constexpr Rgb kWindowColour = clInactiveBorder;
inline constexpr Rgb kInk = clBlack;
inline constexpr Rgb kWire = clGreen;
inline constexpr Rgb kSignal = clRed;
inline constexpr int kMargin = 10;

struct Point {
    int x = 0;
    int y = 0;
};

// A wire from one point to another on the same row or the same column: 2 pixels wide,
// the points its top-left pixels, both ends included.
void wire(Canvas& c, Point from, Point to, bool on);
// A wire through several points, each leg level or upright.
void wirePath(Canvas& c, std::initializer_list<Point> points, bool on);
// The 4 x 4 junction dot on a wire's 2 x 2 point.
void dot(Canvas& c, Point at, bool on);

enum class Towards { Right, Left, Down, Up };
// A filled arrowhead, 9 pixels across, whose tip is `tip` on a wire coming in.
void arrowHead(Canvas& c, Point tip, Towards towards, bool on);

// The four lines of a word, bit 3 (weight 8) at `from`: level bundles have bit 3 on
// the top row, upright ones on the leftmost column; the others follow `spacing`
// apart. Each line is lit by its bit of `word`.
void bundle(Canvas& c, Point from, Point to, int spacing, int word);

// A block's four lines into an upright bundle of the bus at `busX` (lines `spacing`
// apart): from the block's right edge, bit 3 nine pixels below its top, each to its
// own line, with a junction dot there. Each is lit by its bit of `word`.
void busTaps(Canvas& c, Box block, int busX, int spacing, int word);

// A block of the diagram: white, black 1-pixel outline, the bold title and a second
// line (optional) centred.
void block(Canvas& c, Box box, std::string_view title, std::string_view line = {});
// An AND gate as the diagram draws it.
void gate(Canvas& c, Box box);
// A value as the diagram's digits show it: red, 16-pixel bold, centred in `box` on
// white with a black outline.
void valueDigits(Canvas& c, Box box, int value);
// A label of the window's colour with the digits' face, e.g. the decimal of a word.
void text(Canvas& c, Face face, Point at, std::string_view utf8, Rgb ink = kInk);

// The lines of `text` broken at blanks so that none is wider than `width` (a word
// wider than that stands alone); "\n" starts a new paragraph.
std::vector<std::string> wrap(Face face, std::string_view text, int width);
// Draws the wrapped text, typeset (companions/common/Texts.h), from the top-left of
// `box`, clipped to it; returns the height of the lines drawn.
int textBox(Canvas& c, Face face, Box box, std::string_view text, Rgb ink = kInk);
int wrappedHeight(Face face, std::string_view text, int width);

// The common frame. The heading: the large bold face, at the top left.
inline constexpr int kHeadingTop = 8;
void heading(Canvas& c, std::string_view text);
// The explanation: from explanationTop() under the heading, as wide as the scene
// less its margins; returns the first free row below it, the body's top, which
// bodyTopUnder gives before anything is drawn.
int explanationTop();
int explanation(Canvas& c, std::string_view text);
int bodyTopUnder(std::string_view explanation, int sceneWidth);
// The result: a sunken white field at the foot of the scene, `lines` lines tall, the
// text in bold. Every scene puts its result here.
Box resultBox(const Canvas& c, int lines = 3);
Box resultBoxIn(int sceneWidth, int sceneHeight, int lines = 3);
void result(Canvas& c, std::string_view text, int lines = 3);

} // namespace procesor::explain

namespace procesor::explain {

// A register block as the diagram draws IR, PC, A, the adder and B: the name in bold
// over one regular line, centred left of the value digits, which take the right part.
void registerBlock(Canvas& c, Box box, std::string_view title, std::string_view line, int value);

} // namespace procesor::explain
