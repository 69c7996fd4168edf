#include "FrameRig.h"
#include "HttpRequest.h"
#include "core/link/InputCodes.h"
#include "remote/RemoteSettings.h"
#include "support/TempFolder.h"
#include "ui/app/ControllerApp.h"
#include "ui/app/DemoDevice.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/DualPicturePanel.h"
#include "ui/panels/InputBar.h"
#include "ui/panels/PanelFactory.h"
#include "ui/panels/SoundPanel.h"
#include "ui/remote/QrCodeImage.h"
#include "ui/remote/RemoteControlDialog.h"
#include "ui/remote/RemoteHost.h"
#include "ui/wall/CentrePane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebSocket>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;
using korvane::test::httpRequest;

namespace {

// The real main window with its real panels over the simulator, and the remote server in it as
// the program starts it from its settings.
struct DesktopRig {
    FrameRig rig;
    PanelFactory factory;
    std::unique_ptr<RemoteHost> host;
    QNetworkAccessManager http;

    bool start() {
        rig.realPanels = &factory;
        if (!rig.connect()) {
            return false;
        }
        MainWindow& frame = rig.makeFrame();
        remote::RemoteSettings settings(rig.settings.file());
        settings.write({true, 0, 0, "127.0.0.1"}); // free ports
        FrameServices services{rig.link,      rig.mirror, rig.facade, rig.settings,
                               rig.presenter, &rig.sink,  rig.busy,   factory,
                               [] {},         {},         {}};
        host = std::make_unique<RemoteHost>(
            frame, services, std::make_unique<remote::RemoteSettings>(rig.settings.file()));
        return host->server().running();
    }
    QUrl url(const QString& path) const {
        return QUrl(
            QStringLiteral("http://127.0.0.1:%1%2").arg(host->server().httpPort()).arg(path));
    }
    korvane::test::HttpAnswer post(const QString& path, const QByteArray& body) {
        return httpRequest(http, "POST", url(path), body);
    }
    QString statusText() const {
        return rig.frame->findChild<QLabel*>(QStringLiteral("statusText"))->text();
    }
    CentrePane& centre() const { return *dynamic_cast<CentrePane*>(rig.frame->panels().centre); }
    // The whole frames the simulator accepted since `from`, fences left out.
    std::vector<frame::CommandFrame> framesSince(std::size_t from) const {
        const auto all = rig.sent();
        return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
    }
};

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

class RemoteDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void picture2InputTakesTheDualPicturePanesPath_data() {
        QTest::addColumn<bool>("autoUpdate");
        QTest::newRow("自动更新 ticked: the switch, then its read-back") << true;
        QTest::newRow("自动更新 not ticked: the switch, then the direct query") << false;
    }
    // A remote picture-2 input change sends what the operator's pick in the dual-picture pane's
    // list sends, frame for frame, with the same read-back and redraw.
    void picture2InputTakesTheDualPicturePanesPath() {
        QFETCH(bool, autoUpdate);
        DesktopRig d;
        QVERIFY(d.start());
        auto* dual = dynamic_cast<DualPicturePanel*>(d.rig.frame->panels().dualPicture);
        auto* comm = dynamic_cast<CommunicationPanel*>(d.rig.frame->panels().communication);
        QVERIFY(dual != nullptr && comm != nullptr);
        comm->autoUpdateBox().setChecked(autoUpdate);
        QComboBox& list = dual->sourceList();
        const auto operatorPicks = [&](const QString& name) {
            list.setCurrentIndex(list.findText(name));
            emit list.activated(list.currentIndex());
        };

        operatorPicks(QStringLiteral("DP"));
        const std::size_t clicked = d.rig.framesSoFar();
        const int dialogsBeforeClick = d.rig.busy.dialogsShown();
        operatorPicks(QStringLiteral("AV2"));
        const auto byClick = d.framesSince(clicked);
        const int clickDialogs = d.rig.busy.dialogsShown() - dialogsBeforeClick;
        QCOMPARE(clickDialogs, autoUpdate ? 2 : 0);
        QCOMPARE(byClick.size(), autoUpdate ? std::size_t{3} : std::size_t{2}); // and read-back
        QCOMPARE(int{d.rig.mirror.p2Source}, int{input::kAv2});

        operatorPicks(QStringLiteral("DP"));
        QCOMPARE(list.currentText(), QStringLiteral("DP"));
        const std::size_t remote = d.rig.framesSoFar();
        const int dialogsBeforeRemote = d.rig.busy.dialogsShown();
        QCOMPARE(d.post("/api/inputs/2", R"({"input":"AV2"})").status, 200);
        QTRY_COMPARE(d.rig.framesSoFar(), remote + byClick.size());
        QCOMPARE(d.framesSince(remote), byClick);
        QCOMPARE(d.rig.busy.dialogsShown() - dialogsBeforeRemote, clickDialogs);
        // The pane's own redraw and the state remote clients see.
        QCOMPARE(list.currentText(), QStringLiteral("AV2"));
        QTRY_COMPARE(d.host->server().hub().state().value("Picture2Source").toInt(),
                     int{input::kAv2});
        QVERIFY(d.rig.presenter.informed.isEmpty());

        // An input the pane does not offer for picture 2 is refused and sends nothing.
        const std::size_t refused = d.rig.framesSoFar();
        const auto answer = d.post("/api/inputs/2", R"({"input":200})");
        QCOMPARE(answer.status, 400);
        QVERIFY(answer.body.value("error").toString().contains("200"));
        QCOMPARE(d.rig.framesSoFar(), refused);
    }

