#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <deque>
#include <string>

#include "model/MachineMessage.h"

class QLocalServer;
class QLocalSocket;

namespace procesor {

// The student's machine offered to the explainers on the desktop: a local server
// with a name per user. An explainer connects, says its command, and gets the state
// at once — with the element clicked, when the simulator has just started that
// command for one — and then every state that differs from the last one sent. An
// explainer that says something else is dropped. When another simulator of the same
// user serves the name already, this one serves nobody (and fails at nothing).
class ExplainerServer final : public QObject {
    Q_OBJECT
public:
    explicit ExplainerServer(QString name = userServerName(), QObject* parent = nullptr);
    ~ExplainerServer() override;

    // The name explainers look for (model/MachineMessage.h).
    static QString userServerName() { return QString::fromStdString(procesor::userServerName()); }

    bool serving() const;
    const QString& name() const { return name_; }
    // The machine after an update; sent to every explainer when it changed.
    void offer(const MachineMessage& state);
    // An explainer of `command` is being started from `element`: the next one of
    // that command to connect opens on it.
    void launching(const std::string& command, ClickedElement element);
    // Explainers connected that have said their command.
    int explainers() const;

private:
    struct Client {
        QLocalSocket* socket;
        QByteArray heard;
        bool greeted = false;
    };
    struct Launch {
        std::string command;
        ClickedElement element;
    };
    void connection();
    void heard(QLocalSocket* socket);
    void send(Client& client, const std::vector<std::uint8_t>& bytes);

    QString name_;
    QLocalServer* server_ = nullptr;
    QList<Client> clients_;
    std::deque<Launch> launches_;
    MachineMessage state_;
    std::vector<std::uint8_t> sent_; // the bytes of the state last sent
};

} // namespace procesor
