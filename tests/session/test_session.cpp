// A whole lesson in the real window, by mouse clicks and real timer ticks, and the
// automatic clock at its fastest speeds measured pulse by pulse.

#include <QLineEdit>
#include <QtTest>

#include <algorithm>
#include <utility>
#include <vector>

#include "tests/session/WindowDriver.h"

using namespace procesor;
using namespace testing;

namespace {

const QRect kRučněArea(819, 272, 73, 25);
// How late a tick may come on a busy machine; a pulse that comes 100 ms early or
// late is a fault.
constexpr int kLateMs = 75;

// Run mode, the speed typed into the field, "start/stop".
void startClock(TForm1& form, const QString& speed) {
    clickAt(form, kRun);
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("Edit17"));
    edit->selectAll();
    QTest::keyClicks(edit, speed);
    clickAt(form, kStartStop);
}

// The times of the next count clock pulses, in ms from now, as the clock phase changes.
std::vector<qint64> pulseTimes(TForm1& form, std::size_t count) {
    const ProcessorModel& m = form.simulator().model();
    auto phase = [&] { return std::pair(m.phi1, m.phi2); };
    std::vector<qint64> times;
    QElapsedTimer clock;
    clock.start();
    for (auto last = phase(); times.size() < count && clock.elapsed() < 10000; QTest::qWait(1))
        if (phase() != last) {
            last = phase();
            times.push_back(clock.elapsed());
        }
    return times;
}

} // namespace

class Session : public QObject {
    Q_OBJECT
private slots:
    void enterRunAndReRunAProgramByClicks() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        // LDA 5; MOV; ADD; HLT, word by word: switches, "zápis do RAM", "krokování".
        const int program[] = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};
        for (int word : program) {
            setSwitches(form, word);
            clickAt(form, kWrite);
            clickAt(form, kStep);
        }
        const ProcessorModel& m = form.simulator().model();
        for (int a = 0; a < 5; ++a) QCOMPARE(m.ram[a], program[a]);
        QCOMPARE(form.simulator().elements().label[37].caption, std::string(" l O l  l "));

        clickAt(form, kRun);
        QVERIFY(!form.simulator().programmingMode());
        for (int i = 0; i < 3; ++i) clickAt(form, kArrowUp); // speed 7
        QCOMPARE(form.simulator().elements().edit17.text, std::string("7"));
        clickAt(form, kStartStop);
        QVERIFY(form.simulator().elements().timer[1].enabled);

        // 34 pulses at 300 ms
        QVERIFY(waitFor([&] { return !form.simulator().elements().edit17.visible; }, 20000));
        QCOMPARE(m.regA, 10);
        QCOMPARE(m.ir, 15);
        const ElementState& el = form.simulator().elements();
        QCOMPARE(el.panel[1].colour, clCream);
        QCOMPARE(el.panel[2].colour, clCream);
        QCOMPARE(el.label[5].caption, std::string("10"));
        // Halted: neither run control answers.
        clickAt(form, kRučně);
        clickAt(form, kStartStop);
        QCOMPARE(m.ir, 15);
        QVERIFY(!el.timer[1].enabled);

        // Run it again from the start, by hand this time, then back to programming.
        clickAt(form, kRun);
        QCOMPARE(m.regA, 0);
        for (int pulse = 0; pulse < 9; ++pulse) {
            clickAt(form, kRučně);
            QVERIFY(waitFor([&] { return el.panel[1].colour != clTeal; }, 2000));
        }
        QCOMPARE(m.regA, 5);
        clickAt(form, kProgramming);
        QVERIFY(form.simulator().programmingMode());
        for (int a = 0; a < 5; ++a) QCOMPARE(m.ram[a], program[a]);
        QCOMPARE(el.label[36].caption, std::string("O l O l "));

        // "nulování" clears it.
        clickAt(form, kClear);
        QCOMPARE(m.ram, (std::array<int, 16>{}));
        QCOMPARE(el.label[36].caption, std::string(11, ' '));
    }

    // At speed 7 "ručně" flashes teal for its full 300 ms on every automatic pulse,
    // so it looks pressed nearly all the time, and its lock holds against clicks.
    void atSpeedSevenTheClockButtonStaysPressedAndLocked() {
        TForm1 form;
        form.simulator().model().ram[0] = 0b1000; // JMP 0, for ever
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        startClock(form, QStringLiteral("7"));
        QCOMPARE(pulseTimes(form, 1).size(), std::size_t{1});

        int pressed = 0, samples = 0;
        for (QElapsedTimer t; !t.isValid() || t.elapsed() < 3000; QTest::qWait(40)) {
            if (!t.isValid()) t.start();
            const QImage look = form.grab(kRučněArea).toImage();
            // teal inside, the dark edge of a lowered bevel at the top left
            pressed += rgbAt(look, 4, 4) == 0x008080 && rgbAt(look, 0, 0) == 0x808080;
            ++samples;
        }
        qInfo("speed 7: \"ručně\" pressed in %d of %d samples", pressed, samples);
        QVERIFY2(pressed * 10 >= samples * 9, qPrintable(QString::number(pressed)));

        const ProcessorModel& m = form.simulator().model();
        int tries = 0;
        for (int attempt = 0; attempt < 12 && tries < 6; ++attempt) {
            if (pulseTimes(form, 1).empty()) break;
            QElapsedTimer since;
            since.start();
            QTest::qWait(50);
            const ProcessorModel before = m;
            if (since.elapsed() > 150) continue; // too late to say it was 50 ms
            clickAt(form, kRučně);
            QVERIFY2(m == before, qPrintable(QString::number(since.elapsed())));
            ++tries;
        }
        QCOMPARE(tries, 6);
    }

    // Typed speeds above 7 give the fastest clock, 100 ms, which the pressed look
    // thins out to one pulse in three: every pulse comes 300 ms after the last.
    void fastTypedSpeedsPulseEveryThreeHundredMilliseconds_data() {
        QTest::addColumn<QString>("speed");
        for (const char* speed : {"8", "9", "20"})
            QTest::newRow(speed) << QString::fromLatin1(speed);
    }
    void fastTypedSpeedsPulseEveryThreeHundredMilliseconds() {
        QFETCH(QString, speed);
        TForm1 form;
        form.simulator().model().ram[0] = 0b1000;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        startClock(form, speed);
        const std::vector<qint64> times = pulseTimes(form, 9);
        QCOMPARE(times.size(), std::size_t{9});
        // Every pulse on a 300 ms grid, some coming late when the machine is busy:
        // how far each lies from the grid, whose start is the earliest fit.
        QStringList gaps;
        qint64 earliest = times[0], latest = times[0];
        for (std::size_t i = 0; i < times.size(); ++i) {
            if (i > 0) gaps << QString::number(times[i] - times[i - 1]);
            earliest = std::min(earliest, times[i] - 300 * qint64(i));
            latest = std::max(latest, times[i] - 300 * qint64(i));
        }
        qInfo("gaps at speed %s: %s ms", qPrintable(speed), qPrintable(gaps.join(' ')));
        QVERIFY2(latest - earliest <= kLateMs, qPrintable(gaps.join(' ')));
    }
};

QTEST_MAIN(Session)
#include "test_session.moc"
