// Every reference frame from the real window: walks tests/frames/scenario.txt with
// mouse clicks on the window and ticks of its timers, and compares the client area
// with each frame, every pixel (at a device pixel ratio of 2, every pixel as a 2 x 2
// block). On a mismatch it writes NAME-window-actual.png and NAME-window-diff.png
// (NAME-window-WAY-... for a program brought in as text) into the build directory
// and names the first differing pixels.

#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/support/WindowTesting.h"
#include "tests/support/frames/DiagramWalk.h"
#include "tests/support/frames/Frames.h"

using namespace procesor;
namespace frames = procesor::testing;
namespace window = ::testing;

namespace {

// The window's picture as the frames' harness holds it.
frames::Image imageOf(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    frames::Image image{rgb.width(), rgb.height(), {}};
    image.pixels.reserve(std::size_t(rgb.width()) * rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        image.pixels.insert(image.pixels.end(), line, line + rgb.width());
    }
    return image;
}

// Walks the steps with mouse clicks on the window and ticks of its timers, and
// compares the client area with each frame; `way` names how the program came in.
void walk(window::Window w, const std::vector<frames::Step>& steps, frames::FrameCheck& check,
          QStringList& failures, const QString& way = {}) {
    if (const std::string wrong = frames::onlyKinds(steps, frames::kDiagramSteps); !wrong.empty()) {
        failures << QString::fromStdString("scenario.txt " + wrong);
        return;
    }
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
            if (w->simulator().programText() != s.word)
                failures << way + QStringLiteral(": RAM holds ") +
                                QString::fromStdString(w->simulator().programText());
            break;
        case frames::Step::Tick:
            w->timerTick(s.number); // if it runs
            break;
        case frames::Step::Frame: {
            // What the screen shows, the window having copied what changed; at
            // a ratio of 2 the window's own drawing of its client area.
            QCoreApplication::processEvents();
            const QPixmap shown =
                scale == 1 ? w->screen()->grabWindow(w->winId()) : w->grab(QRect(0, 0, 1024, 715));
            const frames::Image actual =
                imageOf(shown.toImage().copy(0, 0, 1024 * scale, 715 * scale));
            const std::string stem =
                s.word + "-window" + (way.isEmpty() ? "" : "-" + way.toStdString());
            const std::string why = check.check(s.word, actual, stem, scale);
            if (!why.empty())
                failures << QStringLiteral("%1 (scenario line %2): %3")
                                .arg(way.isEmpty()
                                         ? QString::fromStdString(s.word)
                                         : way + QLatin1Char(' ') + QString::fromStdString(s.word))
                                .arg(s.line)
                                .arg(QString::fromStdString(why));
            break;
        }
        default:
            break;
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
            frames::readSteps(std::string(PROCESOR_FRAMES) + "/scenario.txt", error);
        QVERIFY2(!steps.empty(), error.c_str());

        frames::FrameCheck check(PROCESOR_FRAMES, PROCESOR_FRAMES_OUT);
        QStringList failures;
        walk(window::openWindow(), steps, check, failures);
        // The program brought in as text from the program step on: a file given to
        // the window, a file dropped on it, the clipboard pasted with Ctrl+V.
        const std::vector<frames::Step> rest = frames::fromProgram(steps);
        QVERIFY(!rest.empty());
        const QString program = QString::fromStdString(rest.front().word);
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
            walk(std::move(byFile), rest, check, failures, QStringLiteral("file"));

            window::Window byDrop = window::openWindow();
            window::dropOn(*byDrop, {400, 300}, QList<QUrl>{QUrl::fromLocalFile(path)});
            walk(std::move(byDrop), rest, check, failures, QStringLiteral("drop"));

            window::Window byPaste = window::openWindow();
            QGuiApplication::clipboard()->setText(program);
            byPaste->setFocus();
            QTest::keyClick(&*byPaste, Qt::Key_V, Qt::ControlModifier);
            walk(std::move(byPaste), rest, check, failures, QStringLiteral("paste"));
        }
        QVERIFY(check.checked() > 0);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(WindowFrames)
#include "test_window_frames.moc"
