#pragma once

#include "remote/RemoteServer.h"
#include "remote/RemoteSettings.h"
#include "ui/remote/UiRemoteDevice.h"

#include <QObject>
#include <memory>

class QAction;
class QLabel;

namespace korvane::ui {

class MainWindow;
struct FrameServices;

// The remote server inside the desktop program: started from the settings (`remote/enabled`),
// shown in the status bar, set up in the "远程控制" dialog; what remote clients do is told in
// the status bar.
class RemoteHost : public QObject {
    Q_OBJECT
public:
    RemoteHost(MainWindow& window, const FrameServices& services,
               std::unique_ptr<remote::RemoteSettings> settings, QObject* parent = nullptr);
    ~RemoteHost() override;

    // Starts or stops the server as the settings say.
    void apply();
    void openDialog();

    remote::RemoteServer& server() { return *server_; }
    remote::RemoteSettings& settings() { return *settings_; }
    QLabel& statusField() const { return *status_; }
    QAction& menuAction() const { return *action_; }

private:
    void showState();

    MainWindow& window_;
    std::unique_ptr<remote::RemoteSettings> settings_;
    std::unique_ptr<UiRemoteDevice> device_;
    std::unique_ptr<remote::RemoteServer> server_;
    QLabel* status_;
    QAction* action_;
    QString failure_;
};

} // namespace korvane::ui
