#pragma once

#include <QLineEdit>
#include <QWidget>

namespace procesor {

// The speed field, a real editable field laid over the frame the diagram draws for
// it. Its up-down control is bound to it, so the Up and Down keys work its arrows.
class SpeedField final : public QLineEdit {
    Q_OBJECT
public:
    explicit SpeedField(QWidget* parent);

signals:
    void arrow(bool up);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The place in the tab order of a control that the diagram draws (a data switch,
// the up-down arrows): it takes the keyboard focus and the keys, draws nothing and
// lets the mouse through to the window.
class FocusStop final : public QWidget {
    Q_OBJECT
public:
    explicit FocusStop(QWidget* parent);

signals:
    void focusChanged(bool in);
    void key(int key); // Space, Up or Down

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace procesor
