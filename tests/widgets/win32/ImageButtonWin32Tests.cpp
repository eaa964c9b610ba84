// The Windows image button on a real (hidden) window: what its face looks
// like in each state, read from a memory bitmap the button draws into.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "Win32TestWindows.h"
#include "widgets/win32/ImageButtonWin32.h"

namespace {

constexpr ColorRef kGrey = RgbColor(120, 123, 135);   // address not configured
constexpr ColorRef kGreen = RgbColor(132, 202, 53);   // address configured
constexpr ColorRef kHot = RgbColor(200, 10, 10);
constexpr ColorRef kFocus = RgbColor(10, 10, 200);
constexpr ColorRef kRest = RgbColor(10, 200, 10);
constexpr int kId = 1139;

ColorRef Sys(int index) { return GetSysColor(index) & 0xFFFFFF; }

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

class ImageButtonWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(parent.Handle(), nullptr) << "Wine cannot make windows here: it needs an X display (xvfb-run)";
        control = parent.AddButton(kId, L"", BS_PUSHBUTTON);
        ASSERT_TRUE(button.Attach(control));
    }

    TestParent parent;
    HWND control = nullptr;
    CImageButton button;
};

// One walk of the mouse and the owner-draw states over the button: hover
// follows the mouse but not a drag from elsewhere, and the face is hot before
// focused before at rest, raised while hot and sunken while pressed.
TEST_F(ImageButtonWin32, HoverFollowsTheMouseAndHotComesBeforeFocusedBeforeRest) {
    const ColorRef light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
    struct Step {
        const char* name;
        UINT message;
        WPARAM keys;
        LPARAM where;
        UINT itemState;
        bool hot;
        ColorRef face, topLeft, bottomRight;
    };
    const Step steps[] = {
        {"dragged in from elsewhere: at rest", WM_MOUSEMOVE, MK_LBUTTON, Point(5, 5), 0, false, kRest, kRest, kRest},
        {"focused", WM_MOUSELEAVE, 0, 0, ODS_FOCUS, false, kFocus, kFocus, kFocus},
        {"hovered", WM_MOUSEMOVE, 0, Point(5, 5), 0, true, kHot, light, shadow},
        {"hovered and focused", WM_MOUSEMOVE, 0, Point(5, 5), ODS_FOCUS, true, kHot, light, shadow},
        {"pressed on it: stays hot", WM_MOUSEMOVE, MK_LBUTTON, Point(6, 6), 0, true, kHot, light, shadow},
        {"captured move off the button", WM_MOUSEMOVE, 0, Point(45, 5), 0, false, kRest, kRest, kRest},
        {"pressed", WM_MOUSELEAVE, 0, 0, ODS_SELECTED, false, kHot, shadow, light},
        {"pressed and focused", WM_MOUSELEAVE, 0, 0, ODS_SELECTED | ODS_FOCUS, false, kHot, shadow, light},
        {"back over it", WM_MOUSEMOVE, 0, Point(5, 5), 0, true, kHot, light, shadow},
        {"mouse left", WM_MOUSELEAVE, 0, 0, 0, false, kRest, kRest, kRest},
        {"over it again", WM_MOUSEMOVE, 0, Point(5, 5), 0, true, kHot, light, shadow},
        {"focus lost", WM_KILLFOCUS, 0, 0, 0, false, kRest, kRest, kRest},
    };
    button.SetStateColor(IB_COLOR_HOT_BACK, kHot);
    button.SetStateColor(IB_COLOR_NORMAL_BACK, kRest);
    button.SetStateColor(IB_COLOR_FOCUS_BACK, kFocus);
    for (const Step& s : steps) {
        SendMessageW(control, s.message, s.keys, s.where);
        ASSERT_EQ(button.IsHot(), s.hot) << s.name;
        EXPECT_EQ(TestParent::Print(control).At(20, 15), s.hot ? kHot : kRest) << s.name << ": its own paint";
        const Picture face = parent.DrawRecord(control, s.itemState);
        EXPECT_EQ(face.At(20, 15), s.face) << s.name;
        EXPECT_EQ(face.At(0, 0), s.topLeft) << s.name;
        EXPECT_EQ(face.At(39, 29), s.bottomRight) << s.name;
    }
    button.SetFlatLook(false);
    SendMessageW(control, WM_MOUSEMOVE, 0, Point(5, 5));
    EXPECT_FALSE(button.IsHot()) << "only the flat look tracks the mouse";
}

