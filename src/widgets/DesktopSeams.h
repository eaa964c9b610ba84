#pragma once
// What the image button asks of the desktop: open a document or URL with its
// default handler, play a sound. Tests replace both with recorders.

#include <cstdint>
#include <functional>
#include <string>

// Play flags, as the platform's sound call takes them.
inline constexpr std::uint32_t kSndAsync = 0x0001;
inline constexpr std::uint32_t kSndNoDefault = 0x0002;
inline constexpr std::uint32_t kSndNoWait = 0x2000;
inline constexpr std::uint32_t kSndFileName = 0x20000;
inline constexpr std::uint32_t kSndResource = 0x40004;

struct SoundRequest {
    std::string path;     // a file (a resource sound is written to a file first)
    std::string name;     // as the caller gave it
    std::uint32_t flags;  // kSnd...
};

// True when the desktop took the URL.
bool OpenUrlOnDesktop(const std::string& url);
void PlaySoundRequest(const SoundRequest& request);

// An empty function puts the real one back.
void SetUrlOpenHook(std::function<bool(const std::string&)> hook);
void SetSoundHook(std::function<void(const SoundRequest&)> hook);
