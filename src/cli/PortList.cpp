#include "PortList.h"

#include "CliRequest.h"
#include "JsonText.h"

int PrintPorts(bool json, std::ostream& out) {
    const std::vector<PortEntry> ports = ListPorts();
    if (json) {
        nlohmann::ordered_json results = nlohmann::ordered_json::array();
        for (const PortEntry& port : ports) {
            results.push_back({{"name", port.name}, {"path", port.path}, {"present", port.present}});
        }
        out << JsonText({{"results", results}}) << std::endl;
        return kExitOk;
    }
    for (const PortEntry& port : ports) {
        out << port.name << "  " << port.path << "  " << (port.present ? "present" : "absent") << '\n';
    }
    out.flush();
    return kExitOk;
}
