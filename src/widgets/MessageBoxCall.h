#pragma once
// Every message box of the program goes through one seam, so that tests can
// replace the box with a recorder and see text, caption and icon without a
// modal loop. The platform's box (qt/MessageBoxQt.h: a Qt box on Linux, MessageBoxW
// on Windows) runs only when no hook is set.

#include <functional>
#include <string>

enum class MsgIcon { None, Question, Stop, Warning, Information };

struct MessageBoxCall {
    std::string text;     // UTF-8
    std::string caption;  // already resolved: the application's name when none was given
    MsgIcon icon = MsgIcon::None;
};

// Replaces the real box; an empty function puts the real box back. The hook
// returns the button pressed (IDOK: 1).
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);
// The hook in place, or an empty function (for the backends).
const MessageBoxHook& CurrentMessageBoxHook();

// The text a box puts on the clipboard for Ctrl+C, as the Windows boxes do:
// dashed line, caption, dashed line, text, dashed line, buttons (each caption
// followed by three blanks: "OK   "), dashed line; every line ends in
// `lineEnd` ("\n" on the Linux clipboard, "\r\n" on Windows).
std::string MessageBoxClipboardText(const MessageBoxCall& call, const char* lineEnd = "\n");
