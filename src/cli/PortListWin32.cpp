#include <windows.h>

#include <array>

#include "PortList.h"
#include "serial/PortPath.h"

namespace {

// The device namespace holds COM1..COM64 (PortPath.h).
constexpr int kHighestComPort = 64;

bool DosDeviceExists(const std::string& name) {
    std::array<char, 512> target{};
    return ::QueryDosDeviceA(name.c_str(), target.data(), static_cast<DWORD>(target.size())) != 0;
}

}  // namespace

// Device Manager shows under "Ports (COM & LPT)" which number an adapter got;
// a number above the list's 30 is listed when it is present.
std::vector<PortEntry> ListPorts() {
    std::vector<PortEntry> ports;
    for (int number = 1; number <= kHighestComPort; ++number) {
        const std::string name = "COM" + std::to_string(number);
        const bool present = DosDeviceExists(name);
        if (number <= kListedPorts || present) ports.push_back({name, ResolvePortPath(number), present});
    }
    return ports;
}
