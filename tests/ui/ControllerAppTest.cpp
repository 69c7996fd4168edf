#include "ui/app/ControllerApp.h"

#include "CallLog.h"
#include "EventFence.h"
#include "FakePanels.h"
#include "ScriptedPresenter.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/Frame.h"
#include "sim/SimPtyServer.h"
#include "sim/SimState.h"
#include "support/LineFence.h"
#include "support/TempFolder.h"
#include "ui/app/HelpDocument.h"
#include "ui/dialogs/SerialSettingsDialog.h"
#include "ui/frame/MainWindow.h"
#include "ui/i18n/Language.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/PanelSet.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
const int kSynchronise = messageNumber(FrameMessage::Synchronise);

void writeIni(const QString& text) {
    QFile ini(qEnvironmentVariable("KORVANE_HOME") + QStringLiteral("/korvaneapp.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    // No keep-alive: these tests count every frame the program sends.
    ini.write((text + QStringLiteral("[link]\nkeepalive=0\n")).toUtf8());
}

QString configuredDevice(const sim::SimPtyServer& server) {
    return QStringLiteral("[comm]\ncommport=1\ncommdevice=%1\ntimeout=1\nbaudrate=115200\n")
        .arg(QString::fromStdString(server.devicePath()));
}

// Puts settings into the simulator that differ from the program's defaults.
void changeSimulator(const sim::SimPtyServer& server) {
    DeviceLink link;
    ParameterMirror scratch{};
    CommandFacade facade(link, scratch);
    QVERIFY(link.configureSerialAndOpen({server.devicePath(), 1, 1, 115200}) == 1);
    link.setSendSwitch(1);
    facade.setVolume(77);
    facade.selectInput(Picture::Two, 11);
    // Writes get no answer: the simulator has them once it has read them.
    QTRY_VERIFY(server.state().mirror.volume == 77 && server.state().mirror.p2Source == 11);
}

// Counts the messages an application's frame handles.
struct Handled {
    std::vector<int> numbers;
    void watch(MainWindow* frame) {
        QObject::connect(frame, &MainWindow::messageHandled,
                         [this](int n, int) { numbers.push_back(n); });
    }
    bool waitFor(int number, int timeoutMs = 30000) {
        QDeadlineTimer deadline(timeoutMs);
        while (std::count(numbers.begin(), numbers.end(), number) == 0) {
            if (deadline.hasExpired()) {
                return false;
            }
            QTest::qWait(5);
        }
        return true;
    }
};
// The program as these tests start it: fake panels, scripted messages, no window shown, and the
// start-up serial dialog counted and skipped unless a test answers it otherwise.
struct StartOptions {
    ScriptedPresenter presenter;
    CallLog log;
    FakePanelFactory panels{log};
    AppOptions options;
    int serialDialogs = 0;
    StartOptions() {
        options.presenter = &presenter;
        options.panels = &panels;
        options.showWindow = false;
        options.runSerialDialog = [this](SerialSettingsDialog&) {
            ++serialDialogs;
            return SerialSettingsDialog::kSkip;
        };
    }
    StartOptions(const StartOptions&) = delete;
    StartOptions& operator=(const StartOptions&) = delete;
};
} // namespace

class ControllerAppTest : public QObject {
    Q_OBJECT
    std::unique_ptr<korvane::test::ProgramHome> home_;

private slots:
    void init() {
        home_.reset(); // puts the previous home back before taking a fresh one
        home_ = std::make_unique<korvane::test::ProgramHome>();
    }
    void startUpWithAConfiguredDeviceSynchronises();
    void startUpWithARunningScheduleReadsNothing();
    void anUnwritableLogIsToldInTheStatusBar();
    void demoKeepsItsLinkInMemoryAndServesBothLinks();
    void aDevicePathAloneDecidesAPortIsConfigured();
    void aDeviceThatDoesNotOpenIsNamedWithItsReason_data();
    void aDeviceThatDoesNotOpenIsNamedWithItsReason();
    void startUpWithoutAPortAsksForOne_data();
    void startUpWithoutAPortAsksForOne();
    void languageAtStartUp_data();
    void languageAtStartUp();
    void everyTextHasAnEnglishTranslation();
    void helpOpensTheFirstDocumentThatExists_data();
    void helpOpensTheFirstDocumentThatExists();
};

void ControllerAppTest::startUpWithAConfiguredDeviceSynchronises() {
    sim::SimPtyServer server;
    server.start();
    changeSimulator(server);
    writeIni(configuredDevice(server) + QStringLiteral("[app]\nlang=CHN\n"));
    const std::size_t before = server.receivedFrames().size();
    StartOptions start;
    ControllerApp app(start.options);
    QVERIFY(app.initInstance());
    Handled handled;
    handled.watch(app.mainWindow());
    QVERIFY(handled.waitFor(kSynchronise));

    std::vector<std::uint8_t> types;
    const auto frames = server.receivedFrames();
    for (std::size_t i = before; i < frames.size(); ++i) {
        QCOMPARE(static_cast<int>(frames[i][frame::kCodeOffset]), 0);
        types.push_back(frames[i][frame::kDataOffset]);
    }
    QCOMPARE(types, (std::vector<std::uint8_t>{8, 13, 0, 1, 2, 3, 4, 6, 11, 12, 14, 8}));
    QCOMPARE(static_cast<int>(app.mirror().volume), 77);
    QCOMPARE(static_cast<int>(app.mirror().p2Source), 11);
    QVERIFY(std::memcmp(app.mirror().deviceInfo, sim::kSimDeviceInfo.data(), 5) == 0);
    const QStringList calls = start.log.calls;
    QVERIFY(calls.contains("comm.online 1"));
    QVERIFY(calls.contains("inputBar.hideExtended"));
    QCOMPARE(calls.count("centre.refresh sw=0"), 2); // defaults of code 6, then the read-back
    QCOMPARE(calls.mid(calls.size() - 2),
             (QStringList{QStringLiteral("inputBar.select %1 quiet=0")
                              .arg(app.mirror().switchState[sw::kPicture1Input]),
                          "dual.select 11"}));
    QVERIFY(start.presenter.informed.isEmpty());
    QCOMPARE(app.link().sendSwitch(), 1);
    QCOMPARE(app.mainWindow()->windowTitle(), QStringLiteral("Korvane Controller v3.0"));
    QCOMPARE(app.settings().readIcon().filename().string(), "main.ico");
}

// The log's file is a link to a device that is always full: the start-up synchronisation
// still succeeds, no message box appears, and the status bar says it once.
void ControllerAppTest::anUnwritableLogIsToldInTheStatusBar() {
    sim::SimPtyServer server;
    server.start();
    changeSimulator(server);
    writeIni(configuredDevice(server) + QStringLiteral("[app]\nlang=CHN\n"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"),
                        QString::fromStdString(home_->file("korvaneapp.log"))));
    StartOptions start;
    ControllerApp app(start.options);
    QVERIFY(app.initInstance());
    Handled handled;
    handled.watch(app.mainWindow());
    QVERIFY(handled.waitFor(kSynchronise));
    QCOMPARE(static_cast<int>(app.mirror().volume), 77);
    QVERIFY(start.presenter.informed.isEmpty());
    const auto* status = app.mainWindow()->findChild<QLabel*>(QStringLiteral("statusText"));
    QVERIFY(status != nullptr);
    QTRY_COMPARE(status->text(), uiText(MessageId::LogWriteFailed));
}

// --demo: fixed line settings (a corrupt baud rate in the file does not matter), the panel
// shows the demo's device, network mode and the status field reach the demo on loopback UDP,
// "关"/"开" and "串口" come back to the demo's terminal, and the settings file is never touched.
void ControllerAppTest::demoKeepsItsLinkInMemoryAndServesBothLinks() {
    const QString ini = QStringLiteral("[comm]\ncommport=3\ncommdevice=/dev/ttyOPERATOR\n"
                                       "baudrate=abc\n[net]\nip=10.1.2.3\nport=5000\n"
                                       "broadcast=10.255.255.255\n[app]\nlang=CHN\n");
    writeIni(ini);
    const QString iniPath = QString::fromStdString(home_->file("korvaneapp.ini"));
    ScriptedPresenter presenter;
    AppOptions options;
    options.demo = true;
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
    QCOMPARE(app.link().isOpen(), 1);
    // The link runs on the demo's own terminal, and the settings give that terminal.
    const QString device = QString::fromStdString(app.link().serialSettings().devicePath);
    QVERIFY(!device.isEmpty() && QFileInfo::exists(device));
    QCOMPARE(QString::fromStdString(app.settings().readSerialSettings().devicePath), device);
    const NetworkSettings net = app.settings().readNetworkSettings();
    QCOMPARE(QString::fromStdString(net.ip), QStringLiteral("127.0.0.2"));
    QCOMPARE(QString::fromStdString(net.broadcastAddress), QStringLiteral("127.255.255.255"));
    QVERIFY(net.port > 0);
    const auto* field = app.mainWindow()->findChild<QLabel*>(QStringLiteral("linkStatus"));
    QVERIFY(field != nullptr);
    QTRY_VERIFY(field->text().contains(QStringLiteral("演示模式")));
    QVERIFY(field->text().contains(device));

    auto* panel = dynamic_cast<CommunicationPanel*>(app.mainWindow()->panels().communication);
    QVERIFY(panel != nullptr);
    // The panel sits in a pane of the hidden window; its first display is what fills it.
    QShowEvent shown;
    QCoreApplication::sendEvent(panel, &shown);
    QCOMPARE(panel->portText().text(), device);
    QCOMPARE(panel->baudText().text(), QStringLiteral("115200"));
    QTRY_VERIFY(panel->answeringShown());
    panel->networkModeRadio().click();
    QCOMPARE(app.link().networkMode(), 1);
    QVERIFY(panel->answeringShown()); // the demo answered over loopback UDP
    QTRY_COMPARE(field->text(), QStringLiteral("✓ 演示模式 - 网络 127.0.0.2:%1").arg(net.port));
    // The UDP link is the one in use now: its state is the link's, watched and kept alive.
    QCOMPARE(app.link().linkStatus().state, LinkState::Connected);
    QCOMPARE(app.link().linkStatus().where, "127.0.0.2:" + std::to_string(net.port));
    panel->serialModeRadio().click();
    QCOMPARE(app.link().networkMode(), 0);
    QVERIFY(panel->answeringShown());
    QCOMPARE(app.link().linkStatus().state, LinkState::Connected);
    QCOMPARE(QString::fromStdString(app.link().linkStatus().where), device);
    panel->closeRadio().click();
    QTRY_COMPARE(field->text(), QStringLiteral("未连接"));
    panel->openRadio().click();
    QCOMPARE(app.link().isOpen(), 1);
    QVERIFY(panel->answeringShown());
    QTRY_VERIFY(field->text().contains(device));
    QVERIFY(presenter.informed.isEmpty());

    QFile file(iniPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString after = QString::fromUtf8(file.readAll());
    QVERIFY2(!after.contains(device), qPrintable(after));
    QVERIFY(after.contains(QStringLiteral("commdevice=/dev/ttyOPERATOR")));
    QVERIFY(after.contains(QStringLiteral("ip=10.1.2.3")));
    QVERIFY(after.contains(QStringLiteral("broadcast=10.255.255.255")));
}

// A stored port number of 999 ("no port") beside a device path, as an earlier version wrote
// for a name ending in 999: the path decides, the device opens and the program synchronises.
void ControllerAppTest::aDevicePathAloneDecidesAPortIsConfigured() {
    sim::SimPtyServer server;
    server.start();
    changeSimulator(server);
    const QString link = QString::fromStdString(home_->file("ttyKV999"));
    QVERIFY(QFile::link(QString::fromStdString(server.devicePath()), link));
    writeIni(QStringLiteral("[comm]\ncommport=999\ncommdevice=%1\ntimeout=1\nbaudrate=9600\n"
                            "[app]\nlang=CHN\n")
                 .arg(link));
    StartOptions start;
    ControllerApp app(start.options);
    QVERIFY(app.initInstance());
    QCOMPARE(start.serialDialogs, 0);
    QCOMPARE(app.link().isOpen(), 1);
    Handled handled;
    handled.watch(app.mainWindow());
    QVERIFY(handled.waitFor(kSynchronise));
    QCOMPARE(static_cast<int>(app.mirror().volume), 77);
}

void ControllerAppTest::aDeviceThatDoesNotOpenIsNamedWithItsReason_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason"); // %1: the device
    QTest::newRow("no such device") << "missing" << ENOENT << QStringLiteral("设备 %1 不存在");
    QTest::newRow("held by another program")
        << "busy" << EBUSY << QStringLiteral("%1 正被其他程序使用");
    QTest::newRow("no permission")
        << "denied" << EACCES
        << QStringLiteral("没有权限打开 %1 (当前用户是否在该设备所属的组中, 例如 dialout?)");
}

// The configured device does not open at start-up: the program starts without the serial
// settings dialog, shows the link lost at that device and says why (the serial dialog's
// words), and keeps trying; a new reason while it tries replaces the old one in the field.
void ControllerAppTest::aDeviceThatDoesNotOpenIsNamedWithItsReason() {
    QFETCH(QString, kind);
    QFETCH(int, error);
    QFETCH(QString, reason);
    sim::SimPtyServer server;
    server.start();
    DeviceLink holder;
    QString device = QString::fromStdString(home_->file("ttyNONE"));
    if (kind == QLatin1String("busy")) {
        device = QString::fromStdString(server.devicePath());
        QCOMPARE(holder.configureSerialAndOpen({device.toStdString(), 1, 1, 9600}), 1);
    } else if (kind == QLatin1String("denied")) {
        // Read-only for every user, root included.
        device = QStringLiteral("/proc/sys/kernel/ostype");
        const int fd = ::open("/proc/sys/kernel/ostype", O_RDWR | O_NOCTTY | O_NONBLOCK);
        const int why = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        if (fd >= 0 || why != EACCES) {
            QSKIP("this system opens the read-only file for writing");
        }
    }
    writeIni(
        QStringLiteral("[comm]\ncommport=0\ncommdevice=%1\n[app]\nlang=CHN\n[link]\nkeepalive=0\n")
            .arg(device));
    StartOptions start;
    ControllerApp app(start.options);
    QVERIFY(app.initInstance());
    QCOMPARE(start.serialDialogs, 0);
    const LinkStatus status = app.link().linkStatus();
    QVERIFY(status.lost());
    QCOMPARE(static_cast<int>(status.reason), static_cast<int>(LossReason::OpenFailed));
    QCOMPARE(QString::fromStdString(status.where), device);
    QCOMPARE(status.error, error);
    const QString named = reason.arg(device);
    const auto* field = app.mainWindow()->findChild<QLabel*>(QStringLiteral("linkStatus"));
    const auto* left = app.mainWindow()->findChild<QLabel*>(QStringLiteral("statusText"));
    QVERIFY(field != nullptr && left != nullptr);
    QTRY_VERIFY2(field->text().startsWith(QStringLiteral("✗")) && field->text().endsWith(named),
                 qPrintable(field->text()));
    QCOMPARE(left->text(), QStringLiteral("与处理器的连接已断开: %1，正在自动重新连接").arg(named));
    QVERIFY(start.presenter.informed.isEmpty());

    if (kind == QLatin1String("missing")) {
        // The device appears, held by another program: the field now says that.
        QCOMPARE(holder.configureSerialAndOpen({server.devicePath(), 1, 1, 9600}), 1);
        QVERIFY(QFile::link(QString::fromStdString(server.devicePath()), device));
        const QString busy = QStringLiteral("%1 正被其他程序使用").arg(device);
        QTRY_VERIFY2(field->text().endsWith(busy), qPrintable(field->text()));
        QCOMPARE(app.link().linkStatus().error, EBUSY);
    }
}

// A schedule that was running at the last exit: defaults of code 6, the runner reopens, and
// nothing is read.
void ControllerAppTest::startUpWithARunningScheduleReadsNothing() {
    sim::SimPtyServer server;
    server.start();
    changeSimulator(server);
    writeIni(configuredDevice(server) + QStringLiteral("[app]\nlang=CHN\nrunningschdle=1\n"));
    const std::size_t before = server.receivedFrames().size();
    StartOptions start;
    ControllerApp app(start.options);
    app.mirror().volume = 3; // the defaults must replace this
    QVERIFY(app.initInstance());
    Handled handled;
    handled.watch(app.mainWindow());
    QVERIFY(handled.waitFor(messageNumber(FrameMessage::OpenScheduleRunner)));
    QVERIFY(deliverPosted());
    // A fence through the program's own link: what it sent before has arrived with it.
    const int wasOn = app.link().sendSwitch();
    app.link().setSendSwitch(1);
    QCOMPARE(
        app.link().write(static_cast<CommandCode>(korvane::test::kFenceCode), frame::padData()), 1);
    app.link().setSendSwitch(wasOn);
    QTRY_COMPARE(server.receivedFrames().size(), before + 1);
    QVERIFY(korvane::test::isFence(server.receivedFrames().back()));
    ParameterMirror defaults{};
    applyMirrorDefaults(defaults, 6);
    QVERIFY(std::memcmp(&defaults, &app.mirror(), sizeof defaults) == 0);
    const qsizetype runner = start.log.calls.indexOf("runner auto=1");
    QVERIFY(runner > 0);
    QCOMPARE(start.log.calls.count("centre.refresh sw=0"), 1);
    QVERIFY(start.log.calls.indexOf("centre.refresh sw=0") < runner);
    QVERIFY(!start.log.calls.contains("comm.online 1"));
}

void ControllerAppTest::startUpWithoutAPortAsksForOne_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("starts");
    QTest::newRow("退出") << SerialSettingsDialog::kExit << false;
    QTest::newRow("跳过") << SerialSettingsDialog::kSkip << true;
}

