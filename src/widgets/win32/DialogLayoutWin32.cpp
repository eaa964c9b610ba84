#include "DialogLayoutWin32.h"

#include <algorithm>
#include <vector>

#include "Win32Api.h"

namespace {

struct FontHeights {
    int cell = 0;  // the character cell: the dialog manager's base height
    int em = 0;
};

FontHeights DialogFontHeights(HWND dialog) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    TEXTMETRICW metrics = {};
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    // The dialog manager asks for the font by its em (a negative height from
    // the point size); that is the height the template's font would have.
    LOGFONTW asked = {};
    GetObjectW(font, sizeof asked, &asked);
    const int em = asked.lfHeight < 0 ? -asked.lfHeight : metrics.tmHeight - metrics.tmInternalLeading;
    return {metrics.tmHeight, std::min<int>(em, metrics.tmHeight)};
}

bool IsStaticText(DlgItemKind kind) {
    return kind == DlgItemKind::LText || kind == DlgItemKind::RText || kind == DlgItemKind::CText;
}

// The controls in the order the dialog manager made them (the tab order).
std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);
    return controls;
}

}  // namespace

void FitDialogUnitsToEm(HWND dialog, const DlgTemplate& tmpl) {
    const FontHeights font = DialogFontHeights(dialog);
    if (font.em <= 0 || font.em >= font.cell) return;
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    const int baseX = units.right;
    const int baseY = font.em;
    const auto x = [baseX](int du) { return MulDiv(du, baseX, 4); };
    const auto y = [baseY](int du) { return MulDiv(du, baseY, 8); };

    const std::vector<HWND> controls = Controls(dialog);
    if (controls.size() != tmpl.items.size()) return;  // not the template's window
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const DlgItem& item = tmpl.items[i];
        int top = y(item.y);
        int height = y(item.cy);
        if (IsStaticText(item.kind) && height < font.cell) {
            const int grow = font.cell - height;
            top -= grow / 2;
            height = font.cell;
        }
        // An icon control keeps the icon's size.
        const UINT keepSize = item.kind == DlgItemKind::Icon ? SWP_NOSIZE : 0;
        SetWindowPos(controls[i], nullptr, x(item.x), top, x(item.cx), height,
                     SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
    }

    // The window keeps its centre.
    RECT frame = {0, 0, x(tmpl.cx), y(tmpl.cy)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    RECT old = {};
    GetWindowRect(dialog, &old);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (old.left + old.right - width) / 2, (old.top + old.bottom - height) / 2, width,
                 height, SWP_NOZORDER | SWP_NOACTIVATE);
}
