#pragma once

#include "SubCommand.h"

namespace korvane::ctl {

// `send NAME [ARG...]`: one command of the catalogue; prints the frame that went out.
Prepared prepareSend(std::span<const std::string> operands, LocalTime now);

} // namespace korvane::ctl
