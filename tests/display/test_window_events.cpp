// How the window turns clicks, typing and timer ticks into handler calls: controls
// reach their handlers, diagram elements start their companion and change nothing,
// the error box opens without blocking, and the timers follow the element state.

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include "panel/SignalOverlays.h"
#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

namespace {

screen::Screen::TimerState timer(TForm1& form, int n) {
    return form.diagramScreen().timer(n);
}

// The one Qt timer of the window, which wakes the screen for its next tick.
QTimer* wakeTimer(TForm1& form) {
    return form.findChild<QTimer*>(QStringLiteral("Wake"));
}

QWidget* child(TForm1& form, const char* name) {
    return form.findChild<QWidget*>(QString::fromLatin1(name));
}

const Panel& panel(TForm1& form, int n) {
    return form.simulator().elements().panel[n];
}

enum Situation { Programming, Run, RunAutomatic };

// A window in the given situation. The automatic clock is given a very slow pace
// so that no tick falls between a click and the check that follows it.
Window openIn(Situation s) {
    Window w = openWindow();
    if (s == Programming) return w;
    clickAt(*w, {859, 132}); // "provoz"
    if (s == RunAutomatic) {
        w->run(&Simulator::Panel2Click); // reads "4": the pace is reset below
        w->simulator().setSpeedText("-100000");
        w->run(&Simulator::UpDown1Click);
        if (!timer(*w, 1).enabled || timer(*w, 1).interval < 1'000'000)
            qWarning("the automatic clock did not start slowly");
    }
    return w;
}

struct CompanionCase {
    const char* element;
    QPoint at;
    const char* command;
};

// A point on each of the 33 elements that start a companion.
const CompanionCase kCompanionCases[] = {
    {"Image9 (field row)", {20, 175}, "vondrel"},
    {"Image9 (memory decoder strip)", {298, 100}, "vondrel"},
    {"Label14", {43, 35}, "vondrel"},
    {"Label15", {43, 51}, "vondrel"},
    {"Label16", {43, 67}, "vondrel"},
    {"Label17", {43, 83}, "vondrel"},
    {"Label18", {43, 99}, "vondrel"},
    {"Label19", {43, 115}, "vondrel"},
    {"Label20", {43, 131}, "vondrel"},
    {"Label21", {138, 147}, "vondrel"},
    {"Label22", {191, 35}, "vondrel"},
    {"Label23", {191, 51}, "vondrel"},
    {"Label24", {286, 67}, "vondrel"},
    {"Label25", {191, 83}, "vondrel"},
    {"Label26", {191, 99}, "vondrel"},
    {"Label27", {191, 115}, "vondrel"},
    {"Label28", {191, 131}, "vondrel"},
    {"Label29", {191, 147}, "vondrel"},
    {"Label13 NOP", {15, 35}, "vondrel"},
    {"Label30 LDA", {15, 67}, "vondrel"},
    {"Label31 ADD", {15, 131}, "vondrel"},
    {"Label32 JMP", {165, 51}, "vondrel"},
    {"Label33 MOV", {163, 99}, "vondrel"},
    {"Label34 HLT", {165, 147}, "vondrel"},
    {"Image2, first gate", {324, 224}, "plimo"},
    {"Image203, second gate", {324, 264}, "plimo"},
    {"Image63, third gate", {324, 304}, "plimo"},
    {"Image71, fourth gate", {324, 504}, "plimo"},
    {"Image1, fifth gate", {324, 640}, "plimo"},
    {"Image3, IR", {570, 70}, "sarvek"},
    {"Image4, PC", {570, 290}, "sarvek"},
    {"Image4, PC's box below its picture", {651, 302}, "sarvek"},
    {"Image65, adder", {570, 595}, "quobin"},
    {"Image62, register A", {570, 530}, "tamrelA"},
    {"Image7, register B", {570, 660}, "tamrelB"},
};

} // namespace

class WindowEvents : public QObject {
    Q_OBJECT

private slots:
    void theWindowIsTheDiagramInAResizableFrame() {
        Window w = openWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Procesor"));
        QCOMPARE(w->size(), QSize(1024, 715));
        QVERIFY(w->minimumSize() != w->maximumSize());
        QVERIFY(w->windowFlags() & Qt::WindowMaximizeButtonHint);
        // Made larger, the window keeps the diagram's pixels at the top left and
        // shows its own colour beyond.
        const QImage before = picture(*w);
        w->resize(1200, 800);
        QTRY_COMPARE(w->size(), QSize(1200, 800));
        const QImage after = picture(*w);
        QCOMPARE(after.copy(0, 0, 1024, 715), before);
        for (int y = 0; y < 800; ++y)
            for (int x = y < 715 ? 1024 : 0; x < 1200; ++x)
                QVERIFY2(rgbAt(after, x, y) == 0xD4D0C8,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        auto* memo = w->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        QVERIFY(memo);
        const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines[2], QStringLiteral(" + číslo             2 - 0010"));
        QCOMPARE(lines[8], QString(25, QLatin1Char(' ')) + QStringLiteral("8 - 1000"));
        QCOMPARE(lines[15], QString(23, QLatin1Char(' ')) + QStringLiteral("15 - 1111"));
        QVERIFY(!memo->isReadOnly());
    }

