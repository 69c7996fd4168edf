#pragma once

#include "ui/device/BackgroundTask.h"
#include "ui/device/BusyDialog.h"

#include <QString>
#include <functional>
#include <mutex>

class QWidget;

namespace korvane {
class DeviceLink;
class DeviceOperation;
} // namespace korvane

namespace korvane::ui {

class DeviceGate;

// The one way the program runs device work off the UI thread: behind the busy dialog, or
// unseen (no window; the UI keeps painting, drops the operator's input and shows the wait
// cursor when the wait grows long) where the operator is shown no dialog.
class BusyRunner {
public:
    BusyRunner(DeviceLink& link, DeviceGate& gate) : link_(link), gate_(gate) {}

    // The busy dialog; success at once while the link is closed.
    BusyResult run(QWidget* parent, const QString& caption, const BackgroundTask& task);
    BusyResult run(QWidget* parent, const QString& caption, DeviceOperation& operation);
    // `work` on a worker thread; returns when it has ended. Exceptions are swallowed.
    void runUnseen(const std::function<void()>& work);
    // Counts busy dialogs that were really shown (not the closed-link shortcut).
    int dialogsShown() const { return shown_; }

    DeviceLink& link() { return link_; }
    DeviceGate& gate() { return gate_; }

private:
    DeviceLink& link_;
    DeviceGate& gate_;
    int shown_ = 0;
    // A timer can fire inside an unseen wait and start another; the work runs one at a time,
    // because the commands share their data bytes and the mirror.
    std::mutex unseenWork_;
};

} // namespace korvane::ui
