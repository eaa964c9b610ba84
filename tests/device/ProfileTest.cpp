// Profiles against simulated devices: saved from one unit and applied to
// another, refused when the file cannot be used, and a box of units
// commissioned one after the other with a record row each.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <cstdio>
#include <thread>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SessionOnDevice.h"
#include "device/Commissioning.h"
#include "device/CommissioningLoop.h"
#include "device/CsvFile.h"
#include "device/Profile.h"
#include "device/ProfileEngine.h"
#include "protocol/BaudCodes.h"

namespace {

using namespace std::chrono_literals;

// The FC writes a device heard, as "code=word".
std::vector<std::string> FcWrites(const sim::CSimulator& device) {
    std::vector<std::string> writes;
    for (const sim::Frame& f : device.ReceivedBytes()) {
        if (f.size() == kFcRequestBytes && f[0] == kFcMark && f[4] == kOpWrite) {
            writes.push_back(std::to_string(f[3]) + "=" + std::to_string(f[5] << 8 | f[6]));
        }
    }
    return writes;
}

TEST(Profile, SavedFromOneUnitAppliesOnlyWhatDiffersToAnotherAndThenMatches) {
    Profile saved;
    {
        SessionOnDevice source(sim::DeviceKind::Th, true);
        source.AssumeFound();
        source.m_device.SetFcParam(kFcTemperatureUpper, 45);
        source.m_device.SetFcParam(kFcHumidityAdjust, 0x800F);  // -1.5
        source.m_device.SetFcParam(kFcRemoteSignal, 1);
        const OpResult<Profile> read = SaveProfile(source.m_session, ProfileKind::Th);
        ASSERT_TRUE(read.Ok()) << read.outcome.Text();
        saved = read.value;
    }
    // Through the file's text, as a technician would keep it.
    const std::string text = ProfileText(saved);
    EXPECT_NE(text.find("\"temperature-upper\": 45"), std::string::npos) << text;
    EXPECT_NE(text.find("\"humidity-adjust\": -1.5"), std::string::npos) << text;
    const Checked<Profile> profile = ParseProfile(text);
    ASSERT_TRUE(profile.Ok()) << profile.refusal;

    SessionOnDevice target(sim::DeviceKind::Th, true);
    target.AssumeFound();
    target.m_device.SetFcParam(kFcHumidityAdjust, 0x800F);  // already as the profile has it
    const std::vector<SettingState> before = DiffProfile(target.m_session, *profile.value);
    EXPECT_EQ(std::count_if(before.begin(), before.end(), [](const SettingState& s) { return s.Differs(); }), 2);

    target.m_device.ClearReceived();
    const ApplyReport dry = ApplyProfile(target.m_session, *profile.value, /*dryRun=*/true);
    EXPECT_TRUE(dry.Ok());
    EXPECT_TRUE(FcWrites(target.m_device).empty());

    const ApplyReport report = ApplyProfile(target.m_session, *profile.value, /*dryRun=*/false);
    EXPECT_TRUE(report.Ok()) << report.FirstFailure();
    EXPECT_EQ(FcWrites(target.m_device), (std::vector<std::string>{"3=45", "12=1"}));
    EXPECT_EQ(report.Written(), (std::vector<std::string>{"temperature-upper", "remote-signal"}));
    for (const SettingState& s : DiffProfile(target.m_session, *profile.value)) EXPECT_FALSE(s.Differs()) << s.name;
}

TEST(Profile, AFileThatCannotBeUsedIsRefusedWithWordsThatSayWhy) {
    const std::string head = R"({"format": "sentrabus-profile", "version": 1, "kind": "th", "parameters": )";
    struct Case {
        std::string text;
        std::string refusal;  // a part of it
    } cases[] = {
        {"temperature-upper=35", "not JSON"},
        {R"({"format": "other", "version": 1, "kind": "th", "parameters": {}})", "\"format\" must be"},
        {R"({"format": "sentrabus-profile", "version": 2, "kind": "th", "parameters": {}})", "version 2 is not known"},
        {R"({"format": "sentrabus-profile", "version": 1, "kind": "fridge", "parameters": {}})", "\"kind\" must be"},
        {head + R"({"temprature-upper": 35}})", "unknown parameter \"temprature-upper\" for a th profile; known: "
                                                  "humidity-upper"},
        {head + R"({"light-upper": 35}})", "unknown parameter \"light-upper\""},
        {head + R"({"temperature-upper": "35"}})", "must be a number"},
        {head + R"({"temperature-upper": 40000}})", "temperature-upper takes a whole number from -32767 to 32767"},
        {head + R"({"humidity-adjust": 1.25}})", "at most one decimal"},
        {head + R"({"temperature-hysteresis": -1}})", "from 0 to 3276.7"},
        {R"({"format": "sentrabus-profile", "version": 1, "kind": "wireless", "parameters": {"addresses": [0]}})",
         "receiver address takes a whole number from 1 to 200"},
    };
    for (const Case& c : cases) {
        const Checked<Profile> profile = ParseProfile(c.text);
        EXPECT_FALSE(profile.Ok()) << c.text;
        EXPECT_NE(profile.refusal.find(c.refusal), std::string::npos) << c.text << "\n  refused: " << profile.refusal;
    }
    // Whole numbers written with a decimal point are still whole, and the
    // remote signal may be a word.
    const Checked<Profile> words = ParseProfile(head + R"({"temperature-upper": 35.0, "remote-signal": "closed"}})");
    ASSERT_TRUE(words.Ok()) << words.refusal;
    EXPECT_EQ(words.value->parameters,
              (std::vector<std::pair<Parameter, std::uint16_t>>{{Parameter::TemperatureUpper, 35},
                                                                {Parameter::RemoteSignal, 1}}));
}

TEST(Profile, AReceiversTableGoesFromOneReceiverToAnother) {
    Profile saved;
    {
        SessionOnDevice source(sim::DeviceKind::Wireless, true);
        source.AssumeFound();
        source.m_device.Update([](sim::DeviceState& s) {
            s.wireless.SetConfigured(0, true);
            s.wireless.SetConfigured(199, true);
            s.wireless.channel = 9;
        });
        const OpResult<Profile> read = SaveProfile(source.m_session, ProfileKind::Wireless);
        ASSERT_TRUE(read.Ok()) << read.outcome.Text();
        saved = *ParseProfile(ProfileText(read.value)).value;
    }
    SessionOnDevice target(sim::DeviceKind::Wireless, true);
    target.AssumeFound();
    target.m_device.Update([](sim::DeviceState& s) { s.wireless.SetConfigured(5, true); });
    const ApplyReport report = ApplyProfile(target.m_session, saved, false);
    EXPECT_TRUE(report.Ok()) << report.FirstFailure();
    const sim::WirelessState after = target.m_device.Wireless();
    EXPECT_EQ(ConfiguredAddresses(after.configBits), (std::vector<int>{1, 200}));
    EXPECT_EQ(after.channel, 9);
    EXPECT_FALSE(after.configMode);  // left again
}

TEST(Commissioning, EachUnitGetsItsAddressAndBaudAndARecordRowEvenWhenOneFails) {
    const Checked<Profile> profile = ParseProfile(
        R"({"format": "sentrabus-profile", "version": 1, "kind": "th",
            "parameters": {"temperature-upper": 45, "humidity-hysteresis": 2.5}})");
    ASSERT_TRUE(profile.Ok());
    const std::string path = ::testing::TempDir() + "sentrabus-record.csv";
    std::remove(path.c_str());
    {
        CCsvFile record(path, RecordHeader(*profile.value));
        ASSERT_TRUE(record.Valid()) << record.Error();
        for (int unit = 0; unit < 3; ++unit) {
            SessionOnDevice line(sim::DeviceKind::Th, true);
            line.AssumeFound();
            // The second unit stops answering half-way: after its first write
            // (the kind check, a read and the write).
            if (unit == 1) {
                line.m_device.InjectFault(sim::Fault::None(), 4);
                line.m_device.InjectFault(sim::Fault::Silent(), sim::CSimulator::kEveryRequest);
            }
            const UnitRecord result = CommissionUnit(line.m_session, *profile.value, 12 + unit, 9600);
            ASSERT_TRUE(record.Append(RecordRow(*profile.value, result)));
            if (unit == 1) continue;
            EXPECT_TRUE(result.Ok()) << result.verdict;
            EXPECT_EQ(line.m_device.Address(), 12 + unit);
            EXPECT_EQ(line.m_device.Baud(), 9600U);
        }
    }
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(file, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0], "time,port,address before,baud before,address after,baud after,temperature-upper,"
                        "humidity-hysteresis,temperature,humidity,water-leak,power-failure,verdict\r");
    EXPECT_NE(lines[1].find(",5,4800,12,9600,45,2.5,"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(",ok\r"), std::string::npos) << lines[1];
    // Written before the device fell silent, then nothing more.
    EXPECT_NE(lines[2].find(",5,4800,5,4800,\"written, read-back failed: no reply\",write failed: no reply,"),
              std::string::npos)
        << lines[2];
    EXPECT_NE(lines[2].find("failed: temperature-upper: written, read-back failed: no reply"), std::string::npos)
        << lines[2];
    EXPECT_NE(lines[3].find(",14,9600,"), std::string::npos) << lines[3];
}

