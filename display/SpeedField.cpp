#include "display/SpeedField.h"

#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>

#include <algorithm>

namespace procesor {

SpeedField::SpeedField(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    settle_.setSingleShot(true);
    settle_.setInterval(0);
    connect(&settle_, &QTimer::timeout, this, &SpeedField::settleAside);
}

void SpeedField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        emit arrow(event->key() == Qt::Key_Up);
    else if (event->matches(QKeySequence::Paste))
        emit pasted();
    else
        QLineEdit::keyPressEvent(event);
}

// The field itself paints nothing on the window (the picture draws it). The line edit
// settles its scrolling as it paints, so right after each paint it paints once more,
// into an image that is thrown away (outside the paint event: a widget painted from
// its own paint event is a recursive repaint), and from there the caret's place says
// how far it scrolled (none while the whole text fits).
void SpeedField::paintEvent(QPaintEvent* event) {
    if (paintingAside_) {
        QLineEdit::paintEvent(event);
        return;
    }
    if (!settle_.isActive()) settle_.start();
}

void SpeedField::settleAside() {
    paintingAside_ = true;
    QImage aside(size(), QImage::Format_ARGB32_Premultiplied);
    render(&aside, {}, {}, QWidget::RenderFlags());
    paintingAside_ = false;
    const QFontMetrics metrics(font());
    const int before = metrics.horizontalAdvance(text().left(cursorPosition()));
    const int caret = cursorRect().x();
    // The line edit keeps 2 pixels each side besides its margins; and room for the caret.
    const int room = width() - 4 - textMargins().left() - textMargins().right() - 3;
    if (metrics.horizontalAdvance(text()) < room) unscrolledLeft_ = caret - before;
    const int by = std::max(0, unscrolledLeft_ + before - caret);
    if (by != scrolledBy_) {
        scrolledBy_ = by;
        emit scrolled();
    }
}

} // namespace procesor
