#pragma once
// What every window's handlers may ask of their dialog, on either platform.
// The dialog class itself is the platform's (DialogBase.h picks it: a Qt
// dialog on Linux, a Win32 dialog on Windows), so that each backend keeps its
// platform's own window object and the tests of that backend can reach it;
// the handlers see only these verbs, with UTF-8 std::string texts and plain
// control ids, and so compile on both. Each backend's header ends with
//   static_assert(DialogVerbs<CDialogBase>);
// so that a verb missing or changed on one side fails that side's build.

#include <concepts>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "CanvasPainter.h"
#include "FileDialogCall.h"
#include "MessageBoxCall.h"
#include "res/DialogTemplate.h"

template <class D>
concept DialogVerbs = requires(D& d, const D& c, int id, bool flag, std::string_view text,
                               std::function<void()> handler, std::function<void(int)> rangeHandler,
                               CanvasPaint paint) {
    // Building and running the window.
    { d.DoModal() } -> std::same_as<int>;   // the code given to EndDialog
    { d.Create() } -> std::same_as<void>;   // controls + OnInitDialog, no loop (tests)
    { d.EndDialog(id) } -> std::same_as<void>;
    { c.IsEnding() } -> std::same_as<bool>;
    { c.TemplateId() } -> std::same_as<int>;
    { c.Template() } -> std::same_as<const DlgTemplate&>;
    { c.FindTemplateItem(id) } -> std::same_as<const DlgItem*>;

    // Controls by id.
    { c.GetDlgItemText(id) } -> std::same_as<std::string>;
    { d.SetDlgItemText(id, text) } -> std::same_as<void>;
    { c.GetDlgItemInt(id, &flag, flag) } -> std::same_as<int>;
    { d.EnableDlgItem(id, flag) } -> std::same_as<void>;
    { c.IsDlgItemEnabled(id) } -> std::same_as<bool>;
    { d.ShowDlgItem(id, flag) } -> std::same_as<void>;
    { c.IsDlgItemVisible(id) } -> std::same_as<bool>;
    { d.CheckDlgButton(id, flag) } -> std::same_as<void>;
    { c.IsDlgButtonChecked(id) } -> std::same_as<bool>;

    // Combo boxes (CB_GETCURSEL, CB_SETCURSEL, CB_GETCOUNT, CB_ADDSTRING,
    // CB_RESETCONTENT); the tip says where an entry leads (a port's path).
    { c.ComboGetCurSel(id) } -> std::same_as<int>;
    { d.ComboSetCurSel(id, id) } -> std::same_as<void>;
    { c.ComboGetCount(id) } -> std::same_as<int>;
    { d.ComboAddString(id, text) } -> std::same_as<void>;
    { d.ComboResetContent(id) } -> std::same_as<void>;
    { d.ComboSetItemTip(id, id, text) } -> std::same_as<void>;

    // Report-mode list views (LVM_INSERTCOLUMN, LVM_INSERTITEM,
    // LVM_SETITEMTEXT, LVM_GETITEMTEXT, LVM_GETITEMCOUNT, LVM_DELETEALLITEMS,
    // LVM_SETCOLUMNWIDTH): a column is added after the others with its width
    // in dialog units; a row is inserted at an index (past the end: appended,
    // the index it got returned) with the text of its first column; a cell
    // outside the list reads empty and takes no text. Fitting a column makes
    // it as wide as its widest text or its heading.
    { d.ListAddColumn(id, text, id) } -> std::same_as<void>;
    { d.ListInsertItem(id, id, text) } -> std::same_as<int>;
    { d.ListSetItemText(id, id, id, text) } -> std::same_as<void>;
    { c.ListGetItemText(id, id, id) } -> std::same_as<std::string>;
    { c.ListGetItemCount(id) } -> std::same_as<int>;
    { d.ListDeleteAllItems(id) } -> std::same_as<void>;
    { d.ListFitColumn(id, id) } -> std::same_as<void>;
    // The selected row (LVNI_SELECTED; the first of several), -1 for none;
    // selecting a row (-1: none) makes it the only one selected. A row the
    // operator double-clicks runs the OnListDblClk handler with its index.
    { c.ListGetSelectedRow(id) } -> std::same_as<int>;
    { d.ListSelectRow(id, id) } -> std::same_as<void>;
    { d.OnListDblClk(id, rangeHandler) } -> std::same_as<void>;

    // Progress bars (PBM_SETRANGE32, PBM_SETPOS, PBM_GETPOS): a position
    // outside the range is taken as its nearest end.
    { d.ProgressSetRange(id, id, id) } -> std::same_as<void>;
    { d.ProgressSetPos(id, id) } -> std::same_as<void>;
    { c.ProgressGetPos(id) } -> std::same_as<int>;

    // The window's own caption, in place of its template's until the next
    // opening.
    { d.SetWindowCaption(text) } -> std::same_as<void>;
    { c.GetWindowCaption() } -> std::same_as<std::string>;

    // Window timers by id, the window's icon, its system menu (the context
    // menu on Linux desktops); a chosen entry comes to OnSysCommand.
    { d.SetTimer(id, id) } -> std::same_as<void>;
    { d.KillTimer(id) } -> std::same_as<void>;
    { d.SetIcon(id) } -> std::same_as<void>;
    { d.AddSystemMenuItem(id, text) } -> std::same_as<void>;

    // Message boxes, through the one seam tests replace (MessageBoxCall.h).
    { d.MessageBox(text, text, MsgIcon::None) } -> std::same_as<int>;
    // Open and Save boxes, through the seam of FileDialogCall.h.
    { d.AskFileName(FileDialogCall{}) } -> std::same_as<std::optional<std::string>>;

    // A window without an owner and without a modal loop (the monitor): built
    // afresh when it is not open, shown and brought to the front; closing it
    // ends it as EndDialog does.
    { d.ShowModeless() } -> std::same_as<void>;

    // Canvas controls: the handler that draws one, a repaint of it once the
    // current handler has returned, and a picture of it as it would be drawn
    // now, at its size on the screen, written as a PNG file (false when the
    // file could not be written).
    { d.SetCanvasPaint(id, paint) } -> std::same_as<void>;
    { d.RefreshCanvas(id) } -> std::same_as<void>;
    { d.SaveCanvasPicture(id, text) } -> std::same_as<bool>;

    // The message map, and commands run as the operator or a posted message
    // would run them.
    { d.OnCommand(id, handler) } -> std::same_as<void>;
    { d.OnSelChange(id, handler) } -> std::same_as<void>;
    { d.OnCommandRange(id, id, rangeHandler) } -> std::same_as<void>;
    { d.PostCommand(id) } -> std::same_as<void>;
    { d.ClickDlgItem(id) } -> std::same_as<void>;
};
