// The Windows image button's images and extras on real (hidden) windows:
// where an icon lands, the images it makes, the tooltip control, the sounds
// and the link through their seams, the drop-down menu popped up and answered,
// the hover cursor and the transparent face's snapshot of the parent.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// Before <windows.h>: its IDOK macro would spoil the declarations here.
#include "res/ResourceIds.h"
#include "Win32TestWindows.h"
#include "widgets/DesktopSeams.h"
#include "widgets/win32/ImageButtonImagesWin32.h"
#include "widgets/win32/ImageButtonWin32.h"

#include <commctrl.h>

namespace {

constexpr int kId = 1200;
constexpr ColorRef kRed = RgbColor(255, 0, 0), kBlue = RgbColor(0, 0, 255), kMagenta = RgbColor(255, 0, 255);
constexpr ColorRef kRest = RgbColor(10, 200, 10), kHot = RgbColor(200, 200, 10);

// A w x h bitmap of the screen's format, every pixel `colour`.
HBITMAP SolidBitmap(int w, int h, ColorRef colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(dc, x, y, colour);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

ColorRef PixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const ColorRef pixel = GetPixel(dc, x, y) & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixel;
}

// An opaque w x h icon of one colour (its hot spot, and so its size, is
// the middle).
HICON SolidIcon(int w, int h, ColorRef colour) {
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);  // all 0: opaque
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    PatBlt(dc, 0, 0, w, h, BLACKNESS);
    SelectObject(dc, old);
    DeleteDC(dc);
    HBITMAP colourBitmap = SolidBitmap(w, h, colour);
    ICONINFO info{TRUE, static_cast<DWORD>(w / 2), static_cast<DWORD>(h / 2), mask, colourBitmap};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colourBitmap);
    return icon;
}

// The top-left corner of the first run of `colour` in the picture, or (-1, -1).
POINT FirstOf(const Picture& picture, ColorRef colour) {
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.At(x, y) == colour) return {x, y};
    return {-1, -1};
}

std::wstring TipText(HWND tip, HWND button) {
    wchar_t text[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = button;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return text;
}

class ImageButtonExtrasWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(parent.Handle(), nullptr) << "Wine cannot make windows here: it needs an X display (xvfb-run)";
        control = parent.AddButton(kId, L"", BS_PUSHBUTTON);  // 40 x 30 at (10, 10)
        ASSERT_TRUE(button.Attach(control));
        button.SetStateColor(IB_COLOR_NORMAL_BACK, kRest, false);
        button.SetStateColor(IB_COLOR_HOT_BACK, kHot, false);
    }
    void TearDown() override {
        SetSoundHook({});
        SetUrlOpenHook({});
    }
    void Hover(bool over) {
        if (over) {
            SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        } else {
            SendMessageW(control, WM_MOUSELEAVE, 0, 0);
        }
    }

    TestParent parent;
    HWND control = nullptr;
    CImageButton button;
};

