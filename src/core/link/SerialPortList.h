#pragma once

#include <filesystem>
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

// Where the system keeps a name for each serial adapter that stays the same whichever ttyUSB
// number it gets (made from its maker, model and serial number).
inline const std::filesystem::path kStableSerialFolder = "/dev/serial/by-id";

// The stable names in `folder`, sorted; each described by the device it names now. Empty when
// the folder is missing (no adapter plugged in).
std::vector<SerialPortEntry>
listStableSerialNames(const std::filesystem::path& folder = kStableSerialFolder);

} // namespace korvane
