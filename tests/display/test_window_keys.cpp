// The keyboard on the real window, by the rows of tests/screen/keys.txt that the page
// and the headless screen walk too: Tab, Shift+Tab, Space, Enter, Up and Down sent
// to the widget with the focus, the focus then in the field named or on the window
// with the drawn control's dotted frame; and Ctrl+V of a program in the speed field.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "tests/screen/KeyTable.h"
#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

namespace {

using E = screen::Screen::Element;

std::string drawnFocus(const TForm1& w) {
    const render::ControlLook look = w.diagramScreen().pushed();
    if (look.focusPanel) return "Panel" + std::to_string(look.focusPanel);
    if (look.focus) return "Button" + std::to_string(look.focus);
    if (look.focusArrow) return look.focusArrow > 0 ? "UpDown1-up" : "UpDown1-down";
    if (look.focusImage) return "Image" + std::to_string(look.focusImage);
    if (look.focusLabel) return "Label" + std::to_string(look.focusLabel);
    return "";
}

std::string qtFocus(TForm1& w) {
    QWidget* f = QApplication::focusWidget();
    if (f == &w) return drawnFocus(w).empty() ? "none" : drawnFocus(w);
    return f ? f->objectName().toStdString() : "nothing";
}

} // namespace

class WindowKeys : public QObject {
    Q_OBJECT
private slots:
    void theKeyTable() {
        Window w = openWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*w));
        const auto rows = readKeyTable(PROCESOR_KEYS);
        QVERIFY(rows.size() > 30);
        for (const KeyRow& row : rows) {
            const QByteArray at = "keys.txt:" + QByteArray::number(row.line);
            const auto pulses = w->diagramScreen().pulses();
            const qsizetype startsBefore = w.launcher->started.size();
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &*w;
            if (row.key == "Tab") QTest::keyClick(target, Qt::Key_Tab);
            if (row.key == "BackTab") QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
            if (row.key == "Space") QTest::keyClick(target, Qt::Key_Space);
            if (row.key == "Enter") QTest::keyClick(target, Qt::Key_Return);
            if (row.key == "Up") QTest::keyClick(target, Qt::Key_Up);
            if (row.key == "Down") QTest::keyClick(target, Qt::Key_Down);
            QVERIFY2(qtFocus(*w) == row.focus, at + " focus on " + qtFocus(*w).c_str());
            const bool drawn = row.focus != "Edit17" && row.focus != "Memo1" && row.focus != "none";
            QVERIFY2(drawnFocus(*w) == (drawn ? row.focus : ""), at + " frame");
            const ElementState& el = w->simulator().elements();
            bool pulsed = false;
            QStringList start;
            for (const std::string& did : row.did) {
                if (did.starts_with("speed="))
                    QVERIFY2(el.edit17.text == did.substr(6) &&
                                 w->findChild<QLineEdit*>(QStringLiteral("Edit17"))
                                         ->text()
                                         .toStdString() == did.substr(6),
                             at);
                else if (did == "run")
                    QVERIFY2(el.panel[7].colour == clLime, at);
                else if (did.starts_with("Button"))
                    QVERIFY2(el.button[std::stoi(did.substr(6))].caption ==
                                 did.substr(did.find('=') + 1),
                             at);
                else if (did == "pulse")
                    pulsed = true;
                else if (did.starts_with("start="))
                    start << QString::fromStdString(did.substr(6));
                else
                    QFAIL(at + " unknown effect");
            }
            QVERIFY2(w->diagramScreen().pulses() == pulses + (pulsed ? 1 : 0), at + " pulses");
            // Enter and Space on an element start its explainer through the launcher.
            QVERIFY2(w.launcher->started.mid(startsBefore) == start, at + " started");
        }
    }

    // F11: the projector's view, full screen, the diagram alone fitted and centred on
    // black, the fields out of the way; a click lands on the control under it ("provoz",
    // whose middle is at 859,132 of the diagram); Escape back to the window as it was.
    void theProjectorsView() {
        Window w = openWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*w));
        const QSize normal = w->size();
        QTest::keyClick(&*w, Qt::Key_F11);
        QVERIFY(w->projector());
        QTRY_VERIFY(w->windowState() & Qt::WindowFullScreen);
        QTRY_VERIFY(w->size() != normal);
        QVERIFY(!w->findChild<QLineEdit*>(QStringLiteral("Edit17"))->isVisible());
        const QImage shot = w->grab().toImage();
        QCOMPARE(QColor(shot.pixel(0, 0)), QColor(Qt::black));
        const double scale = std::min(double(w->width()) / 1024, double(w->height()) / 715);
        const QPointF origin((w->width() - 1024 * scale) / 2, (w->height() - 715 * scale) / 2);
        QVERIFY(1024 * scale >= 0.9 * w->width() - 1 || 715 * scale >= 0.9 * w->height() - 1);
        const QPoint provoz = (origin + QPointF(859 * scale, 132 * scale)).toPoint();
        QTest::mouseClick(&*w, Qt::LeftButton, {}, provoz);
        QCOMPARE(w->simulator().elements().panel[7].colour, clLime);
        QTest::keyClick(&*w, Qt::Key_Escape);
        QVERIFY(!w->projector());
        QTRY_VERIFY(!(w->windowState() & Qt::WindowFullScreen));
        QTRY_VERIFY(w->findChild<QLineEdit*>(QStringLiteral("Edit17"))->isVisible() ||
                    !w->simulator().elements().edit17.visible);
        QVERIFY(w->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->isVisible());
    }

    // Ctrl+V of a program right after opening, with the focus in the speed field: the
    // program comes in and the field keeps its text; a number is pasted into the field.
    void aProgramPastedIntoTheSpeedField() {
        Window w = openWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*w));
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit17"));
        QVERIFY(edit->hasFocus());
        QGuiApplication::clipboard()->setText(QStringLiteral("0001 0101 1011 0101 1110"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->simulator().programText(), std::string("0001 0101 1011 0101 1110"));
        QCOMPARE(edit->text(), QStringLiteral("4"));
        QVERIFY(!w->errorBox());
        edit->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("6"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("6"));
        QCOMPARE(w->simulator().elements().edit17.text, std::string("6"));
        QCOMPARE(w->simulator().programText(), std::string("0001 0101 1011 0101 1110"));
    }
};

QTEST_MAIN(WindowKeys)
#include "test_window_keys.moc"
