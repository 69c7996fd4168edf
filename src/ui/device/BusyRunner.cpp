#include "ui/device/BusyRunner.h"

#include "core/link/DeviceLink.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/UnseenWaitGuard.h"

#include <QEventLoop>
#include <system_error>
#include <thread>

namespace korvane::ui {

BusyResult BusyRunner::run(QWidget* parent, const QString& caption, const BackgroundTask& task) {
    if (link_.isOpen() == 0) {
        return BusyResult::Succeeded;
    }
    // A lost link is told once in the status bar, not by a message box for every click.
    if (link_.holdBackWhileLost()) {
        return BusyResult::Failed;
    }
    DeviceGate::Hold hold(gate_);
    ++shown_;
    BusyDialog dlg(caption, task, link_, parent);
    return dlg.doModal();
}

BusyResult BusyRunner::run(QWidget* parent, const QString& caption, DeviceOperation& operation) {
    return run(parent, caption, operationTask(operation));
}

void BusyRunner::runUnseen(const std::function<void()>& work) {
    DeviceGate::Hold hold(gate_);
    QEventLoop loop;
    std::thread worker;
    try {
        worker = std::thread([this, &work, &loop] {
            try {
                const std::lock_guard lock(unseenWork_);
                work();
            } catch (...) {
                // An unseen step has nobody to tell; its caller looks at the link's results.
            }
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        return; // no thread, no exchange: the UI thread never does it itself
    }
    {
        const UnseenWaitGuard guard;
        loop.exec();
    }
    worker.join();
}

} // namespace korvane::ui
