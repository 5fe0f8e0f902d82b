// The desktop explainers following the simulator over its local server, in one
// process (offscreen): a click on IR or a listing line opens the explainer on that
// element, and it follows the worked example pulse by pulse, held against clockPulse;
// two explainers at once; a step in the explainer ends following and its switch
// takes it up again; a simulator that quits and a garbled message end following and
// never the explainer; a second simulator serves nobody and fails at nothing.

#include <QLocalServer>
#include <QLocalSocket>
#include <QtTest>

#include <memory>

#include "companions/Scenes.h"
#include "companions/common/ClockedScene.h"
#include "companions/sarvek/CounterScene.h"
#include "companions/shell/ExplainerWindow.h"
#include "companions/shell/SimulatorClient.h"
#include "companions/vondrel/ControlUnitScene.h"
#include "display/CompanionLauncher.h"
#include "display/ExplainerServer.h"
#include "display/TForm1.h"
#include "model/Clock.h"
#include "model/MachineMessage.h"
#include "picture/DiagramLayout.h"

using namespace procesor;
using namespace procesor::explain;

namespace {

class Recorder final : public CompanionLauncher {
public:
    explicit Recorder(QStringList& starts) : starts_(starts) {}
    void start(const QString& command) override { starts_ << command; }

private:
    QStringList& starts_;
};

QString uniqueName(const char* what) {
    return QStringLiteral("procesor-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(what);
}

// The student's window with the worked example in run mode, serving `name`.
struct Student {
    QStringList starts;
    std::unique_ptr<TForm1> form;
    ProcessorModel clocked;
    explicit Student(const QString& name) {
        form = std::make_unique<TForm1>(std::make_unique<Recorder>(starts));
        form->show();
        form->serveExplainers(name);
        form->simulator().loadProgram("0001 0101 1011 0101 1110");
        form->run(&Simulator::Panel7Click);
        clocked = form->simulator().model();
    }
    void pulse() {
        form->run(&Simulator::Panel1Click);
        form->run(&Simulator::Button1Click);
        clockPulse(clocked);
    }
    void click(QPoint at) { QTest::mouseClick(form.get(), Qt::LeftButton, {}, at); }
};

QPoint blockCentre(int image) {
    for (const layout::Block& b : layout::blocks())
        if (b.image == image) return {b.element.x + b.element.w / 2, b.element.y + b.element.h / 2};
    return {};
}

QPoint labelPoint(int number) {
    const layout::LabelPlace* l = layout::label(number);
    return l ? QPoint(l->x + 6, l->y + 5) : QPoint();
}

// An explainer as its program starts it: connected, opened on what the first state
// names, following.
struct Explainer {
    SimulatorClient client;
    std::unique_ptr<ExplainerWindow> window;
    std::optional<MachineMessage> first;
    Explainer(const char* command, const QString& name) : client(command, name) {
        client.start();
        if (!QTest::qWaitFor([&] { return client.first().has_value(); }, 5000)) return;
        first = client.first();
        std::optional<Opening> opening;
        if (first->clicked)
            opening =
                Opening{first->clicked->kind == ClickedElement::Kind::Image ? ElementKind::Image
                                                                            : ElementKind::Label,
                        first->clicked->number};
        window =
            std::make_unique<ExplainerWindow>(makeScene(command, opening ? &*opening : nullptr));
        client.follow(*window);
        window->show();
    }
    Scene& scene() { return window->scene(); }
};

void clickControl(ExplainerWindow& w, const Control& c) {
    const Box b = c.box();
    // The control's middle as the window shows the scene, in the window's own units.
    const render::Fit& f = w.shown();
    const qreal ratio = w.devicePixelRatioF();
    const QPoint at(
        qRound((w.shownAt().x() + (b.x + b.w / 2.0) * f.width / f.pictureWidth) / ratio),
        qRound((w.shownAt().y() + (b.y + b.h / 2.0) * f.height / f.pictureHeight) / ratio));
    QTest::mouseClick(&w, Qt::LeftButton, {}, at);
}

} // namespace

class FollowDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void explainersOpenOnTheElementClickedAndFollowEveryPulse() {
        const QString name = uniqueName("worked");
        Student s(name);
        QVERIFY(s.form->explainerServer()->serving());
        s.click(blockCentre(3)); // IR
        s.click(labelPoint(17)); // the listing line 0011
        QCOMPARE(s.starts, QStringList({"sarvek", "vondrel"}));
        Explainer counter("sarvek", name);
        Explainer control("vondrel", name);
        QVERIFY(counter.window && control.window);
        QCOMPARE(counter.first->clicked, (ClickedElement{ClickedElement::Kind::Image, 3}));
        QCOMPARE(control.first->clicked, (ClickedElement{ClickedElement::Kind::Label, 17}));
        auto& c = dynamic_cast<CounterScene&>(counter.scene());
        auto& v = dynamic_cast<ControlUnitScene&>(control.scene());
        QVERIFY(c.chosen() == CounterScene::Which::IR);
        QVERIFY(c.following() && v.following());
        QTRY_COMPARE(s.form->explainerServer()->explainers(), 2);
        for (int pulse = 1; pulse <= 34; ++pulse) {
            s.pulse();
            QTRY_VERIFY2(c.machine() == s.clocked && v.machine() == s.clocked,
                         qPrintable(QStringLiteral("pulse %1").arg(pulse)));
            QCOMPARE(c.irValue.value(), s.clocked.ir);
            if (s.clocked.phi1 && !s.clocked.phi2) QCOMPARE(v.decodedLine(), s.clocked.ir);
        }
        // The worked example's end: halted on line 1111 with A = 10, B = 5.
        QVERIFY(v.halted());
        QCOMPARE(v.machine().regA, 10);
        QCOMPARE(v.machine().regB, 5);
        QVERIFY(v.lines[15].marked);
    }

