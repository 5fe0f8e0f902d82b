#include "companions/shell/SimulatorClient.h"

#include <QElapsedTimer>

#include "companions/shell/ExplainerWindow.h"

namespace procesor::explain {

namespace {

constexpr int kConnectMs = 300;

std::span<const std::uint8_t> bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()), std::size_t(a.size())};
}

} // namespace

SimulatorClient::SimulatorClient(std::string command, const QString& serverName)
    : command_(std::move(command)),
      name_(serverName.isEmpty() ? QString::fromStdString(userServerName()) : serverName) {}

void SimulatorClient::start() {
    connect(&socket_, &QLocalSocket::connected, this, [this] {
        const std::vector<std::uint8_t> hello = encodeHello(command_);
        socket_.write(reinterpret_cast<const char*>(hello.data()), qint64(hello.size()));
        socket_.flush();
    });
    connect(&socket_, &QLocalSocket::readyRead, this, &SimulatorClient::heard);
    connect(&socket_, &QLocalSocket::disconnected, this, [this] {
        if (!link_ || !window_) return;
        link_->lost();
        window_->refresh();
    });
    socket_.connectToServer(name_);
}

SimulatorClient::~SimulatorClient() {
    socket_.disconnect(this); // the socket's own close says nothing to a scene any more
}

std::optional<MachineMessage> SimulatorClient::first() const {
    if (early_.size() < qsizetype(kMessageLength)) return std::nullopt;
    return decodeMessage(bytesOf(early_).first(kMessageLength));
}

std::optional<MachineMessage> SimulatorClient::connectNow(int waitMs) {
    start();
    if (!socket_.waitForConnected(kConnectMs)) return std::nullopt;
    QElapsedTimer waited;
    waited.start();
    while (early_.size() < qsizetype(kMessageLength) && waited.elapsed() < waitMs) {
        if (!socket_.waitForReadyRead(int(waitMs - waited.elapsed()))) break;
        heard();
    }
    return first();
}

void SimulatorClient::follow(ExplainerWindow& window) {
    window_ = &window;
    link_ = std::make_unique<SimulatorLink>(window.scene());
    if (!connected()) return;
    if (!early_.isEmpty() && !link_->received(bytesOf(std::exchange(early_, {})))) socket_.abort();
    heard();
    window_->refresh();
}

void SimulatorClient::heard() {
    if (!link_) {
        early_ += socket_.readAll(); // until the scene is there
        return;
    }
    const QByteArray bytes = socket_.readAll();
    if (bytes.isEmpty() || !window_) return;
    if (!link_->received(bytesOf(bytes))) socket_.abort(); // garbled: following ends
    window_->refresh();
}

} // namespace procesor::explain
