#pragma once

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace korvane::test {

struct HttpAnswer {
    int status = 0;
    QJsonObject body;
    QByteArray retryAfter;
};

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

// One request; the answer once it is complete (status 0 when none came within 30 s).
inline HttpAnswer httpRequest(QNetworkAccessManager& http, const QByteArray& method,
                              const QUrl& url, const QByteArray& body = {},
                              const HttpHeaders& headers = {{"Content-Type", "application/json"}}) {
    QNetworkRequest r(url);
    for (const auto& [k, v] : headers) {
        r.setRawHeader(k, v);
    }
    QNetworkReply* reply = http.sendCustomRequest(r, method, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    HttpAnswer a;
    a.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    a.body = QJsonDocument::fromJson(reply->readAll()).object();
    a.retryAfter = reply->rawHeader("Retry-After");
    reply->deleteLater();
    return a;
}

} // namespace korvane::test
