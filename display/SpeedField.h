#pragma once

#include <QLineEdit>

namespace procesor {

// The speed field, a real editable field laid over the frame the diagram draws for
// it. The keys the screen decides on (Tab and Shift+Tab, Up and Down, which step the
// speed as its arrows do) and a paste, which may be a program, go to the window
// first; the field keeps the rest, and a paste the screen leaves to it.
class SpeedField final : public QLineEdit {
    Q_OBJECT
public:
    explicit SpeedField(QWidget* parent);

signals:
    void arrow(bool up);
    void pasted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace procesor
