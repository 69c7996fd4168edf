#include "ui/schedule/ClockDialog.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/commands/ReadBack.h"
#include "core/link/ParameterMirror.h"
#include "core/schedule/DeviceClock.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/frame/StatusNotice.h"
#include "ui/schedule/PlanDialogParts.h"
#include "ui/schedule/PlanPickers.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>

namespace korvane::ui {

ClockDialog::ClockDialog(const PanelContext& context, QWidget* parent, LocalClock clock)
    : QDialog(parent), c_(context), clock_(std::move(clock)) {
    setObjectName(QStringLiteral("clockDialog"));
    setWindowTitle(tr("校时"));
    buildControls();
    showLocalTime();
    showDateTime(*chosenDate_, *chosenTime_, clock_());
}

void ClockDialog::buildControls() {
    chosenDate_ = makeDatePicker(this);
    chosenDate_->setObjectName(QStringLiteral("chosenDate"));
    // Only years the clock's year byte can carry.
    limitToClockYears(*chosenDate_, kClockYearBase);
    chosenTime_ = makeTimePicker(this);
    chosenTime_->setObjectName(QStringLiteral("chosenTime"));
    localDate_ = makeDatePicker(this);
    localDate_->setObjectName(QStringLiteral("localDate"));
    localTime_ = makeTimePicker(this);
    localTime_->setObjectName(QStringLiteral("localTime"));
    deviceTime_ = new QLineEdit(this);
    deviceTime_->setObjectName(QStringLiteral("deviceTime"));
    deviceTime_->setReadOnly(true);
    deviceTime_->setMinimumWidth(
        deviceTime_->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 16);

    auto* send = makeDialogButton(tr("同步"), this, "sendChosenButton");
    auto* sendLocal = makeDialogButton(tr("同步本地"), this, "sendLocalButton");
    auto* refresh = makeDialogButton(tr("刷新"), this, "refreshButton");

    // Each row says whose time it is: one chosen to set, the PC's, the processor's.
    auto* grid = new QGridLayout(this);
    const auto label = [this](const QString& text, const char* name) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    grid->addWidget(label(tr("设定时间:"), "chosenLabel"), 0, 0);
    grid->addWidget(chosenDate_, 0, 1);
    grid->addWidget(chosenTime_, 0, 2);
    grid->addWidget(send, 0, 3);
    grid->addWidget(label(tr("本机时间:"), "localLabel"), 1, 0);
    grid->addWidget(localDate_, 1, 1);
    grid->addWidget(localTime_, 1, 2);
    grid->addWidget(sendLocal, 1, 3);
    grid->addWidget(label(tr("机器时间:"), "deviceLabel"), 2, 0);
    grid->addWidget(deviceTime_, 2, 1, 1, 2);
    grid->addWidget(refresh, 2, 3);

    tick_ = new QTimer(this);
    tick_->setInterval(kTickMs);
    connect(tick_, &QTimer::timeout, this, &ClockDialog::showLocalTime);
    connect(send, &QPushButton::clicked, this, [this] { sendClock(*chosenDate_, *chosenTime_); });
    connect(sendLocal, &QPushButton::clicked, this,
            [this] { sendClock(*localDate_, *localTime_); });
    connect(refresh, &QPushButton::clicked, this, &ClockDialog::readClock);
}

void ClockDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // The clock read runs in the busy dialog, which wants this window on screen first.
        QTimer::singleShot(0, this, &ClockDialog::startUp);
    }
}

void ClockDialog::startUp() {
    readClock();
    showLocalTime();
    tick_->start();
    openingDone_ = true;
}

void ClockDialog::readClock() {
    ReadBack read(OperationContext{c_.link, c_.mirror, c_.facade, c_.messages},
                  ReadBackKind::Clock);
    if (c_.busy.run(this, tr("同步实时时间"), read) == BusyResult::Succeeded) {
        deviceTime_->setText(QString::fromStdString(formatClock(c_.mirror.clock)));
    }
}

void ClockDialog::showLocalTime() {
    showDateTime(*localDate_, *localTime_, clock_());
}

void ClockDialog::sendClock(const QDateEdit& date, const QTimeEdit& time) {
    if (!linkOpenOrSay(this, c_)) {
        return;
    }
    const DateTime t = pickedDateTime(date, time);
    // A single write with no answer to wait for; it still leaves the UI thread.
    int sent = 0;
    c_.busy.runUnseen([this, t, &sent] {
        sent = c_.facade.setClock(t.year, t.month, t.day, t.hour, t.minute, t.second);
    });
    if (sent != 0) {
        announceDone(this,
                     tr("处理器时间已设为 %1").arg(QString::fromStdString(formatDateTime(t))));
    }
}

} // namespace korvane::ui
