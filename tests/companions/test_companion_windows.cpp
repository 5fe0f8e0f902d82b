// Every companion window built offscreen: its Czech title, and one thing the student
// does in it changes what it shows. Also the font fallback and the bit toggle.

#include <QtTest>

#include <QLabel>
#include <QPushButton>

#include "companions/common/Look.h"
#include "companions/common/Widgets.h"
#include "companions/common/Wires.h"
#include "companions/plimo/GateWindow.h"
#include "companions/quobin/AdderWindow.h"
#include "companions/vondrel/ControlUnitWindow.h"

using namespace companion;

namespace {

template <typename T> T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) qWarning("no child %s", name);
    return found;
}

void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class CompanionWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { look::applyToApplication(); }
    // A text with a missing argument or a broken layout shows as a warning.
    void init() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QString::arg|QLayout|QWidget")));
    }

    void titlesAreCzech() {
        AdderWindow adder;
        ControlUnitWindow control;
        GateWindow gate;
        QCOMPARE(adder.windowTitle(), QStringLiteral("Sčítačka – sčítání čtyřbitových čísel"));
        QCOMPARE(control.windowTitle(), QStringLiteral("Řadič a mikroprogram"));
        QCOMPARE(gate.windowTitle(), QStringLiteral("Hradlo AND – zápisové impulzy"));
        // The program's icon comes built in, for every window's frame.
        QVERIFY(!QApplication::windowIcon().pixmap(32).isNull());
        QVERIFY(!QApplication::windowIcon().pixmap(16).isNull());
        for (QWidget* w : std::initializer_list<QWidget*>{&adder, &control, &gate}) {
            QVERIFY(!w->windowIcon().isNull());
            auto* heading = w->findChild<QLabel*>(QStringLiteral("heading"));
            QVERIFY(heading);
            QVERIFY(!heading->text().isEmpty());
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
    }

    void adderShowsTheNewSumWhenABitIsToggled() {
        AdderWindow window;
        window.show();
        auto* b = child<BitToggle>(window, "operandB");
        auto* sum = child<BitToggle>(window, "sum");
        auto* result = child<QLabel>(window, "result");
        QVERIFY(b && sum && result);
        QCOMPARE(sum->value(), 2); // 10 + 8 to start with
        QVERIFY(result->text().contains(QStringLiteral("ztratí")));
        click(b->bitCell(3)); // B: 8 -> 0
        QCOMPARE(sum->value(), 10);
        QVERIFY(!window.addition().carryOut);
        QVERIFY(!result->text().contains(QStringLiteral("ztratí")));
        // The sum is shown, not set: a click on it changes nothing.
        click(sum->bitCell(0));
        QCOMPARE(sum->value(), 10);
    }

    void controlUnitStepsThroughMov() {
        ControlUnitWindow window;
        window.show();
        auto* mov = child<QPushButton>(window, "MOV");
        auto* step = child<QPushButton>(window, "step");
        QVERIFY(mov && step);
        click(mov);
        QCOMPARE(window.tour()->opcode(), 0b1011);
        QVERIFY(!look::isMarked(child<QLabel>(window, "line12")));
        click(step);
        QCOMPARE(child<BitToggle>(window, "ir")->value(), 12);
        QVERIFY(look::isMarked(child<QLabel>(window, "line12")));
        QVERIFY(child<QLabel>(window, "explanation")->text().contains(QStringLiteral("A/R")));
        click(step);
        click(step);
        QVERIFY(look::isMarked(child<QLabel>(window, "line14")));
        QVERIFY(!look::isMarked(child<QLabel>(window, "line12")));
        QVERIFY(!step->isEnabled()); // the fetch line ended the routine

        click(child<QPushButton>(window, "HLT"));
        QVERIFY(step->isEnabled());
        click(step);
        QVERIFY(window.tour()->halted());
        QVERIFY(look::isMarked(child<QLabel>(window, "line15")));
        QVERIFY(!step->isEnabled());
    }

    void gateOpensOnlyInPhi2() {
        GateWindow window;
        window.show();
        auto* signal = child<SignalLamp>(window, "signal");
        auto* output = child<SignalLamp>(window, "output");
        auto* pulse = child<QPushButton>(window, "pulse");
        QVERIFY(signal && output && pulse);
        click(child<QPushButton>(window, "gate0"));
        click(signal);
        QVERIFY(!output->isChecked()); // rest
        click(output);                 // the output only shows
        QVERIFY(!output->isChecked());
        click(pulse);
        QVERIFY(!output->isChecked()); // Phi1
        click(pulse);
        QVERIFY(output->isChecked()); // Phi2
        click(signal);
        QVERIFY(!output->isChecked());
        click(signal);
        click(pulse);
        QVERIFY(!output->isChecked()); // rest again
    }

    // A companion cannot know which element was clicked to start it, so the two that
    // explain more than one element open with none chosen and a hint to choose.
    void opensWithNothingChosen() {
        ControlUnitWindow control;
        GateWindow gate;
        QVERIFY(!control.tour());
        QVERIFY(!gate.gate());
        for (int line = 0; line < 16; ++line)
            QVERIFY(!look::isMarked(
                child<QLabel>(control, QStringLiteral("line%1").arg(line).toLatin1().constData())));
        QVERIFY(!child<QPushButton>(control, "step")->isEnabled());
        QVERIFY(!child<QPushButton>(gate, "pulse")->isEnabled());
        const std::pair<QWidget*, const char*> hints[] = {{&control, "explanation"},
                                                          {&gate, "usage"}};
        for (const auto& [window, name] : hints) {
            const QString hint = child<QLabel>(*window, name)->text();
            QVERIFY2(hint.startsWith(QStringLiteral("Vyberte ")) && !hint.contains(u'\n'),
                     qPrintable(hint));
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
                QVERIFY2(!button->isChecked(), qPrintable(button->text()));
        }
        // Choosing shows the element and replaces the hint.
        click(child<QPushButton>(gate, "gate4"));
        QVERIFY(child<QLabel>(gate, "usage")->text().contains(QStringLiteral("B/W")));
    }

    // The diagram's rule for every bundle of four wires, whichever way it is drawn: bit 3
    // on the top row of a level bundle, on the leftmost line of an upright one.
    void bundlesPutBit3TopOrLeft() {
        const QPointF a(100, 100);
        const std::pair<QPointF, bool> ends[] = {{{300, 100}, true}, // level, rightwards
                                                 {{-100, 100}, true},
                                                 {{100, 300}, false}, // upright, downwards
                                                 {{100, -100}, false}};
        for (const auto& [b, level] : ends) {
            const auto lines = wires::bundleLines(a, b, 6);
            for (int bit = 1; bit < 4; ++bit) {
                const QLineF& higher = lines[std::size_t(bit)];
                const QLineF& lower = lines[std::size_t(bit - 1)];
                if (level)
                    QCOMPARE(lower.p1().y() - higher.p1().y(), 6.0);
                else
                    QCOMPARE(lower.p1().x() - higher.p1().x(), 6.0);
                QCOMPARE(lower.length(), higher.length());
            }
        }
        // The bit toggles too: weight 8 on the left.
        BitToggle toggle;
        toggle.show();
        QVERIFY(toggle.bitCell(3)->x() < toggle.bitCell(2)->x());
        QVERIFY(toggle.bitCell(1)->x() < toggle.bitCell(0)->x());
    }

    void bitToggleKeepsFourBits() {
        BitToggle toggle;
        QSignalSpy changed(&toggle, &BitToggle::valueChanged);
        toggle.setValue(18);
        QCOMPARE(toggle.value(), 2);
        QVERIFY(toggle.bitCell(1)->isChecked());
        QVERIFY(!toggle.bitCell(0)->isChecked());
        click(toggle.bitCell(3));
        QCOMPARE(toggle.value(), 10);
        toggle.setValue(10);
        QCOMPARE(changed.count(), 2); // no signal when the value stays
        QCOMPARE(changed.last().first().toInt(), 10);
        QVERIFY(!toggle.bitCell(4));
    }
};

QTEST_MAIN(CompanionWindows)
#include "test_companion_windows.moc"
