// Run mode: "ručně", "start/stop", the speed field and its arrows.

#include <QtTest>

#include "panel/Speed.h"
#include "tests/support/Machine.h"

using namespace procesor;
using namespace testing;

namespace {

struct Recorder {
    std::vector<std::string> messages;
};

Simulator runModeRecording(Recorder& r) {
    Simulator sim([&r](const std::string& m) { r.messages.push_back(m); });
    loadProgram(sim.model(), {0b1000, 0}); // JMP 0: runs for ever
    sim.Panel7Click();
    return sim;
}

} // namespace

class RunControls : public QObject {
    Q_OBJECT
private slots:
    void startStopRunsTheClockAtTheSpeedOfTheField() {
        Recorder r;
        Simulator sim = runModeRecording(r);
        sim.Panel2Click();
        QVERIFY(sim.elements().timer[1].enabled);
        QCOMPARE(sim.elements().timer[1].interval, 900);
        QCOMPARE(sim.elements().panel[2].colour, clTeal);
        QCOMPARE(sim.elements().panel[2].inner, Bevel::Lowered);
        sim.setSpeedText("2"); // typing has no handler: the clock keeps its pace
        QCOMPARE(sim.elements().timer[1].interval, 900);
        sim.Panel2Click(); // the stop press, too, takes the interval from the field
        QVERIFY(!sim.elements().timer[1].enabled);
        QCOMPARE(sim.elements().timer[1].interval, 1300);
        QCOMPARE(sim.elements().panel[2].colour, clAqua);
        QCOMPARE(sim.elements().panel[2].outer, Bevel::Raised);
        QVERIFY(r.messages.empty());
    }

    void theArrowsRunFromOneToSevenWithoutWrap() {
        Recorder r;
        Simulator sim = runModeRecording(r);
        const int expected[] = {0, 1500, 1300, 1100, 900, 700, 500, 300};
        for (int i = 0; i < 5; ++i) sim.UpDown1Arrow(true);
        QCOMPARE(sim.elements().edit17.text, std::string("7"));
        QCOMPARE(sim.elements().timer[1].interval, 300);
        for (int speed = 6; speed >= 1; --speed) {
            sim.UpDown1Arrow(false);
            QCOMPARE(sim.elements().edit17.text, std::to_string(speed));
            QCOMPARE(sim.elements().timer[1].interval, expected[speed]);
        }
        sim.UpDown1Arrow(false);
        QCOMPARE(sim.elements().edit17.text, std::string("1"));
        QVERIFY(!sim.elements().timer[1].enabled); // arrows never start the clock
    }

    void theArrowsChangeARunningClockAtOnce() {
        Recorder r;
        Simulator sim = runModeRecording(r);
        sim.Panel2Click();
        sim.UpDown1Arrow(true);
        QVERIFY(sim.elements().timer[1].enabled);
        QCOMPARE(sim.elements().timer[1].interval, 700);
    }

    void inProgrammingModeTheArrowsOnlyChangeTheNumber() {
        Simulator sim;
        sim.UpDown1Arrow(true);
        sim.UpDown1Arrow(true);
        QCOMPARE(sim.elements().edit17.text, std::string("6"));
        QCOMPARE(sim.elements().timer[1].interval, 700);
        sim.Panel7Click();
        sim.Panel2Click();
        QCOMPARE(sim.elements().timer[1].interval, 500);
    }

    void theArrowsStartFromATypedNumber() {
        Recorder r;
        Simulator sim = runModeRecording(r);
        sim.setSpeedText("6");
        sim.UpDown1Arrow(true);
        QCOMPARE(sim.elements().edit17.text, std::string("7"));
        sim.setSpeedText("abc");
        sim.UpDown1Arrow(false);
        QCOMPARE(sim.elements().edit17.text, std::string("6"));
        QVERIFY(r.messages.empty());
    }

    // Text that is no whole number is reported and changes nothing: neither the
    // clock nor the look of "start/stop".
    void aBadSpeedTextIsReportedAndChangesNothing_data() {
        QTest::addColumn<QString>("text");
        for (const char* t : {"", "abc", "1.5", "99999999999", " abc ", " 1.5", "99999999999 ",
                              "4x", " ", "+", "--3", "0x10", "5 5", "٣"})
            QTest::newRow(t[0] ? t : "empty") << QString::fromUtf8(t);
    }
    void aBadSpeedTextIsReportedAndChangesNothing() {
        QFETCH(QString, text);
        const std::string typed = text.toStdString();
        for (bool running : {false, true}) {
            Recorder r;
            Simulator sim = runModeRecording(r);
            if (running) sim.Panel2Click();
            sim.setSpeedText(typed);
            const Simulator before = sim;
            sim.Panel2Click();
            sim.UpDown1Click();
            QVERIFY(sim.elements() == before.elements());
            QVERIFY(sim.model() == before.model());
            QCOMPARE(r.messages.size(), std::size_t{2});
            QCOMPARE(r.messages[0], "'" + typed + "' is not a valid integer value");
        }
    }

