// A task in the window: given as a file, dropped as a file and as text, pasted; the
// window grows by the pane, the diagram's pixels stay as they were, "Zkontrolovat"
// checks the program in RAM and gives the result code, "Zavřít úlohu" closes the pane;
// a bad task only opens the error box and changes nothing.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "model/ResultCode.h"
#include "picture/DiagramLayout.h"
#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

namespace {

QByteArray taskFile(const char* name) {
    QFile f(QStringLiteral(PROCESOR_EXAMPLES "/ulohy/") + QString::fromUtf8(name));
    if (!f.open(QIODevice::ReadOnly)) qWarning("cannot read %s", name);
    return f.readAll();
}

QPoint paneButton(const TaskPane& pane, TaskPane::Control c) {
    const render::Box b = pane.buttonBox(c);
    return {layout::kClientWidth + b.x + b.w / 2, b.y + b.h / 2};
}

} // namespace

class WindowTask : public QObject {
    Q_OBJECT
private slots:
    void aTaskOpensBesideTheDiagramFromEveryWayIn() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("úloha.txt"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(taskFile("03-pet-a-pet.txt"));
        }
        const QByteArray text = taskFile("03-pet-a-pet.txt");
        const std::vector<std::pair<const char*, std::function<void(TForm1&)>>> ways = {
            {"file", [&](TForm1& w) { w.openFile(path); }},
            {"dropped file",
             [&](TForm1& w) {
                 QVERIFY(dropOn(w, {300, 300}, {QUrl::fromLocalFile(path)}));
             }},
            {"dropped text",
             [&](TForm1& w) {
                 QVERIFY(dropOn(w, {300, 300}, {}, QString::fromUtf8(text)));
             }},
            {"Ctrl+V",
             [&](TForm1& w) {
                 QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
                 QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
             }},
        };
        for (const auto& [what, bringIn] : ways) {
            Window w = openWindow();
            w->setFocus(); // the keys on the diagram, as Ctrl+V needs them
            const QImage diagram = picture(*w);
            const ProcessorModel model = w->simulator().model();
            bringIn(*w);
            QVERIFY2(w->taskPane(), what);
            QVERIFY2(!w->errorBox(), what);
            QCOMPARE(w->taskPane()->task().name, std::string("Pět a pět"));
            QTRY_COMPARE(w->width(), layout::kClientWidth + TaskPane::kWidth);
            QVERIFY(w->simulator().model() == model);
            const QImage now = picture(*w);
            QCOMPARE(now.copy(diagram.rect()), diagram);
            // The pane is drawn: its cream beside the diagram.
            QCOMPARE(rgbAt(now, layout::kClientWidth + 100, layout::kClientHeight - 5),
                     QRgb(clCream));
        }
    }

    void zkontrolovatGivesTheCodeAndZavritClosesThePane() {
        Window w = openWindow();
        w->openTask(taskFile("03-pet-a-pet.txt").toStdString());
        const TaskPane& pane = *w->taskPane();
        clickAt(*w, paneButton(pane, TaskPane::CheckButton));
        QVERIFY(pane.checked());
        QVERIFY(!pane.run().passed()); // RAM is empty
        QVERIFY(w->simulator().loadProgram("0001 0101 1011 0101 1110"));
        clickAt(*w, paneButton(pane, TaskPane::CheckButton));
        QVERIFY(pane.run().passed());
        const DecodedCode back = decodeResultCode(pane.code(), pane.task().digest);
        QVERIFY(back.kind == DecodedCode::Ok && back.ram == w->simulator().model().ram);
        clickAt(*w, paneButton(pane, TaskPane::CloseButton));
        QVERIFY(!w->taskPane());
        QTRY_COMPARE(w->width(), layout::kClientWidth);
    }

    // Shift+Tab from the speed field leaves the diagram, the next comes in at the pane's
    // last button; Enter works "Zkontrolovat" and the window says the result.
    void thePaneByKeyboard() {
        Window w = openWindow();
        QVERIFY(w->simulator().loadProgram("0001 0101 1011 0101 1110"));
        w->openTask(taskFile("03-pet-a-pet.txt").toStdString());
        QVERIFY(w->taskPane());
        QTRY_VERIFY(w->diagramScreen().focused() == screen::Screen::kEdit17);
        QWidget* edit17 = w->findChild<QWidget*>("Edit17");
        QTest::keyClick(edit17, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w->diagramScreen().focused(),
                 std::optional(screen::Screen::Element{screen::Screen::Element::Pane,
                                                       TaskPane::CheckButton}));
        QCOMPARE(QApplication::focusWidget(), w.form.get());
        QTest::keyClick(w.form.get(), Qt::Key_Return);
        QVERIFY(w->taskPane()->checked() && w->taskPane()->run().passed());
        QCOMPARE(w->spoken(), QStringLiteral("Úloha splněna. Kód řešení: ") +
                                  QString::fromStdString(w->taskPane()->code()) + ".");
        QCOMPARE(w->accessibleDescription(), w->spoken());
        QTest::keyClick(w.form.get(), Qt::Key_Tab);
        QTest::keyClick(w.form.get(), Qt::Key_Space);
        QVERIFY(!w->taskPane());
        QTRY_COMPARE(w->width(), layout::kClientWidth);
    }

    void aBadTaskOnlyOpensTheErrorBox() {
        Window w = openWindow();
        const QImage before = picture(*w);
        w->openTask("název: x\nočekávám: Q = 1\n", "u.txt");
        QMessageBox* box = w->errorBox();
        QVERIFY(box);
        QVERIFY2(box->text().contains(QStringLiteral("na 2. řádku, 11. pozici")),
                 qPrintable(box->text()));
        QVERIFY(!w->taskPane());
        QCOMPARE(w->width(), layout::kClientWidth);
        QCOMPARE(picture(*w), before);
        box->close();
    }
};

QTEST_MAIN(WindowTask)
#include "test_window_task.moc"
