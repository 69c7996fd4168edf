#include "ui/dialogs/SerialPortChoice.h"

#include "core/store/SettingsKeys.h"

#include <cctype>

namespace korvane::ui {

int portNumberFor(std::string_view devicePath) {
    std::size_t start = devicePath.size();
    while (start > 0 && std::isdigit(static_cast<unsigned char>(devicePath[start - 1])) != 0 &&
           devicePath.size() - start < 3) {
        --start;
    }
    int n = 0;
    for (std::size_t i = start; i < devicePath.size(); ++i) {
        n = n * 10 + (devicePath[i] - '0');
    }
    return n;
}

bool serialConfigured(const SerialSettings& s) {
    return s.portNumber != settingskey::kNoCommPort && !s.devicePath.empty();
}

} // namespace korvane::ui
