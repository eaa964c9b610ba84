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

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

std::string Hex(const std::vector<unsigned char>& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

bool FromHex(const std::string& text, std::vector<unsigned char>& bytes) {
    if (text.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        char* end = nullptr;
        const std::string pair = text.substr(i, 2);
        const long value = std::strtol(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) return false;
        bytes.push_back(static_cast<unsigned char>(value));
    }
    return true;
}

std::uint32_t BaudOf(speed_t code) {
    static constexpr struct { speed_t code; std::uint32_t baud; } kSpeeds[] = {
        {B1200, 1200}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600}, {B19200, 19200},
        {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};
    for (const auto& speed : kSpeeds) {
        if (speed.code == code) return speed.baud;
    }
    return 0;
}

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
        if (m_sim > 0) {
            ::kill(m_sim, SIGTERM);
            ::waitpid(m_sim, nullptr, 0);
        }
        CloseMaster();
        if (m_slave >= 0) ::close(m_slave);
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
        if (command == "pty") return OpenTerminal();
        if (command == "sim") {
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
        if (m_master < 0) return "error no terminal";
        if (command == "send") {
            std::string hex;
            words >> hex;
            std::vector<unsigned char> bytes;
            if (!FromHex(hex, bytes)) return "error bad hex";
            return Send(bytes) ? "ok" : "error send failed";
        }
        if (command == "receive") {
            std::size_t count = 0;
            int timeoutMs = 0;
            words >> count >> timeoutMs;
            return "ok " + Hex(Receive(count, std::chrono::milliseconds(timeoutMs)));
        }
        if (command == "waiting") {
            int waiting = 0;
            return ::ioctl(m_slave, FIONREAD, &waiting) == 0 ? "ok " + std::to_string(waiting) : "error";
        }
        if (command == "line") {
            termios settings{};
            if (::tcgetattr(m_slave, &settings) != 0) return "error";
            const tcflag_t size = settings.c_cflag & CSIZE;
            const int dataBits = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
            const char parity = (settings.c_cflag & PARENB) == 0 ? 'n' : (settings.c_cflag & PARODD) ? 'o' : 'e';
            const bool xonXoff = (settings.c_iflag & (IXON | IXOFF)) != 0;
            const bool rtsCts = (settings.c_cflag & CRTSCTS) != 0;
            std::ostringstream answer;
            answer << "ok " << BaudOf(::cfgetospeed(&settings)) << ' ' << dataBits << ' ' << parity << ' '
                   << ((settings.c_cflag & CSTOPB) ? 2 : 1) << ' ' << xonXoff << ' ' << rtsCts;
            return answer.str();
        }
        if (command == "hangup") {
            CloseMaster();
            return "ok";
        }
        return "error unknown request";
    }

    std::string OpenTerminal() {
        if (m_master >= 0 || m_sim > 0) return "error this connection has a line end";
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
            ::ptsname_r(m_master, name, sizeof(name)) != 0) {
            return "error cannot make a terminal";
        }
        // Our own slave descriptor keeps the master from seeing a hang-up while
        // the port under test is closed, and lets us read the settings it made.
        m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_slave < 0) return "error cannot open the slave";
        termios settings{};
        ::tcgetattr(m_slave, &settings);
        ::cfmakeraw(&settings);
        settings.c_iflag |= IXON | IXOFF;
        settings.c_cflag |= CRTSCTS;
        ::tcsetattr(m_slave, TCSANOW, &settings);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        return std::string("ok ") + name;
    }

    std::string StartSimulator(const std::vector<std::string>& options) {
        if (m_master >= 0 || m_sim > 0) return "error this connection has a line end";
        const char* program = std::getenv("SENTRABUS_SIM");
        if (program == nullptr) return "error SENTRABUS_SIM is not set";
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) return "error pipe";
        const pid_t child = ::fork();
        if (child == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // the simulator goes with us
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<char*> argv{const_cast<char*>(program)};
            for (const auto& option : options) argv.push_back(const_cast<char*>(option.c_str()));
            argv.push_back(nullptr);
            ::execv(program, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        if (child < 0) {
            ::close(out[0]);
            return "error fork";
        }
        m_sim = child;
        // Its first line is the terminal's path; the rest of its output is not ours.
        std::string path;
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') path += c;
        ::close(out[0]);
        return path.empty() ? "error the simulator did not start" : "ok " + path;
    }

    bool Send(const std::vector<unsigned char>& bytes) {
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t put = ::write(m_master, bytes.data() + sent, bytes.size() - sent);
            if (put > 0) {
                sent += static_cast<std::size_t>(put);
                continue;
            }
            if ((put < 0 && errno != EAGAIN && errno != EINTR) || Clock::now() >= deadline) return false;
            pollfd writable{m_master, POLLOUT, 0};
            ::poll(&writable, 1, 10);
        }
        return true;
    }

    std::vector<unsigned char> Receive(std::size_t count, std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        std::vector<unsigned char> received;
        unsigned char chunk[512];
        while (received.size() < count) {
            const ssize_t got = ::read(m_master, chunk, std::min(sizeof(chunk), count - received.size()));
            if (got > 0) {
                received.insert(received.end(), chunk, chunk + got);
                continue;
            }
            if (Clock::now() >= deadline) break;
            pollfd readable{m_master, POLLIN, 0};
            ::poll(&readable, 1, 10);
        }
        return received;
    }

    void CloseMaster() {
        if (m_master >= 0) {
            ::close(m_master);
            m_master = -1;
        }
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
    int m_master = -1;
    int m_slave = -1;
    pid_t m_sim = -1;
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
