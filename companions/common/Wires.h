#pragma once

#include <QLineF>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>

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

// Four parallel wires from `from` to `to`, offset by `spacing`: bit 3 (weight 8) first,
// each lit by its own bit of `word`.
void drawWord(QPainter& p, QPointF from, QPointF to, int word, qreal spacing = 5);

} // namespace companion::wires
