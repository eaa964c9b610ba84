#pragma once
// A dialog of the Windows dialog manager built at run time from a template of
// src/res, with the verbs of DialogVerbs.h addressed by control id. The
// template becomes an in-memory dialog template (DialogTemplateWin32.h); the
// dialog manager then does what it does for any dialog: dialog units from the
// template's font, Tab, Enter, Esc and the default button.
//
// No <windows.h> here: its macros (MessageBox, SetDlgItemText, IDOK, ...)
// would rename the verbs of every handler that includes this header.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "widgets/MessageMap.h"
#include "widgets/win32/ModelessKeyboardWin32.h"
#include "res/DialogTemplate.h"
#include "res/ResourceIds.h"
#include "widgets/DialogVerbs.h"
#include "widgets/MessageBoxCall.h"

struct HWND__;
using DialogHandle = HWND__*;

class CDialogBase {
public:
    explicit CDialogBase(int templateId, CDialogBase* owner = nullptr);
    // A window from a template that is not in the resource table; the
    // template must outlive the window.
    explicit CDialogBase(const DlgTemplate& tmpl, CDialogBase* owner = nullptr);
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // Builds the window afresh from its template, runs OnInitDialog and the
    // dialog manager's modal loop, modal to its owner (or to the active
    // window). Returns the code given to EndDialog, -1 when the window could
    // not be made.
    int DoModal();
    // Builds the window modeless (hidden) and runs OnInitDialog, without a
    // loop: tests drive windows this way and pump the messages themselves.
    void Create();
    // A modal window's loop ends with `result` and the dialog manager destroys
    // it; a modeless one is hidden and destroyed at once, as a modeless
    // dialog's own OK and Cancel do.
    void EndDialog(int result);
    // True from EndDialog until the window is gone.
    bool IsEnding() const { return m_ending; }

    int TemplateId() const { return m_templateId; }
    const DlgTemplate& Template() const { return *m_template; }
    // The template's entry of control `id`; nullptr for an id it lacks.
    const DlgItem* FindTemplateItem(int id) const;

    // The window and its controls (Windows only: for the image button and the
    // tests); nullptr while the window does not exist or has no such control.
    DialogHandle Handle() const { return m_hwnd; }
    DialogHandle ItemHandle(int id) const;

