#include <QApplication>

#include "companions/plimo/GateWindow.h"
#include "companions/common/Look.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    companion::look::applyToApplication();
    companion::GateWindow window;
    window.show();
    return QApplication::exec();
}
