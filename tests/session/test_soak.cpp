// A minute of the automatic clock at its fastest speed in the real window: memory
// must not creep, nothing may be printed, and the window must still answer.

#include <QtTest>
#include <fstream>
#include <unistd.h>

#include "tests/session/WindowDriver.h"

using namespace procesor;
using namespace testing;

namespace {

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

QStringList messages;
void record(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) messages << text;
}

int soakSeconds() {
    bool ok = false;
    const int s = qEnvironmentVariableIntValue("PROCESOR_SOAK_SECONDS", &ok);
    return ok && s > 0 ? s : 60;
}

} // namespace

class Soak : public QObject {
    Q_OBJECT
private slots:
    void aMinuteAtTheFastestSpeed() {
        TForm1 form;
        // LDA 5; MOV; ADD; JMP 2: adds for ever, every kind of transfer on the way.
        const int program[] = {0b0001, 5, 0b1011, 0b0101, 0b1000, 2};
        for (int a = 0; a < 6; ++a) form.simulator().model().ram[a] = program[a];
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        clickAt(form, kRun);
        for (int i = 0; i < 3; ++i) clickAt(form, kArrowUp);
        clickAt(form, kStartStop);
        QTest::qWait(3000); // caches filled, every overlay drawn once

        const QtMessageHandler previous = qInstallMessageHandler(record);
        const long before = residentKiB();
        const ProcessorModel& m = form.simulator().model();
        long pulses = 0;
        int lastPhase = 0;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < soakSeconds() * 1000) {
            QTest::qWait(20);
            const int phase = int(m.phi1) + int(m.phi2);
            if (phase != lastPhase) ++pulses, lastPhase = phase;
        }
        const long growth = residentKiB() - before;
        qInstallMessageHandler(previous);
        qInfo("%ld phase changes seen in %d s, resident memory %+ld KiB", pulses, soakSeconds(),
              growth);

        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        QVERIFY2(growth < 1024, qPrintable(QString("grew by %1 KiB").arg(growth)));
        QVERIFY(pulses >= soakSeconds() * 2); // really running at ~3 pulses a second
        QVERIFY(form.simulator().elements().timer[1].enabled);

        // Still answering: "start/stop" stops the clock at once, though at this speed
        // "ručně" is pressed in nearly all the time.
        clickAt(form, kStartStop);
        QVERIFY(!form.simulator().elements().timer[1].enabled);
        QCOMPARE(form.simulator().elements().panel[2].colour, clAqua);
    }
};

QTEST_MAIN(Soak)
#include "test_soak.moc"
