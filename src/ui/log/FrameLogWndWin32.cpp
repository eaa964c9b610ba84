#include "FrameLogWndWin32.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "res/ResourceIds.h"
#include "widgets/win32/CommonControlsWin32.h"

#include <commdlg.h>

namespace {

constexpr wchar_t kWindowClass[] = L"SentrabusFrameLog";
constexpr wchar_t kTitle[] = L"Frame log - Sentrabus";
constexpr UINT kCatchUpMessage = WM_APP + 1;
constexpr UINT_PTR kCatchUpTimer = 1;
// Longest a change of the log waits before the rows show it.
constexpr UINT kCatchUpMs = 50;
constexpr int kSaveId = 1;
constexpr int kClearId = 2;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 26;
constexpr int kMargin = 8;
// Widths of the fixed columns; the meaning takes what is left.
constexpr int kColumnWidths[CFrameLogRows::kColumns] = {80, 44, 280, 0, 170};

// Failures stand out; a good reply is quietly green.
constexpr COLORREF kGood = RGB(0x1E, 0x7B, 0x34);
constexpr COLORREF kBad = RGB(0xB0, 0x20, 0x20);

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::wstring SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : L"error " + std::to_wstring(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    return message;
}

}  // namespace

// The bytes in a fixed-width font, the rest in the desktop's.
struct CFrameLogWnd::Fonts {
    HFONT fixed = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Consolas");
    HFONT normal = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Fonts() = default;
    ~Fonts() {
        if (fixed) DeleteObject(fixed);
    }
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
};

struct FrameLogMessages {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT OnNotify(CFrameLogWnd& wnd, NMHDR& header);
    static LRESULT OnCustomDraw(CFrameLogWnd& wnd, NMLVCUSTOMDRAW& draw);
};

CFrameLogWnd::CFrameLogWnd(CFrameLog& log) : m_log(log), m_fonts(std::make_unique<Fonts>()) {}

CFrameLogWnd::~CFrameLogWnd() {
    // Returns only when no listener call is running: none posts after this.
    m_log.SetOnChange({});
    if (m_hwnd) DestroyWindow(m_hwnd);
}

void CFrameLogWnd::Show() {
    CreateWindowOnce();
    if (!m_hwnd) return;
    CatchUp();
    ShowWindow(m_hwnd, IsIconic(m_hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(m_hwnd);
    SetFocus(m_list);
}

void CFrameLogWnd::CreateWindowOnce() {
    if (m_hwnd) return;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = FrameLogMessages::Proc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    // The program's icon when it has one (IDR_MAINFRAME in the resource script).
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    RegisterClassExW(&windowClass);  // a second window finds the class there

    m_hwnd = CreateWindowExW(0, kWindowClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 1000, 420,
                             nullptr, nullptr, instance, this);
    if (!m_hwnd) return;
    m_list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0,
                             0, 0, 0, m_hwnd, nullptr, instance, nullptr);
    m_save = CreateWindowExW(0, L"BUTTON", L"Save...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0,
                             0, m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSaveId)), instance, nullptr);
    m_clear = CreateWindowExW(0, L"BUTTON", L"Clear", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0,
                              0, m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kClearId)), instance, nullptr);
    for (HWND child : {m_list, m_save, m_clear}) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts->normal), FALSE);
    }
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (int column = 0; column < CFrameLogRows::kColumns; ++column) {
        std::wstring heading = Wide(CFrameLogRows::Heading(column));
        LVCOLUMNW lvColumn{};
        lvColumn.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvColumn.pszText = heading.data();
        lvColumn.cx = kColumnWidths[column];
        lvColumn.iSubItem = column;
        // The W message by name: the macro is the ANSI one in a build without
        // UNICODE, which would read the wide heading as its first letter.
        SendMessageW(m_list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvColumn));
    }
    Layout();
    m_keyboard.Attach(m_hwnd);

    // A change of the log, on whichever thread made it, asks the window
    // thread for one catch-up; a burst of frames costs one.
    m_log.SetOnChange([hwnd = m_hwnd, scheduled = &m_scheduled] {
        if (!scheduled->exchange(true)) PostMessageW(hwnd, kCatchUpMessage, 0, 0);
    });
}

