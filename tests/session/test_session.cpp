// A whole lesson in the real window, by mouse clicks and real timer ticks.

#include <QtTest>

#include "tests/session/WindowDriver.h"

using namespace procesor;
using namespace testing;

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

    // The fastest speed must be faster than the one below it: every automatic tick
    // has to become a pulse, although the release of "ručně" falls due with it.
    void atSpeedSevenTheClockPulsesEveryThreeHundredMilliseconds() {
        TForm1 form;
        form.simulator().model().ram[0] = 0b1000; // JMP 0, for ever
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        clickAt(form, kRun);
        for (int i = 0; i < 3; ++i) clickAt(form, kArrowUp);
        clickAt(form, kStartStop);

        const ProcessorModel& m = form.simulator().model();
        QElapsedTimer clock;
        clock.start();
        std::vector<qint64> pulseTimes;
        auto phase = [&] { return int(m.phi1) + int(m.phi2); };
        int last = phase();
        while (pulseTimes.size() < 21 && clock.elapsed() < 15000) {
            QTest::qWait(1);
            if (phase() != last) {
                last = phase();
                pulseTimes.push_back(clock.elapsed());
            }
        }
        QCOMPARE(pulseTimes.size(), std::size_t{21});
        const double mean = double(pulseTimes.back() - pulseTimes.front()) / 20;
        qInfo("mean interval over 20 pulses at speed 7: %.1f ms", mean);
        QVERIFY2(mean < 400, qPrintable(QString("mean interval %1 ms").arg(mean)));
        QVERIFY(mean > 250);
    }
};

QTEST_MAIN(Session)
#include "test_session.moc"