TEST(Profile, TheKindOfTheConnectedDeviceIsKnownByWhatItAnswers) {
    const std::pair<sim::DeviceKind, ProfileKind> cases[] = {
        {sim::DeviceKind::Th, ProfileKind::Th},
        {sim::DeviceKind::Light, ProfileKind::Light},
        {sim::DeviceKind::Lcd, ProfileKind::Lcd},
        {sim::DeviceKind::Wireless, ProfileKind::Wireless},
    };
    for (const auto& [device, kind] : cases) {
        SessionOnDevice line(device, true);
        line.AssumeFound();
        EXPECT_EQ(DetectProfileKind(line.m_session), kind) << ProfileKindName(kind);
    }
}

}  // namespace

namespace {

TEST(Commissioning, TheLoopTakesABoxOfUnitsOneAfterTheOther) {
    const Checked<Profile> profile = ParseProfile(
        R"({"format": "sentrabus-profile", "version": 1, "kind": "th", "parameters": {"temperature-upper": 45}})");
    ASSERT_TRUE(profile.Ok());
    const std::string path = ::testing::TempDir() + "sentrabus-loop.csv";
    std::remove(path.c_str());
    CCsvFile record(path, RecordHeader(*profile.value));
    SessionOnDevice line(sim::DeviceKind::Th, true);
    // The second unit falls silent as soon as it has been found.
    int unitsPlugged = 1;
    std::vector<std::string> said;
    std::jthread plugger;
    const auto say = [&](LoopEvent event, const std::string& words) {
        said.push_back(words);
        if (event != LoopEvent::Done && event != LoopEvent::Failed) return;
        // The technician pulls the unit and, a moment later, connects the next.
        line.m_device.Unplug();
        // The last plugger is joined before the next starts: both count the units.
        if (plugger.joinable()) plugger.join();
        plugger = std::jthread([&] {
            std::this_thread::sleep_for(300ms);
            line.m_device.PlugInFresh();
            if (++unitsPlugged == 2) line.m_device.InjectFault(sim::Fault::None(), 1);
            if (unitsPlugged == 2) line.m_device.InjectFault(sim::Fault::Silent(), sim::CSimulator::kEveryRequest);
            if (unitsPlugged == 3) line.m_device.ClearFaults();
        });
    };
    CommissioningOptions options{.firstAddress = 20, .baudRate = 9600, .count = 3, .searchInterval = 100ms,
                                 .goneInterval = 50ms};
    const LoopReport report = RunCommissioning(line.m_session, kPortNumber, *profile.value, options, record, say,
                                               [] { return false; });
    EXPECT_EQ(report.units, 3);
    EXPECT_EQ(report.failed, 1);
    EXPECT_EQ(line.m_device.Address(), 21);  // the failed unit did not use up address 21
    EXPECT_NE(std::find(said.begin(), said.end(), "done: unit 3, address 21 \u2014 connect the next unit"), said.end());
    const auto failedLine = std::find_if(said.begin(), said.end(), [](const std::string& s) { return s.starts_with("unit 2 failed: "); });
    ASSERT_NE(failedLine, said.end());
    EXPECT_NE(failedLine->find("temperature-upper"), std::string::npos) << *failedLine;
}

}  // namespace

