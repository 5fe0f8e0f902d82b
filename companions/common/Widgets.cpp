#include "companions/common/Widgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include "companions/common/Look.h"
#include "companions/common/Word.h"

namespace companion {

PanelButton::PanelButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setFont(look::font(true));
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("QPushButton { background: %1; border: 2px outset %2;"
                                 " padding: 4px 10px; color: black; }"
                                 "QPushButton:pressed, QPushButton:checked { background: %3;"
                                 " border: 2px inset %2; }"
                                 "QPushButton:disabled { background: %4; border: 1px solid %2;"
                                 " color: #808080; }"
                                 "QPushButton:focus { outline: 1px dotted black; }")
                      .arg(look::ready().name(), QStringLiteral("#a0a0a0"), look::pressed().name(),
                           look::disabled().name()));
}

SignalLamp::SignalLamp(const QString& name, QWidget* parent) : QAbstractButton(parent) {
    setText(name);
    setCheckable(true);
    setFont(look::font(true));
    setInteractive(true);
}

void SignalLamp::setInteractive(bool interactive) {
    interactive_ = interactive;
    setAttribute(Qt::WA_TransparentForMouseEvents, !interactive);
    setFocusPolicy(interactive ? Qt::StrongFocus : Qt::NoFocus);
    setCursor(interactive ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void SignalLamp::nextCheckState() {
    if (interactive_) QAbstractButton::nextCheckState();
}

QSize SignalLamp::sizeHint() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 34, qMax(fm.height(), 14) + 8};
}

void SignalLamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor line = isChecked() ? look::signal() : look::wire();
    const qreal mid = height() / 2.0;
    const QRectF lamp(3, mid - 6, 12, 12);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(line);
    p.drawEllipse(lamp);
    p.setPen(QPen(line, 2));
    p.drawLine(QPointF(lamp.right(), mid), QPointF(lamp.right() + 8, mid));

    // A lamp that cannot be used yet (nothing chosen) has a grey name.
    p.setPen(!isEnabled() ? QColor(Qt::gray) : isChecked() ? look::signal() : QColor(Qt::black));
    const QRect textRect(int(lamp.right()) + 12, 0, width() - int(lamp.right()) - 12, height());
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text());
    if (hasFocus()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

ValueDigits::ValueDigits(QWidget* parent) : QWidget(parent) {}

void ValueDigits::setText(const QString& text) {
    text_ = text;
    updateGeometry();
    update();
}

QSize ValueDigits::sizeHint() const {
    return {procesor::render::textWidth(procesor::render::Face::Digits, "15") + 8,
            procesor::render::lineHeight(procesor::render::Face::Digits) + 6};
}

void ValueDigits::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    look::drawDiagramText(p, rect(), procesor::render::Face::Digits, text_, look::digit(),
                          Qt::white);
}

BitCell::BitCell(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
}

QSize BitCell::sizeHint() const {
    return {24, 26};
}

void BitCell::setInteractive(bool interactive) {
    interactive_ = interactive;
    setAttribute(Qt::WA_TransparentForMouseEvents, !interactive);
    setFocusPolicy(interactive ? Qt::StrongFocus : Qt::NoFocus);
    setCursor(interactive ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void BitCell::nextCheckState() {
    if (interactive_) QAbstractButton::nextCheckState();
}

void BitCell::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(isChecked() ? look::signal() : QColor(Qt::white));
    p.drawRect(box);
    look::drawDiagramText(p, box.adjusted(1, 1, 0, 0), procesor::render::Face::Digits,
                          isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
                          isChecked() ? QColor(Qt::white) : QColor(Qt::black),
                          isChecked() ? look::signal() : QColor(Qt::white));
    if (hasFocus()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(2, 2, -2, -2));
    }
}

BitToggle::BitToggle(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    for (int column = 0; column < kWordBits; ++column) {
        const int bit = kWordBits - 1 - column; // weight 8 on the left
        auto* weight = new QLabel(QString::number(1 << bit), this);
        weight->setFont(look::font());
        weight->setAlignment(Qt::AlignCenter);
        grid->addWidget(weight, 0, column);

        auto* cell = new BitCell(this);
        cell->setAccessibleName(QStringLiteral("bit %1").arg(1 << bit));
        grid->addWidget(cell, 1, column);
        cells_[static_cast<std::size_t>(bit)] = cell;
        connect(cell, &QAbstractButton::clicked, this, [this, bit](bool on) {
            if (interactive_) setValue(withBit(value_, bit, on));
        });
    }
    decimal_ = new ValueDigits(this);
    grid->addWidget(decimal_, 1, kWordBits);
    grid->setColumnMinimumWidth(kWordBits, 30);
    setInteractive(true);
    showValue();
}

void BitToggle::setValue(int value) {
    const int word = toWord(value);
    const bool changed = word != value_;
    value_ = word;
    showValue(); // also undoes a cell's own toggle when the value was refused
    if (changed) emit valueChanged(value_);
}

void BitToggle::setInteractive(bool interactive) {
    interactive_ = interactive;
    for (BitCell* cell : cells_) cell->setInteractive(interactive);
}

BitCell* BitToggle::bitCell(int bit) const {
    if (bit < 0 || bit >= kWordBits) return nullptr;
    return cells_[static_cast<std::size_t>(bit)];
}

void BitToggle::showValue() {
    for (int bit = 0; bit < kWordBits; ++bit)
        cells_[static_cast<std::size_t>(bit)]->setChecked(bitOf(value_, bit));
    decimal_->setText(QString::number(value_));
}

} // namespace companion
