// soak: many exchanges of every frame family through the real serial stack
// (CSerialPort, CReceivePath, ExchangeFrame) against simulated devices on
// pseudo-terminals, with a share of the replies spoiled by the simulator's
// faults. Every outcome is held against what the fault must give.
//
//   soak [--exchanges N] [--seed S] [--fault-rate R]
//
// One lane per device kind runs in its own thread with its own port, link and
// simulator; the simulator runs in this process, and each lane tells its
// simulator the fault of the next reply with InjectFault just before the
// request, as the simulator's tests do. After a faulted exchange the lane lets
// the line fall quiet (the simulator has sent every piece, the receive path
// has cut it), so that leftovers of the fault wait in the reply queue: the
// next exchange, never faulted, must drain them and succeed.
//
// The work runs in a child process, so that a crash is counted and reported
// instead of ending the report; a watchdog ends the child on an exchange that
// outlasts its variant's limit by far (a hang). Exit status 0 only when every
// outcome was the expected one and the resident memory did not grow.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "protocol/Exchange.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using namespace std::chrono_literals;

constexpr int kExitWrong = 1;
constexpr int kExitUsage = 2;
constexpr int kExitHang = 4;
// What the resident memory may grow by between the warm-up and the end.
constexpr long kRssGrowthLimitKb = 8 * 1024;
// AddressSanitizer holds freed memory in quarantine (up to 256 MB), so the
// resident size grows there by design; its leak checker watches leaks instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kRssIsMeaningful = false;
#else
constexpr bool kRssIsMeaningful = true;
#endif
// An exchange this far past its variant's limit is a hang.
constexpr auto kHangMargin = 15s;
// A split whose halves the simulator put this far apart (it was descheduled)
// may be cut into two replies by the receive path's 30 ms silence.
constexpr auto kPartedSplit = 20ms;
// After the simulator's last byte of a faulted exchange: time for the receive
// path to see the silence and queue what it collected.
constexpr auto kSettle = 150ms;

struct Options {
    std::uint64_t exchanges = 100000;
    std::uint64_t seed = 1;
    double faultRate = 0.1;
};

// --- Faults ------------------------------------------------------------------

enum class Spoil {
    None,
    Silent,
    DelayPast,     // the reply after the variant's limit, by a wide margin
    DelayWithin,   // the reply well inside the limit: harmless
    Short,
    BadCrc,
    SwappedCrc,
    WrongAddress,
    Split,         // halves 3 ms apart, far inside the receive path's silence: harmless
    Glitch,        // stray bytes, the reply later: the long variant outwaits them
    Exception,
    Noise,
};
constexpr std::array<Spoil, 11> kSpoils{Spoil::Silent, Spoil::DelayPast, Spoil::DelayWithin, Spoil::Short,
                                        Spoil::BadCrc, Spoil::SwappedCrc, Spoil::WrongAddress, Spoil::Split,
                                        Spoil::Glitch, Spoil::Exception, Spoil::Noise};

const char* SpoilName(Spoil spoil) {
    switch (spoil) {
        case Spoil::None: return "none";
        case Spoil::Silent: return "silent";
        case Spoil::DelayPast: return "delay past the limit";
        case Spoil::DelayWithin: return "delay within the limit";
        case Spoil::Short: return "short";
        case Spoil::BadCrc: return "bad CRC";
        case Spoil::SwappedCrc: return "swapped CRC";
        case Spoil::WrongAddress: return "wrong address";
        case Spoil::Split: return "split";
        case Spoil::Glitch: return "glitch";
        case Spoil::Exception: return "exception";
        case Spoil::Noise: return "noise";
    }
    return "?";
}

milliseconds LimitOf(ExchangeVariant variant) {
    const ExchangePlan plan = PlanOf(variant);
    return plan.interval * plan.maxPolls;
}

