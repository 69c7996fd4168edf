#include "ui/panels/CommunicationPanel.h"

#include "core/commands/ReadBack.h"
#include "core/link/DeviceLink.h"
#include "core/store/Settings.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/MessagePresenter.h"
#include "ui/dialogs/NetworkSettingsDialog.h"
#include "ui/dialogs/SerialPortChoice.h"
#include "ui/dialogs/SerialSettingsDialog.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/OnlinePicture.h"
#include "ui/panels/PanelContext.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace korvane::ui {

namespace {
constexpr int kHighestPort = 65535;

QLineEdit* shownText(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}
} // namespace

CommunicationPanel::CommunicationPanel(const PanelContext& context, QWidget* parent)
    : QWidget(parent), link_(context.link), mirror_(context.mirror), facade_(context.facade),
      settings_(context.settings), presenter_(context.presenter), messages_(context.messages),
      busy_(context.busy) {
    setObjectName(QStringLiteral("communicationPanel"));
    buildControls();
    setOnlineIndicator(false);
    // Ticked from the start: the panels that switch inputs ask for it before this one may
    // ever have been shown.
    autoUpdate_->setChecked(true);
}

void CommunicationPanel::buildControls() {
    open_ = new QRadioButton(tr("开"), this);
    close_ = new QRadioButton(tr("关"), this);
    auto* linkGroup = new QButtonGroup(this);
    linkGroup->addButton(open_);
    linkGroup->addButton(close_);
    serialMode_ = new QRadioButton(tr("串口"), this);
    networkMode_ = new QRadioButton(tr("网络"), this);
    auto* modeGroup = new QButtonGroup(this);
    modeGroup->addButton(serialMode_);
    modeGroup->addButton(networkMode_);

    port_ = shownText(this);
    baud_ = shownText(this);
    timeout_ = shownText(this);
    ip_ = shownText(this);
    netPort_ = shownText(this);
    user_ = shownText(this);
    password_ = shownText(this);
    serialSettings_ = new QPushButton(tr("串口设置"), this);
    networkSettings_ = new QPushButton(tr("网络设置"), this);
    synchronise_ = new QPushButton(tr("同步数据"), this);
    query_ = new QPushButton(tr("查询状态"), this);
    autoUpdate_ = new QCheckBox(tr("自动更新"), this);
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("onlinePicture"));

    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    int row = 0;
    // Two choices side by side, or one under the other where the pair would widen the column.
    const auto addRow = [this, grid, &row](const QString& label, QWidget* a, QWidget* b,
                                           Qt::Orientation pairing = Qt::Horizontal) {
        grid->addWidget(new QLabel(label, this), row, 0,
                        pairing == Qt::Vertical ? Qt::AlignTop : Qt::Alignment());
        if (b == nullptr) {
            grid->addWidget(a, row, 1);
        } else {
            auto* pair = new QBoxLayout(pairing == Qt::Horizontal ? QBoxLayout::LeftToRight
                                                                  : QBoxLayout::TopToBottom);
            pair->addWidget(a);
            pair->addWidget(b);
            pair->addStretch(1);
            grid->addLayout(pair, row, 1);
        }
        ++row;
    };
    const auto addButton = [grid, &row](QPushButton* button) {
        button->setAutoDefault(false);
        grid->addWidget(button, row++, 1, Qt::AlignRight);
    };
    addRow(tr("状态"), open_, close_);
    addRow(tr("串口"), port_, nullptr);
    addRow(tr("波特率"), baud_, nullptr);
    addRow(tr("超时时间"), timeout_, nullptr);
    addButton(serialSettings_);
    // The network part is shown: this program runs either link.
    addRow(tr("IP地址"), ip_, nullptr);
    addRow(tr("端口"), netPort_, nullptr);
    addRow(tr("用户名"), user_, nullptr);
    addRow(tr("密码"), password_, nullptr);
    addButton(networkSettings_);
    addRow(tr("通讯模式"), serialMode_, networkMode_, Qt::Vertical);

    auto* actions = new QVBoxLayout;
    actions->addWidget(autoUpdate_);
    for (QPushButton* b : {synchronise_, query_}) {
        b->setAutoDefault(false);
        actions->addWidget(b, 0, Qt::AlignLeft);
    }
    auto* status = new QHBoxLayout;
    status->addWidget(new QLabel(tr("连接状态:"), this));
    status->addWidget(picture_);
    status->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(grid);
    layout->addLayout(actions);
    layout->addLayout(status);
    layout->addStretch(1);

    connect(open_, &QRadioButton::clicked, this, &CommunicationPanel::openSerial);
    connect(close_, &QRadioButton::clicked, this, &CommunicationPanel::closeLink);
    connect(serialMode_, &QRadioButton::clicked, this, &CommunicationPanel::switchToSerial);
    connect(networkMode_, &QRadioButton::clicked, this, &CommunicationPanel::switchToNetwork);
    connect(serialSettings_, &QPushButton::clicked, this, &CommunicationPanel::runSerialSettings);
    connect(networkSettings_, &QPushButton::clicked, this, &CommunicationPanel::runNetworkSettings);
    connect(synchronise_, &QPushButton::clicked, this, &CommunicationPanel::synchronise);
    connect(query_, &QPushButton::clicked, this, &CommunicationPanel::queryStatus);
}

void CommunicationPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) {
        return;
    }
    shownOnce_ = true;
    setOnlineIndicator(false);
    loadSerialTexts();
    loadNetworkTexts();
    showLinkState();
    // The probe waits for the device: after the show, and after any operation already running
    // (the frame's start-up synchronisation is posted before the panel is shown).
    QPointer<CommunicationPanel> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self != nullptr) {
            self->busy_.gate().whenIdle([self] {
                if (self != nullptr) {
                    self->queryStatus();
                }
            });
        }
    });
}

void CommunicationPanel::loadSerialTexts() {
    const SerialSettings s = settings_.readSerialSettings();
    // The device path stands where the port number would.
    port_->setText(serialConfigured(s) ? QString::fromStdString(s.devicePath) : QString());
    baud_->setText(QString::number(s.baudRate));
    timeout_->setText(tr("%1 sec").arg(s.timeout));
}

void CommunicationPanel::loadNetworkTexts() {
    const NetworkSettings n = settings_.readNetworkSettings();
    ip_->setText(QString::fromStdString(n.ip));
    netPort_->setText(QString::number(n.port));
    user_->setText(QString::fromStdString(n.username));
    password_->setText(QString::fromStdString(n.password));
}

void CommunicationPanel::showLinkState() {
    // "开" and "关" show the link in use, in either mode; a lost link the program is bringing
    // back is still open as far as the operator is concerned.
    const bool network = link_.networkMode() != 0;
    (link_.isOpen() != 0 || link_.linkStatus().lost() ? open_ : close_)->setChecked(true);
    (network ? networkMode_ : serialMode_)->setChecked(true);
}

void CommunicationPanel::setOnlineIndicator(bool answering) {
    answering_ = link_.isOpen() != 0 && answering;
    picture_->setPixmap(onlinePicture(answering_));
    picture_->update();
}

bool CommunicationPanel::autoUpdate() {
    return autoUpdate_->isChecked();
}

void CommunicationPanel::queryStatus() {
    if (link_.isOpen() == 0) {
        setOnlineIndicator(false);
        return;
    }
    ProbeOutcome outcome = ProbeOutcome::NotRun;
    busy_.runUnseen([&] { outcome = link_.probeIdentity(); });
    if (outcome == ProbeOutcome::NotRun) {
        return; // another exchange held the line: the probe did not run, the picture stands
    }
    setOnlineIndicator(outcome == ProbeOutcome::Answered);
    if (outcome == ProbeOutcome::Answered) {
        ReadBack info(OperationContext{link_, mirror_, facade_, messages_},
                      ReadBackKind::DeviceInfo);
        busy_.run(this, QString(), info);
    }
}

bool CommunicationPanel::openSerialLink(const SerialSettings& s) {
    int opened = 0;
    busy_.runUnseen([&] {
        opened = link_.configureSerialAndOpen(s);
        if (opened != 0) {
            link_.pause(kOpenSettle);
        }
    });
    return opened != 0;
}

