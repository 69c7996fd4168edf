#pragma once

#include "core/schedule/LocalTime.h"
#include "core/schedule/ScheduleList.h"
#include "core/schedule/TaskCheck.h"

#include <QDialog>
#include <QTimer>
#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvane {
class Settings;
}

namespace korvane::ui {

class ColouredTable;
class IScheduleTimerCallback;
class MessagePresenter;

// "时间表": the operator picks a schedule script, sees its tasks and starts or stops it. The
// frame's executor runs the tasks; this window only exists while the schedule may run, and it
// cannot be closed while the schedule runs.
class ScheduleRunnerDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClockMs = 1000;
    static constexpr int kLargeFontPixels = 18;
    // The hidden current-task texts: period kind, period detail, time, action, channel or path.
    static constexpr int kCurrentTaskTexts = 5;
    // Rows added to the list per turn of the event loop.
    static constexpr std::size_t kRowsPerTurn = 500;

    ScheduleRunnerDialog(IScheduleTimerCallback& timer, Settings& settings,
                         MessagePresenter& presenter, QWidget* parent = nullptr);

    // The frame's way in: the runner modal, with `openRunner` pointing to it while it is open.
    // True when the operator declined the auto-start's question.
    static bool runModal(QWidget* parent, IScheduleTimerCallback& timer, Settings& settings,
                         MessagePresenter& presenter, bool autoStart,
                         ScheduleRunnerDialog*& openRunner);

    // Set before the window is shown: the schedule of the last run starts again (after the
    // operator confirms).
    void setAutoStart(bool autoStart) { autoStart_ = autoStart; }
    void setClock(LocalClock clock);

    // The frame's schedule tick carried out `task`.
    void taskExecuted(const ScheduleTask& task);
    // The due task was skipped: its template file is missing or not a template.
    void taskSkipped(const ScheduleTask& task, TaskProblem problem);

    // Button 1: start or stop, each after a confirmation.
    void startStop();
    // Button 1013: pick a script file.
    void browse();

    bool running() const { return running_; }
    bool autoStartDeclined() const { return autoStartDeclined_; }
    QString path() const;
    QString statusText() const;
    QStringList clockTexts() const;
    QStringList currentTaskTexts() const;
    ColouredTable& taskList() const { return *list_; }
    // True once every task of the file is in the list.
    bool listFilled() const { return filled_ == rows_.size(); }
    QPushButton* startButton() const { return start_; }
    QPushButton* browseButton() const { return browse_; }
    QPushButton* exitButton() const { return exit_; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    int periodColumnWidth() const;
    void initDialog();
    void loadForDisplay(const QString& file);
    void clearDisplay();
    // Appends the next rows of the list; a long list is filled over several turns of the event
    // loop, so the window keeps answering meanwhile.
    void appendRows(unsigned generation);
    void showClock();
    void showCurrentTask();
    enum class Status { NotStarted, Running, Stopped };
    void setStatus(Status status);
    void setRunning(bool running);

    IScheduleTimerCallback& timer_;
    Settings& settings_;
    MessagePresenter& presenter_;
    LocalClock clock_ = systemLocalTime;
    bool autoStart_ = false;
    bool autoStartAsked_ = false;
    bool autoStartDeclined_ = false;
    bool running_ = false;
    bool initialised_ = false;

    // Only for the list; the frame's executor keeps the list that runs.
    ScheduleList schedule_;
    // Each row's own copy of its task.
    std::vector<ScheduleTask> rows_;
    ScheduleTask current_;
    // Rows appended so far, and which fill they belong to (a new load starts another).
    std::size_t filled_ = 0;
    unsigned fillGeneration_ = 0;

    QLineEdit* path_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* exit_ = nullptr;
    QLabel* status_ = nullptr;
    std::array<QLabel*, 3> clockLabels_{};
    ColouredTable* list_ = nullptr;
    QGroupBox* currentBox_ = nullptr;
    std::array<QLineEdit*, kCurrentTaskTexts> currentTexts_{};
    QTimer clockTimer_;
};

} // namespace korvane::ui
