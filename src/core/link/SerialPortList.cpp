#include "core/link/SerialPortList.h"

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

} // namespace korvane
