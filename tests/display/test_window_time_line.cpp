// The time line on the desktop: the worked example's reference frames walked forward
// with clicks on the window, then Ctrl+Z pulse by pulse back through the very frames
// and Ctrl+Y forward again; the diagram's context menu (its items, their states, the
// commands carried out); the timing diagram's window opened by F8, live with every
// pulse, moving the machine on a click or Enter (the main window showing it), and its
// exports, a path that cannot be written said in the error box with nothing lost.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

#include "display/SaveFile.h"
#include "display/TimingWindow.h"
#include "picture/Scaled.h"
#include "picture/Scaling.h"
#include "screen/TimingDiagram.h"
#include "tests/support/WindowTesting.h"
#include "tests/support/frames/DiagramWalk.h"
#include "tests/support/frames/Frames.h"

using namespace procesor;
namespace frames = procesor::testing;
namespace window = ::testing;
using screen::TimingDiagram;

namespace {

const QString kProgram = QStringLiteral("0001 0101 1011 0101 1110"); // LDA 5; MOV; ADD; HLT

frames::Image imageOf(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    frames::Image image{rgb.width(), rgb.height(), {}};
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        image.pixels.insert(image.pixels.end(), line, line + rgb.width());
    }
    return image;
}

// The main window's client area as the screen shows it.
frames::Image shown(TForm1& w) {
    QCoreApplication::processEvents();
    return imageOf(w.screen()->grabWindow(w.winId()).toImage().copy(0, 0, 1024, 715));
}

// The timing window's picture of the diagram, at its top left.
frames::Image shownTiming(TimingWindow& t) {
    QCoreApplication::processEvents();
    return imageOf(
        t.view()->grab().toImage().copy(0, 0, TimingDiagram::kWidth, TimingDiagram::kHeight));
}

bool atRest(const TForm1& w) {
    for (int n = 1; n < ElementState::kTimers; ++n)
        if (w.diagramScreen().timer(n).enabled) return false;
    return true;
}

void click(TForm1& w, int x, int y) {
    window::clickAt(w, {x, y});
}

// The worked example brought in, "provoz" and its 34 pulses by "ručně".
void workedExample(TForm1& w) {
    QGuiApplication::clipboard()->setText(kProgram);
    w.setFocus();
    QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
    click(w, 859, 132);
    for (int i = 0; i < 34; ++i) {
        click(w, 855, 284);
        w.timerTick(5);
    }
}

// The middle of the column of pulse n (from 1) while the view starts at pulse 1.
int columnX(int n) {
    return TimingDiagram::kLabelWidth + (n - 1) * TimingDiagram::kColumnWidth + 12;
}

QStringList itemTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* a : menu.actions())
        if (!a->isSeparator()) texts << a->text();
    return texts;
}

QString states(const QMenu& menu) {
    QString s;
    for (const QAction* a : menu.actions())
        if (!a->isSeparator()) s += a->isEnabled() ? (a->isChecked() ? 'C' : '+') : '-';
    return s;
}

QAction* item(const QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text) return a;
    return nullptr;
}

// The file dialog's place taken: every question answered with `path`, and counted.
struct Asked {
    QString path;
    QStringList filters;
};
Asked* asked = nullptr;
void answerWith(Asked& a) {
    asked = &a;
    setSavePathAsker([](QWidget*, const QString&, const QString&, const QString& filter) {
        asked->filters << filter;
        return asked->path;
    });
}

} // namespace