TEST_F(ImageButtonExtrasWin32, IconLandsWhereEachAlignmentPutsIt) {
    struct Case {
        std::uint8_t align;
        const wchar_t* text;
        UINT state;
        POINT corner;
    };
    // 8 x 8 in a 40 x 30 button; the image margin is (3, 3).
    const Case cases[] = {
        {IB_ALIGN_IMAGE_LEFT, L"", 0, {16, 11}},
        {IB_ALIGN_IMAGE_LEFT, L"A", 0, {3, 11}},
        {IB_ALIGN_IMAGE_ABOVE, L"", 0, {16, 11}},
        {IB_ALIGN_IMAGE_ABOVE, L"A", 0, {16, 3}},
        {IB_ALIGN_IMAGE_RIGHT, L"", 0, {16, 0}},
        {IB_ALIGN_IMAGE_RIGHT, L"A", 0, {29, 11}},
        {IB_ALIGN_CORNER, L"", 0, {0, 0}},
        {IB_ALIGN_CORNER, L"", ODS_SELECTED, {1, 1}},
        {IB_ALIGN_IMAGE_LEFT, L"", ODS_SELECTED, {17, 12}},
    };
    ASSERT_EQ(button.SetIconPair(SolidIcon(8, 8, kRed)), IB_OK);
    for (const Case& c : cases) {
        SetWindowTextW(control, c.text);
        button.SetImageAlign(c.align, false);
        const POINT at = FirstOf(parent.DrawRecord(control, c.state), kRed);
        EXPECT_EQ(at.x, c.corner.x) << int(c.align) << " text '" << (*c.text ? "A" : "") << "' state " << c.state;
        EXPECT_EQ(at.y, c.corner.y) << int(c.align) << " text '" << (*c.text ? "A" : "") << "' state " << c.state;
    }
    button.SetPressShift(IB_PRESS_DOWN, false);
    button.SetImageAlign(IB_ALIGN_CORNER, false);
    SetWindowTextW(control, L"");
    const POINT down = FirstOf(parent.DrawRecord(control, ODS_SELECTED), kRed);
    EXPECT_EQ(down.x, 0) << "pressed down by (0, 2)";
    EXPECT_EQ(down.y, 2) << "pressed down by (0, 2)";

    EXPECT_NE(FirstOf(parent.DrawRecord(control, ODS_DISABLED), kRed).x, 0) << "disabled: embossed, not red";
    EXPECT_TRUE(button.FitToImage());
    RECT size{};
    GetClientRect(control, &size);
    EXPECT_EQ(size.right, 8);
    EXPECT_EQ(size.bottom, 8);
}

