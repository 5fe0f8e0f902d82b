#include <QApplication>
#include <QStyleHints>

#include "companions/common/ProgramIcon.h"
#include "display/TForm1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(procesor::programIcon());
    // A steady caret: nothing in the window wakes up while the machine stands still.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    procesor::TForm1 Form1;
    Form1.show();
    // "procesor lesson.txt": the program in the file, brought in as if entered by hand.
    if (const QStringList args = QCoreApplication::arguments(); args.size() > 1)
        Form1.openFile(args.at(1));
    return app.exec();
}
