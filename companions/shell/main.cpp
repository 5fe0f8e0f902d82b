#include <QApplication>

#include "companions/Scenes.h"
#include "assets/ProgramIcon.h"
#include "companions/shell/ExplainerWindow.h"

// One explainer as a desktop program: the program's name picks the scene.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(procesor::programIcon());
    std::unique_ptr<procesor::explain::Scene> scene =
        procesor::explain::makeScene(PROCESOR_EXPLAINER);
    if (!scene) return 1;
    procesor::explain::ExplainerWindow window(std::move(scene));
    window.show();
    return QApplication::exec();
}
