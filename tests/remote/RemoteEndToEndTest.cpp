#include "OscClient.h"
#include "RemoteRig.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/LinkWatcher.h"
#include "support/ProcessThreads.h"

#include <QProcess>
#include <QSignalSpy>
#include <QWebSocket>
#include <QtTest>
#include <csignal>

using namespace korvane;
using namespace korvane::test;

namespace {
using Headers = QList<QPair<QByteArray, QByteArray>>;
const QByteArray kJson = "application/json";

QByteArray json(const QJsonObject& o) {
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// The "Link" values an events socket announced, in order.
QStringList linkValues(const QStringList& messages) {
    QStringList values;
    for (const QString& m : messages) {
        const QJsonObject s =
            QJsonDocument::fromJson(m.toUtf8()).object().value("state").toObject();
        if (s.contains("Link")) {
            values << s.value("Link").toString();
        }
    }
    return values;
}
} // namespace

// The remote-control layer against the simulator on a real pseudo-terminal, with real HTTP,
// WebSocket and OSC clients on loopback.
class RemoteEndToEndTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<RemoteRig> rig;
    std::unique_ptr<OscClient> osc;

    // Waits until the simulator holds `count` frames (writes get no answer to wait for).
    bool framesReach(std::size_t count) {
        return QTest::qWaitFor([&] { return rig->frames() >= count; }, 5000);
    }

private slots:
    void init() {
        rig = std::make_unique<RemoteRig>();
        QVERIFY(rig->start());
        osc = std::make_unique<OscClient>();
        osc->target(rig->server->oscPort());
    }
    void cleanup() {
        osc.reset();
        rig.reset();
    }

    void oscAddressesSendTheExactFrames() {
        struct Row {
            std::function<void()> send;
            const char* frame;
        };
        OscClient& c = *osc;
        const Row rows[] = {
            {[&] { c.sendText("/korvane/input/1", "HDMI"); },
             "ED CB 00 11 00 0B 55 55 55 55 55 55 1A"},
            {[&] { c.sendInt("/korvane/input/2", 12); }, "ED CB 00 11 01 0C 55 55 55 55 55 55 1C"},
            {[&] { c.sendInt("/korvane/freeze", 1); }, "ED CB 00 19 01 55 55 55 55 55 55 55 6D"},
            {[&] { c.sendInt("/korvane/freeze/area", 0); },
             "ED CB 00 18 00 55 55 55 55 55 55 55 6B"},
            {[&] { c.sendInt("/korvane/brightness", 60); },
             "ED CB 00 03 00 00 3C 55 55 55 55 55 E8"},
            {[&] { c.sendInt("/korvane/brightness/step", -5); },
             "ED CB 00 03 00 00 37 55 55 55 55 55 E3"},
            {[&] { c.sendInt("/korvane/contrast", 70); }, "ED CB 00 03 01 00 46 55 55 55 55 55 F3"},
            {[&] { c.sendInt("/korvane/volume", 40); }, "ED CB 00 09 01 28 55 55 55 55 55 55 30"},
            {[&] { c.sendInt("/korvane/mute", 1); }, "ED CB 00 09 00 28 55 55 55 55 55 55 2F"},
            {[&] { c.sendInt("/korvane/testpattern", 5); },
             "ED CB 00 7F 03 05 55 55 55 55 55 55 85"},
            {[&] { c.sendInt("/korvane/pip", 1); }, "ED CB 00 06 01 00 00 55 55 55 55 55 B0"},
            {[&] { c.sendInt("/korvane/template/store", 4); },
             "ED CB 00 01 00 04 55 55 55 55 55 55 03"},
            // Many surfaces send floats only: a whole one counts as the integer.
            {[&] {
                 c.send("/korvane/testpattern", [](lo_message m) { lo_message_add_float(m, 0); });
             },
             "ED CB 00 7F 03 00 55 55 55 55 55 55 80"},
        };
        for (const Row& r : rows) {
            const std::size_t before = rig->frames();
            r.send();
            QVERIFY2(framesReach(before + 1), r.frame);
            QCOMPARE(rig->framesSince(before), std::vector<std::string>{r.frame});
        }
        QCOMPARE(osc->count("/korvane/error"), std::size_t{0});
    }

