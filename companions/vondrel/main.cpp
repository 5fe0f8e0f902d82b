#include <QApplication>

#include "companions/common/Look.h"
#include "companions/vondrel/ControlUnitWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    companion::look::applyToApplication();
    companion::ControlUnitWindow window;
    window.show();
    return QApplication::exec();
}
