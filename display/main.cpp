#include <QApplication>
#include <QStyleHints>

#include "assets/ProgramIcon.h"
#include "display/TForm1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(procesor::programIcon());
    // A steady caret: nothing in the window wakes up while the machine stands still.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    procesor::TForm1 Form1;
    Form1.show();
    return app.exec();
}
