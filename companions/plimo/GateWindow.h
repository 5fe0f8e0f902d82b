#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "companions/plimo/Gates.h"

class QButtonGroup;
class QLabel;

namespace companion {

class PanelButton;
class SignalLamp;

// One AND gate: control signal and Phi2 in, strobe out to its register.
class GateView : public QWidget {
    Q_OBJECT
public:
    explicit GateView(QWidget* parent = nullptr);
    // No gate chosen draws the gate with a plain "signál" input and no register.
    void setState(std::optional<int> gate, bool signal, bool phi2);
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<int> gate_;
    bool signal_ = false;
    bool phi2_ = false;
};

class GateWindow : public QWidget {
    Q_OBJECT
public:
    explicit GateWindow(QWidget* parent = nullptr);

    std::optional<int> gate() const { return gate_; }
    bool strobe() const { return andGate(signal_, phi2High(phase_)); }

private:
    void chooseGate(int gate);
    void pulse();
    void refresh();

    std::optional<int> gate_; // none until the student chooses one
    bool signal_ = false;
    Phase phase_ = Phase::Rest;

    QButtonGroup* gates_ = nullptr;
    SignalLamp* signalLamp_ = nullptr;
    SignalLamp* phi2Lamp_ = nullptr;
    SignalLamp* outputLamp_ = nullptr;
    PanelButton* clock_ = nullptr;
    QLabel* phaseLabel_ = nullptr;
    QLabel* usage_ = nullptr;
    GateView* view_ = nullptr;
    std::array<std::array<QLabel*, 3>, 4> table_{};
};

} // namespace companion
