#include "ui/panels/CommunicationPanel.h"

#include "PanelRig.h"
#include "core/link/ReadTypes.h"
#include "sim/SimUdpServer.h"
#include "support/RecordingMessenger.h"
#include "support/TempFolder.h"
#include "ui/dialogs/NetworkSettingsDialog.h"
#include "ui/dialogs/SerialPortChoice.h"
#include "ui/dialogs/SerialSettingsDialog.h"
#include "ui/frame/IFrameMessenger.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// Every datagram of these tests stays on loopback.
const char* const kSimAddress = "127.0.0.2";

// The transports tell when they really open or close, each under its own name.
template <class Link> class Watched : public Link {
public:
    template <class... LinkArgs>
    Watched(QStringList& log, QString name, LinkArgs&&... args)
        : Link(std::forward<LinkArgs>(args)...), log_(log), name_(std::move(name)) {}
    int open() override {
        const int r = Link::open();
        log_ << name_ + (r != 0 ? QStringLiteral(" open") : QStringLiteral(" failed"));
        return r;
    }
    void close() override {
        if (this->isOpen() != 0) {
            log_ << name_ + QStringLiteral(" close");
        }
        Link::close();
    }

private:
    QStringList& log_;
    QString name_;
};

QString read(std::uint8_t type) {
    return QStringLiteral("00 %1 55 55 55 55 55 55 55")
        .arg(type, 2, 16, QLatin1Char('0'))
        .toUpper();
}
// The status query of an answering processor: the probe, then the device information.
const QStringList kAnsweredQuery{read(readtype::kIdentity), read(readtype::kDeviceInfo)};

struct CommRig {
    QStringList transports;
    PanelRig rig{DeviceLink::TransportMakers{
        [this](const SerialSettings& s) {
            return std::make_unique<Watched<SerialLink>>(transports, QStringLiteral("serial"), s);
        },
        [this](const NetworkSettings& s, MessageSink* messages) {
            return std::make_unique<Watched<UdpLink>>(transports, QStringLiteral("udp"), s,
                                                      messages);
        }}};
    std::unique_ptr<CommunicationPanel> panel;

    // The settings file names the simulator's terminal (or none).
    bool start(bool storePort, bool open) {
        rig.server.start();
        if (storePort) {
            SerialSettings s = rig.serialSettings();
            s.portNumber = portNumberFor(s.devicePath);
            rig.settings.writeSerialSettings(s);
        }
        if (open && rig.link.configureSerialAndOpen(rig.serialSettings()) != 1) {
            return false;
        }
        transports.clear();
        panel = std::make_unique<CommunicationPanel>(rig.context);
        return true;
    }
    // Shows the panel and waits for its first status query.
    bool show() {
        panel->show();
        if (!QTest::qWaitForWindowExposed(panel.get())) {
            return false;
        }
        return waitUntil([this] { return queried(); });
    }
    bool queried() const {
        return rig.link.isOpen() == 0 || rig.server.receivedFrames().size() >= 2 ||
               panel->answeringShown();
    }
    static bool waitUntil(const std::function<bool()>& done) {
        QDeadlineTimer deadline(10000);
        while (!done()) {
            if (deadline.hasExpired()) {
                return false;
            }
            QTest::qWait(5);
        }
        return true;
    }
    QStringList radios() const {
        QStringList on;
        for (QRadioButton* r : {&panel->openRadio(), &panel->closeRadio(),
                                &panel->serialModeRadio(), &panel->networkModeRadio()}) {
            if (r->isChecked()) {
                on << r->text();
            }
        }
        return on;
    }
};

} // namespace

class CommunicationPanelTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void firstDisplay_data();
    void firstDisplay();
    void openAndClose_data();
    void openAndClose();
    void networkModeNeedsAPort_data();
    void networkModeNeedsAPort();
    void switchingOpensTheNewLinkBeforeClosingTheOld();
    void synchroniseAsksTheFrame();
    void statusQueryLeavesTheUiRunning();
    void settingsDialogsInPanelMode();
    void serialDialogActsOnTheSerialPortOnly_data();
    void serialDialogActsOnTheSerialPortOnly();
    void openAndCloseActOnTheNetworkLinkInNetworkMode();
};