    void aStepInTheExplainerEndsFollowingAndItsSwitchTakesItUpAgain() {
        const QString name = uniqueName("step");
        Student s(name);
        s.click(labelPoint(14));
        Explainer e("vondrel", name);
        QVERIFY(e.window);
        auto& v = dynamic_cast<ControlUnitScene&>(e.scene());
        for (int i = 0; i < 4; ++i) s.pulse(); // Phi1 of line 0010
        QTRY_VERIFY(v.machine() == s.clocked);
        clickControl(*e.window, v.steps.pulse);
        QVERIFY(!v.following());
        ProcessorModel own = s.clocked;
        clockPulse(own);
        QVERIFY(v.machine() == own);
        s.pulse();
        s.pulse();
        QTest::qWait(100);
        QVERIFY(v.machine() == own);
        clickControl(*e.window, *v.followSwitch());
        QVERIFY(v.following());
        QVERIFY(v.machine() == s.clocked);
    }

    void aSimulatorThatQuitsLeavesTheExplainerToItself() {
        const QString name = uniqueName("quits");
        auto s = std::make_unique<Student>(name);
        Explainer e("tamrelA", name);
        QVERIFY(e.window);
        QVERIFY(e.scene().following());
        s.reset();
        QTRY_VERIFY(!e.scene().following());
        QVERIFY(!e.scene().followSwitch()->visible());
        QVERIFY(e.window->isVisible());
        QTest::keyClick(e.window.get(), Qt::Key_Space); // its own controls still work
        QVERIFY(e.window->isVisible());
    }

    void aGarbledMessageEndsFollowingAndNotTheExplainer() {
        const QString name = uniqueName("garbled");
        QLocalServer fake;
        QVERIFY(fake.listen(name));
        QLocalSocket* peer = nullptr;
        connect(&fake, &QLocalServer::newConnection, this, [&] {
            peer = fake.nextPendingConnection();
            MachineMessage m;
            m.clicked = ClickedElement{ClickedElement::Kind::Image, 65};
            const std::vector<std::uint8_t> b = encodeMessage(m);
            peer->write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
        });
        Explainer e("quobin", name);
        QVERIFY(e.window);
        QVERIFY(e.scene().following());
        MachineMessage next;
        next.machine.regA = 3;
        std::vector<std::uint8_t> b = encodeMessage(next);
        b[12] ^= 0x40;
        peer->write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
        QTRY_VERIFY(!e.scene().following());
        QVERIFY(e.window->isVisible());
        QTRY_VERIFY(!e.client.connected());
    }

    void aSecondSimulatorServesNobodyAndFailsAtNothing() {
        const QString name = uniqueName("two");
        Student first(name);
        Student second(name);
        QVERIFY(first.form->explainerServer()->serving());
        QVERIFY(!second.form->explainerServer()->serving());
        second.pulse(); // the second one runs on as ever
        QCOMPARE(second.form->simulator().model().ir, 1);
        Explainer e("plimo", name);
        QVERIFY(e.window);
        QVERIFY(e.scene().following());
        first.pulse();
        QTRY_VERIFY(dynamic_cast<ClockedScene&>(e.scene()).machine() == first.clocked);
        // A server name left behind by a simulator that crashed is taken over.
        const QString stale = uniqueName("stale");
        QFile left(QDir(QDir::tempPath()).filePath(stale));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.close();
        Student third(stale);
        QVERIFY(third.form->explainerServer()->serving());
    }
};

QTEST_MAIN(FollowDesktopTest)
#include "test_follow_desktop.moc"
