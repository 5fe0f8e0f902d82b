// A whole lesson in the real window, by mouse clicks and real timer ticks, and the
// window's wake of the automatic clock at speed 7 and at typed speeds above it.

#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "tests/session/WindowDriver.h"

using namespace procesor;
using namespace testing;

namespace {

// Run mode, the speed typed into the field, "start/stop"; then the keyboard focus on
// the window, so that no caret blinks in the speed field.
void startClock(TForm1& form, const QString& speed) {
    clickAt(form, kRun);
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("Edit17"));
    edit->selectAll();
    QTest::keyClicks(edit, speed);
    clickAt(form, kStartStop);
    form.setFocus();
}

// Where the client area shown on the screen differs from the screen's picture: empty
// when it shows every pixel the screen drew.
QString shownDiffers(TForm1& form) {
    const render::Canvas& c = form.diagramScreen().canvas();
    const QImage shown =
        form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    if (shown.width() < c.width || shown.height() < c.height)
        return QStringLiteral("%1x%2 shown").arg(shown.width()).arg(shown.height());
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const QRgb drawn = c.pixels[std::size_t(y) * c.width + x] & 0xFFFFFF;
            if (rgbAt(shown, x, y) != drawn)
                return QStringLiteral("%1,%2 shows %3, drawn %4")
                    .arg(x)
                    .arg(y)
                    .arg(hex(rgbAt(shown, x, y)), hex(drawn));
        }
    return {};
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
        QVERIFY(waitFor([&] { return !form.simulator().elements().edit17.visible; }, 120000));
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
            QVERIFY(waitFor([&] { return el.panel[1].colour != clTeal; }, 60000));
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

    // The automatic clock in the window: the window sets its one wake for the time
    // the screen asks, not later; the screen runs what fell due when it is woken; and
    // the window then shows every pixel the screen drew. The clock's rhythm itself
    // (intervals, the 300 ms beat, the lock of "ručně") is held on a simulated clock
    // by test_screen_clock, whatever the machine's load.
    void theWindowWakesTheScreenWhenAskedAndShowsWhatItDrew_data() {
        QTest::addColumn<QString>("speed");
        for (const char* speed : {"7", "8", "20"})
            QTest::newRow(speed) << QString::fromLatin1(speed);
    }
    void theWindowWakesTheScreenWhenAskedAndShowsWhatItDrew() {
        QFETCH(QString, speed);
        TForm1 form;
        form.simulator().model().ram[0] = 0b1000; // JMP 0, for ever
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        startClock(form, speed);
        const auto* wake = form.findChild<QTimer*>(QStringLiteral("Wake"));
        QVERIFY(wake);
        const ProcessorModel& m = form.simulator().model();
        const screen::Screen& screen = form.diagramScreen();
        for (int pulses = 0; pulses < 3;) {
            const std::optional<screen::Millis> due = screen.nextWake();
            QVERIFY2(due, "the running clock asks for no wake");
            const screen::Millis untilDue = std::max<screen::Millis>(*due - form.now(), 0);
            QVERIFY(wake->isActive());
            QVERIFY2(wake->remainingTime() <= untilDue + 1,
                     qPrintable(QStringLiteral("woken in %1 ms, asked in %2 ms")
                                    .arg(wake->remainingTime())
                                    .arg(untilDue)));
            // Nothing but the window's wake moves the screen on from here.
            const auto phase = std::pair(m.phi1, m.phi2);
            QVERIFY(waitFor([&] { return screen.nextWake() != due; }, 60000));
            QVERIFY(form.now() >= *due);
            pulses += std::pair(m.phi1, m.phi2) != phase;
            // What the screen drew on that wake, on the screen; the check is made again
            // only when another wake came while the window showed it.
            for (std::optional<screen::Millis> before;; QTest::qWait(0)) {
                before = screen.nextWake();
                QCoreApplication::processEvents();
                const QString differs = shownDiffers(form);
                if (screen.nextWake() != before) continue;
                QVERIFY2(differs.isEmpty(), qPrintable(differs));
                break;
            }
        }
    }
};

QTEST_MAIN(Session)
#include "test_session.moc"