    void clicksOnControlsReachTheirHandlers() {
        Window w = openWindow();
        const ProcessorModel& m = w->simulator().model();
        const ElementState& el = w->simulator().elements();

        clickAt(*w, {922, 146}); // Button8
        QCOMPARE(el.button[8].caption, std::string("1"));
        QVERIFY(el.image[118].visible); // the bus line of bit 3 follows in programming mode
        clickAt(*w, {448, 340});        // Panel3 "krokování"
        QCOMPARE(m.pc, 1);
        clickAt(*w, {448, 372}); // Panel4 "zápis do RAM"
        QCOMPARE(m.ram[1], 8);
        clickAt(*w, {448, 404}); // Panel5 "nulování"
        QCOMPARE(m.pc, 0);
        QCOMPARE(m.ram[1], 0);

        clickAt(*w, {859, 132}); // Panel7 "provoz"
        QVERIFY(!w->simulator().programmingMode());
        QCOMPARE(panel(*w, 1).colour, clAqua);
        clickAt(*w, {855, 284}); // Panel1 "ručně"
        QCOMPARE(m.ir, 1);
        QCOMPARE(panel(*w, 1).colour, clTeal);
        w->run(&Simulator::Button1Click);
        clickAt(*w, {855, 320}); // Panel2 "start/stop"
        QVERIFY(timer(*w, 1).enabled);
        clickAt(*w, {985, 316}); // UpDown1, upper arrow
        QCOMPARE(el.edit17.text, std::string("5"));
        QCOMPARE(timer(*w, 1).interval, 700);
        clickAt(*w, {985, 328}); // UpDown1, lower arrow
        clickAt(*w, {985, 328});
        QCOMPARE(el.edit17.text, std::string("3"));
        clickAt(*w, {859, 108}); // Panel6 "programování"
        QVERIFY(w->simulator().programmingMode());
        QVERIFY(!timer(*w, 1).enabled);
    }

    // Up and Down in the speed field work as its arrows: 1..7 without wrap, and in
    // run mode the running clock takes the new speed at once.
    void theUpAndDownKeysStepTheSpeed() {
        Window w = openIn(Run);
        clickAt(*w, {855, 320}); // start at speed 4
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit17"));
        const std::pair<Qt::Key, const char*> steps[] = {{Qt::Key_Up, "5"},
                                                         {Qt::Key_Up, "6"},
                                                         {Qt::Key_Up, "7"},
                                                         {Qt::Key_Up, "7"},
                                                         {Qt::Key_Down, "6"}};
        for (auto [key, speed] : steps) {
            QTest::keyClick(edit, key);
            QCOMPARE(edit->text(), QString::fromLatin1(speed));
        }
        QCOMPARE(timer(*w, 1).interval, 500);
        for (int i = 0; i < 7; ++i) QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(edit->text(), QStringLiteral("1"));
        QCOMPARE(timer(*w, 1).interval, 1500);
        QVERIFY(timer(*w, 1).enabled);
    }

