#pragma once

#include <QWidget>
#include <optional>

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
    void setState(std::optional<CounterRole> role, int value, int bus, CounterAction action);
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kOutputCaptionX = 80; // from the block's left edge
    int blockLeft_ = 0;
    std::optional<CounterRole> role_;
    int value_ = 0;
    int bus_ = 0;
    CounterAction action_;
};

class CounterWindow : public QWidget {
    Q_OBJECT
public:
    explicit CounterWindow(QWidget* parent = nullptr);

    // None until the student chooses IR or PČ: the window cannot know which was clicked.
    std::optional<CounterRole> role() const { return role_; }
    int value() const { return register_.value(); }

private:
    void chooseRole(CounterRole role);
    void pulse();
    void act(CounterAction action, const QString& how);
    void refresh();

    std::optional<CounterRole> role_;
    CountingRegister register_;
    Phase phase_ = Phase::Rest;
    CounterAction last_;

    QButtonGroup* roles_ = nullptr;
    QLabel* roleText_ = nullptr;
    QWidget* controls_ = nullptr; // everything the student sets, usable once a register is chosen
    BitToggle* value_ = nullptr;
    BitToggle* bus_ = nullptr;
    SignalLamp* write_ = nullptr;
    SignalLamp* count_ = nullptr;
    QLabel* phaseLabel_ = nullptr;
    CounterView* view_ = nullptr;
    QLabel* result_ = nullptr;
};

} // namespace companion
