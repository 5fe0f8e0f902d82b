#include "display/Artwork.h"

#include <QPainter>

#include "display/Fonts.h"

namespace procesor {

namespace {

const QColor kInk(Qt::black);
const QColor kPaper(Qt::white);

void frame(QPainter& p, QRect r, int width, int bottomWidth) {
    p.fillRect(r, kInk);
    p.fillRect(r.adjusted(width, width, -width, -bottomWidth), kPaper);
}

// ---- control unit ------------------------------------------------------------

// Inner lines of the control unit, in client pixels.
constexpr int kDividerY = 160;       // above: the listing; below: the field row
constexpr int kMemoryDecoderX = 290; // the strip right of it: DEKODÉR PAMĚTI
constexpr int kFieldRowTop = 162;    // the field row, y 162..187
constexpr int kFieldRowBottom = 188; // one past
constexpr int kFieldDividers[] = {48, 151, 243, 275};

struct Field {
    int left;
    int right; // one past
    const char* upper;
    const char* lower; // nullptr for a one-line caption
};
constexpr Field kFields[] = {
    {10, 48, "O", "K"},        {50, 151, "DEKODÉR", "ZDROJE"}, {153, 243, "DEKODÉR", "URČENÍ"},
    {245, 275, "Φ2", nullptr}, {277, 306, "Φ1", nullptr},
};

void centredText(QPainter& p, QRect r, const QString& text) {
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void paintControlUnit(QPainter& p, QRect r) {
    frame(p, r, 2, 2);
    p.fillRect(QRect(r.left(), kDividerY, r.width(), 2), kInk);
    p.fillRect(QRect(kMemoryDecoderX, r.top(), 2, kDividerY - r.top()), kInk);
    for (int x : kFieldDividers)
        p.fillRect(QRect(x, kFieldRowTop, 2, kFieldRowBottom - kFieldRowTop), kInk);

    p.setPen(kInk);
    p.setFont(Fonts::serifTitle(15));
    centredText(p, QRect(r.left() + 2, 12, kMemoryDecoderX - r.left() - 2, 15),
                QStringLiteral("ŘÍZENÍ"));

    p.setFont(Fonts::serifTitle(11));
    for (const Field& f : kFields) {
        const int w = f.right - f.left;
        if (f.lower) {
            centredText(p, QRect(f.left, kFieldRowTop, w, 13), QString::fromUtf8(f.upper));
            centredText(p, QRect(f.left, kFieldRowTop + 12, w, 13), QString::fromUtf8(f.lower));
        } else {
            p.save();
            p.setFont(Fonts::serifTitle(14));
            centredText(p, QRect(f.left, kFieldRowTop, w, kFieldRowBottom - kFieldRowTop),
                        QString::fromUtf8(f.upper));
            p.restore();
        }
    }

    // The memory decoder's caption reads upwards along its strip (x 292..305, y 12..159).
    const QRect strip(kMemoryDecoderX + 2, r.top() + 2, r.right() - 1 - (kMemoryDecoderX + 2),
                      kDividerY - (r.top() + 2));
    p.save();
    p.translate(strip.left(), strip.bottom() + 1);
    p.rotate(-90);
    p.setFont(Fonts::serifTitle(11));
    centredText(p, QRect(0, 0, strip.height(), strip.width()), QStringLiteral("DEKODÉR PAMĚTI"));
    p.restore();
}

// ---- data path blocks --------------------------------------------------------

// IR, PC, A, the adder, B: the name in bold over one or two regular lines, centred
// left of the value digit, which takes the right part.
void paintRegister(QPainter& p, QRect r, const layout::Block& b, const Fonts& fonts) {
    frame(p, r, 1, 1);
    const QString lines[] = {QString::fromUtf8(b.title.data(), qsizetype(b.title.size())),
                             QString::fromUtf8(b.line1.data(), qsizetype(b.line1.size())),
                             QString::fromUtf8(b.line2.data(), qsizetype(b.line2.size()))};
    const int count = lines[2].isEmpty() ? 2 : 3;
    const int lineHeight = fonts.window().lineHeight();
    const int textWidth = r.width() * 7 / 10;
    int y = r.top() + (r.height() - count * lineHeight) / 2;
    for (int i = 0; i < count; ++i) {
        const TextFace& face = i == 0 ? fonts.windowBold() : fonts.window();
        const int x = r.left() + (textWidth - face.width(lines[i])) / 2;
        face.draw(p, QPoint(x, y), lines[i], kInk);
        y += lineHeight;
    }
}

// The RAM: its heading centred at the top; the rest holds the address and cell labels.
void paintRam(QPainter& p, QRect r, const layout::Block& b, const Fonts& fonts) {
    frame(p, r, 1, 1);
    const QString bold = QString::fromUtf8(b.title.data(), qsizetype(b.title.size()));
    const QString regular =
        QStringLiteral(" ") + QString::fromUtf8(b.line1.data(), qsizetype(b.line1.size()));
    const int boldWidth = fonts.windowBold().width(bold);
    const int width = boldWidth + fonts.window().width(regular);
    const int x = r.left() + (r.width() - width) / 2;
    const int y = r.top() + 7;
    fonts.windowBold().draw(p, QPoint(x, y), bold, kInk);
    fonts.window().draw(p, QPoint(x + boldWidth, y), regular, kInk);
}

// An AND gate: 2-pixel outline, 3 pixels at the bottom, the ampersand in the middle.
void paintGate(QPainter& p, QRect r, const Fonts& fonts) {
    frame(p, r, 2, 3);
    const QString amp = QStringLiteral("&");
    const TextFace& face = fonts.digits();
    const QRect inside = r.adjusted(2, 2, -2, -3);
    face.draw(p,
              QPoint(inside.left() + (inside.width() - face.width(amp) + 1) / 2,
                     inside.top() + (inside.height() - face.lineHeight()) / 2),
              amp, kInk);
}

// The bus switch: contacts at both sides 25 pixels below the top, and the blade
// either lying level between them (closed) or lifted from the right contact towards
// the upper left (open).
void paintSwitch(QPainter& p, QRect r, bool closed) {
    frame(p, r, 1, 1);
    const int y = r.top() + 25;
    const int leftEnd = r.left() + 9;
    const int rightStart = r.right() - 8;
    p.fillRect(QRect(r.left() + 1, y, leftEnd - r.left() - 1, 2), kInk);
    p.fillRect(QRect(rightStart, y, r.right() - rightStart, 2), kInk);
    // Contact points.
    p.fillRect(QRect(leftEnd - 1, y - 1, 3, 4), kInk);
    p.fillRect(QRect(rightStart - 1, y - 1, 3, 4), kInk);
    if (closed) {
        p.fillRect(QRect(leftEnd, y, rightStart - leftEnd, 2), kInk);
    } else {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(QPointF(rightStart, y + 0.5), QPointF(leftEnd + 3, y - 13.5));
        p.restore();
    }
}

} // namespace

void paintWiring(QPainter& p) {
    p.fillRect(QRect(0, 0, layout::kClientWidth, layout::kClientHeight), colour(clInactiveBorder));
    const QColor green = colour(clGreen);
    for (const layout::Wire& w : layout::wires()) p.fillRect(boxRect(w.box()), green);
    for (const layout::Dot& d : layout::dots()) p.fillRect(boxRect(d.box()), green);
}

void paintBlock(QPainter& p, const layout::Block& b, const Fonts& fonts) {
    const QRect r = boxRect(b.picture);
    p.save();
    switch (b.art) {
    case layout::Art::ControlUnit:
        paintControlUnit(p, r);
        break;
    case layout::Art::Register:
        paintRegister(p, r, b, fonts);
        break;
    case layout::Art::Ram:
        paintRam(p, r, b, fonts);
        break;
    case layout::Art::AndGate:
        paintGate(p, r, fonts);
        break;
    case layout::Art::OpenSwitch:
        paintSwitch(p, r, false);
        break;
    case layout::Art::ClosedSwitch:
        paintSwitch(p, r, true);
        break;
    }
    p.restore();
}

QRect paintBevelFrame(QPainter& p, QRect r, Bevel bevel) {
    if (bevel == Bevel::None || r.isEmpty()) return r;
    const bool lowered = bevel == Bevel::Lowered; // Space draws as Raised
    const QColor top = colour(lowered ? kBevelDark : kBevelLight);
    const QColor bottom = colour(lowered ? kBevelLight : kBevelDark);
    const int w = r.width();
    const int h = r.height();
    p.fillRect(QRect(r.left(), r.top(), 1, h), top);
    p.fillRect(QRect(r.left(), r.top(), w - 1, 1), top);
    p.fillRect(QRect(r.right(), r.top(), 1, h), bottom);
    p.fillRect(QRect(r.left(), r.bottom(), w, 1), bottom);
    return r.adjusted(1, 1, -1, -1);
}

} // namespace procesor
