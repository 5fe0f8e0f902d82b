#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include "panel/ElementState.h"

namespace procesor {

class Fonts;

// A panel used as a push button: filled with its colour, framed by an outer and an
// inner 1-pixel bevel, its caption centred in bold. A press by itself changes
// nothing; the handler of the click gives the panel its next look.
class PanelButton final : public QWidget {
    Q_OBJECT
public:
    PanelButton(const Fonts& fonts, QWidget* parent);
    void setLook(const Panel& look);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const Fonts& fonts_;
    Panel look_;
    QString caption_;
    bool pressed_ = false;
};

// A data switch: a tiny push button whose bold caption, "0" or "1", is the switch's
// state.
class DataSwitchButton final : public QPushButton {
    Q_OBJECT
public:
    DataSwitchButton(const Fonts& fonts, QColor ink, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Fonts& fonts_;
    QColor ink_;
};

// The speed field: a plain one-line field with the sunken 2-pixel frame. Its
// up-down control is bound to it, so the Up and Down keys work its arrows.
class SpeedField final : public QLineEdit {
    Q_OBJECT
public:
    explicit SpeedField(QWidget* parent);

signals:
    void arrow(bool up);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The up-down arrows beside the speed field. Each arrow click, and each repeat
// while an arrow is held, reports which arrow it was; Up and Down keys do the same.
class UpDownArrows final : public QWidget {
    Q_OBJECT
public:
    explicit UpDownArrows(QWidget* parent);
    QAbstractButton* upArrow() const { return up_; }
    QAbstractButton* downArrow() const { return down_; }

signals:
    void arrow(bool up);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAbstractButton* up_;
    QAbstractButton* down_;
};

} // namespace procesor
