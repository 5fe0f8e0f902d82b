// The texts: with MS Sans Serif every label takes the width the diagram was laid
// out for; without it the window still draws every text, quietly.

#include <QImage>
#include <QPainter>
#include <QtTest>

#include "display/Fonts.h"
#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

namespace {

int warnings = 0;
QtMessageHandler previousHandler = nullptr;

void countWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) ++warnings;
    if (previousHandler) previousHandler(type, context, message);
}

// Dark pixels of a text drawn black on white.
int inkedPixels(const TextFace& face, const QString& text) {
    QImage image(200, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        face.draw(p, {2, 2}, text, Qt::black);
    }
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += qGray(image.pixel(x, y)) < 128;
    return count;
}

} // namespace

class WindowFonts : public QObject {
    Q_OBJECT

private slots:
    void labelsHaveTheWidthsOfTheDiagram_data() {
        QTest::addColumn<int>("label");
        QTest::addColumn<QSize>("size");
        // The microprogram listing and the instruction names.
        const int listing[][2] = {{14, 97}, {15, 97},  {16, 97}, {17, 99}, {18, 97},  {19, 97},
                                  {20, 98}, {21, 100}, {22, 97}, {23, 97}, {24, 100}, {25, 97},
                                  {26, 97}, {27, 94},  {28, 97}, {29, 95}, {13, 23},  {30, 21},
                                  {31, 23}, {32, 21},  {33, 24}, {34, 21}};
        for (const auto& l : listing) QTest::addRow("Label%d", l[0]) << l[0] << QSize(l[1], 13);
        // RAM addresses "0:".."9:" and "10:".."15:", and the blank cells.
        for (int n : {1, 3, 6, 7, 8, 51, 52, 53, 54, 55})
            QTest::addRow("Label%d", n) << n << QSize(9, 13);
        for (int n = 56; n <= 61; ++n) QTest::addRow("Label%d", n) << n << QSize(15, 13);
        for (int n = 35; n <= 50; ++n) QTest::addRow("Label%d", n) << n << QSize(33, 13);
        // Value digits and bus digits.
        for (int n : {66, 2, 5, 9, 10, 12, 62, 63, 64})
            QTest::addRow("Label%d", n) << n << QSize(11, 20);
    }
    void labelsHaveTheWidthsOfTheDiagram() {
        QFETCH(int, label);
        QFETCH(QSize, size);
        Window w = openWindow();
        if (!w->fonts().exact()) QSKIP("MS Sans Serif (fonts-wine) is not installed");
        QCOMPARE(w->labelRect(label).size(), size);
    }

    void everyWordTextIsAsWideAsFourOs() {
        Fonts fonts;
        if (!fonts.exact()) QSKIP("MS Sans Serif (fonts-wine) is not installed");
        const int o = fonts.window().width(QStringLiteral("OOOO"));
        QCOMPARE(o, 32);
        for (const char* text : {"OOO l ", " l  l OO", " l  l  l  l ", "O l  l  l "})
            QCOMPARE(fonts.window().width(QString::fromLatin1(text)), o);
        QCOMPARE(fonts.window().width(QString(11, QLatin1Char(' '))), 33);
    }

    void theBoldOfTheBitmapFontIsStruckTwice() {
        Fonts fonts;
        if (!fonts.exact()) QSKIP("MS Sans Serif (fonts-wine) is not installed");
        const QString lsb = QStringLiteral("LSB");
        // One more pixel per letter and one of overhang; the strokes twice as thick.
        QCOMPARE(fonts.windowBold().width(lsb), fonts.window().width(lsb) + 3 + 1);
        QVERIFY(inkedPixels(fonts.windowBold(), lsb) > inkedPixels(fonts.window(), lsb) * 3 / 2);
    }

    void withoutTheFontFileTextsFallBackQuietly() {
        warnings = 0;
        previousHandler = qInstallMessageHandler(countWarnings);
        Fonts fonts(QStringLiteral("/nonexistent/ms_sans_serif.ttf"));
        const QString line = QStringLiteral("0000  PC/I               ");
        const int width = fonts.window().width(line);
        const int inked = inkedPixels(fonts.window(), line) + inkedPixels(fonts.digits(), "15") +
                          inkedPixels(fonts.windowBold(), QStringLiteral("ručně"));
        qInstallMessageHandler(previousHandler);

        QVERIFY(!fonts.exact());
        QCOMPARE(warnings, 0);
        QVERIFY2(width > 60 && width < 160, qPrintable(QString::number(width)));
        QVERIFY(inked > 0);
        QVERIFY(fonts.window().lineHeight() >= 13);
        QVERIFY(fonts.digits().lineHeight() >= 20);
        QCOMPARE(fonts.widgetFont().pixelSize(), 11);
    }
};

QTEST_MAIN(WindowFonts)
#include "test_window_fonts.moc"
