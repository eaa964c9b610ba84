#include "ModelessKeyboardWin32.h"

#include <algorithm>
#include <vector>

#include "Win32Api.h"

namespace {

// A message filter gets no context of its own, so the windows it serves and
// its hook are kept per thread: a window's messages come to its own thread.
struct FilterState {
    std::vector<HWND> windows;
    HHOOK hook = nullptr;
    // IsDialogMessage itself hands the message to the filter again.
    bool routing = false;
};

FilterState& State() {
    thread_local FilterState state;
    return state;
}

LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) {
    if ((code == MSGF_DIALOGBOX || code == MSGF_MESSAGEBOX) &&
        CModelessKeyboard::Route(*reinterpret_cast<MSG*>(lParam)))
        return TRUE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void CModelessKeyboard::Attach(HWND window) {
    Detach();
    if (window == nullptr) return;
    FilterState& state = State();
    if (state.windows.empty()) state.hook = SetWindowsHookExW(WH_MSGFILTER, &Filter, nullptr, GetCurrentThreadId());
    state.windows.push_back(window);
    m_window = window;
}

void CModelessKeyboard::Detach() {
    if (m_window == nullptr) return;
    FilterState& state = State();
    std::erase(state.windows, m_window);
    m_window = nullptr;
    if (state.windows.empty() && state.hook != nullptr) {
        UnhookWindowsHookEx(state.hook);
        state.hook = nullptr;
    }
}

bool CModelessKeyboard::Route(MSG& msg) {
    FilterState& state = State();
    if (state.routing || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || msg.hwnd == nullptr) return false;
    for (HWND window : state.windows) {
        if (window != msg.hwnd && !IsChild(window, msg.hwnd)) continue;
        state.routing = true;
        const bool handled = IsDialogMessageW(window, &msg) != FALSE;
        state.routing = false;
        return handled;
    }
    return false;
}