namespace {

Profile ParsedProfile(const std::string& json) {
    const Checked<Profile> profile = ParseProfile(json);
    EXPECT_TRUE(profile.Ok());
    return profile.Ok() ? *profile.value : Profile{};
}

const std::string kThUpper45 =
    R"({"format": "sentrabus-profile", "version": 1, "kind": "th", "parameters": {"temperature-upper": 45}})";

// A unit whose speed change goes wrong is still on the wire, at a speed the
// session may not expect: the loop waits until the technician has pulled it
// (late, as people do) and takes the next unit as a new one, never the same
// unit again.
TEST(Commissioning, AUnitWhoseSpeedChangeFailsIsWaitedForUntilPulledAndNamesTheBaud) {
    struct Case {
        const char* what;
        sim::Fault onBaudWrite;  // the address write before it is answered well
        sim::Fault onReadBack;
        const char* verdict;
    };
    const Case cases[] = {
        {"the write's reply is garbled, but the unit took the speed", sim::Fault::BadCrc(), sim::Fault::None(),
         "failed: baud: "},
        {"the read-back at the new speed is not answered", sim::Fault::None(), sim::Fault::Silent(),
         "failed: baud: read-back: no reply"},
    };
    const Profile profile = ParsedProfile(kThUpper45);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = ::testing::TempDir() + "sentrabus-gone.csv";
        std::remove(path.c_str());
        CCsvFile record(path, RecordHeader(profile));
        SessionOnDevice line(sim::DeviceKind::Th, true);
        std::vector<LoopEvent> events;
        std::jthread technician;
        const auto say = [&](LoopEvent event, const std::string&) {
            events.push_back(event);
            if (event == LoopEvent::Step && events.size() < 4) {
                line.m_device.InjectFault(sim::Fault::None(), 1);
                line.m_device.InjectFault(c.onBaudWrite, 1);
                line.m_device.InjectFault(c.onReadBack, 1);
            }
            if (event != LoopEvent::Removing) return;
            technician = std::jthread([&] {
                std::this_thread::sleep_for(1500ms);
                line.m_device.Unplug();
                // Longer than one round of every speed and mode, which must find the line empty once.
                std::this_thread::sleep_for(3s);
                line.m_device.PlugInFresh();
            });
        };
        const CommissioningOptions options{.firstAddress = 20, .baudRate = 9600, .count = 2,
                                           .searchInterval = 100ms, .goneInterval = 50ms};
        std::vector<UnitRecord> units;
        const LoopReport report = RunCommissioning(line.m_session, kPortNumber, profile, options, record, say,
                                                   [] { return false; },
                                                   [&](const UnitRecord& unit) { units.push_back(unit); });
        if (technician.joinable()) technician.join();
        EXPECT_EQ(report.units, 2);
        EXPECT_EQ(report.failed, 1);
        ASSERT_EQ(units.size(), 2U);
        EXPECT_TRUE(units[0].verdict.starts_with(c.verdict)) << units[0].verdict;
        // The second unit is the fresh one, not the first again at its new address and speed.
        EXPECT_EQ(units[1].before.address, kAddress);
        EXPECT_EQ(units[1].before.baudRate, kBaud);
        EXPECT_TRUE(units[1].Ok()) << units[1].verdict;
        EXPECT_EQ(units[1].after.address, 20);
    }
}

