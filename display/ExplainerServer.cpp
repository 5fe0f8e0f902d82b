#include "display/ExplainerServer.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace procesor {

namespace {

// Launches whose explainer never came are not kept for ever.
constexpr std::size_t kMaxLaunches = 16;
// How long a simulator asks whether another one serves the name already.
constexpr int kProbeMs = 200;

} // namespace

ExplainerServer::ExplainerServer(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
    // Another simulator's server answers: this one leaves it alone. (Listening would
    // take the name over from it.) A name that nobody answers on is one left behind
    // by a simulator that crashed, and is taken.
    {
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(kProbeMs)) return;
    }
    QLocalServer::removeServer(name_);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name_)) {
        delete server;
        return;
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &ExplainerServer::connection);
}

ExplainerServer::~ExplainerServer() = default;

bool ExplainerServer::serving() const {
    return server_ != nullptr;
}

int ExplainerServer::explainers() const {
    int n = 0;
    for (const Client& c : clients_) n += c.greeted ? 1 : 0;
    return n;
}

void ExplainerServer::connection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        clients_.append({socket, {}, false});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { heard(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            for (qsizetype i = 0; i < clients_.size(); ++i)
                if (clients_[i].socket == socket) clients_.removeAt(i);
            socket->deleteLater();
        });
    }
}

void ExplainerServer::heard(QLocalSocket* socket) {
    for (Client& c : clients_) {
        if (c.socket != socket) continue;
        c.heard += socket->readAll();
        if (c.greeted) {
            c.heard.clear(); // an explainer says nothing after its hello
            return;
        }
        const HelloResult hello =
            decodeHello({reinterpret_cast<const std::uint8_t*>(c.heard.constData()),
                         std::size_t(c.heard.size())});
        if (hello.status == HelloResult::Status::Incomplete) return;
        if (hello.status == HelloResult::Status::Refused) {
            socket->abort();
            return;
        }
        c.greeted = true;
        c.heard.clear();
        MachineMessage first = state_;
        for (auto it = launches_.begin(); it != launches_.end(); ++it)
            if (it->command == hello.command) {
                first.clicked = it->element;
                launches_.erase(it);
                break;
            }
        send(c, encodeMessage(first));
        return;
    }
}

void ExplainerServer::send(Client& client, const std::vector<std::uint8_t>& bytes) {
    client.socket->write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

void ExplainerServer::offer(const MachineMessage& state) {
    state_ = state;
    state_.clicked.reset();
    if (!server_) return;
    std::vector<std::uint8_t> bytes = encodeMessage(state_);
    if (bytes == sent_) return;
    sent_ = bytes;
    for (Client& c : clients_)
        if (c.greeted) send(c, bytes);
}

void ExplainerServer::launching(const std::string& command, ClickedElement element) {
    if (!server_) return;
    launches_.push_back({command, element});
    while (launches_.size() > kMaxLaunches) launches_.pop_front();
}

} // namespace procesor