sim::Fault FaultFor(Spoil spoil, ExchangeVariant variant, std::mt19937_64& random) {
    const milliseconds limit = LimitOf(variant);
    switch (spoil) {
        case Spoil::None: return sim::Fault::None();
        case Spoil::Silent: return sim::Fault::Silent();
        case Spoil::DelayPast: return sim::Fault::Delayed(limit + 400ms);
        // The long variant's first poll is at 600 ms: the reply comes between
        // two polls, far from both.
        case Spoil::DelayWithin: return sim::Fault::Delayed(variant == ExchangeVariant::Long ? 900ms : limit / 5);
        case Spoil::Short: return sim::Fault::Short();
        case Spoil::BadCrc: return sim::Fault::BadCrc();
        case Spoil::SwappedCrc: return sim::Fault::SwappedCrc();
        case Spoil::WrongAddress: return sim::Fault::WrongAddress();
        case Spoil::Split: return sim::Fault::Split(3ms);
        // The strays are fetched alone, well before the reply comes: by the
        // short variants' first fetch, by the long variant's first poll.
        case Spoil::Glitch: return sim::Fault::Glitch(variant == ExchangeVariant::Long ? 900ms : 200ms);
        case Spoil::Exception: return sim::Fault::Exception();
        case Spoil::Noise: {
            // 1 byte to 256 KB, evenly over the orders of magnitude.
            const double exponent = std::uniform_real_distribution<double>(0.0, 18.0)(random);
            return sim::Fault::Noise(static_cast<std::uint32_t>(std::min(std::exp2(exponent), 262144.0)));
        }
    }
    return sim::Fault::None();
}

// --- Frame families ---------------------------------------------------------

enum class Verdict { Rejected, Right, Wrong };

// One request, built in the link's buffer, and how to judge its reply.
struct Probe {
    std::uint16_t length = 0;
    std::function<Verdict(ReplyBytes)> judge;
};

struct Lane;

struct Family {
    const char* name;
    sim::DeviceKind device;
    ExchangeVariant variant;
    int weight;
    // Its reply check reads the CRC alone: a reply from another address or an
    // exception reply passes it, as the check says.
    bool crcOnly;
    Probe (*prepare)(Lane&);
};

struct Lane {
    Lane(sim::DeviceKind kind, std::uint8_t address, std::uint8_t portNumber, std::uint64_t seed)
        : device({.kind = kind, .address = address, .baud = 9600, .trace = [this](const std::string& line) {
                      if (line.rfind("tx ", 0) != 0) return;
                      previousSend.store(lastSend.load());
                      lastSend.store(Clock::now().time_since_epoch().count());
                  }}),
          link(port),
          random(seed),
          portNumber(portNumber) {}

    // When the simulator wrote its last two pieces, as Clock ticks (its trace tells).
    std::atomic<Clock::rep> previousSend{0};
    std::atomic<Clock::rep> lastSend{0};

    std::uint16_t Random16() { return static_cast<std::uint16_t>(random()); }
    std::uint8_t RandomAddress() { return static_cast<std::uint8_t>(1 + random() % 247); }
    TxBuffer Tx() { return link.RequestBuffer(); }

    sim::CSimulator device;
    CSerialPort port;
    CLink link;
    std::atomic<bool> portOpen{false};
    std::mt19937_64 random;
    std::uint8_t portNumber;
    std::vector<const Family*> families;
    std::uint64_t exchanges = 0;
    // Watchdog: start of the exchange in progress (0: none) and its limit.
    std::atomic<Clock::rep> exchangeStart{0};
    std::atomic<long> exchangeLimitMs{0};
    std::atomic<std::uint64_t> done{0};
    std::string current;  // family and fault of the exchange in progress, for the watchdog
    std::mutex currentLock;
};

Verdict Judged(bool passed, bool right) {
    if (!passed) return Verdict::Rejected;
    return right ? Verdict::Right : Verdict::Wrong;
}

Probe FdQuery(Lane& lane) {
    const std::uint8_t address = lane.RandomAddress();
    lane.device.SetAddress(address);
    return {BuildFdQuery(lane.Tx()), [address](ReplyBytes reply) {
                const auto fd = ParseFdReply(reply);
                return Judged(fd.has_value(), fd && fd->address == address && fd->baudRate == 9600);
            }};
}

Probe FdSetAddress(Lane& lane) {
    const std::uint8_t address = lane.RandomAddress();
    return {BuildFdSetAddress(lane.Tx(), address), [address](ReplyBytes reply) {
                const auto fd = ParseFdReply(reply);
                return Judged(fd.has_value(), fd && fd->address == address && fd->baudRate == 9600);
            }};
}