// A register-mode transmitter keeps its old speed until it is restarted: the
// unit is asked at the old speed again, and its row says it must be restarted.
TEST(Commissioning, ARegisterModeUnitThatTakesItsSpeedAtItsNextStartIsToldToBeRestarted) {
    SessionOnDevice line(sim::DeviceKind::Soil, true);
    line.m_device.Update([](sim::DeviceState& state) { state.fcParams = {{kFcTemperatureUpper, 35}}; });
    struct HoldsOldSpeed : IExchangeObserver {
        sim::CSimulator* device = nullptr;
        void OnRequest(std::span<const std::uint8_t>) override {}
        void OnReply(std::span<const std::uint8_t>, ExchangeVariant, const ReplyVerdict*) override {
            device->SetBaud(9600);
        }
    } holds;
    holds.device = &line.m_device;
    line.m_session.SetObserver(&holds);
    line.AssumeFound();
    const UnitRecord unit = CommissionUnit(line.m_session, ParsedProfile(kThUpper45), kAddress, 4800);
    EXPECT_EQ(unit.verdict,
              "ok; restart the unit: it answers at 9600 bit/s until it takes 4800 bit/s at its next start");
    EXPECT_EQ(unit.after.baudRate, 4800U);
    EXPECT_EQ(line.m_device.Register(kRegLineBaud), RegisterBaudCode(4800));
    EXPECT_EQ(line.m_device.FcParam(kFcTemperatureUpper), 45);
}