TEST_F(ImageButtonExtrasWin32, GreyDarkerAndMaskFromKnownPixels) {
    HBITMAP bitmap = SolidBitmap(3, 1, kMagenta);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetPixel(dc, 1, 0, RGB(200, 100, 50));
    SetPixel(dc, 2, 0, RGB(10, 20, 30));
    SelectObject(dc, old);
    DeleteDC(dc);

    const CImageButton::OwnedBitmap grey(MakeGreyBitmap(bitmap, 3, 1, kMagenta));
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(PixelOf(grey.get(), 0, 0), kMagenta) << "the transparent colour stays";
    EXPECT_EQ(PixelOf(grey.get(), 1, 0), RgbColor(124, 124, 124));  // 59.8 + 58.7 + 5.7
    EXPECT_EQ(PixelOf(grey.get(), 2, 0), RgbColor(18, 18, 18));
    const CImageButton::OwnedBitmap dark(MakeDarkBitmap(bitmap, 3, 1, kMagenta));
    EXPECT_EQ(PixelOf(dark.get(), 1, 0), RgbColor(150, 75, 37));

    const CImageButton::OwnedBitmap mask(MakeMask(bitmap, 3, 1, kMagenta));
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(PixelOf(mask.get(), 0, 0), RgbColor(255, 255, 255));
    EXPECT_EQ(PixelOf(mask.get(), 1, 0), 0u);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), 0u) << "the source goes black under its mask";
    EXPECT_EQ(MakeMask(nullptr, 3, 1, kMagenta), nullptr);
    DeleteObject(bitmap);

    const CImageButton::OwnedIcon icon(SolidIcon(4, 4, RgbColor(200, 100, 50)));
    const CImageButton::OwnedIcon greyIcon(MakeGreyIcon(icon.get()));
    ASSERT_NE(greyIcon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(greyIcon.get(), &info));
    EXPECT_EQ(info.xHotspot, 2u) << "the source's size";
    EXPECT_EQ(PixelOf(info.hbmColor, 1, 1), RgbColor(124, 124, 124));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    ASSERT_TRUE(GetIconInfo(icon.get(), &info)) << "the source is left as it was";
    EXPECT_EQ(PixelOf(info.hbmColor, 1, 1), RgbColor(200, 100, 50));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(ImageButtonExtrasWin32, ImagesShowBySlotThroughTheirMaskAndOneKindAtATime) {
    // The grey out image at rest, the in image while hot.
    ASSERT_EQ(button.SetIconPair(SolidIcon(8, 8, kRed), IB_MAKE_GREY), IB_OK);
    EXPECT_NE(FirstOf(parent.DrawRecord(control, 0), GreyColor(kRed)).x, -1);
    Hover(true);
    EXPECT_NE(FirstOf(parent.DrawRecord(control, 0), kRed).x, -1);
    Hover(false);

    // The bitmap resource on magenta: the face shows where magenta was.
    ASSERT_EQ(button.SetBitmapPair(7, kMagenta, IB_MAKE_DARKER, 0), IB_OK);
    button.SetImageAlign(IB_ALIGN_CORNER, false);
    Picture face = parent.DrawRecord(control, 0);
    EXPECT_EQ(FirstOf(face, kRed).x, -1) << "the icons are gone, the darker bitmap shows";
    EXPECT_EQ(face.At(0, 0), kRest) << "through the mask";
    EXPECT_EQ(face.At(1, 0), DarkenColor(kRed, kDarkerFactor));
    EXPECT_EQ(face.At(2, 0), DarkenColor(kBlue, kDarkerFactor));
    Hover(true);
    face = parent.DrawRecord(control, 0);
    EXPECT_EQ(face.At(3, 0), GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF) << "the hot edge, through the mask";
    EXPECT_EQ(face.At(1, 0), kRed);
    EXPECT_EQ(face.At(3, 1), kBlue);
    EXPECT_NE(parent.DrawRecord(control, ODS_DISABLED).At(1, 0), kRed) << "disabled: embossed";

    EXPECT_EQ(button.SetBitmapPair(404, kMagenta, 0, 0), IB_NO_RESOURCE);
    EXPECT_FALSE(button.FitToImage()) << "a failed call leaves no image";
    EXPECT_EQ(button.SetIconPair(404, IB_MAKE_GREY), IB_NO_RESOURCE);
    EXPECT_EQ(button.SetIconPair(IDR_MAINFRAME, 0, 0, IB_MAKE_DARKER, 0, 0), IB_OK) << "the application icon";
    EXPECT_EQ(button.SetBitmapPair(nullptr, 0, IB_MAKE_GREY), IB_OK) << "none at all";
    EXPECT_FALSE(button.FitToImage());
}

TEST_F(ImageButtonExtrasWin32, TooltipHasOneToolWhoseTextIsTheLastSet) {
    button.SetTipText(static_cast<const char*>(nullptr));
    EXPECT_EQ(button.TipHandle(), nullptr) << "a null text does nothing";
    button.UseBalloonTip();
    button.SetTipText("Configure this address");
    const HWND tip = button.TipHandle();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(TipText(tip, control), L"Configure this address");
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 400);
    EXPECT_TRUE(GetWindowLongPtrW(tip, GWL_STYLE) & TTS_BALLOON);
    button.SetTipText("Clear 温度 address", false);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(TipText(tip, control), L"Clear 温度 address");
    button.SetTipText(9999);  // no such string: nothing
    EXPECT_EQ(TipText(tip, control), L"Clear 温度 address");
    Hover(true);  // relayed to the tooltip without trouble
    EXPECT_EQ(button.TipHandle(), tip) << "made once";
    SetWindowPos(control, nullptr, 0, 0, 60, 45, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = control;
    tool.uId = 1;
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.rect.right, 60) << "the tool follows the button's size";
    EXPECT_EQ(tool.rect.bottom, 45);
    DestroyWindow(control);
    EXPECT_FALSE(IsWindow(tip)) << "the tooltip goes with its button's window";

    CImageButton early;
    early.SetTipText("Set before attaching");
    HWND later = parent.AddButton(kId + 5, L"", BS_PUSHBUTTON);
    ASSERT_TRUE(early.Attach(later));
    ASSERT_NE(early.TipHandle(), nullptr);
    EXPECT_EQ(TipText(early.TipHandle(), later), L"Set before attaching") << "kept for the attachment";
}

