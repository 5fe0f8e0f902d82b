// The desktop shell round every explainer scene, offscreen: the steps of each scene's
// reference frames replayed as real mouse clicks and keys on the window, and what the
// window shows held to the same frames made to its size by the picture's rule: grown
// by 2 at QT_SCALE_FACTOR=2, made to 1.25 or 1.5 device pixels per pixel there, every
// one-pixel line of the frame equally wide. A larger window fits its room, Ctrl+0
// shows the scene at one device pixel per pixel and back. Escape closes the window.

#include <QtTest>

#include <cmath>
#include <optional>

#include "assets/ProgramIcon.h"
#include "companions/Scenes.h"
#include "companions/common/Controls.h"
#include "companions/common/Drawing.h"
#include "companions/shell/ExplainerWindow.h"
#include "picture/Scaled.h"
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

// A frame made width x height by the picture's averaging.
testing::Image madeTo(const testing::Image& frame, int width, int height) {
    render::Canvas canvas(frame.width, frame.height);
    canvas.pixels = frame.pixels;
    std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
    render::scaleTo(canvas, width, height, rgba.data());
    testing::Image image{width, height, {}};
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        image.pixels.push_back(0xFF000000u | std::uint32_t(rgba[i]) << 16 |
                               std::uint32_t(rgba[i + 1]) << 8 | rgba[i + 2]);
    return image;
}

// The frames of one walk made to one size, each from the one before: made anew only
// under the bands of rows where it differs from it (a device pixel is the average of
// the frame's pixels under it alone), which keeps the walk quick.
class FramesMadeTo {
public:
    FramesMadeTo(int width, int height) : width_(width), height_(height) {}

    const testing::Image& operator()(const testing::Image& frame) {
        if (last_.width != frame.width || last_.height != frame.height) {
            image_ = madeTo(frame, width_, height_);
            last_ = frame;
            return image_;
        }
        render::Canvas canvas(frame.width, frame.height);
        canvas.pixels = frame.pixels;
        std::vector<std::uint8_t> rgba(std::size_t(width_) * height_ * 4);
        const double sx = double(width_) / frame.width, sy = double(height_) / frame.height;
        constexpr int kBand = 16;
        for (int top = 0; top < frame.height; top += kBand) {
            const int bottom = std::min(top + kBand, frame.height);
            int left = frame.width, right = -1;
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < frame.width; ++x) {
                    const std::size_t i = std::size_t(y) * frame.width + x;
                    if (frame.pixels[i] != last_.pixels[i]) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
                }
            if (right < 0) continue;
            // The device pixels under those frame pixels, and one more each way.
            const int x0 = std::max(0, int(std::floor(left * sx)) - 1);
            const int x1 = std::min(width_, int(std::ceil((right + 1) * sx)) + 1);
            const int y0 = std::max(0, int(std::floor(top * sy)) - 1);
            const int y1 = std::min(height_, int(std::ceil(bottom * sy)) + 1);
            render::scaleTo(canvas, width_, height_, rgba.data(),
                            render::Box{x0, y0, x1 - x0, y1 - y0});
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const std::uint8_t* p = &rgba[(std::size_t(y) * width_ + x) * 4];
                    image_.pixels[std::size_t(y) * width_ + x] =
                        0xFF000000u | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
                }
        }
        last_ = frame;
        return image_;
    }

private:
    int width_, height_;
    testing::Image last_;
    testing::Image image_;
};

