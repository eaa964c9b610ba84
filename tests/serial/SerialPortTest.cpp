// The serial port against a terminal that stands in for the adapter: the same
// cases for the termios backend on Linux and the Win32 backend under Wine.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "PortOnPty.h"
#include "PseudoTerminal.h"
#include "TestSupport.h"
#include "serial/PortPath.h"
#include "serial/SerialPort.h"

namespace {

constexpr std::uint8_t kPort = 7;
constexpr std::uint8_t kOtherPort = 8;

#ifndef _WIN32
// errno of an open of `path` by someone else than this port: another user when
// we run as root (root passes over the exclusive mode), this process otherwise.
int OpenErrorForSomeoneElse(const std::string& path) {
    if (::geteuid() != 0) {
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        const int error = fd < 0 ? errno : 0;
        if (fd >= 0) {
            ::close(fd);
        }
        return error;
    }
    ::chmod(path.c_str(), 0666);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(255);
        }
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ::_exit(fd < 0 ? errno : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

#ifdef _WIN32
// A COM port is a serial device by its name: what is not one fails at the line settings.
constexpr OpenFailure kNotATerminal = OpenFailure::BadSettings;
#else
constexpr OpenFailure kNotATerminal = OpenFailure::NotATerminal;
#endif

class SerialPortOnPty : public PortOnPty {
protected:
    SerialPortOnPty() : PortOnPty(kPort) {}

    std::uint64_t Session() {
        std::uint64_t session = 0;
        std::uint8_t unused[1];
        m_port.Read(unused, 0, &session);
        return session;
    }
};

}  // namespace

TEST_F(SerialPortOnPty, ReadTakesOnlyWhatIsWaitingAndNeverWaits) {
    ASSERT_TRUE(m_port.Open());
    EXPECT_EQ(m_port.DevicePath(), ResolvePortPath(kPort));
    std::uint8_t buffer[512];

    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(m_port.Read(buffer, 256), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));

    const auto bytes = Pattern(300);
    ASSERT_TRUE(m_pty.Send(bytes));
    ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == 300; }));
    ASSERT_EQ(m_port.Read(buffer, 256), 256u);
    EXPECT_TRUE(std::equal(buffer, buffer + 256, bytes.begin()));
    EXPECT_EQ(m_pty.WaitingAtPort(), 44);
    ASSERT_EQ(m_port.Read(buffer, 256), 44u);
    EXPECT_TRUE(std::equal(buffer, buffer + 44, bytes.begin() + 256));
    EXPECT_EQ(m_port.Read(buffer, 256), 0u);
}

TEST_F(SerialPortOnPty, WriteHandsEveryByteToTheLine) {
    ASSERT_TRUE(m_port.Open());
    const auto bytes = Pattern(1000, 9);
    ASSERT_TRUE(m_port.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    EXPECT_EQ(m_pty.Receive(bytes.size()), bytes);
}

TEST_F(SerialPortOnPty, WriteGivesUpWhenTheLineTakesNothing) {
    ASSERT_TRUE(m_port.Open());
    // Far more than the terminal buffers while the device reads nothing.
    const auto bytes = Pattern(256 * 1024);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_port.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
    EXPECT_EQ(m_log.CountWarnings("timed out"), 1u);
    EXPECT_TRUE(m_port.IsOpen());
}

TEST_F(SerialPortOnPty, ClosedPortNeitherReadsNorWrites) {
    std::uint8_t buffer[16];
    const std::uint8_t request[] = {1, 3, 0, 0, 0, 2};
    EXPECT_EQ(m_port.Read(buffer, sizeof(buffer)), 0u);
    EXPECT_FALSE(m_port.Write(request, sizeof(request)));

    ASSERT_TRUE(m_port.Open());
    m_port.Close();
    m_port.Close();  // callers close before every reopen, open or not
    EXPECT_FALSE(m_port.IsOpen());
    ASSERT_TRUE(m_pty.Send({1, 2, 3}));
    ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == 3; }));
    EXPECT_EQ(m_port.Read(buffer, sizeof(buffer)), 0u);
    EXPECT_FALSE(m_port.Write(request, sizeof(request)));
    EXPECT_TRUE(m_pty.Receive(1, std::chrono::milliseconds(100)).empty());
}