TEST_F(ImageButtonExtrasWin32, SoundsReachTheSoundCallWithTheirNamesAndFlags) {
    std::vector<SoundRequest> played;
    SetSoundHook([&](const SoundRequest& request) { played.push_back(request); });
    wchar_t folder[MAX_PATH], file[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    ASSERT_NE(GetTempFileNameW(folder, L"snd", 0, file), 0u);
    char path[MAX_PATH * 3];
    WideCharToMultiByte(CP_UTF8, 0, file, -1, path, sizeof(path), nullptr, nullptr);
    const HINSTANCE module = GetModuleHandleW(nullptr);

    ASSERT_EQ(button.SetSoundFor(path, nullptr, false, true), IB_OK);
    ASSERT_EQ(button.SetSoundFor("click", module, true, false), IB_OK);
    EXPECT_EQ(button.SetSoundFor("missing", module, true, false), IB_NO_RESOURCE);
    EXPECT_EQ(button.SetSoundFor("C:\\no\\such\\sound.wav", nullptr, true, false), IB_NO_RESOURCE);
    EXPECT_EQ(button.SetSoundFor(std::string(260, 'x').c_str(), nullptr, true, false), IB_BAD_ARGUMENT);

    Hover(true);
    Hover(true);
    ASSERT_EQ(played.size(), 1u) << "once, as hovering begins";
    EXPECT_EQ(played[0].path, path);
    EXPECT_EQ(played[0].flags, kSndFileName | kSndNoDefault | kSndNoWait | kSndAsync);
    SendMessageW(control, BM_CLICK, 0, 0);
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[1].name, "click");
    EXPECT_EQ(played[1].module, module);
    EXPECT_EQ(played[1].flags, kSndResource | kSndNoDefault | kSndNoWait);
    EXPECT_EQ(parent.ClicksFrom(kId), 1) << "the parent still hears the click";

    button.SetSoundFor(nullptr, nullptr, true, false);
    SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_EQ(played.size(), 2u) << "an emptied slot plays nothing";
    DeleteFileW(file);
}

