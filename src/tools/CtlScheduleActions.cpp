#include "CtlScheduleActions.h"

#include "TemplateCommand.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"

namespace korvane::ctl {

int CtlScheduleActions::loadTemplate(const std::string& path) {
    return ctl::loadTemplate(session_, path) == kExitOk ? 1 : 0;
}

int CtlScheduleActions::selectPicture1Input(std::uint8_t code) {
    return session_.commands.selectInput(Picture::One, code);
}

bool CtlScheduleActions::linkOpen() const {
    return session_.link.isOpen() != 0;
}

} // namespace korvane::ctl