// Two registers from `first` at the device's address (255 for the register device).
Probe ReadTwo(Lane& lane, std::uint16_t first, std::uint8_t address) {
    const std::uint16_t a = lane.Random16();
    const std::uint16_t b = lane.Random16();
    lane.device.SetRegister(first, a);
    lane.device.SetRegister(static_cast<std::uint16_t>(first + 1), b);
    return {BuildRegisterRead(lane.Tx(), address, first, 2), [a, b, address](ReplyBytes reply) {
                const auto values = ParseReadReply(reply, address, ValuesUsed::Both);
                return Judged(values.has_value(), values && values->value1 == a && values->value2 == b);
            }};
}

Probe ReadOne(Lane& lane, std::uint16_t reg) {
    const std::uint16_t value = lane.Random16();
    const std::uint8_t address = lane.device.Address();
    lane.device.SetRegister(reg, value);
    return {BuildRegisterRead(lane.Tx(), address, reg, 1), [value, address](ReplyBytes reply) {
                const auto values = ParseReadReply(reply, address, ValuesUsed::First);
                return Judged(values.has_value(), values && values->value1 == value);
            }};
}

Probe ThRegisterRead(Lane& lane) { return ReadTwo(lane, kRegHumidity, lane.device.Address()); }
Probe SoilRegisterRead(Lane& lane) { return ReadTwo(lane, kRegHumidity, kRegisterModeAddress); }
Probe LcdRegisterRead(Lane& lane) { return ReadOne(lane, kRegLcdRelay1); }
Probe LightRegisterRead(Lane& lane) { return ReadOne(lane, kRegLightIntensity); }

std::uint8_t RandomFcCode(Lane& lane) {
    const auto params = lane.device.State().fcParams;
    auto it = params.begin();
    std::advance(it, static_cast<long>(lane.random() % params.size()));
    return it->first;
}

Probe FcRead(Lane& lane) {
    const std::uint8_t code = RandomFcCode(lane);
    const std::uint16_t value = lane.Random16();
    lane.device.SetFcParam(code, value);
    return {BuildFcRead(lane.Tx(), code), [value](ReplyBytes reply) {
                const auto values = ParseFcReply(reply, ValuesUsed::First);
                return Judged(values.has_value(), values && values->value1 == value);
            }};
}

// The temperature and humidity transmitter answers a write with the value it now holds.
Probe ThFcWrite(Lane& lane) {
    const std::uint8_t code = RandomFcCode(lane);
    const std::uint16_t value = lane.Random16();
    return {BuildFcWrite(lane.Tx(), code, value), [value, code, &lane](ReplyBytes reply) {
                const auto values = ParseFcReply(reply, ValuesUsed::First);
                return Judged(values.has_value(),
                              values && values->value1 == value && lane.device.FcParam(code) == value);
            }};
}

// The light transmitter and the LCD controller echo a write.
Probe Echoed(Lane& lane, std::uint16_t length, std::function<bool()> stored) {
    const std::span<const std::uint8_t> sent = lane.link.Request(length);
    const std::vector<std::uint8_t> request(sent.begin(), sent.end());
    return {length, [request, stored](ReplyBytes reply) {
                return Judged(CheckEchoReply(reply, request), stored());
            }};
}

Probe LightFcWrite(Lane& lane) {
    const std::uint8_t code = RandomFcCode(lane);
    const std::uint16_t value = lane.Random16();
    return Echoed(lane, BuildFcWrite(lane.Tx(), code, value), [&lane, code, value] {
        return lane.device.FcParam(code) == value;
    });
}

Probe LcdRegisterWrite(Lane& lane) {
    const std::uint16_t reg = lane.random() % 2 == 0 ? kRegLcdRelay1 : kRegLcdRelay2;
    const std::uint16_t value = lane.Random16();
    return Echoed(lane, BuildRegisterWrite(lane.Tx(), lane.device.Address(), reg, value), [&lane, reg, value] {
        return lane.device.Register(reg) == value;
    });
}

Probe LineSettingsRead(Lane& lane) {
    const std::uint8_t address = lane.RandomAddress();
    lane.device.SetAddress(address);
    return {BuildLineSettingsRead(lane.Tx()), [address](ReplyBytes reply) {
                const auto soil = ParseSoilSearchReply(reply);
                return Judged(soil.has_value(), soil && soil->address == address && soil->baudRate == 9600);
            }};
}

