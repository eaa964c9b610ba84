#pragma once
// A pseudo-terminal that stands in for a serial adapter with a device behind it.
// The test talks as the device on the master side; the port under test opens the
// slave path. The fixture keeps a slave descriptor of its own open so that the
// master never sees a hang-up while the port is closed between sessions.
//
// The terminal starts raw but with XON/XOFF and RTS/CTS flow control on, as a
// driver or an earlier program may leave a port: the port must switch them off.
//
// Linux: the terminal is this process's own. Windows under Wine: it lives in
// sentrabus-line-server on the host, and COM<n> is a link in the Wine prefix.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CPseudoTerminal {
public:
    CPseudoTerminal();
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    bool Valid() const { return m_master >= 0 && m_slave >= 0; }
    const std::string& SlavePath() const { return m_slavePath; }

    // The device sends: every byte, or false after `timeout`.
    bool Send(const std::vector<std::uint8_t>& bytes,
              std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // What the device received, once `count` bytes are there or `timeout` ran out.
    std::vector<std::uint8_t> Receive(std::size_t count,
                                      std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Bytes sent by the device that no one on the port side has read yet.
    int WaitingAtPort() const;

    // The line as the port under test set it up.
    struct CLine {
        std::uint32_t m_baud = 0;
        int m_dataBits = 0;
        char m_parity = '?';  // 'n', 'o' or 'e'
        int m_stopBits = 0;
        bool m_xonXoff = true;
        bool m_rtsCts = true;
    };
    CLine Line() const;

    // The device end goes away, as when a USB adapter is pulled.
    void HangUp();

private:
    struct CServerEnd;  // the host's terminal, under Wine
    std::unique_ptr<CServerEnd> m_end;
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

// Points the list entry COM<n> at `path` for the life of the object.
class CComPortOverride {
public:
    CComPortOverride(int portNumber, const std::string& path);
    ~CComPortOverride();
    CComPortOverride(const CComPortOverride&) = delete;
    CComPortOverride& operator=(const CComPortOverride&) = delete;

private:
    std::string m_variable;
};
