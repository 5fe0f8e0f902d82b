#include <QApplication>

#include "companions/common/Look.h"
#include "companions/sarvek/CounterWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    companion::look::applyToApplication();
    companion::CounterWindow window;
    window.show();
    return QApplication::exec();
}
