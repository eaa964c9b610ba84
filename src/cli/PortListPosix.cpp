#include <algorithm>
#include <filesystem>

#include "PortList.h"
#include "serial/PortPath.h"

std::vector<PortEntry> ListPorts() {
    namespace fs = std::filesystem;
    std::vector<PortEntry> ports;
    std::error_code error;
    for (int number = 1; number <= kListedPorts; ++number) {
        const std::string path = ResolvePortPath(number);
        ports.push_back({"COM" + std::to_string(number), path, fs::exists(path, error)});
    }
    // Named after the adapter's maker, model and serial number: the way to
    // tell two adapters apart. Give one to --port as it stands.
    std::vector<PortEntry> adapters;
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev/serial/by-id", error)) {
        const fs::path target = fs::canonical(entry.path(), error);
        adapters.push_back({entry.path().string(), error ? std::string() : target.string(), !error});
    }
    std::sort(adapters.begin(), adapters.end(), [](const PortEntry& a, const PortEntry& b) { return a.name < b.name; });
    ports.insert(ports.end(), adapters.begin(), adapters.end());
    return ports;
}
