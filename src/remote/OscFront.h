#pragma once

#include "remote/RemoteAction.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <chrono>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace korvane::remote {

class RemoteHub;

// OSC over UDP: button surfaces and show-control programs send actions and subscribe to the
// state. liblo receives on its own thread; everything else happens on this object's thread.
class OscFront : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds kSubscriptionLapse{60};
    static constexpr std::chrono::minutes kAuthorisationLapse{10};

    explicit OscFront(RemoteHub& hub, QObject* parent = nullptr);
    ~OscFront() override;

    // Receives on `port` (0: any free one). Senders beyond this computer are heard only when
    // `loopbackOnly` is false, and then only after /korvane/auth. The port taken, 0 on failure.
    int start(int port, bool loopbackOnly);
    void stop();
    int port() const { return port_; }
    qsizetype subscribers() const { return subscribers_.size(); }
    // Which senders are on this computer (any loopback address unless told otherwise). Tests
    // narrow it, so that a sender on another loopback address plays one beyond this computer.
    void setLocalSender(std::function<bool(const std::string& host)> isLocal) {
        isLocal_ = std::move(isLocal);
    }

    using Argument = std::variant<long long, double, std::string>;
    struct Incoming {
        std::string path;
        std::vector<Argument> args;
        std::string host;
        std::string port;
    };

    // One message as liblo received it; called on this object's thread.
    void handle(const Incoming& in);

private:
    bool allowed(const Incoming& in);
    void subscribe(const Incoming& in);
    void runAction(const Incoming& in, const Checked& checked);
    void sendError(const std::string& host, const std::string& port, const std::string& text);
    void sendState(const std::string& host, const std::string& port, const QJsonObject& state);
    void broadcast(const QJsonObject& changes);

    RemoteHub& hub_;
    void* thread_ = nullptr; // lo_server_thread
    int port_ = 0;
    bool loopbackOnly_ = true;
    std::function<bool(const std::string& host)> isLocal_;
    // "host:port" of each subscriber, and when its subscription lapses.
    QHash<QString, QDeadlineTimer> subscribers_;
    // Hosts beyond this computer that sent the token, and until when.
    QHash<QString, QDeadlineTimer> authorised_;
};

} // namespace korvane::remote