TEST_F(SerialPortOnPty, OpenDiscardsWhatTheDriverHeld) {
    ASSERT_TRUE(m_pty.Send(Pattern(10)));
    ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == 10; }));
    ASSERT_TRUE(m_port.Open());
    EXPECT_EQ(m_pty.WaitingAtPort(), 0);
    std::uint8_t buffer[16];
    EXPECT_EQ(m_port.Read(buffer, sizeof(buffer)), 0u);
}

// Whatever the driver had, the port runs 8N1 at the speed asked and without
// flow control: a frame byte 0x11 or 0x13 is data, not XON or XOFF.
TEST_F(SerialPortOnPty, OpensEightNoneOneAtEachSpeedWithoutFlowControl) {
    for (const std::uint32_t baud : {1200u, 2400u, 4800u, 9600u, 19200u, 38400u, 57600u, 115200u}) {
        SCOPED_TRACE(std::to_string(baud) + " bit/s");
        m_port.Close();
        m_port.SetParams(kPort, 8, CSerialPort::kNoParity, CSerialPort::kOneStopBit, baud);
        ASSERT_TRUE(m_port.Open());
        const auto line = m_pty.Line();
        EXPECT_EQ(line.m_baud, baud);
        EXPECT_EQ(line.m_dataBits, 8);
        EXPECT_EQ(line.m_parity, 'n');
        EXPECT_EQ(line.m_stopBits, 1);
        EXPECT_FALSE(line.m_xonXoff);
        EXPECT_FALSE(line.m_rtsCts);
    }
}

TEST_F(SerialPortOnPty, FrameBytesThatLookLikeXonAndXoffPassBothWays) {
    ASSERT_TRUE(m_port.Open());
    // The device's reply ends in XOFF: a port that obeyed it would stop writing.
    const std::vector<std::uint8_t> reply = {0xFC, 0x11, 0x13, 0x05, 0x11, 0x13};
    ASSERT_TRUE(m_pty.Send(reply));
    ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == static_cast<int>(reply.size()); }));
    std::uint8_t buffer[16];
    ASSERT_EQ(m_port.Read(buffer, sizeof(buffer)), reply.size());
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), buffer));

    const std::vector<std::uint8_t> request = {0xFC, 0xFC, 0xFC, 0x13, 0x11, 0x13, 0x00, 0x11};
    ASSERT_TRUE(m_port.Write(request.data(), static_cast<std::uint32_t>(request.size())));
    EXPECT_EQ(m_pty.Receive(request.size()), request);
}

#ifdef _WIN32
TEST_F(SerialPortOnPty, HoldsTheDeviceExclusivelyWhileOpen) {
    if (RunningUnderWine()) {
        GTEST_SKIP() << "Wine does not emulate the exclusive open of a COM port";
    }
    ASSERT_TRUE(m_port.Open());
    CSerialPort second;
    second.SetParams(kPort, 8, 0, 0, 9600);
    EXPECT_FALSE(second.Open());
    m_port.Close();
    EXPECT_TRUE(second.Open()) << "the device must be free again after Close";
}
#else
TEST_F(SerialPortOnPty, HoldsTheDeviceExclusivelyWhileOpen) {
    ASSERT_TRUE(m_port.Open());
    EXPECT_EQ(OpenErrorForSomeoneElse(m_pty.SlavePath()), EBUSY);
    {
        // A second instance, even one running as root, which the terminal's
        // exclusive mode lets through: it must neither open nor touch the line.
        ASSERT_TRUE(m_pty.Send({0xFC, 0x01}));
        ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == 2; }));
        CSerialLogCapture secondLog;
        CSerialPort second;
        second.SetEventSink(&secondLog);
        second.SetParams(kPort, 8, 0, 0, 9600);
        EXPECT_FALSE(second.Open());
        ASSERT_EQ(secondLog.Warnings().size(), 1u);
        EXPECT_NE(secondLog.Warnings().front().find(m_pty.SlavePath()), std::string::npos)
            << secondLog.Warnings().front();
        EXPECT_EQ(secondLog.Events().front().reason, OpenFailure::Busy);
        EXPECT_EQ(m_pty.WaitingAtPort(), 2) << "the second open must not purge the first one's input";
        second.SetEventSink(nullptr);
    }
    m_port.Close();
    EXPECT_EQ(OpenErrorForSomeoneElse(m_pty.SlavePath()), 0) << "the device must be free again after Close";
    // A second session of the same port takes and hands back the device in turn.
    ASSERT_TRUE(m_port.Open());
    EXPECT_EQ(OpenErrorForSomeoneElse(m_pty.SlavePath()), EBUSY);
}