    // The drawn controls show the focus frame while they have the keyboard focus
    // (the rows of tests/screen/keys.txt walk the rest), and it goes with the focus.
    void theKeyboardReachesTheDrawnControls() {
        Window w = openWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*w));
        const QRect button8(916, 139, 13, 15);
        const QImage unfocused = picture(*w).copy(button8);
        QTest::keyClick(child(*w, "Edit17"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&*w));
        QVERIFY(picture(*w).copy(button8) != unfocused);
        QTest::keyClick(&*w, Qt::Key_Space);
        QCOMPARE(w->simulator().elements().button[8].caption, std::string("1"));
        const QImage focusedOne = picture(*w).copy(button8);
        QTest::keyClick(&*w, Qt::Key_Tab);
        QVERIFY(picture(*w).copy(button8) != focusedOne); // the frame goes with the focus
    }

    void typingGoesIntoTheSpeedField() {
        Window w = openWindow();
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit17"));
        QCOMPARE(edit->text(), QStringLiteral("4"));
        QVERIFY(!edit->validator());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("7x"));
        QCOMPARE(w->simulator().elements().edit17.text, std::string("7x"));
        // An arrow writes its position back into the field.
        QTest::keyClick(edit, Qt::Key_Backspace);
        clickAt(*w, {985, 328});
        QCOMPARE(edit->text(), QStringLiteral("6"));
    }

    void companionElements_data() {
        QTest::addColumn<int>("situation");
        QTest::newRow("programming mode") << int(Programming);
        QTest::newRow("run mode") << int(Run);
        QTest::newRow("automatic clock running") << int(RunAutomatic);
    }
    void companionElements() {
        QFETCH(int, situation);
        Window w = openIn(Situation(situation));
        for (const CompanionCase& c : kCompanionCases) {
            const ProcessorModel model = w->simulator().model();
            const ElementState elements = w->simulator().elements();
            w.launcher->started.clear();
            clickAt(*w, c.at);
            QVERIFY2(w.launcher->started == QStringList{QString::fromLatin1(c.command)},
                     qPrintable(QStringLiteral("%1 started [%2]")
                                    .arg(QString::fromLatin1(c.element),
                                         w.launcher->started.join(QLatin1Char(',')))));
            QVERIFY2(w->simulator().model() == model, c.element);
            QVERIFY2(w->simulator().elements() == elements, c.element);
        }
        QCOMPARE(timer(*w, 1).enabled, situation == RunAutomatic);
    }

    void otherElementsIgnoreTheMouse() {
        Window w = openWindow();
        const QPoint elsewhere[] = {
            {450, 150}, // background
            {113, 300}, // a wire
            {27, 250},  // a lit overlay
            {600, 460}, // the RAM block
            {540, 350}, // a RAM cell
            {520, 350}, // a RAM address
            {630, 80},  // IR's value digit, lying over IR
            {740, 40},  // a bus digit
            {850, 200}, // the bus switch
            {795, 60},  // "LSB"
            {940, 280}, // where the hidden Button1 lies
        };
        const ElementState elements = w->simulator().elements();
        for (QPoint p : elsewhere) {
            clickAt(*w, p);
            QVERIFY2(w.launcher->started.isEmpty(),
                     qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        }
        QVERIFY(w->simulator().elements() == elements);
        // A press on one element released over another is no click.
        QTest::mousePress(&*w, Qt::LeftButton, {}, {570, 70});
        QTest::mouseRelease(&*w, Qt::LeftButton, {}, {570, 290});
        QVERIFY(w.launcher->started.isEmpty());
    }

    void aBadSpeedOpensTheErrorBoxAndChangesNothing() {
        Window w = openIn(Run);
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit17"));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("abc"));
        QVERIFY(!w->errorBox());

        const ProcessorModel model = w->simulator().model();
        const ElementState elements = w->simulator().elements();
        clickAt(*w, {855, 320}); // "start/stop": the handler returns at once
        QMessageBox* box = w->errorBox();
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("'abc' is not a valid integer value"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(w->findChildren<QMessageBox*>().size(), 1);
        QVERIFY(w->simulator().model() == model);
        QVERIFY(w->simulator().elements() == elements);
        QVERIFY(!timer(*w, 1).enabled);

        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!w->errorBox());

        // A very long text is cut short in the middle so that the box stays on the screen.
        edit->selectAll();
        QTest::keyClicks(edit, QString(250, QLatin1Char('W')) + QString(250, QLatin1Char('x')));
        clickAt(*w, {855, 320});
        box = w->errorBox();
        QVERIFY(box);
        QTRY_VERIFY(box->isVisible());
        QVERIFY(box->text().startsWith(QStringLiteral("'WWW")));
        QVERIFY(box->text().endsWith(QStringLiteral("xxx' is not a valid integer value")));
        QVERIFY(box->text().contains(QChar(0x2026)));
        QVERIFY2(box->frameGeometry().width() <= box->screen()->availableGeometry().width(),
                 qPrintable(QString::number(box->frameGeometry().width())));
        box->button(QMessageBox::Ok)->click();
    }

    void aSecondPressDoesNotPostponeTheRelease() {
        Window w = openWindow();
        QElapsedTimer sinceFirst;
        sinceFirst.start();
        clickAt(*w, {448, 340}); // "krokování"
        QVERIFY(timer(*w, 2).enabled);
        QTest::qWait(200);
        if (sinceFirst.elapsed() > 400 || !timer(*w, 2).enabled)
            QSKIP("the machine is too busy to press twice within 500 ms");
        clickAt(*w, {448, 340});
        QCOMPARE(w->simulator().model().pc, 2);
        QVERIFY(timer(*w, 2).enabled);
        // Due 500 ms after the first press, not after the second.
        const qint64 due = 500 - sinceFirst.elapsed();
        const qint64 remaining = *timer(*w, 2).due - w->now();
        QVERIFY2(remaining <= due + 20,
                 qPrintable(
                     QStringLiteral("due in %1 ms, expected at most %2").arg(remaining).arg(due)));
        QTRY_COMPARE_WITH_TIMEOUT(panel(*w, 3).colour, clAqua, 1000);
        QVERIFY(!timer(*w, 2).enabled);
        QVERIFY(!w->simulator().elements().image[244].visible);
    }

    void timersTickTheirHandlers() {
        Window w = openIn(Run);
        clickAt(*w, {855, 284}); // "ručně": Timer5 releases it 300 ms later
        QVERIFY(timer(*w, 5).enabled);
        QCOMPARE(timer(*w, 5).interval, 300);
        QTRY_COMPARE_WITH_TIMEOUT(panel(*w, 1).colour, clAqua, 1000);
        QVERIFY(!timer(*w, 5).enabled);

        // The automatic clock at speed 7: one pulse every 300 ms.
        w->simulator().setSpeedText("7");
        clickAt(*w, {855, 320});
        QCOMPARE(timer(*w, 1).interval, 300);
        QCOMPARE(wakeTimer(*w)->timerType(), Qt::PreciseTimer);
        QTRY_VERIFY_WITH_TIMEOUT(w->simulator().model().phi2, 2000); // pulse 2 came
        clickAt(*w, {859, 132});                                     // "provoz" stops the clock
        QVERIFY(!timer(*w, 1).enabled);
    }

    void arrowsRetimeTheRunningClockAtOnce() {
        Window w = openIn(Run);
        clickAt(*w, {855, 320}); // start at speed 4: 900 ms
        QCOMPARE(timer(*w, 1).interval, 900);
        QTest::qWait(100);
        clickAt(*w, {985, 316}); // speed 5: 700 ms, from now
        QVERIFY(timer(*w, 1).enabled);
        QCOMPARE(timer(*w, 1).interval, 700);
        const qint64 remaining = *timer(*w, 1).due - w->now();
        QVERIFY2(remaining > 600 && remaining <= 700, qPrintable(QString::number(remaining)));
    }

    void theHaltStopsTheTimersAndHidesTheSpeedField() {
        Window w = openWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*w));
        QVERIFY(child(*w, "Edit17")->hasFocus());
        const QRect switches(912, 135, 70, 24);
        const QImage switchesBefore = picture(*w).copy(switches);
        w->simulator().model().ram[0] = 0b1110; // HLT
        clickAt(*w, {859, 132});
        w->simulator().setSpeedText("-100000"); // so slow that no tick comes between
        clickAt(*w, {855, 320});                // automatic clock on
        for (int pulse = 0; pulse < 4; ++pulse) {
            w->run(&Simulator::Panel1Click);
            if (pulse < 3) w->run(&Simulator::Button1Click);
        }
        QCOMPARE(w->simulator().model().ir, 15);
        for (int n = 1; n <= 5; ++n)
            QVERIFY2(!timer(*w, n).enabled, qPrintable(QString::number(n)));
        QVERIFY(!child(*w, "Edit17")->isVisible());
        // The hidden field hands its focus to no data switch: no focus frame, and
        // Space toggles nothing.
        QVERIFY(!w->diagramScreen().focused());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &*w,
                        Qt::Key_Space);
        QCOMPARE(w->simulator().elements().button[8].caption, std::string("0"));
        QCOMPARE(picture(*w).copy(switches), switchesBefore);
        clickAt(*w, {859, 132});
        QVERIFY(child(*w, "Edit17")->isVisible());
    }

    void theWindowIsIdleWhileNothingRuns() {
        Window w = openWindow();
        for (int n = 1; n <= 5; ++n) QVERIFY(!timer(*w, n).enabled);
        clickAt(*w, {448, 372}); // "zápis do RAM" and its release
        QTRY_COMPARE_WITH_TIMEOUT(panel(*w, 4).colour, clAqua, 1000);
        for (int n = 1; n <= 5; ++n) QVERIFY(!timer(*w, n).enabled);
        QVERIFY(!wakeTimer(*w)->isActive());
    }

    // A window not woken on time (a busy machine) runs every tick it missed when it
    // is woken at last, each at its due time, and shows where the clock has got to.
    void aLateWakeCatchesUpWithTheClock() {
        Window w = openIn(Run);
        w->simulator().model().ram[0] = 0b1000; // JMP 0, for ever
        w->simulator().setSpeedText("7");
        clickAt(*w, {855, 320});
        const screen::Millis started = w->diagramScreen().now();
        QThread::msleep(1000); // the event loop stands still
        QCOMPARE(w->diagramScreen().pulses(), std::uint64_t{0});
        QTest::qWait(30);
        const std::uint64_t pulses = w->diagramScreen().pulses();
        QVERIFY2(pulses >= 3, qPrintable(QString::number(pulses)));
        QCOMPARE(pulses, std::uint64_t(w->diagramScreen().now() - started) / 300);
        QCOMPARE(panel(*w, 1).colour, clTeal);
        QCOMPARE(rgbAt(picture(*w), 823, 276), 0x008080u);
    }
};

QTEST_MAIN(WindowEvents)
#include "test_window_events.moc"