    void oscRecallByNameRecallsThenReadsEverythingBack() {
        QVERIFY(rig->server->hub().renameTemplate(3, "开场").ok());
        const std::size_t before = rig->frames();
        osc->sendText("/korvane/template/recall", "开场");
        // The recall, then the read-back of the whole state.
        QVERIFY(QTest::qWaitFor([&] { return rig->codesSince(before).size() > 5; }, 10000));
        const auto frames = rig->framesSince(before);
        QCOMPARE(frames.front(), std::string("ED CB 00 01 01 03 55 55 55 55 55 55 03"));
        for (std::size_t i = 1; i < rig->codesSince(before).size(); ++i) {
            QCOMPARE(int(rig->codesSince(before)[i]), 0); // reads only after the recall
        }
    }

    void oscBadMessagesSendNothingAndAnswerAnError() {
        struct Row {
            std::function<void()> send;
            const char* error; // a part of the error text
        };
        OscClient& c = *osc;
        const Row rows[] = {
            {[&] { c.sendText("/korvane/freeze", "on"); }, "integer"},
            {[&] { c.sendInt("/korvane/volume", 101); }, "0..100"},
            {[&] { c.sendText("/korvane/input/1", "SDI"); }, "input"},
            {[&] { c.sendInt("/korvane/input/1", 256); }, "input"},
            {[&] { c.sendInt("/korvane/nothing", 1); }, "unknown address"},
            {[&] { c.sendText("/korvane/template/recall", "no such"); }, "no template"},
            {[&] { c.sendInt("/korvane/template/recall", 11); }, "1..10"},
            {[&] { c.sendText("/korvane/template/store", "x"); }, "integer"},
            {[&] {
                 c.send("/korvane/brightness",
                        [](lo_message m) { lo_message_add_float(m, 60.5f); });
             },
             "integer"},
            {[&] { c.sendInt("/korvane/testpattern", 73); }, "pattern"},
            {[&] { c.sendInt("/korvane/sync", 1); }, "no arguments"},
        };
        const std::size_t before = rig->frames();
        std::size_t errors = 0;
        for (const Row& r : rows) {
            r.send();
            ++errors;
            QVERIFY2(QTest::qWaitFor([&] { return osc->count("/korvane/error") == errors; }, 5000),
                     r.error);
            const std::string text = osc->last("/korvane/error");
            QVERIFY2(text.find(r.error) != std::string::npos, text.c_str());
        }
        // A good message after them: the first frame to arrive is its own.
        osc->sendInt("/korvane/freeze", 0);
        QVERIFY(framesReach(before + 1));
        QCOMPARE(rig->framesSince(before),
                 std::vector<std::string>{"ED CB 00 19 00 55 55 55 55 55 55 55 6C"});
    }

    void oscSubscriberGetsTheStateThenEveryChange() {
        QVERIFY(rig->server->hub().renameTemplate(2, "Walk-in").ok());
        OscClient listener; // a reply port other than the sender's
        osc->sendInt("/korvane/subscribe", listener.port());
        QVERIFY(QTest::qWaitFor([&] { return listener.last("/korvane/state/Link") == "connected"; },
                                5000));
        QVERIFY(QTest::qWaitFor(
            [&] { return listener.last("/korvane/state/Template2") == "Walk-in"; }, 5000));
        QCOMPARE(listener.last("/korvane/state/Brightness"), std::string("50"));
        QCOMPARE(osc->count("/korvane/state/Link"), std::size_t{0});

        listener.clear();
        osc->sendInt("/korvane/brightness", 61);
        QVERIFY(QTest::qWaitFor([&] { return listener.last("/korvane/state/Brightness") == "61"; },
                                5000));
        // Only what changed comes after the first full state.
        QCOMPARE(listener.count("/korvane/state/Link"), std::size_t{0});

        // The sender's own port when none is given.
        osc->sendNothing("/korvane/subscribe");
        QVERIFY(
            QTest::qWaitFor([&] { return osc->last("/korvane/state/Brightness") == "61"; }, 5000));
    }

    void oscFloodIsThrottledAndWhatPassesIsSentWhole() {
        const std::size_t before = rig->frames();
        constexpr int kFlood = 100;
        for (int i = 0; i < kFlood; ++i) {
            osc->sendInt("/korvane/freeze", i % 2);
        }
        // Every message is answered by a frame or by an error, none by both.
        QVERIFY(QTest::qWaitFor(
            [&] { return rig->frames() - before + osc->count("/korvane/error") == kFlood; },
            20000));
        QVERIFY(osc->count("/korvane/error") > 0);
        QVERIFY(osc->last("/korvane/error").find("too many") != std::string::npos);
        for (const auto& f : rig->framesSince(before)) {
            QVERIFY(f.starts_with("ED CB 00 19 0"));
        }
    }

