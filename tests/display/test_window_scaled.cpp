// The window at a device pixel ratio that is not whole (run at QT_SCALE_FACTOR 1.25,
// 1.5 and 1.75): outside the two editable fields it shows, device pixel for device
// pixel, the picture made to that size by the picture's own rule, in which every
// line is equally wide (test_scaling) — after a partial repaint too.

#include <QtTest>

#include <vector>

#include "picture/Scaled.h"
#include "picture/Scaling.h"
#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

class WindowScaled : public QObject {
    Q_OBJECT

    // Device pixels that differ from the picture made to size, outside the fields.
    static int differing(TForm1& form) {
        QCoreApplication::processEvents();
        const QPixmap grabbed = form.grab();
        const qreal ratio = grabbed.devicePixelRatio();
        const QImage shown = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
        const render::Canvas& canvas = form.diagramScreen().canvas();
        const render::Fit fit = render::fitPicture(qRound(canvas.width * ratio),
                                                   qRound(canvas.height * ratio),
                                                   canvas.width, canvas.height);
        std::vector<std::uint8_t> rgba(std::size_t(fit.width) * fit.height * 4);
        render::scaleTo(canvas, fit.width, fit.height, rgba.data());
        QList<QRect> fields;
        for (const QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible()) {
                const QRect g = child->geometry();
                fields.append(QRect(QPoint(int(g.left() * ratio) - 1, int(g.top() * ratio) - 1),
                                    QPoint(int((g.right() + 1) * ratio) + 1,
                                           int((g.bottom() + 1) * ratio) + 1)));
            }
        int n = 0;
        for (int y = 0; y < std::min(fit.height, shown.height()); ++y)
            for (int x = 0; x < std::min(fit.width, shown.width()); ++x) {
                if (std::any_of(fields.begin(), fields.end(),
                                [&](const QRect& f) { return f.contains(x, y); }))
                    continue;
                const std::uint8_t* want = &rgba[(std::size_t(y) * fit.width + x) * 4];
                const QRgb got = shown.pixel(x, y);
                n += qRed(got) != want[0] || qGreen(got) != want[1] || qBlue(got) != want[2];
            }
        return n;
    }

private slots:
    void showsThePictureMadeToSize() {
        Window w = openWindow();
        if (w->devicePixelRatioF() == std::floor(w->devicePixelRatioF()))
            QSKIP("run at a device pixel ratio that is not whole (QT_SCALE_FACTOR=1.5)");
        QCOMPARE(differing(*w), 0);
        // Partial repaints: a data switch, a write, the run mode.
        for (const TForm1::Handler h : {&Simulator::Button8Click, &Simulator::Panel4Click,
                                        &Simulator::Button13Click, &Simulator::Panel7Click}) {
            w->run(h);
            QCOMPARE(differing(*w), 0);
        }
    }
};

QTEST_MAIN(WindowScaled)
#include "test_window_scaled.moc"
