#include "ui/dialogs/NetworkSettingsDialog.h"

#include "core/store/Settings.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvane::ui {

NetworkSettingsDialog::NetworkSettingsDialog(Settings& settings, Mode mode, QWidget* parent)
    : QDialog(parent), settings_(settings), ip_(new QLineEdit(this)), port_(new QLineEdit(this)),
      user_(new QLineEdit(this)), password_(new QLineEdit(this)), list_(new QTreeWidget(this)),
      progress_(new QProgressBar(this)), note_(new QLabel(this)),
      ok_(new QPushButton(tr("确定"), this)), exit_(new QPushButton(tr("退出"), this)),
      skip_(new QPushButton(tr("跳过"), this)), search_(new QPushButton(tr("查询"), this)) {
    setWindowTitle(tr("网络设置"));
    setObjectName(QStringLiteral("networkSettingsDialog"));

    list_->setColumnCount(2);
    list_->setHeaderLabels({tr("地址"), tr("端口")});
    list_->header()->resizeSection(0, 200);
    list_->header()->resizeSection(1, 370);
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setMinimumWidth(420);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    note_->setWordWrap(true);
    note_->hide();

    const NetworkSettings stored = settings_.readNetworkSettings();
    broadcastAddress_ = stored.broadcastAddress;
    ip_->setText(QString::fromStdString(stored.ip));
    port_->setText(QString::number(stored.port));
    user_->setText(QString::fromStdString(stored.username));
    password_->setText(QString::fromStdString(stored.password));

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("IP"), this), 0, 0);
    fields->addWidget(ip_, 0, 1);
    fields->addWidget(new QLabel(tr("端口"), this), 0, 2);
    fields->addWidget(port_, 0, 3);
    fields->addWidget(new QLabel(tr("用户名"), this), 1, 0);
    fields->addWidget(user_, 1, 1);
    fields->addWidget(new QLabel(tr("密码"), this), 1, 2);
    fields->addWidget(password_, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search_);
    buttons->addStretch(1);
    for (QPushButton* b : {ok_, exit_, skip_}) {
        buttons->addWidget(b);
    }
    for (QPushButton* b : {ok_, exit_, skip_, search_}) {
        b->setAutoDefault(false);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(list_, 1);
    layout->addWidget(progress_);
    layout->addWidget(note_);
    layout->addLayout(buttons);
    exit_->setVisible(mode == Mode::Normal);

    progressTimer_.setInterval(kProgressStepMs);
    connect(&progressTimer_, &QTimer::timeout, this, [this] {
        if (progress_->value() < kProgressCeiling) {
            progress_->setValue(progress_->value() + 1);
        }
    });
    connect(search_, &QPushButton::clicked, this, &NetworkSettingsDialog::startSearch);
    connect(ok_, &QPushButton::clicked, this, &NetworkSettingsDialog::confirm);
    connect(exit_, &QPushButton::clicked, this, [this] { done(kExit); });
    connect(skip_, &QPushButton::clicked, this, [this] { done(kSkip); });
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        ip_->setText(item->text(0));
        port_->setText(item->text(1));
    });
}

NetworkSettingsDialog::~NetworkSettingsDialog() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void NetworkSettingsDialog::setControlsEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{search_, ok_, exit_, skip_, ip_, port_}) {
        w->setEnabled(on);
    }
}

void NetworkSettingsDialog::startSearch() {
    if (searching_) {
        return;
    }
    if (worker_.joinable()) {
        worker_.join(); // the last search has already reported; its thread is done
    }
    setControlsEnabled(false);
    progress_->setValue(0);
    list_->clear();
    note_->hide();
    searching_ = true;
    progressTimer_.start();
    const int port = port_->text().toInt();
    const std::string target = broadcastAddress_;
    const auto wait = answerWait_;
    try {
        worker_ = std::thread([this, port, target, wait] {
            std::vector<DiscoveryResult> found;
            std::string error;
            const int n = discover(found, target, port, kMaxDiscoveryResults, wait, &error);
            QMetaObject::invokeMethod(
                this,
                [this, n, found = std::move(found), error = QString::fromStdString(error)] {
                    searchDone(n, found, error);
                },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error& e) {
        searchDone(-1, {}, QString::fromLocal8Bit(e.what()));
    }
}

void NetworkSettingsDialog::searchDone(int count, std::vector<DiscoveryResult> found,
                                       QString error) {
    list_->setEnabled(false);
    for (const auto& r : withoutDuplicates(found)) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(r.address));
        item->setText(1, QString::number(r.port));
    }
    list_->setEnabled(true);
    // A search that could not run still ends: the controls come back and the reason shows.
    if (count < 0) {
        note_->setText(tr("无法查询: %1").arg(translatedReason(error)));
        note_->show();
    }
    progress_->setValue(100);
    progressTimer_.stop();
    setControlsEnabled(true);
    searching_ = false;
    emit searchFinished();
}

QString NetworkSettingsDialog::translatedReason(const QString& error) {
    // The step that failed comes first, in the core's words; the system's own reason follows.
    static const std::pair<const char*, const char*> kSteps[] = {
        {"bad broadcast address or port", QT_TR_NOOP("广播地址或端口不正确")},
        {"socket fail", QT_TR_NOOP("无法创建网络连接")},
        {"bind fail", QT_TR_NOOP("无法绑定本机端口")},
        {"broadcast fail", QT_TR_NOOP("无法开启广播")},
        {"send fail", QT_TR_NOOP("无法发送查询")},
    };
    for (const auto& [step, text] : kSteps) {
        const QString prefix = QString::fromLatin1(step) + QStringLiteral(": ");
        if (error.startsWith(prefix)) {
            return tr(text) + QStringLiteral(" (") + error.mid(prefix.size()) + QLatin1Char(')');
        }
    }
    return error;
}

void NetworkSettingsDialog::confirm() {
    // Neither value is used by the link, but both belong to the stored settings.
    if (user_->text().isEmpty() || password_->text().isEmpty()) {
        note_->setText(tr("请填写用户名和密码。"));
        note_->show();
        return;
    }
    const QString texts[] = {port_->text(), ip_->text()};
    for (const QString& t : texts) {
        if (t.isEmpty()) {
            return;
        }
    }
    NetworkSettings s = settings_.readNetworkSettings();
    s.port = port_->text().toInt();
    s.ip = ip_->text().toStdString();
    s.username = user_->text().toStdString();
    s.password = password_->text().toStdString();
    settings_.writeNetworkSettings(s);
    done(kOk);
}

void NetworkSettingsDialog::reject() {
    if (!searching_) {
        done(kExit);
    }
}

void NetworkSettingsDialog::closeEvent(QCloseEvent* event) {
    if (searching_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace korvane::ui
