#pragma once
// Windows tests under Wine: one connection to sentrabus-line-server, which holds
// a line end on the Linux host (a pseudo-terminal or a simulator process) and
// the COM ports mapped to it, for as long as the connection lives.

#include <string>

class CLineServerConnection {
public:
    CLineServerConnection();  // connects to the server run-under-wine started
    ~CLineServerConnection();
    CLineServerConnection(const CLineServerConnection&) = delete;
    CLineServerConnection& operator=(const CLineServerConnection&) = delete;

    bool Valid() const;
    // Sends one request line; true when the answer is "ok", whose words (after
    // "ok ") land in `words`. An error answer goes to stderr.
    bool Request(const std::string& request, std::string* words = nullptr);

private:
    unsigned long long m_socket;
};