bool CommunicationPanel::openNetworkLink(const NetworkSettings& s) {
    int opened = 0;
    busy_.runUnseen([&] {
        opened = link_.configureNetworkAndOpen(s);
        if (opened != 0) {
            link_.pause(kOpenSettle);
        }
    });
    return opened != 0;
}

void CommunicationPanel::openSerial() {
    if (link_.linkStatus().lost()) {
        // The link is being brought back (its port may still be open, the processor silent):
        // try now instead of waiting out the back-off. The status bar tells how it went.
        link_.retryNow();
        showLinkState();
        return;
    }
    if (link_.networkMode() != 0) {
        // "开" acts on the link in use.
        const NetworkSettings n = settings_.readNetworkSettings();
        if (n.port >= 1 && n.port <= kHighestPort && link_.isOpen() == 0 && !openNetworkLink(n)) {
            presenter_.inform(this, tr("打开网口失败!"));
        }
        showLinkState();
        queryStatus();
        return;
    }
    SerialSettings s = settings_.readSerialSettings();
    // A device the link was opened on without being stored (--demo's) opens again too.
    if (const SerialSettings used = link_.serialSettings();
        !serialConfigured(s) && !used.devicePath.empty()) {
        s = used;
    }
    if (!serialConfigured(s)) {
        showLinkState();
        return;
    }
    if (link_.isOpen() == 0 && !openSerialLink(s)) {
        presenter_.inform(this, uiText(MessageId::OpenPortFailed));
        showLinkState();
        queryStatus();
        return;
    }
    showLinkState();
    queryStatus();
}

void CommunicationPanel::closeLink() {
    busy_.runUnseen([this] { link_.close(); });
    setOnlineIndicator(false);
    showLinkState();
}

void CommunicationPanel::runSerialSettings() {
    SerialSettingsDialog dlg(link_, settings_, presenter_, busy_, SerialSettingsDialog::Mode::Panel,
                             this);
    if (dlg.exec() == SerialSettingsDialog::kOk) {
        loadSerialTexts();
    }
    // Whatever the result, the controls and the picture show the link as it now is.
    showLinkState();
    queryStatus();
}

void CommunicationPanel::runNetworkSettings() {
    NetworkSettingsDialog dlg(settings_, NetworkSettingsDialog::Mode::Panel, this);
    if (dlg.exec() == NetworkSettingsDialog::kOk) {
        loadNetworkTexts();
    }
    showLinkState();
    queryStatus();
}

void CommunicationPanel::switchToSerial() {
    const SerialSettings s = settings_.readSerialSettings();
    if (!serialConfigured(s)) {
        showLinkState();
        return;
    }
    link_.setNetworkMode(0);
    if (link_.isOpen() == 0 && !openSerialLink(s)) {
        presenter_.inform(this, uiText(MessageId::OpenPortFailed));
        showLinkState();
        return;
    }
    busy_.runUnseen([this] {
        if (ByteTransport* udp = link_.udpTransport()) {
            udp->close();
        }
        link_.adoptActiveTransport();
    });
    settings_.writeNetworkMode(false); // the next start opens this mode
    showLinkState();
    queryStatus();
}

void CommunicationPanel::switchToNetwork() {
    const NetworkSettings n = settings_.readNetworkSettings();
    if (n.port < 1 || n.port > kHighestPort) {
        showLinkState();
        return;
    }
    // The link in use stays so until the UDP link is open: a failure leaves serial mode and
    // its port as they were.
    const ByteTransport* udp = link_.udpTransport();
    if ((udp == nullptr || udp->isOpen() == 0) && !openNetworkLink(n)) {
        presenter_.inform(this, tr("打开网口失败!"));
        showLinkState();
        queryStatus();
        return;
    }
    link_.setNetworkMode(1);
    // The frame layer closes the link of the current mode, so the serial port is closed with
    // the flag set back for that moment; the UDP socket was opened first.
    busy_.runUnseen([this] {
        link_.setNetworkMode(0);
        link_.close();
        link_.setNetworkMode(1);
        link_.adoptActiveTransport();
    });
    settings_.writeNetworkMode(true); // the next start opens this mode
    showLinkState();
    queryStatus();
}

void CommunicationPanel::synchronise() {
    if (frame_ != nullptr) {
        frame_->postSynchronise(false);
        queryStatus();
    }
}

} // namespace korvane::ui
