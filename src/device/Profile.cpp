#include "Profile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

// A transmitter's profile holds the main window's parameters, a light
// sensor's those of the light window, in the catalogue's order.
std::vector<Parameter> ParametersOfWindow(bool mainWindow) {
    std::vector<Parameter> parameters;
    for (const ParameterInfo& info : AllParameters()) {
        if (info.mainWindow == mainWindow) parameters.push_back(info.parameter);
    }
    return parameters;
}

constexpr const char* kLcdMode = "mode";
constexpr const char* kChannel = "channel";
constexpr const char* kSleepTime = "sleep-time";
constexpr const char* kAddresses = "addresses";

struct KindName {
    ProfileKind kind;
    const char* name;
};
constexpr std::array<KindName, 4> kKinds{{
    {ProfileKind::Th, "th"},
    {ProfileKind::Light, "light"},
    {ProfileKind::Lcd, "lcd"},
    {ProfileKind::Wireless, "wireless"},
}};

// A JSON number as the strict parsers take text: whole numbers without a
// decimal part ("35", also for 35.0), others in the shortest form that reads
// back as the same number ("-1.5").
std::optional<std::string> NumberText(const Json& value) {
    if (value.is_number_integer()) return value.dump();
    if (!value.is_number_float()) return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number)) return std::nullopt;
    if (number == std::trunc(number) && std::fabs(number) < 1e15) {
        return std::to_string(static_cast<long long>(number));
    }
    return value.dump();
}

std::string Where(std::string_view name) { return "\"" + std::string(name) + "\""; }

// A setting's value as text for its strict parser: a number, or a word where
// the setting has words ("open", "closed").
template <class T, class Parse>
Checked<T> SettingValue(const Json& value, std::string_view name, Parse parse, bool wordsAllowed = false) {
    const std::optional<std::string> text =
        value.is_string() && wordsAllowed ? std::optional(value.get<std::string>()) : NumberText(value);
    if (!text) return Checked<T>::Refused(Where(name) + " must be a number, not " + value.dump());
    return parse(*text);
}

// A word a device holds that its setting's number does not say back (a
// hysteresis with bit 15 set, "-0", a remote signal other than 0 and 1) is
// saved as the word itself, "0x800A", so that the profile applies it
// unchanged; a hand-written number is still held to the strict rules.
std::optional<std::uint16_t> RawWord(const Json& value) {
    if (!value.is_string()) return std::nullopt;
    const std::string text = value.get<std::string>();
    if (text.size() != 6 || !text.starts_with("0x")) return std::nullopt;
    unsigned word = 0;
    const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), word, 16);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return static_cast<std::uint16_t>(word);
}

Checked<Profile> Refused(std::string why) { return Checked<Profile>::Refused(std::move(why)); }

Checked<ReceiverBitmap> ParseAddresses(const Json& value) {
    if (!value.is_array()) return Checked<ReceiverBitmap>::Refused(Where(kAddresses) + " must be a list of receiver addresses 1 to 200");
    ReceiverBitmap bitmap{};
    for (const Json& entry : value) {
        const Checked<std::uint8_t> index = SettingValue<std::uint8_t>(entry, kAddresses, StrictReceiverIndex);
        if (!index.Ok()) return Checked<ReceiverBitmap>::Refused(index.refusal);
        bitmap[*index.value / 8] |= static_cast<std::uint8_t>(1U << (*index.value % 8));
    }
    return {bitmap, {}};
}

// A parameter's value in the file: the word as saved ("0x800A"), or a number
// held to the strict rules.
Checked<std::uint16_t> ParameterWord(Parameter parameter, const Json& value) {
    if (const std::optional<std::uint16_t> raw = RawWord(value)) return {*raw, {}};
    return SettingValue<std::uint16_t>(
        value, InfoOf(parameter).name, [&](std::string_view text) { return StrictParameterWord(parameter, text); },
        parameter == Parameter::RemoteSignal);
}

// One entry of "parameters" into the profile; the refusal when it does not fit.
std::string TakeSetting(Profile& profile, const std::string& name, const Json& value) {
    if (profile.kind == ProfileKind::Lcd && name == kLcdMode) {
        const Checked<std::uint8_t> mode = SettingValue<std::uint8_t>(value, name, StrictLcdMode);
        if (mode.Ok()) profile.lcdMode = mode.value;
        return mode.refusal;
    }
    if (profile.kind == ProfileKind::Wireless) {
        if (name == kChannel) {
            const Checked<std::uint8_t> channel = SettingValue<std::uint8_t>(value, name, StrictChannel);
            if (channel.Ok()) profile.channel = channel.value;
            return channel.refusal;
        }
        if (name == kSleepTime) {
            const Checked<std::uint16_t> sleep = SettingValue<std::uint16_t>(value, name, StrictSleepTime);
            if (sleep.Ok()) profile.sleepTime = sleep.value;
            return sleep.refusal;
        }
        if (name == kAddresses) {
            const Checked<ReceiverBitmap> bitmap = ParseAddresses(value);
            if (bitmap.Ok()) profile.addresses = bitmap.value;
            return bitmap.refusal;
        }
    }
    const std::optional<Parameter> parameter = ParameterByName(name);
    const std::span<const Parameter> known = ProfileParameters(profile.kind);
    if (!parameter || std::find(known.begin(), known.end(), *parameter) == known.end()) {
        return "unknown parameter " + Where(name) + " for a " + std::string(ProfileKindName(profile.kind)) +
               " profile; known: " + profile.KnownNames();
    }
    const Checked<std::uint16_t> word = ParameterWord(*parameter, value);
    if (word.Ok()) profile.parameters.emplace_back(*parameter, *word.value);
    return word.refusal;
}

