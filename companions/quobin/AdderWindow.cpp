#include "companions/quobin/AdderWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "companions/common/Look.h"
#include "companions/common/Widgets.h"
#include "companions/common/Wires.h"
#include "companions/common/Word.h"

namespace companion {

namespace {

constexpr qreal kColumnStep = 64;
constexpr qreal kBit3X = 110; // centre of the column of weight 8, the leftmost
constexpr qreal kCell = 24;
// Rows of the picture: the two operand bits, the column's adder with its carry input on
// the right and its carry output on the left, and the sum bit below it.
constexpr qreal kAY = 30, kBY = 58, kSumY = 140;
constexpr QRectF kAdderBox(-16, 80, 32, 36); // relative to the column's centre
constexpr qreal kCarryY = 98;

qreal columnX(int bit) {
    return kBit3X + (kWordBits - 1 - bit) * kColumnStep;
}

void drawCell(QPainter& p, QPointF centre, bool one) {
    const QRectF box(centre.x() - kCell / 2, centre.y() - 11, kCell, 22);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(one ? look::signal() : QColor(Qt::white));
    p.drawRect(box);
    p.setPen(one ? QColor(Qt::white) : QColor(Qt::black));
    p.drawText(box, Qt::AlignCenter, one ? QStringLiteral("1") : QStringLiteral("0"));
}

QString bitText(bool one) {
    return one ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

AdderColumnsView::AdderColumnsView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("columns"));
    setMinimumSize(420, 156);
}

void AdderColumnsView::setAddition(const Addition& addition) {
    addition_ = addition;
    update();
}

void AdderColumnsView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(look::font());
    for (int bit = 0; bit < kWordBits; ++bit)
        p.drawText(QRectF(columnX(bit) - 20, 0, 40, 14), Qt::AlignCenter,
                   QStringLiteral("bit %1").arg(bit));

    const qreal carryInEnd = columnX(0) + kAdderBox.right() + 28;
    p.setFont(look::font(true));
    p.setPen(Qt::black);
    const qreal labelsX = carryInEnd + 8;
    p.drawText(QPointF(labelsX, kAY + 4), QStringLiteral("A"));
    p.drawText(QPointF(labelsX, kBY + 4), QStringLiteral("B"));
    p.drawText(QPointF(labelsX, kCarryY + 4), QStringLiteral("přenos"));
    p.drawText(QPointF(labelsX, kSumY + 4), QStringLiteral("součet"));

    // Nothing enters the column of bit 0 from the right: its carry input is 0.
    wires::drawWire(p, QPointF(carryInEnd, kCarryY),
                    QPointF(columnX(0) + kAdderBox.right() + 1, kCarryY), false);
    wires::drawArrowHead(p, QPointF(carryInEnd, kCarryY),
                         QPointF(columnX(0) + kAdderBox.right() + 1, kCarryY), false);

    const QRectF lost(columnX(3) - kColumnStep - 16, kCarryY - 11, 46, 22);
    for (int bit = 0; bit < kWordBits; ++bit) {
        const BitAddition& column = addition_.bits[static_cast<std::size_t>(bit)];
        const qreal x = columnX(bit);
        const QRectF adder = kAdderBox.translated(x, 0);
        drawCell(p, QPointF(x, kAY), column.a);
        drawCell(p, QPointF(x, kBY), column.b);
        wires::drawWire(p, QPointF(x, adder.bottom() + 1), QPointF(x, kSumY - 12), column.sum);
        drawCell(p, QPointF(x, kSumY), column.sum);

        // The carry leaves the column's adder on the left and enters the next column's
        // adder on the right; the carry out of bit 3 has nowhere to go.
        const qreal to = bit == kWordBits - 1 ? lost.right() + 1 : adder.right() - kColumnStep + 1;
        wires::drawWire(p, QPointF(adder.left() - 1, kCarryY), QPointF(to, kCarryY),
                        column.carryOut);
        wires::drawArrowHead(p, QPointF(adder.left() - 1, kCarryY), QPointF(to, kCarryY),
                             column.carryOut);
        p.setPen(column.carryOut ? look::signal() : QColor(Qt::black));
        p.drawText(QRectF(to, kCarryY - 18, adder.left() - to, 14), Qt::AlignCenter,
                   bitText(column.carryOut));

        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(adder);
        p.setPen(Qt::black);
        p.drawText(adder, Qt::AlignCenter, QStringLiteral("+"));
    }

