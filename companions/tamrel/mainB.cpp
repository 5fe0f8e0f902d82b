#include <QApplication>

#include "companions/common/Look.h"
#include "companions/tamrel/RegisterWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    companion::look::applyToApplication();
    companion::RegisterWindow window(companion::RegisterName::B);
    window.show();
    return QApplication::exec();
}
