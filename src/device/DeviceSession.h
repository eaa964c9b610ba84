#pragma once
// One device on one serial line, and every operation the tool performs on it
// as a typed call. The session owns the link (receive path, request and reply
// buffers, waiter and frame observer) and what the last search learnt of the
// device; each operation builds its frame, runs one exchange, judges the reply
// with its check and returns what happened. Nothing here shows anything: the
// windows turn outcomes into their boxes and fields, the command line into
// lines and JSON.
//
//   CDeviceSession session(g_serialPort, g_portOpen);
//   session.StartReceiving();
//   if (session.Search(1).found != SearchResult::Found::None) {
//       OpResult<std::uint16_t> t = session.Read(Reading::Temperature);
//       if (t.Ok()) puts(ValueText(InfoOf(Reading::Temperature).form, t.value).c_str());
//   }
//
// Window thread only (or the command line's one thread), as the exchanges are.

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>
#include <chrono>
#include <functional>

#include "protocol/Catalogue.h"
#include "Outcome.h"
#include "protocol/Exchange.h"
#include "protocol/FrameCodes.h"
#include "protocol/Link.h"
#include "protocol/ReplyChecks.h"
#include "protocol/ReplyJudge.h"
#include "protocol/RequestFrames.h"

class CSerialPort;

struct SearchResult {
    enum class Found { None, Fd, Register };
    // Where the search stopped without a device: a speed whose port did not
    // open (the FD speeds, or the register device's 9600), or nothing answered.
    enum class Failure { None, PortOpenFailed, RegisterPortOpenFailed, NotFound };

    Found found = Found::None;
    Failure failure = Failure::NotFound;
};

// The device's line identity as a read of it reports.
struct DeviceLine {
    std::uint8_t address = 0;
    std::uint32_t baudRate = 0;
};

struct TemperatureHumidity {
    std::uint16_t temperature = 0;  // tenths of a degree, two's complement
    std::uint16_t humidity = 0;     // tenths of a percent
};

// The device the session talks to, as the last search, read or write learnt
// it, or as the caller assumed it.
struct CurrentDevice {
    // FD frames, or the register frames of the device whose reads answer from 255.
    enum class Mode : std::uint8_t { Fd, Register };

    std::uint8_t address = 0;
    std::uint32_t baudRate = 0;
    Mode mode = Mode::Fd;
    // Register mode: the line settings its line-settings read reported.
    std::uint8_t parity = 0;
    std::uint8_t stopFlag1 = 0;
    std::uint8_t stopFlag2 = 0;

    bool RegisterMode() const { return mode == Mode::Register; }
    bool StopBitException() const { return stopFlag1 != 0 || stopFlag2 != 0; }
    bool operator==(const CurrentDevice&) const = default;
};

// The receiver's sleep time and its table of 200 addresses.
using ReceiverTable = FbConfigReply;

class CDeviceSession {
public:
    static constexpr std::uint8_t kDataBits = 8;

    CDeviceSession(CSerialPort& port, std::atomic<bool>& portOpen);
    ~CDeviceSession();  // stops the receive thread
    CDeviceSession(const CDeviceSession&) = delete;
    CDeviceSession& operator=(const CDeviceSession&) = delete;

    // --- the link and the port -----------------------------------------------------
    CLink& Link() { return m_link; }
    CSerialPort& Port() { return m_link.Port(); }
    // Starts the receive thread on the port (once), with empty queues.
    void StartReceiving();
    void StopReceiving();
    // Closes the port if it is open, clears the open flag, and opens
    // COM`portNumber` at `baud` (8 data bits, no parity, one stop bit); sets
    // the flag again when the open succeeds.
    bool OpenPort(std::uint8_t portNumber, std::uint32_t baud);
    void ClosePort();
    // The open flag the receive thread reads, not a question to the port.
    bool PortIsOpen() const { return m_portOpen.load(); }
    void SetWaiter(IExchangeWaiter* waiter) { m_link.SetWaiter(waiter); }
    void SetObserver(IExchangeObserver* observer) { m_link.SetObserver(observer); }
    // Exchanges end as soon as the expected reply is complete rather than after
    // the line's silence (the command line's choice; the windows keep the cut).
    void SetCutOnCompleteReply(bool cut) { m_link.SetCutOnCompleteReply(cut); }

    // --- the current device -------------------------------------------------------
    const CurrentDevice& Device() const { return m_device; }
    // Talks to a device known without a search: FD mode at `address`, or
    // register mode (whose reads answer from 255). The line settings a search
    // learnt stay.
    void AssumeDevice(std::uint8_t address, std::uint32_t baudRate, bool registerMode);

