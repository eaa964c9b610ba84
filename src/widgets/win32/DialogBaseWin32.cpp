// The window's life on the dialog manager: building, the dialog procedure,
// the message map, timers, the system menu and the icon.

#include "DialogBaseWin32.h"

#include <algorithm>

#include "CanvasWin32.h"
#include "DialogTemplateWin32.h"
#include "MessageBoxWin32.h"
#include "TextWin32.h"
#include "widgets/InputHold.h"
#include "CommonControlsWin32.h"

namespace {

// Stands in for a template id that the table does not have, so that a
// misnumbered window comes up empty instead of failing.
const DlgTemplate kMissingTemplate = {0, "", 100, 50, "宋体", 9, {}};

// The caption of a box shown without one: the program's name.
constexpr std::string_view kProgramName = "Sentrabus";

const DlgTemplate& TemplateOrMissing(int templateId) {
    if (const DlgTemplate* found = FindDialogTemplate(templateId)) return *found;
    OutputDebugStringA(("dialog template " + std::to_string(templateId) + " does not exist\n").c_str());
    return kMissingTemplate;
}

}  // namespace

// Hands the dialog manager's messages to the object whose window it is; the
// object comes with WM_INITDIALOG and leaves with WM_NCDESTROY.
struct CDialogProc {
    static INT_PTR CALLBACK Run(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
            return reinterpret_cast<CDialogBase*>(lParam)->OnInitWindow(hwnd);
        }
        auto* dialog = reinterpret_cast<CDialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (dialog == nullptr) return FALSE;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            dialog->OnWindowGone();
            return FALSE;
        }
        return dialog->HandleMessage(message, wParam, lParam);
    }

    static bool IsOurs(HWND hwnd) {
        return hwnd != nullptr && GetWindowLongPtrW(hwnd, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(&Run);
    }
};

CDialogBase::CDialogBase(int templateId, CDialogBase* owner) : CDialogBase(TemplateOrMissing(templateId), owner) {
    m_templateId = templateId;
}

CDialogBase::CDialogBase(const DlgTemplate& tmpl, CDialogBase* owner)
    : m_templateId(tmpl.id), m_template(&tmpl), m_owner(owner) {}

CDialogBase::~CDialogBase() { DestroyWindowQuietly(); }

// The window goes without its handlers hearing of it: the object is being
// destroyed or the window rebuilt, and OnDestroy belongs to a closing.
void CDialogBase::DestroyWindowQuietly() {
    if (m_hwnd == nullptr) return;
    HWND hwnd = m_hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    m_hwnd = nullptr;
    m_ending = false;
    m_keyboard.Detach();
    DestroyWindow(hwnd);
}

void CDialogBase::Create() {
    DestroyWindowQuietly();
    m_modal = false;
    const std::vector<std::uint32_t> tmpl = BuildDialogTemplate(*m_template);
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()),
                               m_owner ? m_owner->m_hwnd : nullptr, &CDialogProc::Run,
                               reinterpret_cast<LPARAM>(this));
    m_keyboard.Attach(m_hwnd);
}

int CDialogBase::DoModal() {
    if (m_modal) return -1;  // already running
    DestroyWindowQuietly();
    // The window whose handler opens this one stays beneath it, disabled, as
    // the owner of a modal dialog; another kind of window (the frame log)
    // never becomes the owner and stays usable.
    HWND owner = m_owner ? m_owner->m_hwnd : nullptr;
    if (owner == nullptr && CDialogProc::IsOurs(GetActiveWindow())) owner = GetActiveWindow();

    const std::vector<std::uint32_t> tmpl = BuildDialogTemplate(*m_template);
    m_modal = true;
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()), owner,
                                &CDialogProc::Run, reinterpret_cast<LPARAM>(this));
    m_modal = false;
    return static_cast<int>(result);
}

void CDialogBase::EndDialog(int result) {
    if (m_hwnd == nullptr) return;
    m_ending = true;
    if (m_modal) {
        ::EndDialog(m_hwnd, result);  // the dialog manager destroys it when its loop ends
        return;
    }
    ShowWindow(m_hwnd, SW_HIDE);
    DestroyWindow(m_hwnd);
}

bool CDialogBase::OnInitWindow(HWND hwnd) {
    m_hwnd = hwnd;
    m_ending = false;
    FillTemplateCombos();
    PrepareTemplateLists();
    ApplyLargeTextFont();
    for (std::size_t i = 0; i < m_systemMenu.size(); ++i)
        AppendSystemMenuItem(m_systemMenu[i].first, m_systemMenu[i].second, i == 0);
    ApplyIcon();
    bool focusFirst = true;
    Dispatch([this, &focusFirst] { focusFirst = OnInitDialog(); });
    return focusFirst;
}

