// One clock pulse in the real window: the handler, the window following the
// element state, and the repaint of what changed, flushed to the screen. Prints
// the median in microseconds, then the median of a full repaint for comparison.
//
// A looping program runs: LDA 5; MOV; ADD; JMP 0.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "display/TForm1.h"

namespace {

double medianMicroseconds(std::vector<qint64>& ns) {
    std::sort(ns.begin(), ns.end());
    return double(ns[ns.size() / 2]) / 1000.0;
}

} // namespace

int main(int argc, char* argv[]) {
    using procesor::Simulator;
    QApplication app(argc, argv);
    procesor::TForm1 form;
    const int program[] = {0b0001, 5, 0b1011, 0b0101, 0b1000, 0};
    for (int i = 0; i < 6; ++i) form.simulator().model().ram[std::size_t(i)] = program[i];
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    form.run(&Simulator::Panel7Click);
    QCoreApplication::processEvents();

    constexpr int kPulses = 3000;
    std::vector<qint64> pulse;
    std::vector<qint64> full;
    pulse.reserve(kPulses);
    QElapsedTimer t;
    for (int i = 0; i < kPulses; ++i) {
        t.start();
        form.run(&Simulator::Panel1Click);
        QCoreApplication::sendPostedEvents(&form, QEvent::UpdateRequest);
        pulse.push_back(t.nsecsElapsed());
        form.run(&Simulator::Button1Click); // release "ručně" so that every call pulses
        QCoreApplication::sendPostedEvents(&form, QEvent::UpdateRequest);
    }
    for (int i = 0; i < 300; ++i) {
        t.start();
        form.repaint();
        full.push_back(t.nsecsElapsed());
    }
    std::printf("%.1f %.1f\n", medianMicroseconds(pulse), medianMicroseconds(full));
    return 0;
}
