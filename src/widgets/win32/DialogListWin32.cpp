// The report-list verbs and the window's caption on the dialog manager: the
// list view's own messages, in their W form so that any text passes.

#include "DialogBaseWin32.h"

#include <algorithm>
#include <iterator>

#include "CommonControlsWin32.h"
#include "TextWin32.h"

namespace {

// Longest cell text read back; the profile table's are far shorter.
constexpr int kLongestCell = 4096;

}  // namespace

void CDialogBase::PrepareTemplateLists() {
    for (const DlgItem& item : m_template->items) {
        if (item.kind != DlgItemKind::ListView) continue;
        // Whole rows are selected, as the Linux list does.
        if (HWND list = ItemHandle(item.id))
            SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    }
}

int CDialogBase::ListColumnCount(int id) const {
    HWND list = ItemHandle(id);
    HWND header = list != nullptr ? reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)) : nullptr;
    return header != nullptr ? std::max(0, static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0))) : 0;
}

void CDialogBase::ListAddColumn(int id, std::string_view heading, int width) {
    HWND list = ItemHandle(id);
    if (list == nullptr) return;
    RECT widthRect{0, 0, width, 0};
    MapDialogRect(m_hwnd, &widthRect);
    std::wstring text = Utf16(heading);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = widthRect.right;
    column.iSubItem = ListColumnCount(id);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column.iSubItem), reinterpret_cast<LPARAM>(&column));
}

int CDialogBase::ListInsertItem(int id, int row, std::string_view text) {
    HWND list = ItemHandle(id);
    if (list == nullptr || row < 0) return -1;
    std::wstring wide = Utf16(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = std::min(row, ListGetItemCount(id));
    item.pszText = wide.data();
    return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void CDialogBase::ListSetItemText(int id, int row, int column, std::string_view text) {
    HWND list = ItemHandle(id);
    if (list == nullptr || row < 0 || row >= ListGetItemCount(id) || column < 0 || column >= ListColumnCount(id))
        return;
    std::wstring wide = Utf16(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string CDialogBase::ListGetItemText(int id, int row, int column) const {
    HWND list = ItemHandle(id);
    if (list == nullptr || row < 0 || row >= ListGetItemCount(id) || column < 0 || column >= ListColumnCount(id))
        return {};
    std::wstring text(kLongestCell, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = kLongestCell;
    const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(length, 0, kLongestCell)));
    return Utf8(text);
}

int CDialogBase::ListGetItemCount(int id) const {
    HWND list = ItemHandle(id);
    return list != nullptr ? std::max(0, static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) : 0;
}

void CDialogBase::ListDeleteAllItems(int id) {
    if (HWND list = ItemHandle(id)) SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void CDialogBase::ListFitColumn(int id, int column) {
    HWND list = ItemHandle(id);
    if (list == nullptr || column < 0 || column >= ListColumnCount(id)) return;
    // The widest cell, as the list measures it with its padding; then the
    // heading, with the header's margin of three edges on either side, which
    // the list's own fitting to the heading leaves out on some systems.
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE);
    const int cells = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    wchar_t heading[256] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = heading;
    info.cchTextMax = static_cast<int>(std::size(heading));
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    const int headingWidth = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(heading))) +
                             6 * GetSystemMetrics(SM_CXEDGE);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(std::max(cells, headingWidth), 0));
}

int CDialogBase::ListGetSelectedRow(int id) const {
    HWND list = ItemHandle(id);
    return list != nullptr ? static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
                           : -1;
}

void CDialogBase::ListSelectRow(int id, int row) {
    HWND list = ItemHandle(id);
    if (list == nullptr) return;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    // Item -1: every row loses its selection.
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (row < 0 || row >= ListGetItemCount(id)) return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void CDialogBase::SetWindowCaption(std::string_view text) {
    if (m_hwnd != nullptr) SetWindowTextW(m_hwnd, Utf16(text).c_str());
}

std::string CDialogBase::GetWindowCaption() const {
    if (m_hwnd == nullptr) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(m_hwnd, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}