    // --- search, address and baud rate --------------------------------------------
    // The FD query at 2400, 4800 and 9600 bit/s, then the register read of the
    // line settings at 9600, each on COM`portNumber` reopened at that speed;
    // `onLineOpen` runs after each successful reopen. The port stays at the
    // speed the device answered at. A found device becomes the current one.
    SearchResult Search(std::uint8_t portNumber, const std::function<void()>& onLineOpen = {});
    // Whether any device answers on COM`portNumber`: the FD query and the
    // register line-settings read at every speed, asked first at the current
    // device's speed and mode, the FD query at 2400 bit/s last. Stops at the
    // first answer, with the port at that speed; the current device is kept.
    bool AnyDeviceAnswers(std::uint8_t portNumber);
    // The FD query or, in register mode, the line-settings read (which also
    // refreshes parity and stop bits). Updates the current device.
    OpResult<DeviceLine> ReadLine();
    // FD mode: the FD address set, whose reply becomes the current device.
    // Register mode: the line-settings write with the current baud rate.
    OpOutcome WriteAddress(std::uint8_t address);
    // The same for the baud rate, by FD baud code (1..3). The port stays at
    // its speed: an FD device answers at the old speed and listens at the new
    // one afterwards, so the caller reopens it.
    OpOutcome WriteBaud(std::uint8_t fdBaudCode);

    // --- readings and parameters --------------------------------------------------
    OpResult<std::uint16_t> Read(Reading reading);
    // --- a bus of units ------------------------------------------------------------
    // One function-03 read of `count` registers (1..7) from `first` at unit
    // `address`, at the port's speed; the current device is neither used nor
    // changed. On a shared bus only such addressed reads are safe: every unit
    // hears and answers the FD, FC and FB frames. The wait ends on a complete
    // reply, or `replyTimeout` and the reply's time on the wire after the
    // request has left the port; a reply from another address or of another
    // length is a bad one.
    OpResult<std::vector<std::uint16_t>> ReadUnitRegisters(std::uint8_t address, std::uint16_t first,
                                                           std::uint8_t count, std::chrono::milliseconds replyTimeout);
    // While a scan of the bus (CBusScan) has addresses left to ask, it takes
    // the port from speed to speed: polls of the current device wait.
    bool Scanning() const { return m_scans > 0; }
    // True once the device has answered a read of `reading` in this session.
    bool HasAnswered(Reading reading) const { return (m_readingsAnswered >> static_cast<unsigned>(reading) & 1U) != 0; }
    OpResult<std::uint16_t> ReadParameter(Parameter parameter);
    OpOutcome WriteParameter(Parameter parameter, std::uint16_t word);

    // --- LCD relay controller -----------------------------------------------------
    OpOutcome SetLcdMode(std::uint8_t mode);  // 1..4 (0 as the window sends with no selection)
    OpResult<std::uint16_t> QueryRelay(int relay);  // 1 or 2: non-zero = closed
    OpOutcome SwitchRelay(int relay, bool closed);

    // --- wireless receiver ----------------------------------------------------------
    // Configuration mode: the receiver takes its time to switch, so these wait
    // up to ten polls 600 ms apart.
    OpResult<ReceiverTable> EnterConfiguration();
    OpOutcome LeaveConfiguration();
    // Between a successful enter and the next leave: the receiver listens to
    // configuration frames only, so polling pauses.
    bool InConfiguration() const { return m_inConfiguration; }
    OpResult<std::uint8_t> ReadChannel();
    OpOutcome WriteChannel(std::uint8_t channel);
    OpResult<std::uint16_t> ReadSleepTime();
    OpOutcome WriteSleepTime(std::uint16_t seconds);
    OpResult<TemperatureHumidity> ReadTemperatureHumidity();
    // Receiver address index 0..199 (address N has index N - 1). A configure
    // answers with the receiver's whole table, waited for up to 1 s.
    OpResult<ReceiverTable> ConfigureReceiver(std::uint8_t index);
    OpOutcome ClearReceiver(std::uint8_t index);

private:
    // Runs the request of `length` bytes built in the request buffer and
    // judges its reply; the reply stays in the reply buffer.
    ReplyVerdict Exchange(std::uint16_t length, ExchangeVariant variant, const ReplyExpectation& expectation);
    TxBuffer Request() { return m_link.RequestBuffer(); }
    ReplyBytes Reply(const ReplyVerdict& verdict) const;
    void TakeFd(const FdReply& reply);
    void TakeLineSettings(const SoilSearchReply& reply);
    OpOutcome WriteLineSettings(std::uint8_t address, std::uint8_t baudCode);
    OpOutcome WriteFdLine(std::uint16_t length);
    OpResult<std::uint16_t> FbValue(std::uint16_t length, ValuesUsed used);

    std::atomic<bool>& m_portOpen;
    CLink m_link;
    CurrentDevice m_device;
    bool m_inConfiguration = false;
    std::uint8_t m_readingsAnswered = 0;  // bit per Reading
    friend class CBusScan;
    int m_scans = 0;  // scans with addresses left to ask
};