class WindowTimeLine : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setSavePathAsker({}); }

    // Forward through the scenario to the halt by clicks, remembering the reference
    // frame the student saw at rest at each place of the time line; then Ctrl+Z back to
    // the very start and Ctrl+Y (and once Ctrl+Shift+Z) forward again, every one of
    // those frames equal on the way.
    void referenceFramesBackAndForward() {
        std::string error;
        std::vector<frames::Step> steps =
            frames::readSteps(std::string(PROCESOR_FRAMES) + "/scenario.txt", error);
        QVERIFY2(!steps.empty(), error.c_str());
        std::size_t end = 0;
        while (end < steps.size() &&
               !(steps[end].kind == frames::Step::Frame && steps[end].word == "pulse-34"))
            ++end;
        QVERIFY(end < steps.size());
        steps.resize(end + 1);

        window::Window w = window::openWindow();
        w->setFocus();
        frames::FrameCheck check(PROCESOR_FRAMES, PROCESOR_FRAMES_OUT);
        std::map<std::uint64_t, std::string> frameAt;
        for (const frames::Step& s : steps) {
            if (s.kind == frames::Step::Click) click(*w, s.x, s.y);
            if (s.kind == frames::Step::Down)
                QTest::mousePress(&*w, Qt::LeftButton, {}, {s.x, s.y});
            if (s.kind == frames::Step::Up)
                QTest::mouseRelease(&*w, Qt::LeftButton, {}, {s.x, s.y});
            if (s.kind == frames::Step::Tick) w->timerTick(s.number);
            if (s.kind == frames::Step::Frame && atRest(*w))
                frameAt.emplace(w->diagramScreen().history().position(), s.word);
        }
        QCOMPARE(frameAt.rbegin()->second, std::string("pulse-34"));
        QCOMPARE(frameAt.begin()->second, std::string("startup"));
        QVERIFY(frameAt.size() >= 38);

        QStringList failures;
        int compared = 0;
        const auto compareHere = [&](const char* way) {
            const auto found = frameAt.find(w->diagramScreen().history().position());
            if (found == frameAt.end()) return;
            ++compared;
            const std::string why =
                check.check(found->second, shown(*w), found->second + "-window-" + way);
            if (!why.empty())
                failures << QString::fromStdString(std::string(way) + " at " + found->second +
                                                   ": " + why);
        };
        const std::uint64_t last = w->diagramScreen().history().position();
        for (std::uint64_t p = last; p > 0; --p) {
            QTest::keyClick(&*w, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(w->diagramScreen().history().position(), p - 1);
            QVERIFY(atRest(*w));
            compareHere("back");
        }
        QTest::keyClick(&*w, Qt::Key_Z, Qt::ControlModifier); // nothing before the start
        QCOMPARE(w->diagramScreen().history().position(), std::uint64_t(0));
        for (std::uint64_t p = 0; p < last; ++p) {
            if (p == 1)
                QTest::keyClick(&*w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            else
                QTest::keyClick(&*w, Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(w->diagramScreen().history().position(), p + 1);
            compareHere("forward");
        }
        QCOMPARE(compared, int(2 * frameAt.size() - 2));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QVERIFY(!w->errorBox());
    }

    // The context menu by a right click, the Menu key and Shift+F10: the commands in
    // their order with their shortcuts, enabled as the machine allows, following a
    // pulse given while it is open; its items carry the commands out.
    void theContextMenu() {
        window::Window w = window::openWindow();
        w->setFocus();
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, {500, 300},
                                     w->mapToGlobal(QPoint(500, 300)));
        QCoreApplication::sendEvent(&*w, &rightClick);
        QMenu* menu = w->commandMenu();
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(itemTexts(*menu),
                 QStringList({"Zpět", "Vpřed", "Časový diagram", "Kopírovat program",
                              "Vložit program", "Uložit obrázek…", "Předpovídat", "1:1"}));
        QStringList shortcuts;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator()) shortcuts << a->shortcut().toString();
        QCOMPARE(shortcuts, QStringList({"Ctrl+Z", "Ctrl+Y", "F8", "Ctrl+C", "Ctrl+V", "Ctrl+S",
                                         "", "Ctrl+0"}));
        // Nothing to go back to, nothing in RAM to copy.
        QCOMPARE(states(*menu), QStringLiteral("--+-++++"));
        menu->hide();

        // "Vložit program" brings the clipboard's program in; a pulse in "provoz".
        QGuiApplication::clipboard()->setText(kProgram);
        item(*menu, QStringLiteral("Vložit program"))->trigger();
        QCOMPARE(QString::fromStdString(w->simulator().programText()), kProgram);
        click(*w, 859, 132);
        QTest::keyClick(&*w, Qt::Key_Menu);
        QVERIFY(menu->isVisible());
        const ProcessorModel before = w->simulator().model();
        click(*w, 855, 284); // the pulse while the menu is open
        QVERIFY(!(w->simulator().model() == before));
        QCOMPARE(states(*menu), QStringLiteral("+-++++++"));
        // "Zpět": the state before the pulse, and "Vpřed" can give it again.
        item(*menu, QStringLiteral("Zpět"))->trigger();
        QVERIFY(w->simulator().model() == before);
        QCOMPARE(w->simulator().elements().panel[1].colour, clAqua); // "ručně" released
        menu->hide();
        QTest::keyClick(&*w, Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(menu->isVisible());
        QCOMPARE(states(*menu), QStringLiteral("++++++++"));
        item(*menu, QStringLiteral("Vpřed"))->trigger();
        QVERIFY(!(w->simulator().model() == before));
        item(*menu, QStringLiteral("Předpovídat"))->trigger();
        QVERIFY(w->diagramScreen().predicting());
        QCOMPARE(states(*menu), QStringLiteral("+-++++C+"));
        item(*menu, QStringLiteral("Předpovídat"))->trigger();
        QVERIFY(!w->diagramScreen().predicting());
        // "1:1" on and off, checked while on (Ctrl+0 as well: test_window_scaled).
        item(*menu, QStringLiteral("1:1"))->trigger();
        QVERIFY(w->actualSize());
        QCOMPARE(states(*menu), QStringLiteral("+-+++++C"));
        item(*menu, QStringLiteral("1:1"))->trigger();
        QVERIFY(!w->actualSize());
        menu->hide();

        // "Kopírovat program" puts RAM's words on the clipboard.
        QGuiApplication::clipboard()->clear();
        item(*menu, QStringLiteral("Kopírovat program"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), kProgram);
        // "Časový diagram" opens the timing window.
        item(*menu, QStringLiteral("Časový diagram"))->trigger();
        QVERIFY(w->timingWindow() && w->timingWindow()->isVisible());
    }

    // "Uložit obrázek…" (and Ctrl+S) saves the diagram as the student sees it, a PNG at
    // its own pixels; a path that cannot be written is said in the error box, and the
    // machine keeps what it had.
    void theDiagramSaved() {
        window::Window w = window::openWindow();
        w->setFocus();
        QTemporaryDir dir;
        Asked a{dir.filePath(QStringLiteral("diagram.png")), {}};
        answerWith(a);
        QTest::keyClick(&*w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(a.filters, QStringList({QStringLiteral("Obrázek PNG (*.png)")}));
        const std::optional<frames::Image> saved = frames::readPng(a.path.toStdString());
        QVERIFY(saved.has_value());
        frames::FrameCheck check(PROCESOR_FRAMES, PROCESOR_FRAMES_OUT);
        const std::string why = check.check("startup", *saved, "startup-saved");
        QVERIFY2(why.empty(), why.c_str());
        QVERIFY(!w->errorBox());

        w->simulator().loadProgram(kProgram.toStdString());
        a.path = dir.filePath(QStringLiteral("není/diagram.png"));
        w->give(screen::Command::SavePicture);
        QVERIFY(w->errorBox());
        QCOMPARE(w->errorBox()->text(),
                 QStringLiteral("Obrázek nebyl uložen: do souboru „") + a.path +
                     QStringLiteral("“ nelze zapisovat. Zvolte jinou složku nebo jiný název "
                                    "souboru."));
        QCOMPARE(QString::fromStdString(w->simulator().programText()), kProgram);
        QVERIFY(!QFile::exists(a.path));
    }

    // F8 opens "Časový diagram"; it follows every pulse from the empty diagram to the
    // worked example's 34 pulses; a click on a column and Enter on a chosen one move the
    // machine there, and the main window shows it; the wheel scrolls; Escape closes it.
    void theTimingWindow() {
        window::Window w = window::openWindow();
        w->setFocus();
        QTest::keyClick(&*w, Qt::Key_F8);
        TimingWindow* t = w->timingWindow();
        QVERIFY(t && t->isVisible());
        QCOMPARE(t->windowTitle(), QStringLiteral("Časový diagram"));
        frames::FrameCheck main(PROCESOR_FRAMES, PROCESOR_FRAMES_OUT);
        frames::FrameCheck timing(PROCESOR_FRAMES "/timing", PROCESOR_FRAMES_OUT);
        QStringList failures;
        const auto expect = [&](frames::FrameCheck& check, const std::string& name,
                                const frames::Image& actual) {
            const std::string why = check.check(name, actual, name + "-timing-window");
            if (!why.empty()) failures << QString::fromStdString(name + ": " + why);
        };
        expect(timing, "empty", shownTiming(*t));
        workedExample(*w);
        QVERIFY(t->isVisible());
        expect(timing, "worked-example", shownTiming(*t));
        const QString log = t->log()->toPlainText();
        QVERIFY2(log.contains(QStringLiteral("3. mikrokrok, řádek 0011 (LDA): RAM → sběrnice → A; "
                                             "A = 5\n")),
                 qPrintable(log));
        QCOMPARE(log.count(QLatin1Char('\n')), 12); // "provoz", eleven microsteps, the halt
        QVERIFY(t->log()->isReadOnly());

        // Column 8: the Φ2 pulse of line 0011, A := 5.
        QTest::mouseClick(t->view(), Qt::LeftButton, {}, {columnX(8), 200});
        QCOMPARE(w->simulator().model().regA, 5);
        expect(main, "pulse-08", shown(*w));
        expect(timing, "pulse-08", shownTiming(*t));
        // Three to the left, shown with the focus frame; Enter goes there.
        for (int i = 0; i < 3; ++i) QTest::keyClick(t->view(), Qt::Key_Left);
        expect(timing, "pulse-08-chosen-05", shownTiming(*t));
        QTest::keyClick(t->view(), Qt::Key_Return);
        expect(main, "pulse-05", shown(*w));
        QTest::keyClick(t->view(), Qt::Key_End);
        QTest::keyClick(t->view(), Qt::Key_Enter);
        expect(main, "pulse-34", shown(*w));
        // Ctrl+Z from here steps the machine back as in the main window.
        QTest::keyClick(t->view(), Qt::Key_Z, Qt::ControlModifier);
        expect(main, "pulse-33", shown(*w));
        QVERIFY(!w->errorBox());

        // A window wider than the picture: centred across, a click lands on its column.
        t->resize(t->width() + 240, t->height());
        QTRY_COMPARE(t->view()->width(), TimingDiagram::kWidth + 240);
        QTest::mouseClick(t->view(), Qt::LeftButton, {}, {120 + columnX(8), 200});
        expect(main, "pulse-08", shown(*w));
        QTest::mouseClick(t->view(), Qt::LeftButton, {}, {100, 200}); // beside it: nothing
        expect(main, "pulse-08", shown(*w));

        // Closed and opened again: the log made anew is the one the pulses added to.
        QTest::keyClick(t->view(), Qt::Key_Escape);
        QVERIFY(!t->isVisible());
        QTest::keyClick(&*w, Qt::Key_F8);
        QVERIFY(t->isVisible());
        QCOMPARE(t->log()->toPlainText(), log);
        // "programování" one pulse back from the halt replaces that pulse, in the log
        // too: the halt's line gives way to the mode's.
        QTest::keyClick(t->view(), Qt::Key_End);
        QTest::keyClick(t->view(), Qt::Key_Enter);
        QTest::keyClick(&*w, Qt::Key_Z, Qt::ControlModifier);
        click(*w, 859, 108);
        const QStringList lines = t->log()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 1 + 11 + 1);
        QCOMPARE(lines[3],
                 QStringLiteral("3. mikrokrok, řádek 0011 (LDA): RAM → sběrnice → A; A = 5"));
        QVERIFY2(lines[12].startsWith(QStringLiteral("Režim „programování“")),
                 qPrintable(lines[12]));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }

    // At any device pixel ratio (run again at 1.5): the view shows the reference frame
    // of the worked example made to its device pixels by the picture's rule, and a click
    // at the middle of a column lands on it.
    void theTimingWindowMadeToSize() {
        window::Window w = window::openWindow();
        workedExample(*w);
        w->give(screen::Command::TimingDiagram);
        QWidget* view = w->timingWindow()->view();
        QCoreApplication::processEvents();
        const QPixmap grabbed = view->grab();
        const qreal ratio = grabbed.devicePixelRatio();
        const QImage shown = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
        const std::optional<frames::Image> frame =
            frames::readPng(PROCESOR_FRAMES "/timing/worked-example.png");
        QVERIFY(frame.has_value());
        render::Canvas reference(frame->width, frame->height);
        for (std::size_t i = 0; i < reference.pixels.size(); ++i)
            reference.pixels[i] = frame->pixels[i] & 0xFFFFFF;
        const int roomWidth = qRound(view->width() * ratio);
        const render::Fit fit = render::fitPicture(roomWidth, qRound(view->height() * ratio),
                                                   reference.width, reference.height);
        const int left = (roomWidth - fit.width) / 2;
        std::vector<std::uint8_t> rgba(std::size_t(fit.width) * fit.height * 4);
        render::scaleTo(reference, fit.width, fit.height, rgba.data());
        int differing = 0;
        for (int y = 0; y < fit.height; ++y)
            for (int x = 0; x < fit.width; ++x) {
                const std::uint8_t* p = &rgba[(std::size_t(y) * fit.width + x) * 4];
                differing += shown.pixel(left + x, y) != qRgb(p[0], p[1], p[2]);
            }
        QCOMPARE(differing, 0);
        const qreal scale = qreal(fit.width) / reference.width / ratio;
        QTest::mouseClick(view, Qt::LeftButton, {},
                          QPoint(qRound(left / ratio + columnX(8) * scale), qRound(200 * scale)));
        QCOMPARE(w->simulator().model().regA, 5); // pulse 8: A takes 5
        QCOMPARE(w->simulator().model().ir, 3);
        QVERIFY(w->simulator().model().phi2);
    }

    // Over a longer run the wheel scrolls back to the first pulse, and a click there
    // moves the machine to it.
    void theWheel() {
        window::Window w = window::openWindow();
        w->setFocus();
        w->simulator().loadProgram("0001 0101 1011 0101 1000 0000"); // LDA 5; MOV; ADD; JMP 0
        click(*w, 859, 132);
        for (int i = 0; i < 100; ++i) {
            click(*w, 855, 284);
            w->timerTick(5);
        }
        w->give(screen::Command::TimingDiagram);
        TimingWindow* t = w->timingWindow();
        QVERIFY(t);
        // "provoz" is entry 0, pulse n entry n: the view shows pulses 65..100.
        QTest::mouseClick(t->view(), Qt::LeftButton, {}, {columnX(1), 200});
        QCOMPARE(w->diagramScreen().history().position(), std::uint64_t(66));
        QWheelEvent up({100.0, 100.0}, t->view()->mapToGlobal(QPointF(100, 100)), {}, {0, 120 * 40},
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(t->view(), &up);
        QTest::mouseClick(t->view(), Qt::LeftButton, {}, {columnX(1), 200});
        QCOMPARE(w->diagramScreen().history().position(), std::uint64_t(2));
        QVERIFY(w->simulator().model().phi1 && !w->simulator().model().phi2);
        QCOMPARE(w->simulator().model().ir, 1);
    }

    // The table as CSV (UTF-8, a header row, one row per pulse) and the timing diagram
    // as PNG; a path that cannot be written is said in the error box and the window
    // stays open with everything in it.
    void theExports() {
        window::Window w = window::openWindow();
        workedExample(*w);
        w->give(screen::Command::TimingDiagram);
        TimingWindow* t = w->timingWindow();
        QTemporaryDir dir;
        Asked a{dir.filePath(QStringLiteral("takty.csv")), {}};
        answerWith(a);
        t->saveTableButton()->click();
        QFile csv(a.path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList rows = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 1 + 34);
        const QStringList header = rows[0].split(',');
        QVERIFY2(header.startsWith("takt") && header.contains("Φ2") && header.contains("A/W·Φ2") &&
                     header.contains("sběrnice"),
                 qPrintable(rows[0]));
        // Pulse 8: Φ2 of line 0011 (LDA), A takes 5 from the bus.
        const QStringList pulse8 = rows[8].split(',');
        QCOMPARE(pulse8.size(), header.size());
        const auto at = [&](const char* name) { return pulse8[header.indexOf(name)]; };
        QCOMPARE(at("takt"), QStringLiteral("8"));
        QCOMPARE(at("Φ2"), QStringLiteral("1"));
        QCOMPARE(at("A/W·Φ2"), QStringLiteral("1"));
        QCOMPARE(at("B/W·Φ2"), QStringLiteral("0"));
        QCOMPARE(at("A"), QStringLiteral("5"));
        QCOMPARE(at("sběrnice"), QStringLiteral("5"));

        a.path = dir.filePath(QStringLiteral("casovy-diagram.png"));
        t->savePictureButton()->click();
        const std::optional<frames::Image> png = frames::readPng(a.path.toStdString());
        QVERIFY(png.has_value());
        frames::FrameCheck timing(PROCESOR_FRAMES "/timing", PROCESOR_FRAMES_OUT);
        const std::string why = timing.check("worked-example", *png, "worked-example-saved");
        QVERIFY2(why.empty(), why.c_str());
        QCOMPARE(a.filters, QStringList({QStringLiteral("Tabulka CSV (*.csv)"),
                                         QStringLiteral("Obrázek PNG (*.png)")}));

        const QString log = t->log()->toPlainText();
        a.path = dir.filePath(QStringLiteral("není/takty.csv"));
        t->saveTableButton()->click();
        QVERIFY(w->errorBox());
        QCOMPARE(w->errorBox()->text(),
                 QStringLiteral("Tabulka taktů nebyla uložena: do souboru „") + a.path +
                     QStringLiteral("“ nelze zapisovat. Zvolte jinou složku nebo jiný název "
                                    "souboru."));
        w->errorBox()->accept();
        QTRY_VERIFY(!w->errorBox());
        a.path = dir.filePath(QStringLiteral("není/casovy-diagram.png"));
        t->savePictureButton()->click();
        QVERIFY(w->errorBox());
        QVERIFY(w->errorBox()->text().startsWith(
            QStringLiteral("Obrázek časového diagramu nebyl uložen: do souboru „") + a.path));
        QVERIFY(t->isVisible());
        QCOMPARE(t->log()->toPlainText(), log);
        QCOMPARE(w->diagramScreen().pulses(), std::uint64_t(34));
        // Cancelled: nothing written, nothing said.
        w->errorBox()->accept();
        QTRY_VERIFY(!w->errorBox());
        a.path.clear();
        t->saveTableButton()->click();
        QVERIFY(!w->errorBox());
    }
};

QTEST_MAIN(WindowTimeLine)
#include "test_window_time_line.moc"
