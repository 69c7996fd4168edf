#pragma once

#include "ui/device/BackgroundTask.h"

#include <QDialog>
#include <functional>
#include <thread>

class QLabel;

namespace korvane {
class DeviceLink;
}

namespace korvane::ui {

class StripAnimation;

// How a long operation behind the busy dialog ended.
enum class BusyResult {
    Succeeded, // also at once, without running, while the link is closed
    Failed,    // the operation failed, threw, or no worker thread could be started
};

// The small modal window that runs one long operation on a worker thread while the UI thread
// keeps painting. Used once per operation.
class BusyDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kStripFrames = 8;

    // Starts `work` on a new thread stored in `thread`; false when no thread could be made.
    using ThreadStart = std::function<bool(std::thread& thread, std::function<void()> work)>;

    BusyDialog(const QString& caption, BackgroundTask task, const DeviceLink& link,
               QWidget* parent = nullptr);
    ~BusyDialog() override;

    // With the link closed the task is not run and nothing is shown.
    BusyResult doModal();
    // Replaces how the worker thread is started.
    void setThreadStart(ThreadStart start) { threadStart_ = std::move(start); }
    QString caption() const;

public slots:
    void reject() override; // Escape and the close box do not end a running operation

private:
    void work();
    void finish(BusyResult result);

    BackgroundTask task_;
    const DeviceLink& link_;
    QLabel* caption_;
    StripAnimation* animation_;
    std::thread worker_;
    ThreadStart threadStart_;
};

} // namespace korvane::ui