Probe LineSettingsWrite(Lane& lane) {
    const std::uint8_t address = lane.RandomAddress();
    const std::uint8_t code = lane.device.Register(kRegLineBaud).value_or(0) & 0xFF;
    return {BuildLineSettingsWrite(lane.Tx(), address, code), [address, &lane](ReplyBytes reply) {
                return Judged(CheckReplyCrc(reply), lane.device.Address() == address && lane.device.Baud() == 9600);
            }};
}

// The receiver's configuration replies carry its sleep time and table: both
// are made new before each request, so that a stale reply does not pass.
sim::WirelessState FreshWireless(Lane& lane) {
    sim::WirelessState wireless = lane.device.Wireless();
    wireless.sleepTime = lane.Random16();
    for (std::uint8_t& byte : wireless.configBits) byte = static_cast<std::uint8_t>(lane.random());
    wireless.temperature = lane.Random16();
    wireless.humidity = lane.Random16();
    wireless.channel = static_cast<std::uint8_t>(lane.random());
    lane.device.SetWireless(wireless);
    return wireless;
}

Probe ConfigProbe(Lane& lane, std::uint16_t length, std::uint8_t command) {
    return {length, [&lane, command](ReplyBytes reply) {
                const auto config = ParseFbConfigReply(reply);
                const sim::WirelessState now = lane.device.Wireless();
                return Judged(config.has_value(), config && config->command == command &&
                                                      config->sleepTime == now.sleepTime &&
                                                      config->configBits == now.configBits);
            }};
}

Probe FbEnter(Lane& lane) {
    FreshWireless(lane);
    return ConfigProbe(lane, BuildFbEnterConfig(lane.Tx()), kFbEnterConfig);
}

Probe FbConfigure(Lane& lane) {
    FreshWireless(lane);
    const auto index = static_cast<std::uint8_t>(lane.random() % kReceiverAddresses);
    return ConfigProbe(lane, BuildFbConfigureReceiver(lane.Tx(), index), kFbConfigureReceiver);
}

Probe FbClear(Lane& lane) {
    FreshWireless(lane);
    const auto index = static_cast<std::uint8_t>(lane.random() % kReceiverAddresses);
    return ConfigProbe(lane, BuildFbClearReceiver(lane.Tx(), index), kFbClearReceiver);
}

Probe FbValue(std::uint16_t length, ValuesUsed used, std::uint16_t value1, std::uint16_t value2) {
    return {length, [used, value1, value2](ReplyBytes reply) {
                const auto values = ParseFbReply(reply, used);
                const bool right = used == ValuesUsed::None ||
                                   (values && values->value1 == value1 &&
                                    (used == ValuesUsed::First || values->value2 == value2));
                return Judged(values.has_value(), right);
            }};
}

Probe FbLeave(Lane& lane) { return FbValue(BuildFbLeaveConfig(lane.Tx()), ValuesUsed::None, 0, 0); }

Probe FbSleepRead(Lane& lane) {
    const auto wireless = FreshWireless(lane);
    return FbValue(BuildFbSleepTimeRead(lane.Tx()), ValuesUsed::First, wireless.sleepTime, 0);
}

Probe FbSleepWrite(Lane& lane) {
    FreshWireless(lane);
    const std::uint16_t seconds = lane.Random16();
    return FbValue(BuildFbSleepTimeWrite(lane.Tx(), seconds), ValuesUsed::First, seconds, 0);
}

Probe FbTemperatureHumidity(Lane& lane) {
    const auto wireless = FreshWireless(lane);
    return FbValue(BuildFbTemperatureHumidityRead(lane.Tx()), ValuesUsed::Both, wireless.temperature,
                   wireless.humidity);
}

Probe FbChannelRead(Lane& lane) {
    const auto wireless = FreshWireless(lane);
    return FbValue(BuildFbChannelRead(lane.Tx()), ValuesUsed::First,
                   static_cast<std::uint16_t>(wireless.channel << 8), 0);
}

Probe FbChannelWrite(Lane& lane) {
    FreshWireless(lane);
    const auto channel = static_cast<std::uint8_t>(lane.random());
    return FbValue(BuildFbChannelWrite(lane.Tx(), channel), ValuesUsed::First,
                   static_cast<std::uint16_t>(channel << 8), 0);
}

