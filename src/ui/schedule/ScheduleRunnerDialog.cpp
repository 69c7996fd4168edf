#include "ui/schedule/ScheduleRunnerDialog.h"

#include "core/schedule/DateTime.h"
#include "core/store/Settings.h"
#include "ui/device/MessagePresenter.h"
#include "ui/frame/IScheduleTimerCallback.h"
#include "ui/i18n/UiText.h"
#include "ui/schedule/ScheduleRowCells.h"
#include "ui/widgets/ColouredTable.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace korvane::ui {

namespace {
// Day of week 0 is Sunday, as the local time counts.
constexpr const char* kWeekdayNames[] = {
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "星期日"),
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "星期一"),
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "星期二"),
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "星期三"),
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "星期四"),
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "星期五"),
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "星期六"),
};

// Indexed by ScheduleRunnerDialog::Status.
constexpr const char* kStatusTexts[] = {
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "时间表未启动!"),
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "时间表运行中!"),
    QT_TRANSLATE_NOOP("korvane::ui::ScheduleRunnerDialog", "时间表已停止!"),
};

const QColor kRunningColour(255, 0, 0);
const QColor kMarkedRowColour(176, 0, 0);

QString problemReason(TaskProblem problem) {
    const char* context = "korvane::ui::ScheduleRunnerDialog";
    switch (problem) {
    case TaskProblem::Invalid:
        return QCoreApplication::translate(context, "数字超过9位");
    case TaskProblem::TemplateMissing:
        return QCoreApplication::translate(context, "模板文件不存在");
    case TaskProblem::NotATemplate:
        return QCoreApplication::translate(context, "不是模板文件");
    case TaskProblem::TemplateUnreadable:
        return QCoreApplication::translate(context, "模板文件无法读取");
    case TaskProblem::None:
        break;
    }
    return {};
}

// What the list shows in front of a task that will not run as written.
QString problemMark(TaskProblem problem) {
    const char* context = "korvane::ui::ScheduleRunnerDialog";
    return (problem == TaskProblem::Invalid ? QCoreApplication::translate(context, "[无效：%1]")
                                            : QCoreApplication::translate(context, "[跳过：%1]"))
        .arg(problemReason(problem));
}
const QColor kStoppedColour(0, 0, 255);

QString scheduleFilter() {
    return QStringLiteral("KorvaneControl Schedule Scripte File(*.kss)");
}

QString fromPath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}
} // namespace

ScheduleRunnerDialog::ScheduleRunnerDialog(IScheduleTimerCallback& timer, Settings& settings,
                                           MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), timer_(timer), settings_(settings), presenter_(presenter) {
    setObjectName(QStringLiteral("scheduleRunner"));
    setWindowTitle(tr("时间表"));
    buildControls();
    clockTimer_.setInterval(kClockMs);
    connect(&clockTimer_, &QTimer::timeout, this, &ScheduleRunnerDialog::showClock);
}

bool ScheduleRunnerDialog::runModal(QWidget* parent, IScheduleTimerCallback& timer,
                                    Settings& settings, MessagePresenter& presenter, bool autoStart,
                                    ScheduleRunnerDialog*& openRunner) {
    ScheduleRunnerDialog dlg(timer, settings, presenter, parent);
    dlg.setAutoStart(autoStart);
    openRunner = &dlg;
    dlg.exec();
    openRunner = nullptr;
    return dlg.autoStartDeclined();
}

int ScheduleRunnerDialog::periodColumnWidth() const {
    // Every weekday flagged, in the words the list will show.
    ScheduleTask all;
    all.periodKind = period::kWeekdays;
    all.weekdays.fill(1);
    const QString widest = rowCells(shownRowTexts(all, 0))[2];
    constexpr int kCellPadding = 16;
    return fontMetrics().horizontalAdvance(widest) + kCellPadding;
}

