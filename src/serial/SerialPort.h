#pragma once
// The one serial line to the RS-485 bus. The receive thread only reads and
// waits for input; the window thread sets parameters, opens, closes and writes.
// Read never waits for data: it takes what the driver already holds. What
// happens to the port (opens, closes, failures) goes to the event sink, if one
// is installed.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "PortEvents.h"
#include "PortWakeup.h"

class CSerialPortBackend;  // termios on Linux, Win32 communications on Windows

class CSerialPort {
public:
    // Codes as the callers pass them: 0 = no parity, 0 = one stop bit.
    static constexpr std::uint8_t kNoParity = 0;
    static constexpr std::uint8_t kOneStopBit = 0;

    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Stored for the next Open; changes nothing on an open port.
    void SetParams(std::uint8_t portNumber, std::uint8_t byteSize, std::uint8_t parity,
                   std::uint8_t stopBits, std::uint32_t baud);
    // Opens `path` as given instead of the device the port number leads to
    // (ResolvePortPath), for a caller that was handed a device path rather
    // than a list entry; "" lets the port number decide again. Stored for the
    // next Open, like SetParams.
    void SetDevicePath(std::string path);

    // True when the port is open and configured. Discards whatever the driver
    // held in either direction. A failed Open leaves m_isOpen as it was: a port
    // that was open stays open on its old device. Callers Close before reopening.
    bool Open();
    // Closes the port (if open) and clears m_isOpen.
    void Close();

    // Bytes stored (0 when closed or nothing is waiting). Never blocks.
    // `openSession`, when given, receives the number of the open session the
    // bytes came from (it grows by one with every successful Open), so that a
    // reader can tell bytes of an earlier session from those of the current one.
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t maxBytes,
                       std::uint64_t* openSession = nullptr);
    // False when closed or the write failed; waits at most 1 s.
    bool Write(const std::uint8_t* data, std::uint32_t length);
    // Waits until what was written has left the port (a real line takes
    // 4 ms a byte at 2400 bit/s); false when closed or on error.
    bool Drain();

    // Receive thread: blocks until bytes wait at the port, `deadline` passes
    // (nullopt: no deadline) or Wake is called; Close and Open call Wake. No
    // lock of the port is held while it blocks, so Close, Open and Write go on
    // meanwhile. A device that hung up is not waited on again until the next
    // Open. On Windows the wait lasts at most 1 ms: the port is polled there.
    PortWait WaitForInput(CPortWakeup::Deadline deadline);
    // The same without watching the port: only Wake or the deadline end it.
    PortWait WaitForWake(CPortWakeup::Deadline deadline);
    // Ends the current or the next wait at once. Any thread.
    void Wake();

    bool IsOpen() const { return m_isOpen.load(std::memory_order_acquire); }
    std::uint8_t PortNumber() const { return m_portNumber; }
    std::uint32_t Baud() const { return m_baud; }
    // The device path the last Open used ("" before the first one).
    std::string DevicePath() const;

    // Where the port's events go (nullptr: nowhere). Any thread, at any time:
    // once this returns, the previous sink is no longer called. See PortEvents.h
    // for the threads a sink is called on.
    void SetEventSink(IPortEventSink* sink);
    // The sink installed now (nullptr: none), so that another can pass events on to it.
    IPortEventSink* EventSink() const { return m_events.m_sink.load(std::memory_order_acquire); }

private:
    // Adds the port number to the backend's events and passes them on.
    class CEventStamp final : public IPortEventSink {
    public:
        void OnPortEvent(const CPortEvent& event) override;

        std::atomic<IPortEventSink*> m_sink{nullptr};
        // The port the events are about: the one being opened during Open, the
        // open session's otherwise. Written under both port locks.
        std::uint8_t m_portNumber = 0;
    };
    void Emit(PortEventKind kind, std::uint8_t portNumber, const std::string& path);

    std::uint8_t m_portNumber = 0;
    std::uint8_t m_byteSize = 8;
    std::uint8_t m_parity = kNoParity;
    std::uint8_t m_stopBits = kOneStopBit;
    std::uint32_t m_baud = 4800;
    std::atomic<bool> m_isOpen{false};
    std::uint64_t m_openSession = 0;

    std::string m_pathOverride;  // SetDevicePath
    std::string m_devicePath;
    std::uint8_t m_sessionPortNumber = 0;  // of the open session
    std::string m_sessionPath;

    // Held across each Read and across each Open and Close, so that a read
    // never sees the handle being closed or replaced under it.
    mutable std::mutex m_ioLock;
    // Held across each Write and across each Open and Close. A write may wait
    // up to 1 s for the driver; it has its own lock so that reads go on meanwhile.
    std::mutex m_writeLock;
    CEventStamp m_events;  // before the backend, which holds on to it
    std::unique_ptr<CSerialPortBackend> m_backend;
    CPortWakeup m_wakeup;
};

// The program's one port, built before the windows and closed at program end.
extern CSerialPort g_serialPort;
// Set while the port is open; the receive thread reads only while it is set.
extern std::atomic<bool> g_portOpen;