using sim::DeviceKind;
constexpr ExchangeVariant kStd = ExchangeVariant::Standard;
// The variants as the windows use them; the long variant's exchanges last 600 ms
// and more, so they come seldom.
const std::array<Family, 22> kFamilies{{
    {"FD query", DeviceKind::Th, kStd, 4, false, FdQuery},
    {"FD set address", DeviceKind::Th, kStd, 2, false, FdSetAddress},
    {"03 read (th)", DeviceKind::Th, kStd, 4, false, ThRegisterRead},
    {"FC read (th)", DeviceKind::Th, kStd, 4, false, FcRead},
    {"FC write (th)", DeviceKind::Th, kStd, 3, false, ThFcWrite},
    {"03 read at 255 (soil)", DeviceKind::Soil, kStd, 4, false, SoilRegisterRead},
    {"03 line settings (soil)", DeviceKind::Soil, kStd, 4, true, LineSettingsRead},
    {"10 line settings (soil)", DeviceKind::Soil, kStd, 3, true, LineSettingsWrite},
    {"03 read (lcd)", DeviceKind::Lcd, kStd, 4, false, LcdRegisterRead},
    {"06 write, echoed (lcd)", DeviceKind::Lcd, kStd, 4, false, LcdRegisterWrite},
    {"03 read (light)", DeviceKind::Light, kStd, 4, false, LightRegisterRead},
    {"FC read (light)", DeviceKind::Light, kStd, 4, false, FcRead},
    {"FC write, echoed (light)", DeviceKind::Light, kStd, 3, false, LightFcWrite},
    {"FB enter, long", DeviceKind::Wireless, ExchangeVariant::Long, 1, false, FbEnter},
    {"FB leave, long", DeviceKind::Wireless, ExchangeVariant::Long, 1, false, FbLeave},
    {"FB configure, extended", DeviceKind::Wireless, ExchangeVariant::Extended, 6, false, FbConfigure},
    {"FB clear, extended", DeviceKind::Wireless, ExchangeVariant::Extended, 6, false, FbClear},
    {"FB sleep read", DeviceKind::Wireless, kStd, 6, false, FbSleepRead},
    {"FB sleep write", DeviceKind::Wireless, kStd, 6, false, FbSleepWrite},
    {"FB temperature/humidity", DeviceKind::Wireless, kStd, 6, false, FbTemperatureHumidity},
    {"FB channel read", DeviceKind::Wireless, kStd, 6, false, FbChannelRead},
    {"FB channel write", DeviceKind::Wireless, kStd, 6, false, FbChannelWrite},
}};

// --- Outcomes ------------------------------------------------------------------

// What a fault allows of the exchange's outcome.
struct Allowed {
    bool right = false;
    bool rejected = false;
};

Allowed AllowedFor(Spoil spoil, const Family& family, ReplyBytes reply, bool splitParted) {
    switch (spoil) {
        case Spoil::None:
        case Spoil::DelayWithin: return {true, false};
        case Spoil::Split: return {true, splitParted};
        case Spoil::Glitch: return family.variant == ExchangeVariant::Long ? Allowed{true, false} : Allowed{false, true};
        case Spoil::SwappedCrc: {
            // Two equal CRC bytes swap into the same reply.
            const bool same = reply.size() >= 2 && reply[reply.size() - 1] == reply[reply.size() - 2];
            return {same, true};
        }
        case Spoil::WrongAddress:
        case Spoil::Exception:
        case Spoil::Noise: return {family.crcOnly, true};
        case Spoil::Silent:
        case Spoil::DelayPast:
        case Spoil::Short:
        case Spoil::BadCrc: return {false, true};
    }
    return {};
}

struct Tally {
    std::map<std::string, std::uint64_t> perFamily;
    std::map<std::string, std::uint64_t> perSpoil;
    std::map<std::string, std::uint64_t> outcomes;
    std::uint64_t wrongAccepted = 0;
    std::uint64_t unexpected = 0;
    std::uint64_t afterFault = 0;
    std::uint64_t afterFaultFailed = 0;
    std::uint64_t afterNoise = 0;
    std::uint64_t crcOnlyPasses = 0;
    std::uint64_t partedSplits = 0;
    std::vector<std::string> details;