// The parameter's word as the number a person writes: 35, -1.5, 1.
Json WordNumber(Parameter parameter, std::uint16_t word) {
    const ValueForm form = InfoOf(parameter).form;
    const double number = ValueNumber(form, word);
    const Json value = CodecOf(form).tenths ? Json(number) : Json(static_cast<std::int64_t>(number));
    const std::optional<std::string> text = NumberText(value);
    const Checked<std::uint16_t> back = StrictParameterWord(parameter, text.value_or(""));
    if (back.Ok() && *back.value == word) return value;
    char raw[8];
    std::snprintf(raw, sizeof raw, "0x%04X", static_cast<unsigned>(word));
    return raw;
}

}  // namespace

std::string ProfileKindText(ProfileKind kind) {
    const char* words = "";
    switch (kind) {
        case ProfileKind::Th: words = "temperature/humidity transmitter"; break;
        case ProfileKind::Light: words = "light intensity sensor"; break;
        case ProfileKind::Lcd: words = "LCD relay controller"; break;
        case ProfileKind::Wireless: words = "wireless receiver"; break;
    }
    return std::string(ProfileKindName(kind)) + " (" + words + ")";
}

std::string_view ProfileKindName(ProfileKind kind) {
    for (const KindName& k : kKinds) {
        if (k.kind == kind) return k.name;
    }
    return "";
}

std::optional<ProfileKind> ProfileKindByName(std::string_view name) {
    for (const KindName& k : kKinds) {
        if (name == k.name) return k.kind;
    }
    return std::nullopt;
}

std::span<const Parameter> ProfileParameters(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::Th: {
            static const std::vector<Parameter> th = ParametersOfWindow(true);
            return th;
        }
        case ProfileKind::Light: {
            static const std::vector<Parameter> light = ParametersOfWindow(false);
            return light;
        }
        case ProfileKind::Lcd:
        case ProfileKind::Wireless: break;
    }
    return {};
}

std::string Profile::KnownNames() const {
    std::string names;
    const auto add = [&](std::string_view name) { names += (names.empty() ? "" : ", ") + std::string(name); };
    for (const Parameter p : ProfileParameters(kind)) add(InfoOf(p).name);
    if (kind == ProfileKind::Lcd) add(kLcdMode);
    if (kind == ProfileKind::Wireless) {
        add(kChannel);
        add(kSleepTime);
        add(kAddresses);
    }
    return names;
}

Checked<Profile> ParseProfile(std::string_view text) {
    const Json file = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (file.is_discarded()) return Refused("not a profile: the file is not JSON");
    if (!file.is_object()) return Refused("not a profile: the file holds no JSON object");
    const auto format = file.find("format");
    if (format == file.end() || *format != kProfileFormat) {
        return Refused(std::string("not a profile: \"format\" must be \"") + kProfileFormat + "\"");
    }
    const auto version = file.find("version");
    if (version == file.end() || !version->is_number_integer()) return Refused("the profile has no \"version\" number");
    if (version->get<std::int64_t>() != kProfileVersion) {
        return Refused("profile version " + version->dump() + " is not known here (this program reads version " +
                       std::to_string(kProfileVersion) + ")");
    }
    const auto kindName = file.find("kind");
    const std::optional<ProfileKind> kind =
        kindName != file.end() && kindName->is_string() ? ProfileKindByName(kindName->get<std::string>()) : std::nullopt;
    if (!kind) return Refused("\"kind\" must be one of th, light, lcd, wireless");

    Profile profile;
    profile.kind = *kind;
    const auto parameters = file.find("parameters");
    if (parameters == file.end() || !parameters->is_object()) return Refused("the profile has no \"parameters\" object");
    for (const auto& [name, value] : parameters->items()) {
        const std::string refusal = TakeSetting(profile, name, value);
        if (!refusal.empty()) return Refused(refusal);
    }
    // In the order they are applied, whatever the file's order.
    const std::span<const Parameter> order = ProfileParameters(profile.kind);
    std::stable_sort(profile.parameters.begin(), profile.parameters.end(), [&](const auto& a, const auto& b) {
        return std::find(order.begin(), order.end(), a.first) < std::find(order.begin(), order.end(), b.first);
    });
    return {profile, {}};
}

std::string SavedParameterText(Parameter parameter, std::uint16_t word) { return WordNumber(parameter, word).dump(); }

Checked<std::uint16_t> ParameterWordOfSaved(Parameter parameter, std::string_view text) {
    const Json value = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) return Checked<std::uint16_t>::Refused(Where(InfoOf(parameter).name) + " is not JSON");
    return ParameterWord(parameter, value);
}

std::string ProfileText(const Profile& profile) {
    Json parameters = Json::object();
    for (const auto& [parameter, word] : profile.parameters) parameters[InfoOf(parameter).name] = WordNumber(parameter, word);
    if (profile.lcdMode) parameters[kLcdMode] = *profile.lcdMode;
    if (profile.channel) parameters[kChannel] = *profile.channel;
    if (profile.sleepTime) parameters[kSleepTime] = *profile.sleepTime;
    if (profile.addresses) parameters[kAddresses] = ConfiguredAddresses(*profile.addresses);
    const Json file = {{"format", kProfileFormat},
                       {"version", kProfileVersion},
                       {"kind", ProfileKindName(profile.kind)},
                       {"parameters", parameters}};
    return file.dump(2) + "\n";
}

std::vector<int> ConfiguredAddresses(const ReceiverBitmap& bitmap) {
    std::vector<int> addresses;
    for (std::size_t i = 0; i < kReceiverAddresses; ++i) {
        if (bitmap[i / 8] >> (i % 8) & 1U) addresses.push_back(static_cast<int>(i) + 1);
    }
    return addresses;
}