// No "commport": no port is touched, the serial settings dialog asks; "退出" ends the
// program, "跳过" runs it offline with the hint for --demo.
void ControllerAppTest::startUpWithoutAPortAsksForOne() {
    QFETCH(int, answer);
    QFETCH(bool, starts);
    writeIni(QStringLiteral("[app]\nlang=CHN\n"));
    StartOptions start;
    start.options.runSerialDialog = [&](SerialSettingsDialog& dlg) {
        ++start.serialDialogs;
        return dlg.exitButton().isHidden() ? -1 : answer;
    };
    ControllerApp app(start.options);
    QCOMPARE(app.initInstance(), starts);
    QCOMPARE(start.serialDialogs, 1);
    QCOMPARE(app.mainWindow() != nullptr, starts);
    QCOMPARE(app.link().isOpen(), 0);
    if (starts) {
        const auto* status = app.mainWindow()->findChild<QLabel*>(QStringLiteral("statusText"));
        QVERIFY(status != nullptr);
        QVERIFY(status->text().contains(QStringLiteral("--demo")));
    }
}

void ControllerAppTest::languageAtStartUp_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("system");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("after");
    QTest::newRow("unset, Chinese system") << ""
                                           << "zh_CN" << true << "CHN";
    QTest::newRow("unset, Taiwanese system") << ""
                                             << "zh_TW" << true << "CHN";
    QTest::newRow("unset, English system") << ""
                                           << "en_US" << false << "ENG";
    QTest::newRow("unset, German system") << ""
                                          << "de_DE" << false << "ENG";
    QTest::newRow("chn in lower case") << "chn"
                                       << "en_US" << true << "chn";
    QTest::newRow("ENG on a Chinese system") << "ENG"
                                             << "zh_CN" << false << "ENG";
    QTest::newRow("unknown value") << "FRA"
                                   << "zh_CN" << true << "CHN";
}

