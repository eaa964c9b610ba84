#pragma once
// What CSerialPort needs of the platform: open a device by path with a line
// setting, close it, take the bytes already waiting, write a run of bytes.
// CSerialPort serialises the calls: Open and Close never overlap Read or Write;
// Read and Write may run together on two threads.

#include <cstdint>
#include <memory>
#include <string>

struct CLineSettings {
    std::uint8_t m_byteSize = 8;
    std::uint8_t m_parity = 0;    // 0 none, 1 odd, 2 even
    std::uint8_t m_stopBits = 0;  // 0 one, 2 two
    std::uint32_t m_baud = 4800;
};

class CSerialPortBackend {
public:
    virtual ~CSerialPortBackend() = default;

    // Opens and configures `path` and discards whatever the driver held. On
    // success a device that was open before is closed; on failure it stays open.
    virtual bool Open(const std::string& path, const CLineSettings& line) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // At most maxBytes of what is already waiting; 0 on error. Never waits for
    // data to arrive.
    virtual std::uint32_t Read(std::uint8_t* buffer, std::uint32_t maxBytes) = 0;
    // True when every byte was handed to the driver within 1 s.
    virtual bool Write(const std::uint8_t* data, std::uint32_t length) = 0;
};

// termios on Linux, Win32 communications on Windows.
std::unique_ptr<CSerialPortBackend> CreatePlatformSerialBackend();
