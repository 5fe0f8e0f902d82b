// Each companion window as the student sees it, at the scale factor the test runs
// with (QT_SCALE_FACTOR 1 and 2): every one-line text of the window's labels is drawn
// with the diagram's own glyphs, pixel for pixel as the diagram draws them, each pixel
// grown to the scale (no gaps between the letters, no letter too small).

#include <QtTest>

#include <QLabel>
#include <memory>

#include "companions/common/Look.h"
#include "companions/plimo/GateWindow.h"
#include "companions/quobin/AdderWindow.h"
#include "companions/vondrel/ControlUnitWindow.h"
#include "renderer/Text.h"

using namespace companion;
namespace render = procesor::render;

namespace {

// The dark pixels of the image, cropped to their bounding box.
QImage ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100) box |= QRect(x, y, 1, 1);
    QImage mask(box.size().expandedTo(QSize(1, 1)), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            if (qGray(image.pixel(box.x() + x, box.y() + y)) < 100) mask.setPixel(x, y, 1);
    return mask;
}

// The text as the diagram's renderer draws it, every pixel grown `scale` times.
QImage diagramInk(const QString& text, bool bold, int scale) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), std::size_t(utf8.size()));
    const render::Face face = bold ? render::Face::WindowBold : render::Face::Window;
    render::Canvas canvas;
    canvas.width = render::textWidth(face, view) + 2;
    canvas.height = render::lineHeight(face);
    canvas.pixels.assign(std::size_t(canvas.width * canvas.height), 0xFFFFFFFFu);
    render::drawText(canvas, face, 0, 0, view, 0x000000,
                     render::Box{0, 0, canvas.width, canvas.height});
    const QImage image(reinterpret_cast<const uchar*>(canvas.pixels.data()), canvas.width,
                       canvas.height, QImage::Format_RGB32);
    return ink(image.scaled(image.size() * scale));
}

} // namespace

class CompanionLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { look::applyToApplication(); }

    void textsHaveTheDiagramsGlyphs_data() {
        QTest::addColumn<int>("program");
        QTest::newRow("vondrel") << 0;
        QTest::newRow("plimo") << 1;
        QTest::newRow("quobin") << 3;
    }
    void textsHaveTheDiagramsGlyphs() {
        QFETCH(int, program);
        std::unique_ptr<QWidget> window;
        switch (program) {
        case 0:
            window = std::make_unique<ControlUnitWindow>();
            break;
        case 1:
            window = std::make_unique<GateWindow>();
            break;
        default:
            window = std::make_unique<AdderWindow>();
        }
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const qreal ratio = window->devicePixelRatioF();
        const QByteArray expected = qgetenv("QT_SCALE_FACTOR");
        QCOMPARE(ratio, expected.isEmpty() ? 1.0 : expected.toDouble());

        int checked = 0;
        for (QLabel* label : window->findChildren<QLabel*>()) {
            const QString text = label->text();
            const QFont font = label->font();
            if (!label->isVisible() || text.trimmed().isEmpty() || text.contains(u'\n') ||
                font.pixelSize() != look::kFontPixels ||
                QFontMetrics(font).horizontalAdvance(text) > label->contentsRect().width())
                continue;
            QCOMPARE(font.family(), look::fontFamily());
            const QImage drawn = ink(label->grab().toImage());
            const QImage wanted = diagramInk(text, font.bold(), qRound(ratio));
            QVERIFY2(drawn == wanted,
                     qPrintable(QStringLiteral("\"%1\": drawn %2x%3, diagram %4x%5")
                                    .arg(text)
                                    .arg(drawn.width())
                                    .arg(drawn.height())
                                    .arg(wanted.width())
                                    .arg(wanted.height())));
            ++checked;
        }
        QVERIFY(checked >= 3);
    }
};

QTEST_MAIN(CompanionLook)
#include "test_companion_look.moc"