void ControllerAppTest::languageAtStartUp() {
    QFETCH(QString, stored);
    QFETCH(QString, system);
    QFETCH(bool, chinese);
    QFETCH(QString, after);
    if (!stored.isEmpty()) {
        writeIni(QStringLiteral("[app]\nlang=%1\n").arg(stored));
    }
    Settings settings;
    ScriptedPresenter presenter;
    Language language;
    QCOMPARE(language.choose(settings, QLocale(system), presenter), chinese);
    QCOMPARE(QString::fromStdString(settings.readLanguage()), after);
    QCOMPARE(language.englishLoaded(), !chinese);
    QCOMPARE(QCoreApplication::translate("korvane::ui::FrameMenu", "同步数据"),
             chinese ? QStringLiteral("同步数据") : QStringLiteral("&Synchronise Data"));
    QCOMPARE(uiText(MessageId::OpenPortFailed),
             chinese ? QStringLiteral("打开串口失败!")
                     : QStringLiteral("Failed to open the serial port!"));
    QVERIFY(presenter.informed.isEmpty());
}

// The core's texts through the embedded translation, and every text of the program's own
// translation source.
void ControllerAppTest::everyTextHasAnEnglishTranslation() {
    static const QRegularExpression kChineseCharacter(
        QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    static const QRegularExpression kChineseMnemonic(QStringLiteral("\\(&.\\)"));
    QTranslator core;
    QVERIFY(core.load(QStringLiteral(":/i18n/korvane_core_en.qm")));
    for (int i = 0; i <= static_cast<int>(kLastMessageId); ++i) {
        const std::string text(messageText(static_cast<MessageId>(i)));
        QVERIFY2(!text.empty(), qPrintable(QString::number(i)));
        QVERIFY2(!core.translate(kMessageContext, text.c_str()).isEmpty(), text.c_str());
    }
    for (int i = 0; i <= static_cast<int>(TemplateText::FileError); ++i) {
        const std::string text(templateText(static_cast<TemplateText>(i)));
        QVERIFY2(!core.translate(kTemplateContext, text.c_str()).isEmpty(), text.c_str());
    }
    QFile ts(QStringLiteral(KORVANE_UI_TS));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    int messages = 0;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            QVERIFY2(type.isEmpty(), qPrintable(source));
            const QString english = xml.readElementText();
            QVERIFY2(!english.isEmpty(), qPrintable(source));
            // English through and through: no Chinese left, and mnemonics in the English
            // manner ("E&xit"), not the Chinese one ("退出(&X)").
            QVERIFY2(!english.contains(kChineseCharacter), qPrintable(english));
            QVERIFY2(!english.contains(kChineseMnemonic), qPrintable(english));
            ++messages;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 50);
}

