// The seams of DesktopSeams.h: a test's recorder when one is set, else the
// platform's own call.

#include "DesktopSeams.h"

namespace {

std::function<bool(const std::string&)>& UrlHook() {
    static std::function<bool(const std::string&)> hook;
    return hook;
}

std::function<void(const SoundRequest&)>& SoundHook() {
    static std::function<void(const SoundRequest&)> hook;
    return hook;
}

}  // namespace

void SetUrlOpenHook(std::function<bool(const std::string&)> hook) { UrlHook() = std::move(hook); }

void SetSoundHook(std::function<void(const SoundRequest&)> hook) { SoundHook() = std::move(hook); }

bool OpenUrlOnDesktop(const std::string& url) {
    if (UrlHook()) return UrlHook()(url);
    return DesktopOpenUrl(url);
}

void PlaySoundRequest(const SoundRequest& request) {
    if (SoundHook()) {
        SoundHook()(request);
        return;
    }
    DesktopPlaySound(request);
}
