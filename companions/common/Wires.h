#pragma once

#include <QLineF>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <array>

class QPainter;

// Drawing the diagram's wires and blocks: a wire is 2 px, green while it carries 0 and
// red while it carries 1.
namespace companion::wires {

QPen pen(bool carriesOne);

void drawWire(QPainter& p, const QPolygonF& path, bool carriesOne);
void drawWire(QPainter& p, QPointF from, QPointF to, bool carriesOne);

// A small filled arrow head at `tip`, pointing along `from` -> `tip`.
void drawArrowHead(QPainter& p, QPointF from, QPointF tip, bool carriesOne);

// A functional block: white box, black outline, bold caption in the middle.
void drawBlock(QPainter& p, const QRectF& box, const QString& caption);

// A text beside a wire, in the window's font.
void drawCaption(QPainter& p, QPointF at, const QString& text, bool carriesOne = false);

inline constexpr int kBundleWires = 4;

// The four wires of a bundle, indexed by bit (0 = weight 1). `from`-`to` is the wire of
// bit 3; the others follow `spacing` apart below it (a level bundle) or to its right (an
// upright one), so bit 3 is always the top row or the leftmost line.
std::array<QLineF, kBundleWires> bundleLines(QPointF from, QPointF to, qreal spacing);

// Upright taps between a level bundle (bit 3 wire from `from`, as bundleLines()) and a
// unit at row `unitY`: the tap of bit k leaves its own wire at a junction dot, bit 3
// leftmost at `tapX`, the others `spacing` apart; each is lit by its bit of `word`.
void drawTaps(QPainter& p, QPointF from, qreal tapX, qreal unitY, int word, qreal spacing);

// The bundle of bundleLines(), each wire lit by its own bit of `word`.
void drawWord(QPainter& p, QPointF from, QPointF to, int word, qreal spacing = 5);

} // namespace companion::wires