    void httpActionsSendTheFramesAndTheStateFollows() {
        struct Row {
            QString path;
            QJsonObject body;
            const char* frame;
        };
        const Row rows[] = {
            {"/api/inputs/1", {{"input", "DVI"}}, "ED CB 00 11 00 0E 55 55 55 55 55 55 1D"},
            {"/api/freeze", {{"on", false}}, "ED CB 00 19 00 55 55 55 55 55 55 55 6C"},
            {"/api/quality/Contrast", {{"value", 60}}, "ED CB 00 03 01 00 3C 55 55 55 55 55 E9"},
            {"/api/quality/brightness", {{"step", -5}}, "ED CB 00 03 00 00 2D 55 55 55 55 55 D9"},
            {"/api/volume", {{"value", 40}}, "ED CB 00 09 01 28 55 55 55 55 55 55 30"},
            {"/api/testpattern", {{"pattern", 3}}, "ED CB 00 7F 03 03 55 55 55 55 55 55 83"},
            {"/api/commands/SetPictureQuality",
             {{"args", QJsonArray{0, 60}}},
             "ED CB 00 03 00 00 3C 55 55 55 55 55 E8"},
        };
        for (const Row& r : rows) {
            const std::size_t before = rig->frames();
            const HttpAnswer a = rig->post(r.path, json(r.body));
            QCOMPARE(a.status, 200);
            QVERIFY(framesReach(before + 1));
            QCOMPARE(rig->framesSince(before), std::vector<std::string>{r.frame});
        }
        // The store always needs the token, also on loopback.
        const std::size_t before = rig->frames();
        const QByteArray bearer = "Bearer " + QByteArray::fromStdString(rig->settings.token());
        QCOMPARE(rig->request("POST", "/api/templates/2/store", {},
                              Headers{{"Content-Type", kJson}, {"Authorization", bearer}})
                     .status,
                 200);
        QVERIFY(framesReach(before + 1));
        QCOMPARE(rig->framesSince(before),
                 std::vector<std::string>{"ED CB 00 01 00 02 55 55 55 55 55 55 01"});

        QCOMPARE(rig->request("PUT", "/api/templates/5/name", json({{"name", "终场"}})).status,
                 200);
        const HttpAnswer state = rig->request("GET", "/api/state", {}, {});
        QCOMPARE(state.status, 200);
        QCOMPARE(state.body.value("Picture1Source").toInt(), 14);
        QCOMPARE(state.body.value("Brightness").toInt(), 60);
        QCOMPARE(state.body.value("Contrast").toInt(), 60);
        QCOMPARE(state.body.value("Volume").toInt(), 40);
        QCOMPARE(state.body.value("Link").toString(), QString("connected"));
        QCOMPARE(state.body.value("LinkReason").toString(), QString());
        QCOMPARE(state.body.value("Template5").toString(), QString("终场"));
        QCOMPARE(rig->settings.templateName(5), std::string("终场"));
    }

    void httpBadRequestsSendNothingAndAnswerAnError() {
        const QByteArray big(70 * 1024, ' ');
        struct Row {
            const char* what;
            QByteArray method;
            QString path;
            QByteArray body;
            Headers headers;
            int status;
        };
        const Headers asJson{{"Content-Type", kJson}};
        const Row rows[] = {
            {"unknown path", "POST", "/api/nothing", "{}", asJson, 404},
            {"unknown picture", "POST", "/api/inputs/3", R"({"input":11})", asJson, 404},
            {"wrong method", "DELETE", "/api/freeze", "", asJson, 404},
            {"unknown command", "POST", "/api/commands/Explode", "{}", asJson, 404},
            {"unknown quality item", "POST", "/api/quality/Hue", R"({"value":1})", asJson, 404},
            {"unnamed template", "POST", "/api/templates/nobody/recall", "", asJson, 404},
            {"wrong type", "POST", "/api/freeze", R"({"on":"yes"})", asJson, 400},
            {"fraction", "POST", "/api/volume", R"({"value":4.5})", asJson, 400},
            {"out of range", "POST", "/api/volume", R"({"value":101})", asJson, 400},
            {"slot out of range", "POST", "/api/templates/11/recall", "", asJson, 400},
            {"bad command arguments", "POST", "/api/commands/SetFreeze", R"({"args":[2]})", asJson,
             400},
            {"not JSON", "POST", "/api/freeze", "on", asJson, 400},
            {"not an object", "POST", "/api/freeze", "[true]", asJson, 400},
            {"name too long", "PUT", "/api/templates/1/name",
             R"({"name":"123456789012345678901234567890123"})", asJson, 400},
            {"form content type", "POST", "/api/freeze", R"({"on":true})",
             Headers{{"Content-Type", "text/plain"}}, 400},
            {"foreign origin", "POST", "/api/freeze", R"({"on":true})",
             Headers{{"Content-Type", kJson}, {"Origin", "http://example.invalid"}}, 403},
            {"oversize body", "POST", "/api/freeze", big, asJson, 413},
            {"store without token", "POST", "/api/templates/1/store", "", asJson, 401},
            {"store with a wrong token", "POST", "/api/templates/1/store", "",
             Headers{{"Content-Type", kJson}, {"Authorization", "Bearer wrong"}}, 401},
            {"factory reset without token", "POST", "/api/commands/FactoryReset", "", asJson, 401},
        };
        const std::size_t before = rig->frames();
        for (const Row& r : rows) {
            const HttpAnswer a = rig->request(r.method, r.path, r.body, r.headers);
            QVERIFY2(a.status == r.status,
                     qPrintable(QStringLiteral("%1: %2").arg(r.what).arg(a.status)));
            QVERIFY2(!a.body.value("error").toString().isEmpty(), r.what);
        }
        QCOMPARE(rig->post("/api/freeze", R"({"on":1})").status, 200);
        QVERIFY(framesReach(before + 1));
        QCOMPARE(rig->framesSince(before),
                 std::vector<std::string>{"ED CB 00 19 01 55 55 55 55 55 55 55 6D"});
        QCOMPARE(rig->settings.templateName(1), std::string());
    }