    // The program's own link health, seen from remote clients: the demo's processor is pulled
    // and plugged back in.
    void remoteClientsFollowTheLinkGoingAndComingBack() {
        korvane::test::ProgramHome home;
        QFile ini(QString::fromStdString(home.file("korvaneapp.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[app]\nlang=CHN\n[remote]\nenabled=1\nhttpport=0\noscport=0\n");
        ini.close();
        ScriptedPresenter presenter;
        AppOptions options;
        options.demo = true;
        options.presenter = &presenter;
        options.showWindow = false;
        ControllerApp app(options);
        QVERIFY(app.initInstance());
        QVERIFY(app.remoteHost() != nullptr && app.remoteHost()->server().running());
        const int port = app.remoteHost()->server().httpPort();
        QNetworkAccessManager http;
        const auto post = [&](const QString& p, const QByteArray& body) {
            return httpRequest(
                http, "POST", QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(p)), body);
        };
        const auto status = [&] {
            return app.mainWindow()->findChild<QLabel*>(QStringLiteral("statusText"))->text();
        };
        QWebSocket ws;
        QStringList messages;
        connect(&ws, &QWebSocket::textMessageReceived, this,
                [&](const QString& m) { messages << m; });
        ws.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(port)));
        QTRY_VERIFY_WITH_TIMEOUT(linkValues(messages).value(0) == "connected", 20000);
        sim::SimPtyServer& device = app.demoDevice()->server();

        app.demoDevice()->stop();
        QTRY_COMPARE_WITH_TIMEOUT(linkValues(messages),
                                  (QStringList{"connected", "lost", "reconnecting"}), 10000);
        // The path goes before the line: which the watcher saw first is the race's.
        const QString reason =
            app.remoteHost()->server().hub().state().value("LinkReason").toString();
        QVERIFY2(reason == "device removed" || reason == "hang-up", qPrintable(reason));
        const std::size_t before = device.receivedFrames().size();
        const auto refused = post("/api/freeze", R"({"on":true})");
        QCOMPARE(refused.status, 409);
        QCOMPARE(refused.body.value("error").toString(), "link lost (" + reason + ")");
        QVERIFY2(status().startsWith(QStringLiteral("远程操作失败")), qPrintable(status()));
        QVERIFY(presenter.informed.isEmpty());

