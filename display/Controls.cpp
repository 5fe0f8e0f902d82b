#include "display/Controls.h"

#include <QKeyEvent>

namespace procesor {

SpeedField::SpeedField(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
}

void SpeedField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        emit arrow(event->key() == Qt::Key_Up);
    else
        QLineEdit::keyPressEvent(event);
}

FocusStop::FocusStop(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void FocusStop::focusInEvent(QFocusEvent*) {
    emit focusChanged(true);
}

void FocusStop::focusOutEvent(QFocusEvent*) {
    emit focusChanged(false);
}

void FocusStop::keyPressEvent(QKeyEvent* event) {
    const int k = event->key();
    if ((k == Qt::Key_Space && !event->isAutoRepeat()) || k == Qt::Key_Up || k == Qt::Key_Down)
        emit key(k);
    else
        QWidget::keyPressEvent(event);
}

} // namespace procesor