    void beyondLoopbackEveryWriteNeedsTheToken() {
        // Listening on every interface, reached (as every test) through loopback.
        QVERIFY(rig->server->start(QStringLiteral("0.0.0.0"), 0, 0));
        QVERIFY(!rig->server->http()->loopbackOnly());
        const std::size_t before = rig->frames();
        QCOMPARE(rig->post("/api/freeze", R"({"on":true})").status, 401);
        QCOMPARE(rig->request("PUT", "/api/templates/1/name", R"({"name":"x"})").status, 401);
        QCOMPARE(rig->request("GET", "/api/state", {}, {}).status, 200); // reads stay open
        const QByteArray bearer = "Bearer " + QByteArray::fromStdString(rig->settings.token());
        QCOMPARE(rig->request("POST", "/api/freeze", R"({"on":true})",
                              Headers{{"Content-Type", kJson}, {"Authorization", bearer}})
                     .status,
                 200);
        QVERIFY(framesReach(before + 1));
        QCOMPARE(rig->framesSince(before),
                 std::vector<std::string>{"ED CB 00 19 01 55 55 55 55 55 55 55 6D"});
    }

    void oscSendersBeyondLoopbackNeedTheToken() {
        // Messages as liblo hands them over from a sender on another machine (a documentation
        // address; nothing is sent there: refusals of an unheard sender send nothing, and a
        // successful action answers nothing).
        using Incoming = remote::OscFront::Incoming;
        const Incoming freeze{"/korvane/freeze", {1LL}, "192.0.2.7", "9000"};
        const Incoming auth{"/korvane/auth", {rig->settings.token()}, "192.0.2.7", "9000"};
        const std::size_t before = rig->frames();
        rig->server->osc()->handle(auth);
        rig->server->osc()->handle(freeze);
        // Listening on loopback only, it is not heard at all: the next frame is a local one's.
        osc->sendInt("/korvane/freeze", 0);
        QVERIFY(framesReach(before + 1));
        QCOMPARE(rig->framesSince(before),
                 std::vector<std::string>{"ED CB 00 19 00 55 55 55 55 55 55 55 6C"});

        QVERIFY(rig->server->start(QStringLiteral("0.0.0.0"), 0, 0));
        rig->server->osc()->handle(auth);
        rig->server->osc()->handle(freeze);
        QVERIFY(framesReach(before + 2));
        QCOMPARE(rig->framesSince(before + 1),
                 std::vector<std::string>{"ED CB 00 19 01 55 55 55 55 55 55 55 6D"});
    }