        device.start();
        QTRY_COMPARE_WITH_TIMEOUT(linkValues(messages),
                                  (QStringList{"connected", "lost", "reconnecting", "connected"}),
                                  20000);
        QCOMPARE(post("/api/freeze", R"({"on":true})").status, 200);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const auto f = device.receivedFrames();
                return std::any_of(f.begin() + static_cast<std::ptrdiff_t>(before), f.end(),
                                   [](const frame::CommandFrame& c) {
                                       return c[frame::kCodeOffset] == 0x19 &&
                                              c[frame::kDataOffset] == 1;
                                   });
            }(),
            20000);
        QVERIFY(presenter.informed.isEmpty());
    }

    void remoteActionsRunAndThePanelsFollow() {
        DesktopRig d;
        QVERIFY(d.start());
        QVERIFY(d.host->statusField().text().contains("HTTP"));
        const std::size_t before = d.rig.framesSoFar();
        QCOMPARE(d.post("/api/volume", R"({"value":45})").status, 200);
        QTRY_COMPARE(d.rig.framesSoFar(), before + 1);
        QCOMPARE(int(d.rig.codesSince(before).front()), 0x09);
        auto* sound = dynamic_cast<SoundPanel*>(d.rig.frame->panels().sound);
        QVERIFY(sound != nullptr);
        QCOMPARE(sound->volumeSlider().value(), 45);
        QVERIFY2(d.statusText().contains("volume 45"), qPrintable(d.statusText()));

        // Picture 1's input takes the input bar's path: its button shows the new input.
        const std::size_t second = d.rig.framesSoFar();
        QCOMPARE(d.post("/api/inputs/1", R"({"input":"DVI"})").status, 200);
        QTRY_VERIFY(d.rig.framesSoFar() > second);
        QCOMPARE(int(d.rig.codesSince(second).front()), 0x11);
        auto* dvi = d.rig.frame->findChild<QToolButton*>(QStringLiteral("inputDVI"));
        QVERIFY(dvi != nullptr);
        QVERIFY(!dvi->isEnabled()); // the selected input's button

        // A recall is the centre pane's: the recall, then the whole read-back.
        const std::size_t third = d.rig.framesSoFar();
        QCOMPARE(d.post("/api/templates/1/recall", {}).status, 200);
        const auto codes = d.rig.codesSince(third);
        QVERIFY(codes.size() > 1);
        QCOMPARE(int(codes.front()), 0x01);
        QCOMPARE(d.rig.readsSince(third), kSynchroniseAllReads);
        QVERIFY(d.rig.presenter.informed.isEmpty());
    }

    void theEventsSocketSeesWhatTheOperatorDid() {
        DesktopRig d;
        QVERIFY(d.start());
        QWebSocket ws;
        QStringList messages;
        connect(&ws, &QWebSocket::textMessageReceived, this,
                [&](const QString& m) { messages << m; });
        ws.open(
            QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(d.host->server().httpPort())));
        QTRY_VERIFY(!messages.isEmpty());
        auto* hdmi = d.rig.frame->findChild<QToolButton*>(QStringLiteral("inputHDMI"));
        QVERIFY(hdmi != nullptr && hdmi->isEnabled());
        hdmi->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QString& m : messages) {
                    const auto s = QJsonDocument::fromJson(m.toUtf8()).object().value("state");
                    if (s.toObject().value("Picture1Source").toInt() == 11) {
                        return true;
                    }
                }
                return false;
            }(),
            10000);
    }

    void aRemoteActionWaitsForTheOperatorsOperationAndNeverInterleaves() {
        DesktopRig d;
        QVERIFY(d.start());
        const std::size_t before = d.rig.framesSoFar();
        bool sentWhileBusy = false;
        QNetworkReply* reply = nullptr;
        // The operator's synchronisation; the remote action comes while its busy dialog runs.
        // The request goes out as soon as the operation holds the device (the rig's pauses are
        // cut short, so a fixed delay could miss it).
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!d.rig.gate.busy()) {
                return;
            }
            watch.stop();
            sentWhileBusy = true;
            QNetworkRequest r(d.url("/api/freeze"));
            r.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
            reply = d.http.post(r, QByteArray(R"({"on":true})"));
        });
        watch.start(0);
        d.rig.frame->runCommand(menucmd::kSynchronise);
        QTRY_VERIFY_WITH_TIMEOUT(reply != nullptr && reply->isFinished(), 20000);
        QVERIFY(sentWhileBusy);
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        reply->deleteLater();
        // The operator's whole read-back first, then the remote frame.
        QTRY_VERIFY(!d.rig.codesSince(before).empty() && d.rig.codesSince(before).back() == 0x19);
        auto codes = d.rig.codesSince(before);
        codes.pop_back();
        QVERIFY(codes.size() >= kSynchroniseAllReads.size());
        QCOMPARE(codes, std::vector<std::uint8_t>(codes.size(), 0));
    }

    void aFailedRemoteActionIsShownInTheStatusBarNotInABox() {
        DesktopRig d;
        QVERIFY(d.start());
        d.rig.link.close();
        const auto a = d.post("/api/freeze", R"({"on":true})");
        QCOMPARE(a.status, 409);
        QVERIFY(d.statusText().startsWith(QStringLiteral("远程操作失败")));
        QVERIFY(d.rig.presenter.informed.isEmpty());
    }

    void templateNamesShowOnTheButtonsAndReachRemoteClients() {
        DesktopRig d;
        QVERIFY(d.start());
        CentrePane& centre = d.centre();
        QVERIFY(centre.renameTemplate(3, QStringLiteral("开场")));
        QCOMPARE(centre.templateButton(3).text(), QStringLiteral("3 开场"));
        QTRY_COMPARE(d.host->server().hub().state().value("Template3").toString(),
                     QStringLiteral("开场"));

        QVERIFY(!centre.renameTemplate(4, QString(33, QLatin1Char('x'))));
        QCOMPARE(d.rig.presenter.informed.size(), 1);
        QCOMPARE(centre.templateButton(4).text(), QStringLiteral("模板4"));

        // Renamed by a remote client: the button follows.
        QCOMPARE(
            httpRequest(d.http, "PUT", d.url("/api/templates/4/name"), R"({"name":"Show"})").status,
            200);
        QCOMPARE(centre.templateButton(4).text(), QStringLiteral("4 Show"));
    }

    void theDialogShowsTheAddressWithTheTokenAndItsQrCode() {
        QTemporaryDir home;
        remote::RemoteSettings settings(home.filePath("korvaneapp.ini").toStdString());
        const QString token = QString::fromStdString(settings.token());
        RemoteControlDialog dlg(settings);
        const QString url = "http://127.0.0.1:8470/#token=" + token;
        QVERIFY(dlg.addressLabel().text().contains(url));
        // 61 bytes need a version-4 code at medium correction: 33 modules, 4 of quiet zone each
        // side, 4 pixels each.
        QCOMPARE(dlg.qrLabel().pixmap().size(), QSize(164, 164));
        QCOMPARE(qrCodeImage(url, 4).size(), QSize(164, 164));

        auto* listen = dlg.findChild<QLineEdit*>("remoteListen");
        listen->setText("not an address");
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!settings.read().enabled);
        listen->setText("0.0.0.0");
        dlg.findChild<QCheckBox*>("remoteEnabled")->setChecked(true);
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(settings.read().listen, std::string("0.0.0.0"));
        QVERIFY(settings.read().enabled);
    }
};

QTEST_MAIN(RemoteDesktopTest)
#include "RemoteDesktopTest.moc"
