#pragma once

#include <QByteArray>
#include <QLocalSocket>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <string>

#include "companions/common/SimulatorLink.h"
#include "companions/shell/ExplainerWindow.h"
#include "model/MachineMessage.h"

namespace procesor::explain {

// The explainer's side of the simulator's local server: it connects if a simulator
// runs, says its command, takes the first state (with the element clicked, which the
// scene opens on) and then hands every state to the window's scene. Without a
// simulator, or once the connection is lost or garbled, the explainer is itself.
class SimulatorClient final : public QObject {
    Q_OBJECT
public:
    explicit SimulatorClient(std::string command, const QString& serverName = {});
    ~SimulatorClient() override;

    // Connects, says the command and takes what comes, from the event loop.
    void start();
    // The first state once it has come.
    std::optional<MachineMessage> first() const;
    // start(), then waits at most `waitMs` for the first state; none without one.
    std::optional<MachineMessage> connectNow(int waitMs = 1500);
    // From now on the states go to the window's scene, the first one too.
    void follow(ExplainerWindow& window);
    bool connected() const { return socket_.state() == QLocalSocket::ConnectedState; }

private:
    void heard();

    std::string command_;
    QString name_;
    QLocalSocket socket_;
    QByteArray early_;                 // what came before the scene was there
    QPointer<ExplainerWindow> window_; // its scene goes with it
    std::unique_ptr<SimulatorLink> link_;
};

} // namespace procesor::explain