// A user who may not open the device reads which group to join and that the
// membership counts only from the next login.
TEST_F(SerialPortOnPty, PermissionDeniedSaysWhichGroupToJoin) {
    struct stat device {};
    ASSERT_EQ(::stat(m_pty.SlavePath().c_str(), &device), 0);
    const group* owner = ::getgrgid(device.st_gid);
    ASSERT_NE(owner, nullptr);
    const std::string groupName = owner->gr_name;
    // Root passes over permissions: the open is tried as nobody, outside the group.
    ASSERT_EQ(::chmod(m_pty.SlavePath().c_str(), ::geteuid() == 0 ? 0660 : 0), 0);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(255);
        CSerialLogCapture log;
        CSerialPort port;
        port.SetEventSink(&log);
        port.SetParams(kPort, 8, 0, 0, 9600);
        const bool opened = port.Open();
        const auto warnings = log.Warnings();
        const std::string text = warnings.size() == 1 ? warnings.front() : std::string("no single warning");
        port.SetEventSink(nullptr);
        [[maybe_unused]] const auto put = ::write(pipeEnds[1], text.data(), text.size());
        ::_exit(opened ? 1 : 0);
    }
    ::close(pipeEnds[1]);
    std::string warning;
    char chunk[256];
    for (ssize_t got; (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;) warning.append(chunk, got);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(m_pty.SlavePath().c_str(), 0620);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the open must fail";
    EXPECT_NE(warning.find("cannot open " + m_pty.SlavePath() + ": Permission denied"), std::string::npos) << warning;
    EXPECT_NE(warning.find("group " + groupName), std::string::npos) << warning;
    EXPECT_NE(warning.find("log in again"), std::string::npos) << warning;
}
#endif

