// image-button-gallery.exe: the Linux gallery's window on the Windows dialog
// manager, to look at what the GDI image button does: the four image
// alignments with and without a caption, grey and darker out images made from
// the in image, a check box, a tooltip, a hover cursor, a drop-down menu, a
// transparent face over a striped window, and a disabled button.
//
//   image-button-gallery.exe            shows the window
//   image-button-gallery.exe --states   the same with two buttons hovered and
//                                       two pressed, for a picture of them

#include <array>
#include <cstring>
#include <string>

#include "gallery/GalleryTemplate.h"
#include "widgets/DialogBase.h"
#include "widgets/ImageButton.h"
#include "widgets/win32/CommonControlsWin32.h"

namespace {

using namespace gallery;

// The menu of resource 11 and the cursor of resource 9 come with the test
// resources the gallery is linked with.
constexpr int kMenuResource = 11, kCursorResource = 9;
constexpr int kFirstCommand = 501, kSecondCommand = 502;

// A round icon of `colour` with a black rim, 20 pixels square.
HICON RoundIcon(COLORREF colour) {
    constexpr int kSize = 20;
    HDC screen = GetDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(screen, kSize, kSize);
    HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBRUSH fill = CreateSolidBrush(colour);

    HGDIOBJ old = SelectObject(dc, mask);  // 1 (white) outside the circle
    PatBlt(dc, 0, 0, kSize, kSize, WHITENESS);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Ellipse(dc, 1, 1, kSize - 1, kSize - 1);
    SelectObject(dc, image);
    PatBlt(dc, 0, 0, kSize, kSize, BLACKNESS);
    SelectObject(dc, fill);
    Ellipse(dc, 1, 1, kSize - 1, kSize - 1);
    SelectObject(dc, old);

    ICONINFO info{TRUE, kSize / 2, kSize / 2, mask, image};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(fill);
    DeleteDC(dc);
    DeleteObject(mask);
    DeleteObject(image);
    ReleaseDC(nullptr, screen);
    return icon;
}

// An arrow of `colour` on magenta, the bitmaps' transparent colour.
HBITMAP Arrow(COLORREF colour) {
    constexpr int kSize = 20;
    HDC screen = GetDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(screen, kSize, kSize);
    HDC dc = CreateCompatibleDC(screen);
    HBRUSH back = CreateSolidBrush(kMagenta), fill = CreateSolidBrush(colour);
    HGDIOBJ old = SelectObject(dc, image);
    const RECT all{0, 0, kSize, kSize};
    FillRect(dc, &all, back);
    const POINT arrow[] = {{2, 4}, {18, 10}, {2, 16}};
    SelectObject(dc, fill);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, arrow, 3);
    SelectObject(dc, old);
    DeleteObject(back);
    DeleteObject(fill);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return image;
}

class CGalleryDlg : public CDialogBase {
public:
    explicit CGalleryDlg(bool showStates) : CDialogBase(kTemplate), m_showStates(showStates) {
        OnCommand(kFirstCommand, [this] { MessageBox("The menu's first item was chosen.", "Menu"); });
        OnCommand(kSecondCommand, [this] { MessageBox("The menu's second item was chosen.", "Menu"); });
    }

protected:
    bool OnInitDialog() override {
        for (int i = 0; i < kCount; ++i) m_buttons[i].SubclassDlgItem(kLeft + i, *this);
        SetUpButtons(m_buttons, RoundIcon, Arrow);
        At(kTip).SetTipText(kTipText);
        At(kCursor).SetHoverCursor(kCursorResource, false);
        At(kMenu).SetDropMenu(kMenuResource, Handle(), false, 0, 0, 0, false);
        EnableDlgItem(kDisabled, false);
        SetWindowSubclass(Handle(), StripesProc, 1, reinterpret_cast<DWORD_PTR>(this));
        if (m_showStates) ShowStates();
        return true;
    }

private:
    CImageButton& At(int id) { return m_buttons[static_cast<std::size_t>(id - kLeft)]; }

    void ShowStates() {
        for (const int id : {kLeft, kGrey}) SendMessageW(ItemHandle(id), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        for (const int id : {kAbove, kDarker}) SendMessageW(ItemHandle(id), BM_SETSTATE, TRUE, 0);
    }

    // The stripes that the transparent button shows through, drawn on the
    // window's background.
    static LRESULT CALLBACK StripesProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
        if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, StripesProc, 1);
        if (message != WM_ERASEBKGND) return DefSubclassProc(hwnd, message, wParam, lParam);
        const LRESULT erased = DefSubclassProc(hwnd, message, wParam, lParam);
        const auto* gallery = reinterpret_cast<CGalleryDlg*>(self);
        const auto dc = reinterpret_cast<HDC>(wParam);
        RECT place{};
        GetWindowRect(gallery->ItemHandle(kTransparent), &place);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&place), 2);
        InflateRect(&place, 10, 6);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, place.left, place.top, place.right, place.bottom);
        HPEN pen = CreatePen(PS_SOLID, 4, RGB(120, 160, 230));
        SelectObject(dc, pen);
        const int height = place.bottom - place.top;
        for (int x = place.left - height; x < place.right; x += 10) {
            MoveToEx(dc, x, place.bottom, nullptr);
            LineTo(dc, x + height, place.top);
        }
        RestoreDC(dc, saved);
        DeleteObject(pen);
        return erased;
    }

    bool m_showStates;
    std::array<CImageButton, kCount> m_buttons;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR commandLine, int /*show*/) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CGalleryDlg gallery(commandLine && std::wcsstr(commandLine, L"--states") != nullptr);
    return gallery.DoModal() >= 0 ? 0 : 1;
}
