#include "ui/frame/FrameCallbacks.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ResolutionTable.h"
#include "core/schedule/ScheduleExecutor.h"
#include "core/schedule/ScheduleFileReader.h"
#include "ui/device/BusyRunner.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/FrameState.h"
#include "ui/frame/FrameTimers.h"
#include "ui/frame/IFrameMessenger.h"

#include <optional>
#include <utility>
#include <vector>

namespace korvane::ui {

int FrameCallbacks::changeResolution(std::uint8_t code, int width, int height, int refresh) {
    using std::chrono::milliseconds;
    // The processor needs its pauses around a mode change; they run off the UI thread, and
    // only when the change really goes out.
    s_.busy.runUnseen([&] {
        if (code == kCustomResolution) {
            if (s_.link.transmits()) {
                s_.link.pause(milliseconds(kCustomWaitMs));
            }
            s_.facade.setCustomOutputResolution(width, height, refresh);
        } else {
            s_.facade.setOutputResolution(code);
        }
        if (s_.link.lastFrameSent()) {
            s_.link.pause(milliseconds(kResolutionSettleMs));
        }
    });
    return frame_.sendSynchronise();
}

void FrameCallbacks::loadTemplateFile(const std::string& path) {
    state_.templatePath = path;
    frame_.postLoadTemplatePath();
}

bool FrameCallbacks::start(const std::string& path) {
    // A schedule of many thousand tasks takes tens of milliseconds to read: off the UI thread.
    std::optional<std::vector<ScheduleTask>> tasks;
    s_.busy.runUnseen([&] { tasks = readScheduleFile(path); });
    if (!tasks) {
        executor_.stop();
        return false;
    }
    executor_.start(std::move(*tasks));
    timers_.startSchedule();
    return true;
}

void FrameCallbacks::stop() {
    timers_.stopSchedule();
    executor_.stop();
}

} // namespace korvane::ui