// Every way an Open can fail, on a port that was closed and on one that was open:
// the result is false, one warning says why, and the open state stays as it was.
TEST_F(SerialPortOnPty, FailedOpenLeavesThePortAsItWas) {
    // Named as the host sees it, for COM8 to lead there.
    const std::string regularFile =
        "/tmp/sentrabus-serial-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
#ifdef _WIN32
    const std::string regularFileHere = "Z:" + regularFile;  // Wine's drive Z: is the host's root
#else
    const std::string regularFileHere = regularFile;
#endif
    std::fclose(std::fopen(regularFileHere.c_str(), "w"));

    struct Case {
        const char* name;
        std::uint8_t portNumber;
        const char* path;  // where COM8 leads; nullptr for the pty itself
        std::uint32_t baud;
        std::uint8_t byteSize;
        std::uint8_t parity;
        OpenFailure reason;
    };
    const Case cases[] = {
        {"nothing selected", 0, nullptr, 9600, 8, 0, OpenFailure::NotSelected},
        {"missing device", kOtherPort, "/dev/sentrabus-no-such-tty", 9600, 8, 0, OpenFailure::Missing},
        {"not a terminal", kOtherPort, "/dev/null", 9600, 8, 0, kNotATerminal},
        {"regular file", kOtherPort, regularFile.c_str(), 9600, 8, 0, kNotATerminal},
#ifndef _WIN32  // a Windows driver takes any speed it can divide down to
        {"unsupported speed", kOtherPort, nullptr, 12345, 8, 0, OpenFailure::BadSettings},
#endif
        {"unsupported data bits", kOtherPort, nullptr, 9600, 9, 0, OpenFailure::BadSettings},
        {"unsupported parity", kOtherPort, nullptr, 9600, 8, 5, OpenFailure::BadSettings},
    };
    for (const bool wasOpen : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (wasOpen ? ", port open before" : ", port closed before"));
            CComPortOverride target(kOtherPort, c.path != nullptr ? c.path : m_pty.SlavePath());
            m_port.Close();
            m_port.SetParams(kPort, 8, 0, 0, 9600);
            if (wasOpen) {
                ASSERT_TRUE(m_port.Open());
            }
            const auto session = Session();
            const auto warnings = m_log.Warnings().size();

            m_port.SetParams(c.portNumber, c.byteSize, c.parity, 0, c.baud);
            EXPECT_FALSE(m_port.Open());
            EXPECT_EQ(m_port.IsOpen(), wasOpen);
            EXPECT_EQ(Session(), session);
            EXPECT_EQ(m_log.Warnings().size(), warnings + 1);
            const auto events = m_log.Events();
            EXPECT_EQ(events.back().kind, PortEventKind::OpenFailed);
            EXPECT_EQ(events.back().reason, c.reason) << events.back().text;

            if (wasOpen) {  // still reading from the device it had
                ASSERT_TRUE(m_pty.Send({0x5A}));
                std::uint8_t byte = 0;
                EXPECT_TRUE(WaitUntil([&] { return m_port.Read(&byte, 1) == 1; }));
                EXPECT_EQ(byte, 0x5A);
            }
        }
    }
    std::filesystem::remove(regularFileHere);
}

// Each open and each close of an open port is one event that names the port,
// the device and the speed; closing a closed port tells nothing.
TEST_F(SerialPortOnPty, EachSuccessfulOpenStartsANewSession) {
    const auto first = Session();
    ASSERT_TRUE(m_port.Open());
    EXPECT_EQ(Session(), first + 1);
    m_port.Close();
    m_port.Close();
    EXPECT_EQ(Session(), first + 1);
    m_port.SetParams(kPort, 8, 0, 0, 4800);
    ASSERT_TRUE(m_port.Open());
    EXPECT_EQ(Session(), first + 2);
    EXPECT_EQ(m_port.Baud(), 4800u);

    const std::string device = " (" + ResolvePortPath(kPort) + ")";
    std::vector<std::string> texts;
    for (const auto& event : m_log.Events()) {
        texts.push_back(event.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"opened COM7" + device + " at 9600 bit/s", "closed COM7" + device,
                                               "opened COM7" + device + " at 4800 bit/s"}));
}

#ifdef _WIN32
TEST(PortPath, ResolvesTheListEntry) {
    EXPECT_EQ(ResolvePortPath(0), "");
    EXPECT_EQ(ResolvePortPath(3), "\\\\.\\COM3");
    EXPECT_EQ(ResolvePortPath(64), "\\\\.\\COM64");
    EXPECT_EQ(ResolvePortPath(65), "\\\\.\\TELNET");
}
#else
TEST(PortPath, ResolvesTheListEntry) {
    CComPortOverride com3(3, "/tmp/sentrabus-com3");
    CComPortOverride emptyCom30(30, "");
    EXPECT_EQ(ResolvePortPath(0), "");
    EXPECT_EQ(ResolvePortPath(-1), "");
    EXPECT_EQ(ResolvePortPath(3), "/tmp/sentrabus-com3");
    if (!std::filesystem::exists("/dev/ttyUSB29") && !std::filesystem::exists("/dev/ttyACM29")) {
        EXPECT_EQ(ResolvePortPath(30), "/dev/ttyS29");  // an empty override counts as none
    }
}
#endif
