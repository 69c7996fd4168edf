#pragma once

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/LinkWatcher.h"
#include "core/link/ParameterMirror.h"
#include "core/store/Settings.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"

#include <QLocale>
#include <QString>
#include <functional>
#include <memory>

namespace korvane::ui {

class DemoDevice;
class IPanelFactory;
class Language;
class MainWindow;
class MessagePresenter;
class PanelFactory;
class RemoteHost;
class SerialSettingsDialog;
class UiMessageSink;

// How the program is started; tests replace what would need an operator.
struct AppOptions {
    // Runs the simulated processor inside the program and connects to it.
    bool demo = false;
    // Decides the language while "lang" holds no choice.
    QLocale systemLocale = QLocale::system();
    // Null: message boxes.
    MessagePresenter* presenter = nullptr;
    // Null: the program's own panels.
    IPanelFactory* panels = nullptr;
    // Null: the program starts itself again, detached.
    std::function<void()> restart;
    // Null: the dialog runs modally. Gives the dialog's result.
    std::function<int(SerialSettingsDialog&)> runSerialDialog;
    // The main window is shown maximised (tests may leave it hidden).
    bool showWindow = true;
    // How the link watcher backs off between reconnect tries (tests lengthen it to see what
    // else brings the link back); the keep-alive always comes from the settings file.
    LinkWatcher::Timing linkTiming = LinkWatcher::kDefaultTiming;
};

// The application: settings, the device link and mirror, the language, the first connection
// and the main window. Everything the processor-facing part does afterwards happens in the
// main frame.
class ControllerApp {
public:
    explicit ControllerApp(AppOptions options = {});
    ~ControllerApp();
    ControllerApp(const ControllerApp&) = delete;
    ControllerApp& operator=(const ControllerApp&) = delete;

    // Start-up; false ends the program before any window is shown ("退出" in the serial
    // settings dialog).
    bool initInstance();

    MainWindow* mainWindow() const { return frame_.get(); }
    RemoteHost* remoteHost() const { return remote_.get(); }
    DeviceLink& link() { return link_; }
    ParameterMirror& mirror() { return mirror_; }
    Settings& settings() { return settings_; }
    bool chinese() const { return chinese_; }
    // --demo's simulated processor (null without --demo); a test pulls it and plugs it back.
    DemoDevice* demoDevice() const { return demo_.get(); }

    void showAbout();
    void openHelp();

private:
    bool firstConnection();
    void applyWindowIcon();
    QString statusText() const;

    AppOptions options_;
    std::unique_ptr<MessagePresenter> ownPresenter_;
    MessagePresenter& presenter_;
    std::unique_ptr<UiMessageSink> sink_;
    Settings settings_;
    ParameterMirror mirror_{};
    DeviceLink link_;
    CommandFacade facade_;
    DeviceGate gate_;
    BusyRunner busy_;
    std::unique_ptr<PanelFactory> panels_;
    std::unique_ptr<Language> language_;
    std::unique_ptr<DemoDevice> demo_;
    std::unique_ptr<LinkWatcher> watcher_;
    std::unique_ptr<MainWindow> frame_;
    // Declared after the frame: it goes first.
    std::unique_ptr<RemoteHost> remote_;
    bool chinese_ = true;
};

} // namespace korvane::ui
