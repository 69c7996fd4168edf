#include "ui/frame/FrameScheduleActions.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/FrameTemplateHost.h"

namespace korvane::ui {

int FrameScheduleActions::loadTemplate(const std::string& path) {
    return templates_.load(path) == LoadResult::Loaded ? 1 : 0;
}

int FrameScheduleActions::selectPicture1Input(std::uint8_t code) {
    int sent = 0;
    s_.busy.runUnseen([&] { sent = s_.facade.selectInput(Picture::One, code); });
    return sent;
}

bool FrameScheduleActions::linkOpen() const {
    return s_.link.isOpen() != 0;
}

bool FrameScheduleActions::deviceBusy() const {
    return s_.busy.gate().busy();
}

} // namespace korvane::ui
