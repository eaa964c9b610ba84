// sentrabus-cli: every device operation of Sentrabus from the command line.
//
//   sentrabus-cli [--port COMn|PATH] [--address A [--baud B]] [--register-mode]
//                 [--json] [--trace] COMMAND [VALUES...]
//
// The options and values are all checked before the port is opened; then the
// device is settled (given, or found by the search), the command runs, and
// the exit status says how it went (CliRequest.h).

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CliContext.h"
#include "CommandLine.h"
#include "PortList.h"
#include "TracePrinter.h"
#include "serial/SerialPort.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
// Values and messages carry °C; the console shows UTF-8 only while told to.
// The console is the shell's too, so its code page is given back at the end.
class CUtf8Console {
public:
    CUtf8Console() : m_previous(::GetConsoleOutputCP()) { ::SetConsoleOutputCP(CP_UTF8); }
    ~CUtf8Console() {
        if (m_previous != 0) ::SetConsoleOutputCP(m_previous);
    }
    CUtf8Console(const CUtf8Console&) = delete;
    CUtf8Console& operator=(const CUtf8Console&) = delete;

private:
    UINT m_previous;
};

// The arguments as the wide command line has them, in UTF-8: the narrow argv
// of a Windows program is in the ANSI code page, which cannot hold a profile
// under C:\Users\Zoë\配置\. A name that does not convert stays as the
// narrow argv had it.
class CUtf8Arguments {
public:
    CUtf8Arguments(int argc, char** argv) {
        int count = 0;
        const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> wide(::CommandLineToArgvW(::GetCommandLineW(), &count),
                                                                  &::LocalFree);
        for (int i = 0; i < argc; ++i) {
            m_arguments.push_back(wide && count == argc ? Utf8(wide.get()[i]) : std::string(argv[i]));
        }
        for (std::string& argument : m_arguments) m_argv.push_back(argument.data());
        m_argv.push_back(nullptr);
    }
    int Count() const { return static_cast<int>(m_arguments.size()); }
    char** Argv() { return m_argv.data(); }

private:
    static std::string Utf8(const wchar_t* text) {
        const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0) return {};
        std::string utf8(static_cast<std::size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
        utf8.pop_back();  // the terminating zero
        return utf8;
    }

    std::vector<std::string> m_arguments;
    std::vector<char*> m_argv;
};
#endif

// kExitOk, or the status of a run that ends without its report.
int RunCommand(CliContext& c) {
    switch (c.request.command) {
        case CliCommand::Ports:
        case CliCommand::Search: break;
        case CliCommand::Read:
        case CliCommand::Get:
        case CliCommand::Set: RunValueCommand(c); break;
        case CliCommand::Address:
        case CliCommand::Baud: RunLineCommand(c); break;
        case CliCommand::LcdMode:
        case CliCommand::LcdRelay: RunLcdCommand(c); break;
        case CliCommand::Monitor: return RunMonitorCommand(c);
        case CliCommand::ProfileSave:
        case CliCommand::ProfileDiff:
        case CliCommand::ProfileApply: return RunProfileCommand(c);
        case CliCommand::Commission: return RunCommission(c);
        case CliCommand::Scan: return RunScan(c);
#ifndef _WIN32
        case CliCommand::Serve: return RunServeCommand(c);
#endif
        default: RunWirelessCommand(c); break;
    }
    return kExitOk;
}

int RunOnDevice(const CliRequest& request) {
    // Before the receive thread starts, so that it holds the requests back too.
    CInterruptHold interrupt;
    std::optional<CTracePrinter> trace;
    if (request.trace) trace.emplace(std::cerr);
    const CPortWatch watch(g_serialPort, trace ? &trace->Log() : nullptr);
    CReport report(request.json, std::cout, std::cerr);
    report.SetPortChoice(request.port);

    int status = kExitOk;
    {
        CDeviceSession session(g_serialPort, g_portOpen);
        if (trace) session.SetObserver(&trace->Observer());
        session.SetCutOnCompleteReply(!request.silenceCut);
        CliContext context{session, request, report, watch, interrupt};
        // commission searches for each unit itself; scan asks every address.
        const bool ownDevices = request.command == CliCommand::Commission || request.command == CliCommand::Scan;
        status = ownDevices ? kExitOk : Connect(context);
        if (status == kExitOk) {
            status = RunCommand(context);
            // A request that came during the last exchange stopped nothing:
            // it is taken, so that it does not end the process before it reports.
            interrupt.Requested();
            if (status == kExitOk) status = report.Finish();
        }
        session.StopReceiving();
        session.ClosePort();
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    const CUtf8Console console;
    CUtf8Arguments arguments(argc, argv);
    argc = arguments.Count();
    argv = arguments.Argv();
#endif
    const CommandLineOutcome line = ReadCommandLine(argc, argv, std::cout, std::cerr);
    if (!line.request) return line.exitStatus;
    if (line.request->command == CliCommand::Ports) return PrintPorts(line.request->json, std::cout);
    return RunOnDevice(*line.request);
}
