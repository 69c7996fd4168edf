#include "remote/HttpFront.h"

#include "remote/RemoteHub.h"
#include "tools/CommandCatalogue.h"
#include "tools/QualityItems.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QUrl>
#include <QWebSocket>
#include <cmath>

namespace korvane::remote {

namespace {
using Method = QHttpServerRequest::Method;
using Kind = RemoteAction::Kind;

constexpr char kJson[] = "application/json";
constexpr char kWebRoot[] = ":/web";
constexpr char kEventsPath[] = "/api/events";
constexpr char kBearer[] = "Bearer ";

const char* reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 409:
        return "Conflict";
    case 413:
        return "Payload Too Large";
    case 503:
        return "Service Unavailable";
    }
    return "Error";
}

QByteArray header(const QHttpServerRequest& r, QByteArrayView name) {
    for (const auto& [key, value] : r.headers()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

bool wantsClose(const QHttpServerRequest& r) {
    return header(r, "Connection").compare("close", Qt::CaseInsensitive) == 0;
}

void write(QTcpSocket* socket, int status, const QByteArray& type, const QByteArray& body,
           bool close, int retryAfter = 0) {
    if (socket == nullptr || socket->state() != QAbstractSocket::ConnectedState) {
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    head += "Content-Type: " + type + "\r\nContent-Length: " + QByteArray::number(body.size()) +
            "\r\nCache-Control: no-store\r\n";
    if (retryAfter > 0) {
        head += "Retry-After: " + QByteArray::number(retryAfter) + "\r\n";
    }
    if (close) {
        head += "Connection: close\r\n";
    }
    socket->write(head + "\r\n" + body);
    if (close) {
        socket->disconnectFromHost();
    }
}

void writeJson(QTcpSocket* socket, const QHttpServerRequest& r, int status, const QJsonObject& body,
               int retryAfter = 0) {
    write(socket, status, kJson, QJsonDocument(body).toJson(QJsonDocument::Compact), wantsClose(r),
          retryAfter);
}

void writeReply(QTcpSocket* socket, const QHttpServerRequest& r, const RemoteReply& reply) {
    if (reply.ok()) {
        writeJson(socket, r, 200, {{QStringLiteral("ok"), true}});
    } else {
        writeJson(socket, r, static_cast<int>(reply.status),
                  {{QStringLiteral("error"), QString::fromStdString(reply.error)}},
                  reply.retryAfter);
    }
}

void writeError(QTcpSocket* socket, const QHttpServerRequest& r, RemoteStatus status,
                const std::string& text) {
    writeReply(socket, r, RemoteReply::failure(status, text));
}

// A whole number; none for anything else (a string, a fraction, a missing key).
std::optional<long long> wholeNumber(const QJsonValue& v) {
    if (!v.isDouble()) {
        return std::nullopt;
    }
    const double d = v.toDouble();
    if (std::floor(d) != d || std::fabs(d) > 1e9) {
        return std::nullopt;
    }
    return static_cast<long long>(d);
}

std::optional<long long> flag(const QJsonValue& v) {
    if (v.isBool()) {
        return v.toBool() ? 1 : 0;
    }
    return wholeNumber(v);
}

Checked refused(std::string text) {
    return {std::nullopt, std::move(text)};
}

Checked numberField(const QJsonObject& body, const char* key, Checked (*make)(long long value)) {
    const auto n = wholeNumber(body.value(QLatin1String(key)));
    if (!n) {
        return refused(std::string("\"") + key + "\" must be a whole number");
    }
    return make(*n);
}

// The origin a page of this server has: the scheme and the Host it was asked by.
bool sameOrigin(const QByteArray& origin, const QByteArray& host) {
    return origin.isEmpty() || origin == "http://" + host;
}
} // namespace

HttpFront::HttpFront(RemoteHub& hub, QObject* parent) : QAbstractHttpServer(parent), hub_(hub) {
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this,
            &HttpFront::acceptEventSockets);
    connect(&hub_, &RemoteHub::stateChanged, this, &HttpFront::broadcast);
}

HttpFront::~HttpFront() {
    for (QWebSocket* ws : std::as_const(events_)) {
        ws->disconnect(this);
        delete ws;
    }
}

quint16 HttpFront::start(const QHostAddress& address, quint16 port) {
    loopbackOnly_ = address.isLoopback();
    port_ = listen(address, port);
    return port_;
}

void HttpFront::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    writeError(socket, request, RemoteStatus::NotFound, "unknown path");
}

bool HttpFront::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    const QString path = request.url().path();
    if (path == QLatin1String(kEventsPath) &&
        header(request, "Upgrade").compare("websocket", Qt::CaseInsensitive) == 0) {
        return true; // the server turns the connection into an events socket
    }
    route(request, socket);
    return true;
}

