// libFuzzer target: any bytes as a profile file give either a clear refusal
// or a profile that writes out as a file that reads back the same; and the
// first two bytes, as the word a device holds in each setting, come back from
// a saved profile unchanged.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzRequire.h"
#include "device/Profile.h"

namespace {

void RequireEveryWordSurvives(std::uint16_t word) {
    for (const ProfileKind kind : {ProfileKind::Th, ProfileKind::Light}) {
        Profile saved;
        saved.kind = kind;
        for (const Parameter parameter : ProfileParameters(kind)) saved.parameters.emplace_back(parameter, word);
        const Checked<Profile> again = ParseProfile(ProfileText(saved));
        Require(again.Ok() && again.value->parameters == saved.parameters);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 2) RequireEveryWordSurvives(static_cast<std::uint16_t>(data[0] << 8 | data[1]));
    const Checked<Profile> profile = ParseProfile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!profile.Ok()) {
        Require(!profile.refusal.empty());
        return 0;
    }
    const Checked<Profile> again = ParseProfile(ProfileText(*profile.value));
    Require(again.Ok());
    Require(again.value->kind == profile.value->kind);
    Require(again.value->parameters == profile.value->parameters);
    Require(again.value->lcdMode == profile.value->lcdMode && again.value->channel == profile.value->channel);
    Require(again.value->sleepTime == profile.value->sleepTime && again.value->addresses == profile.value->addresses);
    return 0;
}