// The window's device pixels.
QImage grabbed(ExplainerWindow& window) {
    QCoreApplication::processEvents();
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The w x h device pixels of `shown` from (x, y).
testing::Image cut(const QImage& shown, int x, int y, int w, int h) {
    testing::Image image{w, h, {}};
    for (int row = y; row < y + h; ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(shown.constScanLine(row));
        image.pixels.insert(image.pixels.end(), line + x, line + x + w);
    }
    return image;
}

// Empty when the window shows `frame` at `width` x `height` device pixels, centred in
// its room (the odd pixel left over to the right and below), the window colour around
// it; else what differs (the pictures written into the output directory).
std::string showsFrame(const QImage& shown, const testing::Image& frame, int width, int height,
                       const std::string& stem, FramesMadeTo* made = nullptr) {
    const int x = (shown.width() - width) / 2, y = (shown.height() - height) / 2;
    if (x < 0 || y < 0)
        return "the window of " + std::to_string(shown.width()) + "x" +
               std::to_string(shown.height()) + " shows less than " + std::to_string(width) + "x" +
               std::to_string(height);
    for (int row = 0; row < shown.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(shown.constScanLine(row));
        const bool beside = row < y || row >= y + height;
        for (int col = 0; col < shown.width(); ++col) {
            if (!beside && col == x) col = x + width;
            if (col < shown.width() && (line[col] & 0xFFFFFFu) != kWindowColour)
                return "not the window colour beside the picture at " + std::to_string(col) + "," +
                       std::to_string(row);
        }
    }
    // A whole factor grows each pixel into a square, as the averaging would.
    const int factor = width % frame.width == 0 && width / frame.width == height / frame.height &&
                               height % frame.height == 0
                           ? width / frame.width
                           : 0;
    const testing::Image actual = cut(shown, x, y, width, height);
    testing::Image diff;
    std::string why =
        factor ? testing::differences(frame, actual, diff, factor)
               : testing::differences(made ? (*made)(frame) : madeTo(frame, width, height), actual,
                                      diff);
    if (!why.empty()) {
        const std::string file = std::string(PROCESOR_FRAMES_OUT) + "/" + stem;
        testing::writePng(file + "-actual.png", actual);
        testing::writePng(file + "-diff.png", diff);
    }
    return why;
}

// How wide, in device pixels, each one-pixel line of the frame shows across `image`
// (the frame made to it): every line drawn on an even ground (two pixels of the same
// colour each side), measured on a device row (or column) that lies wholly within
// the line's pixel row, as the share of the line's colour in the device pixels under
// it. Made by `scale` device pixels per pixel, each is `scale` wide.
std::vector<double> lineWidths(const testing::Image& frame, const QImage& image, int x0, int y0,
                               double scaleX, double scaleY) {
    std::vector<double> widths;
    const auto channel = [](std::uint32_t p, int k) { return int(p >> (8 * k) & 0xFF); };
    for (const bool across : {true, false}) {
        const int lines = across ? frame.height : frame.width;
        const int along = across ? frame.width : frame.height;
        const double scale = across ? scaleX : scaleY, other = across ? scaleY : scaleX;
        for (int l = 0; l < lines; l += 7) {
            const auto at = [&](int i) {
                return across ? frame.pixels[std::size_t(l) * frame.width + i]
                              : frame.pixels[std::size_t(i) * frame.width + l];
            };
            // A device line wholly within line l of the frame.
            const int device = int(std::ceil(l * other - 1e-9));
            if (device + 1 > (l + 1) * other + 1e-9) continue;
            for (int i = 2; i + 2 < along; ++i) {
                const std::uint32_t ground = at(i - 1), line = at(i);
                if (line == ground || at(i - 2) != ground || at(i + 1) != ground ||
                    at(i + 2) != ground)
                    continue;
                int k = 0; // the channel in which line and ground differ most
                for (int c = 1; c < 3; ++c)
                    if (std::abs(channel(line, c) - channel(ground, c)) >
                        std::abs(channel(line, k) - channel(ground, k)))
                        k = c;
                const int contrast = channel(line, k) - channel(ground, k);
                if (std::abs(contrast) < 64) continue;
                double width = 0;
                const int from = int(std::floor(i * scale)), to = int(std::ceil((i + 1) * scale));
                for (int d = from; d < to; ++d) {
                    const QRgb p = across ? image.pixel(x0 + d, y0 + device)
                                          : image.pixel(x0 + device, y0 + d);
                    const std::uint32_t shown = p;
                    width += double(channel(shown, k) - channel(ground, k)) / contrast;
                }
                widths.push_back(width);
            }
        }
    }
    return widths;
}

// The window made larger (and wider than the scene's proportion) fits the scene to
// its room, centred across; Ctrl+0 shows it at one device pixel per pixel there,
// and again the size the room gives; back to its own size, the scene at the ratio.
// The mouse pressed on the middle of a control of the scene, as the window shows the
// scene (at its place and size there, found apart from the window's own mapping),
// pushes that control in and changes nothing outside it; released off it, it pops
// out again and clicks nothing. Tried on the enabled controls in turn until one that
// looks pushed in (some, such as a switch, do not).
std::string pressesTheControl(ExplainerWindow& window) {
    Scene& scene = window.scene();
    const render::Fit& f = window.shown();
    const qreal ratio = window.devicePixelRatioF();
    const auto send = [&](QEvent::Type type, QPointF point, Qt::MouseButtons buttons) {
        QMouseEvent event(type, point, window.mapToGlobal(point), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    };
    for (int index = 0; index < scene.controlCount(); ++index) {
        if (!scene.control(index).enabled()) continue;
        const Box b = scene.control(index).box();
        const QPointF at(
            (window.shownAt().x() + (b.x + b.w / 2.0) * f.width / f.pictureWidth) / ratio,
            (window.shownAt().y() + (b.y + b.h / 2.0) * f.height / f.pictureHeight) / ratio);
        const QImage before = window.picture();
        send(QEvent::MouseButtonPress, at, Qt::LeftButton);
        const QImage pushed = window.picture();
        int inside = 0, outside = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (before.pixel(x, y) != pushed.pixel(x, y))
                    ++(b.contains(x, y) ? inside : outside);
        send(QEvent::MouseButtonRelease, QPointF(-5, -5), {});
        if (outside > 0)
            return "pressed at " + std::to_string(at.x()) + "," + std::to_string(at.y()) +
                   " on control " + std::to_string(index) + ": " + std::to_string(outside) +
                   " pixels changed beside it";
        if (window.picture() != before) return "released off the control, the scene changed";
        if (inside > 0) return {};
    }
    return "no control looked pushed in";
}

void firstFrameAtOtherSizes(ExplainerWindow& window, const testing::Image& frame,
                            const std::string& stem) {
    const QSize own = window.size();
    const qreal ratio = window.devicePixelRatioF();
    const render::Fit atRatio = window.shown();
    window.resize(own.width() * 3 / 2 + 40, own.height() * 3 / 2);
    const QImage large = grabbed(window);
    const int height = qRound(own.height() * 3 / 2 * ratio);
    const int width = int(std::lround(double(height) * frame.width / frame.height));
    QVERIFY2(std::abs(window.shown().height - height) <= 1 &&
                 std::abs(window.shown().width - width) <= 1,
             qPrintable(QStringLiteral("%1x%2 in %3x%4")
                            .arg(window.shown().width)
                            .arg(window.shown().height)
                            .arg(large.width())
                            .arg(large.height())));
    std::string why =
        showsFrame(large, frame, window.shown().width, window.shown().height, stem + "-large");
    QVERIFY2(why.empty(), ("made larger: " + why).c_str());
    why = pressesTheControl(window);
    QVERIFY2(why.empty(), ("made larger: " + why).c_str());

    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QVERIFY(window.actualSize());
    why = showsFrame(grabbed(window), frame, frame.width, frame.height, stem + "-1to1");
    QVERIFY2(why.empty(), ("1:1: " + why).c_str());
    why = pressesTheControl(window);
    QVERIFY2(why.empty(), ("1:1: " + why).c_str());
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QVERIFY(!window.actualSize());
    why = showsFrame(grabbed(window), frame, window.shown().width, window.shown().height,
                     stem + "-large");
    QVERIFY2(why.empty(), ("1:1 and back: " + why).c_str());

    window.resize(own);
    QVERIFY(window.shown() == atRatio);
    why = showsFrame(grabbed(window), frame, atRatio.width, atRatio.height, stem + "-own");
    QVERIFY2(why.empty(), ("back to its size: " + why).c_str());
    why = pressesTheControl(window);
    QVERIFY2(why.empty(), ("at its size: " + why).c_str());
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
        const int w = window.scene().width(), h = window.scene().height();

        // The scene at the ratio's own size: whole factors sharp, 1.25 and 1.5 made to
        // size, within a device pixel of w and h times the ratio.
        const QImage first = grabbed(window);
        const render::Fit fit = window.shown();
        QCOMPARE(QSize(first.width(), first.height()), QSize(qRound(w * ratio), qRound(h * ratio)));
        QVERIFY2(std::abs(fit.width - w * ratio) <= 1 && std::abs(fit.height - h * ratio) <= 1,
                 qPrintable(QStringLiteral("%1x%2").arg(fit.width).arg(fit.height)));
        QCOMPARE(fit.factor, ratio == std::floor(ratio) ? int(ratio) : 0);

        // Where a click on the scene's pixel (x, y) goes: the centre of a device pixel
        // whose own centre lies in the pixel as the window shows it (a mouse at 1.25
        // reaches every device pixel, the window's whole units only four in five).
        const double scaleX = double(fit.width) / w, scaleY = double(fit.height) / h;
        const QPoint shownAt((first.width() - fit.width) / 2, (first.height() - fit.height) / 2);
        const auto device = [&](int i, int origin, double scale) {
            const int d = int(std::floor((i + 0.5) * scale));
            return d + 0.5 >= i * scale && d + 0.5 < (i + 1) * scale ? origin + d + 0.5 : -1.0;
        };
        const auto at = [&](int x, int y) {
            return QPointF(device(x, shownAt.x(), scaleX), device(y, shownAt.y(), scaleY)) / ratio;
        };
        Qt::MouseButtons held;
        const auto mouse = [&](QEvent::Type type, QPointF point) {
            if (type == QEvent::MouseButtonPress) held = Qt::LeftButton;
            if (type == QEvent::MouseButtonRelease) held = {};
            QMouseEvent event(type, point, window.mapToGlobal(point),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(&window, &event);
        };
        const std::string stem =
            command.toStdString() + "-shell-x" +
            qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toStdString() + "-";
        FramesMadeTo made(fit.width, fit.height);
        int frames = 0;
        for (const testing::Step& s : steps) {
            switch (s.kind) {
            case testing::Step::Click:
                mouse(QEvent::MouseButtonPress, at(s.x, s.y));
                mouse(QEvent::MouseButtonRelease, at(s.x, s.y));
                break;
            case testing::Step::Down:
                mouse(QEvent::MouseButtonPress, at(s.x, s.y));
                break;
            case testing::Step::Move:
                mouse(QEvent::MouseMove, at(s.x, s.y));
                break;
            case testing::Step::Up:
                mouse(QEvent::MouseButtonRelease, at(s.x, s.y));
                break;
            case testing::Step::Key:
                QTest::keyClick(&window, qtKey(testing::keyOf(s)));
                break;
            case testing::Step::Frame: {
                const auto frame = testing::readPng(dir + "/" + s.word + ".png");
                QVERIFY2(frame, s.word.c_str());
                QCOMPARE(QSize(frame->width, frame->height), QSize(w, h));
                const QImage shown = grabbed(window);
                const std::string why =
                    showsFrame(shown, *frame, fit.width, fit.height, stem + s.word, &made);
                QVERIFY2(why.empty(),
                         (s.word + " (line " + std::to_string(s.line) + "): " + why).c_str());
                if (frames++ == 0) {
                    firstFrameAtOtherSizes(window, *frame, stem + s.word);
                    if (QTest::currentTestFailed()) return;
                    // Every one-pixel line of the frame equally wide in device pixels.
                    const std::vector<double> widths =
                        lineWidths(*frame, shown, shownAt.x(), shownAt.y(), scaleX, scaleY);
                    QVERIFY2(widths.size() >= 20, std::to_string(widths.size()).c_str());
                    for (const double width : widths)
                        QVERIFY2(std::abs(width - scaleX) < 0.06,
                                 qPrintable(QStringLiteral("a line %1 device pixels wide, not %2")
                                                .arg(width)
                                                .arg(scaleX)));
                }
                break;
            }
            default:
                break;
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
