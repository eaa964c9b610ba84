#pragma once
// A program the benchmarks start and time (sentrabus-cli, or the benchmark
// itself in a child mode), as a technician's shell starts it. The child is
// reaped however the benchmark leaves the object's scope: one still running is
// stopped with SIGTERM first, so no run leaves a process or a zombie behind.
//
//   bench::CChildProcess cli({SENTRABUS_CLI_PATH, "--port", path, "read"});
//   if (!cli.Started()) return false;
//   const bool ok = bench::ExitedCleanly(cli.Wait());
//
// Linux only, as the benchmarks that start programs are.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

struct ChildOptions {
    // The child's stdout: nowhere unless a file (made afresh) is named or it
    // is captured through a pipe for ReadOutput.
    std::string stdoutFile;
    bool captureStdout = false;
    // Qt's start-up remarks and the serial log would mix with the table.
    bool discardStderr = false;
    // Changes to this process's environment for the child: a value sets the
    // variable, nullopt removes it.
    std::map<std::string, std::optional<std::string>> environment;
};

class CChildProcess {
public:
    explicit CChildProcess(const std::vector<std::string>& args, const ChildOptions& options = {}) {
        int pipe[2] = {-1, -1};
        if (options.captureStdout && ::pipe2(pipe, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        if (options.captureStdout) {
            ::posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
        } else if (!options.stdoutFile.empty()) {
            ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.stdoutFile.c_str(),
                                               O_WRONLY | O_CREAT | O_TRUNC, 0644);
        } else {
            ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        }
        if (options.discardStderr) {
            ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        }
        std::vector<std::string> arguments = args;
        std::vector<std::string> environment = Environment(options.environment);
        const std::vector<char*> argv = Pointers(arguments);
        const std::vector<char*> envp = Pointers(environment);
        if (::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) m_pid = -1;
        ::posix_spawn_file_actions_destroy(&actions);
        if (options.captureStdout) {
            ::close(pipe[1]);  // else the read end never sees the child's end of output
            m_output = pipe[0];
        }
    }
    ~CChildProcess() {
        Stop();
        if (m_output >= 0) ::close(m_output);
    }
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    // Everything the child writes to its stdout until it closes it; empty
    // unless captured.
    std::string ReadOutput() {
        std::string text;
        if (m_output < 0) return text;
        char buffer[256];
        for (ssize_t n; (n = ::read(m_output, buffer, sizeof(buffer))) != 0;) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

    // Waits for the child's end: its wait status, and its CPU time in `usage`
    // when asked. -1 when it never started or was waited for already.
    int Wait(rusage* usage = nullptr) {
        if (!Started()) return -1;
        int status = 0;
        while (::wait4(m_pid, &status, 0, usage) < 0) {
            if (errno != EINTR) {
                status = -1;
                break;
            }
        }
        m_pid = -1;
        return status;
    }

    // Asks a child that is still running to end, and reaps it.
    void Stop() {
        if (!Started()) return;
        ::kill(m_pid, SIGTERM);
        Wait();
    }

private:
    static std::vector<std::string> Environment(const std::map<std::string, std::optional<std::string>>& changes) {
        std::vector<std::string> environment;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const char* equals = std::strchr(*variable, '=');
            const std::string name(*variable, equals ? static_cast<std::size_t>(equals - *variable) : std::strlen(*variable));
            if (changes.find(name) == changes.end()) environment.emplace_back(*variable);
        }
        for (const auto& [name, value] : changes) {
            if (value) environment.push_back(name + "=" + *value);
        }
        return environment;
    }
    static std::vector<char*> Pointers(std::vector<std::string>& texts) {
        std::vector<char*> pointers;
        for (std::string& text : texts) pointers.push_back(text.data());
        pointers.push_back(nullptr);
        return pointers;
    }

    pid_t m_pid = -1;
    int m_output = -1;  // read end of the stdout pipe when captured
};

// The child ran to its end and exited with status 0.
inline bool ExitedCleanly(int status) { return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0; }

}  // namespace bench