    void typedSpeedsOutsideTheArrowsRangeStillGiveASaneClock_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval");
        QTest::newRow("8") << "8" << 100;
        QTest::newRow("0") << "0" << 1700;
        QTest::newRow("9") << "9" << 100;
        QTest::newRow("100") << "100" << 100;
        QTest::newRow("2147483647") << "2147483647" << 100;
        QTest::newRow("-3") << "-3" << 2300;
        QTest::newRow(" -3 with blanks") << " -3 " << 2300;
        QTest::newRow("9 with a blank") << "9 " << 100;
        QTest::newRow(" 100 with blanks") << " 100 " << 100;
        QTest::newRow("-2147483648") << "-2147483648" << std::numeric_limits<int>::max();
        QTest::newRow(" 5 with blanks") << " 5 " << 700;
        QTest::newRow("+7") << "+7" << 300;
        QTest::newRow("007") << "007" << 300;
    }
    void typedSpeedsOutsideTheArrowsRangeStillGiveASaneClock() {
        QFETCH(QString, text);
        QFETCH(int, interval);
        Recorder r;
        Simulator sim = runModeRecording(r);
        sim.setSpeedText(text.toStdString());
        sim.Panel2Click();
        QVERIFY(sim.elements().timer[1].enabled);
        QCOMPARE(sim.elements().timer[1].interval, interval);
        QVERIFY(r.messages.empty());
    }

    // At speed 7 the automatic tick and the release of "ručně" fall due together.
    void atSpeedSevenEveryAutomaticTickIsAPulse() {
        Recorder r;
        Simulator sim = runModeRecording(r);
        sim.setSpeedText("7");
        sim.Panel2Click();
        for (int tick = 1; tick <= 30; ++tick) {
            const unsigned releaseStarts = sim.timerStarts(5);
            sim.Timer1Tick(0); // the release is due at this very moment
            QCOMPARE(sim.elements().panel[1].colour, clTeal);
            // Released and pressed again: the release timer starts over.
            QVERIFY(sim.elements().timer[5].enabled);
            QCOMPARE(sim.timerStarts(5), releaseStarts + 1);
        }
        // 30 pulses = 10 microsteps: the fetch, then three rounds of JMP 0 ending in a fetch
        QCOMPARE(sim.model().ir, 8);
        QCOMPARE(sim.model().phi1 || sim.model().phi2, false);

        // "ručně" is never ready at this speed, yet "start/stop" stops the clock.
        QCOMPARE(sim.elements().panel[1].colour, clTeal);
        sim.Panel2Click();
        QVERIFY(!sim.elements().timer[1].enabled);
        QCOMPARE(sim.elements().panel[2].colour, clAqua);
        // With the clock stopped the lock holds again: no start within the 300 ms.
        const Simulator stopped = sim;
        sim.Panel2Click();
        QVERIFY(sim.elements() == stopped.elements());
        sim.Button1Click();
        sim.Panel2Click();
        QVERIFY(sim.elements().timer[1].enabled);
    }

    void aTickWellInsideThePressedLookIsStillDropped() {
        Recorder r;
        Simulator sim = runModeRecording(r);
        sim.Panel2Click();
        sim.Panel1Click(); // a manual pulse
        const Simulator before = sim;
        sim.Timer1Tick(200); // the release is 200 ms away
        QVERIFY(sim.model() == before.model());
        QVERIFY(sim.elements() == before.elements());
        sim.Panel1Click(); // and the lock still holds for clicks
        QVERIFY(sim.model() == before.model());
    }

    void theWholeNumberConversion() {
        QCOMPARE(parseWholeNumber("42"), std::optional<int>(42));
        QCOMPARE(parseWholeNumber("\t-0 "), std::optional<int>(0));
        QCOMPARE(parseWholeNumber("2147483648"), std::nullopt);
        QCOMPARE(parseWholeNumber("-2147483648"),
                 std::optional<int>(std::numeric_limits<int>::min()));
        QCOMPARE(parseWholeNumber("1 2"), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(RunControls)
#include "test_run_controls.moc"
