#pragma once

// Drives the real window as a student does: mouse clicks at window pixels,
// delivered to whatever widget lies there, and real timer ticks.

#include <QElapsedTimer>
#include <QtTest>

#include "display/TForm1.h"
#include "tests/support/WindowTesting.h"

namespace testing {

// Centres of the operator controls, in window pixels.
inline const QPoint kRučně{819 + 36, 272 + 12};
inline const QPoint kStartStop{819 + 36, 308 + 12};
inline const QPoint kStep{408 + 40, 328 + 12};
inline const QPoint kWrite{408 + 40, 360 + 12};
inline const QPoint kClear{408 + 40, 392 + 12};
inline const QPoint kProgramming{819 + 40, 96 + 12};
inline const QPoint kRun{819 + 40, 120 + 12};
inline const QPoint kArrowUp{977 + 8, 312 + 5};
inline const QPoint kSwitch[4] = {{916 + 6, 139 + 7},
                                  {932 + 6, 139 + 7},
                                  {948 + 6, 139 + 7},
                                  {964 + 6, 139 + 7}}; // weights 8, 4, 2, 1

// Sets the four data switches to a word by clicking those that differ.
inline void setSwitches(procesor::TForm1& form, int word) {
    for (int i = 0; i < 4; ++i) {
        const int weight = 8 >> i;
        const bool on = form.simulator().elements().button[8 + i].caption == "1";
        if (on != bool(word & weight)) clickAt(form, kSwitch[i]);
    }
}

// Waits, with the event loop running, until a condition holds or time runs out.
template <typename Condition> bool waitFor(Condition done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QTest::qWait(2);
    }
    return true;
}

} // namespace testing
