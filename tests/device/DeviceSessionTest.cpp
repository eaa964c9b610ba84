// Every operation of the device session against a simulated device on a
// pseudo-terminal, through the real port and receive path: what the session
// reports for a good, a silent, a short and a spoiled reply, with the replies
// cut by silence (as the windows have them) and as soon as they are complete
// (as the command line has them).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SessionOnDevice.h"

namespace {

using namespace std::chrono_literals;

struct Operation {
    const char* name;
    sim::DeviceKind kind;
    // Runs the operation; the outcome, and whether the value it returned is
    // the one the device holds (true for operations without a value).
    std::function<OpOutcome(CDeviceSession&, sim::CSimulator&, bool& valueRight)> run;
    // The configuration-mode switches wait ten 600 ms polls and drop fetches
    // of 3 bytes or fewer: silence and a short reply cost them 6 s each.
    bool longWait = false;
    // The device must echo the request: a spoiled echo is a mismatch.
    bool echoed = false;
};

template <class T>
OpOutcome Checked(const OpResult<T>& result, bool& valueRight, const std::function<bool(const T&)>& right) {
    valueRight = !result.Ok() || right(result.value);
    return result.outcome;
}

std::vector<Operation> Operations() {
    using sim::DeviceKind;
    return {
        {"read the line (FD)", DeviceKind::Th,
         [](CDeviceSession& s, sim::CSimulator&, bool& ok) {
             return Checked<DeviceLine>(s.ReadLine(), ok, [](const DeviceLine& l) {
                 return l.address == kAddress && l.baudRate == kBaud;
             });
         }},
        {"read the line (register mode)", DeviceKind::Soil,
         [](CDeviceSession& s, sim::CSimulator&, bool& ok) {
             return Checked<DeviceLine>(s.ReadLine(), ok, [](const DeviceLine& l) { return l.baudRate == 9600; });
         }},
        {"write the address (FD)", DeviceKind::Th,
         [](CDeviceSession& s, sim::CSimulator& d, bool& ok) {
             const OpOutcome outcome = s.WriteAddress(9);
             ok = !outcome.Ok() || (s.Device().address == 9 && d.Address() == 9);
             return outcome;
         }},
        {"write the address (register mode)", DeviceKind::Soil,
         [](CDeviceSession& s, sim::CSimulator&, bool&) { return s.WriteAddress(9); }},
        {"read the temperature", DeviceKind::Th,
         [](CDeviceSession& s, sim::CSimulator& d, bool& ok) {
             d.SetRegister(kRegTemperature, 0xFF38);
             return Checked<std::uint16_t>(s.Read(Reading::Temperature), ok,
                                           [](std::uint16_t w) { return w == 0xFF38; });
         }},
        {"read a limit", DeviceKind::Th,
         [](CDeviceSession& s, sim::CSimulator& d, bool& ok) {
             d.SetFcParam(kFcTemperatureLower, 0x800A);
             return Checked<std::uint16_t>(s.ReadParameter(Parameter::TemperatureLower), ok,
                                           [](std::uint16_t w) { return w == 0x800A; });
         }},
        {"write a limit", DeviceKind::Th,
         [](CDeviceSession& s, sim::CSimulator& d, bool& ok) {
             const OpOutcome outcome = s.WriteParameter(Parameter::TemperatureUpper, 35);
             ok = !outcome.Ok() || d.FcParam(kFcTemperatureUpper) == 35;
             return outcome;
         }},
        {"write a light limit (echoed)", DeviceKind::Light,
         [](CDeviceSession& s, sim::CSimulator&, bool&) { return s.WriteParameter(Parameter::LightUpper, 300); },
         false, true},
        {"set the LCD mode", DeviceKind::Lcd,
         [](CDeviceSession& s, sim::CSimulator&, bool&) { return s.SetLcdMode(4); }, false, true},
        {"query a relay", DeviceKind::Lcd,
         [](CDeviceSession& s, sim::CSimulator& d, bool& ok) {
             d.SetRegister(kRegLcdRelay2, 1);
             return Checked<std::uint16_t>(s.QueryRelay(2), ok, [](std::uint16_t w) { return w == 1; });
         }},
        {"switch a relay", DeviceKind::Lcd,
         [](CDeviceSession& s, sim::CSimulator&, bool&) { return s.SwitchRelay(1, true); }, false, true},
        {"enter configuration mode", DeviceKind::Wireless,
         [](CDeviceSession& s, sim::CSimulator&, bool& ok) {
             return Checked<ReceiverTable>(s.EnterConfiguration(), ok,
                                           [](const ReceiverTable& t) { return t.sleepTime == 60; });
         },
         true},
        {"leave configuration mode", DeviceKind::Wireless,
         [](CDeviceSession& s, sim::CSimulator&, bool&) { return s.LeaveConfiguration(); }, true},
        {"read the channel", DeviceKind::Wireless,
         [](CDeviceSession& s, sim::CSimulator& d, bool& ok) {
             d.Update([](sim::DeviceState& state) { state.wireless.channel = 17; });
             return Checked<std::uint8_t>(s.ReadChannel(), ok, [](std::uint8_t c) { return c == 17; });
         }},
        {"write the sleep time", DeviceKind::Wireless,
         [](CDeviceSession& s, sim::CSimulator&, bool&) { return s.WriteSleepTime(120); }},
        {"read temperature and humidity", DeviceKind::Wireless,
         [](CDeviceSession& s, sim::CSimulator&, bool& ok) {
             return Checked<TemperatureHumidity>(s.ReadTemperatureHumidity(), ok, [](const TemperatureHumidity& th) {
                 return th.temperature == 253 && th.humidity == 605;
             });
         }},
        {"configure a receiver address", DeviceKind::Wireless,
         [](CDeviceSession& s, sim::CSimulator&, bool& ok) {
             return Checked<ReceiverTable>(s.ConfigureReceiver(199), ok,
                                           [](const ReceiverTable& t) { return t.configBits[24] == 0x80; });
         }},
        {"clear a receiver address", DeviceKind::Wireless,
         [](CDeviceSession& s, sim::CSimulator&, bool&) { return s.ClearReceiver(0); }},
    };
}

struct FaultCase {
    sim::Fault fault;
    OpStatus status;
};

class DeviceSession : public ::testing::TestWithParam<bool> {};

TEST_P(DeviceSession, EveryOperationSaysWhatBecameOfItsReply) {
    const std::vector<FaultCase> faults = {
        {sim::Fault::None(), OpStatus::Ok},
        {sim::Fault::Silent(), OpStatus::NoReply},
        {sim::Fault::Short(), OpStatus::ShortReply},
        {sim::Fault::BadCrc(), OpStatus::BadReply},
    };
    for (const Operation& op : Operations()) {
        SessionOnDevice line(op.kind, GetParam());
        line.AssumeFound();
        for (const FaultCase& f : faults) {
            if (op.longWait && (f.status == OpStatus::NoReply || f.status == OpStatus::ShortReply)) continue;
            line.m_device.InjectFault(f.fault);
            bool valueRight = true;
            const CurrentDevice before = line.m_session.Device();
            const OpOutcome outcome = op.run(line.m_session, line.m_device, valueRight);
            const std::string what = std::string(op.name) + " under " + sim::FaultName(f.fault);
            if (!outcome.Ok()) {
                EXPECT_EQ(line.m_session.Device(), before) << what << ": a failure changes no device";
            }
            const bool spoiled = f.status == OpStatus::BadReply;
            EXPECT_EQ(outcome.status, spoiled && op.echoed ? OpStatus::EchoMismatch : f.status)
                << what << ": " << outcome.Text();
            EXPECT_TRUE(valueRight) << what;
            if (spoiled && !op.echoed) {
                EXPECT_EQ(outcome.Text(), "bad reply: CRC") << what;
            }
        }
    }
}

TEST_P(DeviceSession, RefusalsAndAlteredEchoesAreFailuresNotSuccesses) {
    {
        // A register-mode device that refuses the line-settings write answers
        // with an exception: the write did not happen.
        SessionOnDevice line(sim::DeviceKind::Soil, GetParam());
        line.AssumeFound();
        line.m_device.InjectFault(sim::Fault::Exception(), 2);
        EXPECT_EQ(line.m_session.WriteAddress(9).Text(), "bad reply: exception 1");
        EXPECT_EQ(line.m_session.WriteBaud(kFdBaudCode2400).Text(), "bad reply: exception 1");
    }
    {
        SessionOnDevice line(sim::DeviceKind::Light, GetParam());
        line.AssumeFound();
        line.m_device.InjectFault(sim::Fault::WrongAddress());
        EXPECT_EQ(line.m_session.WriteParameter(Parameter::LightLower, 20).status, OpStatus::EchoMismatch);
    }
}

TEST_P(DeviceSession, SearchFindsEitherKindOfDeviceAndLeavesThePortAtItsSpeed) {
    struct Case {
        sim::DeviceKind kind;
        std::uint32_t baud;
        SearchResult::Found found;
    } cases[] = {
        {sim::DeviceKind::Th, 9600, SearchResult::Found::Fd},
        {sim::DeviceKind::Soil, 9600, SearchResult::Found::Register},
    };
    for (const Case& c : cases) {
        SessionOnDevice line(c.kind, GetParam());
        line.m_device.SetBaud(c.baud);
        int opens = 0;
        const SearchResult result = line.m_session.Search(kPortNumber, [&] { ++opens; });
        EXPECT_EQ(result.found, c.found);
        EXPECT_EQ(line.m_session.Device().baudRate, c.baud);
        EXPECT_EQ(line.m_session.Device().RegisterMode(), c.found == SearchResult::Found::Register);
        EXPECT_EQ(opens, c.found == SearchResult::Found::Fd ? 3 : 4);
        EXPECT_EQ(line.m_device.LineSpeed(), c.baud);
    }
    SessionOnDevice silent(sim::DeviceKind::Th, GetParam());
    silent.m_device.InjectFault(sim::Fault::Silent(), sim::CSimulator::kEveryRequest);
    EXPECT_EQ(silent.m_session.Search(kPortNumber).failure, SearchResult::Failure::NotFound);
    ::setenv("SENTRABUS_COM27", "/nonexistent/sentrabus-port", 1);
    EXPECT_EQ(silent.m_session.Search(27).failure, SearchResult::Failure::PortOpenFailed);
    ::unsetenv("SENTRABUS_COM27");
}

INSTANTIATE_TEST_SUITE_P(CutBy, DeviceSession, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("CompleteReply") : std::string("Silence");
                         });

}  // namespace