void CommunicationPanelTest::firstDisplay_data() {
    QTest::addColumn<bool>("open");
    QTest::newRow("link open") << true;
    QTest::newRow("link closed") << false;
}

// The settings as stored, the radios from the link, and one status query: on an open link the
// probe and the device information read; on a closed one nothing and the silent picture.
void CommunicationPanelTest::firstDisplay() {
    QFETCH(bool, open);
    CommRig c;
    QVERIFY(c.start(true, open));
    NetworkSettings net;
    net.port = 5000;
    net.ip = "127.0.0.2";
    net.username = "admin";
    net.password = "secret";
    c.rig.settings.writeNetworkSettings(net);
    const std::size_t from = c.rig.mark();
    QVERIFY(c.panel->autoUpdate()); // asked before the panel is ever shown
    QVERIFY(c.show());
    CommunicationPanel& p = *c.panel;
    QCOMPARE(p.portText().text(), QString::fromStdString(c.rig.server.devicePath()));
    QCOMPARE(p.baudText().text(), QStringLiteral("115200"));
    QCOMPARE(p.timeoutText().text(), QStringLiteral("1 sec"));
    QCOMPARE((QStringList{p.ipText().text(), p.networkPortText().text(), p.userText().text(),
                          p.passwordText().text()}),
             (QStringList{"127.0.0.2", "5000", "admin", "secret"}));
    QCOMPARE(c.radios(), (QStringList{open ? "开" : "关", "串口"}));
    QVERIFY(p.autoUpdateBox().isChecked());
    QVERIFY(!p.networkSettingsButton().isHidden() && !p.networkModeRadio().isHidden());
    QCOMPARE(p.answeringShown(), open);
    if (open) {
        QCOMPARE(c.rig.sentSince(from), kAnsweredQuery);
        QCOMPARE(c.rig.busy.dialogsShown(), 1);
    } else {
        QCOMPARE(c.rig.mark(), from);
        QCOMPARE(c.rig.busy.dialogsShown(), 0);
    }
    p.autoUpdateBox().click();
    QVERIFY(!p.autoUpdate());
}

void CommunicationPanelTest::openAndClose_data() {
    QTest::addColumn<QString>("stored"); // "" none, "sim" the simulator, else a path
    QTest::addColumn<bool>("openBefore");
    QTest::addColumn<bool>("clickOpen"); // else "关"
    QTest::addColumn<QStringList>("transports");
    QTest::addColumn<QStringList>("informed");
    QTest::addColumn<bool>("answering");
    QTest::newRow("开 with no port stored does nothing")
        << "" << false << true << QStringList{} << QStringList{} << false;
    QTest::newRow("开 opens the stored port and queries")
        << "sim" << false << true << QStringList{"serial open"} << QStringList{} << true;
    QTest::newRow("开 on an open link only queries")
        << "sim" << true << true << QStringList{} << QStringList{} << true;
    QTest::newRow("开 on a port that is not there")
        << "/dev/korvane-no-such-port" << false << true << QStringList{"serial failed"}
        << QStringList{"打开串口失败!"} << false;
    QTest::newRow("关 closes") << "sim" << true << false << QStringList{"serial close"}
                               << QStringList{} << false;
}

void CommunicationPanelTest::openAndClose() {
    QFETCH(QString, stored);
    QFETCH(bool, openBefore);
    QFETCH(bool, clickOpen);
    QFETCH(QStringList, transports);
    QFETCH(QStringList, informed);
    QFETCH(bool, answering);
    CommRig c;
    QVERIFY(c.start(stored == "sim", openBefore));
    if (!stored.isEmpty() && stored != "sim") {
        c.rig.settings.writeSerialSettings({stored.toStdString(), 3, 1, 115200});
    }
    QVERIFY(c.show());
    c.transports.clear();
    const std::size_t from = c.rig.mark();
    (clickOpen ? c.panel->openRadio() : c.panel->closeRadio()).click();
    const bool openAfter = c.rig.link.isOpen() != 0;
    QCOMPARE(c.transports, transports);
    QCOMPARE(c.rig.presenter.informed, informed);
    QCOMPARE(c.panel->answeringShown(), answering);
    QCOMPARE(c.radios(), (QStringList{openAfter ? "开" : "关", "串口"}));
    QCOMPARE(openAfter, answering);
    if (openAfter) {
        QCOMPARE(c.rig.sentSince(from), kAnsweredQuery);
    } else {
        QCOMPARE(c.rig.mark(), from);
    }
}

