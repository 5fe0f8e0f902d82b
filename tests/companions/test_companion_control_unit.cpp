// The control unit companion: where each routine starts, how IR counts through it,
// the fetch line that ends it, the halt, and the decoders, checked against the machine.

#include <QtTest>

#include "companions/vondrel/ControlUnit.h"
#include "model/Clock.h"
#include "model/Microprogram.h"

using namespace companion;
using procesor::kInstructions;
using procesor::kMicroprogram;

namespace {

QString str(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

int opcodeOf(const char* mnemonic) {
    for (const auto& instruction : kInstructions)
        if (instruction.mnemonic == mnemonic) return instruction.opcode;
    return -1;
}

// The routine's lines as the machine decodes them: RAM holds the instruction at 0 and
// 1110 everywhere else (HLT, and as an operand: load 14, jump to 14); the routine runs
// from the microstep after the fetch of the opcode up to the next fetch, or the halt.
std::vector<int> machineRoutine(int opcode, int lineCount, procesor::ProcessorModel& m) {
    m = {};
    m.ram.fill(0b1110);
    m.ram[0] = opcode;
    for (int pulse = 0; pulse < 3; ++pulse) procesor::clockPulse(m); // line 1 fetches
    std::vector<int> lines;
    for (int step = 0; step < lineCount; ++step) {
        const procesor::PulseOutcome out = procesor::clockPulse(m);
        lines.push_back(m.ir);
        if (out.halted) break;
        procesor::clockPulse(m);
        procesor::clockPulse(m);
    }
    return lines;
}

} // namespace

class ControlUnitCompanion : public QObject {
    Q_OBJECT
private slots:
    void routines_data() {
        QTest::addColumn<QString>("mnemonic");
        QTest::addColumn<QList<int>>("lines");
        QTest::newRow("NOP") << "NOP" << QList<int>{0, 1};
        QTest::newRow("LDA") << "LDA" << QList<int>{2, 3, 4, 5};
        QTest::newRow("ADD") << "ADD" << QList<int>{6, 7, 8};
        QTest::newRow("JMP") << "JMP" << QList<int>{9, 10, 11};
        QTest::newRow("MOV") << "MOV" << QList<int>{12, 13, 14};
        QTest::newRow("HLT") << "HLT" << QList<int>{15};
    }
    void routines() {
        QFETCH(QString, mnemonic);
        QFETCH(QList<int>, lines);
        const int opcode = opcodeOf(mnemonic.toLatin1().constData());
        QVERIFY(opcode >= 0);
        QCOMPARE(routineStart(opcode), (opcode + 1) % 16);
        QCOMPARE(routineStart(opcode), lines.front());
        const std::vector<int> routine = routineLines(opcode);
        QCOMPARE(QList<int>(routine.begin(), routine.end()), lines);
        for (int line : routine) QCOMPARE(str(instructionOfLine(line)), mnemonic);
        QCOMPARE(str(mnemonicOf(opcode)), mnemonic);

        // Stepping the tour visits the same lines and then stops.
        MicrostepTour tour(opcode);
        QCOMPARE(tour.ir(), opcode);
        QCOMPARE(tour.controls(), 0u);
        QList<int> visited;
        while (tour.step()) visited << tour.ir();
        QCOMPARE(visited, lines);
        QVERIFY(tour.finished());
        QVERIFY(!tour.step());
        QCOMPARE(tour.ir(), lines.back());
        QCOMPARE(tour.halted(), mnemonic == QLatin1String("HLT"));
        if (tour.halted())
            QCOMPARE(tour.controls(), 0u);
        else
            QCOMPARE(tour.controls(), kFetchSignals);

        tour.restart();
        QCOMPARE(tour.ir(), opcode);
        QVERIFY(!tour.started());
    }

