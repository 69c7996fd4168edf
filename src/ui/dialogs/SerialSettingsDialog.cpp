#include "ui/dialogs/SerialSettingsDialog.h"

#include "core/link/DeviceLink.h"
#include "core/link/SerialPortList.h"
#include "core/store/Settings.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/dialogs/SerialPortChoice.h"
#include "ui/i18n/UiText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvane::ui {

namespace {
constexpr int kMinTimeout = 1;
constexpr int kMaxTimeout = 60;
} // namespace

SerialSettingsDialog::SerialSettingsDialog(DeviceLink& link, Settings& settings,
                                           MessagePresenter& presenter, BusyRunner& busy, Mode mode,
                                           QWidget* parent)
    : QDialog(parent), link_(link), settings_(settings), presenter_(presenter), busy_(busy),
      port_(new QComboBox(this)), baud_(new QComboBox(this)), timeout_(new QLineEdit(this)),
      ok_(new QPushButton(tr("确定"), this)), exit_(new QPushButton(tr("退出"), this)),
      skip_(new QPushButton(tr("跳过"), this)), demoHint_(new QLabel(this)),
      openFailure_(new QLabel(this)) {
    setWindowTitle(tr("串口设置"));
    setObjectName(QStringLiteral("serialSettingsDialog"));

    // The list holds what the system enumerates; any other device path can be typed.
    port_->setEditable(true);
    port_->setInsertPolicy(QComboBox::NoInsert);
    port_->setMinimumWidth(220);
    std::vector<SerialPortEntry> ports;
    listSerialPorts(ports);
    // The stable names too: an adapter that comes back under another number is found again.
    for (auto& stable : listStableSerialNames()) {
        ports.push_back(std::move(stable));
    }
    for (const auto& p : ports) {
        const QString path = QString::fromStdString(p.path);
        port_->addItem(path, path);
        port_->setItemData(port_->count() - 1, QString::fromStdString(p.description),
                           Qt::ToolTipRole);
    }
    for (const int rate : kBaudRates) {
        baud_->addItem(QString::number(rate), rate);
    }
    timeout_->setMaxLength(3);

    const SerialSettings stored = settings_.readSerialSettings();
    timeout_->setText(QString::number(stored.timeout));
    const QString storedPath = QString::fromStdString(stored.devicePath);
    const int portIndex = port_->findData(storedPath);
    port_->setCurrentIndex(portIndex);
    if (portIndex < 0) {
        port_->setEditText(serialConfigured(stored) ? storedPath : QString());
    }
    baud_->setCurrentIndex(baud_->findData(stored.baudRate));

    auto* form = new QFormLayout;
    form->addRow(tr("串口"), port_);
    form->addRow(tr("波特率"), baud_);
    auto* timeoutRow = new QHBoxLayout;
    timeoutRow->addWidget(timeout_);
    timeoutRow->addWidget(new QLabel(tr("(1~60秒)"), this));
    form->addRow(tr("超时时间"), timeoutRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {ok_, exit_, skip_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    ok_->setDefault(true);
    demoHint_->setWordWrap(true);
    demoHint_->setText(tr("没有连接处理器？用 korvane-controller --demo 启动，程序会在内部运行一个"
                          "模拟处理器并通过串口路径连接它。"));
    demoHint_->setStyleSheet(QStringLiteral("color: #5a6270"));
    demoHint_->hide();
    openFailure_->setObjectName(QStringLiteral("openFailure"));
    openFailure_->setWordWrap(true);
    openFailure_->setStyleSheet(QStringLiteral("color: #b3261e"));
    openFailure_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(openFailure_);
    layout->addWidget(demoHint_);
    layout->addLayout(buttons);
    exit_->setVisible(mode == Mode::Normal);

    connect(timeout_, &QLineEdit::textChanged, this, &SerialSettingsDialog::updateOk);
    connect(port_, &QComboBox::editTextChanged, this, &SerialSettingsDialog::updateOk);
    connect(port_, &QComboBox::currentIndexChanged, this, &SerialSettingsDialog::updateOk);
    connect(baud_, &QComboBox::currentIndexChanged, this, &SerialSettingsDialog::updateOk);
    connect(ok_, &QPushButton::clicked, this, &SerialSettingsDialog::confirm);
    connect(exit_, &QPushButton::clicked, this, [this] { done(kExit); });
    connect(skip_, &QPushButton::clicked, this, [this] { done(kSkip); });
    updateOk();
}

void SerialSettingsDialog::showDemoHint(bool show) {
    demoHint_->setVisible(show);
}

void SerialSettingsDialog::showOpenFailure(const QString& why) {
    openFailure_->setText(why);
    openFailure_->setVisible(!why.isEmpty());
}

QString SerialSettingsDialog::openFailureText() const {
    return openFailure_->isHidden() ? QString() : openFailure_->text();
}

void SerialSettingsDialog::reject() {
    done(kExit);
}

void SerialSettingsDialog::updateOk() {
    bool number = false;
    const int t = timeout_->text().toInt(&number);
    ok_->setEnabled(!timeout_->text().isEmpty() && !port_->currentText().trimmed().isEmpty() &&
                    baud_->currentIndex() >= 0 && number && t >= kMinTimeout && t <= kMaxTimeout);
}

void SerialSettingsDialog::confirm() {
    // The dialog is about the serial port only: in network mode the UDP link stays in use
    // until the port has opened.
    const bool network = link_.networkMode() != 0;
    if (!network) {
        link_.close();
    }
    const QString timeoutText = timeout_->text();
    const QString path = port_->currentText().trimmed();
    if (timeoutText.isEmpty() || path.isEmpty() || baud_->currentIndex() < 0) {
        return;
    }
    SerialSettings s;
    s.devicePath = path.toStdString();
    s.portNumber = portNumberFor(s.devicePath);
    s.timeout = timeoutText.toInt();
    s.baudRate = baud_->currentData().toInt();
    settings_.writeSerialSettings(s);
    int opened = 0;
    busy_.runUnseen([&] {
        opened = link_.configureSerialAndOpen(s);
        if (opened != 0 && network) {
            // As "串口" does: the serial link is the one in use now.
            link_.setNetworkMode(0);
            if (ByteTransport* udp = link_.udpTransport()) {
                udp->close();
            }
            link_.adoptActiveTransport();
        }
    });
    if (opened != 0) {
        showOpenFailure({});
        done(kOk);
        return;
    }
    showOpenFailure(deviceOpenFailure(path, link_.serialTransport()->lastError()));
    presenter_.inform(this, uiText(MessageId::OpenPortFailed));
}

} // namespace korvane::ui
