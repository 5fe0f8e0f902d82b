#include "companions/common/Wires.h"

#include <QPainter>
#include <QtMath>
#include <cmath>

#include "companions/common/Look.h"
#include "companions/common/Word.h"

namespace companion::wires {

QPen pen(bool carriesOne) {
    QPen wirePen(carriesOne ? look::signal() : look::wire(), 2);
    wirePen.setCapStyle(Qt::SquareCap);
    wirePen.setJoinStyle(Qt::MiterJoin);
    return wirePen;
}

void drawWire(QPainter& p, const QPolygonF& path, bool carriesOne) {
    p.save();
    p.setPen(pen(carriesOne));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(path);
    p.restore();
}

void drawWire(QPainter& p, QPointF from, QPointF to, bool carriesOne) {
    drawWire(p, QPolygonF{from, to}, carriesOne);
}

void drawArrowHead(QPainter& p, QPointF from, QPointF tip, bool carriesOne) {
    const QLineF line(tip, from);
    if (line.length() <= 0) return;
    const qreal angle = qDegreesToRadians(line.angle());
    constexpr qreal size = 7;
    constexpr qreal spread = M_PI / 7;
    const QPointF left =
        tip + QPointF(std::cos(angle + spread) * size, -std::sin(angle + spread) * size);
    const QPointF right =
        tip + QPointF(std::cos(angle - spread) * size, -std::sin(angle - spread) * size);
    p.save();
    const QColor colour = carriesOne ? look::signal() : look::wire();
    p.setPen(QPen(colour, 1));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{tip, left, right});
    p.restore();
}

void drawBlock(QPainter& p, const QRectF& box, const QString& caption) {
    p.save();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setFont(look::font(true));
    p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, caption);
    p.restore();
}

void drawCaption(QPainter& p, QPointF at, const QString& text, bool carriesOne) {
    p.save();
    p.setFont(look::font(true));
    p.setPen(carriesOne ? look::signal() : QColor(Qt::black));
    p.drawText(at, text);
    p.restore();
}

std::array<QLineF, kBundleWires> bundleLines(QPointF from, QPointF to, qreal spacing) {
    // The diagram's rule: bit 3 on the top row of a level bundle, on the leftmost line
    // of an upright one, whichever way the bundle runs.
    const QPointF delta = to - from;
    const QPointF step =
        std::abs(delta.x()) >= std::abs(delta.y()) ? QPointF(0, spacing) : QPointF(spacing, 0);
    std::array<QLineF, kBundleWires> lines;
    for (int bit = 0; bit < kBundleWires; ++bit) {
        const QPointF offset = step * (kBundleWires - 1 - bit);
        lines[static_cast<std::size_t>(bit)] = QLineF(from + offset, to + offset);
    }
    return lines;
}

void drawTaps(QPainter& p, QPointF from, qreal tapX, qreal unitY, int word, qreal spacing) {
    for (int bit = 0; bit < kBundleWires; ++bit) {
        const qreal column = kBundleWires - 1 - bit;
        const QPointF junction(tapX + column * spacing, from.y() + column * spacing);
        const bool one = bitOf(word, bit);
        drawWire(p, junction, QPointF(junction.x(), unitY), one);
        // The diagram's junction dot: 4 x 4 where a branch leaves its wire.
        p.fillRect(QRectF(junction - QPointF(2, 2), QSizeF(4, 4)),
                   one ? look::signal() : look::wire());
    }
}

void drawWord(QPainter& p, QPointF from, QPointF to, int word, qreal spacing) {
    const auto lines = bundleLines(from, to, spacing);
    for (int bit = 0; bit < kBundleWires; ++bit) {
        const QLineF& line = lines[static_cast<std::size_t>(bit)];
        drawWire(p, line.p1(), line.p2(), bitOf(word, bit));
    }
}

} // namespace companion::wires