bool HttpFront::serveFile(const QString& path, QTcpSocket* socket) {
    static const QHash<QString, QByteArray> kFiles{
        {QStringLiteral("/"), "index.html"},
        {QStringLiteral("/index.html"), "index.html"},
        {QStringLiteral("/remote.css"), "remote.css"},
        {QStringLiteral("/remote.js"), "remote.js"},
    };
    const auto it = kFiles.find(path);
    if (it == kFiles.end()) {
        return false;
    }
    QFile file(QLatin1String(kWebRoot) + QLatin1Char('/') + QLatin1String(*it));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray type = it->endsWith(".html")  ? "text/html; charset=utf-8"
                            : it->endsWith(".css") ? "text/css; charset=utf-8"
                                                   : "text/javascript; charset=utf-8";
    write(socket, 200, type, file.readAll(), false);
    return true;
}

void HttpFront::route(const QHttpServerRequest& r, QTcpSocket* socket) {
    const QString path = r.url().path();
    const bool get = r.method() == Method::Get;
    if (get && serveFile(path, socket)) {
        return;
    }
    if (r.body().size() > kMaxBody || header(r, "Content-Length").toLongLong() > kMaxBody) {
        writeError(socket, r, RemoteStatus::TooLarge,
                   "the body is larger than " + std::to_string(kMaxBody) + " bytes");
        return;
    }
    // A page of another site open in a browser on this computer must not reach the processor.
    if (!sameOrigin(header(r, "Origin"), header(r, "Host"))) {
        writeError(socket, r, RemoteStatus::Forbidden, "requests from other sites are refused");
        return;
    }
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.value(0) != QLatin1String("api")) {
        writeError(socket, r, RemoteStatus::NotFound, "unknown path");
        return;
    }
    const QString what = parts.value(1);
    if (get) {
        if (parts.size() == 2 && what == QLatin1String("state")) {
            writeJson(socket, r, 200, hub_.state());
        } else if (parts.size() == 2 && what == QLatin1String("events")) {
            writeError(socket, r, RemoteStatus::BadRequest, "the events socket is a WebSocket");
        } else {
            writeError(socket, r, RemoteStatus::NotFound, "unknown path");
        }
        return;
    }
    if (r.method() != Method::Post && r.method() != Method::Put) {
        writeError(socket, r, RemoteStatus::NotFound, "unknown path");
        return;
    }
    // Writes: a form of another page cannot send JSON without the browser asking first.
    const QByteArray type = header(r, "Content-Type");
    if (!type.startsWith(kJson)) {
        writeError(socket, r, RemoteStatus::BadRequest, "write requests must be application/json");
        return;
    }
    QJsonObject body;
    if (!r.body().trimmed().isEmpty()) {
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(r.body(), &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject()) {
            writeError(socket, r, RemoteStatus::BadRequest, "the body must be a JSON object");
            return;
        }
        body = doc.object();
    }
    const bool put = r.method() == Method::Put;
    const bool post = !put;
    Checked checked;
    bool known = true;
    if (what == QLatin1String("templates") && parts.size() == 4) {
        const auto slot = hub_.slotNamed(parts[2].toStdString());
        const QString verb = parts[3];
        if (!slot) {
            writeError(socket, r, RemoteStatus::NotFound,
                       "no template named '" + parts[2].toStdString() + "'");
            return;
        }
        if (put && verb == QLatin1String("name")) {
            if (!loopbackOnly_ &&
                !hub_.tokenMatches(header(r, "Authorization").mid(int(sizeof kBearer) - 1))) {
                writeError(socket, r, RemoteStatus::Unauthorized, "a valid token is needed");
                return;
            }
            const QJsonValue name = body.value(QLatin1String("name"));
            if (!name.isString()) {
                writeError(socket, r, RemoteStatus::BadRequest, "\"name\" must be a string");
                return;
            }
            writeReply(socket, r, hub_.renameTemplate(*slot, name.toString().toStdString()));
            return;
        }
        if (post && verb == QLatin1String("recall")) {
            checked = slotAction(Kind::Recall, *slot);
        } else if (post && verb == QLatin1String("store")) {
            checked = slotAction(Kind::Store, *slot);
        } else {
            known = false;
        }
    } else if (!post) {
        known = false;
    } else if (what == QLatin1String("inputs") && parts.size() == 3) {
        const auto picture = parts[2].toInt();
        const QJsonValue input = body.value(QLatin1String("input"));
        if (picture != 1 && picture != 2) {
            writeError(socket, r, RemoteStatus::NotFound, "picture must be 1 or 2");
            return;
        }
        checked = input.isString()     ? inputAction(picture, input.toString().toStdString())
                  : wholeNumber(input) ? inputAction(picture, *wholeNumber(input))
                                       : refused("\"input\" must be an input name or code");
    } else if (what == QLatin1String("freeze") && parts.size() == 2) {
        const auto on = flag(body.value(QLatin1String("on")));
        checked = on ? flagAction(Kind::Freeze, *on) : refused("\"on\" must be true or false");
    } else if (what == QLatin1String("quality") && parts.size() == 3) {
        const QJsonValue value = body.value(QLatin1String("value"));
        const QJsonValue step = body.value(QLatin1String("step"));
        if ((!value.isUndefined() && !wholeNumber(value)) ||
            (!step.isUndefined() && !wholeNumber(step))) {
            checked = refused("\"value\" and \"step\" must be whole numbers");
        } else {
            checked = qualityAction(parts[2].toStdString(), wholeNumber(value), wholeNumber(step));
            if (!checked.action && !ctl::findQualityItem(parts[2].toStdString())) {
                writeError(socket, r, RemoteStatus::NotFound, checked.error);
                return;
            }
        }
    } else if (what == QLatin1String("volume") && parts.size() == 2) {
        checked = numberField(body, "value", volumeAction);
    } else if (what == QLatin1String("testpattern") && parts.size() == 2) {
        checked = numberField(body, "pattern", testPatternAction);
    } else if (what == QLatin1String("sync") && parts.size() == 2) {
        checked.action = RemoteAction{};
    } else if (what == QLatin1String("commands") && parts.size() == 3) {
        const QString name = parts[2];
        if (ctl::findCommand(name.toStdString()) == nullptr) {
            writeError(socket, r, RemoteStatus::NotFound,
                       "unknown command '" + name.toStdString() + "'");
            return;
        }
        const QJsonValue args = body.value(QLatin1String("args"));
        std::vector<std::string> words;
        bool wordsOk = args.isUndefined() || args.isArray();
        for (const QJsonValue& a : args.toArray()) {
            if (a.isString()) {
                words.push_back(a.toString().toStdString());
            } else if (const auto n = wholeNumber(a)) {
                words.push_back(std::to_string(*n));
            } else {
                wordsOk = false;
            }
        }
        checked = wordsOk ? commandAction(name.toStdString(), words)
                          : refused("\"args\" must be a list of numbers and names");
    } else {
        known = false;
    }
    if (!known) {
        writeError(socket, r, RemoteStatus::NotFound, "unknown path");
        return;
    }
    submit(r, socket, checked);
}