void CFrameLogWnd::Layout() {
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const int buttonsTop = client.bottom - kMargin - kButtonHeight;
    MoveWindow(m_list, 0, 0, client.right, std::max(0, buttonsTop - kMargin), TRUE);
    MoveWindow(m_clear, client.right - kMargin - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(m_save, client.right - 2 * (kMargin + kButtonWidth), buttonsTop, kButtonWidth, kButtonHeight, TRUE);
    int fixed = GetSystemMetrics(SM_CXVSCROLL) + 4;
    for (int width : kColumnWidths) fixed += width;
    ListView_SetColumnWidth(m_list, CFrameLogRows::kMeaning, std::max(120, static_cast<int>(client.right) - fixed));
}

bool CFrameLogWnd::AtBottom() const {
    const int count = ListView_GetItemCount(m_list);
    return count == 0 || ListView_GetTopIndex(m_list) + ListView_GetCountPerPage(m_list) >= count;
}

void CFrameLogWnd::CatchUp() {
    m_scheduled = false;
    if (!m_hwnd) {
        m_rows.CatchUp(m_log);
        return;
    }
    KillTimer(m_hwnd, kCatchUpTimer);
    const bool follow = AtBottom();
    const CFrameLogRows::Change change = m_rows.CatchUp(m_log);
    if (!change.Any()) return;
    // Rows gone from the front would move the selection onto other rows.
    if (change.removedFromFront > 0) ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(m_list, static_cast<int>(m_rows.Count()), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(m_list, nullptr, FALSE);
    if (follow && m_rows.Count() > 0) ListView_EnsureVisible(m_list, static_cast<int>(m_rows.Count()) - 1, FALSE);
}

std::string CFrameLogWnd::SelectedText() const {
    std::vector<std::size_t> rows;
    if (m_list) {
        for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(m_list, row, LVNI_SELECTED)) {
            rows.push_back(static_cast<std::size_t>(row));
        }
    }
    return m_rows.LinesOf(std::move(rows), "\r\n");
}

void CFrameLogWnd::CopySelection() {
    const std::wstring text = Wide(SelectedText());
    if (text.empty() || !OpenClipboard(m_hwnd)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it takes it.
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

bool CFrameLogWnd::SaveTo(const std::wstring& path, std::wstring* error) const {
    const std::wstring partial = path + L".partial";
    const std::string text = FrameLogFileText(m_log);
    DWORD failure = ERROR_SUCCESS;
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure = GetLastError();
    } else {
        DWORD written = 0;
        const bool wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                           written == text.size() && FlushFileBuffers(file);
        if (!wrote) failure = GetLastError();
        CloseHandle(file);
        if (wrote && !MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            failure = GetLastError();
        }
        if (failure != ERROR_SUCCESS) DeleteFileW(partial.c_str());
    }
    if (failure == ERROR_SUCCESS) return true;
    if (error) *error = SystemMessage(failure);
    return false;
}

void CFrameLogWnd::OnSave() {
    std::vector<wchar_t> path(32768, L'\0');
    const std::wstring suggested = L"sentrabus-frames.txt";
    std::copy(suggested.begin(), suggested.end(), path.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_hwnd;
    dialog.lpstrFilter = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = L"Save frame log";
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog)) return;
    std::wstring error;
    if (SaveTo(path.data(), &error)) return;
    const std::wstring text = L"The frame log could not be saved to " + std::wstring(path.data()) + L":\n" + error;
    MessageBoxW(m_hwnd, text.c_str(), kTitle, MB_OK | MB_ICONWARNING);
}

void CFrameLogWnd::OnClear() {
    m_log.Clear();
    CatchUp();
}

LRESULT CALLBACK FrameLogMessages::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* wnd = reinterpret_cast<CFrameLogWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!wnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_SIZE:
            if (wnd->m_list) wnd->Layout();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && wnd->m_list) SetFocus(wnd->m_list);
            return 0;
        case WM_CLOSE: ShowWindow(hwnd, SW_HIDE); return 0;  // kept for the next "Frame log..."
        case kCatchUpMessage: SetTimer(hwnd, kCatchUpTimer, kCatchUpMs, nullptr); return 0;
        case WM_TIMER:
            if (wParam == kCatchUpTimer) wnd->CatchUp();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kSaveId) wnd->OnSave();
            if (LOWORD(wParam) == kClearId) wnd->OnClear();
            return 0;
        case WM_NOTIFY: return OnNotify(*wnd, *reinterpret_cast<NMHDR*>(lParam));
        case WM_NCDESTROY:
            wnd->m_log.SetOnChange({});
            wnd->m_keyboard.Detach();
            wnd->m_hwnd = wnd->m_list = wnd->m_save = wnd->m_clear = nullptr;
            break;
        default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT FrameLogMessages::OnNotify(CFrameLogWnd& wnd, NMHDR& header) {
    if (header.hwndFrom != wnd.m_list) return 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
                const std::wstring text =
                    Wide(wnd.m_rows.CellText(static_cast<std::size_t>(item.iItem), item.iSubItem));
                lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
            }
            return 0;
        }
        case LVN_KEYDOWN: {
            const auto& key = reinterpret_cast<NMLVKEYDOWN&>(header);
            if (GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'C') wnd.CopySelection();
            if (GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'A') {
                ListView_SetItemState(wnd.m_list, -1, LVIS_SELECTED, LVIS_SELECTED);
            }
            return 0;
        }
        case NM_CUSTOMDRAW: return OnCustomDraw(wnd, reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        default: return 0;
    }
}

LRESULT FrameLogMessages::OnCustomDraw(CFrameLogWnd& wnd, NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
            const bool bytes = draw.iSubItem == CFrameLogRows::kBytes;
            SelectObject(draw.nmcd.hdc, bytes && wnd.m_fonts->fixed ? wnd.m_fonts->fixed : wnd.m_fonts->normal);
            draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
            if (draw.iSubItem == CFrameLogRows::kOutcome && row < wnd.m_rows.Count()) {
                const std::string& outcome = wnd.m_rows.Entry(row).outcome;
                if (!outcome.empty()) draw.clrText = outcome == "good" ? kGood : kBad;
            }
            return CDRF_NEWFONT;
        }
        default: return CDRF_DODEFAULT;
    }
}
