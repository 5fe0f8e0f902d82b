#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "companions/common/Controls.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// A scene whose machine the student clocks by hand, below an explanation: the lamp
// of Phi2 and, where the scene has a gate, the lamp of its strobe (both shown only:
// they come from the clock and the gate), and the stepping row "ručně", "do konce
// mikrokroku" and "od začátku" at its place over the result field (StepButtons),
// which calls onPulse, onMicrostep and onRestart.
class ClockedScene : public Scene {
public:
    const ProcessorModel& machine() const { return m_; }
    const std::string& resultText() const { return result_; }
    std::string spoken() const override { return result_; }

    Lamp phi2;
    Lamp strobe; // kStrobeLampName, where the scene shows a gate's output
    StepButtons steps;

protected:
    // Where the lamps lie, from the body's top (the first row under the explanation).
    struct ClockPlaces {
        Point phi2;
        Point strobe;
    };
    ClockedScene(int width, int height, std::string_view explanation, ClockPlaces places);

    int bodyTop() const { return bodyTop_; }
    // Adds the lamps (the strobe's with `withStrobe`) and the step buttons after the
    // scene's own controls, in that focus order.
    void addClock(bool withStrobe);
    virtual void onPulse() = 0;
    virtual void onMicrostep() = 0;
    // Back to the machine as the scene began (markStart() keeps it), then the scene
    // puts its own controls and texts in line with it in restarted().
    void onRestart();
    void markStart() { start_ = m_; }
    virtual void restarted() = 0;

    // One pulse of the machine as the student set it: the clock advances (with
    // `pulse`), setInputs() puts the student's signals and bus into the machine, then
    // its gates and transfers.
    void run(bool pulse);
    virtual void setInputs() {}
    // `pulse` until the clock is at rest again (the whole microstep from rest, or the
    // rest of the one under way); returns the result's start, which says which.
    std::string pulseToRest(const std::function<void()>& pulse);

    ProcessorModel m_;
    std::string result_;

private:
    int bodyTop_;
    ProcessorModel start_;
};

} // namespace procesor::explain
