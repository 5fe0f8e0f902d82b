// What the window shows: it repaints only what changed, and what it shows must still
// equal a full repaint after every kind of event. (What the picture holds is the
// renderer's, checked headless by test_renderer and test_frames; test_window_frames
// holds the window to the same frames.)

#include <QScreen>
#include <QtTest>

#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

namespace {

// The worked example: LDA 5; MOV; ADD; HLT.
void loadWorkedExample(TForm1& form) {
    const int words[] = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};
    for (int i = 0; i < 5; ++i) form.simulator().model().ram[std::size_t(i)] = words[i];
}

QImage onScreen(TForm1& form) {
    QCoreApplication::processEvents();
    return form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class WindowPicture : public QObject {
    Q_OBJECT

private slots:
    // The window repaints only what changed; what it shows must still equal a
    // full repaint after every kind of event.
    void repaintsAfterEventsLeaveTheFullPicture() {
        Window w = openWindow();
        loadWorkedExample(*w);
        QImage shown = onScreen(*w);
        if (shown.isNull() || shown.size() != w->size())
            QSKIP("this platform cannot read back the window");
        QCOMPARE(shown, picture(*w));

        struct Step {
            const char* what;
            TForm1::Handler handler;
        };
        const Step steps[] = {
            {"data switch 8 on", &Simulator::Button8Click},
            {"data switch 11 on", &Simulator::Button11Click},
            {"write", &Simulator::Panel4Click},
            {"write released", &Simulator::Button13Click},
            {"step", &Simulator::Panel3Click},
            {"step released", &Simulator::Button12Click},
            {"step", &Simulator::Panel3Click},
            {"clear", &Simulator::Panel5Click},
            {"run mode", &Simulator::Panel7Click},
        };
        for (const Step& s : steps) {
            w->run(s.handler);
            QVERIFY2(onScreen(*w) == picture(*w), s.what);
        }
        loadWorkedExample(*w);
        w->run(&Simulator::Panel7Click);
        for (int pulse = 1; pulse <= 34; ++pulse) {
            w->run(&Simulator::Panel1Click);
            QVERIFY2(onScreen(*w) == picture(*w),
                     qPrintable(QStringLiteral("pulse %1").arg(pulse)));
            w->run(&Simulator::Button1Click);
        }
        QCOMPARE(w->simulator().model().ir, 15); // halted on HLT
        w->run(&Simulator::Panel6Click);
        QVERIFY2(onScreen(*w) == picture(*w), "programming mode again");
    }
};

QTEST_MAIN(WindowPicture)
#include "test_window_picture.moc"
