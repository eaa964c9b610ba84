// The Windows shell's "open" and the multimedia sound call behind the seams
// of DesktopSeams.h.

#include "widgets/DesktopSeams.h"

#include "CommonControlsWin32.h"
#include "widgets/win32/TextWin32.h"

#include <mmsystem.h>
#include <shellapi.h>

bool DesktopOpenUrl(const std::string& url) {
    const std::wstring file = Utf16(url);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // A link that does not open says nothing on the screen: the button
    // reports no failure either.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWMAXIMIZED;
    return ShellExecuteExW(&info) != FALSE;
}

void DesktopPlaySound(const SoundRequest& request) {
    const bool resource = (request.flags & kSndResource) == kSndResource;
    const std::wstring name = Utf16(resource ? request.name : request.path);
    PlaySoundW(name.c_str(), resource ? static_cast<HMODULE>(request.module) : nullptr, request.flags);
}
