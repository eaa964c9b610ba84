// The image button's attachment and setters.

#include "ImageButtonWin32.h"

#include <cwchar>

#include "CommonControlsWin32.h"
#include "widgets/win32/ImageButtonMessagesWin32.h"

namespace {

// Button types carry their number in the style's low five bits.
constexpr std::uint32_t kButtonTypeMask = 0x1F;

bool IsButtonWindow(HWND window) {
    wchar_t className[16] = {};
    return GetClassNameW(window, className, 16) > 0 && _wcsicmp(className, L"Button") == 0;
}

}  // namespace

CImageButton::CImageButton() { ResetColors(false); }

// The images, cursor, menu, snapshot and tooltip go with their owners.
CImageButton::~CImageButton() { Detach(); }

bool CImageButton::Attach(WindowHandle control) {
    if (!control || m_hwnd || !IsWindow(control) || !IsButtonWindow(control)) return false;
    if (ImageButtonMessages::ButtonOf(control)) return false;  // another image button has it
    const HWND parent = GetParent(control);
    if (!parent) return false;

    const auto style = static_cast<std::uint32_t>(GetWindowLongPtrW(control, GWL_STYLE));
    PreSubclassWindow(style);
    if (!ImageButtonMessages::Follow(control, parent, *this)) return false;
    m_hwnd = control;
    // The control draws nothing itself from now on; the frame change makes it
    // take the new style at once.
    SetWindowLongPtrW(control, GWL_STYLE, static_cast<LONG_PTR>((style & ~kButtonTypeMask) | BS_OWNERDRAW));
    SetWindowPos(control, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_tipText) SetTipText(m_tipText->c_str(), m_tipActive);
    Repaint(true);
    return true;
}

void CImageButton::Detach() {
    if (!m_hwnd) return;
    // The tooltip's tool is the control: it goes with the attachment.
    m_tip.reset();
    ImageButtonMessages::Unfollow(m_hwnd);
    m_hwnd = nullptr;
}

void CImageButton::PreSubclassWindow(std::uint32_t style) { TakeButtonType(style & kButtonTypeMask); }

void CImageButton::Repaint(bool repaint) {
    if (repaint && m_hwnd) InvalidateRect(m_hwnd, nullptr, TRUE);
}

std::uint32_t CImageButton::ResetColors(bool repaint) {
    SetSystemColors(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT));
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetCheckState(int state, bool repaint) {
    if (m_isCheckBox) {
        m_checkState = state != 0;
        Repaint(repaint);
    }
    return IB_OK;
}
