#include "WindowDriver.h"

#include <stdexcept>
#include <utility>

#include "widgets/win32/CommonControlsWin32.h"

namespace {

void DispatchQueued() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND Item(CDialogBase& dlg, int id) {
    HWND item = dlg.ItemHandle(id);
    if (item == nullptr) throw std::logic_error("no such control");
    return item;
}

void CALLBACK LookForOpenedWindow(HWND, UINT, UINT_PTR, DWORD);

// The modal opening WhileOpenedBy waits for, with the timer that looks for
// it. A timer procedure gets no context of its own: the watch of this thread
// is its context.
struct OpeningWatch;
thread_local OpeningWatch* t_watch = nullptr;

struct OpeningWatch {
    OpeningWatch(CDialogBase& w, const std::function<void()>& i)
        : window(w), inside(i), outer(std::exchange(t_watch, this)),
          timer(SetTimer(nullptr, 0, 10, &LookForOpenedWindow)) {}
    ~OpeningWatch() {
        KillTimer(nullptr, timer);
        t_watch = outer;
    }
    OpeningWatch(const OpeningWatch&) = delete;
    OpeningWatch& operator=(const OpeningWatch&) = delete;

    CDialogBase& window;
    const std::function<void()>& inside;
    OpeningWatch* outer;
    UINT_PTR timer;
    bool ran = false;
};

void CALLBACK LookForOpenedWindow(HWND, UINT, UINT_PTR, DWORD) {
    OpeningWatch* watch = t_watch;
    if (watch == nullptr || watch->ran) return;
    HWND hwnd = watch->window.Handle();
    if (hwnd == nullptr || !IsWindowVisible(hwnd)) return;
    KillTimer(nullptr, watch->timer);
    watch->ran = true;
    watch->inside();
    watch->window.EndDialog(IDCANCEL);
}

}  // namespace

void OpenForTest(CDialogBase& window) {
    window.Create();
    ShowWindow(window.Handle(), SW_SHOWNA);
    DispatchQueued();
}

void PumpEvents(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    for (;;) {
        DispatchQueued();
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    }
}

// What the combo box does when the operator picks an entry: the selection,
// then CBN_SELCHANGE to its dialog.
void ChooseComboEntry(CDialogBase& dlg, int id, int index) {
    HWND combo = Item(dlg, id);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dlg.Handle(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    DispatchQueued();
}

// The list's own double-click at the middle of the row's first cell: the
// list names the row it hit in its NM_DBLCLK to the dialog.
void DoubleClickListRow(CDialogBase& dlg, int id, int row) {
    HWND list = Item(dlg, id);
    RECT cell{};
    cell.left = LVIR_LABEL;
    if (SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell)) == 0)
        throw std::logic_error("no such row");
    const LPARAM middle = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, middle);
    DispatchQueued();
}

// Button down and up at the button's centre, posted to its queue as the
// mouse's messages come: behind the handler that runs, ahead of any timer.
std::function<void()> ClickPoster(CDialogBase& dlg, int id) {
    HWND button = Item(dlg, id);
    RECT area{};
    GetClientRect(button, &area);
    const LPARAM centre = MAKELPARAM((area.right - area.left) / 2, (area.bottom - area.top) / 2);
    return [button, centre] {
        PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        PostMessageW(button, WM_LBUTTONUP, 0, centre);
    };
}

// A thread timer: the dialog manager's modal loop dispatches it like any
// other message of the thread, once the window is up and between exchanges.
bool WhileOpenedBy(const std::function<void()>& open, CDialogBase& window, const std::function<void()>& inside) {
    OpeningWatch watch(window, inside);
    open();
    return watch.ran;
}
