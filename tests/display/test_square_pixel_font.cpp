// The editable fields' font: "Procesor Sans" from the program's own data draws, in
// a real line edit and text box at 11 px, exactly the pixels of the diagram's window
// face, and at a device pixel ratio of 2 every pixel as 2 x 2.

#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "picture/Text.h"

using namespace procesor;

namespace {

// The ink of an image (pixels darker than mid-grey), cropped to its bounding box,
// one character per pixel; `greys` counts pixels that are neither paper nor ink.
QStringList inkPattern(const QImage& image, QRgb paper, QRgb ink, int* greys) {
    QRect box;
    *greys = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) | 0xFF000000u;
            if (p == ink)
                box |= QRect(x, y, 1, 1);
            else if (p != paper)
                ++*greys;
        }
    QStringList rows;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        QString row;
        for (int x = box.left(); x <= box.right(); ++x)
            row += (image.pixel(x, y) | 0xFF000000u) == ink ? QLatin1Char('#') : QLatin1Char('.');
        rows << row;
    }
    return rows;
}

// The text as the renderer draws it, each pixel grown to scale x scale.
QStringList rendered(const QString& text, render::Face face, int scale) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view sv(utf8.constData(), std::size_t(utf8.size()));
    render::Canvas c;
    c.width = render::textWidth(face, sv) + 4;
    c.height = 17;
    c.pixels.assign(std::size_t(c.width) * c.height, 0xFFFFFFFF);
    render::drawText(c, face, 2, 2, sv, clBlack, render::Box{0, 0, c.width, c.height});
    QImage image(c.width * scale, c.height * scale, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, c.at(x / scale, y / scale));
    int greys = 0;
    return inkPattern(image, 0xFFFFFFFF, 0xFF000000, &greys);
}

// The family as the program loads it, regular and bold, from its own data. Neither
// anti-aliasing nor hinting is switched off: every edge lies on the pixel grid.
QFont squarePixelFont(bool bold) {
    static const int ids[] = {
        QFontDatabase::addApplicationFontFromData(
            QByteArray(reinterpret_cast<const char*>(render::squarePixelFont().data()),
                       qsizetype(render::squarePixelFont().size()))),
        QFontDatabase::addApplicationFontFromData(
            QByteArray(reinterpret_cast<const char*>(render::squarePixelBoldFont().data()),
                       qsizetype(render::squarePixelBoldFont().size())))};
    if (ids[0] < 0 || ids[1] < 0) return {};
    QFont f(QFontDatabase::applicationFontFamilies(ids[0]).value(0));
    f.setPixelSize(11);
    f.setBold(bold);
    return f;
}

// The widget drawn at a device pixel ratio, black text on white, without frame or caret.
QImage drawn(QWidget& w, qreal ratio) {
    QPalette p = w.palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    w.setPalette(p);
    w.resize(200, 40);
    QImage image(w.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    w.render(&image);
    return image;
}

} // namespace

class SquarePixelFont : public QObject {
    Q_OBJECT

private slots:
    void theFamilyComesFromTheProgram() {
        const QFont f = squarePixelFont(false);
        QCOMPARE(f.family(), QString::fromLatin1(render::kSquarePixelFamily.data(),
                                                 qsizetype(render::kSquarePixelFamily.size())));
        QCOMPARE(QFontInfo(f).family(), f.family());
        QCOMPARE(QFontMetrics(f).height(), 13);
        QCOMPARE(QFontMetrics(f).lineSpacing(), 13); // the lines of Memo1
        QCOMPARE(QFontMetrics(f).ascent(), 11);
    }

    void fieldsDrawTheWindowFacePixelForPixel_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("bold");
        QTest::addRow("bold") << QStringLiteral("ručně  Žluťoučký 0") << 1.0 << true;
        QTest::addRow("bold at 2") << QStringLiteral("zápis do RAM") << 2.0 << true;
        for (qreal ratio : {1.0, 2.0}) {
            for (const char* t :
                 {"4", "Rychlost: 7", "LDA  - 0001     1 - 0001", " + číslo    Žluťoučký kůň"}) {
                QTest::addRow("%s at %g", t, ratio) << QString::fromUtf8(t) << ratio << false;
            }
        }
    }
    void fieldsDrawTheWindowFacePixelForPixel() {
        QFETCH(QString, text);
        QFETCH(qreal, ratio);
        QFETCH(bool, bold);
        const QStringList expected =
            rendered(text, bold ? render::Face::WindowBold : render::Face::Window, int(ratio));

        QLineEdit line(text);
        line.setFrame(false);
        line.setFont(squarePixelFont(bold));
        QPlainTextEdit box(text);
        box.setFrameStyle(QFrame::NoFrame);
        box.setFont(squarePixelFont(bold));
        for (QWidget* w : {static_cast<QWidget*>(&line), static_cast<QWidget*>(&box)}) {
            int greys = 0;
            const QStringList actual = inkPattern(drawn(*w, ratio), 0xFFFFFFFF, 0xFF000000, &greys);
            QCOMPARE(greys, 0);
            QCOMPARE(actual.join(QLatin1Char('\n')), expected.join(QLatin1Char('\n')));
        }
    }
};

QTEST_MAIN(SquarePixelFont)
#include "test_square_pixel_font.moc"