void CommunicationPanelTest::networkModeNeedsAPort_data() {
    QTest::addColumn<int>("port");
    QTest::newRow("0") << 0;
    QTest::newRow("65536") << 65536;
}

// Without a usable port "网络" leaves everything as it was; "串口" without a stored port too.
void CommunicationPanelTest::networkModeNeedsAPort() {
    QFETCH(int, port);
    CommRig c;
    QVERIFY(c.start(false, true));
    NetworkSettings net;
    net.port = port;
    net.ip = kSimAddress;
    c.rig.settings.writeNetworkSettings(net);
    QVERIFY(c.show());
    c.transports.clear();
    const std::size_t from = c.rig.mark();
    c.panel->networkModeRadio().click();
    c.panel->serialModeRadio().click();
    QCOMPARE(c.rig.link.networkMode(), 0);
    QCOMPARE(c.transports, QStringList{});
    QVERIFY(c.rig.presenter.informed.isEmpty());
    QCOMPARE(c.radios(), (QStringList{"开", "串口"}));
    QCOMPARE(c.rig.sentSince(from), QStringList{});
}

// "网络" closes the serial port only once the UDP socket is open, and the processor is asked
// over UDP; "串口" opens the serial port again and then closes the socket. A socket that cannot
// open says so and leaves the serial port open.
void CommunicationPanelTest::switchingOpensTheNewLinkBeforeClosingTheOld() {
    CommRig c;
    QVERIFY(c.start(true, true));
    sim::SimUdpServer udp(sim::SimModel{}, kSimAddress, 0);
    udp.start();
    NetworkSettings net;
    net.port = udp.port();
    net.ip = "not an address";
    c.rig.settings.writeNetworkSettings(net);
    QVERIFY(c.show());

    c.transports.clear();
    c.panel->networkModeRadio().click();
    QCOMPARE(c.transports, QStringList{"udp failed"});
    QCOMPARE(c.rig.presenter.informed, QStringList{"打开网口失败!"});
    // The serial link stays the one in use, and the controls say so.
    QCOMPARE(c.rig.link.networkMode(), 0);
    QCOMPARE(c.rig.link.isOpen(), 1);
    QCOMPARE(c.radios(), (QStringList{"开", "串口"}));
    QVERIFY(c.panel->answeringShown());
    const std::size_t stillSerial = c.rig.mark();
    c.rig.facade.setVolume(21);
    QCOMPARE(c.rig.sentSince(stillSerial), QStringList{"09 01 15 55 55 55 55 55 55"});

    net.ip = kSimAddress;
    c.rig.settings.writeNetworkSettings(net);
    c.transports.clear();
    const std::size_t serialFrom = c.rig.mark();
    c.panel->networkModeRadio().click();
    QCOMPARE(c.transports, (QStringList{"udp open", "serial close"}));
    QCOMPARE(c.rig.link.networkMode(), 1);
    QVERIFY(c.panel->answeringShown());
    QCOMPARE(c.radios(), (QStringList{"开", "网络"})); // the UDP link is the one open
    QCOMPARE(udp.receivedFrames().size(), std::size_t{2});
    QCOMPARE(PanelRig::describe(udp.receivedFrames()[0]), read(readtype::kIdentity));
    QCOMPARE(c.rig.mark(), serialFrom);

    c.transports.clear();
    c.panel->serialModeRadio().click();
    QCOMPARE(c.transports, (QStringList{"serial open", "udp close"}));
    QCOMPARE(c.rig.link.networkMode(), 0);
    QVERIFY(c.panel->answeringShown());
    QCOMPARE(c.radios(), (QStringList{"开", "串口"}));
    QCOMPARE(c.rig.presenter.informed.size(), 1);
}

