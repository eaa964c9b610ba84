// Windows of their own, canvas controls and large static texts on the
// Windows dialogs.

#include "DialogBaseWin32.h"

#include <cmath>

#include "CanvasWin32.h"
#include "TextWin32.h"

void CDialogBase::ShowModeless() {
    if (m_hwnd == nullptr || m_ending) Create();
    if (m_hwnd == nullptr) return;
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
