// The verbs that address a control by its id, as the dialog manager's own
// functions and the controls' messages do them.

#include "DialogBaseWin32.h"

#include <algorithm>

#include "widgets/DlgItemInt.h"
#include "TextWin32.h"
#include "CommonControlsWin32.h"

namespace {

bool IsEditableCombo(HWND combo) { return (GetWindowLongW(combo, GWL_STYLE) & 0x3) == CBS_DROPDOWN; }

}  // namespace

const DlgItem* CDialogBase::FindTemplateItem(int id) const {
    for (const DlgItem& item : m_template->items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

HWND CDialogBase::ItemHandle(int id) const { return m_hwnd != nullptr ? GetDlgItem(m_hwnd, id) : nullptr; }

std::string CDialogBase::GetDlgItemText(int id) const {
    HWND item = ItemHandle(id);
    if (item == nullptr) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

void CDialogBase::SetDlgItemText(int id, std::string_view text) {
    if (HWND item = ItemHandle(id)) SetWindowTextW(item, Utf16(text).c_str());
}

int CDialogBase::GetDlgItemInt(int id, bool* translated, bool isSigned) const {
    const std::optional<int> value = ParseDlgItemInt(GetDlgItemText(id), isSigned);
    if (translated != nullptr) *translated = value.has_value();
    return value.value_or(0);
}

void CDialogBase::EnableDlgItem(int id, bool enable) {
    if (HWND item = ItemHandle(id)) EnableWindow(item, enable);
}

bool CDialogBase::IsDlgItemEnabled(int id) const {
    HWND item = ItemHandle(id);
    return item != nullptr && IsWindowEnabled(item);
}

void CDialogBase::ShowDlgItem(int id, bool show) {
    if (HWND item = ItemHandle(id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

bool CDialogBase::IsDlgItemVisible(int id) const {
    HWND item = ItemHandle(id);
    return item != nullptr && (GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CDialogBase::CheckDlgButton(int id, bool checked) {
    if (HWND item = ItemHandle(id)) SendMessageW(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CDialogBase::IsDlgButtonChecked(int id) const {
    HWND item = ItemHandle(id);
    return item != nullptr && SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int CDialogBase::ComboGetCurSel(int id) const {
    HWND combo = ItemHandle(id);
    return combo != nullptr ? static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) : -1;
}

void CDialogBase::ComboSetCurSel(int id, int index) {
    HWND combo = ItemHandle(id);
    if (combo == nullptr) return;
    // -1 takes the selection away and empties the edit part.
    if (index < 0 || index >= ComboGetCount(id)) index = -1;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int CDialogBase::ComboGetCount(int id) const {
    HWND combo = ItemHandle(id);
    if (combo == nullptr) return 0;
    return std::max(0, static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)));
}

// A sorted box (CBS_SORT) puts the entry in its place itself.
void CDialogBase::ComboAddString(int id, std::string_view text) {
    if (HWND combo = ItemHandle(id)) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16(text).c_str()));
}

void CDialogBase::ComboResetContent(int id) {
    HWND combo = ItemHandle(id);
    if (combo == nullptr) return;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    if (IsEditableCombo(combo)) SetWindowTextW(combo, L"");
}

void CDialogBase::ComboSetItemTip(int /*id*/, int /*index*/, std::string_view /*tip*/) {}

void CDialogBase::FillTemplateCombos() {
    for (const DlgItem& item : m_template->items) {
        if (item.kind != DlgItemKind::ComboDropDown && item.kind != DlgItemKind::ComboDropList) continue;
        for (const char* entry : item.items) ComboAddString(item.id, entry);
    }
}

void CDialogBase::ProgressSetRange(int id, int low, int high) {
    if (HWND bar = ItemHandle(id)) SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(low), std::max(low, high));
}

void CDialogBase::ProgressSetPos(int id, int position) {
    if (HWND bar = ItemHandle(id)) SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int CDialogBase::ProgressGetPos(int id) const {
    HWND bar = ItemHandle(id);
    return bar != nullptr ? static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)) : 0;
}
