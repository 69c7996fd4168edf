#include "ui/remote/RemoteHost.h"

#include "ui/frame/MainWindow.h"
#include "ui/frame/MenuCommand.h"
#include "ui/remote/RemoteControlDialog.h"
#include "ui/wall/CentrePane.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace korvane::ui {

RemoteHost::RemoteHost(MainWindow& window, const FrameServices& services,
                       std::unique_ptr<remote::RemoteSettings> settings, QObject* parent)
    : QObject(parent), window_(window), settings_(std::move(settings)),
      device_(std::make_unique<UiRemoteDevice>(window, services)),
      server_(std::make_unique<remote::RemoteServer>(*device_, *settings_)) {
    status_ = new QLabel(&window);
    status_->setObjectName(QStringLiteral("remoteStatus"));
    window.statusBar()->addPermanentWidget(status_);
    // Names renamed by a remote client show on the centre pane's buttons.
    connect(&server_->hub(), &remote::RemoteHub::stateChanged, this,
            [this](const QJsonObject& changes) {
                for (auto it = changes.begin(); it != changes.end(); ++it) {
                    if (it.key().startsWith(QLatin1String("Template"))) {
                        if (auto* centre = dynamic_cast<CentrePane*>(window_.panels().centre)) {
                            centre->showTemplateNames();
                        }
                        return;
                    }
                }
            });
    connect(&server_->hub(), &remote::RemoteHub::activity, this,
            [this](const QString& text, bool failed) {
                window_.setStatusText(failed ? tr("远程操作失败: %1").arg(text)
                                             : tr("远程操作: %1").arg(text));
            });

    // Beside the test pattern, under the tools.
    action_ = new QAction(tr("远程控制..."), &window);
    action_->setObjectName(QStringLiteral("remoteControlAction"));
    connect(action_, &QAction::triggered, this, [this] { openDialog(); });
    QMenu* tools = nullptr;
    if (QAction* beside = window.action(menucmd::kTestPattern)) {
        for (QObject* o : beside->associatedObjects()) {
            tools = tools != nullptr ? tools : qobject_cast<QMenu*>(o);
        }
    }
    (tools != nullptr ? static_cast<QWidget*>(tools) : window.menuBar())->addAction(action_);
    apply();
}

RemoteHost::~RemoteHost() = default;

void RemoteHost::apply() {
    const remote::RemoteConfig c = settings_->read();
    failure_.clear();
    if (!c.enabled) {
        server_->stop();
    } else if (!server_->start(QString::fromStdString(c.listen), c.httpPort, c.oscPort)) {
        failure_ = server_->lastError();
    }
    showState();
}

void RemoteHost::showState() {
    if (!failure_.isEmpty()) {
        status_->setText(tr("远程控制: 失败 (%1)").arg(failure_));
    } else if (server_->running()) {
        status_->setText(tr("远程控制: %1 HTTP %2 OSC %3")
                             .arg(server_->listenAddress())
                             .arg(server_->httpPort())
                             .arg(server_->oscPort()));
    } else {
        status_->setText(tr("远程控制: 关"));
    }
}

void RemoteHost::openDialog() {
    RemoteControlDialog dlg(*settings_, &window_);
    if (dlg.exec() == QDialog::Accepted) {
        apply();
    } else if (server_->running()) {
        // A token renewed in the dialog holds even when the rest was cancelled.
        server_->hub().setToken(QByteArray::fromStdString(settings_->token()));
    }
}

} // namespace korvane::ui