TEST_F(ImageButtonWin32, CaptionWrapsIntoTheButtonCentred) {
    HWND wide = parent.AddButton(kId + 1, L"Clear config para", BS_PUSHBUTTON, 10, 60, 70, 60);
    CImageButton captioned;
    ASSERT_TRUE(captioned.Attach(wide));
    captioned.SetStateColor(IB_COLOR_NORMAL_BACK, kGrey);
    captioned.SetStateColor(IB_COLOR_NORMAL_TEXT, RgbColor(0, 0, 0));
    const Picture face = TestParent::Print(wide);

    int left = face.width, right = -1, top = face.height, bottom = -1;
    for (int y = 0; y < face.height; ++y) {
        for (int x = 0; x < face.width; ++x) {
            if (face.At(x, y) == kGrey) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    ASSERT_GE(right, 0) << "no caption drawn";
    HDC screen = GetDC(nullptr);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(bottom - top + 1, metrics.tmHeight) << "the caption is wider than the button: it takes two lines";
    EXPECT_GT(left, 0);
    EXPECT_LT(right, face.width - 1);
    EXPECT_LE(std::abs(left - (face.width - 1 - right)), 3) << "centred across";
    EXPECT_LE(std::abs(top - (face.height - 1 - bottom)), 3) << "centred down";
}

TEST_F(ImageButtonWin32, SettersRefuseWhatTheyCannotTakeAndChangeNothing) {
    ColorRef out = 0x123456;
    EXPECT_EQ(button.SetStateColor(6, kGrey), IB_BAD_INDEX);
    EXPECT_EQ(button.GetStateColor(6, out), IB_BAD_INDEX);
    EXPECT_EQ(out, 0x123456u);
    EXPECT_EQ(button.SetImageAlign(4), IB_BAD_ALIGN);
    EXPECT_EQ(button.SetPressShift(2), IB_BAD_PRESS_STYLE);

    // The arithmetic itself is checked where it is written (ColorShade.h).
    button.SetStateColor(IB_COLOR_HOT_BACK, RgbColor(10, 100, 200));
    EXPECT_EQ(button.ShiftStateColor(IB_COLOR_HOT_BACK, 256), IB_BAD_ARGUMENT);
    EXPECT_EQ(button.ShiftStateColor(IB_COLOR_HOT_BACK, -255), IB_OK);
    button.GetStateColor(IB_COLOR_HOT_BACK, out);
    EXPECT_EQ(out, RgbColor(0, 90, 190));
}

TEST_F(ImageButtonWin32, AttachingReadsTheControlLetsEitherSideGoFirstAndRefusesWhatIsNotAFreeButton) {
    struct Case {
        DWORD style;
        bool checkBox, isDefault;
    };
    for (const Case& c : {Case{BS_PUSHBUTTON, false, false}, Case{BS_DEFPUSHBUTTON, false, true},
                          Case{BS_AUTOCHECKBOX, true, false}}) {
        HWND other = parent.AddButton(kId + 2, L"", c.style);
        CImageButton attached;
        ASSERT_TRUE(attached.Attach(other));
        EXPECT_EQ(attached.IsCheckBox(), c.checkBox);
        EXPECT_EQ(attached.IsDefaultButton(), c.isDefault);
        EXPECT_EQ(GetWindowLongPtrW(other, GWL_STYLE) & 0x1F, BS_OWNERDRAW);
        const LRESULT code = SendMessageW(other, WM_GETDLGCODE, 0, 0);
        EXPECT_EQ(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON),
                  c.isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        DestroyWindow(other);
        EXPECT_EQ(attached.Handle(), nullptr) << "the window went first";
    }
    HWND orphan = parent.AddButton(kId + 4, L"", BS_PUSHBUTTON);
    {
        CImageButton early;
        ASSERT_TRUE(early.Attach(orphan));
    }
    SendMessageW(orphan, WM_MOUSEMOVE, 0, Point(5, 5));
    EXPECT_EQ(parent.DrawRecord(orphan, 0).At(5, 5), RgbColor(255, 0, 255))
        << "the button went before its window: nobody draws the window's records";

    CImageButton second;
    EXPECT_FALSE(second.Attach(control)) << "attached already";
    HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, parent.Handle(), nullptr, nullptr, nullptr);
    EXPECT_FALSE(second.Attach(label));
    EXPECT_FALSE(second.Attach(nullptr));
}

TEST_F(ImageButtonWin32, ClicksReachTheParentAndADoubleClickIsTwo) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    SendMessageW(control, WM_LBUTTONUP, 0, Point(5, 5));
    SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(5, 5));
    SendMessageW(control, WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_EQ(parent.ClicksFrom(kId), 2);

    HWND box = parent.AddButton(kId + 3, L"", BS_AUTOCHECKBOX);
    CImageButton check;
    ASSERT_TRUE(check.Attach(box));
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_TRUE(check.GetCheckState());
    EXPECT_EQ(parent.ClicksFrom(kId + 3), 1) << "the parent still hears the click";
    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_TRUE(check.GetCheckState());
}

// The dialog manager moves the default-button look with the focus by
// restyling push buttons; an image button must stay owner-drawn through it
// and still be drawn by its own colours.
TEST(ImageButtonWin32OnDialog, StaysOwnerDrawnAsTheDialogMovesTheDefaultButton) {
    const HWND dialog = CreateWindowExW(0, MAKEINTRESOURCEW(32770), L"dialog", WS_POPUP, 0, 0, 200, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    const HWND plain = AddButton(dialog, 1, L"", BS_DEFPUSHBUTTON);
    const HWND grid = AddButton(dialog, kId, L"", BS_PUSHBUTTON, 60);
    CImageButton button;
    ASSERT_TRUE(button.Attach(grid));
    button.SetStateColor(IB_COLOR_FOCUS_BACK, kGreen);

    for (const HWND focus : {grid, plain, grid}) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
        EXPECT_EQ(GetWindowLongPtrW(grid, GWL_STYLE) & 0x1F, BS_OWNERDRAW);
        EXPECT_EQ(button.IsDefaultButton(), focus == grid);
    }
    EXPECT_EQ(TestParent::Print(grid).At(20, 15), kGreen) << "focused, drawn through the dialog";
    DestroyWindow(dialog);
}

}  // namespace
