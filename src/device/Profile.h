#pragma once
// A device profile: the settings of one kind of device in the units the
// windows show, kept as a small JSON file a person can read and edit:
//
//   {"format": "sentrabus-profile", "version": 1, "kind": "th",
//    "parameters": {"temperature-upper": 35, "humidity-adjust": -1.5, "remote-signal": 1}}
//
// Parameter names are the command line's. A wireless receiver's profile holds
// "channel", "sleep-time" and "addresses" (the configured receiver addresses,
// 1 to 200); an LCD relay controller's its "mode" (1 to 4). A profile never
// holds the bus address or the baud rate: those differ per unit.
//
// Reading is strict: anything the device's form cannot hold exactly is
// refused with words that say where and why, before anything is sent.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/Catalogue.h"
#include "StrictValues.h"
#include "protocol/FrameCodes.h"

inline constexpr const char* kProfileFormat = "sentrabus-profile";
inline constexpr int kProfileVersion = 1;

enum class ProfileKind { Th, Light, Lcd, Wireless };

// "th", "light", "lcd", "wireless".
std::string_view ProfileKindName(ProfileKind kind);
// "th (temperature/humidity transmitter)"
std::string ProfileKindText(ProfileKind kind);
std::optional<ProfileKind> ProfileKindByName(std::string_view name);

// The FC parameters a kind's profile may hold, in the order they are applied.
std::span<const Parameter> ProfileParameters(ProfileKind kind);

using ReceiverBitmap = std::array<std::uint8_t, kConfigBitmapBytes>;  // bit i%8 of byte i/8: address i+1

struct Profile {
    ProfileKind kind = ProfileKind::Th;
    // FC parameters as the words the device holds, in ProfileParameters order;
    // a parameter the file leaves out is absent and left alone.
    std::vector<std::pair<Parameter, std::uint16_t>> parameters;
    std::optional<std::uint8_t> lcdMode;     // lcd
    std::optional<std::uint8_t> channel;     // wireless
    std::optional<std::uint16_t> sleepTime;  // wireless
    std::optional<ReceiverBitmap> addresses; // wireless

    // The names the file may use for this kind, comma-separated.
    std::string KnownNames() const;
};

// The profile in the file's text, or why it cannot be used.
Checked<Profile> ParseProfile(std::string_view text);
// The file's text: the format, the version, the kind and every setting held.
std::string ProfileText(const Profile& profile);

// One parameter's value as the file holds it ("35", "-1.5", "\"0x8005\"")
// and back again, as ProfileText and ParseProfile write and read it.
std::string SavedParameterText(Parameter parameter, std::uint16_t word);
Checked<std::uint16_t> ParameterWordOfSaved(Parameter parameter, std::string_view text);

// The configured addresses of a bitmap, ascending (1..200).
std::vector<int> ConfiguredAddresses(const ReceiverBitmap& bitmap);