void ScheduleRunnerDialog::buildControls() {
    path_ = new QLineEdit(this);
    path_->setReadOnly(true);
    browse_ = new QPushButton(tr("浏览(&B)"), this);
    start_ = new QPushButton(tr("启动时间表(&S)"), this);
    start_->setDefault(true);
    exit_ = new QPushButton(tr("退出(&C)"), this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("runnerStatus"));
    status_->setAlignment(Qt::AlignCenter);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(tr("加载时间表："), this));
    fileRow->addWidget(path_, 1);
    fileRow->addWidget(browse_);

    auto* clockBox = new QGroupBox(this);
    auto* clockRow = new QHBoxLayout(clockBox);
    for (QLabel*& label : clockLabels_) {
        label = new QLabel(clockBox);
        label->setAlignment(Qt::AlignCenter);
        clockRow->addWidget(label);
    }
    auto* controlRow = new QHBoxLayout;
    controlRow->addWidget(clockBox, 1);
    controlRow->addWidget(status_);
    controlRow->addWidget(start_);
    controlRow->addWidget(exit_);

    list_ = new ColouredTable(this);
    list_->setObjectName(QStringLiteral("taskList"));
    list_->setColumns({{tr("序号"), Qt::AlignHCenter, 44},
                       {tr("重复周期"), Qt::AlignHCenter, 72},
                       {tr("周期"), Qt::AlignHCenter, periodColumnWidth()},
                       {tr("执行时间"), Qt::AlignLeft, 76},
                       {tr("执行方式"), Qt::AlignHCenter, 90},
                       {QStringLiteral(" "), Qt::AlignLeft, 200}});

    // The current task is kept in hidden controls, as the window always had them.
    currentBox_ = new QGroupBox(tr("当前任务"), this);
    auto* currentRow = new QHBoxLayout(currentBox_);
    for (QLineEdit*& text : currentTexts_) {
        text = new QLineEdit(currentBox_);
        text->setReadOnly(true);
        currentRow->addWidget(text);
    }
    currentBox_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(controlRow);
    layout->addWidget(currentBox_);
    layout->addWidget(list_, 1);
    resize(820, 440);

    QFont large = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    large.setPixelSize(kLargeFontPixels);
    for (QLabel* label : clockLabels_) {
        label->setFont(large);
    }
    status_->setFont(large);
    // Room for the longest status, so that the layout never cuts one.
    int widest = 0;
    for (const char* text : kStatusTexts) {
        widest = std::max(widest, QFontMetrics(large).horizontalAdvance(tr(text)));
    }
    status_->setMinimumWidth(widest + 2 * kLargeFontPixels);

    connect(browse_, &QPushButton::clicked, this, &ScheduleRunnerDialog::browse);
    connect(start_, &QPushButton::clicked, this, &ScheduleRunnerDialog::startStop);
    connect(exit_, &QPushButton::clicked, this, &ScheduleRunnerDialog::reject);
}

void ScheduleRunnerDialog::setClock(LocalClock clock) {
    clock_ = std::move(clock);
    showClock();
}

void ScheduleRunnerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        initDialog();
    }
}

void ScheduleRunnerDialog::initDialog() {
    setRunning(false);
    clearDisplay();
    setStatus(Status::NotStarted);
    const std::filesystem::path last = settings_.readLastScheduleFile();
    if (!last.empty()) {
        path_->setText(fromPath(last));
        loadForDisplay(path_->text());
        if (autoStart_) {
            // The question comes once the window is up, so that the operator sees what starts.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    autoStartAsked_ = true;
                    startStop();
                    autoStartAsked_ = false;
                },
                Qt::QueuedConnection);
        }
    }
    showClock();
    clockTimer_.start();
}

void ScheduleRunnerDialog::clearDisplay() {
    for (QLineEdit* text : currentTexts_) {
        text->clear();
    }
    list_->clearRows();
    rows_.clear();
    filled_ = 0;
    ++fillGeneration_;
}

void ScheduleRunnerDialog::loadForDisplay(const QString& file) {
    if (!schedule_.load(file.toStdString())) {
        presenter_.inform(this, uiText(TemplateText::OpenFailed));
        clearDisplay();
        return;
    }
    clearDisplay();
    rows_ = schedule_.tasks();
    appendRows(fillGeneration_);
}

void ScheduleRunnerDialog::appendRows(unsigned generation) {
    if (generation != fillGeneration_) {
        return; // another file was loaded meanwhile
    }
    const std::size_t end = std::min(rows_.size(), filled_ + kRowsPerTurn);
    for (; filled_ < end; ++filled_) {
        const ScheduleTask& task = rows_[filled_];
        QStringList cells = rowCells(shownRowTexts(task, filled_));
        const TaskProblem problem = taskProblem(task);
        if (problem != TaskProblem::None) {
            cells.last() += QStringLiteral("  ") + problemMark(problem);
        }
        list_->appendRow(cells);
        if (problem != TaskProblem::None) {
            for (int column = 0; column < list_->columnCount(); ++column) {
                list_->setCellColours(static_cast<int>(filled_), column, kMarkedRowColour,
                                      Qt::white);
            }
        }
    }
    if (filled_ < rows_.size()) {
        QTimer::singleShot(0, this, [this, generation] { appendRows(generation); });
    }
}

