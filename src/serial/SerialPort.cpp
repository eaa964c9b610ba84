#include "SerialPort.h"

#include "PortPath.h"
#include "SerialPortBackend.h"

#include <utility>

// Built during static initialisation, before the program installs its event
// sink: an event the port has before that goes nowhere.
CSerialPort g_serialPort;
std::atomic<bool> g_portOpen{false};

CSerialPort::CSerialPort() : m_backend(CreatePlatformSerialBackend(m_events)) {}

CSerialPort::~CSerialPort() {
    Close();
}

void CSerialPort::SetParams(std::uint8_t portNumber, std::uint8_t byteSize, std::uint8_t parity,
                            std::uint8_t stopBits, std::uint32_t baud) {
    m_portNumber = portNumber;
    m_byteSize = byteSize;
    m_parity = parity;
    m_stopBits = stopBits;
    m_baud = baud;
}

void CSerialPort::SetDevicePath(std::string path) {
    std::scoped_lock lock(m_writeLock, m_ioLock);
    m_pathOverride = std::move(path);
}

bool CSerialPort::Open() {
    std::scoped_lock lock(m_writeLock, m_ioLock);
    m_devicePath = m_pathOverride.empty() ? ResolvePortPath(m_portNumber) : m_pathOverride;
    const CLineSettings line{m_byteSize, m_parity, m_stopBits, m_baud};
    const bool wasOpen = m_backend->IsOpen();
    m_events.m_portNumber = m_portNumber;
    const bool opened = m_backend->Open(m_devicePath, line);
    if (opened) {
        ++m_openSession;
        if (wasOpen) {
            Emit(PortEventKind::Closed, m_sessionPortNumber, m_sessionPath);  // the device it replaced
        }
        m_sessionPortNumber = m_portNumber;
        m_sessionPath = m_devicePath;
        Emit(PortEventKind::Opened, m_sessionPortNumber, m_sessionPath);
    }
    m_events.m_portNumber = m_sessionPortNumber;
    // After a failure the backend still holds whatever it held before.
    m_isOpen.store(m_backend->IsOpen(), std::memory_order_release);
    // A waiting receive thread must look at the new device, not the old one.
    Wake();
    return opened;
}

void CSerialPort::Close() {
    std::scoped_lock lock(m_writeLock, m_ioLock);
    const bool wasOpen = m_backend->IsOpen();
    m_backend->Close();
    m_isOpen.store(false, std::memory_order_release);
    if (wasOpen) {
        Emit(PortEventKind::Closed, m_sessionPortNumber, m_sessionPath);
    }
    Wake();
}

std::uint32_t CSerialPort::Read(std::uint8_t* buffer, std::uint32_t maxBytes,
                                std::uint64_t* openSession) {
    std::lock_guard lock(m_ioLock);
    if (openSession != nullptr) {
        *openSession = m_openSession;
    }
    if (!m_isOpen.load(std::memory_order_relaxed) || buffer == nullptr || maxBytes == 0) {
        return 0;
    }
    return m_backend->Read(buffer, maxBytes);
}

bool CSerialPort::Drain() {
    std::lock_guard lock(m_writeLock);
    return m_isOpen.load(std::memory_order_relaxed) && m_backend->Drain();
}

bool CSerialPort::Write(const std::uint8_t* data, std::uint32_t length) {
    std::lock_guard lock(m_writeLock);
    if (!m_isOpen.load(std::memory_order_relaxed) || (data == nullptr && length > 0)) {
        return false;
    }
    const bool written = m_backend->Write(data, length);
    // A receive thread that looks at a quiet port seldom looks again at once:
    // the reply to these bytes is on its way.
    Wake();
    return written;
}

PortWait CSerialPort::WaitForInput(CPortWakeup::Deadline deadline) {
    int input = CPortWakeup::kNoInput;
    std::uint64_t session = 0;
    {
        std::lock_guard lock(m_ioLock);
        if (m_isOpen.load(std::memory_order_relaxed)) {
            input = m_backend->InputDescriptor();
        }
        session = m_openSession;
    }
    // A Close or Open from here on wakes the wait, so a descriptor closed or
    // replaced meanwhile is never waited on for long.
    const PortWait result = m_wakeup.Wait(input, deadline);
    if (result == PortWait::HungUp) {
        std::lock_guard lock(m_ioLock);
        if (session == m_openSession && m_isOpen.load(std::memory_order_relaxed)) {
            m_backend->MarkHungUp();
        }
    }
    return result;
}

PortWait CSerialPort::WaitForWake(CPortWakeup::Deadline deadline) {
    return m_wakeup.Wait(CPortWakeup::kNoInput, deadline);
}

void CSerialPort::Wake() {
    m_wakeup.Signal();
}

std::string CSerialPort::DevicePath() const {
    std::lock_guard lock(m_ioLock);
    return m_devicePath;
}

void CSerialPort::SetEventSink(IPortEventSink* sink) {
    // Every event is emitted under one of the two locks: taking both waits out
    // a call that is in progress.
    std::scoped_lock lock(m_writeLock, m_ioLock);
    m_events.m_sink.store(sink, std::memory_order_release);
}

void CSerialPort::Emit(PortEventKind kind, std::uint8_t portNumber, const std::string& path) {
    CPortEvent event;
    event.m_kind = kind;
    event.m_portNumber = portNumber;
    event.m_path = path;
    event.m_line = {m_byteSize, m_parity, m_stopBits, m_baud};
    if (IPortEventSink* sink = m_events.m_sink.load(std::memory_order_acquire)) {
        sink->OnPortEvent(event);
    }
}

void CSerialPort::CEventStamp::OnPortEvent(const CPortEvent& event) {
    IPortEventSink* sink = m_sink.load(std::memory_order_acquire);
    if (sink == nullptr) {
        return;
    }
    CPortEvent stamped = event;
    stamped.m_portNumber = m_portNumber;
    sink->OnPortEvent(stamped);
}
