#pragma once

#include "core/link/SerialLink.h"

#include <QString>
#include <string_view>

namespace korvane::ui {

// The settings keep a port number beside the device path (999 = none). A chosen path gets the
// number at its end (/dev/ttyUSB3 gives 3), or 0 when it ends in none or in 999.
int portNumberFor(std::string_view devicePath);
// A port was chosen: the device path alone decides, whatever number is stored beside it.
bool serialConfigured(const SerialSettings& s);
// Why `devicePath` did not open, from the errno of the failed open: no such device, permission
// denied (with the hint about the device's group), busy, not a serial device, or the system's
// own words.
QString deviceOpenFailure(const QString& devicePath, int error);

} // namespace korvane::ui
