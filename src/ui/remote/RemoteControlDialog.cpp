#include "ui/remote/RemoteControlDialog.h"

#include "ui/remote/QrCodeImage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvane::ui {

namespace {
constexpr int kQrScale = 4;
constexpr int kMaxPort = 65535;
} // namespace

RemoteControlDialog::RemoteControlDialog(remote::RemoteSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(tr("远程控制"));
    const remote::RemoteConfig c = settings_.read();
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    enabled_ = new QCheckBox(tr("启用远程控制"), this);
    enabled_->setObjectName(QStringLiteral("remoteEnabled"));
    enabled_->setChecked(c.enabled);
    form->addRow(enabled_);
    httpPort_ = new QSpinBox(this);
    oscPort_ = new QSpinBox(this);
    for (auto [box, value] : {std::pair{httpPort_, c.httpPort}, std::pair{oscPort_, c.oscPort}}) {
        box->setRange(1, kMaxPort);
        box->setValue(value);
        connect(box, &QSpinBox::valueChanged, this, [this] { showAddress(); });
    }
    httpPort_->setObjectName(QStringLiteral("remoteHttpPort"));
    oscPort_->setObjectName(QStringLiteral("remoteOscPort"));
    form->addRow(tr("HTTP 端口:"), httpPort_);
    form->addRow(tr("OSC 端口:"), oscPort_);
    listen_ = new QLineEdit(QString::fromStdString(c.listen), this);
    listen_->setObjectName(QStringLiteral("remoteListen"));
    connect(listen_, &QLineEdit::textChanged, this, [this] { showAddress(); });
    form->addRow(tr("监听地址:"), listen_);
    auto* tokenRow = new QHBoxLayout;
    token_ = new QLineEdit(QString::fromStdString(settings_.token()), this);
    token_->setObjectName(QStringLiteral("remoteToken"));
    token_->setReadOnly(true);
    auto* renew = new QPushButton(tr("更换令牌"), this);
    connect(renew, &QPushButton::clicked, this, [this] {
        token_->setText(QString::fromStdString(settings_.renewToken()));
        showAddress();
    });
    tokenRow->addWidget(token_, 1);
    tokenRow->addWidget(renew);
    form->addRow(tr("令牌:"), tokenRow);
    column->addLayout(form);

    address_ = new QLabel(this);
    address_->setObjectName(QStringLiteral("remoteAddress"));
    address_->setOpenExternalLinks(true);
    address_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    column->addWidget(address_);
    qr_ = new QLabel(this);
    qr_->setObjectName(QStringLiteral("remoteQr"));
    qr_->setAlignment(Qt::AlignCenter);
    column->addWidget(qr_);
    error_ = new QLabel(this);
    error_->setStyleSheet(QStringLiteral("color: #b73a3a"));
    column->addWidget(error_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &RemoteControlDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    showAddress();
}

QString RemoteControlDialog::pageHost(const QString& listen) {
    const QHostAddress a(listen);
    if (a != QHostAddress::AnyIPv4 && a != QHostAddress::Any) {
        return listen;
    }
    for (const QHostAddress& own : QNetworkInterface::allAddresses()) {
        if (own.protocol() == QAbstractSocket::IPv4Protocol && !own.isLoopback()) {
            return own.toString();
        }
    }
    return QStringLiteral("127.0.0.1");
}

void RemoteControlDialog::showAddress() {
    const QString url = QStringLiteral("http://%1:%2/#token=%3")
                            .arg(pageHost(listen_->text().trimmed()))
                            .arg(httpPort_->value())
                            .arg(token_->text());
    address_->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()));
    qr_->setPixmap(QPixmap::fromImage(qrCodeImage(url, kQrScale)));
}

remote::RemoteConfig RemoteControlDialog::config() const {
    return {enabled_->isChecked(), httpPort_->value(), oscPort_->value(),
            listen_->text().trimmed().toStdString()};
}

void RemoteControlDialog::accept() {
    if (QHostAddress(listen_->text().trimmed()).isNull()) {
        error_->setText(tr("监听地址无效"));
        return;
    }
    if (!settings_.write(config())) {
        error_->setText(tr("无法保存设置"));
        return;
    }
    QDialog::accept();
}

} // namespace korvane::ui