    p.setPen(QPen(addition_.carryOut ? look::signal() : QColor(Qt::black), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(lost);
    p.drawText(lost, Qt::AlignCenter,
               addition_.carryOut ? QStringLiteral("ztracen") : QStringLiteral("0"));
}

AdderWindow::AdderWindow(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* layout = look::frameWindow(
        this, QStringLiteral("Sčítačka – sčítání čtyřbitových čísel"),
        QStringLiteral("Čtyřbitová sčítačka (ADD)"),
        QStringLiteral(
            "Sčítačka sčítá hodnoty registrů A a B a součet stále vystavuje na svém výstupu; "
            "na sběrnici ho vystaví jen signál ADD/R (řádek 0110 instrukce ADD) a odtud ho "
            "převezme registr A. Sčítá se po bitech od nejnižšího (LSB): v každém sloupci se "
            "sečte bit A, bit B a přenos ze sloupce vpravo; vznikne bit součtu a přenos do "
            "sloupce vlevo. Přenos z nejvyššího bitu (váha 8) nikam nevede – ztratí se, a proto "
            "sčítačka počítá modulo 16: 10 + 8 dá 2 a 15 + 1 dá 0.\nKliknutím na bity A a B je "
            "měňte."));

    auto* inputs = new QGridLayout;
    inputs->setHorizontalSpacing(10);
    const auto addRow = [&](int row, const QString& name, BitToggle* toggle) {
        auto* label = new QLabel(name, this);
        label->setFont(look::font(true));
        inputs->addWidget(label, row, 0);
        inputs->addWidget(toggle, row, 1, Qt::AlignLeft);
    };
    a_ = new BitToggle(this);
    a_->setObjectName(QStringLiteral("operandA"));
    b_ = new BitToggle(this);
    b_->setObjectName(QStringLiteral("operandB"));
    sum_ = new BitToggle(this);
    sum_->setObjectName(QStringLiteral("sum"));
    sum_->setInteractive(false);
    addRow(0, QStringLiteral("registr A"), a_);
    addRow(1, QStringLiteral("registr B"), b_);
    addRow(2, QStringLiteral("součet (výstup sčítačky)"), sum_);
    inputs->setColumnStretch(2, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(inputs);
    columns_ = new AdderColumnsView(this);
    top->addWidget(columns_);
    top->addStretch();
    layout->addLayout(top);

    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("result"));
    result_->setFont(look::font(true));
    result_->setWordWrap(true);
    layout->addWidget(result_);
    layout->addStretch();

    connect(a_, &BitToggle::valueChanged, this, [this] { refresh(); });
    connect(b_, &BitToggle::valueChanged, this, [this] { refresh(); });
    a_->setValue(10);
    b_->setValue(8);
    refresh();
    look::fitToContents(this, 780);
}

void AdderWindow::refresh() {
    addition_ = add(a_->value(), b_->value());
    sum_->setValue(addition_.sum);
    columns_->setAddition(addition_);
    QString text =
        QStringLiteral("%1 + %2 = %3").arg(addition_.a).arg(addition_.b).arg(addition_.exact);
    if (addition_.carryOut)
        text += QStringLiteral(", to se do čtyř bitů nevejde: přenos z bitu 3 se ztratí a "
                               "sčítačka dá %1 − 16 = %2.")
                    .arg(addition_.exact)
                    .arg(addition_.sum);
    else
        text += QStringLiteral(", přenos z bitu 3 je 0 a součet se do čtyř bitů vejde.");
    result_->setText(text);
}

} // namespace companion
