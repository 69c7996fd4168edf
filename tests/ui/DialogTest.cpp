#include "ScriptedPresenter.h"
#include "core/link/DeviceLink.h"
#include "core/link/UdpSocket.h"
#include "core/store/Settings.h"
#include "sim/SimPtyServer.h"
#include "sim/SimUdpServer.h"
#include "support/TempFolder.h"
#include "ui/app/AboutTexts.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/dialogs/NetworkSettingsDialog.h"
#include "ui/dialogs/SerialSettingsDialog.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <arpa/inet.h>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
// Every datagram of these tests stays on loopback.
const char* const kSimAddress = "127.0.0.2";
const char* const kLoopbackBroadcast = "127.255.255.255";

struct DialogRig {
    QTemporaryDir dir;
    Settings settings{std::filesystem::path(dir.path().toStdString()) / "korvaneapp.ini"};
    ScriptedPresenter presenter;
    DeviceLink link;
    DeviceGate gate;
    BusyRunner busy{link, gate};
};
} // namespace

class DialogTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void serialOkOnlyForACompleteEntry_data();
    void serialOkOnlyForACompleteEntry();
    void serialShowsTheStoredSettings();
    void serialConfirmOpensOrStaysOpen_data();
    void serialConfirmOpensOrStaysOpen();
    void networkSearchListsTheSimulatorOnce();
    void networkSearchThatCannotBindStillFinishes();
    void networkOkRefusesAnEmptyField_data();
    void networkOkRefusesAnEmptyField();
    void aboutTexts_data();
    void aboutTexts();
};

void DialogTest::serialOkOnlyForACompleteEntry_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("baud");
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("1 s") << "/dev/ttyUSB0" << 0 << "1" << true;
    QTest::newRow("60 s") << "/dev/ttyUSB0" << 4 << "60" << true;
    QTest::newRow("0 s") << "/dev/ttyUSB0" << 0 << "0" << false;
    QTest::newRow("61 s") << "/dev/ttyUSB0" << 0 << "61" << false;
    QTest::newRow("empty") << "/dev/ttyUSB0" << 0 << "" << false;
    QTest::newRow("not a number") << "/dev/ttyUSB0" << 0 << "1a" << false;
    QTest::newRow("no port") << "" << 0 << "5" << false;
    QTest::newRow("no baud rate") << "/dev/ttyUSB0" << -1 << "5" << false;
}

void DialogTest::serialOkOnlyForACompleteEntry() {
    QFETCH(QString, port);
    QFETCH(int, baud);
    QFETCH(QString, timeout);
    QFETCH(bool, enabled);
    DialogRig rig;
    SerialSettingsDialog dlg(rig.link, rig.settings, rig.presenter, rig.busy,
                             SerialSettingsDialog::Mode::Normal);
    dlg.portBox().setEditText(port);
    dlg.baudBox().setCurrentIndex(baud);
    dlg.timeoutEdit().setText(timeout);
    QCOMPARE(dlg.okButton().isEnabled(), enabled);
}

// Port, baud rate and timeout come from the settings; the panel's dialog has no "退出".
void DialogTest::serialShowsTheStoredSettings() {
    DialogRig rig;
    rig.settings.writeSerialSettings({"/dev/ttyACM7", 7, 99, 57600});
    SerialSettingsDialog normal(rig.link, rig.settings, rig.presenter, rig.busy,
                                SerialSettingsDialog::Mode::Normal);
    QCOMPARE(normal.portBox().currentText(), QStringLiteral("/dev/ttyACM7"));
    QCOMPARE(normal.baudBox().currentText(), QStringLiteral("57600"));
    QCOMPARE(normal.timeoutEdit().text(), QStringLiteral("60"));
    QCOMPARE(normal.timeoutEdit().maxLength(), 3);
    QVERIFY(!normal.exitButton().isHidden());
    SerialSettingsDialog panel(rig.link, rig.settings, rig.presenter, rig.busy,
                               SerialSettingsDialog::Mode::Panel);
    QVERIFY(panel.exitButton().isHidden());
    panel.skipButton().click();
    QCOMPARE(panel.result(), SerialSettingsDialog::kSkip);
    // A device path alone decides that a port is configured, whatever number stands beside it
    // (an earlier version stored 999 for a name ending in 999).
    rig.settings.writeSerialSettings({"/dev/ttyKV999", 999, 1, 9600});
    SerialSettingsDialog stored999(rig.link, rig.settings, rig.presenter, rig.busy,
                                   SerialSettingsDialog::Mode::Normal);
    QCOMPARE(stored999.portBox().currentText(), QStringLiteral("/dev/ttyKV999"));
}

