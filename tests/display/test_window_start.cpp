// Start-up: the window's first frame is the picture alone, drawn without the
// editable fields (the picture shows them to the pixel, test_frames and
// test_window_frames hold both to the same frames); the fields come right after it,
// shown, with the keyboard focus in the speed field, and the start-up work that
// waits for the first frame runs after them, once.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "tests/support/WindowTesting.h"

using namespace procesor;

namespace {

// Notes what the window holds when its first paint comes.
class FirstPaint final : public QObject {
public:
    bool painted = false;
    bool fieldsThen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            fieldsThen = watched->findChild<QLineEdit*>() || watched->findChild<QPlainTextEdit*>();
        }
        return false;
    }
};

} // namespace

class WindowStart : public QObject {
    Q_OBJECT
private slots:
    void theFieldsComeAfterTheFirstFrame() {
        TForm1 form(std::make_unique<testing::RecordingLauncher>());
        FirstPaint first;
        form.installEventFilter(&first);
        QStringList order;
        form.afterFirstFrame([&] {
            order << (form.findChild<QLineEdit*>(QStringLiteral("Edit17")) ? "fields" : "none");
        });
        QVERIFY(!form.findChild<QLineEdit*>());
        form.show();
        QVERIFY(testing::waitForControls(form));
        QVERIFY(first.painted);
        QVERIFY2(!first.fieldsThen, "the first frame waited for the editable fields");

        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("Edit17"));
        auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        QVERIFY(edit && memo);
        QVERIFY(edit->isVisible() && memo->isVisible());
        QCOMPARE(edit->text(), QStringLiteral("4")); // the speed at start
        QVERIFY(edit->hasFocus());
        QVERIFY(form.diagramScreen().focused() == screen::Screen::kEdit17); // the core agrees
        QCOMPARE(order, QStringList{QStringLiteral("fields")}); // once, after the fields

        // Later work runs from the event loop, not inside the call.
        form.afterFirstFrame([&] { order << QStringLiteral("later"); });
        QCOMPARE(order.size(), 1);
        QTRY_COMPARE(order.size(), 2);
        QCOMPARE(order.back(), QStringLiteral("later"));
    }

    // An event before the first frame (a program file, a click) makes the fields at
    // once, and the window keeps a focus it was given.
    void anEventBeforeTheFirstFrameMakesThem() {
        TForm1 form(std::make_unique<testing::RecordingLauncher>());
        form.openFile(QStringLiteral(PROCESOR_EXAMPLES "/soucet.txt"));
        QVERIFY(form.findChild<QLineEdit*>(QStringLiteral("Edit17")));
        QCOMPARE(form.simulator().programText(), std::string("0001 0101 1011 0101 1110"));
        form.show();
        form.setFocus();
        QVERIFY(testing::waitForControls(form));
        QVERIFY(form.findChild<QLineEdit*>(QStringLiteral("Edit17"))->isVisible());
    }
};

QTEST_MAIN(WindowStart)
#include "test_window_start.moc"
