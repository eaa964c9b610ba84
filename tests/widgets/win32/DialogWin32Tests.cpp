// The dialog class on the Windows dialog manager, under Wine: templates
// become real dialogs, the message map, the keyboard of the dialog manager,
// the modal loop, the system menu, and the order in which the message queue
// hands out input and timers while an exchange waits.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "res/ResourceIds.h"
#include "widgets/InputHold.h"
#include "widgets/win32/DialogBaseWin32.h"

#include "Win32TestWindows.h"
#include "widgets/win32/Win32Api.h"

namespace {

using namespace std::chrono_literals;

constexpr int kEdit = 11, kGo = 12, kCheck = 13, kDropDown = 14, kSortedList = 15, kHidden = 16;
constexpr int kRangeFirst = 20, kRangeLast = 21;
constexpr int kAboutCommand = 16;

constexpr const char* kEntries[] = {"b", "a"};
constexpr const char* kSortedEntries[] = {"zeta", "Alpha", "beta"};

constexpr DlgItem kItems[] = {
    {kEdit, DlgItemKind::Edit, "", 10, 10, 40, 13, DlgStyle::Default | DlgStyle::AutoHScroll},
    {kGo, DlgItemKind::PushButton, "Go", 60, 10, 40, 13},
    {IDOK, DlgItemKind::DefPushButton, "OK", 110, 10, 40, 13},
    {kCheck, DlgItemKind::AutoCheckBox, "Check", 10, 30, 40, 10},
    {kDropDown, DlgItemKind::ComboDropDown, "", 60, 30, 40, 50, DlgStyle::Default, kEntries},
    {kSortedList, DlgItemKind::ComboDropList, "", 110, 30, 40, 50, DlgStyle::Default | DlgStyle::Sort,
     kSortedEntries},
    {kHidden, DlgItemKind::PushButton, "Hidden", 10, 45, 30, 13, DlgStyle::TabStop | DlgStyle::Disabled},
    {kRangeFirst, DlgItemKind::PushButton, "R1", 60, 45, 20, 13},
    {kRangeLast, DlgItemKind::PushButton, "R2", 90, 45, 20, 13},
    {-1, DlgItemKind::LText, "标签", 120, 45, 30, 8, DlgStyle::Visible},
};
constexpr DlgTemplate kTemplate = {900, "测试窗口", 160, 62, "宋体", 9, kItems};

// Writes down what the dialog's hooks and handlers were asked to do.
class CProbeDlg : public CDialogBase {
public:
    explicit CProbeDlg(const DlgTemplate& tmpl = kTemplate) : CDialogBase(tmpl) {
        OnCommand(kGo, [this] { log.push_back("go"); });
        OnCommandRange(kRangeFirst, kRangeLast, [this](int id) { log.push_back("range " + std::to_string(id)); });
        OnSelChange(kDropDown, [this] { log.push_back("selchange"); });
    }
    std::vector<std::string> log;
    std::function<void()> onInit;
    std::function<void(int)> onTimer;

protected:
    bool OnInitDialog() override {
        log.push_back("init");
        if (onInit) onInit();
        return true;
    }
    void OnTimer(int timerId) override {
        log.push_back("timer " + std::to_string(timerId));
        if (onTimer) onTimer(timerId);
    }
    void OnOK() override {
        log.push_back("ok");
        CDialogBase::OnOK();
    }
    void OnCancel() override {
        log.push_back("cancel");
        CDialogBase::OnCancel();
    }
    void OnSysCommand(int command) override { log.push_back("syscommand " + std::to_string(command)); }
    void OnDestroy() override { log.push_back("destroy"); }
};

using Log = std::vector<std::string>;

TEST(DialogWin32, BuildsTheTemplateWithItsTextsStylesAndEntries) {
    CProbeDlg dlg;
    dlg.Create();
    ASSERT_NE(dlg.Handle(), nullptr);
    wchar_t caption[32] = {};
    GetWindowTextW(dlg.Handle(), caption, 32);
    EXPECT_STREQ(caption, L"测试窗口");
    EXPECT_EQ(dlg.GetDlgItemText(kGo), "Go");
    dlg.SetDlgItemText(kEdit, "通道 12");
    EXPECT_EQ(dlg.GetDlgItemText(kEdit), "通道 12");
    bool translated = true;
    EXPECT_EQ(dlg.GetDlgItemInt(kEdit, &translated), 0);
    EXPECT_FALSE(translated);
    dlg.SetDlgItemText(kEdit, " -12");
    EXPECT_EQ(dlg.GetDlgItemInt(kEdit, &translated), -12);
    EXPECT_TRUE(translated);

    EXPECT_FALSE(dlg.IsDlgItemVisible(kHidden));
    EXPECT_FALSE(dlg.IsDlgItemEnabled(kHidden));
    EXPECT_TRUE(dlg.IsDlgItemVisible(kGo)) << "the control's own style, though the window is hidden";
    dlg.ShowDlgItem(kHidden, true);
    dlg.EnableDlgItem(kHidden, true);
    EXPECT_TRUE(dlg.IsDlgItemVisible(kHidden));
    EXPECT_TRUE(dlg.IsDlgItemEnabled(kHidden));

    // The template's entries, in the list's own order when it sorts (case ignored).
    EXPECT_EQ(dlg.ComboGetCount(kDropDown), 2);
    EXPECT_EQ(dlg.ComboGetCurSel(kDropDown), -1);
    dlg.ComboSetCurSel(kSortedList, 0);
    EXPECT_EQ(dlg.GetDlgItemText(kSortedList), "Alpha");
    dlg.ComboSetCurSel(kDropDown, 1);
    EXPECT_EQ(dlg.GetDlgItemText(kDropDown), "a");
    dlg.ComboSetCurSel(kDropDown, 2);
    EXPECT_EQ(dlg.ComboGetCurSel(kDropDown), -1);
    EXPECT_EQ(dlg.GetDlgItemText(kDropDown), "") << "an index outside the list empties the edit part";
    dlg.SetDlgItemText(kDropDown, "typed");
    dlg.ComboResetContent(kDropDown);
    EXPECT_EQ(dlg.ComboGetCount(kDropDown), 0);
    EXPECT_EQ(dlg.GetDlgItemText(kDropDown), "");
    EXPECT_EQ(dlg.log, Log{"init"}) << "OnInitDialog ran; no verb runs a handler";

    CDialogBase about(IDD_ABOUTBOX);  // a resource template; its icon may be missing: it still comes up
    about.Create();
    EXPECT_EQ(about.GetDlgItemText(IDOK), "Confirm");
}

TEST(DialogWin32, ClicksRunTheMessageMap) {
    CProbeDlg dlg;
    dlg.Create();
    dlg.ClickDlgItem(kGo);
    dlg.ClickDlgItem(kHidden);  // disabled: nothing
    dlg.ClickDlgItem(kRangeLast);
    dlg.ClickDlgItem(kCheck);
    EXPECT_TRUE(dlg.IsDlgButtonChecked(kCheck));
    dlg.CheckDlgButton(kCheck, false);
    EXPECT_FALSE(dlg.IsDlgButtonChecked(kCheck));

    dlg.PostCommand(kGo);
    EXPECT_EQ(dlg.log, (Log{"init", "go", "range 21"})) << "a posted command waits for the loop";
    PumpMessages(50ms);
    EXPECT_EQ(dlg.log, (Log{"init", "go", "range 21", "go"}));

    // IDOK without an entry: OnOK, whose EndDialog destroys a modeless window.
    dlg.ClickDlgItem(IDOK);
    EXPECT_EQ(dlg.log, (Log{"init", "go", "range 21", "go", "ok", "destroy"}));
    EXPECT_EQ(dlg.Handle(), nullptr);
    EXPECT_EQ(dlg.GetDlgItemText(kGo), "") << "verbs on a closed window do nothing";
}

TEST(DialogWin32, SystemMenuEntriesComeBelowASeparatorAndReachOnSysCommand) {
    CProbeDlg dlg;
    dlg.Create();
    dlg.AddSystemMenuItem(kAboutCommand, "关于 Sentrabus(&A)...");
    dlg.AddSystemMenuItem(kAboutCommand, "twice");  // an opening adds it again: once is kept
    dlg.AddSystemMenuItem(32, "Frame log...");
    HMENU menu = GetSystemMenu(dlg.Handle(), FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 3);
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 3), MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    wchar_t text[64] = {};
    GetMenuStringW(menu, kAboutCommand, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"关于 Sentrabus(&A)...");

