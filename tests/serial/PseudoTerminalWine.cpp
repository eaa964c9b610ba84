// The device end of the serial tests under Wine: the terminal lives on the Linux
// host, in sentrabus-line-server, and the list entry COMn is a link in the Wine
// prefix's dosdevices.

#include "PseudoTerminal.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "support/HexText.h"
#include "support/LineServer.h"

namespace {

// One connection carries the COM port links of the overrides; the links go when
// the test program ends.
CLineServerConnection& Links() {
    static CLineServerConnection links;
    return links;
}

}  // namespace

struct CPseudoTerminal::CServerEnd {
    CLineServerConnection m_server;
};

CPseudoTerminal::CPseudoTerminal() : m_end(std::make_unique<CServerEnd>()) {
    std::string path;
    if (m_end->m_server.Request("pty", &path)) {
        m_slavePath = path;
        m_master = m_slave = 0;
    }
}

CPseudoTerminal::~CPseudoTerminal() = default;

bool CPseudoTerminal::Send(const std::vector<std::uint8_t>& bytes, std::chrono::milliseconds) {
    // The server gives up after 10 s, as the Linux fixture does.
    return bytes.empty() || m_end->m_server.Request("send " + ToHex(bytes));
}

std::vector<std::uint8_t> CPseudoTerminal::Receive(std::size_t count, std::chrono::milliseconds timeout) {
    std::string hex;
    if (!m_end->m_server.Request("receive " + std::to_string(count) + " " + std::to_string(timeout.count()), &hex)) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    FromHex(hex, bytes);
    return bytes;
}

int CPseudoTerminal::WaitingAtPort() const {
    std::string count;
    return m_end->m_server.Request("waiting", &count) ? std::atoi(count.c_str()) : -1;
}

CPseudoTerminal::CLine CPseudoTerminal::Line() const {
    std::string words;
    CLine line;
    if (m_end->m_server.Request("line", &words)) {
        char parity = '?';
        int xonXoff = 1;
        int rtsCts = 1;
        std::sscanf(words.c_str(), "%u %d %c %d %d %d", &line.m_baud, &line.m_dataBits, &parity, &line.m_stopBits,
                    &xonXoff, &rtsCts);
        line.m_parity = parity;
        line.m_xonXoff = xonXoff != 0;
        line.m_rtsCts = rtsCts != 0;
    }
    return line;
}

void CPseudoTerminal::HangUp() {
    m_end->m_server.Request("hangup");
}

CComPortOverride::CComPortOverride(int portNumber, const std::string& path)
    : m_variable(std::to_string(portNumber)) {
    Links().Request(path.empty() ? "unlink " + m_variable : "link " + m_variable + " " + path);
}

CComPortOverride::~CComPortOverride() {
    Links().Request("unlink " + m_variable);
}
