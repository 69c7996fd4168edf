#pragma once

#include "remote/RemoteDevice.h"

#include <QElapsedTimer>
#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <deque>
#include <optional>

namespace korvane::remote {

class RemoteSettings;

// The one place remote requests meet the device: every front (HTTP, WebSocket, OSC) hands its
// checked actions here. They run one at a time through the host program's device runner; an
// action that finds the device busy waits for it up to the busy wait, then is answered "busy".
// A client that sends faster than the device can follow is throttled.
class RemoteHub : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kDefaultBusyWait{10000};
    // Per client: a burst of this many actions, then this many per second.
    static constexpr int kBurst = 20;
    static constexpr int kPerSecond = 20;
    static constexpr int kRetryAfterSeconds = 1;

    RemoteHub(RemoteDevice& device, RemoteSettings& settings, QObject* parent = nullptr);

    void setBusyWait(std::chrono::milliseconds wait) { busyWait_ = wait; }

    // `client` names the sender (its address) for throttling and the status line.
    void submit(const QString& client, const RemoteAction& action, RemoteDevice::Done done);

    // The last known state: the device's mirror, the link as last announced, the template names.
    QJsonObject state() const { return state_; }
    // Renames template `slot` (the empty name clears it); the change goes to every listener.
    RemoteReply renameTemplate(int slot, const std::string& name);
    // The slot a template name (or a number as text) stands for.
    std::optional<int> slotNamed(const std::string& name) const;
    // True when the token matches the stored one (compared in constant time).
    bool tokenMatches(const QByteArray& token) const;
    // The token to check against (the server sets it when it starts; none matches before).
    void setToken(const QByteArray& token) { token_ = token; }

    // Reads the device's state again once it is free and announces what changed.
    void refresh();

signals:
    // The entries of the state that changed (the whole state is state()).
    void stateChanged(const QJsonObject& changes);
    // What a remote client did, for the status bar ("192.0.2.1: recall template 3").
    void activity(const QString& text, bool failed);

private:
    struct Pending {
        QString client;
        RemoteAction action;
        RemoteDevice::Done done;
        QElapsedTimer waiting;
    };
    struct Bucket {
        double tokens = kBurst;
        QElapsedTimer since;
    };
    bool admit(const QString& client);
    void pump();
    void schedulePump();
    void finished(const Pending& p, const RemoteReply& reply);
    void updateState();
    void linkChanged(const LinkStatus& status);
    // Why nothing may be sent now (the link is lost or closed); none when it may.
    std::optional<RemoteReply> linkRefusal() const;

    RemoteDevice& device_;
    RemoteSettings& settings_;
    std::chrono::milliseconds busyWait_ = kDefaultBusyWait;
    std::deque<Pending> queue_;
    QHash<QString, Bucket> buckets_;
    bool running_ = false;
    bool refreshWanted_ = false;
    QTimer pump_;
    QJsonObject state_;
    LinkStatus link_;
    QByteArray token_;
};

} // namespace korvane::remote
