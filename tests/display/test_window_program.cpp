// A program as text in the window: every bad input from every way in (a file given
// to the window, a dropped file, dropped text, Ctrl+V) opens one error box that
// says what is wrong and changes nothing, in run mode too with the clock running;
// Ctrl+C copies the program in RAM; a click on the diagram takes the keys from the
// text fields to it.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

namespace {

const QString kExample = QStringLiteral("0001 0101 1011 0101 1110");

// The worked example entered by clicks, as a student does.
void enterExample(TForm1& w) {
    const QPoint write(448, 372), step(448, 340);
    const std::vector<std::vector<QPoint>> toggles = {{{970, 146}},
                                                      {{938, 146}},
                                                      {{922, 146}, {938, 146}, {954, 146}},
                                                      {{922, 146}, {938, 146}, {954, 146}},
                                                      {{922, 146}, {954, 146}, {970, 146}}};
    for (const std::vector<QPoint>& word : toggles) {
        for (QPoint p : word) clickAt(w, p);
        clickAt(w, write);
        w.timerTick(3);
        clickAt(w, step);
        w.timerTick(2);
    }
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly)) qWarning("cannot write %s", qPrintable(name));
    f.write(bytes);
    return f.fileName();
}

struct Attempt {
    const char* what;
    std::function<void(TForm1&)> bringIn;
    const char* says;
};

} // namespace

class WindowProgram : public QObject {
    Q_OBJECT
private slots:
    void badInputFromEveryWayChangesNothing() {
        QTemporaryDir dir;
        const QString badWord = writeFile(dir, QStringLiteral("spatne.txt"), "0001 0102\n");
        QByteArray many;
        for (int n = 0; n < 17; ++n) many += "0001\n";
        const QString tooMany = writeFile(dir, QStringLiteral("dlouhy.txt"), many);
        const QString latin2 =
            writeFile(dir, QStringLiteral("latin2.txt"), "# \xE8ten\xED\n0001 1110\n");
        const QString large = writeFile(dir, QStringLiteral("velky.txt"),
                                        QByteArray(int(kMaxProgramBytes) + 1, ' ') + "1110");
        const QString empty = writeFile(dir, QStringLiteral("prazdny.txt"), "");
        const QString missing = dir.filePath(QStringLiteral("neni.txt"));
        const auto file = [](const QString& path) {
            return [path](TForm1& w) { w.openFile(path); };
        };
        const auto drop = [](const QString& path) {
            return [path](TForm1& w) {
                if (!dropOn(w, {400, 300}, {QUrl::fromLocalFile(path)}))
                    qWarning("the drop was not taken");
            };
        };
        const auto dropText = [](const QString& text) {
            return [text](TForm1& w) {
                if (!dropOn(w, {400, 300}, {}, text)) qWarning("the drop was not taken");
            };
        };
        const auto paste = [](const QString& text) {
            return [text](TForm1& w) {
                QGuiApplication::clipboard()->setText(text);
                QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
            };
        };
        const Attempt attempts[] = {
            {"file, bad word", file(badWord),
             "Program ze souboru „spatne.txt“ nebyl načten: 2. slovo „0102“ na 1. řádku, 6. "
             "pozici"},
            {"file, 17 words", file(tooMany), "17. slovo „0001“ je na 17. řádku, 1. pozici"},
            {"file, not UTF-8", file(latin2),
             "není v kódování UTF-8 (chybný bajt je na 1. "
             "řádku, 3. pozici)"},
            {"file, too large", file(large), "„velky.txt“ nebyl načten: soubor je příliš velký"},
            {"file, empty", file(empty), "žádné slovo programu"},
            {"file, missing", file(missing), "„neni.txt“ nebyl načten: soubor nelze přečíst."},
            {"file, a folder", file(dir.path()), "soubor nelze přečíst."},
            {"dropped file, bad word", drop(badWord), "„spatne.txt“ nebyl načten: 2. slovo"},
            {"dropped file, not UTF-8", drop(latin2), "není v kódování UTF-8"},
            {"dropped file, too large", drop(large), "soubor je příliš velký"},
            {"dropped folder", drop(dir.path()), "soubor nelze přečíst."},
            {"dropped text, bad word", dropText(QStringLiteral("1110 2")), "2. slovo „2“"},
            {"paste, bad word", paste(QStringLiteral("0001\n0101 01010")),
             "Program nebyl načten: 3. slovo „01010“ na 2. řádku, 6. pozici"},
            {"paste, 17 words", paste(QString(kExample + QLatin1Char(' ')).repeated(4)),
             "RAM má jen 16 slov"},
            {"paste, nothing", paste(QStringLiteral("  # nic\n")), "žádné slovo programu"},
            {"paste, too long", paste(QString(int(kMaxProgramBytes), QLatin1Char(' ')) + "0001"),
             "text je příliš dlouhý"},
        };

        Window w = openWindow();
        enterExample(*w);
        clickAt(*w, {448, 340}); // address 5, pressed in, a switch on
        clickAt(*w, {938, 146});
        w->setFocus();
        for (const Attempt& a : attempts) {
            const ProcessorModel model = w->simulator().model();
            const ElementState el = w->simulator().elements();
            const QImage before = picture(*w);
            a.bringIn(*w);
            QMessageBox* box = w->errorBox();
            QVERIFY2(box, a.what);
            QVERIFY2(box->text().contains(QString::fromUtf8(a.says)),
                     qPrintable(QString::fromUtf8(a.what) + QStringLiteral(": ") + box->text()));
            QVERIFY2(model == w->simulator().model() && el == w->simulator().elements(), a.what);
            QCOMPARE(picture(*w), before);
            box->close();
            QTRY_VERIFY(!w->errorBox());
        }
        QCOMPARE(w->simulator().programText(), kExample.toStdString());
    }

