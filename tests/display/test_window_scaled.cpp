// On a screen with two device pixels per pixel (run with QT_SCALE_FACTOR=2) the
// diagram keeps its layout and every pixel simply grows: no blurred edges, no
// blended colours in texts, bars or wires.

#include <QtTest>

#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

class WindowScaled : public QObject {
    Q_OBJECT

private slots:
    void everyPixelGrowsIntoASharpSquare() {
        Window w = openWindow();
        if (w->devicePixelRatioF() != 2) QSKIP("needs QT_SCALE_FACTOR=2");
        QCOMPARE(w->size(), QSize(1024, 715));
        const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), QSize(2048, 1430));

        // The listing, the RAM and the data path: every device pixel is one of the
        // diagram's own colours.
        const QSet<QRgb> plain = {0x000000, 0xFFFFFF, 0xFFFF00, 0xA6CAF0,
                                  0x008000, 0xFF0000, 0x0000FF, 0xD4D0C8};
        for (const QRect area :
             {QRect(10, 30, 280, 130), QRect(505, 340, 197, 130), QRect(560, 250, 240, 420)}) {
            for (int y = area.top() * 2; y <= area.bottom() * 2 + 1; ++y)
                for (int x = area.left() * 2; x <= area.right() * 2 + 1; ++x) {
                    const QRgb c = image.pixel(x, y) & 0xFFFFFF;
                    QVERIFY2(
                        plain.contains(c),
                        qPrintable(QStringLiteral("%1 at device %2,%3").arg(hex(c)).arg(x).arg(y)));
                }
        }
        // Label14's bar still ends after 97 pixels, now 194 device pixels.
        if (w->fonts().exact()) {
            QCOMPARE(image.pixel(2 * 136 + 1, 2 * 32) & 0xFFFFFF, 0xFFFF00u);
            QCOMPARE(image.pixel(2 * 137, 2 * 32) & 0xFFFFFF, 0xFFFFFFu);
        }
        // The wire of the stepping button: two pixels become four device pixels.
        QCOMPARE(image.pixel(2 * 448, 2 * 300) & 0xFFFFFF, 0x008000u);
        QCOMPARE(image.pixel(2 * 449 + 1, 2 * 300) & 0xFFFFFF, 0x008000u);
        QCOMPARE(image.pixel(2 * 450, 2 * 300) & 0xFFFFFF, 0xD4D0C8u);
    }
};

QTEST_MAIN(WindowScaled)
#include "test_window_scaled.moc"
