// The simulator's start exactly as main() does it, with the end of the first
// frame marked (FirstPaint.h).
#include <QApplication>
#include <QStyleHints>

#include "bench/FirstPaint.h"
#include "assets/ProgramIcon.h"
#include "display/TForm1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(procesor::programIcon());
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    procesor::TForm1 Form1;
    FirstPaint mark(&Form1);
    Form1.show();
    return app.exec();
}
