#include "remote/RemoteServer.h"

#include <QHostAddress>

namespace korvane::remote {

RemoteServer::RemoteServer(RemoteDevice& device, RemoteSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings), hub_(device, settings) {}

RemoteServer::~RemoteServer() {
    stop();
}

bool RemoteServer::start(const QString& listen, int httpPort, int oscPort) {
    stop();
    const QHostAddress address(listen);
    if (address.isNull()) {
        error_ = QStringLiteral("not an address: %1").arg(listen);
        return false;
    }
    listen_ = listen;
    hub_.setToken(QByteArray::fromStdString(settings_.token()));
    if (httpPort >= 0) {
        http_ = std::make_unique<HttpFront>(hub_);
        if (http_->start(address, static_cast<quint16>(httpPort)) == 0) {
            error_ = QStringLiteral("HTTP port %1 on %2 is taken").arg(httpPort).arg(listen);
            stop();
            return false;
        }
    }
    if (oscPort >= 0) {
        osc_ = std::make_unique<OscFront>(hub_);
        if (osc_->start(oscPort, address.isLoopback()) == 0) {
            error_ = QStringLiteral("OSC port %1 is taken").arg(oscPort);
            stop();
            return false;
        }
    }
    error_.clear();
    emit runningChanged(true);
    return true;
}

void RemoteServer::stop() {
    const bool was = running();
    http_.reset();
    osc_.reset();
    if (was) {
        emit runningChanged(false);
    }
}

QString RemoteServer::pageAddress(const QString& host) const {
    return QStringLiteral("http://%1:%2/#token=%3")
        .arg(host)
        .arg(httpPort())
        .arg(QString::fromStdString(settings_.token()));
}

} // namespace korvane::remote
