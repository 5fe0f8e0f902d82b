// Every reference frame from the real window: walks tests/frames/scenario.txt with
// mouse clicks on the window and ticks of its timers, and compares the client area
// with each frame, every pixel (at a device pixel ratio of 2, every pixel as a 2 x 2
// block). On a mismatch it writes NAME-window.png and NAME-window-diff.png into the
// build directory and names the first differing pixels.

#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/picture/Scenario.h"
#include "tests/support/WindowTesting.h"

using namespace procesor;
namespace frames = procesor::testing;
namespace window = ::testing;

namespace {

const QString kFrames = QStringLiteral(PROCESOR_FRAMES);
const QString kOut = QStringLiteral(PROCESOR_FRAMES_OUT);

// How the window's picture differs from the reference; empty when it equals it.
QString compare(const QImage& expected, const QImage& actual, int scale, QImage& diff) {
    if (actual.size() != expected.size() * scale)
        return QStringLiteral("size %1x%2").arg(actual.width()).arg(actual.height());
    diff = actual.copy();
    int count = 0;
    QString first;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb want = expected.pixel(x / scale, y / scale) | 0xFF000000u;
            const QRgb got = actual.pixel(x, y) | 0xFF000000u;
            if (want == got) {
                const int grey = 0xC0 + qGreen(got) / 4;
                diff.setPixel(x, y, qRgb(grey, grey, grey));
                continue;
            }
            diff.setPixel(x, y, qRgb(255, 0, 0));
            if (count++ < 5)
                first += QStringLiteral(" %1,%2 is %3, expected %4;")
                             .arg(x)
                             .arg(y)
                             .arg(window::hex(got), window::hex(want));
        }
    return count ? QStringLiteral("%1 pixels differ, first:%2").arg(count).arg(first) : QString();
}

// Walks the steps with mouse clicks on the window and ticks of its timers, and
// compares the client area with each frame; `way` names how the program came in.
void walk(window::Window w, const std::vector<frames::Step>& steps, int& frames,
          QStringList& failures, const QString& way = {}) {
    // The focus on the window itself, so that no caret blinks in the speed field.
    w->setFocus();
    if (w->errorBox()) failures << way + QStringLiteral(": error box ") + w->errorBox()->text();
    const int scale = qRound(w->devicePixelRatioF());
    for (const frames::Step& s : steps) {
        const QPoint at(s.x, s.y);
        switch (s.kind) {
        case frames::Step::Click:
            window::clickAt(*w, at);
            break;
        case frames::Step::Down:
            QTest::mousePress(&*w, Qt::LeftButton, {}, at);
            break;
        case frames::Step::Up:
            QTest::mouseRelease(&*w, Qt::LeftButton, {}, at);
            break;
        case frames::Step::Program:
            if (w->simulator().programText() != s.name)
                failures << way + QStringLiteral(": RAM holds ") +
                                QString::fromStdString(w->simulator().programText());
            break;
        case frames::Step::Tick:
            w->timerTick(s.x); // if it runs
            break;
        case frames::Step::Frame: {
            ++frames;
            const QString name = QString::fromStdString(s.name);
            const QImage expected =
                QImage(kFrames + QLatin1Char('/') + name + QStringLiteral(".png"))
                    .convertToFormat(QImage::Format_RGB32);
            // What the screen shows, the window having copied what changed; at
            // a ratio of 2 the window's own drawing of its client area.
            QCoreApplication::processEvents();
            const QPixmap shown =
                scale == 1 ? w->screen()->grabWindow(w->winId()) : w->grab(QRect(0, 0, 1024, 715));
            const QImage actual = shown.toImage()
                                      .copy(0, 0, 1024 * scale, 715 * scale)
                                      .convertToFormat(QImage::Format_RGB32);
            QImage diff;
            const QString why = expected.isNull() ? QStringLiteral("no readable reference")
                                                  : compare(expected, actual, scale, diff);
            if (why.isEmpty()) break;
            const QString where = way.isEmpty() ? name : way + QLatin1Char(' ') + name;
            failures << QStringLiteral("%1 (scenario line %2): %3").arg(where).arg(s.line).arg(why);
            const QString file = kOut + QLatin1Char('/') + name +
                                 (way.isEmpty() ? QString() : QLatin1Char('-') + way);
            actual.save(file + QStringLiteral("-window.png"));
            if (!diff.isNull()) diff.save(file + QStringLiteral("-window-diff.png"));
            break;
        }
        }
    }
}

} // namespace

class WindowFrames : public QObject {
    Q_OBJECT
private slots:
    void everyReferenceFrameFromTheWindow() {
        if (qEnvironmentVariableIsSet("FONTCONFIG_FILE")) {
            // Run with a font configuration that offers no fonts: the toolkit knows
            // only its generic names, and the window uses nothing but its own faces.
            QStringList families = QFontDatabase::families();
            families.removeIf([](const QString& f) {
                return f == QLatin1String("Sans Serif") || f == QLatin1String("Serif") ||
                       f == QLatin1String("Monospace");
            });
            QVERIFY2(families.isEmpty(), qPrintable(families.join(QLatin1Char(','))));
        }
        std::string error;
        const std::vector<frames::Step> steps =
            frames::readScenario((kFrames + QStringLiteral("/scenario.txt")).toStdString(), error);
        QVERIFY2(!steps.empty(), error.c_str());

        int frames = 0;
        QStringList failures;
        walk(window::openWindow(), steps, frames, failures);
        // The program brought in as text from the program step on: a file given to
        // the window, a file dropped on it, the clipboard pasted with Ctrl+V.
        const std::vector<frames::Step> rest = frames::fromProgram(steps);
        QVERIFY(!rest.empty());
        const QString program = QString::fromStdString(rest.front().name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lekce.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("# LDA 5; MOV; ADD; HLT\n" + program + "\n").toUtf8());
        file.close();
        // Once: the pictures of the other runs are the clicks' business.
        if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR") &&
            !qEnvironmentVariableIsSet("FONTCONFIG_FILE")) {
            window::Window byFile = window::openWindow();
            byFile->openFile(path);
            walk(std::move(byFile), rest, frames, failures, QStringLiteral("file"));

            window::Window byDrop = window::openWindow();
            window::dropOn(*byDrop, {400, 300}, QList<QUrl>{QUrl::fromLocalFile(path)});
            walk(std::move(byDrop), rest, frames, failures, QStringLiteral("drop"));

            window::Window byPaste = window::openWindow();
            QGuiApplication::clipboard()->setText(program);
            byPaste->setFocus();
            QTest::keyClick(&*byPaste, Qt::Key_V, Qt::ControlModifier);
            walk(std::move(byPaste), rest, frames, failures, QStringLiteral("paste"));
        }
        QVERIFY(frames > 0);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(WindowFrames)
#include "test_window_frames.moc"