    // --- verbs by control id (see DialogVerbs.h) ----------------------------
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, std::string_view text);
    // Optional blanks, optional '-' (when isSigned), digits and nothing else;
    // *translated is false (and the result 0) for any other text or a number
    // outside int (unsigned: outside 0..4294967295, returned as its bits).
    int GetDlgItemInt(int id, bool* translated = nullptr, bool isSigned = true) const;
    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;
    void ShowDlgItem(int id, bool show);
    // The control's own visible style, whether or not the window is shown.
    bool IsDlgItemVisible(int id) const;
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id) const;

    // An index outside the list selects nothing and empties an editable box's
    // text; none of these runs the OnSelChange handler.
    int ComboGetCurSel(int id) const;
    void ComboSetCurSel(int id, int index);
    int ComboGetCount(int id) const;
    void ComboAddString(int id, std::string_view text);
    void ComboResetContent(int id);
    // Does nothing: a Windows drop-down list has no tip per entry, and the
    // entries' texts (COM1 ...) say what the Linux tips add to them.
    void ComboSetItemTip(int id, int index, std::string_view tip);

    // Report lists: a SysListView32 of the dialog manager in LVS_REPORT
    // (DialogListWin32.cpp); see DialogVerbs.h.
    void ListAddColumn(int id, std::string_view heading, int width);
    int ListInsertItem(int id, int row, std::string_view text);
    void ListSetItemText(int id, int row, int column, std::string_view text);
    std::string ListGetItemText(int id, int row, int column) const;
    int ListGetItemCount(int id) const;
    void ListDeleteAllItems(int id);
    void ListFitColumn(int id, int column);
    int ListGetSelectedRow(int id) const;
    void ListSelectRow(int id, int row);
    void OnListDblClk(int id, std::function<void(int)> handler);

    // Progress bars (msctls_progress32, DialogItemsWin32.cpp).
    void ProgressSetRange(int id, int low, int high);
    void ProgressSetPos(int id, int position);
    int ProgressGetPos(int id) const;

    // The title bar's text until the window is built again from its template.
    void SetWindowCaption(std::string_view text);
    std::string GetWindowCaption() const;

    // Window timers of the dialog; a second SetTimer with the same id
    // restarts it. They die with the window.
    void SetTimer(int timerId, int milliseconds);
    void KillTimer(int timerId);
    // Big and small icon of the window from icon resource `iconId`; nothing
    // when the program has no such icon.
    void SetIcon(int iconId);
    // An entry of the window's system menu, below a separator put before the
    // first; choosing it runs OnSysCommand(command). `command` is below
    // 0xF000 with its low four bits clear.
    void AddSystemMenuItem(int command, std::string_view text);

    // Through the hook of MessageBoxCall.h when one is set, else MessageBoxW
    // owned by this window. An empty caption is the program's name.
    int MessageBox(std::string_view text, std::string_view caption = {}, MsgIcon icon = MsgIcon::None);
    // Through the hook of FileDialogCall.h when one is set, else
    // GetOpenFileNameW / GetSaveFileNameW owned by this window.
    std::optional<std::string> AskFileName(const FileDialogCall& call);

    // Message map: BN_CLICKED of a control runs its OnCommand entry, else an
    // OnCommandRange entry that covers it, else (IDOK / IDCANCEL) OnOK /
    // OnCancel; CBN_SELCHANGE (the operator's choice) runs OnSelChange.
    void OnCommand(int id, std::function<void()> handler);
    void OnSelChange(int id, std::function<void()> handler);
    void OnCommandRange(int first, int last, std::function<void(int)> handler);

    // Runs the command `id` once the current handler has returned and the
    // messages before it are handled, as a posted WM_COMMAND.
    void PostCommand(int id);
    // BM_CLICK: what the operator's click does, on an enabled button only.
    void ClickDlgItem(int id);

    // A modeless window without an owner, built when it does not exist, then
    // shown and brought to the front (DialogCanvasWin32.cpp).
    void ShowModeless();
    // Canvas controls (DialogCanvasWin32.cpp): the handler is kept by id
    // across rebuilds of the window; a refresh invalidates the control.
    void SetCanvasPaint(int id, CanvasPaint paint);
    void RefreshCanvas(int id);
    bool SaveCanvasPicture(int id, std::string_view path);

protected:
    // Returns true to give the focus to the first tab stop.
    virtual bool OnInitDialog() { return true; }
    virtual void OnTimer(int /*timerId*/) {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnSysCommand(int /*command*/) {}
    // WM_DESTROY: the window is going.
    virtual void OnDestroy() {}

    // Runs a handler the way the message map does.
    void Dispatch(const std::function<void()>& handler);
    // The WM_COMMAND path: the message map's entry, else OnOK / OnCancel.
    void RunCommand(int id);

private:
    friend struct CDialogProc;

    // The dialog procedure's work once the window belongs to this object;
    // returns the procedure's result (false: the dialog manager's default).
    bool OnInitWindow(DialogHandle hwnd);
    bool HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void OnWindowGone();
    void FillTemplateCombos();
    void PrepareTemplateLists();
    int ListColumnCount(int id) const;
    void AppendSystemMenuItem(int command, const std::string& text, bool first);
    void ApplyIcon();
    void DestroyWindowQuietly();
    // The large font of the template's LargeText statics, made for each
    // window from the dialog's font (DialogCanvasWin32.cpp).
    void ApplyLargeTextFont();
    bool PaintCanvas(int id, std::intptr_t request);

    int m_templateId;
    const DlgTemplate* m_template;
    CDialogBase* m_owner;
    DialogHandle m_hwnd = nullptr;
    bool m_modal = false;
    bool m_ending = false;
    int m_iconId = 0;

    CMessageMap m_messageMap;
    CModelessKeyboard m_keyboard;  // a modeless window's Tab, arrows, Enter and Esc
    std::vector<std::pair<int, std::string>> m_systemMenu;  // command, text
    std::map<int, CanvasPaint> m_canvasPaints;  // by control id
    // An HFONT, deleted with the window's next font or with this object.
    std::unique_ptr<void, void (*)(void*)> m_largeFont{nullptr, nullptr};
};

static_assert(DialogVerbs<CDialogBase>);
