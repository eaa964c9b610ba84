#pragma once
// `ports`: the list entries COM1..COM30 of the windows, the device each one
// leads to on this machine and whether it is there; on Linux also the
// adapters under /dev/serial/by-id, whose names stay the same across plugging.

#include <ostream>
#include <string>
#include <vector>

struct PortEntry {
    std::string name;  // "COM3", or the by-id path
    std::string path;  // the device it leads to
    bool present = false;
};

inline constexpr int kListedPorts = 30;

// The platform's list.
std::vector<PortEntry> ListPorts();

// Prints the list as text or JSON; the exit status.
int PrintPorts(bool json, std::ostream& out);