    void Merge(const Tally& other) {
        for (const auto& [k, v] : other.perFamily) perFamily[k] += v;
        for (const auto& [k, v] : other.perSpoil) perSpoil[k] += v;
        for (const auto& [k, v] : other.outcomes) outcomes[k] += v;
        wrongAccepted += other.wrongAccepted;
        unexpected += other.unexpected;
        afterFault += other.afterFault;
        afterFaultFailed += other.afterFaultFailed;
        afterNoise += other.afterNoise;
        crcOnlyPasses += other.crcOnlyPasses;
        partedSplits += other.partedSplits;
        details.insert(details.end(), other.details.begin(), other.details.end());
    }
};

std::string Hex(ReplyBytes bytes) {
    std::string text = sim::HexBytes(bytes.first(std::min<std::size_t>(bytes.size(), 24)));
    if (bytes.size() > 24) text += " ..";
    return text;
}

const char* OutcomeName(ExchangeOutcome outcome) {
    switch (outcome) {
        case ExchangeOutcome::NoReply: return "no reply";
        case ExchangeOutcome::ShortReply: return "short reply";
        case ExchangeOutcome::BadReply: return "bad reply";
        case ExchangeOutcome::GoodReply: return "good reply";
    }
    return "?";
}

// The line is quiet again: the simulator has sent (or given up on) every piece
// and the receive path has had time to cut and queue the last of them.
void Settle(Lane& lane) {
    lane.device.WaitUntilSent(30s);
    std::this_thread::sleep_for(kSettle);
    while (lane.link.Receive().m_rxQueue.Count() > 0) std::this_thread::sleep_for(10ms);
}

