#pragma once

#include "remote/HttpFront.h"
#include "remote/OscFront.h"
#include "remote/RemoteHub.h"
#include "remote/RemoteSettings.h"

#include <QObject>
#include <QString>
#include <memory>

namespace korvane::remote {

// The remote-control layer as a program hosts it: the hub over the host's device, with the HTTP
// and OSC fronts listening where the settings say.
class RemoteServer : public QObject {
    Q_OBJECT
public:
    RemoteServer(RemoteDevice& device, RemoteSettings& settings, QObject* parent = nullptr);
    ~RemoteServer() override;

    // Starts both fronts (port 0: any free one; a negative port leaves that front off); false, with
    // the reason in lastError(), when one of them could not listen (the other is stopped again).
    bool start(const QString& listen, int httpPort, int oscPort);
    void stop();
    bool running() const { return http_ != nullptr || osc_ != nullptr; }
    QString lastError() const { return error_; }

    int httpPort() const { return http_ ? http_->port() : 0; }
    int oscPort() const { return osc_ ? osc_->port() : 0; }
    QString listenAddress() const { return listen_; }
    // The web page's address with the token, for the tablet ("http://host:port/#token=...").
    QString pageAddress(const QString& host) const;

    RemoteHub& hub() { return hub_; }
    HttpFront* http() { return http_.get(); }
    OscFront* osc() { return osc_.get(); }

signals:
    void runningChanged(bool running);

private:
    RemoteSettings& settings_;
    RemoteHub hub_;
    std::unique_ptr<HttpFront> http_;
    std::unique_ptr<OscFront> osc_;
    QString listen_;
    QString error_;
};

} // namespace korvane::remote
