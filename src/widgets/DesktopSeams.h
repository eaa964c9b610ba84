#pragma once
// What the image button asks of the desktop: open a document or URL with its
// default handler, play a sound. Tests replace both with recorders.

#include <cstdint>
#include <functional>
#include <string>

#include "ImageButtonCodes.h"

struct SoundRequest {
    std::string path;     // a file; on Linux a resource sound is written to a file first
    std::string name;     // as the caller gave it (on Windows: a resource's, "#n" for a number)
    std::uint32_t flags;  // kSnd...
    void* module = nullptr;  // Windows: the module holding a resource sound
};

// True when the desktop took the URL.
bool OpenUrlOnDesktop(const std::string& url);
void PlaySoundRequest(const SoundRequest& request);

// The platform's own, behind the hooks (DesktopSeamsQt.cpp, DesktopSeamsWin32.cpp).
bool DesktopOpenUrl(const std::string& url);
void DesktopPlaySound(const SoundRequest& request);

// An empty function puts the real one back.
void SetUrlOpenHook(std::function<bool(const std::string&)> hook);
void SetSoundHook(std::function<void(const SoundRequest&)> hook);