// A unit of another kind than the profile's gets a row that says so and not
// one write: an LCD profile's mode is a register write the transmitter would
// take for something else.
TEST(Commissioning, AUnitOfAnotherKindGetsAKindRowAndNothingWritten) {
    const Profile profile =
        ParsedProfile(R"({"format": "sentrabus-profile", "version": 1, "kind": "lcd", "parameters": {"mode": 2}})");
    SessionOnDevice line(sim::DeviceKind::Th, true);
    line.AssumeFound();
    const UnitRecord unit = CommissionUnit(line.m_session, profile, 12, 9600);
    EXPECT_EQ(unit.verdict,
              "failed: kind: the profile is for a lcd (LCD relay controller), but the unit answers as a th "
              "(temperature/humidity transmitter)");
    EXPECT_EQ(RecordRow(profile, unit).size(), RecordHeader(profile).size());
    for (const sim::Frame& frame : line.m_device.ReceivedBytes()) {
        EXPECT_TRUE((frame[0] == kFcMark && frame[4] == kOpRead) || frame[1] == kFuncReadRegisters)
            << "a write reached the unit";
    }
    EXPECT_EQ(line.m_device.Address(), kAddress);
}

}  // namespace

namespace {

// Whatever word a device holds in a setting, the profile saved from it applies
// that same word again: no word is written out as a value the file's reader
// refuses. Every word of every setting goes through the value's text as the
// file holds it; a few whole files show that the values are those of the file.
TEST(Profile, EveryWordOfEverySettingSurvivesSaveAndApply) {
    for (const ProfileKind kind : {ProfileKind::Th, ProfileKind::Light}) {
        for (const Parameter parameter : ProfileParameters(kind)) {
            int failures = 0;
            for (std::uint32_t word = 0; word <= 0xFFFF && failures < 5; ++word) {
                const std::string saved = SavedParameterText(parameter, static_cast<std::uint16_t>(word));
                const Checked<std::uint16_t> again = ParameterWordOfSaved(parameter, saved);
                const bool same = again.Ok() && *again.value == word;
                failures += same ? 0 : 1;
                EXPECT_TRUE(same) << InfoOf(parameter).name << " word " << word << " saved as " << saved << ": "
                                  << (again.Ok() ? std::to_string(*again.value) : again.refusal);
            }
        }
        for (const std::uint16_t word : {0x0000, 0x0001, 0x7FFF, 0x8000, 0x8005, 0xFFFF}) {
            Profile saved;
            saved.kind = kind;
            for (const Parameter parameter : ProfileParameters(kind)) saved.parameters.emplace_back(parameter, word);
            const Checked<Profile> again = ParseProfile(ProfileText(saved));
            ASSERT_TRUE(again.Ok()) << again.refusal;
            EXPECT_EQ(again.value->parameters, saved.parameters) << ProfileKindName(kind) << " word " << word;
        }
    }
}

}  // namespace

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>

namespace {

// The disk fills up mid-row (here a file size limit): the append says so and
// the half row is taken out again, so that the next run's rows parse.
TEST(CsvFile, ARowThatDoesNotFitIsTakenOutAgain) {
    const std::string path = ::testing::TempDir() + "sentrabus-full.csv";
    std::remove(path.c_str());
    std::optional<CCsvFile> file(std::in_place, path, std::vector<std::string>{"time", "temperature"});
    ASSERT_TRUE(file->Valid()) << file->Error();
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = std::string("time,temperature\r\n").size() + 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool appended = file->Append({"2026-12-08T21:30:48.120Z", "25.0"});
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(appended);
    EXPECT_NE(file->Error().find("the unfinished row was taken out again"), std::string::npos) << file->Error();
    file.reset();
    std::ifstream in(path, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, "time,temperature\r\n");
}

}  // namespace
#endif
