// The image button's attachment and setters.

#include "ImageButtonWin32.h"

#include <cwchar>

#include "CommonControlsWin32.h"
#include "widgets/ColorShade.h"
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
    Repaint(true);
    return true;
}

void CImageButton::Detach() {
    if (!m_hwnd) return;
    ImageButtonMessages::Unfollow(m_hwnd);
    m_hwnd = nullptr;
}

void CImageButton::PreSubclassWindow(std::uint32_t style) {
    // Types 2, 3, 6, 7, 10 and 11 carry bit 2: the check boxes, the group box,
    // the push box and a control that is owner-drawn already.
    const std::uint32_t type = style & kButtonTypeMask;
    m_isCheckBox = (type & 2) != 0;
    if (type == BS_DEFPUSHBUTTON) m_isDefault = true;
}

void CImageButton::Repaint(bool repaint) {
    if (repaint && m_hwnd) InvalidateRect(m_hwnd, nullptr, TRUE);
}

std::uint32_t CImageButton::SetStateColor(std::uint8_t index, ColorRef color, bool repaint) {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    m_colors[index] = color & 0x00FFFFFF;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::GetStateColor(std::uint8_t index, ColorRef& color) const {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    color = m_colors[index];
    return IB_OK;
}

std::uint32_t CImageButton::ShiftStateColor(std::uint8_t index, std::int16_t shade, bool repaint) {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    if (shade < -kMaxColorShade || shade > kMaxColorShade) return IB_BAD_ARGUMENT;
    m_colors[index] = ShiftedColor(m_colors[index], shade);
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::ResetColors(bool repaint) {
    const ColorRef face = GetSysColor(COLOR_BTNFACE) & 0x00FFFFFF;
    const ColorRef text = GetSysColor(COLOR_BTNTEXT) & 0x00FFFFFF;
    m_colors = {face, text, face, text, face, text};
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetFlatLook(bool flat, bool repaint) {
    m_flat = flat;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetFlatBorder(bool on, bool repaint) {
    m_drawBorder = on;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetFlatFocus(bool on, bool repaint) {
    m_drawFlatFocus = on;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetHoverAlways(bool on) {
    m_alwaysTrack = on;
    return IB_OK;
}

std::uint32_t CImageButton::SetImageAlign(std::uint8_t align, bool repaint) {
    if (align > IB_ALIGN_CORNER) return IB_BAD_ALIGN;
    m_align = align;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetPressShift(std::uint8_t style, bool repaint) {
    switch (style) {
        case IB_PRESS_DIAGONAL: m_pressShift = {1, 1}; break;
        case IB_PRESS_DOWN: m_pressShift = {0, 2}; break;
        default: return IB_BAD_PRESS_STYLE;
    }
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