void DialogTest::serialConfirmOpensOrStaysOpen_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("ends999");
    QTest::newRow("the simulator's terminal") << true << false;
    QTest::newRow("a name ending in 999") << true << true;
    QTest::newRow("no such device") << false << false;
}

// "确定" stores the entry and opens it; a port that cannot be opened says so and keeps the
// dialog open.
void DialogTest::serialConfirmOpensOrStaysOpen() {
    QFETCH(bool, exists);
    QFETCH(bool, ends999);
    DialogRig rig;
    sim::SimPtyServer server;
    server.start();
    QString path = exists ? QString::fromStdString(server.devicePath())
                          : QStringLiteral("/dev/korvane-no-such-port");
    if (ends999) {
        // 999 is "no port" in the settings file; the stored number must not say that.
        const QString link = rig.dir.filePath(QStringLiteral("ttyKV999"));
        QVERIFY(QFile::link(path, link));
        path = link;
    }
    SerialSettingsDialog dlg(rig.link, rig.settings, rig.presenter, rig.busy,
                             SerialSettingsDialog::Mode::Normal);
    dlg.show();
    dlg.portBox().setEditText(path);
    dlg.baudBox().setCurrentIndex(4);
    dlg.timeoutEdit().setText(QStringLiteral("2"));
    QVERIFY(dlg.okButton().isEnabled());
    dlg.okButton().click();
    const SerialSettings stored = rig.settings.readSerialSettings();
    QCOMPARE(QString::fromStdString(stored.devicePath), path);
    QCOMPARE(stored.timeout, 2);
    QCOMPARE(stored.baudRate, 115200);
    QVERIFY(stored.portNumber != 999);
    // And the next opening of the dialog shows it as the configured port.
    SerialSettingsDialog again(rig.link, rig.settings, rig.presenter, rig.busy,
                               SerialSettingsDialog::Mode::Normal);
    QCOMPARE(again.portBox().currentText(), path);
    QCOMPARE(rig.link.isOpen() == 1, exists);
    QCOMPARE(dlg.isVisible(), !exists);
    QCOMPARE(dlg.result(), exists ? SerialSettingsDialog::kOk : 0);
    QCOMPARE(rig.presenter.informed,
             exists ? QStringList() : QStringList{QStringLiteral("打开串口失败!")});
}

void DialogTest::networkSearchListsTheSimulatorOnce() {
    DialogRig rig;
    sim::SimUdpServer server(sim::SimModel{}, kSimAddress, 0);
    server.start();
    NetworkSettings net;
    net.port = server.port();
    net.ip = "10.0.0.9";
    net.broadcastAddress = kLoopbackBroadcast;
    rig.settings.writeNetworkSettings(net);
    NetworkSettingsDialog dlg(rig.settings, NetworkSettingsDialog::Mode::Normal);
    dlg.setAnswerWait(std::chrono::milliseconds(300));
    dlg.show();
    QSignalSpy finished(&dlg, &NetworkSettingsDialog::searchFinished);
    dlg.searchButton().click();
    QVERIFY(dlg.searching());
    QVERIFY(!dlg.okButton().isEnabled());
    QVERIFY(!dlg.ipEdit().isEnabled());
    QVERIFY(finished.wait(10000));
    QCOMPARE(dlg.resultList().topLevelItemCount(), 1);
    QTreeWidgetItem* row = dlg.resultList().topLevelItem(0);
    QCOMPARE(row->text(0), QString::fromLatin1(kSimAddress));
    QCOMPARE(row->text(1), QString::number(server.port()));
    QCOMPARE(dlg.progress().value(), 100);
    QVERIFY(dlg.okButton().isEnabled());
    QVERIFY(dlg.searchButton().isEnabled());
    QVERIFY(dlg.searchNote().isHidden());
    // A row fills the address and the port.
    dlg.ipEdit().setText(QStringLiteral("x"));
    emit dlg.resultList().itemClicked(row, 0);
    QCOMPARE(dlg.ipEdit().text(), QString::fromLatin1(kSimAddress));
    QCOMPARE(dlg.portEdit().text(), QString::number(server.port()));
}

