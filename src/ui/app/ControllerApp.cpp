#include "ui/app/ControllerApp.h"

#include "core/link/CommLog.h"
#include "core/link/ResolutionTable.h"
#include "core/store/DataDirectory.h"
#include "core/store/ProgramDirectory.h"
#include "ui/app/AboutDialog.h"
#include "ui/app/AppRestart.h"
#include "ui/app/DemoDevice.h"
#include "ui/app/HelpDocument.h"
#include "ui/app/StartupTrace.h"
#include "ui/device/MessageBoxPresenter.h"
#include "ui/device/UiMessageSink.h"
#include "ui/dialogs/SerialPortChoice.h"
#include "ui/dialogs/SerialSettingsDialog.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/LinkStatusField.h"
#include "ui/frame/LinkStatusView.h"
#include "ui/frame/MainWindow.h"
#include "ui/i18n/Language.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/PanelFactory.h"
#include "ui/remote/RemoteHost.h"
#include "ui/widgets/UiIcons.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

namespace korvane::ui {

namespace {
MessagePresenter& presenterOf(const AppOptions& o, std::unique_ptr<MessagePresenter>& own) {
    if (o.presenter != nullptr) {
        return *o.presenter;
    }
    own = std::make_unique<MessageBoxPresenter>();
    return *own;
}

constexpr std::chrono::milliseconds kStartProbeDeadline{300};
} // namespace

ControllerApp::ControllerApp(AppOptions options)
    : options_(std::move(options)), presenter_(presenterOf(options_, ownPresenter_)),
      sink_(std::make_unique<UiMessageSink>(presenter_)), link_(&CommLog::instance(), sink_.get()),
      facade_(link_, mirror_), busy_(link_, gate_), panels_(std::make_unique<PanelFactory>()),
      language_(std::make_unique<Language>()) {
    applyMirrorDefaults(mirror_, kDefaultResolution);
    link_.setSendSwitch(1);
    // The log of this run lives in the program directory of this run; a log that cannot be
    // written is said once in the status bar (the sink is the context, so the report is dropped
    // once the application is gone).
    CommLog::instance().relocate(CommLog::defaultPath());
    CommLog::instance().setFailureHandler([this](const std::string&) {
        QMetaObject::invokeMethod(
            sink_.get(),
            [this] {
                if (frame_) {
                    frame_->setStatusText(uiText(MessageId::LogWriteFailed));
                }
            },
            Qt::QueuedConnection);
    });
}

ControllerApp::~ControllerApp() {
    CommLog::instance().setFailureHandler({});
    frame_.reset();
    watcher_.reset();
    link_.close();
}

bool ControllerApp::initInstance() {
    chinese_ = language_->choose(settings_, options_.systemLocale, presenter_);
    // From here on the link knows when the processor is gone and brings it back by itself.
    LinkWatcher::Timing timing = options_.linkTiming;
    timing.keepAlive = std::chrono::seconds{settings_.readKeepAlive()};
    watcher_ = std::make_unique<LinkWatcher>(link_, timing);

    if (!firstConnection()) {
        SerialSettingsDialog dlg(link_, settings_, presenter_, busy_,
                                 SerialSettingsDialog::Mode::Normal);
        // Only when no device is configured: a configured one that does not open starts the
        // link lost, and the status bar names it and says why.
        dlg.showDemoHint(true);
        const int result = options_.runSerialDialog ? options_.runSerialDialog(dlg) : dlg.exec();
        if (result == SerialSettingsDialog::kExit) {
            return false;
        }
    }

    FrameServices services{link_,
                           mirror_,
                           facade_,
                           settings_,
                           presenter_,
                           sink_.get(),
                           busy_,
                           options_.panels != nullptr ? *options_.panels : *panels_,
                           options_.restart,
                           [this] { showAbout(); },
                           [this] { openHelp(); }};
    if (!services.restart) {
        services.restart = [] { restartDetached(QCoreApplication::arguments().mid(1)); };
    }
    frame_ = std::make_unique<MainWindow>(services);
    StartupTrace::attachIfAsked(*frame_);
    remote_ = std::make_unique<RemoteHost>(
        *frame_, services, std::make_unique<remote::RemoteSettings>(settings_.file()));
    applyWindowIcon();
    frame_->setStatusText(statusText());
    if (demo_) {
        frame_->linkStatus().setDemoDevice(demo_->devicePath());
    }
    if (options_.showWindow) {
        // Without a window manager "maximised" means nothing, so the size is set as well.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            frame_->setGeometry(screen->availableGeometry());
        }
        frame_->showMaximized();
    }
    frame_->setWindowTitle(uiText(TemplateText::ProgramTitle));
    return true;
}

// Over the link mode used last. A configured device that is absent (or a processor that does
// not answer) leaves the link lost and reconnecting; only a serial link with no device
// configured at all counts as a failed attempt, without touching any device.
bool ControllerApp::firstConnection() {
    if (!options_.demo && settings_.readNetworkMode()) {
        const NetworkSettings network = settings_.readNetworkSettings();
        link_.setNetworkMode(1);
        busy_.runUnseen([&] {
            if (link_.configureNetworkAndOpen(network) == 0) {
                return;
            }
            // An open socket says nothing of the processor: three unanswered probes make the
            // link lost at once (and reconnecting) instead of after the first keep-alive.
            for (int i = 0;
                 i < 3 && link_.keepAliveProbe(kStartProbeDeadline) == ProbeOutcome::NoAnswer;
                 ++i) {
            }
        });
        return true;
    }
    SerialSettings serial = settings_.readSerialSettings();
    if (options_.demo) {
        try {
            demo_ = std::make_unique<DemoDevice>();
            demo_->start();
            // The demo's device, line settings and addresses are its own and stay in memory:
            // the operator's settings file is neither read for them nor written with them.
            serial = demo_->serialSettings();
            settings_.keepLinkSettingsInMemory(serial, demo_->networkSettings());
        } catch (const std::exception&) {
            demo_.reset();
        }
    }
    if (!serialConfigured(serial)) {
        return false;
    }
    busy_.runUnseen([&] { link_.configureSerialAndOpen(serial); });
    return true;
}

void ControllerApp::applyWindowIcon() {
    auto file = settings_.readIcon();
    if (file.empty()) {
        settings_.writeIcon(MainWindow::kDefaultIcon);
        file = settings_.readIcon();
    }
    const QIcon icon(QString::fromStdString(shippedFile(file).string()));
    if (!file.empty() && !icon.pixmap(16, 16).isNull()) {
        frame_->setWindowIcon(icon);
    }
}

QString ControllerApp::statusText() const {
    if (demo_) {
        return QCoreApplication::translate("korvane::ui::ControllerApp",
                                           "演示模式: 程序内的模拟处理器在 %1")
            .arg(QString::fromStdString(demo_->devicePath()));
    }
    if (link_.linkStatus().lost()) {
        return LinkStatusView::lossText(link_.linkStatus());
    }
    if (link_.isOpen() == 0) {
        return QCoreApplication::translate(
            "korvane::ui::ControllerApp",
            "未连接处理器。想先看看程序？用 --demo 启动，内置模拟处理器。");
    }
    return {};
}

void ControllerApp::showAbout() {
    AboutDialog dlg(mirror_, settings_, frame_.get());
    dlg.exec();
}

void ControllerApp::openHelp() {
    openHelpDocument(settings_.file().parent_path(), dataDirectories(), presenter_, frame_.get());
}

} // namespace korvane::ui