void ScheduleRunnerDialog::browse() {
    const FileChoice choice{FileChoice::Mode::Open, scheduleFilter(), QStringLiteral("kss"),
                            folderOfChoice(path_->text())};
    const QString chosen = presenter_.chooseFile(this, choice);
    if (chosen.isEmpty()) {
        return;
    }
    settings_.writeLastScheduleFile(chosen.toStdString());
    path_->setText(chosen);
    loadForDisplay(chosen);
}

void ScheduleRunnerDialog::startStop() {
    if (running_) {
        if (!presenter_.confirm(this, tr("请确认是否停止时间表?"))) {
            return;
        }
        start_->setText(tr("启动时间表(&S)"));
        setStatus(Status::Stopped);
        timer_.stop();
        settings_.writeScheduleRunning(0);
        setRunning(false);
        return;
    }
    if (!presenter_.confirm(this, tr("请确认是否启动时间表?"))) {
        if (autoStartAsked_) {
            // The operator does not want the schedule back: the next start must not ask again.
            settings_.writeScheduleRunning(0);
            autoStartDeclined_ = true;
        }
        return;
    }
    const QString file = path_->text();
    if (file.isEmpty()) {
        presenter_.inform(this, tr("请选择一个时间调度计划文件!"));
        return;
    }
    if (!Settings::fileExists(file.toStdString())) {
        presenter_.inform(this, tr("时间调度计划文件不存在!"));
        return;
    }
    start_->setText(tr("停止(&S)"));
    setStatus(Status::Running);
    if (timer_.start(file.toStdString())) {
        settings_.writeScheduleRunning(1);
        setRunning(true);
        return;
    }
    presenter_.inform(this, tr("执行时间调度计划失败!"));
    start_->setText(tr("启动时间表(&S)"));
    // Nothing runs, so the status must not keep saying that it does.
    setStatus(Status::NotStarted);
    setRunning(false);
}

void ScheduleRunnerDialog::setRunning(bool running) {
    running_ = running;
    browse_->setEnabled(!running);
    exit_->setEnabled(!running);
    QPalette p = status_->palette();
    p.setColor(QPalette::WindowText, running ? kRunningColour : kStoppedColour);
    status_->setPalette(p);
}

void ScheduleRunnerDialog::setStatus(Status status) {
    status_->setText(tr(kStatusTexts[static_cast<int>(status)]));
}

void ScheduleRunnerDialog::showClock() {
    const LocalTime now = clock_();
    clockLabels_[0]->setText(QString::fromStdString(formatTime(now.hour, now.minute, now.second)));
    const int weekday = now.weekday >= 0 && now.weekday < 7 ? now.weekday : 0;
    clockLabels_[1]->setText(tr(kWeekdayNames[weekday]));
    clockLabels_[2]->setText(QString::fromStdString(formatDate(now.year, now.month, now.day)));
}

void ScheduleRunnerDialog::taskExecuted(const ScheduleTask& task) {
    current_ = task;
    // Shown from the event loop, after the tick that ran the task has ended.
    QMetaObject::invokeMethod(this, &ScheduleRunnerDialog::showCurrentTask, Qt::QueuedConnection);
}

void ScheduleRunnerDialog::taskSkipped(const ScheduleTask& task, TaskProblem problem) {
    status_->setText(
        tr("%1 的任务已跳过：%2")
            .arg(QString::fromStdString(formatTime(task.hour, task.minute, task.second)),
                 problemReason(problem)));
}

void ScheduleRunnerDialog::showCurrentTask() {
    const ScheduleRowTexts t = shownRowTexts(current_, 0);
    const QStringList cells = rowCells(t);
    // The row number is not part of the current task.
    for (int i = 0; i < kCurrentTaskTexts; ++i) {
        currentTexts_[static_cast<std::size_t>(i)]->setText(cells[i + 1]);
    }
}

void ScheduleRunnerDialog::reject() {
    // While the schedule runs the window stays open: closing it would leave the schedule running
    // with no way to stop it.
    if (!running_) {
        QDialog::reject();
    }
}

void ScheduleRunnerDialog::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QString ScheduleRunnerDialog::path() const {
    return path_->text();
}

QString ScheduleRunnerDialog::statusText() const {
    return status_->text();
}

QStringList ScheduleRunnerDialog::clockTexts() const {
    return {clockLabels_[0]->text(), clockLabels_[1]->text(), clockLabels_[2]->text()};
}

QStringList ScheduleRunnerDialog::currentTaskTexts() const {
    QStringList texts;
    for (const QLineEdit* text : currentTexts_) {
        texts << text->text();
    }
    return texts;
}

} // namespace korvane::ui