// The search socket cannot have its port (something else holds it without sharing): the
// dialog still ends the search, gives its controls back and says why.
void DialogTest::networkSearchThatCannotBindStillFinishes() {
    DialogRig rig;
    UdpSocket holder;
    QVERIFY(holder.create());
    sockaddr_in local = anyAddressOn(0);
    ::inet_pton(AF_INET, "127.0.0.1", &local.sin_addr);
    QVERIFY(holder.bind(local));
    NetworkSettings net;
    net.port = portOf(*holder.localAddress());
    net.broadcastAddress = kLoopbackBroadcast;
    rig.settings.writeNetworkSettings(net);
    NetworkSettingsDialog dlg(rig.settings, NetworkSettingsDialog::Mode::Panel);
    dlg.setAnswerWait(std::chrono::milliseconds(300));
    dlg.show();
    QSignalSpy finished(&dlg, &NetworkSettingsDialog::searchFinished);
    dlg.searchButton().click();
    QVERIFY(finished.wait(10000));
    QVERIFY(!dlg.searching());
    QVERIFY(dlg.searchButton().isEnabled());
    QVERIFY(dlg.portEdit().isEnabled());
    QVERIFY(!dlg.searchNote().isHidden());
    QVERIFY(!dlg.searchNote().text().isEmpty());
    QCOMPARE(dlg.resultList().topLevelItemCount(), 0);
    QCOMPARE(dlg.progress().value(), 100);
}

void DialogTest::networkOkRefusesAnEmptyField_data() {
    QTest::addColumn<int>("emptyField"); // -1: none
    QTest::newRow("all filled") << -1;
    QTest::newRow("no IP") << 0;
    QTest::newRow("no port") << 1;
    QTest::newRow("no user name") << 2;
    QTest::newRow("no password") << 3;
}

void DialogTest::networkOkRefusesAnEmptyField() {
    QFETCH(int, emptyField);
    DialogRig rig;
    NetworkSettingsDialog dlg(rig.settings, NetworkSettingsDialog::Mode::Normal);
    dlg.show();
    QLineEdit* edits[] = {&dlg.ipEdit(), &dlg.portEdit(), &dlg.userEdit(), &dlg.passwordEdit()};
    const QString values[] = {"127.0.0.2", "5000", "admin", "secret"};
    for (int i = 0; i < 4; ++i) {
        edits[i]->setText(i == emptyField ? QString() : values[i]);
    }
    dlg.okButton().click();
    const NetworkSettings stored = rig.settings.readNetworkSettings();
    if (emptyField >= 0) {
        QVERIFY(dlg.isVisible());
        QCOMPARE(stored.port, 0);
        QVERIFY(stored.ip.empty());
        return;
    }
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), NetworkSettingsDialog::kOk);
    QCOMPARE(stored.port, 5000);
    QCOMPARE(stored.ip, "127.0.0.2");
    QCOMPARE(stored.username, "admin");
    QCOMPARE(stored.password, "secret");
}

void DialogTest::aboutTexts_data() {
    QTest::addColumn<QByteArray>("info");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("date");
    QTest::newRow("read") << QByteArray("\x0e"
                                        "A\x03\x0e\x16",
                                        5)
                          << "A3"
                          << "201422";
    QTest::newRow("week below 10") << QByteArray("\x0e"
                                                 "B\x07\x0d\x05",
                                                 5)
                                   << "B7"
                                   << "201305";
    QTest::newRow("version 98") << QByteArray("\x0e"
                                              "C\x62\x00\x01",
                                              5)
                                << "C98"
                                << "200001";
    QTest::newRow("version 99") << QByteArray("\x0e"
                                              "A\x63\x0e\x16",
                                              5)
                                << ""
                                << "";
    QTest::newRow("never read") << QByteArray("\x0e\x00\xff\x00\x00", 5) << ""
                                << "";
}

void DialogTest::aboutTexts() {
    QFETCH(QByteArray, info);
    QFETCH(QString, version);
    QFETCH(QString, date);
    const auto t = ui::aboutTexts(std::span<const std::uint8_t, 5>(
        reinterpret_cast<const std::uint8_t*>(info.constData()), 5));
    QCOMPARE(t.version, version);
    QCOMPARE(t.date, date);
}

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
