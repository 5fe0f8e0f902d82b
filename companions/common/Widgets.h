#pragma once

#include <QAbstractButton>
#include <QPushButton>
#include <QWidget>
#include <array>

namespace companion {

// A push button with the look of the simulator's panel buttons: raised aqua when it
// responds, lowered teal while pressed (or while checked, for a toggle), cream and
// flat when disabled.
class PanelButton : public QPushButton {
    Q_OBJECT
public:
    explicit PanelButton(const QString& text, QWidget* parent = nullptr);
};

// A named control or phase line with its lamp: red when the line carries 1, wire
// green when it carries 0. Interactive lamps toggle on a click (or Space); the others
// only show a value.
class SignalLamp : public QAbstractButton {
    Q_OBJECT
public:
    explicit SignalLamp(const QString& name, QWidget* parent = nullptr);
    void setInteractive(bool interactive);
    bool isInteractive() const { return interactive_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override; // a lamp that only shows keeps its value

private:
    bool interactive_ = true;
};

// A register's value as the diagram's value digits show it: the 16 px bold digits, red
// on white, pixel for pixel.
class ValueDigits : public QWidget {
    Q_OBJECT
public:
    explicit ValueDigits(QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return text_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_ = QStringLiteral("0");
};

// One bit of a BitToggle.
class BitCell : public QAbstractButton {
    Q_OBJECT
public:
    explicit BitCell(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    void setInteractive(bool interactive);

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override; // a bit that only shows keeps its value

private:
    bool interactive_ = true;
};

// A 4-bit value shown as four bits, weight 8 on the left, each 1 in red. When
// interactive a click on a bit toggles it; the decimal value is shown beside.
class BitToggle : public QWidget {
    Q_OBJECT
public:
    explicit BitToggle(QWidget* parent = nullptr);

    int value() const { return value_; }
    void setValue(int value); // kept within 0..15; emits valueChanged when it changes
    void setInteractive(bool interactive);
    bool isInteractive() const { return interactive_; }
    BitCell* bitCell(int bit) const; // bit 0 = weight 1

signals:
    void valueChanged(int value);

private:
    void showValue();

    int value_ = 0;
    bool interactive_ = true;
    std::array<BitCell*, 4> cells_{};
    ValueDigits* decimal_ = nullptr;
};

} // namespace companion
