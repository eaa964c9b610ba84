#include "LineServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

void StartWinsock() {
    static std::once_flag started;
    std::call_once(started, [] {
        WSADATA data{};
        ::WSAStartup(MAKEWORD(2, 2), &data);
    });
}

}  // namespace

CLineServerConnection::CLineServerConnection() : m_socket(INVALID_SOCKET) {
    StartWinsock();
    const char* port = std::getenv("SENTRABUS_LINE_PORT");
    if (port == nullptr) {
        std::fprintf(stderr, "SENTRABUS_LINE_PORT is not set: run the test through run-under-wine\n");
        return;
    }
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(static_cast<u_short>(std::atoi(port)));
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    if (s == INVALID_SOCKET || ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        std::fprintf(stderr, "cannot reach sentrabus-line-server on port %s\n", port);
        if (s != INVALID_SOCKET) ::closesocket(s);
        return;
    }
    m_socket = s;
}

CLineServerConnection::~CLineServerConnection() {
    if (m_socket != INVALID_SOCKET) {
        ::closesocket(static_cast<SOCKET>(m_socket));
    }
}

bool CLineServerConnection::Valid() const {
    return m_socket != INVALID_SOCKET;
}

bool CLineServerConnection::Request(const std::string& request, std::string* words) {
    if (!Valid()) return false;
    const SOCKET s = static_cast<SOCKET>(m_socket);
    const std::string line = request + "\n";
    if (::send(s, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size())) return false;
    std::string answer;
    char c = 0;
    while (::recv(s, &c, 1, 0) == 1 && c != '\n') answer += c;
    if (answer == "ok" || answer.rfind("ok ", 0) == 0) {
        if (words != nullptr) *words = answer.size() > 3 ? answer.substr(3) : std::string();
        return true;
    }
    std::fprintf(stderr, "sentrabus-line-server: %s: %s\n", request.substr(0, 40).c_str(), answer.c_str());
    return false;
}
