#pragma once

#include <QWidget>

#include "companions/sarvek/Counter.h"

class QButtonGroup;
class QLabel;

namespace companion {

class BitToggle;
class PanelButton;
class SignalLamp;

// The counting register as a block: the bus comes in from above, the load strobe and
// the count input from the left.
class CounterView : public QWidget {
    Q_OBJECT
public:
    explicit CounterView(QWidget* parent = nullptr);
    void setState(CounterRole role, int value, int bus, CounterAction action);
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CounterRole role_ = CounterRole::ProgramCounter;
    int value_ = 0;
    int bus_ = 0;
    CounterAction action_;
};

class CounterWindow : public QWidget {
    Q_OBJECT
public:
    explicit CounterWindow(QWidget* parent = nullptr);

    CounterRole role() const { return role_; }
    int value() const { return register_.value(); }

private:
    void chooseRole(CounterRole role);
    void pulse();
    void act(CounterAction action, const QString& how);
    void refresh();

    CounterRole role_ = CounterRole::ProgramCounter;
    CountingRegister register_;
    Phase phase_ = Phase::Rest;
    CounterAction last_;

    QButtonGroup* roles_ = nullptr;
    QLabel* roleText_ = nullptr;
    BitToggle* value_ = nullptr;
    BitToggle* bus_ = nullptr;
    SignalLamp* write_ = nullptr;
    SignalLamp* count_ = nullptr;
    QLabel* phaseLabel_ = nullptr;
    CounterView* view_ = nullptr;
    QLabel* result_ = nullptr;
};

} // namespace companion
