#include "ProfileEngine.h"

#include <algorithm>

#include "ConfigurationScope.h"

namespace {

// One setting of a profile with the calls that read and write it.
struct Setting {
    std::string name;
    SettingValue wanted;  // the profile's
    bool readable = true;
    std::function<OpResult<SettingValue>()> read;
    std::function<OpOutcome()> write;
};

std::string AddressList(const ReceiverBitmap& bitmap) {
    std::string list;
    for (const int address : ConfiguredAddresses(bitmap)) list += (list.empty() ? "" : ", ") + std::to_string(address);
    return list.empty() ? "none" : list;
}

SettingValue ParameterValue(Parameter parameter, std::uint16_t word) { return {word, WindowText(parameter, word)}; }
SettingValue NumberValue(std::uint16_t number) { return {number, std::to_string(number)}; }
SettingValue AddressesValue(const ReceiverBitmap& bitmap) { return {bitmap, AddressList(bitmap)}; }

template <class T, class Value>
OpResult<SettingValue> AsValue(const OpResult<T>& result, Value value) {
    if (!result.Ok()) return {result.outcome};
    return {result.outcome, value(result.value)};
}

// Configures and clears receiver addresses until the receiver's table is
// `wanted`, from the table it reported last.
OpOutcome WriteAddresses(CDeviceSession& session, const ReceiverBitmap& wanted) {
    const OpResult<ReceiverTable> now = session.EnterConfiguration();
    if (!now.Ok()) return now.outcome;
    for (std::size_t i = 0; i < kReceiverAddresses; ++i) {
        const bool want = (wanted[i / 8] >> (i % 8) & 1U) != 0;
        const bool have = (now.value.configBits[i / 8] >> (i % 8) & 1U) != 0;
        if (want == have) continue;
        const auto index = static_cast<std::uint8_t>(i);
        const OpOutcome outcome = want ? session.ConfigureReceiver(index).outcome : session.ClearReceiver(index);
        if (!outcome.Ok()) return outcome;
    }
    return OpOutcome::Success();
}

std::vector<Setting> SettingsOf(CDeviceSession& session, const Profile& profile) {
    std::vector<Setting> settings;
    for (const auto& [parameter, word] : profile.parameters) {
        const Parameter p = parameter;
        const std::uint16_t w = word;
        settings.push_back({InfoOf(p).name, ParameterValue(p, w), true,
                            [&session, p] {
                                return AsValue(session.ReadParameter(p),
                                               [p](std::uint16_t value) { return ParameterValue(p, value); });
                            },
                            [&session, p, w] { return session.WriteParameter(p, w); }});
    }
    if (profile.lcdMode) {
        const std::uint8_t mode = *profile.lcdMode;
        // The controller does not report its mode; its echo confirms the write.
        settings.push_back({"mode", NumberValue(mode), false, {}, [&session, mode] { return session.SetLcdMode(mode); }});
    }
    if (profile.channel) {
        const std::uint8_t channel = *profile.channel;
        settings.push_back({"channel", NumberValue(channel), true,
                            [&session] { return AsValue(session.ReadChannel(), NumberValue); },
                            [&session, channel] { return session.WriteChannel(channel); }});
    }
    if (profile.sleepTime) {
        const std::uint16_t seconds = *profile.sleepTime;
        settings.push_back({"sleep-time", NumberValue(seconds), true,
                            [&session] { return AsValue(session.ReadSleepTime(), NumberValue); },
                            [&session, seconds] { return session.WriteSleepTime(seconds); }});
    }
    if (profile.addresses) {
        const ReceiverBitmap wanted = *profile.addresses;
        settings.push_back({"addresses", AddressesValue(wanted), true,
                            [&session] {
                                // In configuration mode the receiver answers a second
                                // enter with its table again.
                                return AsValue(session.EnterConfiguration(),
                                               [](const ReceiverTable& t) { return AddressesValue(t.configBits); });
                            },
                            [&session, wanted] { return WriteAddresses(session, wanted); }});
    }
    return settings;
}

// A wireless receiver stays in configuration mode for the whole of the work;
// the other kinds need nothing. One that answered the enter frame at all is
// asked to leave at the end, as on the command line.
std::optional<CConfigurationScope> ModeFor(CDeviceSession& session, ProfileKind kind) {
    if (kind != ProfileKind::Wireless) return std::nullopt;
    return std::optional<CConfigurationScope>(std::in_place, session, LeaveRule::AfterAnyAnswer);
}

// Leaves configuration mode now, when the call entered it, so that the caller
// hears how the leave went; `left` gets the outcome.
void LeaveNow(std::optional<CConfigurationScope>& mode, LeaveOutcome* left) {
    if (!mode) return;
    const LeaveOutcome& outcome = mode->Leave();
    if (left) *left = outcome;
}

// Empty when the device is ready for the work; else why not.
std::string Refusal(const std::optional<CConfigurationScope>& mode) {
    if (!mode || mode->Entered()) return {};
    return "configuration mode: " + mode->Enter().outcome.Text();
}

}  // namespace

