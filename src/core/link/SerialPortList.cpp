#include "core/link/SerialPortList.h"

#include <algorithm>
#include <libserialport.h>

namespace korvane {

bool listSerialPorts(std::vector<SerialPortEntry>& out) {
    out.clear();
    sp_port** ports = nullptr;
    if (sp_list_ports(&ports) != SP_OK) {
        return false;
    }
    for (sp_port** p = ports; p != nullptr && *p != nullptr; ++p) {
        const char* name = sp_get_port_name(*p);
        const char* description = sp_get_port_description(*p);
        if (name == nullptr) {
            continue;
        }
        out.push_back({name, description != nullptr ? description : ""});
    }
    sp_free_port_list(ports);
    return true;
}

std::vector<SerialPortEntry> listStableSerialNames(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::vector<SerialPortEntry> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code own;
        const fs::path target = fs::canonical(entry.path(), own);
        if (own) {
            continue; // a name whose device is gone
        }
        out.push_back({entry.path().string(), "-> " + target.string()});
    }
    std::ranges::sort(out, {}, &SerialPortEntry::path);
    return out;
}

} // namespace korvane
