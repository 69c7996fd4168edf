#pragma once

#include "remote/RemoteAction.h"

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QPointer>
#include <memory>

class QTcpSocket;
class QWebSocket;

namespace korvane::remote {

class RemoteHub;

// The HTTP API, the events socket and the web page, on one port. Requests are checked here
// (size, origin, content type, token, path, values) so that a refused one sends nothing.
class HttpFront : public QAbstractHttpServer {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxBody = 64 * 1024;

    HttpFront(RemoteHub& hub, QObject* parent = nullptr);
    ~HttpFront() override;

    // Listens on `address` (port 0: any free one); the port taken, 0 on failure.
    quint16 start(const QHostAddress& address, quint16 port);
    quint16 port() const { return port_; }
    // Clients beyond this computer must send the token with every write.
    bool loopbackOnly() const { return loopbackOnly_; }
    qsizetype eventClients() const { return events_.size(); }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    struct Route;
    void route(const QHttpServerRequest& request, QTcpSocket* socket);
    bool serveFile(const QString& path, QTcpSocket* socket);
    void submit(const QHttpServerRequest& request, QTcpSocket* socket, const Checked& checked);
    void acceptEventSockets();
    void broadcast(const QJsonObject& changes);

    RemoteHub& hub_;
    quint16 port_ = 0;
    bool loopbackOnly_ = true;
    QList<QWebSocket*> events_;
};

} // namespace korvane::remote