void CDialogBase::OnWindowGone() {
    m_keyboard.Detach();
    m_hwnd = nullptr;
    m_ending = false;
}

bool CDialogBase::HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (code == BN_CLICKED) {
                RunCommand(id);
                return true;
            }
            // Code 1 without a control is an accelerator's.
            if (code == CBN_SELCHANGE && lParam != 0) {
                m_messageMap.RunSelChange(id);
                return true;
            }
            return false;
        }
        case WM_NOTIFY: {
            // A report list's double-click names the row under the pointer
            // (-1 off the rows).
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header == nullptr || header->code != static_cast<UINT>(NM_DBLCLK)) return false;
            const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
            m_messageMap.RunListDblClk(static_cast<int>(header->idFrom), click->iItem);
            return true;
        }
        case WM_TIMER: {
            const int timerId = static_cast<int>(wParam);
            Dispatch([this, timerId] { OnTimer(timerId); });
            return true;
        }
        case WM_SYSCOMMAND: {
            const int command = static_cast<int>(wParam & 0xFFF0);
            const bool ours = std::any_of(m_systemMenu.begin(), m_systemMenu.end(),
                                          [command](const auto& entry) { return entry.first == command; });
            if (!ours) return false;  // the window's own: move, close, minimise
            Dispatch([this, command] { OnSysCommand(command); });
            return true;
        }
        case WM_DESTROY: Dispatch([this] { OnDestroy(); }); return false;
        case kCanvasPaintMessage: return PaintCanvas(static_cast<int>(wParam), lParam);
        default: return false;
    }
}

void CDialogBase::PostCommand(int id) {
    if (m_hwnd != nullptr) PostMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void CDialogBase::ClickDlgItem(int id) {
    HWND item = ItemHandle(id);
    if (item != nullptr && IsWindowEnabled(item)) SendMessageW(item, BM_CLICK, 0, 0);
}

void CDialogBase::SetTimer(int timerId, int milliseconds) {
    if (m_hwnd != nullptr)
        ::SetTimer(m_hwnd, static_cast<UINT_PTR>(timerId), static_cast<UINT>(std::max(milliseconds, 0)), nullptr);
}

void CDialogBase::KillTimer(int timerId) {
    if (m_hwnd != nullptr) ::KillTimer(m_hwnd, static_cast<UINT_PTR>(timerId));
}

void CDialogBase::SetIcon(int iconId) {
    m_iconId = iconId;
    ApplyIcon();
}

// Shared icons: the system keeps them for the life of the program.
void CDialogBase::ApplyIcon() {
    if (m_hwnd == nullptr || m_iconId <= 0 || m_iconId > 0xFFFF) return;
    const auto load = [this](int cxMetric, int cyMetric) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_iconId), IMAGE_ICON,
                                             GetSystemMetrics(cxMetric), GetSystemMetrics(cyMetric), LR_SHARED));
    };
    if (HICON bigIcon = load(SM_CXICON, SM_CYICON)) SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (HICON smallIcon = load(SM_CXSMICON, SM_CYSMICON))
        SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

// Kept for each window built later; an entry already there is not added twice
// (a window's OnInitDialog adds its entries at each opening).
void CDialogBase::AddSystemMenuItem(int command, std::string_view text) {
    const bool known = std::any_of(m_systemMenu.begin(), m_systemMenu.end(),
                                   [command](const auto& entry) { return entry.first == command; });
    if (known) return;
    m_systemMenu.emplace_back(command, std::string(text));
    AppendSystemMenuItem(command, m_systemMenu.back().second, m_systemMenu.size() == 1);
}

void CDialogBase::AppendSystemMenuItem(int command, const std::string& text, bool first) {
    if (m_hwnd == nullptr) return;
    HMENU menu = GetSystemMenu(m_hwnd, FALSE);
    if (menu == nullptr) return;
    if (first) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), Utf16(text).c_str());
}

int CDialogBase::MessageBox(std::string_view text, std::string_view caption, MsgIcon icon) {
    const MessageBoxCall call{std::string(text), std::string(caption.empty() ? kProgramName : caption), icon};
    // A copy: the hook may replace itself while it runs.
    if (const MessageBoxHook hook = CurrentMessageBoxHook()) return hook(call);
    return ShowSystemMessageBox(m_hwnd, call);
}