void ControllerAppTest::helpOpensTheFirstDocumentThatExists_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("opened"); // empty: "帮助文件不存在!"
    const QString manual = QStringLiteral("home/TRS TX-45使用说明书.pdf");
    const QString older = QStringLiteral("home/TRS TX-40 Help.pdf");
    const QString first = QStringLiteral("data1/manual/index.html");
    const QString second = QStringLiteral("data2/manual/index.html");
    QTest::newRow("all") << QStringList{manual, older, first, second} << manual;
    QTest::newRow("older help file") << QStringList{older, first} << older;
    QTest::newRow("installed manual") << QStringList{second, first} << first;
    QTest::newRow("second data folder") << QStringList{second} << second;
    QTest::newRow("none") << QStringList{} << QString();
}

void ControllerAppTest::helpOpensTheFirstDocumentThatExists() {
    QFETCH(QStringList, present);
    QFETCH(QString, opened);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const std::filesystem::path base = root.path().toStdString();
    std::filesystem::create_directories(base / "home");
    for (const QString& name : present) {
        const auto file = base / name.toStdString();
        std::filesystem::create_directories(file.parent_path());
        QFile f(QString::fromStdString(file.string()));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const std::vector<std::filesystem::path> dataDirs{base / "data1", base / "data2"};
    ScriptedPresenter presenter;
    QStringList shown;
    openHelpDocument(base / "home", dataDirs, presenter, nullptr,
                     [&](const QString& path) { shown << path; });
    if (opened.isEmpty()) {
        QCOMPARE(shown, QStringList());
        QCOMPARE(presenter.informed, QStringList{QStringLiteral("帮助文件不存在!")});
    } else {
        QCOMPARE(shown, QStringList{root.filePath(opened)});
        QCOMPARE(presenter.informed, QStringList());
    }
}

QTEST_MAIN(ControllerAppTest)
#include "ControllerAppTest.moc"
