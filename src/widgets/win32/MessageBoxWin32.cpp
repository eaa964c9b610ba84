#include "MessageBoxWin32.h"

#include "TextWin32.h"
#include "Win32Api.h"

namespace {

UINT IconStyle(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Question: return MB_ICONQUESTION;
        case MsgIcon::Stop: return MB_ICONHAND;
        case MsgIcon::Warning: return MB_ICONWARNING;
        case MsgIcon::Information: return MB_ICONINFORMATION;
        case MsgIcon::None: break;
    }
    return 0;
}

}  // namespace

int ShowSystemMessageBox(HWND owner, const MessageBoxCall& call) {
    return MessageBoxW(owner, Utf16(call.text).c_str(), Utf16(call.caption).c_str(), MB_OK | IconStyle(call.icon));
}
