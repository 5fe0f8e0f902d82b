#pragma once

#include <QLineEdit>
#include <QTimer>

namespace procesor {

// The speed field, a real editable field laid over the frame the diagram draws for
// it. The keys the screen decides on (Tab and Shift+Tab, Up and Down, which step the
// speed as its arrows do) and a paste, which may be a program, go to the window
// first; the field keeps the rest, and a paste the screen leaves to it.
class SpeedField final : public QLineEdit {
    Q_OBJECT
public:
    explicit SpeedField(QWidget* parent);
    // How far the field has scrolled its text to the left, in pixels, as of its last
    // paint (a text longer than the field follows the caret).
    int scrolledBy() const { return scrolledBy_; }

signals:
    void arrow(bool up);
    void pasted();
    void scrolled();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int unscrolledLeft_ = 0; // where the caret stands before the text, unscrolled
    int scrolledBy_ = 0;
    void settleAside();

    bool paintingAside_ = false;
    QTimer settle_; // single shot, at once: the paint aside after a paint
};

} // namespace procesor
