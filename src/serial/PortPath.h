#pragma once
// Where the list entry COMn leads on this machine.
//
// Linux: the path in SENTRABUS_COM<n> when set, else /dev/ttyUSB<n-1> when
// present, else /dev/ttyACM<n-1> when present, else /dev/ttyS<n-1>.
// Windows: \\.\COM<n> for n up to 64, \\.\TELNET above.
// Port number 0 (nothing selected in the list) resolves to "".

#include <string>

std::string ResolvePortPath(int portNumber);
