#include <QApplication>

#include "companions/common/Look.h"
#include "companions/plimo/GateWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    companion::look::applyToApplication();
    companion::GateWindow window;
    window.show();
    return QApplication::exec();
}