void HttpFront::submit(const QHttpServerRequest& r, QTcpSocket* socket, const Checked& checked) {
    if (!checked.action) {
        writeError(socket, r, RemoteStatus::BadRequest, checked.error);
        return;
    }
    if ((!loopbackOnly_ || checked.action->needsToken())) {
        const QByteArray auth = header(r, "Authorization");
        if (!auth.startsWith(kBearer) || !hub_.tokenMatches(auth.mid(int(sizeof kBearer) - 1))) {
            writeError(socket, r, RemoteStatus::Unauthorized,
                       auth.isEmpty() ? "this request needs the token" : "the token is wrong");
            return;
        }
    }
    const bool close = wantsClose(r);
    QPointer<QTcpSocket> alive(socket);
    hub_.submit(
        r.remoteAddress().toString(), *checked.action, [alive, close](const RemoteReply& reply) {
            if (!alive) {
                return;
            }
            const QJsonObject body =
                reply.ok()
                    ? QJsonObject{{QStringLiteral("ok"), true}}
                    : QJsonObject{{QStringLiteral("error"), QString::fromStdString(reply.error)}};
            write(alive, static_cast<int>(reply.status), kJson,
                  QJsonDocument(body).toJson(QJsonDocument::Compact), close, reply.retryAfter);
        });
}

void HttpFront::acceptEventSockets() {
    while (hasPendingWebSocketConnections()) {
        QWebSocket* ws = nextPendingWebSocketConnection().release();
        const QUrl own = ws->requestUrl();
        const QString origin = ws->origin();
        const QString expected = QStringLiteral("http://%1:%2").arg(own.host()).arg(own.port());
        if (!origin.isEmpty() && origin != expected) {
            ws->close(QWebSocketProtocol::CloseCodePolicyViolated,
                      QStringLiteral("requests from other sites are refused"));
            ws->deleteLater();
            continue;
        }
        events_.append(ws);
        connect(ws, &QWebSocket::disconnected, this, [this, ws] {
            events_.removeAll(ws);
            ws->deleteLater();
        });
        ws->sendTextMessage(
            QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("state"), hub_.state()}})
                                  .toJson(QJsonDocument::Compact)));
    }
}

void HttpFront::broadcast(const QJsonObject& changes) {
    const QString text =
        QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("state"), changes}})
                              .toJson(QJsonDocument::Compact));
    for (QWebSocket* ws : std::as_const(events_)) {
        ws->sendTextMessage(text);
    }
}

} // namespace korvane::remote
