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

constexpr qreal kColumnStep = 56;
constexpr qreal kBit3X = 100; // centre of the column of weight 8
constexpr qreal kCell = 24;

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

} // namespace

AdderColumnsView::AdderColumnsView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("columns"));
    setMinimumSize(380, 150);
}

void AdderColumnsView::setAddition(const Addition& addition) {
    addition_ = addition;
    update();
}

void AdderColumnsView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    constexpr qreal carryY = 30, aY = 62, bY = 90, sumY = 128;
    const qreal labelsX = columnX(0) + 30;

    p.setFont(look::font());
    for (int bit = 0; bit < kWordBits; ++bit)
        p.drawText(QRectF(columnX(bit) - 20, 0, 40, 14), Qt::AlignCenter,
                   QStringLiteral("bit %1").arg(bit));

    p.setFont(look::font(true));
    p.drawText(QPointF(labelsX, carryY + 4), QStringLiteral("přenos"));
    p.drawText(QPointF(labelsX, aY + 4), QStringLiteral("A"));
    p.drawText(QPointF(labelsX, bY + 4), QStringLiteral("B"));
    p.drawText(QPointF(labelsX, sumY + 4), QStringLiteral("součet"));
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(columnX(3) - 16, bY + 18), QPointF(columnX(0) + 16, bY + 18));
    p.drawText(QPointF(columnX(3) - 30, bY + 4), QStringLiteral("+"));

    p.setFont(look::font(true, 13));
    for (int bit = 0; bit < kWordBits; ++bit) {
        const BitAddition& column = addition_.bits[static_cast<std::size_t>(bit)];
        const qreal x = columnX(bit);
        // The carry out of this column enters the next column to the left.
        const bool carry = column.carryOut;
        wires::drawWire(p,
                        QPolygonF{QPointF(x - kCell / 2, sumY), QPointF(x - 28, sumY),
                                  QPointF(x - 28, carryY),
                                  QPointF(x - kColumnStep + kCell / 2, carryY)},
                        carry);
        wires::drawArrowHead(p, QPointF(x - 28, carryY),
                             QPointF(x - kColumnStep + kCell / 2 + 1, carryY), carry);
        drawCell(p, QPointF(x, carryY), column.carryIn);
        drawCell(p, QPointF(x, aY), column.a);
        drawCell(p, QPointF(x, bY), column.b);
        drawCell(p, QPointF(x, sumY), column.sum);
    }

    // The carry out of bit 3 has no wire to go to.
    const QRectF lost(columnX(3) - kColumnStep - 34, carryY - 11, 46, 22);
    p.setFont(look::font(true));
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
            "Sčítačka sčítá obsah registrů A a B a součet stále vystavuje na svém výstupu; na "
            "sběrnici ho pustí jen signál ADD/R (řádek 0110 instrukce ADD), odkud ho převezme "
            "registr A. Sčítá se po bitech od nejnižšího (LSB): v každém sloupci se sečte bit A, "
            "bit B a přenos ze sloupce vpravo; vznikne bit součtu a přenos do sloupce vlevo. "
            "Přenos z nejvyššího bitu (váha 8) nikam nevede – ztratí se, a proto sčítačka počítá "
            "modulo 16: 10 + 8 dá 2 a 15 + 1 dá 0.\nKlepnutím na bity A a B je měňte."));

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
