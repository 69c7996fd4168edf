#pragma once

#include "core/schedule/ScheduleActions.h"

namespace korvane::ui {

class FrameTemplateHost;
struct FrameServices;

// What the schedule executor does through the frame: template loads behind the busy dialog,
// input switches on a worker, and no tick while another device operation runs.
class FrameScheduleActions : public ScheduleActions {
public:
    FrameScheduleActions(const FrameServices& services, FrameTemplateHost& templates)
        : s_(services), templates_(templates) {}
    int loadTemplate(const std::string& path) override;
    int selectPicture1Input(std::uint8_t code) override;
    bool linkOpen() const override;
    bool deviceBusy() const override;

private:
    const FrameServices& s_;
    FrameTemplateHost& templates_;
};

} // namespace korvane::ui
