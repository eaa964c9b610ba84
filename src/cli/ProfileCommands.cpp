// profile save, diff and apply: the settings of the connected device against
// a profile file, through the device layer's profile engine. A profile of
// another kind than the device is refused before anything is written.

#include <algorithm>
#include <fstream>

#include "CliContext.h"
#include "ResultValues.h"
#include "device/FilePath.h"
#include "device/ProfileEngine.h"
#include "device/StrictValues.h"

namespace {

std::string DeviceText(const CliContext& c) { return "the device at address " + std::to_string(c.session.Device().address); }

// The device did not answer as `kind`: a device of another kind ends the run
// as a refusal, one that answers as nothing as a failure. kExitOk when it
// answers as `kind` after all.
int NotOfKind(CliContext& c, ProfileKind kind) {
    const std::optional<ProfileKind> found = DetectProfileKind(c.session);
    if (found == kind) return kExitOk;
    if (found) {
        const std::string asked = c.request.command == CliCommand::ProfileSave
                                      ? "--kind asks for a " + ProfileKindText(kind)
                                      : c.request.file + " is a " + ProfileKindText(kind) + " profile";
        c.report.RunError(asked + ", but " + DeviceText(c) + " answers as a " + ProfileKindText(*found) +
                          ": nothing was written");
        return kExitUsage;
    }
    c.report.RunError(DeviceText(c) + " does not answer as a " + ProfileKindText(kind) + " or any other kind of profile");
    return kExitDeviceFailed;
}

int CheckKind(CliContext& c, ProfileKind kind) { return AnswersAsKind(c.session, kind) ? kExitOk : NotOfKind(c, kind); }

// A setting's value as JSON, from the value itself: the number a person
// writes in a profile (35, -1.5, 1 for "Normally Close"), or the list of
// receiver addresses.
nlohmann::ordered_json SettingJson(const std::string& name, const SettingValue& value) {
    if (const auto* bitmap = std::get_if<ReceiverBitmap>(&value.held)) return ConfiguredAddresses(*bitmap);
    const std::uint16_t word = std::get<std::uint16_t>(value.held);
    if (const std::optional<Parameter> parameter = ParameterByName(name)) {
        return ParameterResult(InfoOf(*parameter), word).value;
    }
    return word;
}

std::string List(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    return list;
}

// --- save ------------------------------------------------------------------------

void SavedResults(CliContext& c, const Profile& profile) {
    for (const auto& [parameter, word] : profile.parameters) c.report.Add(ParameterResult(InfoOf(parameter), word));
    if (profile.channel) c.report.Add(WholeResult("channel", *profile.channel));
    if (profile.sleepTime) c.report.Add(WholeResult("sleep-time", *profile.sleepTime));
    if (profile.addresses) {
        const std::vector<int> addresses = ConfiguredAddresses(*profile.addresses);
        std::string text;
        for (const int address : addresses) text += (text.empty() ? "" : " ") + std::to_string(address);
        c.report.Add(CliResult::Success("addresses", addresses, text.empty() ? "none" : text));
    }
}

int Save(CliContext& c) {
    std::optional<ProfileKind> kind = c.request.kind;
    if (!kind) {
        kind = DetectProfileKind(c.session);
        if (!kind) {
            c.report.RunError(DeviceText(c) + " answers as none of th, light, lcd and wireless: give --kind");
            return kExitDeviceFailed;
        }
        c.report.Say("the device answers as a " + ProfileKindText(*kind), false);
    } else if (const int status = CheckKind(c, *kind); status != kExitOk) {
        return status;
    }
    if (c.Stopping()) return kExitOk;
    std::string failed;
    LeaveOutcome left;
    const OpResult<Profile> saved = SaveProfile(c.session, *kind, &failed, &left);
    c.FailIfLeaveFailed(left);
    if (!saved.Ok()) {
        if (*kind == ProfileKind::Wireless && failed == "configuration mode") {
            if (const int status = NotOfKind(c, *kind); status != kExitOk) return status;
        }
        c.Fail(failed, "", saved.outcome);
        c.report.Say("nothing was written to " + c.request.file, false);
        return kExitOk;
    }
    std::ofstream file(FilePath(c.request.file), std::ios::binary | std::ios::trunc);
    file << ProfileText(saved.value);
    file.close();
    if (!file) {
        c.report.Add(CliResult::Failure("file", "cannot write " + c.request.file));
        return kExitOk;
    }
    SavedResults(c, saved.value);
    c.report.Say("saved the " + ProfileKindText(*kind) + "'s settings to " + c.request.file, false);
    if (*kind == ProfileKind::Lcd) {
        c.report.Say("the controller does not report its work mode: add \"mode\": 1 to 4 to the file by hand", false);
    }
    return kExitOk;
}

// --- diff -------------------------------------------------------------------------

int Diff(CliContext& c) {
    const Profile& profile = *c.request.profile;
    if (const int status = CheckKind(c, profile.kind); status != kExitOk) return status;
    if (c.Stopping()) return kExitOk;
    std::string failure;
    LeaveOutcome left;
    const std::vector<SettingState> states = DiffProfile(c.session, profile, &failure, &left);
    if (!failure.empty()) {
        if (profile.kind == ProfileKind::Wireless) {
            if (const int status = NotOfKind(c, profile.kind); status != kExitOk) return status;
        }
        c.report.Add(CliResult::Failure("configuration-mode", failure));
        c.FailIfLeaveFailed(left);
        return kExitOk;
    }
    int differing = 0;
    for (const SettingState& state : states) {
        if (state.readable && !state.onDevice) {
            c.Fail(state.name, "", state.readOutcome);
            continue;
        }
        CliResult result = CliResult::Success(state.name, nullptr, "cannot be read; the profile has " + state.inProfile.text);
        result.more = {{"profile", SettingJson(state.name, state.inProfile)}, {"differs", nullptr}};
        if (state.readable) {
            const bool differs = *state.onDevice != state.inProfile;
            differing += differs ? 1 : 0;
            result.value = SettingJson(state.name, *state.onDevice);
            result.text = state.onDevice->text +
                          (differs ? ", the profile has " + state.inProfile.text : " (as the profile)");
            result.more["differs"] = differs;
        }
        c.report.Add(std::move(result));
    }
    if (!c.report.Failed()) {
        c.report.Say(differing == 0 ? "the device matches " + c.request.file
                                    : std::to_string(differing) + " of " + std::to_string(states.size()) +
                                          " settings differ from " + c.request.file,
                     true);
    }
    // After the summary, which is true all the same.
    c.FailIfLeaveFailed(left);
    return kExitOk;
}

// --- apply ------------------------------------------------------------------------

const char* ResultWord(StepResult result) {
    switch (result) {
        case StepResult::Unchanged: return "unchanged";
        case StepResult::ReadFailed: return "not-read";
        case StepResult::WouldWrite: return "would-write";
        case StepResult::Verified: return "verified";
        case StepResult::WriteFailed: return "write-failed";
        case StepResult::ReadBackFailed: return "read-back-failed";
        case StepResult::ReadBackDiffers: return "read-back-differs";
        case StepResult::NotReached: return "not-reached";
    }
    return "";
}

bool Written(StepResult result) {
    return result == StepResult::Verified || result == StepResult::ReadBackFailed ||
           result == StepResult::ReadBackDiffers;
}

CliResult StepResultOf(const ApplyStep& step) {
    const bool ok = step.result == StepResult::Unchanged || step.result == StepResult::Verified ||
                    step.result == StepResult::WouldWrite;
    CliResult result = ok ? CliResult::Success(step.name, SettingJson(step.name, step.value),
                                               step.value.text + " (" + StepText(step) + ")")
                          : CliResult::Failure(step.name, step.result == StepResult::NotReached
                                                              ? "not reached: an earlier setting failed"
                                                              : StepText(step));
    result.more = {{"result", ResultWord(step.result)}, {"written", Written(step.result)}};
    return result;
}

// After a failure: exactly what the device now holds of the profile.
std::string WhatWasWritten(const ApplyReport& report) {
    std::vector<std::string> verified;
    std::vector<std::string> unverified;
    for (const ApplyStep& step : report.steps) {
        if (step.result == StepResult::Verified) verified.push_back(step.name);
        if (step.result == StepResult::ReadBackFailed || step.result == StepResult::ReadBackDiffers) {
            unverified.push_back(step.name);
        }
    }
    std::string words = verified.empty() ? "nothing was written and verified" : "written and verified: " + List(verified);
    if (!unverified.empty()) words += "; written, not verified: " + List(unverified);
    return words + "; run the same command again to finish (what already matches is left alone)";
}

int Apply(CliContext& c) {
    const Profile& profile = *c.request.profile;
    if (const int status = CheckKind(c, profile.kind); status != kExitOk) return status;
    if (c.Stopping()) return kExitOk;
    // Runs to its end once begun: the writes and their read-backs are never cut off.
    const ApplyReport report = ApplyProfile(c.session, profile, c.request.dryRun);
    c.FailIfLeaveFailed(report.left);
    if (!report.failure.empty()) {
        if (profile.kind == ProfileKind::Wireless) {
            if (const int status = NotOfKind(c, profile.kind); status != kExitOk) return status;
        }
        c.report.Add(CliResult::Failure("configuration-mode", report.failure + "; nothing was written"));
        return kExitOk;
    }
    for (const ApplyStep& step : report.steps) c.report.Add(StepResultOf(step));
    if (!report.Ok()) {
        c.report.Say(WhatWasWritten(report), false);
    } else {
        const auto count = [&](StepResult result) {
            return std::count_if(report.steps.begin(), report.steps.end(),
                                 [result](const ApplyStep& s) { return s.result == result; });
        };
        c.report.Say(c.request.dryRun ? std::to_string(count(StepResult::WouldWrite)) + " settings would be written"
                                      : std::to_string(count(StepResult::Verified)) + " written and verified, " +
                                            std::to_string(count(StepResult::Unchanged)) + " unchanged",
                     true);
    }
    return kExitOk;
}

}  // namespace

int RunProfileCommand(CliContext& c) {
    switch (c.request.command) {
        case CliCommand::ProfileSave: return Save(c);
        case CliCommand::ProfileDiff: return Diff(c);
        case CliCommand::ProfileApply: return Apply(c);
        default: return kExitOk;
    }
}
