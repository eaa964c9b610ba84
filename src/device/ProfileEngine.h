#pragma once
// A profile against the connected device: read every setting of a kind into a
// profile, compare the device with a profile setting by setting, and apply a
// profile: write only what differs, then read every written value back.
// Applying again after a failure finishes the job: what already matches is
// left alone.
//
// A wireless receiver is put into configuration mode for the whole of each
// call and taken out of it again however the call ends; each call says how
// that leave went, as a receiver whose leave failed may still be in the mode.

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "DeviceSession.h"
#include "Profile.h"

// A setting's value: compared by what the device holds, never by its text,
// and shown as the windows show it.
struct SettingValue {
    std::variant<std::uint16_t, ReceiverBitmap> held;  // the word, or the receiver's table
    std::string text;                                   // "-1.5", "Normally Close", "1, 5, 7"

    bool operator==(const SettingValue& other) const { return held == other.held; }
};

// How the leave from a wireless receiver's configuration mode went at the end
// of a call: nothing when none was sent (another kind of device, or a receiver
// that did not answer the enter frame).
using LeaveOutcome = std::optional<OpOutcome>;

// One setting of a profile against the device.
struct SettingState {
    std::string name;
    SettingValue inProfile;
    std::optional<SettingValue> onDevice;  // nullopt: not read (see readOutcome)
    OpOutcome readOutcome;
    bool readable = true;  // false for a setting the device cannot report (the LCD work mode)

    bool Differs() const { return !onDevice || *onDevice != inProfile; }
};

enum class StepResult {
    Unchanged,       // the device already held the profile's value
    ReadFailed,      // the device's value could not be read before writing
    WouldWrite,      // a dry run: it differs and would be written
    Verified,        // written and read back equal (or echoed, where nothing can be read)
    WriteFailed,
    ReadBackFailed,
    ReadBackDiffers,
    NotReached,      // an earlier failure ended the apply before this setting
};

struct ApplyStep {
    std::string name;
    SettingValue value;  // the profile's
    StepResult result = StepResult::NotReached;
    std::string detail;  // the outcome's words, or what was read back
};

struct ApplyReport {
    std::vector<ApplyStep> steps;
    // Set when the device could not be compared at all (no reply to the first read,
    // configuration mode refused).
    std::string failure;
    // The leave from configuration mode, for a wireless receiver. Ok() is
    // about the settings alone: a failed leave changes none of them.
    LeaveOutcome left;

    bool Ok() const;
    // "temperature-upper: no reply" for the first failed step, or the failure.
    std::string FirstFailure() const;
    // The settings written, whatever came of the read-back.
    std::vector<std::string> Written() const;
};

// "unchanged", "would write", "verified", "write failed: no reply", ...
std::string StepText(const ApplyStep& step);

// Every setting of `kind` read from the device; the first failed read ends it.
// `left` gets how the leave from configuration mode went.
OpResult<Profile> SaveProfile(CDeviceSession& session, ProfileKind kind, std::string* failedSetting = nullptr,
                              LeaveOutcome* left = nullptr);

// The device against each setting the profile holds. `failure` gets what
// stopped the comparison as a whole (configuration mode refused), `left` how
// the leave from configuration mode went.
std::vector<SettingState> DiffProfile(CDeviceSession& session, const Profile& profile, std::string* failure = nullptr,
                                      LeaveOutcome* left = nullptr);

// Every setting of the profile not reached, for a unit nothing was written
// to because of `failure`.
ApplyReport NotApplied(CDeviceSession& session, const Profile& profile, std::string failure);

// Writes what differs (nothing with `dryRun`), then reads each written
// setting back. `progress` hears each step as it ends. The first write that
// fails ends the apply; its step and every later one say so.
ApplyReport ApplyProfile(CDeviceSession& session, const Profile& profile, bool dryRun,
                         const std::function<void(const ApplyStep&)>& progress = {});

// The kind of the device found, by what it answers to: an FC temperature
// limit (th), an FC light limit (light), a relay query (lcd), configuration
// mode (wireless, which is left again at once).
std::optional<ProfileKind> DetectProfileKind(CDeviceSession& session);

// A read that only a device of `kind` answers. A wireless receiver shows
// itself by entering configuration mode, which the engine asks for first, so
// it is taken as answering here.
bool AnswersAsKind(CDeviceSession& session, ProfileKind kind);
