#pragma once

#include <string>
#include <vector>

namespace korvane {

struct SerialPortEntry {
    std::string path;        // /dev/ttyUSB0
    std::string description; // what the system says of it
};

// The serial ports the system knows. Pseudo-terminals are not listed; they open by path.
// False when the system's port list could not be read.
bool listSerialPorts(std::vector<SerialPortEntry>& out);

} // namespace korvane
