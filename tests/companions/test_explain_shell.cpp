// The desktop shell round every explainer scene, offscreen: the steps of each scene's
// reference frames replayed as real mouse clicks and keys on the window, and what the
// window shows held to the same frames, every scene pixel grown by the whole factor
// the scale allows (2 at QT_SCALE_FACTOR=2; 1 at 1.5, so that no glyph merges).
// Escape closes the window.

#include <QtTest>

#include <cmath>

#include "assets/ProgramIcon.h"
#include "companions/Scenes.h"
#include "companions/shell/ExplainerWindow.h"
#include "tests/companions/ExplainSteps.h"
#include "tests/picture/Png.h"

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

// What the window shows, in device pixels, compared with a reference frame grown by
// `factor`; empty when they agree.
QString differs(const QImage& shown, const testing::Image& frame, int factor) {
    // At a fractional scale the window may take one device pixel more each way.
    const int dw = shown.width() - frame.width * factor;
    const int dh = shown.height() - frame.height * factor;
    if (dw < 0 || dw > 1 || dh < 0 || dh > 1 || (factor > 1 && (dw || dh)))
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(shown.width())
            .arg(shown.height())
            .arg(frame.width * factor)
            .arg(frame.height * factor);
    for (int y = 0; y < frame.height * factor; ++y)
        for (int x = 0; x < frame.width * factor; ++x) {
            const QRgb want =
                frame.pixels[std::size_t(y / factor) * frame.width + x / factor] | 0xFF000000u;
            if ((shown.pixel(x, y) | 0xFF000000u) != want)
                return QStringLiteral("pixel %1,%2 is #%3, expected #%4")
                    .arg(x)
                    .arg(y)
                    .arg(shown.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(want & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        }
    return {};
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
        const std::string dir = std::string(FRAMES_DIR) + "/" + command.toStdString();
        std::string error;
        const testing::ExplainScript script = testing::readExplainScript(dir + "/steps.txt", error);
        QVERIFY2(!script.steps.empty(), error.c_str());
        ExplainerWindow window(
            makeScene(command.toStdString(), script.opening ? &*script.opening : nullptr));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const qreal ratio = window.devicePixelRatioF();
        const int factor = window.factor();
        QCOMPARE(factor, std::max(1, int(std::floor(ratio))));

        // A scene pixel's centre in the window's own coordinates.
        const auto at = [&](int x, int y) {
            return QPoint(int((x + 0.5) * factor / ratio), int((y + 0.5) * factor / ratio));
        };
        int frames = 0;
        for (const testing::ExplainStep& s : script.steps) {
            switch (s.kind) {
            case testing::ExplainStep::Click:
                QTest::mouseClick(&window, Qt::LeftButton, {}, at(s.x, s.y));
                break;
            case testing::ExplainStep::Down:
                QTest::mousePress(&window, Qt::LeftButton, {}, at(s.x, s.y));
                break;
            case testing::ExplainStep::Move:
                QTest::mouseMove(&window, at(s.x, s.y));
                break;
            case testing::ExplainStep::Up:
                QTest::mouseRelease(&window, Qt::LeftButton, {}, at(s.x, s.y));
                break;
            case testing::ExplainStep::Key:
                QTest::keyClick(&window, qtKey(s.key));
                break;
            case testing::ExplainStep::Frame: {
                const auto frame = testing::readPng(dir + "/" + s.name + ".png");
                QVERIFY2(frame, s.name.c_str());
                const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
                const QString why = differs(shown, *frame, factor);
                QVERIFY2(why.isEmpty(), qPrintable(QString::fromStdString(s.name) + ": " + why));
                ++frames;
                break;
            }
            }
        }
        QVERIFY(frames > 0);
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
