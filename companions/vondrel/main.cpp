#include <QApplication>

#include "ControlUnitWindow.h"
#include "Look.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    companion::look::applyToApplication();
    companion::ControlUnitWindow window;
    window.show();
    return QApplication::exec();
}