TEST_F(ImageButtonExtrasWin32, LinkOpensThroughTheShellSeam) {
    std::vector<std::string> opened;
    SetUrlOpenHook([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    ASSERT_EQ(button.SetLinkUrl("https://example.invalid/manual"), IB_OK);
    EXPECT_EQ(button.SetLinkUrl(std::string(260, 'a').c_str()), IB_BAD_ARGUMENT);
    SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.invalid/manual"});
}

// The menu's own loop runs the thread's timers: this one answers the menu as
// the operator would, with the keyboard.
struct MenuAnswer {
    static inline CImageButton* button = nullptr;
    static inline bool shownWhileOpen = false;
    static inline bool found = false;
    static void CALLBACK Answer(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        shownWhileOpen = button->IsMenuShown();
        const HWND menu = FindWindowW(L"#32768", nullptr);
        found = menu != nullptr;
        for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageW(menu, WM_KEYDOWN, key, 0);
            PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
        }
    }
};

// Told of the menu just before it opens.
struct Notified {
    UINT message = 0;
    HMENU submenu = nullptr;
    LPARAM value = 0;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        if (message == WM_APP + 7) {
            auto* notified = reinterpret_cast<Notified*>(self);
            *notified = {message, reinterpret_cast<HMENU>(wParam), lParam};
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
};

TEST_F(ImageButtonExtrasWin32, DropMenuPopsUpAtTheButtonAndItsCommandReachesTheOwner) {
    EXPECT_EQ(button.SetDropMenu(404, parent.Handle(), true, 0, 0, 0), IB_NO_RESOURCE);
    ASSERT_EQ(button.SetDropMenu(11, parent.Handle(), true, 0, 0, 0), IB_OK);
    HWND target = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    Notified notified;
    SetWindowSubclass(target, Notified::Proc, 1, reinterpret_cast<DWORD_PTR>(&notified));
    button.SetMenuNotify(target, WM_APP + 7, 77);

    ShowWindow(parent.Handle(), SW_SHOWNOACTIVATE);
    MenuAnswer::button = &button;
    SetTimer(nullptr, 0, 100, MenuAnswer::Answer);
    SendMessageW(control, BM_CLICK, 0, 0);  // returns once the menu is answered
    EXPECT_TRUE(MenuAnswer::found) << "the menu was up";
    EXPECT_TRUE(MenuAnswer::shownWhileOpen) << "drawn pressed while open";
    EXPECT_FALSE(button.IsMenuShown());
    EXPECT_EQ(notified.value, 77);
    EXPECT_NE(notified.submenu, nullptr);
    PumpMessages(std::chrono::milliseconds(50));
    EXPECT_EQ(parent.ClicksFrom(kId), 1) << "the click itself";
    EXPECT_EQ(parent.ClicksFrom(502), 1) << "the second item, posted to the owner as its command";
    EXPECT_EQ(parent.ClicksFrom(501), 0);
    DestroyWindow(target);
}

TEST_F(ImageButtonExtrasWin32, DropMenuItemsTakeTheToolbarsImagesOnTheMenusColour) {
    EXPECT_EQ(button.SetDropMenu(11, parent.Handle(), false, 404, 4, kMagenta), IB_NO_RESOURCE);
    EXPECT_EQ(button.SetDropMenu(11, parent.Handle(), false, 13, 0, kMagenta), IB_NO_RESOURCE) << "no image size";
    ASSERT_EQ(button.SetDropMenu(11, parent.Handle(), false, 13, 4, kMagenta), IB_OK);
    // The menu that drops, as its owner is told of it; closed unanswered.
    HMENU shown = nullptr;
    struct Capture {
        static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR out) {
            if (message == WM_APP + 8) *reinterpret_cast<HMENU*>(out) = reinterpret_cast<HMENU>(wParam);
            return DefSubclassProc(hwnd, message, wParam, lParam);
        }
    };
    SetWindowSubclass(parent.Handle(), Capture::Proc, 2, reinterpret_cast<DWORD_PTR>(&shown));
    button.SetMenuNotify(parent.Handle(), WM_APP + 8, 0);
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        EndMenu();
    });
    SendMessageW(control, BM_CLICK, 0, 0);
    RemoveWindowSubclass(parent.Handle(), Capture::Proc, 2);
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(GetMenuItemCount(shown), 3);
    for (const int item : {0, 2}) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP;
        ASSERT_TRUE(GetMenuItemInfoW(shown, item, TRUE, &info));
        ASSERT_NE(info.hbmpItem, nullptr) << "item " << item;
        EXPECT_EQ(PixelOf(info.hbmpItem, 1, 1), item == 0 ? kRed : kBlue);
        EXPECT_EQ(PixelOf(info.hbmpItem, 0, 0), GetSysColor(COLOR_MENU) & 0xFFFFFF) << "the background, on the menu's colour";
    }
    PumpMessages(std::chrono::milliseconds(20));
    EXPECT_EQ(parent.ClicksFrom(501) + parent.ClicksFrom(502), 0) << "a menu closed without a choice sends nothing";
}

TEST_F(ImageButtonExtrasWin32, HoverCursorFromTheResources) {
    EXPECT_EQ(button.SetHoverCursor(404), IB_NO_RESOURCE);
    EXPECT_FALSE(button.HasHoverCursor());
    ASSERT_EQ(button.SetHoverCursor(9), IB_OK);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    EXPECT_EQ(SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))) << "the button's cursor is up";
    EXPECT_EQ(button.SetHoverCursor(0), IB_OK);
    EXPECT_FALSE(button.HasHoverCursor());
}

