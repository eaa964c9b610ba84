#include "MosquittoBroker.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

// A port nobody listens on at the moment: the kernel's choice for port 0.
int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(s);
    return port;
}

bool Listening(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool ok = ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return ok;
}

// A throwaway CA and certificates for localhost (not 127.0.0.1) and for a
// client that it signs, and a second CA that signs nothing of the broker's.
bool MakeCertificates(const fs::path& d) {
    const std::string dir = d.string();
    const std::string quiet = " >/dev/null 2>&1";
    const auto ca = [&](const std::string& name) {
        return RunShell("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=" + name + " -keyout " + dir +
                        "/" + name + ".key -out " + dir + "/" + name + ".crt" + quiet);
    };
    std::ofstream(d / "san.ext") << "subjectAltName=DNS:localhost\n";
    const auto signedByCa = [&](const std::string& name, const std::string& extensions) {
        return RunShell("openssl req -newkey rsa:2048 -nodes -subj /CN=" + name + " -keyout " + dir + "/" + name +
                        ".key -out " + dir + "/" + name + ".csr" + quiet) &&
               RunShell("openssl x509 -req -in " + dir + "/" + name + ".csr -CA " + dir + "/ca.crt -CAkey " + dir +
                        "/ca.key -CAcreateserial -days 2 " + extensions + " -out " + dir + "/" + name + ".crt" + quiet);
    };
    return ca("ca") && ca("other-ca") && signedByCa("server", "-extfile " + dir + "/san.ext") &&
           signedByCa("client", "");
}

}  // namespace

bool RunShell(const std::string& command, std::string* out) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    char buffer[4096];
    std::string text;
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    const int status = ::pclose(pipe);
    if (out != nullptr) *out = text;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

CSilentListener::CSilentListener() : m_listener(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    // A backlog of 0 holds one connection; the fillers take it and more.
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(m_listener, 0) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return;
    }
    m_port = ntohs(address.sin_port);
    for (int& filler : m_fillers) {
        filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
}

CSilentListener::~CSilentListener() {
    for (int fd : m_fillers) ::close(fd);
    ::close(m_listener);
}

CMosquittoBroker::CMosquittoBroker(BrokerSetup setup) : m_setup(std::move(setup)) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/broker-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return;
    m_directory = pattern;
    m_port = FreePort();
    std::ofstream conf(m_directory / "mosquitto.conf");
    // Run as root (a container), the broker would change to its own user, who
    // cannot read this directory.
    if (::geteuid() == 0) conf << "user root\n";
    conf << "persistence false\nlog_dest file " << (m_directory / "broker.log").string() << "\n";
    conf << "listener " << m_port << " 127.0.0.1\n";
    if (!m_setup.user.empty()) {
        RunShell("mosquitto_passwd -c -b " + (m_directory / "passwd").string() + " '" + m_setup.user + "' '" +
                 m_setup.password + "'");
        conf << "allow_anonymous false\npassword_file " << (m_directory / "passwd").string() << "\n";
    } else {
        conf << "allow_anonymous true\n";
    }
    if (m_setup.tls) {
        if (!MakeCertificates(m_directory)) return;
        conf << "cafile " << CaFile().string() << "\ncertfile " << (m_directory / "server.crt").string()
             << "\nkeyfile " << (m_directory / "server.key").string() << "\n";
        if (m_setup.clientCertificates) conf << "require_certificate true\n";
    }
    conf.close();
    Start();
}

CMosquittoBroker::~CMosquittoBroker() {
    Stop();
    std::error_code ignored;
    if (!m_directory.empty()) fs::remove_all(m_directory, ignored);
}

bool CMosquittoBroker::Start() {
    if (m_pid > 0) return true;
    if (m_port == 0) return false;
    const std::string conf = (m_directory / "mosquitto.conf").string();
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen((m_directory / "broker.err").c_str(), "a", stderr);
        // Debian puts the broker in /usr/sbin, which a user's PATH leaves out.
        ::execl("/usr/sbin/mosquitto", "mosquitto", "-c", conf.c_str(), static_cast<char*>(nullptr));
        ::execlp("mosquitto", "mosquitto", "-c", conf.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    m_pid = child;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Listening(m_port)) return true;
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop(true);
    return false;
}

void CMosquittoBroker::Stop(bool kill) {
    if (m_pid <= 0) return;
    ::kill(m_pid, kill ? SIGKILL : SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

std::string CMosquittoBroker::Url() const {
    return (m_setup.tls ? "mqtts://localhost:" : "mqtt://127.0.0.1:") + std::to_string(m_port);
}

std::map<std::string, std::string> CMosquittoBroker::Retained(const std::string& filter) const {
    std::string credentials;
    if (!m_setup.user.empty()) credentials = " -u '" + m_setup.user + "' -P '" + m_setup.password + "'";
    if (m_setup.tls) credentials += " --cafile " + CaFile().string();
    if (m_setup.clientCertificates) {
        credentials += " --cert " + ClientCertFile().string() + " --key " + ClientKeyFile().string();
    }
    // Retained messages come at once after the subscription; a second is plenty.
    std::string out;
    RunShell("mosquitto_sub -h " + std::string(m_setup.tls ? "localhost" : "127.0.0.1") + " -p " +
                 std::to_string(m_port) + credentials + " -t '" + filter + "' --retained-only -W 1 -F '%t\t%p' 2>/dev/null",
             &out);
    std::map<std::string, std::string> messages;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos) messages[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return messages;
}
