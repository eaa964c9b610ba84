#pragma once
// What CSerialPort needs of the platform: open a device by path with a line
// setting, close it, take the bytes already waiting, write a run of bytes, and
// say what the receive thread can wait on for input.
// CSerialPort serialises the calls: Open and Close never overlap Read or Write;
// Read and Write may run together on two threads.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "PortEvents.h"

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
    // Waits until the bytes written have left the port; false on error.
    virtual bool Drain() = 0;

    // What the receive thread may wait on for input (see CPortWakeup): the
    // open device's descriptor, kPolledInput for a device that cannot be waited
    // on, kNoInput when closed or hung up.
    virtual int InputDescriptor() const = 0;
    // The device reported a hang-up while it was waited on: tell it once, and
    // neither wait on it nor read it again until the next Open.
    virtual void MarkHungUp() = 0;
};

// termios on Linux, Win32 communications on Windows. The backend tells its
// failures and the pending-read trace to `events`, always from inside one of
// its own calls; `events` outlives it. Every path and error text is filled in;
// the port number is the caller's to add.
std::unique_ptr<CSerialPortBackend> CreatePlatformSerialBackend(IPortEventSink& events);

// What a backend tells its sink: an open that failed, and an I/O event of the
// open device. `errorText` is the system's words for `systemError`;
// `deviceGroup` the group that may open the device, when permission was denied.
inline void TellOpenFailed(IPortEventSink& sink, std::string_view path, const CLineSettings& line, PortStep step,
                           OpenFailure reason, int systemError, std::string_view errorText,
                           std::string_view deviceGroup = {}) {
    CPortEvent event;
    event.m_kind = PortEventKind::OpenFailed;
    event.m_path = path;
    event.m_line = line;
    event.m_reason = reason;
    event.m_step = step;
    event.m_systemError = systemError;
    event.m_errorText = errorText;
    event.m_deviceGroup = deviceGroup;
    sink.OnPortEvent(event);
}

inline void TellIo(IPortEventSink& sink, PortEventKind kind, std::string_view path, PortStep step, int systemError,
                   std::string_view errorText) {
    CPortEvent event;
    event.m_kind = kind;
    event.m_path = path;
    event.m_step = step;
    event.m_systemError = systemError;
    event.m_errorText = errorText;
    sink.OnPortEvent(event);
}
