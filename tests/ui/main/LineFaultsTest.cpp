// What the line can do to the program, through the real window and the real
// port on a pseudo-terminal: a device that vanishes, a flood of noise, and
// every kind of path that is not a serial device the operator can own.
// COM1 leads to a symbolic link, so that a device can go and come back at the
// same path, as a USB adapter pulled and plugged in again does.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QLoggingCategory>

#include "app/SerialLogQt.h"
#include "protocol/FrameCodes.h"
#include "serial/ByteQueue.h"
#include "serial/SerialPort.h"
#include "support/MainWindowFixture.h"
#include "support/WaitUntil.h"
#include "res/IdsConfig.h"

namespace {

// The serial port's stderr lines, as the program writes them.
std::mutex g_linesLock;
std::vector<std::string> g_lines;

void CaptureSerialLines(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (std::string(context.category != nullptr ? context.category : "") != "sentrabus.serial") return;
    std::lock_guard lock(g_linesLock);
    g_lines.push_back(message.toStdString());
}

class LineFaults : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        m_dir = std::filesystem::temp_directory_path() /
                ("sentrabus-line-" + std::to_string(::getpid()) + "-" + std::to_string(++s_fixtures));
        std::filesystem::create_directories(m_dir);
        m_link = m_dir / "ttyUSB";
        qputenv("SENTRABUS_COM1", QByteArray::fromStdString(m_link.string()));
        g_serialPort.SetEventSink(&m_stderr);
        {
            std::lock_guard lock(g_linesLock);
            g_lines.clear();
        }
        m_previousHandler = qInstallMessageHandler(CaptureSerialLines);
    }

    void TearDown() override {
        MainWindowFixture::TearDown();  // closes the window and the port first
        qInstallMessageHandler(m_previousHandler);
        g_serialPort.SetEventSink(nullptr);
        m_device.reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    // A transmitter appears behind COM1.
    sim::CSimulator& PlugIn() {
        m_device = std::make_unique<sim::CSimulator>(sim::SimConfig{.kind = sim::DeviceKind::Th, .address = 7, .baud = 2400});
        PointComAt(m_device->SlavePath());
        return *m_device;
    }
    // The transmitter goes: the other end of the terminal closes, as when an
    // adapter is pulled (reads fail with EIO, poll reports a hang-up).
    void Pull() { m_device.reset(); }

    void PointComAt(const std::filesystem::path& target) {
        std::error_code ignored;
        std::filesystem::remove(m_link, ignored);
        std::filesystem::create_symlink(target, m_link);
    }

    void ExpectFound() {
        ClearBoxes();
        Click(kIdSearchDevice);
        EXPECT_EQ(OnlyBox().text, "Device Address:7  Band Rate:2400");
        ClearBoxes();
        ClearBusy();
    }

    std::string ReadTemperature() {
        ClearBusy();
        Click(kIdReadTemperature);
        return Text(kIdTemperatureField);
    }

    static std::vector<std::string> Lines() {
        std::lock_guard lock(g_linesLock);
        return g_lines;
    }
    static std::string AllLines() {
        std::string all;
        for (const std::string& line : Lines()) all += "\n  " + line;
        return all;
    }

    std::filesystem::path m_dir;
    std::filesystem::path m_link;
    std::unique_ptr<sim::CSimulator> m_device;
    CSerialLogSink m_stderr;
    QtMessageHandler m_previousHandler = nullptr;
    static inline int s_fixtures = 0;
};

