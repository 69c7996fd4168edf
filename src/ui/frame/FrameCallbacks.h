#pragma once

#include "ui/frame/IOutputResolutionCallback.h"
#include "ui/frame/IScheduleTimerCallback.h"

namespace korvane {
class ScheduleExecutor;
}

namespace korvane::ui {

class FrameTimers;
class IFrameMessenger;
struct FrameServices;
struct FrameState;

// The frame's two callbacks: to the output panel and to the schedule runner.
class FrameCallbacks : public IOutputResolutionCallback, public IScheduleTimerCallback {
public:
    static constexpr int kCustomWaitMs = 500;
    static constexpr int kResolutionSettleMs = 2000;

    FrameCallbacks(IFrameMessenger& frame, const FrameServices& services, FrameState& state,
                   FrameTimers& timers, ScheduleExecutor& executor)
        : frame_(frame), s_(services), state_(state), timers_(timers), executor_(executor) {}

    int changeResolution(std::uint8_t code, int width, int height, int refresh) override;
    void loadTemplateFile(const std::string& path) override;
    bool start(const std::string& path) override;
    void stop() override;

private:
    IFrameMessenger& frame_;
    const FrameServices& s_;
    FrameState& state_;
    FrameTimers& timers_;
    ScheduleExecutor& executor_;
};

} // namespace korvane::ui