    // 127.0.0.2 plays a sender on another computer (only 127.0.0.1 counts as this one here):
    // real datagrams both ways, all on loopback.
    void oscSenderBeyondThisComputerIsRefusedUntilItSendsTheToken() {
        const auto onlyFirstLoopback = [](const std::string& host) { return host == "127.0.0.1"; };
        QVERIFY(rig->server->start(QStringLiteral("0.0.0.0"), 0, 0));
        rig->server->osc()->setLocalSender(onlyFirstLoopback);
        osc->target(rig->server->oscPort());
        ForeignOscSender far;
        QVERIFY(far.bind("127.0.0.2"));
        far.target(rig->server->oscPort());
        struct Row {
            const char* what;
            std::function<void()> send;
            const char* error;
        };
        const std::string token = rig->settings.token();
        const Row rows[] = {
            {"an action before the token", [&] { far.sendInt("/korvane/freeze", 1); },
             "send /korvane/auth with the token first"},
            {"a wrong token", [&] { far.sendText("/korvane/auth", token.substr(1) + "x"); },
             "wrong token"},
            {"an action after a wrong token", [&] { far.sendInt("/korvane/volume", 20); },
             "send /korvane/auth with the token first"},
            {"a token that is not text", [&] { far.sendInt("/korvane/auth", 1); }, "wrong token"},
            {"a subscription before the token", [&] { far.sendInt("/korvane/subscribe", 9); },
             "send /korvane/auth with the token first"},
        };
        const std::size_t before = rig->frames();
        std::size_t answers = 0;
        for (const Row& r : rows) {
            r.send();
            ++answers;
            QVERIFY2(QTest::qWaitFor([&] { return far.received().size() == answers; }, 5000),
                     r.what);
            const auto last = far.received().back();
            QCOMPARE(last.first, std::string("/korvane/error"));
            QVERIFY2(last.second == r.error, r.what);
        }
        // None of it reached the processor: the next frame is this computer's own.
        osc->sendInt("/korvane/freeze", 0);
        QVERIFY(framesReach(before + 1));
        QCOMPARE(rig->framesSince(before),
                 std::vector<std::string>{"ED CB 00 19 00 55 55 55 55 55 55 55 6C"});
        QCOMPARE(rig->server->osc()->subscribers(), qsizetype{0});

        // With the token it is heard, and nothing more comes back for a good action.
        far.sendText("/korvane/auth", token);
        far.sendInt("/korvane/freeze", 1);
        QVERIFY(framesReach(before + 2));
        QCOMPARE(rig->framesSince(before + 1),
                 std::vector<std::string>{"ED CB 00 19 01 55 55 55 55 55 55 55 6D"});
        QCOMPARE(far.received().size(), answers);

        // Listening on this computer only, such a sender is neither heard nor answered.
        QVERIFY(rig->server->start(QStringLiteral("127.0.0.1"), 0, 0));
        rig->server->osc()->setLocalSender(onlyFirstLoopback);
        osc->target(rig->server->oscPort());
        far.target(rig->server->oscPort());
        far.sendText("/korvane/auth", token);
        far.sendInt("/korvane/freeze", 0);
        osc->sendInt("/korvane/volume", 20);
        QVERIFY(framesReach(before + 3));
        QCOMPARE(rig->framesSince(before + 2),
                 std::vector<std::string>{"ED CB 00 09 01 14 55 55 55 55 55 55 1C"});
        QCOMPARE(far.received().size(), answers);
    }

    void aClosedLinkAnswersConflict() {
        rig->link.close();
        const HttpAnswer a = rig->post("/api/freeze", R"({"on":true})");
        QCOMPARE(a.status, 409);
        QCOMPARE(a.body.value("error").toString(), QString("the link to the processor is closed"));
        QVERIFY(QTest::qWaitFor(
            [&] { return rig->server->hub().state().value("Link").toString() == "closed"; }, 5000));
        osc->sendInt("/korvane/freeze", 1);
        QVERIFY(QTest::qWaitFor([&] { return osc->count("/korvane/error") == 1; }, 5000));
    }

    void anActionDuringAnOperationWaitsAndNeverInterleaves() {
        // A long operation of someone else's: a whole read-back with slow replies.
        sim::SimFaults slow;
        slow.lateReply = std::chrono::milliseconds(40);
        rig->sim.setFaults(slow);
        const std::size_t before = rig->frames();
        bool syncDone = false;
        rig->device->post([this] { return SynchroniseAll(rig->ctx, false).run(); },
                          [&](int) { syncDone = true; });
        const HttpAnswer a = rig->post("/api/freeze", R"({"on":true})");
        QCOMPARE(a.status, 200);
        QVERIFY(syncDone);
        // The freeze frame may still be on its way to the simulator.
        QVERIFY(QTest::qWaitFor(
            [&] {
                const auto c = rig->codesSince(before);
                return c.size() > 1 && c.back() == 0x19;
            },
            5000));
        const auto codes = rig->codesSince(before);
        // The whole read-back first, then the remote action's one frame.
        QCOMPARE(int(codes.back()), 0x19);
        for (std::size_t i = 0; i + 1 < codes.size(); ++i) {
            QCOMPARE(int(codes[i]), 0);
        }

        // Given up after the busy wait: "busy", and nothing is sent for it.
        rig->server->hub().setBusyWait(std::chrono::milliseconds(100));
        const std::size_t second = rig->frames();
        bool secondDone = false;
        rig->device->post([this] { return SynchroniseAll(rig->ctx, false).run(); },
                          [&](int) { secondDone = true; });
        const HttpAnswer busy = rig->post("/api/freeze", R"({"on":false})");
        QCOMPARE(busy.status, 503);
        QCOMPARE(busy.retryAfter, QByteArray("1"));
        QVERIFY(QTest::qWaitFor([&] { return secondDone; }, 20000));
        for (const auto code : rig->codesSince(second)) {
            QCOMPARE(int(code), 0);
        }
    }

