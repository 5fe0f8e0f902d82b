#include <QApplication>

#include "companions/common/Look.h"
#include "companions/quobin/AdderWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    companion::look::applyToApplication();
    companion::AdderWindow window;
    window.show();
    return QApplication::exec();
}
