#include <windows.h>

#include <cstdlib>
#include <thread>

#include "CliProgram.h"

namespace {

constexpr DWORD kRunLimitMs = 60000;

// Takes everything the child writes into `pipe`, with the console's CR LF as LF.
void Drain(HANDLE pipe, std::string& into) {
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        for (DWORD i = 0; i < n; ++i) {
            if (buffer[i] != '\r') into += buffer[i];
        }
    }
}

// The tests' arguments hold no quotes; those with blanks are quoted.
std::string CommandLine(const std::string& program, const std::vector<std::string>& arguments) {
    std::string line = "\"" + program + "\"";
    for (const std::string& argument : arguments) {
        line += argument.find(' ') == std::string::npos && !argument.empty() ? " " + argument : " \"" + argument + "\"";
    }
    return line;
}

// The arguments are UTF-8; the wide command line carries any of them.
std::wstring Wide(const std::string& utf8) {
    const int count = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), count);
    return wide;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& arguments) {
    CliRun run;
    const char* program = std::getenv("SENTRABUS_CLI");
    if (program == nullptr) return run;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!::CreatePipe(&outRead, &outWrite, &inherit, 0)) return run;
    if (!::CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        ::CloseHandle(outRead);
        ::CloseHandle(outWrite);
        return run;
    }
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    std::wstring line = Wide(CommandLine(HostPath(program), arguments));
    const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                          &startup, &process) != FALSE;
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    if (started) {
        std::thread outReader(Drain, outRead, std::ref(run.out));
        std::thread errReader(Drain, errRead, std::ref(run.err));
        if (::WaitForSingleObject(process.hProcess, kRunLimitMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(process.hProcess, 255);
        } else {
            DWORD status = 0;
            ::GetExitCodeProcess(process.hProcess, &status);
            run.status = static_cast<int>(status);
        }
        outReader.join();
        errReader.join();
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(outRead);
    ::CloseHandle(errRead);
    return run;
}
