#include "EventFence.h"
#include "ScriptedPresenter.h"
#include "core/link/Frame.h"
#include "sim/SimPtyServer.h"
#include "sim/SimUdpServer.h"
#include "support/TempFolder.h"
#include "ui/app/ControllerApp.h"
#include "ui/app/DemoDevice.h"
#include "ui/dialogs/SerialSettingsDialog.h"
#include "ui/frame/LinkStatusField.h"
#include "ui/frame/LinkStatusView.h"
#include "ui/frame/MainWindow.h"
#include "ui/panels/CommunicationPanel.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <filesystem>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

void writeIni(const QString& text) {
    QFile ini(qEnvironmentVariable("KORVANE_HOME") + QStringLiteral("/korvaneapp.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(text.toUtf8());
}

std::vector<std::uint8_t> codesSince(const sim::SimPtyServer& server, std::size_t from) {
    std::vector<std::uint8_t> codes;
    const auto frames = server.receivedFrames();
    for (std::size_t i = from; i < frames.size(); ++i) {
        codes.push_back(frames[i][frame::kCodeOffset] == 0 ? frames[i][frame::kDataOffset]
                                                           : 0x80 | frames[i][frame::kCodeOffset]);
    }
    return codes;
}

// Read types as codesSince gives them: synchronise-all's, with the identity and device
// information reads of start-up before them.
const std::vector<std::uint8_t> kResynchronisation = {8, 13, 0, 1, 2, 3, 4, 6, 11, 12, 14, 8};

QString text(const MainWindow& frame, const char* name) {
    const auto* label = frame.findChild<QLabel*>(QLatin1String(name));
    return label != nullptr ? label->text() : QStringLiteral("(no %1)").arg(QLatin1String(name));
}

} // namespace

// The operator's program, in --demo with its own panels and the keep-alive of the settings'
// default, losing its processor and getting it back.
class LinkHealthUiTest : public QObject {
    Q_OBJECT
    std::unique_ptr<korvane::test::ProgramHome> home_;

private slots:
    void init() {
        home_.reset(); // puts the previous home back before taking a fresh one
        home_ = std::make_unique<korvane::test::ProgramHome>();
    }
    void lossIsShownCommandsAreHeldAndTheReturnResynchronises();
    void closeWhileLostStopsReconnecting();
    void openWhileLostTriesAtOnce_data();
    void openWhileLostTriesAtOnce();
    void anAbsentConfiguredDeviceStartsLostAndIsFound();
};

void LinkHealthUiTest::lossIsShownCommandsAreHeldAndTheReturnResynchronises() {
    writeIni(QStringLiteral("[app]\nlang=CHN\n"));
    ScriptedPresenter presenter;
    AppOptions options;
    options.demo = true;
    options.presenter = &presenter;
    options.showWindow = false;
    ControllerApp app(options);
    QVERIFY(app.initInstance());
    MainWindow& frame = *app.mainWindow();
    auto* comm = frame.findChild<CommunicationPanel*>();
    QVERIFY(comm != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(comm->answeringShown(), 20000);
    const QString demo = QString::fromStdString(app.demoDevice()->devicePath());
    // One permanent field tells the link, whatever its state.
    QCOMPARE(frame.statusBar()->findChildren<LinkStatusField*>().size(), 1);
    QCOMPARE(text(frame, "linkStatus"), QStringLiteral("✓ 演示模式 (模拟处理器 %1)").arg(demo));
    sim::SimPtyServer& device = app.demoDevice()->server();

    app.demoDevice()->stop();
    QTRY_COMPARE(text(frame, "linkStatus"),
                 QStringLiteral("✗ 正在重新连接: %1 (设备已移除)").arg(demo));
    const LinkStatus lost = app.link().linkStatus();
    QCOMPARE(lost.reason, LossReason::DeviceRemoved);
    QCOMPARE(QString::fromStdString(lost.where),
             QString::fromStdString(app.demoDevice()->devicePath()));
    QCOMPARE(text(frame, "statusText"), LinkStatusView::lossText(lost));
    QVERIFY(text(frame, "statusText").contains(QStringLiteral("设备已移除")));
    QVERIFY(!comm->answeringShown());

    // Two switches and a synchronisation: nothing goes out, it is said once, in the status bar.
    const std::size_t before = device.receivedFrames().size();
    auto* dvi = frame.findChild<QAbstractButton*>(QStringLiteral("inputDP"));
    auto* vga = frame.findChild<QAbstractButton*>(QStringLiteral("inputVGA"));
    QVERIFY(dvi != nullptr && vga != nullptr);
    dvi->click();
    QTRY_COMPARE(text(frame, "statusText"), LinkStatusView::refusedText(lost));
    frame.setStatusText(QString());
    QSignalSpy handled(&frame, &MainWindow::messageHandled);
    const auto synchronised = [&handled] {
        return std::ranges::any_of(handled, [](const QList<QVariant>& h) {
            return h.at(0).toInt() == messageNumber(FrameMessage::Synchronise);
        });
    };
    vga->click();
    comm->synchroniseButton().click();
    // The synchronisation ran (and was refused), and the notices it queued have been delivered.
    QTRY_VERIFY(synchronised());
    QVERIFY(deliverPosted());
    QCOMPARE(text(frame, "statusText"), QString()); // said once per loss
    QVERIFY(presenter.informed.isEmpty());
    QCOMPARE(app.link().linkStatus().refused >= 2u, true);

    device.start();
    QTRY_COMPARE_WITH_TIMEOUT(text(frame, "statusText"), QStringLiteral("已重新连接"), 20000);
    QCOMPARE(text(frame, "linkStatus"),
             QStringLiteral("✓ 已重新连接: 演示模式 (模拟处理器 %1)").arg(demo));
    QVERIFY(comm->answeringShown());
    const auto after = codesSince(device, before);
    // The reconnect's probe, then the start-up reads; no switch reached the device.
    QVERIFY(std::search(after.begin(), after.end(), kResynchronisation.begin(),
                        kResynchronisation.end()) != after.end());
    QCOMPARE(std::count(after.begin(), after.end(), std::uint8_t{0x80 | 0x11}), 0);
    QVERIFY(presenter.informed.isEmpty());
}

void LinkHealthUiTest::closeWhileLostStopsReconnecting() {
    writeIni(QStringLiteral("[app]\nlang=CHN\n"));
    ScriptedPresenter presenter;
    AppOptions options;
    options.demo = true;
    options.presenter = &presenter;
    options.showWindow = false;
    ControllerApp app(options);
    QVERIFY(app.initInstance());
    MainWindow& frame = *app.mainWindow();
    auto* comm = frame.findChild<CommunicationPanel*>();
    QTRY_VERIFY_WITH_TIMEOUT(comm->answeringShown(), 20000);
    sim::SimPtyServer& device = app.demoDevice()->server();

    app.demoDevice()->stop();
    QTRY_VERIFY(app.link().linkStatus().lost());
    comm->closeRadio().click();
    QCOMPARE(app.link().linkStatus().state, LinkState::Closed);
    QTRY_COMPARE(text(frame, "linkStatus"), QStringLiteral("未连接"));
    const std::size_t before = device.receivedFrames().size();
    device.start();
    // Several retry intervals: nothing may reach the returned device.
    QTest::qWait(2500);
    QCOMPARE(app.link().linkStatus().state, LinkState::Closed);
    QCOMPARE(device.receivedFrames().size(), before);

    comm->openRadio().click();
    // Opened by the operator: connected, not "reconnected".
    QTRY_COMPARE(text(frame, "linkStatus"),
                 QStringLiteral("✓ 演示模式 (模拟处理器 %1)")
                     .arg(QString::fromStdString(app.demoDevice()->devicePath())));
    QVERIFY(comm->answeringShown());
}

void LinkHealthUiTest::openWhileLostTriesAtOnce_data() {
    QTest::addColumn<bool>("network");
    QTest::newRow("serial device that stopped answering") << false;
    QTest::newRow("UDP") << true;
}

// The processor falls silent while its port stays open; once it answers again, "开" brings the
// link back at once. The back-off is an hour here, so nothing else could.
void LinkHealthUiTest::openWhileLostTriesAtOnce() {
    QFETCH(bool, network);
    const QString path = QString::fromStdString(home_->file("ttyKv"));
    sim::SimPtyServer pty(sim::SimModel{}, path.toStdString());
    sim::SimUdpServer udp(sim::SimModel{}, "127.0.0.2", 0);
    network ? udp.start() : pty.start();
    writeIni(QStringLiteral("[app]\nlang=CHN\n[comm]\ncommport=0\ncommdevice=%1\ntimeout=1\n"
                            "baudrate=115200\n[net]\nip=127.0.0.2\nport=%2\n[link]\nkeepalive=1\n"
                            "mode=%3\n")
                 .arg(path)
                 .arg(udp.port())
                 .arg(network ? QStringLiteral("network") : QStringLiteral("serial")));
    const auto setFaults = [&](const sim::SimFaults& f) {
        network ? udp.setFaults(f) : pty.setFaults(f);
    };
    const auto frames = [&] {
        return network ? udp.receivedFrames().size() : pty.receivedFrames().size();
    };
    ScriptedPresenter presenter;
    AppOptions options;
    options.presenter = &presenter;
    options.showWindow = false;
    options.linkTiming.firstRetry = std::chrono::hours{1};
    options.linkTiming.longestRetry = std::chrono::hours{1};
    ControllerApp app(options);
    QVERIFY(app.initInstance());
    MainWindow& frame = *app.mainWindow();
    auto* comm = frame.findChild<CommunicationPanel*>();
    QVERIFY(comm != nullptr);
    const QString place = network ? QStringLiteral("网络 127.0.0.2:%1").arg(udp.port())
                                  : QStringLiteral("串口 %1").arg(path);
    const QString where = network ? QStringLiteral("127.0.0.2:%1").arg(udp.port()) : path;
    QTRY_VERIFY2_WITH_TIMEOUT(comm->answeringShown(),
                              qPrintable(text(frame, "linkStatus") + text(frame, "statusText")),
                              20000);
    QCOMPARE(text(frame, "linkStatus"), QStringLiteral("✓ %1").arg(place));

    sim::SimFaults silent;
    silent.noReply = {8};
    setFaults(silent);
    QTRY_COMPARE_WITH_TIMEOUT(text(frame, "linkStatus"),
                              QStringLiteral("✗ 正在重新连接: %1 (处理器无应答)").arg(where),
                              10000);
    QCOMPARE(app.link().linkStatus().reason, LossReason::NoAnswer);
    QCOMPARE(app.link().isOpen(), 1);
    setFaults({});
    // The immediate try after the loss is over; the next would be an hour away.
    QCOMPARE(app.link().linkStatus().state, LinkState::Reconnecting);
    const std::size_t before = frames();

    comm->openRadio().click();
    QTRY_COMPARE_WITH_TIMEOUT(text(frame, "statusText"), QStringLiteral("已重新连接"), 20000);
    QCOMPARE(text(frame, "linkStatus"), QStringLiteral("✓ 已重新连接: %1").arg(place));
    QVERIFY(frames() > before);
    QVERIFY(comm->openRadio().isChecked());
    QVERIFY(presenter.informed.isEmpty());
}

// A device configured but absent at start: no serial dialog; the program shows the link lost
// and keeps trying, and synchronises once the device is there.
void LinkHealthUiTest::anAbsentConfiguredDeviceStartsLostAndIsFound() {
    const std::filesystem::path device = home_->path() / "ttyLater";
    writeIni(QStringLiteral("[app]\nlang=CHN\n[comm]\ncommport=0\ncommdevice=%1\ntimeout=1\n"
                            "baudrate=115200\n[link]\nkeepalive=0\n")
                 .arg(QString::fromStdString(device.string())));
    ScriptedPresenter presenter;
    AppOptions options;
    options.presenter = &presenter;
    options.showWindow = false;
    int asked = 0;
    options.runSerialDialog = [&](SerialSettingsDialog&) {
        ++asked;
        return SerialSettingsDialog::kSkip;
    };
    ControllerApp app(options);
    QVERIFY(app.initInstance());
    QCOMPARE(asked, 0);
    MainWindow& frame = *app.mainWindow();
    QVERIFY(app.link().linkStatus().lost());
    QCOMPARE(app.link().linkStatus().reason, LossReason::OpenFailed);
    const QString named =
        QStringLiteral("设备 %1 不存在").arg(QString::fromStdString(device.string()));
    QTRY_VERIFY(text(frame, "linkStatus").startsWith(QStringLiteral("✗")));
    QVERIFY(text(frame, "linkStatus").endsWith(named));
    QCOMPARE(text(frame, "statusText"),
             QStringLiteral("与处理器的连接已断开: %1，正在自动重新连接").arg(named));

    sim::SimPtyServer server(sim::SimModel{}, device);
    server.start();
    QTRY_COMPARE_WITH_TIMEOUT(text(frame, "statusText"), QStringLiteral("已重新连接"), 20000);
    const auto codes = codesSince(server, 0);
    QVERIFY(std::search(codes.begin(), codes.end(), kResynchronisation.begin(),
                        kResynchronisation.end()) != codes.end());
    QVERIFY(presenter.informed.isEmpty());
}

QTEST_MAIN(LinkHealthUiTest)
#include "LinkHealthUiTest.moc"
