// The window at a device pixel ratio that is not whole (run at QT_SCALE_FACTOR 1.25,
// 1.5 and 1.75): it shows, device pixel for device pixel, the picture made to that size
// by the picture's own rule, in which every line is equally wide (test_scaling) — after
// a partial repaint too, and the two editable fields with it: their text, selection and
// caret are the picture's, while typing, selecting and the clipboard work in them.

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

#include <vector>

#include "picture/Scaled.h"
#include "picture/Scaling.h"
#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

class WindowScaled : public QObject {
    Q_OBJECT

    // Device pixels of `shown`, from device column x0 on, that differ from `canvas`
    // made to size by the picture's rule at `ratio`.
    static int differingFrom(const QImage& shown, qreal ratio, const render::Canvas& canvas,
                             int x0 = 0) {
        const render::Fit fit =
            render::fitPicture(qRound(canvas.width * ratio), qRound(canvas.height * ratio),
                               canvas.width, canvas.height);
        std::vector<std::uint8_t> rgba(std::size_t(fit.width) * fit.height * 4);
        render::scaleTo(canvas, fit.width, fit.height, rgba.data());
        int n = 0;
        for (int y = 0; y < std::min(fit.height, shown.height()); ++y)
            for (int x = 0; x < std::min(fit.width, shown.width() - x0); ++x) {
                const std::uint8_t* want = &rgba[(std::size_t(y) * fit.width + x) * 4];
                const QRgb got = shown.pixel(x0 + x, y);
                const bool off =
                    qRed(got) != want[0] || qGreen(got) != want[1] || qBlue(got) != want[2];
                if (off && n < 3) qInfo("differs at %d,%d", x0 + x, y);
                n += off;
            }
        return n;
    }
    static QImage grabbed(TForm1& form, qreal& ratio) {
        QCoreApplication::processEvents();
        const QPixmap pixmap = form.grab();
        ratio = pixmap.devicePixelRatio();
        return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Device pixels that differ from the picture made to size.
    static int differing(TForm1& form) {
        qreal ratio = 1;
        const QImage shown = grabbed(form, ratio);
        return differingFrom(shown, ratio, form.diagramScreen().canvas());
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

    // The fields with text typed, a selection by keys and by the mouse, and the caret:
    // all of it drawn by the picture, the window still equal to it; the editing works.
    void fieldsDrawnByThePicture() {
        Window w = openWindow();
        if (w->devicePixelRatioF() == std::floor(w->devicePixelRatioF()))
            QSKIP("run at a device pixel ratio that is not whole (QT_SCALE_FACTOR=1.5)");
        auto* memo = w->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit17"));
        QVERIFY(memo && edit);
        const render::Canvas start = w->diagramScreen().canvas();

        // Typed at the start of the instruction box: the caret after it.
        memo->setFocus();
        memo->moveCursor(QTextCursor::Start);
        QTest::keyClicks(memo, QStringLiteral("Zak "));
        QVERIFY(memo->toPlainText().startsWith(QStringLiteral("Zak NOP")));
        QVERIFY(w->diagramScreen().fields().memo1.starts_with("Zak NOP"));
        QVERIFY(w->diagramScreen().canvas().pixels != start.pixels);
        QCOMPARE(differing(*w), 0);
        // Selected by the keyboard, copied and pasted back at the end of the line.
        QTest::keyClick(memo, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(memo->textCursor().selectedText(), QStringLiteral("Zak "));
        QVERIFY((w->diagramScreen().fields().memo1Selection == render::Selection{0, 4}));
        QCOMPARE(differing(*w), 0);
        QTest::keySequence(memo, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Zak "));
        QTest::keyClick(memo, Qt::Key_End);
        QTest::keySequence(memo, QKeySequence::Paste);
        QVERIFY(memo->document()->firstBlock().text().endsWith(QStringLiteral("Zak ")));
        QCOMPARE(differing(*w), 0);
        // Selected by the mouse (a click, a shift-click) on the second line.
        // (the box scrolled right to show the end of the first line: scrolled too)
        QVERIFY(w->diagramScreen().fields().memo1ScrollX > 0);
        const QPoint from(
            8, memo->cursorRect(QTextCursor(memo->document()->findBlockByNumber(1))).center().y());
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          from + QPoint(30, 0));
        QVERIFY(memo->textCursor().hasSelection());
        QVERIFY(w->diagramScreen().fields().memo1Selection.from !=
                w->diagramScreen().fields().memo1Selection.to);
        QCOMPARE(differing(*w), 0);

        // The speed field: typed into, the speed taken; selected whole; its caret.
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("6"));
        QCOMPARE(w->simulator().elements().edit17.text, std::string("6"));
        QCOMPARE(w->diagramScreen().fields().edit17Caret, 1);
        QCOMPARE(w->diagramScreen().fields().memo1Caret, -1); // only the focused field's
        QCOMPARE(differing(*w), 0);
        // The caret is the picture's: one pixel wide, one text line (13 pixels) high,
        // gone with the focus.
        const render::Canvas withCaret = w->diagramScreen().canvas();
        w->setFocus();
        QCoreApplication::processEvents();
        int caretPixels = 0;
        for (std::size_t i = 0; i < withCaret.pixels.size(); ++i)
            caretPixels += withCaret.pixels[i] != w->diagramScreen().canvas().pixels[i];
        QCOMPARE(caretPixels, 13);
        QCOMPARE(differing(*w), 0);
        edit->setFocus();
        edit->selectAll();
        QVERIFY((w->diagramScreen().fields().edit17Selection == render::Selection{0, 1}));
        QCOMPARE(differing(*w), 0);
    }

    // A task's panes beside the diagram: made to size by the same rule, lines as even.
    void panesMadeToSize() {
        Window w = openWindow();
        if (w->devicePixelRatioF() == std::floor(w->devicePixelRatioF()))
            QSKIP("run at a device pixel ratio that is not whole (QT_SCALE_FACTOR=1.5)");
        w->openTask("název: Pětka do A\nočekávám: A = 5\n", "petka.txt");
        QVERIFY(w->diagramScreen().paneWidth() > 0);
        qreal ratio = 1;
        const QImage shown = grabbed(*w, ratio);
        const int x0 = qRound(w->diagramScreen().canvas().width * ratio);
        QVERIFY(shown.width() > x0 + w->diagramScreen().paneWidth());
        QCOMPARE(differingFrom(shown, ratio, w->diagramScreen().paneCanvas(), x0), 0);
        QCOMPARE(differing(*w), 0);
    }
};

QTEST_MAIN(WindowScaled)
#include "test_window_scaled.moc"
