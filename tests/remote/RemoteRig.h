#pragma once

#include "HttpRequest.h"
#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "remote/CoreDevice.h"
#include "remote/RemoteServer.h"
#include "remote/RemoteSettings.h"
#include "sim/SimPtyServer.h"
#include "support/Hex.h"
#include "support/RecordingSink.h"
#include "support/RecordingSleeper.h"
#include "support/TempFolder.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

namespace korvane::test {

// korvane-server's parts in one process: the simulator on a real pseudo-terminal, the link, the
// device runner and the remote server on loopback with free ports.
struct RemoteRig {
    sim::SimPtyServer sim;
    RecordingSink sink;
    DeviceLink link{nullptr, &sink};
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    OperationContext ctx{link, mirror, facade, &sink};
    // The protocol's pauses, recorded and cut short.
    RecordingSleeper sleeper;
    TempFolder home;
    remote::RemoteSettings settings{home.file("korvaneapp.ini")};
    std::unique_ptr<remote::CoreDevice> device;
    std::unique_ptr<remote::RemoteServer> server;
    QNetworkAccessManager http;

    bool start(const QString& listen = QStringLiteral("127.0.0.1")) {
        sim.start();
        sleeper.attach(link);
        if (link.configureSerialAndOpen({sim.devicePath(), 999, 1, 115200}) != 1) {
            return false;
        }
        applyMirrorDefaults(mirror, kDefaultResolution);
        link.setSendSwitch(1);
        device = std::make_unique<remote::CoreDevice>(ctx, nullptr);
        server = std::make_unique<remote::RemoteServer>(*device, settings);
        return server->start(listen, 0, 0);
    }

    std::size_t frames() const { return sim.receivedFrames().size(); }
    // The frames the simulator accepted since `from`, as hex text.
    std::vector<std::string> framesSince(std::size_t from) const {
        std::vector<std::string> out;
        const auto all = sim.receivedFrames();
        for (std::size_t i = from; i < all.size(); ++i) {
            out.push_back(hex(all[i]));
        }
        return out;
    }
    std::vector<std::uint8_t> codesSince(std::size_t from) const {
        std::vector<std::uint8_t> codes;
        const auto all = sim.receivedFrames();
        for (std::size_t i = from; i < all.size(); ++i) {
            codes.push_back(all[i][frame::kCodeOffset]);
        }
        return codes;
    }

    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server->httpPort()).arg(path));
    }
    HttpAnswer request(const QByteArray& method, const QString& path, const QByteArray& body = {},
                       const HttpHeaders& headers = {{"Content-Type", "application/json"}}) {
        return httpRequest(http, method, url(path), body, headers);
    }
    HttpAnswer post(const QString& path, const QByteArray& body = {}) {
        return request("POST", path, body);
    }
};

} // namespace korvane::test