void RunLane(Lane& lane, const Options& options, Tally& tally) {
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    int totalWeight = 0;
    for (const Family* family : lane.families) totalWeight += family->weight;
    Spoil previous = Spoil::None;

    for (std::uint64_t i = 0; i < lane.exchanges; ++i) {
        int pick = static_cast<int>(lane.random() % static_cast<unsigned>(totalWeight));
        const Family* family = lane.families.front();
        for (const Family* candidate : lane.families) {
            if ((pick -= candidate->weight) < 0) {
                family = candidate;
                break;
            }
        }
        // The exchange after a fault goes unspoiled: it must succeed.
        const bool followsFault = previous != Spoil::None;
        Spoil spoil = Spoil::None;
        if (!followsFault && chance(lane.random) < options.faultRate) {
            spoil = kSpoils[lane.random() % kSpoils.size()];
        }
        const sim::Fault fault = FaultFor(spoil, family->variant, lane.random);

        const Probe probe = family->prepare(lane);
        {
            std::lock_guard lock(lane.currentLock);
            lane.current = std::string(family->name) + ", " + sim::FaultName(fault);
        }
        if (spoil != Spoil::None) lane.device.InjectFault(fault);
        lane.exchangeLimitMs.store(LimitOf(family->variant).count() + fault.time.count());
        lane.exchangeStart.store(Clock::now().time_since_epoch().count());
        const std::uint16_t count = ExchangeFrame(lane.link, probe.length, family->variant);
        lane.exchangeStart.store(0);

        const ReplyBytes reply = lane.link.Reply(count);
        Verdict verdict = IsJudgeable(reply) ? probe.judge(reply) : Verdict::Rejected;
        const ExchangeOutcome outcome = ClassifyReply(count, verdict != Verdict::Rejected);

        bool splitParted = false;
        if (spoil != Spoil::None) {
            Settle(lane);
            // The halves are the simulator's last two pieces.
            splitParted = spoil == Spoil::Split &&
                          Clock::duration(lane.lastSend.load() - lane.previousSend.load()) >= kPartedSplit;
        }

        ++tally.perFamily[family->name];
        ++tally.perSpoil[spoil == Spoil::None && followsFault ? "none (after a fault)" : SpoilName(spoil)];
        ++tally.outcomes[std::string(OutcomeName(outcome)) + (verdict == Verdict::Wrong ? ", wrong value" : "")];

        Allowed allowed = AllowedFor(spoil, *family, reply, false);
        if (spoil == Spoil::Split && verdict == Verdict::Rejected && splitParted) {
            allowed.rejected = true;
            ++tally.partedSplits;
        }
        if (family->crcOnly && verdict == Verdict::Right &&
            (spoil == Spoil::WrongAddress || spoil == Spoil::Exception || spoil == Spoil::Noise)) {
            ++tally.crcOnlyPasses;
        }
        bool expected = verdict == Verdict::Right ? allowed.right : allowed.rejected;
        if (verdict == Verdict::Wrong) {
            ++tally.wrongAccepted;
            expected = false;
        }
        if (followsFault) {
            ++tally.afterFault;
            if (!expected) ++tally.afterFaultFailed;
            if (previous == Spoil::Noise) ++tally.afterNoise;
        }
        if (!expected) {
            ++tally.unexpected;
            if (tally.details.size() < 40) {
                tally.details.push_back(std::string(family->name) + " #" + std::to_string(i) + ", fault " +
                                        sim::FaultName(fault) +
                                        (followsFault ? std::string(" (after ") + SpoilName(previous) + ")" : "") +
                                        ": " + OutcomeName(outcome) +
                                        (verdict == Verdict::Wrong ? " with a wrong value" : "") + ", " +
                                        std::to_string(count) + " bytes: " + Hex(reply));
            }
        }
        previous = spoil;
        // The simulator logs every request for its tests; here that log would
        // be the memory growth the soak looks for.
        lane.device.ClearReceived();
        lane.done.fetch_add(1);
    }
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc) return std::nullopt;
        const std::string_view value = argv[++i];
        if (arg == "--exchanges") {
            if (!ParseNumber(value, options.exchanges) || options.exchanges == 0) return std::nullopt;
        } else if (arg == "--seed") {
            if (!ParseNumber(value, options.seed)) return std::nullopt;
        } else if (arg == "--fault-rate") {
            char* end = nullptr;
            const std::string copy(value);
            options.faultRate = std::strtod(copy.c_str(), &end);
            if (*end != '\0' || !(options.faultRate >= 0.0 && options.faultRate <= 1.0)) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

void Print(const char* title, const std::map<std::string, std::uint64_t>& counts) {
    std::printf("%s\n", title);
    for (const auto& [name, count] : counts) std::printf("  %-34s %10llu\n", name.c_str(), static_cast<unsigned long long>(count));
}

int RunSoak(const Options& options) {
    constexpr std::array<DeviceKind, 5> kKinds{DeviceKind::Th, DeviceKind::Soil, DeviceKind::Lcd, DeviceKind::Light,
                                               DeviceKind::Wireless};
    std::vector<std::unique_ptr<Lane>> lanes;
    for (std::size_t k = 0; k < kKinds.size(); ++k) {
        const auto portNumber = static_cast<std::uint8_t>(90 + k);
        auto lane = std::make_unique<Lane>(kKinds[k], static_cast<std::uint8_t>(10 + k), portNumber,
                                           options.seed * 1000 + k);
        for (const Family& family : kFamilies) {
            if (family.device == kKinds[k]) lane->families.push_back(&family);
        }
        lane->exchanges = options.exchanges / kKinds.size() + (k < options.exchanges % kKinds.size() ? 1 : 0);
        // Before any thread of the port's starts: the port's number leads here.
        setenv(("SENTRABUS_COM" + std::to_string(portNumber)).c_str(), lane->device.SlavePath().c_str(), 1);
        lane->port.SetParams(portNumber, 8, CSerialPort::kNoParity, CSerialPort::kOneStopBit, 9600);
        if (!lane->port.Open()) {
            std::fprintf(stderr, "soak: cannot open %s\n", lane->device.SlavePath().c_str());
            return kExitWrong;
        }
        lane->portOpen.store(true);
        lane->link.Receive().Start(lane->port, lane->portOpen);
        lanes.push_back(std::move(lane));
    }

    const std::uint64_t warmUp = std::max<std::uint64_t>(std::min<std::uint64_t>(options.exchanges / 20, 2000), 50);
    std::atomic<bool> finished{false};
    std::atomic<long> rssFirst{-1};
    std::atomic<long> rssPeak{0};
    std::jthread watchdog([&] {
        while (!finished.load()) {
            std::this_thread::sleep_for(100ms);
            std::uint64_t done = 0;
            const auto now = Clock::now().time_since_epoch().count();
            for (const auto& lane : lanes) {
                done += lane->done.load();
                const Clock::rep start = lane->exchangeStart.load();
                const auto limit = milliseconds(lane->exchangeLimitMs.load()) + kHangMargin;
                if (start != 0 && Clock::duration(now - start) > limit) {
                    std::lock_guard lock(lane->currentLock);
                    std::printf("soak: HANG: exchange %s has run for more than %lld ms\n", lane->current.c_str(),
                                static_cast<long long>(limit.count()));
                    std::fflush(stdout);
                    std::_Exit(kExitHang);
                }
            }
            const long rss = ResidentKb();
            if (rssFirst.load() < 0 && done >= warmUp) rssFirst.store(rss);
            rssPeak.store(std::max(rssPeak.load(), rss));
        }
    });

    const auto start = Clock::now();
    std::vector<Tally> tallies(lanes.size());
    {
        std::vector<std::jthread> threads;
        for (std::size_t k = 0; k < lanes.size(); ++k) {
            threads.emplace_back([&, k] { RunLane(*lanes[k], options, tallies[k]); });
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    finished.store(true);
    watchdog.join();
    const long rssLast = ResidentKb();
    for (const auto& lane : lanes) {
        lane->link.Receive().Stop();
        lane->port.Close();
    }

    Tally all;
    for (const Tally& tally : tallies) all.Merge(tally);
    const std::uint64_t total = options.exchanges;
    std::printf("soak: %llu exchanges, seed %llu, fault rate %.3f, %zu lanes in parallel\n",
                static_cast<unsigned long long>(total), static_cast<unsigned long long>(options.seed),
                options.faultRate, lanes.size());
    Print("exchanges per family:", all.perFamily);
    Print("faults per kind:", all.perSpoil);
    Print("outcomes:", all.outcomes);
    std::printf("exchanges after a fault that succeeded: %llu of %llu (after noise: %llu)\n",
                static_cast<unsigned long long>(all.afterFault - all.afterFaultFailed),
                static_cast<unsigned long long>(all.afterFault), static_cast<unsigned long long>(all.afterNoise));
    std::printf("split halves parted by a stalled simulator (tolerated): %llu\n",
                static_cast<unsigned long long>(all.partedSplits));
    std::printf("spoiled replies passed by the CRC-only checks of the line settings: %llu\n",
                static_cast<unsigned long long>(all.crcOnlyPasses));
    std::printf("wrong values accepted: %llu\n", static_cast<unsigned long long>(all.wrongAccepted));
    std::printf("unexpected outcomes: %llu\n", static_cast<unsigned long long>(all.unexpected));
    for (const std::string& detail : all.details) std::printf("  %s\n", detail.c_str());
    const long first = rssFirst.load() < 0 ? rssLast : rssFirst.load();
    std::printf("VmRSS: %ld kB after %llu exchanges, %ld kB at the end, peak %ld kB\n", first,
                static_cast<unsigned long long>(warmUp), rssLast, std::max(rssPeak.load(), rssLast));
    std::printf("time: %.1f s, %.1f exchanges/s\n", seconds, static_cast<double>(total) / seconds);

    bool ok = all.unexpected == 0 && all.wrongAccepted == 0;
    if (kRssIsMeaningful && rssLast - first > kRssGrowthLimitKb) {
        std::printf("soak: resident memory grew by %ld kB (limit %ld kB)\n", rssLast - first, kRssGrowthLimitKb);
        ok = false;
    }
    std::fflush(stdout);
    return ok ? 0 : kExitWrong;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: soak [--exchanges N] [--seed S] [--fault-rate 0..1]\n");
        return kExitUsage;
    }
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("soak: fork");
        return kExitWrong;
    }
    if (child == 0) std::_Exit(RunSoak(*options));

    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            std::perror("soak: waitpid");
            return kExitWrong;
        }
    }
    const bool crashed = WIFSIGNALED(status);
    const bool hung = WIFEXITED(status) && WEXITSTATUS(status) == kExitHang;
    std::printf("crashes: %d%s, hangs: %d\n", crashed ? 1 : 0,
                crashed ? (" (signal " + std::to_string(WTERMSIG(status)) + ")").c_str() : "", hung ? 1 : 0);
    if (crashed || hung) return kExitWrong;
    return WIFEXITED(status) ? WEXITSTATUS(status) : kExitWrong;
}