    void eventsSocketSendsTheStateThenChanges() {
        QWebSocket ws;
        QStringList messages;
        connect(&ws, &QWebSocket::textMessageReceived, this,
                [&](const QString& m) { messages << m; });
        ws.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(rig->server->httpPort())));
        QVERIFY(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 5000));
        const QJsonObject first =
            QJsonDocument::fromJson(messages.first().toUtf8()).object().value("state").toObject();
        QCOMPARE(first.value("Link").toString(), QString("connected"));
        QCOMPARE(first.value("Volume").toInt(), 30);

        QCOMPARE(rig->post("/api/volume", R"({"value":44})").status, 200);
        QVERIFY(QTest::qWaitFor([&] { return messages.size() >= 2; }, 5000));
        const QJsonObject change =
            QJsonDocument::fromJson(messages.last().toUtf8()).object().value("state").toObject();
        QCOMPARE(change.value("Volume").toInt(), 44);
        QVERIFY2(!change.contains("Link"), "only what changed");

        // A page of another site is turned away.
        QWebSocket foreign(QStringLiteral("http://example.invalid"));
        QSignalSpy closed(&foreign, &QWebSocket::disconnected);
        foreign.open(
            QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(rig->server->httpPort())));
        QVERIFY(closed.wait(5000));
        QCOMPARE(foreign.closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);
    }

    void webPageIsServed() {
        const HttpAnswer page = rig->request("GET", "/", {}, {});
        QCOMPARE(page.status, 200);
        QNetworkReply* r = rig->http.get(QNetworkRequest(rig->url("/remote.js")));
        QVERIFY(QTest::qWaitFor([&] { return r->isFinished(); }, 5000));
        QVERIFY(r->readAll().contains("/api/events"));
        r->deleteLater();
    }

    // korvane-server and korvane-sim as programs: the simulator's line is pulled (SIGUSR1) and
    // plugged back (SIGUSR2) at the same path. Every client hears each link state once, writes
    // are refused while it is lost, and work again once it is back.
    void serverProgramFollowsTheLineGoingAndComingBack() {
        rig->link.close(); // the in-process simulator is not used here
        const QString path = QString::fromStdString(rig->home.file("ttyKv"));
        QProcess sim;
        sim.start(KORVANE_SIM_EXE, {"--link", path});
        QVERIFY(sim.waitForReadyRead(10000));
        QProcess server;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KORVANE_HOME", QString::fromStdString(rig->home.path().string()));
        server.setProcessEnvironment(env);
        server.start(KORVANE_SERVER_EXE, {"--device", path, "--http", "0", "--osc", "0"});
        QByteArray out;
        const auto said = [&](const QByteArray& text) {
            return QTest::qWaitFor(
                [&] {
                    out += server.readAllStandardOutput();
                    return out.contains(text);
                },
                15000);
        };
        QVERIFY(said("page "));
        // The link watcher's thread never takes a stop signal: the program's own handling does.
        const auto pid = static_cast<pid_t>(server.processId());
        const std::uint64_t stops = signalBit(SIGINT) | signalBit(SIGTERM) | signalBit(SIGHUP);
        bool watcherSeen = false;
        for (const ProcessThread& t : processThreads(pid)) {
            if (t.name == LinkWatcher::kThreadName) {
                watcherSeen = true;
                QCOMPARE(t.blocked & stops, stops);
            }
        }
        QVERIFY(watcherSeen);
        const auto port = [&](const char* front) {
            return QRegularExpression(QStringLiteral("%1 127\\.0\\.0\\.1:(\\d+)").arg(front))
                .match(QString::fromUtf8(out))
                .captured(1)
                .toInt();
        };
        const int httpPort = port("HTTP");
        const auto url = [&](const QString& p) {
            return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(httpPort).arg(p));
        };
        const auto post = [&](const QString& p, const QByteArray& body) {
            return httpRequest(rig->http, "POST", url(p), body, {{"Content-Type", kJson}});
        };
        QWebSocket ws;
        QStringList messages;
        connect(&ws, &QWebSocket::textMessageReceived, this,
                [&](const QString& m) { messages << m; });
        ws.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(httpPort)));
        OscClient listener;
        listener.target(port("OSC"));
        listener.sendNothing("/korvane/subscribe");
        QVERIFY(QTest::qWaitFor([&] { return listener.last("/korvane/state/Link") == "connected"; },
                                10000));
        QVERIFY(QTest::qWaitFor([&] { return linkValues(messages) == QStringList{"connected"}; },
                                10000));

        ::kill(static_cast<pid_t>(sim.processId()), SIGUSR1);
        QVERIFY(said("link lost: " + path.toUtf8()));
        QVERIFY(QTest::qWaitFor([&] { return linkValues(messages).size() >= 3; }, 10000));
        QCOMPARE(linkValues(messages), (QStringList{"connected", "lost", "reconnecting"}));
        const QJsonObject state = httpRequest(rig->http, "GET", url("/api/state"), {}, {}).body;
        QCOMPARE(state.value("Link").toString(), QString("reconnecting"));
        // The path goes before the line: which the watcher saw first is the race's.
        QVERIFY2(QStringList({"hang-up", "device removed"})
                     .contains(state.value("LinkReason").toString()),
                 qPrintable(state.value("LinkReason").toString()));
        QVERIFY(QTest::qWaitFor(
            [&] { return listener.last("/korvane/state/Link") == "reconnecting"; }, 10000));
        const HttpAnswer refused = post("/api/volume", R"({"value":44})");
        QCOMPARE(refused.status, 409);
        QVERIFY2(refused.body.value("error").toString().startsWith("link lost"),
                 qPrintable(refused.body.value("error").toString()));
        listener.sendInt("/korvane/volume", 44);
        QVERIFY(QTest::qWaitFor([&] { return listener.count("/korvane/error") == 1; }, 10000));
        QVERIFY(listener.last("/korvane/error").starts_with("link lost"));

        ::kill(static_cast<pid_t>(sim.processId()), SIGUSR2);
        QVERIFY(said("link back: " + path.toUtf8()));
        QVERIFY(QTest::qWaitFor([&] { return linkValues(messages).size() >= 4; }, 10000));
        QCOMPARE(linkValues(messages),
                 (QStringList{"connected", "lost", "reconnecting", "connected"}));
        QVERIFY(QTest::qWaitFor([&] { return listener.last("/korvane/state/Link") == "connected"; },
                                10000));
        // Writes reach the processor again: its own read-back brings the value.
        QCOMPARE(post("/api/volume", R"({"value":44})").status, 200);
        QCOMPARE(post("/api/sync", {}).status, 200);
        const QJsonObject back = httpRequest(rig->http, "GET", url("/api/state"), {}, {}).body;
        QCOMPARE(back.value("Volume").toInt(), 44);
        QCOMPARE(back.value("LinkReason").toString(), QString());
        QCOMPARE(listener.count("/korvane/error"), std::size_t{1});

        // A hang-up (the terminal it ran in went) ends it as cleanly as SIGTERM does.
        ::kill(pid, SIGHUP);
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(server.exitStatus(), QProcess::NormalExit);
        QCOMPARE(server.exitCode(), 0);
        sim.terminate();
        QVERIFY(sim.waitForFinished(10000));
    }

    // `--wait S` is korvanectl's: a rack PC may start the server before the processor's adapter
    // is there. Without it an absent device fails at once, naming the device.
    void serverProgramWaitsForTheDeviceWhenAsked() {
        rig->link.close(); // the in-process simulator is not used here
        const QString path = QString::fromStdString(rig->home.file("ttyLate"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KORVANE_HOME", QString::fromStdString(rig->home.path().string()));

        QProcess absent;
        absent.setProcessEnvironment(env);
        absent.start(KORVANE_SERVER_EXE, {"--device", path, "--http", "0", "--osc", "0"});
        QVERIFY(absent.waitForFinished(10000));
        QCOMPARE(absent.exitCode(), 1);
        QVERIFY(absent.readAllStandardError().contains(path.toUtf8()));

        QProcess server;
        server.setProcessEnvironment(env);
        server.start(KORVANE_SERVER_EXE,
                     {"--device", path, "--wait", "60", "--http", "0", "--osc", "0"});
        QVERIFY(server.waitForStarted(10000));
        // Still waiting, not serving, while the device is absent: nothing on its output.
        QVERIFY(!server.waitForReadyRead(500));
        QCOMPARE(server.state(), QProcess::Running);
        QProcess sim;
        sim.start(KORVANE_SIM_EXE, {"--link", path});
        QVERIFY(sim.waitForReadyRead(10000));
        QByteArray out;
        QVERIFY(QTest::qWaitFor(
            [&] {
                out += server.readAllStandardOutput();
                return out.contains("page ");
            },
            15000));
        const auto m =
            QRegularExpression("HTTP 127\\.0\\.0\\.1:(\\d+)").match(QString::fromUtf8(out));
        QVERIFY(m.hasMatch());
        const QUrl state(QStringLiteral("http://127.0.0.1:%1/api/state").arg(m.captured(1)));
        QVERIFY(QTest::qWaitFor(
            [&] {
                return httpRequest(rig->http, "GET", state, {}, {}).body.value("Link").toString() ==
                       QStringLiteral("connected");
            },
            10000));
        server.terminate();
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(server.exitCode(), 0);
        sim.terminate();
        QVERIFY(sim.waitForFinished(10000));
    }

    void serverProgramServesUntilTerminated() {
        QProcess version;
        version.start(KORVANE_SERVER_EXE, {"--version"});
        QVERIFY(version.waitForFinished(10000));
        QCOMPARE(version.exitCode(), 0);
        QVERIFY(version.readAllStandardOutput().startsWith("korvane-server "));

        QProcess bad;
        bad.start(KORVANE_SERVER_EXE, {"--device", "/dev/null", "--http", "70000"});
        QVERIFY(bad.waitForFinished(10000));
        QCOMPARE(bad.exitCode(), 2);
        QVERIFY(bad.readAllStandardError().contains("--http"));

        rig->link.close(); // the program opens the line itself
        QProcess server;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KORVANE_HOME", QString::fromStdString(rig->home.path().string()));
        server.setProcessEnvironment(env);
        // A daily task at midnight is the latest of the day at any time: the first tick runs it.
        const QString schedule = QString::fromStdString(rig->home.file("always.kss"));
        QFile kss(schedule);
        QVERIFY(kss.open(QIODevice::WriteOnly));
        kss.write("0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,8,\n");
        kss.close();
        server.start(KORVANE_SERVER_EXE, {"--device", QString::fromStdString(rig->sim.devicePath()),
                                          "--http", "0", "--osc", "0", "--schedule", schedule});
        QByteArray out;
        QVERIFY(QTest::qWaitFor(
            [&] {
                out += server.readAllStandardOutput();
                return out.contains("page ");
            },
            10000));
        const QRegularExpression http("HTTP 127\\.0\\.0\\.1:(\\d+)");
        const auto m = http.match(QString::fromUtf8(out));
        QVERIFY(m.hasMatch());
        const std::size_t before = rig->frames();
        QNetworkRequest req(
            QUrl(QStringLiteral("http://127.0.0.1:%1/api/freeze").arg(m.captured(1))));
        req.setHeader(QNetworkRequest::ContentTypeHeader, kJson);
        QNetworkReply* reply = rig->http.post(req, QByteArray(R"({"on":true})"));
        QVERIFY(QTest::qWaitFor([&] { return reply->isFinished(); }, 20000));
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        reply->deleteLater();
        // The freeze, and the schedule's switch to VGA from its first tick; the state follows.
        const auto sent = [&](const char* frame) {
            const auto f = rig->framesSince(before);
            return std::find(f.begin(), f.end(), frame) != f.end();
        };
        QVERIFY(
            QTest::qWaitFor([&] { return sent("ED CB 00 19 01 55 55 55 55 55 55 55 6D"); }, 10000));
        QVERIFY(
            QTest::qWaitFor([&] { return sent("ED CB 00 11 00 08 55 55 55 55 55 55 17"); }, 20000));
        const QUrl state(QStringLiteral("http://127.0.0.1:%1/api/state").arg(m.captured(1)));
        QVERIFY(QTest::qWaitFor(
            [&] {
                return httpRequest(rig->http, "GET", state, {}, {})
                           .body.value("Picture1Source")
                           .toInt() == 8;
            },
            10000));
        server.terminate();
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(server.exitStatus(), QProcess::NormalExit);
        QCOMPARE(server.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(RemoteEndToEndTest)
#include "RemoteEndToEndTest.moc"
