#pragma once

#include "SubCommand.h"
#include "core/schedule/ScheduleActions.h"

namespace korvane::ctl {

// What the schedule's tasks do to the processor from the command line. Every action runs to its
// end inside the tick that started it, so the device is never busy when a tick comes.
class CtlScheduleActions : public ScheduleActions {
public:
    explicit CtlScheduleActions(Session& session) : session_(session) {}

    int loadTemplate(const std::string& path) override;
    int selectPicture1Input(std::uint8_t code) override;
    bool linkOpen() const override;
    bool deviceBusy() const override { return false; }

private:
    Session& session_;
};

} // namespace korvane::ctl
