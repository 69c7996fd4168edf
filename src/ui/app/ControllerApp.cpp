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
#include "ui/frame/MainWindow.h"
#include "ui/i18n/Language.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/PanelFactory.h"
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

} // namespace

ControllerApp::ControllerApp(AppOptions options)
    : options_(std::move(options)), presenter_(presenterOf(options_, ownPresenter_)),
      sink_(std::make_unique<UiMessageSink>(presenter_)), link_(&CommLog::instance(), sink_.get()),
      facade_(link_, mirror_), busy_(link_, gate_), panels_(std::make_unique<PanelFactory>()),
      language_(std::make_unique<Language>()) {
    applyMirrorDefaults(mirror_, kDefaultResolution);
    link_.setSendSwitch(1);
}

ControllerApp::~ControllerApp() {
    frame_.reset();
    link_.close();
}

bool ControllerApp::initInstance() {
    chinese_ = language_->choose(settings_, options_.systemLocale, presenter_);

    if (!firstConnection()) {
        SerialSettingsDialog dlg(link_, settings_, presenter_, busy_,
                                 SerialSettingsDialog::Mode::Normal);
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
    applyWindowIcon();
    frame_->setStatusText(statusText());
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

// Always over the serial port: network mode is only chosen later, from the communication
// panel. No configured port counts as a failed attempt without touching any device.
bool ControllerApp::firstConnection() {
    SerialSettings serial = settings_.readSerialSettings();
    if (options_.demo) {
        demo_ = std::make_unique<DemoDevice>();
        try {
            demo_->start();
            serial.devicePath = demo_->devicePath();
            serial.portNumber = portNumberFor(serial.devicePath);
        } catch (const std::exception&) {
            demo_.reset();
        }
    }
    if (!serialConfigured(serial)) {
        return false;
    }
    int opened = 0;
    busy_.runUnseen([&] { opened = link_.configureSerialAndOpen(serial); });
    return opened != 0 && link_.isOpen() != 0;
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
