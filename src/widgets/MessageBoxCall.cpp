// The platform-free half of the message-box seam: the hook the tests set and
// the text a box copies.

#include "MessageBoxCall.h"

namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

const MessageBoxHook& CurrentMessageBoxHook() { return Hook(); }

// Windows follows each button's caption with three blanks.
std::string MessageBoxClipboardText(const MessageBoxCall& call, const char* lineEnd) {
    const std::string end = lineEnd ? lineEnd : "\n";
    const std::string rule = "---------------------------" + end;
    return rule + call.caption + end + rule + call.text + end + rule + "OK   " + end + rule;
}
