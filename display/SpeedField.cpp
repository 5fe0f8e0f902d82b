#include "display/SpeedField.h"

#include <QKeyEvent>

namespace procesor {

SpeedField::SpeedField(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
}

void SpeedField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        emit arrow(event->key() == Qt::Key_Up);
    else if (event->matches(QKeySequence::Paste))
        emit pasted();
    else
        QLineEdit::keyPressEvent(event);
}

} // namespace procesor
