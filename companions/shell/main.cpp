#include <QApplication>

#include "assets/ProgramIcon.h"
#include "companions/Scenes.h"
#include "companions/shell/ExplainerWindow.h"
#include "companions/shell/SimulatorClient.h"

// One explainer as a desktop program: the program's name picks the scene. When a
// simulator of the same user runs, it opens on the element clicked there and follows
// the simulator's machine.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(procesor::programIcon());
    procesor::explain::SimulatorClient simulator(PROCESOR_EXPLAINER);
    const std::optional<procesor::MachineMessage> first = simulator.connectNow();
    std::optional<procesor::explain::Opening> opening;
    if (first && first->clicked)
        opening =
            procesor::explain::Opening{first->clicked->kind == procesor::ClickedElement::Kind::Image
                                           ? procesor::ElementKind::Image
                                           : procesor::ElementKind::Label,
                                       first->clicked->number};
    std::unique_ptr<procesor::explain::Scene> scene =
        procesor::explain::makeScene(PROCESOR_EXPLAINER, opening ? &*opening : nullptr);
    if (!scene) return 1;
    procesor::explain::ExplainerWindow window(std::move(scene));
    simulator.follow(window);
    window.show();
    return QApplication::exec();
}