    void runModeLoadsNothingAndTheClockRunsOn() {
        Window w = openWindow();
        enterExample(*w);
        clickAt(*w, {859, 132}); // "provoz"
        w->simulator().setSpeedText(QStringLiteral("7").toStdString());
        clickAt(*w, {855, 320}); // the automatic clock at 100 ms
        const auto clock = [&] { return w->diagramScreen().timer(1); };
        QVERIFY(clock().enabled);
        QTemporaryDir dir;
        const QString good = writeFile(dir, QStringLiteral("dobry.txt"), "1110\n");
        const std::function<void()> ways[] = {
            [&] { w->openFile(good); },
            [&] {
                dropOn(*w, {400, 300}, {QUrl::fromLocalFile(good)});
            },
            [&] {
                QGuiApplication::clipboard()->setText(QStringLiteral("1110"));
                w->setFocus();
                QTest::keyClick(&*w, Qt::Key_V, Qt::ControlModifier);
            },
        };
        for (const std::function<void()>& way : ways) {
            const unsigned startsBefore = w->simulator().timerStarts(1);
            const auto due = clock().due;
            way();
            QVERIFY(w->errorBox());
            QVERIFY2(w->errorBox()->text().contains(
                         QStringLiteral("jen v režimu programování. Stiskněte „programování“")),
                     qPrintable(w->errorBox()->text()));
            QVERIFY(clock().enabled);
            QVERIFY(clock().due <= due); // not started over
            QCOMPARE(w->simulator().timerStarts(1), startsBefore);
            QCOMPARE(w->simulator().programText(), kExample.toStdString());
            // The clock runs on behind the box.
            const int ir = w->simulator().model().ir;
            const int pc = w->simulator().model().pc;
            QTRY_VERIFY(w->simulator().model().ir != ir || w->simulator().model().pc != pc);
            w->errorBox()->close();
            QTRY_VERIFY(!w->errorBox());
            clickAt(*w, {859, 132}); // from the start again, so that it does not halt
            clickAt(*w, {855, 320});
        }
    }

    void theExampleFileIsTheWorkedExample() {
        Window w = openWindow();
        w->openFile(QStringLiteral(PROCESOR_EXAMPLES "/soucet.txt"));
        QVERIFY(!w->errorBox());
        QCOMPARE(w->simulator().programText(), kExample.toStdString());
    }

    void copyGivesTheProgramInRam() {
        Window w = openWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        w->setFocus();
        QTest::keyClick(&*w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before")); // RAM empty
        enterExample(*w);
        w->setFocus();
        QTest::keyClick(&*w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), kExample);
        // Round trip: the copied text brought in again gives the same RAM and cells.
        const ProcessorModel model = w->simulator().model();
        QTest::keyClick(&*w, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!w->errorBox());
        QCOMPARE(w->simulator().model().ram, model.ram);
        QCOMPARE(w->simulator().model().ramText, model.ramText);
        // In the speed field Ctrl+C and Ctrl+V are the field's own.
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit17"));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("4"));
    }

    void aClickOnTheDiagramTakesTheKeys() {
        Window w = openWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*w));
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit17"));
        QVERIFY(edit->hasFocus());
        QGuiApplication::clipboard()->setText(QStringLiteral("1110"));
        clickAt(*w, {600, 80}); // the IR block
        QVERIFY(!edit->hasFocus());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &*w, Qt::Key_V,
                        Qt::ControlModifier);
        QCOMPARE(w->simulator().programText(), std::string("1110"));
        QCOMPARE(edit->text(), QStringLiteral("4"));
    }
};

QTEST_MAIN(WindowProgram)
#include "test_window_program.moc"