bool ApplyReport::Ok() const {
    return failure.empty() && std::all_of(steps.begin(), steps.end(), [](const ApplyStep& s) {
               return s.result == StepResult::Unchanged || s.result == StepResult::Verified ||
                      s.result == StepResult::WouldWrite;
           });
}

std::string ApplyReport::FirstFailure() const {
    if (!failure.empty()) return failure;
    for (const ApplyStep& step : steps) {
        switch (step.result) {
            case StepResult::ReadFailed:
            case StepResult::WriteFailed:
            case StepResult::ReadBackFailed:
            case StepResult::ReadBackDiffers: return step.name + ": " + StepText(step);
            default: break;
        }
    }
    return {};
}

std::vector<std::string> ApplyReport::Written() const {
    std::vector<std::string> written;
    for (const ApplyStep& step : steps) {
        if (step.result == StepResult::Verified || step.result == StepResult::ReadBackFailed ||
            step.result == StepResult::ReadBackDiffers) {
            written.push_back(step.name);
        }
    }
    return written;
}

std::string StepText(const ApplyStep& step) {
    const std::string detail = step.detail.empty() ? "" : ": " + step.detail;
    switch (step.result) {
        case StepResult::Unchanged: return "unchanged";
        case StepResult::ReadFailed: return "not read" + detail;
        case StepResult::WouldWrite: return "would write";
        case StepResult::Verified: return "written and verified";
        case StepResult::WriteFailed: return "write failed" + detail;
        case StepResult::ReadBackFailed: return "written, read-back failed" + detail;
        case StepResult::ReadBackDiffers: return "written, device reads back" + detail;
        case StepResult::NotReached: return "not reached";
    }
    return {};
}

namespace {

OpResult<Profile> ReadProfile(CDeviceSession& session, ProfileKind kind, const std::optional<CConfigurationScope>& mode,
                              std::string* failedSetting) {
    Profile profile;
    profile.kind = kind;
    const auto failed = [&](const std::string& name, const OpOutcome& outcome) {
        if (failedSetting) *failedSetting = name;
        return OpResult<Profile>{outcome};
    };
    if (!Refusal(mode).empty()) return failed("configuration mode", mode->Enter().outcome);
    for (const Parameter parameter : ProfileParameters(kind)) {
        const OpResult<std::uint16_t> word = session.ReadParameter(parameter);
        if (!word.Ok()) return failed(InfoOf(parameter).name, word.outcome);
        profile.parameters.emplace_back(parameter, word.value);
    }
    if (kind == ProfileKind::Wireless) {
        const OpResult<std::uint8_t> channel = session.ReadChannel();
        if (!channel.Ok()) return failed("channel", channel.outcome);
        const OpResult<std::uint16_t> sleep = session.ReadSleepTime();
        if (!sleep.Ok()) return failed("sleep-time", sleep.outcome);
        profile.channel = channel.value;
        profile.sleepTime = sleep.value;
        profile.addresses = mode->Enter().value.configBits;
    }
    // The LCD controller's mode cannot be read: its profile is written by hand.
    return {OpOutcome::Success(), profile};
}

}  // namespace

OpResult<Profile> SaveProfile(CDeviceSession& session, ProfileKind kind, std::string* failedSetting,
                              LeaveOutcome* left) {
    std::optional<CConfigurationScope> mode = ModeFor(session, kind);
    OpResult<Profile> saved = ReadProfile(session, kind, mode, failedSetting);
    LeaveNow(mode, left);
    return saved;
}

