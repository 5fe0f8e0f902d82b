#include "display/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include "display/Artwork.h"
#include "display/Fonts.h"

namespace procesor {

// ---- PanelButton --------------------------------------------------------------

PanelButton::PanelButton(const Fonts& fonts, QWidget* parent) : QWidget(parent), fonts_(fonts) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void PanelButton::setLook(const Panel& look) {
    if (look == look_) return;
    look_ = look;
    caption_ = QString::fromStdString(look.caption);
    update();
}

void PanelButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    r = paintBevelFrame(p, r, look_.outer);
    r = paintBevelFrame(p, r, look_.inner);
    p.fillRect(r, colour(look_.colour));
    // Centred both ways, as one line; odd leftovers go to the right and the bottom.
    const TextFace& face = fonts_.windowBold();
    const QPoint at(r.left() + (r.width() - face.width(caption_)) / 2,
                    r.top() + (r.height() - face.lineHeight()) / 2);
    p.setClipRect(r);
    face.draw(p, at, caption_, Qt::black);
}

void PanelButton::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void PanelButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}

// ---- DataSwitchButton -----------------------------------------------------------

DataSwitchButton::DataSwitchButton(const Fonts& fonts, QColor ink, QWidget* parent)
    : QPushButton(parent), fonts_(fonts), ink_(ink) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
}

void DataSwitchButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool down = isDown();
    const QPalette& pal = palette();
    qDrawWinButton(&p, rect(), pal, down, &pal.brush(QPalette::Button));
    const TextFace& face = fonts_.windowBold();
    const QString caption = text();
    QPoint at((width() - face.width(caption)) / 2, (height() - face.lineHeight()) / 2);
    if (down) at += QPoint(1, 1);
    p.setClipRect(rect().adjusted(2, 2, -2, -2));
    face.draw(p, at, caption, ink_);
    if (hasFocus()) {
        // The classic dotted focus frame, every other pixel, just inside the bevel.
        p.setClipping(false);
        const QRect f = rect().adjusted(2, 2, -3, -3);
        for (int x = f.left(); x <= f.right(); ++x)
            for (int y : {f.top(), f.bottom()})
                if ((x + y) % 2 == 0) p.fillRect(x, y, 1, 1, Qt::black);
        for (int y = f.top() + 1; y < f.bottom(); ++y)
            for (int x : {f.left(), f.right()})
                if ((x + y) % 2 == 0) p.fillRect(x, y, 1, 1, Qt::black);
    }
}

// ---- SpeedField -----------------------------------------------------------------

SpeedField::SpeedField(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setTextMargins(3, 2, 2, 2);
}

void SpeedField::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter p(this);
    qDrawWinPanel(&p, rect(), palette(), true);
}

void SpeedField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        emit arrow(event->key() == Qt::Key_Up);
    else
        QLineEdit::keyPressEvent(event);
}

// ---- UpDownArrows ---------------------------------------------------------------

namespace {

class ArrowButton final : public QAbstractButton {
public:
    ArrowButton(bool up, QWidget* parent) : QAbstractButton(parent), up_(up) {
        setFocusPolicy(Qt::NoFocus);
        setAutoRepeat(true);
        setAutoRepeatDelay(500);
        setAutoRepeatInterval(100);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QPalette& pal = palette();
        qDrawWinButton(&p, rect(), pal, isDown(), &pal.brush(QPalette::Button));
        // A small solid triangle, 5 pixels wide at its base.
        const int cx = width() / 2 + (isDown() ? 1 : 0) - 1;
        const int top = (height() - 3) / 2 + (isDown() ? 1 : 0);
        const QColor ink = isEnabled() ? Qt::black : pal.color(QPalette::Dark);
        for (int row = 0; row < 3; ++row) {
            const int half = up_ ? row : 2 - row;
            p.fillRect(QRect(cx - half, top + row, 2 * half + 1, 1), ink);
        }
    }

private:
    bool up_;
};

} // namespace

UpDownArrows::UpDownArrows(QWidget* parent)
    : QWidget(parent), up_(new ArrowButton(true, this)), down_(new ArrowButton(false, this)) {
    setFocusPolicy(Qt::TabFocus);
    connect(up_, &QAbstractButton::clicked, this, [this] { emit arrow(true); });
    connect(down_, &QAbstractButton::clicked, this, [this] { emit arrow(false); });
}

void UpDownArrows::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

void UpDownArrows::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        emit arrow(true);
    else if (event->key() == Qt::Key_Down)
        emit arrow(false);
    else
        QWidget::keyPressEvent(event);
}

} // namespace procesor
