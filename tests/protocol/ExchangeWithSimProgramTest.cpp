// ExchangeFrame end to end against the sentrabus-sim program: the real port and
// receive path of this platform (termios on Linux, Win32 under Wine) and a
// simulated device on a pseudo-terminal of the Linux host. One case per frame
// family and variant. Needs SENTRABUS_SIM (set by CTest).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LinkOnPort.h"
#include "protocol/Exchange.h"
#include "protocol/FrameCodes.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"
#include "serial/SerialPort.h"
#include "support/SimProgram.h"

namespace {

// Under Wine the COM ports of one prefix are shared by the test programs that
// CTest runs side by side: the serial tests use COM7 to COM9.
constexpr std::uint8_t kSimPort = 12;
constexpr std::uint8_t kAddress = 5;

class ExchangeWithSimProgram : public LinkOnPort {
protected:
    // Starts the device (sentrabus-sim options after --device) and opens the port on it.
    void Start(const std::vector<std::string>& deviceOptions) {
        std::vector<std::string> options = {"--address", std::to_string(kAddress), "--baud", "4800", "--device"};
        options.insert(options.end(), deviceOptions.begin(), deviceOptions.end());
        m_device = std::make_unique<CSimProgram>(kSimPort, options);
        ASSERT_TRUE(m_device->Valid()) << "no simulator: CTest sets SENTRABUS_SIM to the sentrabus-sim program";
        OpenLink(kSimPort);
    }

    std::unique_ptr<CSimProgram> m_device;
};

TEST_F(ExchangeWithSimProgram, FdQueryFindsTheDevice) {
    Start({"th"});
    const std::uint16_t count = ExchangeFrame(m_link, BuildFdQuery(m_link.RequestBuffer()));
    const auto reply = ParseFdReply(m_link.Reply(count));
    ASSERT_TRUE(reply) << count << " bytes";
    EXPECT_EQ(reply->address, kAddress);
    EXPECT_EQ(reply->baudRate, 4800U);
}

TEST_F(ExchangeWithSimProgram, RegisterReadYieldsHumidityAndTemperature) {
    Start({"th"});
    const std::uint16_t count = ExchangeFrame(m_link, BuildRegisterRead(m_link.RequestBuffer(), kAddress, kRegHumidity, 2));
    const auto values = ParseReadReply(m_link.Reply(count), kAddress, ValuesUsed::Both);
    ASSERT_TRUE(values) << count << " bytes";
    EXPECT_EQ(values->value1, 600);
    EXPECT_EQ(values->value2, 250);
}

// 0x1113 puts XON and XOFF into the request and into both replies.
TEST_F(ExchangeWithSimProgram, FcWriteOfXonXoffBytesIsStoredAndReadBack) {
    Start({"th"});
    std::uint16_t count = ExchangeFrame(m_link, BuildFcWrite(m_link.RequestBuffer(), kFcOutputDelay, 0x1113));
    auto values = ParseFcReply(m_link.Reply(count), ValuesUsed::First);
    ASSERT_TRUE(values) << count << " bytes";
    EXPECT_EQ(values->value1, 0x1113);

    count = ExchangeFrame(m_link, BuildFcRead(m_link.RequestBuffer(), kFcOutputDelay));
    values = ParseFcReply(m_link.Reply(count), ValuesUsed::First);
    ASSERT_TRUE(values) << count << " bytes";
    EXPECT_EQ(values->value1, 0x1113);
}

// Two stray bytes at once, the configuration reply 0.7 s later: the long
// variant throws the stray fetch away and keeps polling.
TEST_F(ExchangeWithSimProgram, FbEnterOnTheLongVariantOutlastsAStrayFetch) {
    Start({"wireless", "--fault", "glitch:700", "--fault-count", "1"});
    const std::uint16_t count = ExchangeFrame(m_link, BuildFbEnterConfig(m_link.RequestBuffer()), ExchangeVariant::Long);
    ASSERT_EQ(count, kFbConfigReplyBytes);
    const auto reply = ParseFbConfigReply(m_link.Reply(count));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->sleepTime, 60);
}

}  // namespace