void CommunicationPanelTest::synchroniseAsksTheFrame() {
    CommRig c;
    QVERIFY(c.start(true, true));
    QVERIFY(c.show());
    std::size_t from = c.rig.mark();
    c.panel->synchroniseButton().click(); // no frame yet: nothing to ask
    QCOMPARE(c.rig.sentSince(from), QStringList{});
    RecordingMessenger frame;
    frame.sendResult = 0;
    c.panel->attachFrame(&frame);
    from = c.rig.mark();
    c.panel->synchroniseButton().click();
    QCOMPARE(frame.log(), QStringList{RecordingMessenger::posted(FrameMessage::Synchronise)});
    QCOMPARE(c.rig.sentSince(from), kAnsweredQuery);
}

// The probe waits for its answer on a worker: the UI's own events are handled meanwhile.
void CommunicationPanelTest::statusQueryLeavesTheUiRunning() {
    CommRig c;
    QVERIFY(c.start(true, true));
    QVERIFY(c.show());
    bool queryEnded = false;
    bool handledDuringQuery = false;
    QTimer::singleShot(0, c.panel.get(), [&] { handledDuringQuery = !queryEnded; });
    const std::size_t from = c.rig.mark();
    c.panel->queryButton().click();
    queryEnded = true;
    QVERIFY(handledDuringQuery);
    QCOMPARE(c.rig.sentSince(from), kAnsweredQuery);
}

// Both dialogs come without "退出"; their OK shows the new settings in the panel.
void CommunicationPanelTest::settingsDialogsInPanelMode() {
    CommRig c;
    QVERIFY(c.start(false, false));
    QVERIFY(c.show());
    const QString device = QString::fromStdString(c.rig.server.devicePath());
    bool serialExitHidden = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<SerialSettingsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg != nullptr);
        serialExitHidden = dlg->exitButton().isHidden();
        dlg->portBox().setEditText(device);
        dlg->baudBox().setCurrentIndex(dlg->baudBox().findData(57600));
        dlg->timeoutEdit().setText(QStringLiteral("7"));
        dlg->okButton().click();
    });
    c.panel->serialSettingsButton().click();
    QVERIFY(serialExitHidden);
    QCOMPARE(c.panel->portText().text(), device);
    QCOMPARE(c.panel->baudText().text(), QStringLiteral("57600"));
    QCOMPARE(c.panel->timeoutText().text(), QStringLiteral("7 sec"));
    QCOMPARE(c.rig.link.isOpen(), 1);
    QCOMPARE(c.radios(), (QStringList{"开", "串口"}));

    bool networkExitHidden = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<NetworkSettingsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg != nullptr);
        for (QPushButton* b : dlg->findChildren<QPushButton*>()) {
            networkExitHidden |= b->text() == QStringLiteral("退出") && b->isHidden();
        }
        dlg->ipEdit().setText(QStringLiteral("127.0.0.2"));
        dlg->portEdit().setText(QStringLiteral("6000"));
        dlg->userEdit().setText(QStringLiteral("u"));
        dlg->passwordEdit().setText(QStringLiteral("p"));
        dlg->okButton().click();
    });
    c.panel->networkSettingsButton().click();
    QVERIFY(networkExitHidden);
    QCOMPARE((QStringList{c.panel->ipText().text(), c.panel->networkPortText().text(),
                          c.panel->userText().text(), c.panel->passwordText().text()}),
             (QStringList{"127.0.0.2", "6000", "u", "p"}));
    QCOMPARE(c.rig.link.networkMode(), 0);
}

void CommunicationPanelTest::serialDialogActsOnTheSerialPortOnly_data() {
    QTest::addColumn<bool>("networkMode");
    QTest::addColumn<bool>("portOpens");
    QTest::addColumn<QStringList>("transports");
    QTest::newRow("network mode, the port opens")
        << true << true << QStringList{"serial open", "udp close"};
    QTest::newRow("network mode, the port fails") << true << false << QStringList{"serial failed"};
    QTest::newRow("serial mode, the port fails")
        << false << false << QStringList{"serial close", "serial failed"};
}

