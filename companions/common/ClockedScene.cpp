#include "companions/common/ClockedScene.h"

#include "model/Clock.h"

namespace procesor::explain {

namespace {

Point below(int top, Point at) {
    return {at.x, top + at.y};
}

} // namespace

ClockedScene::ClockedScene(int width, int height, std::string_view explanation, ClockPlaces places)
    : Scene(width, height), phi2(below(bodyTopUnder(explanation, width), places.phi2), "Φ2"),
      strobe(below(bodyTopUnder(explanation, width), places.strobe), std::string(kStrobeLampName)),
      steps(height),
      bodyTop_(bodyTopUnder(explanation, width)) {}

void ClockedScene::addClock(bool withStrobe) {
    phi2.setEnabled(false); // Phi2 comes only from the clock: the student steps it
    add(phi2);
    if (withStrobe) {
        strobe.setEnabled(false);
        add(strobe);
    }
    steps.addTo(*this);
    steps.pulse.onClick = [this] { onPulse(); };
    steps.microstep.onClick = [this] { onMicrostep(); };
    steps.restart.onClick = [this] { onRestart(); };
}

void ClockedScene::onRestart() {
    m_ = start_;
    restarted();
}

void ClockedScene::run(bool pulse) {
    const bool phi1State = pulse && advanceClock(m_);
    setInputs();
    formStrobes(m_);
    transfer(m_, phi1State);
}

std::string ClockedScene::pulseToRest(const std::function<void()>& pulse) {
    int pulses = 0;
    do {
        pulse();
        ++pulses;
    } while (m_.phi1);
    return pulses == 3 ? "Celý mikrokrok (fáze Φ1, fáze Φ2, klid): "
                       : "Mikrokrok dokončen, hodiny jsou v klidu: ";
}

} // namespace procesor::explain
