// Latency of remote actions from the client to the frame on the line and to the state update at
// a subscriber, and the throughput of state reads, on loopback against the simulator on a
// pseudo-terminal; and how soon an events-socket client hears the line go and come back. Prints
// medians and 99th percentiles; asserts nothing.
#include "HttpRequest.h"
#include "OscClient.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/LinkWatcher.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "remote/CoreDevice.h"
#include "remote/RemoteServer.h"
#include "remote/RemoteSettings.h"
#include "sim/SimPtyServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QWebSocket>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

using namespace korvane;

namespace {

struct Figures {
    double median;
    double p99;
};

Figures figures(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)]};
}

// Runs the event loop until `done`; false after 5 s.
bool spinUntil(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (t.elapsed() > 5000) {
            return false;
        }
    }
    return true;
}

void print(const char* what, const Figures& f, int n) {
    std::printf("%-46s median %7.3f ms  p99 %7.3f ms  (n = %d)\n", what, f.median, f.p99, n);
}

// The simulator's line pulled (its path goes with it) and plugged back `rounds` times, with the
// link watched as korvane-server watches it: from the link telling its listeners "lost" (or
// "connected") to the message at an events socket client, which is what the remote layer adds.
int linkRounds(int rounds) {
    QTemporaryDir home;
    const std::string path = home.filePath(QStringLiteral("ttyKv")).toStdString();
    sim::SimPtyServer sim(sim::SimModel{}, path);
    sim.start();
    DeviceLink link;
    ParameterMirror mirror{};
    CommandFacade facade(link, mirror);
    if (link.configureSerialAndOpen({path, 999, 1, 115200}) != 1) {
        return 1;
    }
    applyMirrorDefaults(mirror, kDefaultResolution);
    link.setSendSwitch(1);
    LinkWatcher::Timing timing = LinkWatcher::kDefaultTiming;
    timing.keepAlive = std::chrono::milliseconds{0}; // a serial hang-up needs no probe
    LinkWatcher watcher(link, timing);
    using Clock = std::chrono::steady_clock;
    // Written by whichever thread the link tells on; read once the client has heard.
    std::atomic<Clock::rep> toldAt{0};
    const int listener = link.addLinkListener([&](const LinkStatus& s) {
        if (s.state == LinkState::Lost || s.state == LinkState::Connected) {
            toldAt = Clock::now().time_since_epoch().count();
        }
    });
    const OperationContext ctx{link, mirror, facade, nullptr};
    remote::CoreDevice device(ctx, nullptr);
    remote::RemoteSettings settings(home.filePath("korvaneapp.ini").toStdString());
    remote::RemoteServer server(device, settings);
    if (!server.start(QStringLiteral("127.0.0.1"), 0, 0)) {
        return 1;
    }
    // The time the client heard each state; the link's own time of the same state beside it.
    std::map<QString, std::pair<Clock::rep, Clock::rep>> heard;
    QWebSocket ws;
    QObject::connect(&ws, &QWebSocket::textMessageReceived, [&](const QString& m) {
        const QJsonObject s = QJsonDocument::fromJson(m.toUtf8())["state"].toObject();
        if (s.contains(QLatin1String("Link"))) {
            heard[s.value(QLatin1String("Link")).toString()] = {
                toldAt.load(), Clock::now().time_since_epoch().count()};
        }
    });
    const auto hear = [&](const char* state) {
        return spinUntil([&] { return heard.count(QLatin1String(state)) != 0; });
    };
    ws.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(server.httpPort())));
    if (!hear("connected")) {
        return 1;
    }
    const auto ms = [](Clock::rep from, Clock::rep to) {
        return std::chrono::duration<double, std::milli>(Clock::duration(to - from)).count();
    };
    std::vector<double> lost, back;
    for (int i = 0; i < rounds; ++i) {
        heard.clear();
        sim.stop();
        // "reconnecting" follows "lost" at once, and may be heard before the next look.
        if (!hear("lost") || !hear("reconnecting")) {
            return 1;
        }
        lost.push_back(ms(heard["lost"].first, heard["lost"].second));
        sim.start();
        if (!hear("connected")) {
            return 1;
        }
        back.push_back(ms(heard["connected"].first, heard["connected"].second));
    }
    link.removeLinkListener(listener);
    print("link lost -> \"lost\" at an events client", figures(lost), rounds);
    print("link back -> \"connected\" at an events client", figures(back), rounds);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000;

    sim::SimPtyServer sim;
    sim.start();
    DeviceLink link;
    ParameterMirror mirror{};
    CommandFacade facade(link, mirror);
    if (link.configureSerialAndOpen({sim.devicePath(), 999, 1, 115200}) != 1) {
        std::fprintf(stderr, "cannot open the simulator's terminal\n");
        return 1;
    }
    applyMirrorDefaults(mirror, kDefaultResolution);
    link.setSendSwitch(1);
    const OperationContext ctx{link, mirror, facade, nullptr};
    remote::CoreDevice device(ctx, nullptr);
    QTemporaryDir home;
    remote::RemoteSettings settings(home.filePath("korvaneapp.ini").toStdString());
    remote::RemoteServer server(device, settings);
    // One client sends as fast as the bench does: no throttling in the way of the figures.
    server.hub().setBusyWait(std::chrono::seconds(10));
    if (!server.start(QStringLiteral("127.0.0.1"), 0, 0)) {
        return 1;
    }

    test::OscClient osc;
    osc.target(server.oscPort());
    osc.sendNothing("/korvane/subscribe");
    spinUntil([&] { return osc.count("/korvane/state/Link") == 1; });

    std::vector<double> toFrame, toSubscriber, httpToFrame, httpAnswer;
    QElapsedTimer t;
    int value = 0;
    for (int i = 0; i < n; ++i) {
        // Alternating values, so that every action changes the state.
        value = value == 40 ? 41 : 40;
        if (i % 100 == 99) {
            osc.sendNothing("/korvane/subscribe"); // renewed well within its 60 s
        }
        const std::size_t frames = sim.receivedFrames().size();
        const std::string expected = std::to_string(value);
        t.start();
        osc.sendInt("/korvane/brightness", value);
        double frameAt = -1;
        spinUntil([&] {
            if (frameAt < 0 && sim.receivedFrames().size() > frames) {
                frameAt = static_cast<double>(t.nsecsElapsed()) / 1e6;
            }
            return frameAt >= 0 && osc.last("/korvane/state/Brightness") == expected;
        });
        toFrame.push_back(frameAt);
        toSubscriber.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        // Past the throttle's rate: one client's steady pace, not a flood.
        spinUntil([&, start = t.nsecsElapsed()] { return t.nsecsElapsed() - start > 50'000'000; });
    }
    QNetworkAccessManager http;
    const QUrl action(QStringLiteral("http://127.0.0.1:%1/api/volume").arg(server.httpPort()));
    for (int i = 0; i < n; ++i) {
        value = value == 40 ? 41 : 40;
        const std::size_t frames = sim.receivedFrames().size();
        QNetworkRequest r(action);
        r.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        t.start();
        QNetworkReply* reply =
            http.post(r, QByteArray("{\"value\":") + QByteArray::number(value) + "}");
        double frameAt = -1;
        spinUntil([&] {
            if (frameAt < 0 && sim.receivedFrames().size() > frames) {
                frameAt = static_cast<double>(t.nsecsElapsed()) / 1e6;
            }
            return frameAt >= 0 && reply->isFinished();
        });
        httpToFrame.push_back(frameAt);
        httpAnswer.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        reply->deleteLater();
        spinUntil([&, start = t.nsecsElapsed()] { return t.nsecsElapsed() - start > 50'000'000; });
    }
    print("OSC action -> frame on the line", figures(toFrame), n);
    print("OSC action -> state at the subscriber", figures(toSubscriber), n);
    print("HTTP action -> frame on the line", figures(httpToFrame), n);
    print("HTTP action -> answer", figures(httpAnswer), n);

    const QUrl state(QStringLiteral("http://127.0.0.1:%1/api/state").arg(server.httpPort()));
    int reads = 0;
    t.start();
    while (t.elapsed() < 3000) {
        if (test::httpRequest(http, "GET", state, {}, {}).status == 200) {
            ++reads;
        }
    }
    std::printf("GET /api/state, one keep-alive client: %.0f reads/s (%d in %.1f s)\n",
                reads * 1000.0 / static_cast<double>(t.elapsed()), reads,
                static_cast<double>(t.elapsed()) / 1000.0);
    server.stop();
    return linkRounds(std::min(n, 50));
}
