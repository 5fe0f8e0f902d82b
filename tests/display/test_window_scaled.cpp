// The window at a device pixel ratio that is not whole (run at QT_SCALE_FACTOR 1.25,
// 1.5 and 1.75): it shows, device pixel for device pixel, the picture made to that size
// by the picture's own rule, in which every line is equally wide (test_scaling) — after
// a partial repaint too, and the two editable fields with it: their text, selection and
// caret are the picture's, while typing, selecting and the clipboard work in them.
// "1:1" (Ctrl+0) shows the diagram at one device pixel per pixel instead: the reference
// frame itself, with the clicks, the fields and the panes where the picture shows them.

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

#include <vector>

#include "picture/DiagramLayout.h"
#include "picture/Scaled.h"
#include "picture/Scaling.h"
#include "picture/Text.h"
#include "tests/support/WindowTesting.h"
#include "tests/support/frames/Png.h"

using namespace procesor;
using namespace ::testing;

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
    // Device pixels of `shown` from (x0, 0) on that differ from `canvas`, one for one.
    static int differingOneToOne(const QImage& shown, const render::Canvas& canvas, int x0 = 0) {
        if (shown.width() < x0 + canvas.width || shown.height() < canvas.height) return -1;
        int n = 0;
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x) {
                const bool off = (shown.pixel(x0 + x, y) & 0xFFFFFF) !=
                                 (canvas.pixels[std::size_t(y) * canvas.width + x] & 0xFFFFFF);
                if (off && n < 3) qInfo("differs at %d,%d", x0 + x, y);
                n += off;
            }
        return n;
    }
    // Where a pixel of the diagram lies in the window at "1:1" (its middle).
    static QPoint atOneToOne(const TForm1& form, int x, int y) {
        const qreal r = form.devicePixelRatioF();
        return QPointF((x + 0.5) / r, (y + 0.5) / r).toPoint();
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

    // "1:1": Ctrl+0 shows the reference frame one device pixel for one at the top left,
    // and the window keeps its size; a click, the fields and the panes follow; Ctrl+0
    // again (on the keypad) goes back to the picture made to size.
    void oneToOne() {
        Window w = openWindow();
        const qreal r = w->devicePixelRatioF();
        if (r == std::floor(r))
            QSKIP("run at a device pixel ratio that is not whole (QT_SCALE_FACTOR=1.5)");
        auto* memo = w->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit17"));
        QVERIFY(memo && edit);
        const QRect editFitted = edit->geometry();
        const QSize size = w->size();
        w->setFocus(); // no caret
        QTest::keyClick(&*w, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(w->actualSize());
        QCOMPARE(w->size(), size);
        const std::optional<procesor::testing::Image> startup =
            procesor::testing::readPng(PROCESOR_FRAMES "/startup.png");
        QVERIFY(startup && startup->width == 1024 && startup->height == 715);
        render::Canvas frame(startup->width, startup->height);
        frame.pixels = startup->pixels;
        qreal ratio = 1;
        QImage shown = grabbed(*w, ratio);
        QCOMPARE(ratio, r);
        QCOMPARE(differingOneToOne(shown, frame), 0);
        // Beyond it the window's colour.
        QCOMPARE(shown.pixel(1030, 100), shown.pixel(shown.width() - 1, shown.height() - 1));

        // The clicks land where the picture shows the controls: a data switch, "provoz".
        clickAt(*w, atOneToOne(*w, 922, 146));
        QCOMPARE(w->simulator().elements().button[8].caption, std::string("1"));
        clickAt(*w, atOneToOne(*w, 859, 132));
        QVERIFY(!w->simulator().elements().image[242].visible); // the run mode
        // The fields over their frames as the picture shows them, to a device pixel.
        const auto near = [r](QRect field, layout::Box frame) {
            const QRectF inside(frame.x + 2, frame.y + 2, frame.w - 4, frame.h - 4);
            const QRectF device(field.x() * r, field.y() * r, field.width() * r,
                                field.height() * r);
            return std::abs(device.left() - inside.left()) <= r &&
                   std::abs(device.top() - inside.top()) <= r &&
                   std::abs(device.right() - inside.right()) <= r &&
                   std::abs(device.bottom() - inside.bottom()) <= r;
        };
        QVERIFY(near(edit->geometry(), layout::kEdit17));
        QVERIFY(near(memo->geometry(), layout::kMemo1));
        // A click into the instruction box lands on the character the picture shows
        // there (a quarter into it: the caret before it), the fourth line's seventh.
        const std::string line(layout::memoLines()[3]);
        const int x = 868 + render::textWidth(render::Face::Window, line.substr(0, 6)) +
                      render::textWidth(render::Face::Window, line.substr(6, 1)) / 4;
        const int y = 428 + 3 * render::lineHeight(render::Face::Window) + 6;
        clickAt(*w, atOneToOne(*w, x, y));
        QVERIFY(memo->hasFocus());
        QCOMPARE(memo->textCursor().blockNumber(), 3);
        QCOMPARE(memo->textCursor().positionInBlock(), 6);
        // Typed into the speed field, clicked where the picture shows it: drawn there.
        clickAt(*w, atOneToOne(*w, 962, 322));
        QVERIFY(edit->hasFocus());
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("6"));
        QCOMPARE(w->simulator().elements().edit17.text, std::string("6"));
        w->setFocus();
        shown = grabbed(*w, ratio);
        QCOMPARE(differingOneToOne(shown, w->diagramScreen().canvas()), 0);
        QVERIFY(differingOneToOne(shown, frame) > 0);
        // The screen reader's places follow: the data switch's where it is shown.
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&*w);
        bool found = false;
        for (int i = 0; window && i < window->childCount(); ++i)
            if (QAccessibleInterface* c = window->child(i);
                c && c->rect().contains(w->mapToGlobal(atOneToOne(*w, 922, 146)))) {
                found = c->rect().width() < layout::kClientWidth / 2 &&
                        c->role() == QAccessible::CheckBox;
                break;
            }
        QVERIFY(found);

        // A task's panes right beside the diagram, one for one too; a click lands there.
        w->openTask("název: Pětka do A\nočekávám: A = 5\n", "petka.txt");
        QVERIFY(w->diagramScreen().paneWidth() > 0);
        shown = grabbed(*w, ratio);
        QCOMPARE(differingOneToOne(shown, w->diagramScreen().paneCanvas(), 1024), 0);
        QCOMPARE(differingOneToOne(shown, w->diagramScreen().canvas()), 0);

        // Back, from the keypad in the speed field: the picture made to size, the fields
        // where they were.
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier);
        QVERIFY(!w->actualSize());
        QCOMPARE(edit->text(), QStringLiteral("6")); // no 0 typed
        // And in the instruction box, on and off.
        const QString memoText = memo->toPlainText();
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier);
        QVERIFY(w->actualSize());
        QTest::keyClick(memo, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(!w->actualSize());
        QCOMPARE(memo->toPlainText(), memoText);
        w->setFocus();
        QCOMPARE(differing(*w), 0);
        QCOMPARE(edit->geometry(), editFitted);
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
