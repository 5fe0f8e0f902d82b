// The desktop shell round every explainer scene, offscreen: the steps of each scene's
// reference frames replayed as real mouse clicks and keys on the window, and what the
// window shows held to the same frames, every scene pixel grown by the whole factor
// the scale allows (2 at QT_SCALE_FACTOR=2; 1 at 1.5, so that no glyph merges).
// Escape closes the window.

#include <QtTest>

#include <cmath>
#include <optional>

#include "assets/ProgramIcon.h"
#include "companions/Scenes.h"
#include "companions/shell/ExplainerWindow.h"
#include "tests/support/frames/Frames.h"
#include "tests/support/frames/SceneWalk.h"

using namespace procesor;
using namespace procesor::explain;

namespace {

Qt::Key qtKey(Key key) {
    switch (key) {
    case Key::Tab:
        return Qt::Key_Tab;
    case Key::BackTab:
        return Qt::Key_Backtab;
    case Key::Space:
        return Qt::Key_Space;
    case Key::Enter:
        return Qt::Key_Return;
    case Key::Left:
        return Qt::Key_Left;
    case Key::Right:
        return Qt::Key_Right;
    case Key::Up:
        return Qt::Key_Up;
    case Key::Down:
        return Qt::Key_Down;
    }
    return Qt::Key_Tab;
}

// What the window shows, in device pixels, cut to the reference frame grown by
// `factor`; nullopt when its size does not fit (at a fractional scale the window may
// take one device pixel more each way).
std::optional<testing::Image> shownFrame(const QImage& shown, const testing::Image& frame,
                                         int factor) {
    const int dw = shown.width() - frame.width * factor;
    const int dh = shown.height() - frame.height * factor;
    if (dw < 0 || dw > 1 || dh < 0 || dh > 1 || (factor > 1 && (dw || dh))) return std::nullopt;
    testing::Image image{frame.width * factor, frame.height * factor, {}};
    for (int y = 0; y < image.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        image.pixels.insert(image.pixels.end(), line, line + image.width);
    }
    return image;
}

} // namespace

class ExplainShell : public QObject {
    Q_OBJECT
private slots:
    void framesThroughTheWindow_data() {
        QTest::addColumn<QString>("command");
        for (const SceneEntry& e : scenes())
            if (e.make(nullptr))
                QTest::newRow(std::string(e.command).c_str())
                    << QString::fromUtf8(e.command.data(), qsizetype(e.command.size()));
    }

    void framesThroughTheWindow() {
        QFETCH(QString, command);
        const std::string dir = std::string(PROCESOR_FRAMES) + "/" + command.toStdString();
        std::string error;
        const std::vector<testing::Step> steps = testing::readSteps(dir + "/steps.txt", error);
        QVERIFY2(!steps.empty(), error.c_str());
        QVERIFY2(testing::onlyKinds(steps, testing::kSceneSteps).empty(),
                 testing::onlyKinds(steps, testing::kSceneSteps).c_str());
        const auto opening = testing::openingOf(steps);
        ExplainerWindow window(makeScene(command.toStdString(), opening ? &*opening : nullptr));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const qreal ratio = window.devicePixelRatioF();
        const int factor = window.factor();
        QCOMPARE(factor, std::max(1, int(std::floor(ratio))));

        // A scene pixel's centre in the window's own coordinates.
        const auto at = [&](int x, int y) {
            return QPoint(int((x + 0.5) * factor / ratio), int((y + 0.5) * factor / ratio));
        };
        testing::FrameCheck check(dir, PROCESOR_FRAMES_OUT);
        const std::string stem =
            command.toStdString() + "-shell-x" +
            qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toStdString() + "-";
        for (const testing::Step& s : steps) {
            switch (s.kind) {
            case testing::Step::Click:
                QTest::mouseClick(&window, Qt::LeftButton, {}, at(s.x, s.y));
                break;
            case testing::Step::Down:
                QTest::mousePress(&window, Qt::LeftButton, {}, at(s.x, s.y));
                break;
            case testing::Step::Move:
                QTest::mouseMove(&window, at(s.x, s.y));
                break;
            case testing::Step::Up:
                QTest::mouseRelease(&window, Qt::LeftButton, {}, at(s.x, s.y));
                break;
            case testing::Step::Key:
                QTest::keyClick(&window, qtKey(testing::keyOf(s)));
                break;
            case testing::Step::Frame: {
                const auto frame = testing::readPng(dir + "/" + s.word + ".png");
                QVERIFY2(frame, s.word.c_str());
                const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
                const auto actual = shownFrame(shown, *frame, factor);
                QVERIFY2(actual, qPrintable(QStringLiteral("%1: size %2x%3, expected %4x%5")
                                                .arg(QString::fromStdString(s.word))
                                                .arg(shown.width())
                                                .arg(shown.height())
                                                .arg(frame->width * factor)
                                                .arg(frame->height * factor)));
                const std::string why = check.check(s.word, *actual, stem + s.word, factor);
                QVERIFY2(why.empty(),
                         (s.word + " (line " + std::to_string(s.line) + "): " + why).c_str());
                break;
            }
            default:
                break;
            }
        }
        QVERIFY(check.checked() > 0);
    }

    // The program's icon comes built in, for every window's frame: drawn from
    // assets/procesor.svg, the control unit's yellow line and the lowest bus line red.
    void theIconIsBuiltIn() {
        const QIcon icon = procesor::programIcon();
        QVERIFY(!icon.pixmap(16).isNull());
        const QImage image = icon.pixmap(QSize(64, 64), 1.0).toImage(); // at any scale
        QCOMPARE(image.pixel(16, 12), qRgb(0xFF, 0xFF, 0x00));
        QCOMPARE(image.pixel(60, 30), qRgb(0xFF, 0x00, 0x00));
    }

    void escapeCloses() {
        for (const SceneEntry& e : scenes()) {
            std::unique_ptr<Scene> scene = e.make(nullptr);
            if (!scene) continue;
            const QString title = QString::fromStdString(scene->title());
            ExplainerWindow window(std::move(scene));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.windowTitle(), title);
            QTest::keyClick(&window, Qt::Key_Space); // the first control, not the window
            QVERIFY(window.isVisible());
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(!window.isVisible());
        }
    }
};

QTEST_MAIN(ExplainShell)
#include "test_explain_shell.moc"
