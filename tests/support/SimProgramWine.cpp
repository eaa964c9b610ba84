#include "SimProgram.h"

#include "LineServer.h"

struct CSimProgram::CProcess {
    CLineServerConnection m_server;
};

CSimProgram::CSimProgram(int portNumber, const std::vector<std::string>& options)
    : m_process(std::make_unique<CProcess>()) {
    std::string request = "sim";
    for (const auto& option : options) request += " " + option;
    std::string path;
    if (m_process->m_server.Request(request, &path) &&
        m_process->m_server.Request("link " + std::to_string(portNumber) + " " + path)) {
        m_slavePath = path;
    }
}

// The server stops the simulator and removes the link when the connection goes.
CSimProgram::~CSimProgram() = default;

// The server signals the simulator it runs on the Linux host.
bool CSimProgram::Unplug() { return m_process->m_server.Request("unplug"); }

bool CSimProgram::PlugInFresh() { return m_process->m_server.Request("plug"); }

// The link goes with the connection.
struct CPortNowhere::CMapping {
    CLineServerConnection m_server;
};

CPortNowhere::CPortNowhere(int portNumber) : m_mapping(std::make_unique<CMapping>()) {
    m_mapping->m_server.Request("link " + std::to_string(portNumber) + " /nonexistent/sentrabus-test-port");
}

CPortNowhere::~CPortNowhere() = default;

std::string HostPath(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
}
