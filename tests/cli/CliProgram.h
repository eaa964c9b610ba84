#pragma once
// sentrabus-cli run as a program by the tests, as a technician's shell or a
// script runs it: its standard output and error taken whole, its exit status.
// SENTRABUS_CLI names the program (set by CTest); under Wine it is the
// Windows build, started as a Windows process.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/SimProgram.h"  // HostPath

struct CliRun {
    int status = -1;  // -1: it did not start, or did not end within the time allowed
    std::string out;  // line ends as "\n" on both platforms
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& arguments);

// `name` in the tests' folder (SENTRABUS_CLI_TEST_DIR, set by CTest), ready
// for a fresh run: the folder made, a file of an earlier run gone.
inline std::string FreshTestFile(const std::string& name) {
    const char* directory = std::getenv("SENTRABUS_CLI_TEST_DIR");
    if (directory == nullptr) throw std::runtime_error("CTest sets SENTRABUS_CLI_TEST_DIR");
    std::filesystem::create_directories(HostPath(directory));
    const std::string path = std::string(directory) + "/" + name;
    std::filesystem::remove(HostPath(path));
    return path;
}