// "串口设置" → OK closes and opens the serial port only. In network mode an open port takes over
// as "串口" would; a port that fails leaves the UDP link open and in use. Either way the radios
// and the picture show the link as it is afterwards, and the next command goes where they say.
void CommunicationPanelTest::serialDialogActsOnTheSerialPortOnly() {
    QFETCH(bool, networkMode);
    QFETCH(bool, portOpens);
    QFETCH(QStringList, transports);
    CommRig c;
    QVERIFY(c.start(true, true));
    sim::SimUdpServer udp(sim::SimModel{}, kSimAddress, 0);
    udp.start();
    NetworkSettings net;
    net.port = udp.port();
    net.ip = kSimAddress;
    c.rig.settings.writeNetworkSettings(net);
    QVERIFY(c.show());
    if (networkMode) {
        c.panel->networkModeRadio().click();
        QCOMPARE(c.rig.link.networkMode(), 1);
    }
    const QString device = portOpens ? QString::fromStdString(c.rig.server.devicePath())
                                     : QStringLiteral("/dev/korvane-no-such-port");
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<SerialSettingsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg != nullptr);
        dlg->portBox().setEditText(device);
        dlg->okButton().click();
        if (dlg->isVisible()) {
            dlg->skipButton().click(); // the failed port leaves the dialog open
        }
    });
    c.transports.clear();
    c.rig.presenter.informed.clear();
    c.panel->serialSettingsButton().click();
    QCOMPARE(c.transports, transports);
    const bool udpInUse = networkMode && !portOpens;
    QCOMPARE(c.rig.link.networkMode(), udpInUse ? 1 : 0);
    QCOMPARE(c.rig.link.isOpen() != 0, udpInUse || portOpens);
    QCOMPARE(c.panel->answeringShown(), udpInUse || portOpens);
    QCOMPARE(c.radios(),
             (QStringList{udpInUse || portOpens ? "开" : "关", udpInUse ? "网络" : "串口"}));
    QCOMPARE(c.rig.presenter.informed,
             portOpens ? QStringList{} : QStringList{QStringLiteral("打开串口失败!")});

    const std::size_t serialFrom = c.rig.mark();
    const std::size_t udpFrom = udp.receivedFrames().size();
    c.rig.facade.setVolume(33);
    if (udpInUse) {
        QVERIFY(CommRig::waitUntil([&] { return udp.receivedFrames().size() > udpFrom; }));
        QCOMPARE(PanelRig::describe(udp.receivedFrames().back()),
                 QStringLiteral("09 01 21 55 55 55 55 55 55"));
    } else if (portOpens) {
        QCOMPARE(c.rig.sentSince(serialFrom), QStringList{"09 01 21 55 55 55 55 55 55"});
        QCOMPARE(udp.receivedFrames().size(), udpFrom);
    }
}

// In network mode "开" and "关" show and act on the UDP link.
void CommunicationPanelTest::openAndCloseActOnTheNetworkLinkInNetworkMode() {
    CommRig c;
    QVERIFY(c.start(true, true));
    sim::SimUdpServer udp(sim::SimModel{}, kSimAddress, 0);
    udp.start();
    NetworkSettings net;
    net.port = udp.port();
    net.ip = kSimAddress;
    c.rig.settings.writeNetworkSettings(net);
    QVERIFY(c.show());
    c.panel->networkModeRadio().click();
    QCOMPARE(c.radios(), (QStringList{"开", "网络"}));
    c.transports.clear();
    c.panel->closeRadio().click();
    QCOMPARE(c.transports, QStringList{"udp close"});
    QCOMPARE(c.radios(), (QStringList{"关", "网络"}));
    QVERIFY(!c.panel->answeringShown());
    const std::size_t udpFrom = udp.receivedFrames().size();
    c.panel->openRadio().click();
    QCOMPARE(c.transports, (QStringList{"udp close", "udp open"}));
    QCOMPARE(c.radios(), (QStringList{"开", "网络"}));
    QVERIFY(c.panel->answeringShown());
    QCOMPARE(PanelRig::describe(udp.receivedFrames()[udpFrom]), read(readtype::kIdentity));
}

QTEST_MAIN(CommunicationPanelTest)
#include "CommunicationPanelTest.moc"
