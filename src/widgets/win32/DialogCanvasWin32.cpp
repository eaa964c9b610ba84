// Windows of their own, canvas controls and large static texts on the
// Windows dialogs.

#include "DialogBaseWin32.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "CanvasWin32.h"
#include "TextWin32.h"

namespace {

// The modeless dialogs of the window thread, and the hook through which they
// get their keyboard: the dialog manager's modal loop (the main window's)
// passes every message of the thread to the message filter before it looks at
// it, and a modeless dialog's keys need IsDialogMessage as its own loop would
// call it.
struct ModelessKeys {
    std::vector<HWND> windows;
    HHOOK hook = nullptr;
    bool inside = false;  // IsDialogMessage calls the filter again
};
thread_local ModelessKeys t_modeless;

LRESULT CALLBACK FilterModelessKeys(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && !t_modeless.inside && msg != nullptr) {
        for (HWND window : t_modeless.windows) {
            if (msg->hwnd != window && !IsChild(window, msg->hwnd)) continue;
            t_modeless.inside = true;
            const BOOL handled = IsDialogMessageW(window, msg);
            t_modeless.inside = false;
            if (handled) return TRUE;
        }
    }
    return CallNextHookEx(t_modeless.hook, code, wParam, lParam);
}

}  // namespace

void CDialogBase::RegisterModeless(HWND hwnd) {
    auto& windows = t_modeless.windows;
    if (std::find(windows.begin(), windows.end(), hwnd) == windows.end()) windows.push_back(hwnd);
    if (t_modeless.hook == nullptr)
        t_modeless.hook = SetWindowsHookExW(WH_MSGFILTER, &FilterModelessKeys, nullptr, GetCurrentThreadId());
}

void CDialogBase::ForgetModeless(HWND hwnd) {
    auto& windows = t_modeless.windows;
    windows.erase(std::remove(windows.begin(), windows.end(), hwnd), windows.end());
    if (windows.empty() && t_modeless.hook != nullptr) {
        UnhookWindowsHookEx(t_modeless.hook);
        t_modeless.hook = nullptr;
    }
}

void CDialogBase::ShowModeless() {
    if (m_hwnd == nullptr || m_ending) Create();
    if (m_hwnd == nullptr) return;
    RegisterModeless(m_hwnd);
    ShowWindow(m_hwnd, IsIconic(m_hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void CDialogBase::SetCanvasPaint(int id, CanvasPaint paint) {
    m_canvasPaints[id] = std::move(paint);
    RefreshCanvas(id);
}

void CDialogBase::RefreshCanvas(int id) {
    if (HWND canvas = ItemHandle(id)) InvalidateRect(canvas, nullptr, FALSE);
}

bool CDialogBase::SaveCanvasPicture(int id, std::string_view path) {
    const DlgItem* item = FindTemplateItem(id);
    if (item == nullptr || item->kind != DlgItemKind::Canvas) return false;
    return SaveCanvasPng(ItemHandle(id), Utf16(path));
}

bool CDialogBase::PaintCanvas(int id, std::intptr_t request) {
    const auto paint = m_canvasPaints.find(id);
    if (paint == m_canvasPaints.end() || !paint->second || request == 0) return false;
    const auto& canvas = *reinterpret_cast<const CanvasPaintRequest*>(request);
    paint->second(*canvas.painter, canvas.width, canvas.height);
    return true;
}

void CDialogBase::ApplyLargeTextFont() {
    bool wanted = false;
    for (const DlgItem& item : m_template->items) wanted = wanted || (item.style & DlgStyle::LargeText) != 0;
    LOGFONTW large{};
    const auto font = reinterpret_cast<HFONT>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0));
    if (!wanted || font == nullptr || GetObjectW(font, sizeof large, &large) != sizeof large) return;
    large.lfHeight = static_cast<LONG>(std::lround(large.lfHeight * DlgStyle::kLargeTextScale));
    large.lfWeight = FW_BOLD;
    HFONT made = CreateFontIndirectW(&large);
    if (made == nullptr) return;
    for (const DlgItem& item : m_template->items) {
        if (item.style & DlgStyle::LargeText) SendMessageW(ItemHandle(item.id), WM_SETFONT, reinterpret_cast<WPARAM>(made), FALSE);
    }
    // The window that used the previous font is gone: it can go too.
    m_largeFont = {made, [](void* f) { DeleteObject(static_cast<HFONT>(f)); }};
}