// Pulled while idle or in the middle of an exchange: the program stays up,
// says so in one line, and finds the device again once it is back.
TEST_F(LineFaults, AVanishedDeviceIsToldOnceAndFoundAgainWhenBack) {
    for (const bool midExchange : {false, true}) {
        SCOPED_TRACE(midExchange ? "pulled during a read" : "pulled while idle");
        PlugIn().SetRegister(kRegTemperature, 0x00FA);
        if (!midExchange) OpenMainWindow();
        ExpectFound();
        ASSERT_EQ(ReadTemperature(), "25.0");
        {
            std::lock_guard lock(g_linesLock);
            g_lines.clear();
        }

        if (midExchange) {
            m_device->InjectFault(sim::Fault::Silent());
            std::jthread puller([this] {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                Pull();
            });
            EXPECT_EQ(ReadTemperature(), " ");
        } else {
            Pull();
            ASSERT_TRUE(WaitUntil([] { return !Lines().empty(); })) << "the loss must be told";
            Pump(ms(200));  // a hung-up device must not be reported again and again
        }
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), 1u) << AllLines();
        EXPECT_NE(lines.front().find(m_link.string()), std::string::npos) << lines.front();

        PlugIn().SetRegister(kRegTemperature, 0x0101);
        ExpectFound();
        EXPECT_EQ(ReadTemperature(), "25.7");
    }
}

// Noise longer than any reply, up to a flood that fills every queue, while
// idle: the next read still judges only the device's answer.
TEST_F(LineFaults, AReadAfterNoiseOrAFloodGivesTheRightValue) {
    PlugIn().SetRegister(kRegTemperature, 0xFF38);
    OpenMainWindow();
    ExpectFound();
    for (const std::size_t noiseBytes : {std::size_t{4} * 1024, std::size_t{256} * 1024}) {
        SCOPED_TRACE(std::to_string(noiseBytes) + " bytes");
        std::vector<std::uint8_t> noise(noiseBytes);
        for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
        ASSERT_TRUE(m_device->PutOnLine(noise, std::chrono::seconds(20)));
        CReceivePath& receive = Dlg().Link().Receive();
        ASSERT_TRUE(WaitUntil([&] { return receive.m_rxQueue.Count() == 0 && receive.m_replyQueue.Count() > 0; }))
            << "the noise must have been cut into the reply queue";
        EXPECT_EQ(ReadTemperature(), "-20.0");
    }
    EXPECT_TRUE(Boxes().empty());
}

// Paths that lead to no serial device this program may own: the search ends
// with the usual box, and stderr says what is wrong with which path.
TEST_F(LineFaults, APathThatIsNoUsableSerialDeviceFailsTheSearchWithAClearLine) {
    sim::CSimulator& holder = PlugIn();
    const std::filesystem::path fifo = m_dir / "fifo";
    const std::filesystem::path regular = m_dir / "regular";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    { std::ofstream(regular) << "not a device"; }

    struct Case {
        const char* name;
        std::filesystem::path target;
        std::string line;  // what stderr must say after the path
        bool held = false;  // another instance of the program has the device open
    };
    const std::vector<Case> cases = {
        {"missing device", m_dir / "nothing-here", ": No such file or directory"},
        {"directory", m_dir, ": Is a directory"},
        {"FIFO", fifo, " is not a serial device"},
        {"regular file", regular, " is not a serial device"},
        {"/dev/null", "/dev/null", " is not a serial device"},
        {"held by another instance", holder.SlavePath(), " is busy: another program has it open", true},
    };
    OpenMainWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PointComAt(c.target);
        CSerialPort other;  // the other instance, running as root or not
        if (c.held) {
            ::setenv("SENTRABUS_COM30", holder.SlavePath().c_str(), 1);
            other.SetParams(30, 8, 0, 0, 2400);
            ASSERT_TRUE(other.Open());
            ::unsetenv("SENTRABUS_COM30");
        }
        {
            std::lock_guard lock(g_linesLock);
            g_lines.clear();
        }
        ClearBoxes();
        ClearBusy();
        Click(kIdSearchDevice);
        const MessageBoxCall box = OnlyBox();
        EXPECT_EQ(box.text, "Serial port open failed");
        EXPECT_EQ(box.caption, "Serial prompt");
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), 1u) << AllLines();
        EXPECT_NE(lines.front().find(m_link.string() + c.line), std::string::npos) << AllLines();
        EXPECT_FALSE(g_portOpen);
    }
    // Once it is free again, the same path works.
    PointComAt(holder.SlavePath());
    ExpectFound();
}

}  // namespace