std::vector<SettingState> DiffProfile(CDeviceSession& session, const Profile& profile, std::string* failure,
                                      LeaveOutcome* left) {
    std::optional<CConfigurationScope> mode = ModeFor(session, profile.kind);
    const std::string refusal = Refusal(mode);
    if (failure) *failure = refusal;
    std::vector<SettingState> states;
    for (const Setting& setting : SettingsOf(session, profile)) {
        SettingState state{setting.name, setting.wanted, std::nullopt, {}, setting.readable};
        if (setting.readable && refusal.empty()) {
            const OpResult<SettingValue> read = setting.read();
            state.readOutcome = read.outcome;
            if (read.Ok()) state.onDevice = read.value;
        }
        states.push_back(std::move(state));
    }
    LeaveNow(mode, left);
    return states;
}

ApplyReport NotApplied(CDeviceSession& session, const Profile& profile, std::string failure) {
    ApplyReport report;
    report.failure = std::move(failure);
    for (const Setting& setting : SettingsOf(session, profile)) {
        report.steps.push_back({setting.name, setting.wanted, StepResult::NotReached, {}});
    }
    return report;
}

ApplyReport ApplyProfile(CDeviceSession& session, const Profile& profile, bool dryRun,
                         const std::function<void(const ApplyStep&)>& progress) {
    std::optional<CConfigurationScope> mode = ModeFor(session, profile.kind);
    ApplyReport report = NotApplied(session, profile, Refusal(mode));
    const std::vector<Setting> settings = SettingsOf(session, profile);
    if (!report.failure.empty()) {
        LeaveNow(mode, &report.left);
        return report;
    }
    const auto tell = [&](const ApplyStep& step) {
        if (progress) progress(step);
    };

    // Write what differs; the first failure ends the writing.
    std::vector<std::size_t> written;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        ApplyStep& step = report.steps[i];
        if (settings[i].readable) {
            const OpResult<SettingValue> now = settings[i].read();
            if (!now.Ok()) {
                // Those written before it are still read back below: the
                // report must say which of them the device holds.
                step.result = StepResult::ReadFailed;
                step.detail = now.outcome.Text();
                tell(step);
                break;
            }
            if (now.value == settings[i].wanted) {
                step.result = StepResult::Unchanged;
                tell(step);
                continue;
            }
        }
        if (dryRun) {
            step.result = StepResult::WouldWrite;
            tell(step);
            continue;
        }
        const OpOutcome outcome = settings[i].write();
        if (!outcome.Ok()) {
            step.result = StepResult::WriteFailed;
            step.detail = outcome.Text();
            tell(step);
            break;
        }
        written.push_back(i);
    }

    // Then every written value is read back, those written before a failure too.
    for (const std::size_t i : written) {
        ApplyStep& step = report.steps[i];
        if (!settings[i].readable) {
            step.result = StepResult::Verified;
        } else if (const OpResult<SettingValue> back = settings[i].read(); !back.Ok()) {
            step.result = StepResult::ReadBackFailed;
            step.detail = back.outcome.Text();
        } else if (back.value != settings[i].wanted) {
            step.result = StepResult::ReadBackDiffers;
            step.detail = back.value.text;
        } else {
            step.result = StepResult::Verified;
        }
        tell(step);
    }
    LeaveNow(mode, &report.left);
    return report;
}

std::optional<ProfileKind> DetectProfileKind(CDeviceSession& session) {
    if (session.ReadParameter(Parameter::TemperatureUpper).Ok()) return ProfileKind::Th;
    if (session.ReadParameter(Parameter::LightUpper).Ok()) return ProfileKind::Light;
    if (session.QueryRelay(1).Ok()) return ProfileKind::Lcd;
    // A receiver that answered the enter frame at all, even with a spoiled
    // reply, may have switched: it is asked to leave again.
    if (const CConfigurationScope mode(session, LeaveRule::AfterAnyAnswer); mode.Entered()) return ProfileKind::Wireless;
    return std::nullopt;
}

bool AnswersAsKind(CDeviceSession& session, ProfileKind kind) {
    switch (kind) {
        case ProfileKind::Th: return session.ReadParameter(Parameter::TemperatureUpper).Ok();
        case ProfileKind::Light: return session.ReadParameter(Parameter::LightUpper).Ok();
        case ProfileKind::Lcd: return session.QueryRelay(1).Ok();
        case ProfileKind::Wireless: return true;
    }
    return false;
}