TEST_F(ImageButtonExtrasWin32, TransparentFaceIsTheParentTakenOnce) {
    // The parent's client area as a picture: green where the button sits.
    PictureDc parentPicture(400, 300);
    RECT under{10, 10, 50, 40};
    const HBRUSH green = CreateSolidBrush(RgbColor(0, 160, 0));
    FillRect(parentPicture.Dc(), &under, green);
    EXPECT_EQ(button.CaptureBackground(parentPicture.Dc()), IB_BAD_ARGUMENT) << "not transparent yet";
    button.SetTransparent(false);
    EXPECT_EQ(button.CaptureBackground(nullptr), IB_BAD_ARGUMENT);
    ASSERT_EQ(button.CaptureBackground(parentPicture.Dc()), IB_OK);
    EXPECT_EQ(TestParent::Print(control).At(20, 15), RgbColor(0, 160, 0));
    PatBlt(parentPicture.Dc(), 0, 0, 400, 300, BLACKNESS);
    EXPECT_EQ(TestParent::Print(control).At(20, 15), RgbColor(0, 160, 0)) << "the snapshot is kept";

    // Dropped by SetTransparent: the next paint takes the parent from the
    // screen.
    ShowWindow(parent.Handle(), SW_SHOWNOACTIVATE);
    button.SetTransparent(false);
    EXPECT_FALSE(button.HasBackgroundSnapshot());
    HDC screen = GetDC(parent.Handle());
    FillRect(screen, &under, green);
    ReleaseDC(parent.Handle(), screen);
    EXPECT_EQ(TestParent::Print(control).At(20, 15), RgbColor(0, 160, 0));
    EXPECT_TRUE(button.HasBackgroundSnapshot());
    SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_FALSE(button.HasBackgroundSnapshot()) << "stale after a colour change";
    DeleteObject(green);
}

}  // namespace

namespace {

// The ink of black text in a picture: its width, or 0 when there is none.
int InkWidth(const Picture& picture) {
    int left = picture.width, right = -1;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.At(x, y) == 0) left = std::min(left, x), right = std::max(right, x);
    return right < 0 ? 0 : right - left + 1;
}

// Glyphs may reach a pixel or two beyond the text's measured extent (the
// stand-in for the dialogs' font does): the caption shows them all the same.
TEST_F(ImageButtonExtrasWin32, CaptionBesideAnImageIsDrawnWhole) {
    constexpr wchar_t kText[] = L"Check box";
    const HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"\u5b8b\u4f53");
    PictureDc reference(200, 40);
    PatBlt(reference.Dc(), 0, 0, 200, 40, WHITENESS);
    SelectObject(reference.Dc(), font);
    RECT anywhere{0, 0, 200, 40};
    DrawTextW(reference.Dc(), kText, -1, &anywhere, DT_SINGLELINE | DT_NOCLIP);
    const int whole = InkWidth(reference.Take());
    ASSERT_GT(whole, 0);

    HWND wide = parent.AddButton(kId + 1, kText, BS_PUSHBUTTON, 10, 60, 105, 45);
    SendMessageW(wide, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    CImageButton captioned;
    ASSERT_TRUE(captioned.Attach(wide));
    captioned.SetStateColor(IB_COLOR_NORMAL_BACK, kRest, false);
    captioned.SetStateColor(IB_COLOR_NORMAL_TEXT, RgbColor(0, 0, 0), false);
    for (const std::uint8_t align : {IB_ALIGN_IMAGE_LEFT, IB_ALIGN_IMAGE_ABOVE, IB_ALIGN_IMAGE_RIGHT}) {
        captioned.SetIconPair(SolidIcon(20, 20, kRed));
        captioned.SetImageAlign(align, false);
        EXPECT_EQ(InkWidth(TestParent::Print(wide)), whole) << "alignment " << int(align);
    }
    DestroyWindow(wide);
    DeleteObject(font);
}

}  // namespace