    // All sixteen codes, also the ten that name no instruction, enter at (code + 1)
    // mod 16 and run to the first fetch line or to the halt, with no fetch before.
    void everyCodeRunsToAFetchOrTheHalt() {
        for (int opcode = 0; opcode < 16; ++opcode) {
            const std::vector<int> lines = routineLines(opcode);
            QVERIFY(!lines.empty());
            QCOMPARE(lines.front(), (opcode + 1) % 16);
            const int last = lines.back();
            QVERIFY(isFetchLine(last) || last == procesor::kHaltLine);
            for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
                QVERIFY(!isFetchLine(lines[i]));
                QCOMPARE(lines[i + 1], (lines[i] + 1) % 16);
            }
        }
        // 0000 starts at the fetch itself; 0010 enters LDA at its A load.
        QCOMPARE(routineLines(0), std::vector<int>{1});
        QCOMPARE(routineLines(0b0010), (std::vector<int>{3, 4, 5}));
        QVERIFY(mnemonicOf(0).empty());
    }

    // The tour against the machine itself: the lines decoded after each opcode is
    // fetched, and the next opcode (HLT) in IR when the routine has fetched it.
    void routinesAgreeWithTheMachine() {
        for (const auto& instruction : kInstructions) {
            const std::vector<int> expected = routineLines(instruction.opcode);
            procesor::ProcessorModel m;
            const std::vector<int> decoded =
                machineRoutine(instruction.opcode, static_cast<int>(expected.size()), m);
            QCOMPARE(decoded, expected);
            if (instruction.opcode == 0b1110) {
                QCOMPARE(m.ir, procesor::kHaltLine);
            } else {
                QCOMPARE(m.ir, 0b1110); // the fetch loaded the next opcode
            }
        }
    }

    void decoders_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("destination");
        QTest::addColumn<QString>("names");
        const auto row = [](int line, Source s, Destination d, const char* names) {
            QTest::addRow("%d", line) << line << int(s) << int(d) << QString::fromLatin1(names);
        };
        row(0, Source::None, Destination::None, "PC/I");
        row(1, Source::Ram, Destination::Ir, "RAM/R-IR/W");
        row(2, Source::None, Destination::None, "PC/I");
        row(3, Source::Ram, Destination::A, "RAM/R-A/W");
        row(4, Source::None, Destination::None, "PC/I");
        row(5, Source::Ram, Destination::Ir, "RAM/R-IR/W");
        row(6, Source::Adder, Destination::A, "ADD/R-A/W");
        row(7, Source::None, Destination::None, "PC/I");
        row(8, Source::Ram, Destination::Ir, "RAM/R-IR/W");
        row(9, Source::None, Destination::None, "PC/I");
        row(10, Source::Ram, Destination::Pc, "RAM/R-PC/W");
        row(11, Source::Ram, Destination::Ir, "RAM/R-IR/W");
        row(12, Source::A, Destination::B, "A/R-B/W");
        row(13, Source::None, Destination::None, "PC/I");
        row(14, Source::Ram, Destination::Ir, "RAM/R-IR/W");
        row(15, Source::None, Destination::None, "");
    }
    void decoders() {
        QFETCH(int, line);
        QFETCH(int, source);
        QFETCH(int, destination);
        QFETCH(QString, names);
        const unsigned controls = kMicroprogram[static_cast<std::size_t>(line)].controls;
        QCOMPARE(int(sourceOf(controls)), source);
        QCOMPARE(int(destinationOf(controls)), destination);
        QStringList joined;
        for (std::string_view name : signalNames(controls)) joined << str(name);
        QCOMPARE(joined.join(QLatin1Char('-')), names);
        // The names are those the listing line shows after its code.
        if (line != procesor::kHaltLine)
            QCOMPARE(str(kMicroprogram[static_cast<std::size_t>(line)].caption).mid(6).trimmed(),
                     names);
    }
};

QTEST_APPLESS_MAIN(ControlUnitCompanion)
#include "test_companion_control_unit.moc"
