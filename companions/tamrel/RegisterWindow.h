#pragma once

#include <QWidget>

#include "companions/tamrel/DataRegister.h"

class QLabel;

namespace companion {

class BitToggle;
class SignalLamp;

// The register between the bus and the adder: the bus comes in through the write
// strobe, the output goes down to the adder and, for A only, back up to the bus
// through A/R.
class RegisterView : public QWidget {
    Q_OBJECT
public:
    explicit RegisterView(RegisterName name, QWidget* parent = nullptr);
    void setState(int value, int bus, bool strobe, bool readSignal);
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RegisterName name_;
    int value_ = 0;
    int bus_ = 0;
    bool strobe_ = false;
    bool read_ = false;
};

class RegisterWindow : public QWidget {
    Q_OBJECT
public:
    explicit RegisterWindow(RegisterName name, QWidget* parent = nullptr);

    const DataRegister& dataRegister() const { return register_; }

private:
    void pulse();
    void microstep();
    void setRead(bool on);
    void refresh();
    void describe(bool loaded);

    DataRegister register_;
    BitToggle* bus_ = nullptr;
    BitToggle* value_ = nullptr;
    SignalLamp* write_ = nullptr;
    SignalLamp* read_ = nullptr; // A only
    SignalLamp* strobe_ = nullptr;
    QLabel* phaseLabel_ = nullptr;
    QLabel* adderLabel_ = nullptr;
    RegisterView* view_ = nullptr;
    QLabel* result_ = nullptr;
};

} // namespace companion