    SendMessageW(dlg.Handle(), WM_SYSCOMMAND, 32, 0);
    SendMessageW(dlg.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);  // the window's own: not ours
    EXPECT_EQ(dlg.log, (Log{"init", "syscommand 32"}));
}

TEST(DialogWin32, MessageBoxesGoThroughTheHookWithTheProgramNameAsDefaultCaption) {
    MessageBoxRecorder recorder;
    CProbeDlg dlg;
    dlg.Create();
    EXPECT_EQ(dlg.MessageBox("Write success!"), IDOK);
    dlg.MessageBox("Serial port open failed", "Serial prompt", MsgIcon::Stop);
    const auto& boxes = recorder.boxes;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Sentrabus");
    EXPECT_EQ(boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(boxes[1].caption, "Serial prompt");
    EXPECT_EQ(boxes[1].icon, MsgIcon::Stop);
}

// The dialog manager's modal loop and keyboard: a key posted to the focused
// control once the window is up, as the operator would press it.
TEST(DialogWin32, ModalLoopEndsWithTheKeyboardsCommand) {
    struct Case {
        const char* name;
        WPARAM key;
        int result;
        Log log;
    };
    const Case cases[] = {
        {"Esc is IDCANCEL", VK_ESCAPE, IDCANCEL, {"init", "timer 1", "cancel", "destroy"}},
        {"Enter in a field presses the default button", VK_RETURN, IDOK, {"init", "timer 1", "ok", "destroy"}},
    };
    for (const Case& c : cases) {
        CProbeDlg dlg;
        dlg.onInit = [&dlg] { dlg.SetTimer(1, 20); };
        dlg.onTimer = [&dlg, &c](int) {
            dlg.KillTimer(1);
            HWND edit = dlg.ItemHandle(kEdit);
            SetFocus(edit);
            PostMessageW(edit, WM_KEYDOWN, c.key, 0);
        };
        EXPECT_EQ(dlg.DoModal(), c.result) << c.name;
        EXPECT_EQ(dlg.log, c.log) << c.name;
        EXPECT_EQ(dlg.Handle(), nullptr) << c.name;
    }
}

// While an exchange waits, the window paints but leaves input queued; once
// the handler returns, the queued click runs before the timer that fell due
// meanwhile (the order the busy flag relies on).
TEST(DialogWin32, InputQueuedDuringAWaitRunsAfterTheHandlerAndBeforeTheTimer) {
    CProbeDlg dlg;
    dlg.OnCommand(kRangeFirst, [&dlg] {
        dlg.log.push_back("exchange");
        dlg.SetTimer(1, 10);
        dlg.PostCommand(kGo);  // the operator's click while the reply is awaited
        CInputHold::Begin();
        CInputHold::Pump(100ms);
        CInputHold::End();
        dlg.log.push_back("exchange done");
    });
    dlg.onTimer = [&dlg](int) { dlg.KillTimer(1); };
    dlg.Create();
    dlg.ClickDlgItem(kRangeFirst);
    PumpMessages(100ms);
    EXPECT_EQ(dlg.log, (Log{"init", "exchange", "exchange done", "go", "timer 1"}));
}

TEST(DialogWin32, AWokenPumpEndsEarlyAndOnlyOnce) {
    CInputHold::CPumpWake wake;
    std::thread waker([&wake] {
        std::this_thread::sleep_for(20ms);
        wake.Wake();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(CInputHold::Pump(5s, wake));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    waker.join();
    EXPECT_FALSE(CInputHold::Pump(30ms, wake)) << "the wake was used up";
    wake.Wake();
    EXPECT_TRUE(CInputHold::Pump(5s, wake)) << "a wake before the pump ends it at once";
}

}  // namespace
