// sentrabus-line-server: the Linux side of the Windows tests under Wine.
//
// A Windows test program cannot open a pseudo-terminal or start a Linux program
// and wait for it, but it can reach this server over loopback TCP. Each
// connection owns one line end: a pseudo-terminal whose master side it drives,
// or a sentrabus-sim process, and the COM ports it mapped into the Wine prefix
// ($WINEPREFIX/dosdevices/comN → terminal). All of it goes when the connection
// closes, so a test program that dies leaves nothing behind.
//
// Prints its TCP port on the first line of standard output, then serves until
// killed. One text line per request, one per answer: "ok [words]" or "error why".
//
//   pty                  a new terminal, raw but with XON/XOFF and RTS/CTS on, as
//                        a driver may leave a port   → ok <slave path>
//   sim <options...>     sentrabus-sim with these options → ok <slave path>
//   link <n> <path>      COMn leads to path           → ok
//   unlink <n>           COMn leads nowhere           → ok
//   send <hex>           the device sends             → ok
//   receive <n> <ms>     what the device received, once n bytes came or ms ran out
//                                                     → ok <hex>
//   waiting              bytes sent that the port side has not read → ok <n>
//   line                 the terminal's settings      → ok <baud> <data bits>
//                        <parity n|o|e> <stop bits> <xon/xoff 0|1> <rts/cts 0|1>
//   hangup               the device end goes away     → ok
//   unplug, plug         the simulator's unit is pulled, or a fresh one
//                        plugged in (its SIGUSR1, SIGUSR2) → ok
//   click <x> <y>        a left click at that point of the X display, through
//                        the X server as the operator's mouse makes it
//                        (xdotool, on $DISPLAY)            → ok

#include <arpa/inet.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "serial/PseudoTerminal.h"
#include "support/HexText.h"
#include "support/SimProgram.h"

namespace {

namespace fs = std::filesystem;

fs::path ComLink(int portNumber) {
    const char* prefix = std::getenv("WINEPREFIX");
    return fs::path(prefix != nullptr ? prefix : "") / "dosdevices" / ("com" + std::to_string(portNumber));
}

// One connection's line end.
class CLineEnd {
public:
    explicit CLineEnd(int socket) : m_socket(socket) {}
    ~CLineEnd() {
        for (int port : m_links) {
            std::error_code error;
            fs::remove(ComLink(port), error);
        }
        ::close(m_socket);
    }

    void Serve() {
        std::string line;
        while (ReadLine(line)) {
            if (!Answer(Handle(line))) return;
        }
    }

private:
    std::string Handle(const std::string& request) {
        std::istringstream words(request);
        std::string command;
        words >> command;
        if (command == "pty" || command == "sim") {
            if (m_pty || m_sim) return "error this connection has a line end";
            if (command == "pty") {
                m_pty = std::make_unique<CPseudoTerminal>();
                return m_pty->Valid() ? "ok " + m_pty->SlavePath() : "error cannot make a terminal";
            }
            std::vector<std::string> options;
            for (std::string word; words >> word;) options.push_back(word);
            return StartSimulator(options);
        }
        if (command == "link" || command == "unlink") {
            int port = 0;
            std::string target;
            words >> port >> target;
            if (port < 1 || port > 256) return "error bad port";
            std::error_code error;
            const fs::path link = ComLink(port);
            if (fs::is_symlink(fs::symlink_status(link, error))) fs::remove(link, error);
            if (command == "link") {
                fs::create_symlink(target, link, error);
                if (error) return "error " + error.message();
                m_links.insert(port);
            }
            return "ok";
        }
        if (command == "unplug" || command == "plug") {
            if (!m_sim) return "error no simulator";
            const bool sent = command == "unplug" ? m_sim->Unplug() : m_sim->PlugInFresh();
            return sent ? "ok" : "error the simulator is gone";
        }
        if (command == "click") {
            int x = -1;
            int y = -1;
            words >> x >> y;
            if (x < 0 || y < 0) return "error bad point";
            return ClickOnDisplay(x, y);
        }
        if (!m_pty) return "error no terminal";
        if (command == "send") {
            std::string hex;
            words >> hex;
            std::vector<std::uint8_t> bytes;
            if (!FromHex(hex, bytes)) return "error bad hex";
            return m_pty->Send(bytes) ? "ok" : "error send failed";
        }
        if (command == "receive") {
            std::size_t count = 0;
            long timeoutMs = 0;
            words >> count >> timeoutMs;
            return "ok " + ToHex(m_pty->Receive(count, std::chrono::milliseconds(timeoutMs)));
        }
        if (command == "waiting") {
            return "ok " + std::to_string(m_pty->WaitingAtPort());
        }
        if (command == "line") {
            const CPseudoTerminal::CLine line = m_pty->Line();
            std::ostringstream answer;
            answer << "ok " << line.m_baud << ' ' << line.m_dataBits << ' ' << line.m_parity << ' '
                   << line.m_stopBits << ' ' << line.m_xonXoff << ' ' << line.m_rtsCts;
            return answer.str();
        }
        if (command == "hangup") {
            m_pty->HangUp();
            return "ok";
        }
        return "error unknown request";
    }

    std::string StartSimulator(const std::vector<std::string>& options) {
        m_sim = std::make_unique<CSimProgram>(0, options);
        return m_sim->Valid() ? "ok " + m_sim->SlavePath() : "error the simulator did not start";
    }

    static std::string ClickOnDisplay(int x, int y) {
        const std::string xs = std::to_string(x);
        const std::string ys = std::to_string(y);
        const char* argv[] = {"xdotool", "mousemove", xs.c_str(), ys.c_str(), "click", "1", nullptr};
        pid_t pid = 0;
        if (::posix_spawnp(&pid, "xdotool", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
            return "error xdotool cannot be started";
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "ok" : "error xdotool failed";
    }

    bool ReadLine(std::string& line) {
        line.clear();
        char c = 0;
        while (::recv(m_socket, &c, 1, 0) == 1) {
            if (c == '\n') return true;
            if (c != '\r') line += c;
        }
        return false;
    }

    bool Answer(const std::string& answer) {
        const std::string line = answer + "\n";
        return ::send(m_socket, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
    }

    int m_socket;
    std::unique_ptr<CPseudoTerminal> m_pty;
    std::unique_ptr<CSimProgram> m_sim;
    std::set<int> m_links;
};

}  // namespace

int main() {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener, 16) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("sentrabus-line-server");
        return 1;
    }
    std::printf("%u\n", ntohs(address.sin_port));
    std::fflush(stdout);
    for (;;) {
        const int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR) continue;
            return 1;
        }
        // One thread per line end; it ends with its connection.
        std::thread([connection] { CLineEnd(connection).Serve(); }).detach();
    }
}
