#include "PortPath.h"

#include <cstdlib>
#include <filesystem>

std::string ResolvePortPath(int portNumber) {
    if (portNumber <= 0) {
        return {};
    }
#ifdef _WIN32
    // The device namespace has COM1..COM64; the list's entries beyond lead to
    // the telnet redirector.
    if (portNumber > 64) {
        return "\\\\.\\TELNET";
    }
    return "\\\\.\\COM" + std::to_string(portNumber);
#else
    const std::string variable = "SENTRABUS_COM" + std::to_string(portNumber);
    if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0') {
        return path;
    }
    // COM1 is the first adapter: USB-serial converters first, then CDC-ACM
    // ones, then the built-in UARTs.
    const std::string index = std::to_string(portNumber - 1);
    for (const char* prefix : {"/dev/ttyUSB", "/dev/ttyACM"}) {
        const std::string path = prefix + index;
        std::error_code error;
        if (std::filesystem::exists(path, error)) {
            return path;
        }
    }
    return "/dev/ttyS" + index;
#endif
}
