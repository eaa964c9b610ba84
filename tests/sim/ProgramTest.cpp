// The sentrabus-sim program: prints its terminal, serves the device, obeys its
// options and ends cleanly on SIGTERM. Needs SENTRABUS_SIM (set by CTest).

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "RawPort.h"
#include "protocol/ReplyChecks.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using simtest::Bytes;
using simtest::CRawPort;

const Bytes kFdQuery = {0xFD, 0xFD, 0xFD, 0x00, 0x00, 0xE9, 0x88};

// One run of the program, stdout on a pipe; killed and reaped on destruction.
class CSimProcess {
public:
    explicit CSimProcess(const std::vector<std::string>& args) {
        const char* program = std::getenv("SENTRABUS_SIM");
        if (program == nullptr || *program == '\0') return;
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

        std::vector<std::string> all = {program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, program, &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        m_stdout = pipeFds[0];
    }

    ~CSimProcess() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            Wait();
        }
        if (m_stdout >= 0) ::close(m_stdout);
    }

    static bool Available() {
        const char* program = std::getenv("SENTRABUS_SIM");
        return program != nullptr && *program != '\0';
    }

    // The first line of its output, "" if none came in time.
    std::string FirstLine(std::chrono::milliseconds timeout = 5000ms) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd watch{m_stdout, POLLIN, 0};
            if (::poll(&watch, 1, 50) <= 0) continue;
            char c = 0;
            if (::read(m_stdout, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return "";
    }

    // Exit code, or -1 when it did not exit normally in time.
    int Wait(std::chrono::milliseconds timeout = 5000ms) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (m_pid > 0) {
            int status = 0;
            const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (std::chrono::steady_clock::now() > deadline) return -1;
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

    void Terminate() {
        if (m_pid > 0) ::kill(m_pid, SIGTERM);
    }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
};

TEST(Program, ServesADeviceAndEndsCleanlyOnSigterm) {
    if (!CSimProcess::Available()) GTEST_SKIP() << "SENTRABUS_SIM is not set";
    const std::string link = "/tmp/sentrabus-sim-test-" + std::to_string(::getpid());
    CSimProcess process({"--device", "th", "--address", "5", "--baud", "4800", "--link", link});
    const std::string path = process.FirstLine();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::read_symlink(link), path);

    CRawPort port(link, 4800);
    const auto fd = ParseFdReply(port.Ask(kFdQuery, 7));
    ASSERT_TRUE(fd);
    EXPECT_EQ(fd->address, 5);
    EXPECT_EQ(fd->baudRate, 4800U);

    process.Terminate();
    EXPECT_EQ(process.Wait(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
}

TEST(Program, ABusWhoseUnitsTheControlFileUnplugsAndPlugsBack) {
    if (!CSimProcess::Available()) GTEST_SKIP() << "SENTRABUS_SIM is not set";
    const std::string control = "/tmp/sentrabus-sim-control-" + std::to_string(::getpid());
    std::FILE* file = std::fopen(control.c_str(), "w");
    ASSERT_NE(file, nullptr);
    CSimProcess process({"--bus", "th:12,th:13@4800", "--control", control});
    const std::string path = process.FirstLine();
    ASSERT_FALSE(path.empty());
    CRawPort port(path, 4800);
    const Bytes read13 = {13, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0xC7};
    EXPECT_EQ(port.Ask(read13, 9).size(), 9U);

    const auto tell = [&](const char* line) {
        std::fputs(line, file);
        std::fflush(file);
        std::this_thread::sleep_for(300ms);  // read every 100 ms
    };
    tell("unplug 13\n");
    EXPECT_TRUE(port.Ask(read13, 9, 200ms).empty());
    tell("plug 1");  // not whole yet: waits for its newline
    EXPECT_TRUE(port.Ask(read13, 9, 200ms).empty());
    tell("3\n");
    EXPECT_EQ(port.Ask(read13, 9).size(), 9U);
    std::fclose(file);
    std::filesystem::remove(control);
    process.Terminate();
    EXPECT_EQ(process.Wait(), 0);
}

TEST(Program, AFaultFromTheCommandLine) {
    if (!CSimProcess::Available()) GTEST_SKIP() << "SENTRABUS_SIM is not set";
    CSimProcess process({"--device", "th", "--fault", "short", "--fault-count", "1"});
    const std::string path = process.FirstLine();
    ASSERT_FALSE(path.empty());
    CRawPort port(path, 9600);  // the default speed
    EXPECT_EQ(port.Ask(kFdQuery, 7, 500ms).size(), 2U);
    EXPECT_TRUE(ParseFdReply(port.Ask(kFdQuery, 7)));
}

TEST(Program, RefusesBadOptions) {
    if (!CSimProcess::Available()) GTEST_SKIP() << "SENTRABUS_SIM is not set";
    const std::vector<std::vector<std::string>> badRuns = {
        {},
        {"--device", "toaster"},
        {"--device", "th", "--address", "0"},
        {"--device", "th", "--address", "256"},
        {"--device", "th", "--baud", "1234"},
        {"--device", "th", "--fault", "delay"},
        {"--device", "th", "--fault-count", "0"},
        {"--device", "th", "--address"},
        {"--device", "th", "--colour", "red"},
        {"--bus", "th:12,th:12"},
        {"--bus", "th:12", "--device", "th"},
        {"--bus", "th:12", "--fault", "short"},
        {"--device", "th", "--control", "/tmp/x"},
    };
    for (const auto& args : badRuns) {
        CSimProcess process(args);
        EXPECT_EQ(process.Wait(), 2) << (args.empty() ? "(no options)" : args.back());
    }
}

}  // namespace
