#include "SimProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

struct CSimProgram::CProcess {
    pid_t m_pid = -1;
    std::string m_variable;
};

CSimProgram::CSimProgram(int portNumber, const std::vector<std::string>& options)
    : m_process(std::make_unique<CProcess>()) {
    const char* program = std::getenv("SENTRABUS_SIM");
    int out[2];
    if (program == nullptr || ::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const auto& option : options) argv.push_back(const_cast<char*>(option.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // the simulator goes with its test
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execv(program, argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    m_process->m_pid = child;
    // The first line is the terminal's path.
    std::string path;
    char c = 0;
    while (child > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') path += c;
    ::close(out[0]);
    if (!path.empty() && portNumber > 0) {
        m_process->m_variable = "SENTRABUS_COM" + std::to_string(portNumber);
        ::setenv(m_process->m_variable.c_str(), path.c_str(), 1);
    }
    m_slavePath = path;
}

CSimProgram::~CSimProgram() {
    if (!m_process->m_variable.empty()) {
        ::unsetenv(m_process->m_variable.c_str());
    }
    if (m_process->m_pid > 0) {
        ::kill(m_process->m_pid, SIGTERM);
        ::waitpid(m_process->m_pid, nullptr, 0);
    }
}

bool CSimProgram::Unplug() { return m_process->m_pid > 0 && ::kill(m_process->m_pid, SIGUSR1) == 0; }

bool CSimProgram::PlugInFresh() { return m_process->m_pid > 0 && ::kill(m_process->m_pid, SIGUSR2) == 0; }

namespace {
constexpr const char* kNowhere = "/nonexistent/sentrabus-test-port";
}

struct CPortNowhere::CMapping {
    std::string m_variable;
};

CPortNowhere::CPortNowhere(int portNumber)
    : m_mapping(std::make_unique<CMapping>(CMapping{"SENTRABUS_COM" + std::to_string(portNumber)})) {
    ::setenv(m_mapping->m_variable.c_str(), kNowhere, 1);
}

CPortNowhere::~CPortNowhere() { ::unsetenv(m_mapping->m_variable.c_str()); }

std::string HostPath(const std::string& path) { return path; }
