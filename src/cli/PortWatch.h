#pragma once
// What the port tells about itself during a run, kept for the run's error
// lines: why an open failed, and what befell the open port (an adapter pulled,
// a failed write). With --trace every event also goes into the frame log.

#include <mutex>
#include <string>

#include "protocol/FrameLog.h"
#include "serial/SerialPort.h"

class CPortWatch final : public IPortEventSink {
public:
    // Installs itself on `port` for its lifetime; `log` may be nullptr.
    CPortWatch(CSerialPort& port, CFrameLog* log);
    ~CPortWatch() override;
    CPortWatch(const CPortWatch&) = delete;
    CPortWatch& operator=(const CPortWatch&) = delete;

    void OnPortEvent(const CPortEvent& event) override;

    // The last failed open with what to do about it, as the frame log says it:
    // "cannot open /dev/ttyS59: No such file or directory (no such device: ...)".
    std::string OpenFailure() const;
    // The last failure of the open port ("" when none): "lost /dev/ttyUSB0: the device hung up".
    std::string LineFailure() const;

private:
    CSerialPort& m_port;
    CFrameLog* m_log;
    mutable std::mutex m_lock;  // both texts: events come on the receive thread too
    std::string m_openFailure;
    std::string m_lineFailure;
};
