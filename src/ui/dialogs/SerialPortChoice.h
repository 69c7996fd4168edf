#pragma once

#include "core/link/SerialLink.h"

#include <string_view>

namespace korvane::ui {

// The settings keep a port number beside the device path (999 = none). A chosen path gets the
// number at its end (/dev/ttyUSB3 gives 3), or 0 when it ends in none.
int portNumberFor(std::string_view devicePath);
// A port was chosen: a device path and a number other than 999.
bool serialConfigured(const SerialSettings& s);

} // namespace korvane::ui
