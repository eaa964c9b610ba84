#pragma once
// Shorthands for the template tables, named after the statements of a
// resource script so that a table reads like one: LTEXT/RTEXT for static
// texts, EDITTEXT, PUSHBUTTON, DEFPUSHBUTTON, COMBOBOX, ICON, and
// CONTROL "", id, "SysListView32" as ListView.

#include "DialogTemplate.h"

namespace dlg {

inline constexpr int kStatic = -1;  // a static text that no code addresses

// Static texts take no keyboard focus.
inline constexpr std::uint32_t kStaticStyle = DlgStyle::Visible;
inline constexpr std::uint32_t kEditStyle = DlgStyle::Default | DlgStyle::AutoHScroll;
// Created without the visible style and disabled: nothing shows them.
inline constexpr std::uint32_t kHiddenDisabled = DlgStyle::TabStop | DlgStyle::Disabled;

constexpr DlgItem LText(const char* text, int x, int y, int cx, int cy,
                        std::uint32_t style = kStaticStyle) {
    return {kStatic, DlgItemKind::LText, text, x, y, cx, cy, style};
}
constexpr DlgItem RText(const char* text, int x, int y, int cx, int cy,
                        std::uint32_t style = kStaticStyle) {
    return {kStatic, DlgItemKind::RText, text, x, y, cx, cy, style};
}
constexpr DlgItem EditText(int id, int x, int y, int cx, int cy,
                           std::uint32_t style = kEditStyle) {
    return {id, DlgItemKind::Edit, "", x, y, cx, cy, style};
}
constexpr DlgItem PushButton(const char* text, int id, int x, int y, int cx, int cy,
                             std::uint32_t style = DlgStyle::Default) {
    return {id, DlgItemKind::PushButton, text, x, y, cx, cy, style};
}
constexpr DlgItem DefPushButton(const char* text, int id, int x, int y, int cx, int cy) {
    return {id, DlgItemKind::DefPushButton, text, x, y, cx, cy, DlgStyle::Default};
}
// `cy` is the height of the dropped list.
constexpr DlgItem ComboDropDown(int id, int x, int y, int cx, int cy,
                                std::span<const char* const> items) {
    return {id, DlgItemKind::ComboDropDown, "", x, y, cx, cy, DlgStyle::Default, items};
}
// A report list with a border; its columns come from the window's code.
constexpr DlgItem ListView(int id, int x, int y, int cx, int cy) {
    return {id, DlgItemKind::ListView, "", x, y, cx, cy, DlgStyle::Default};
}
// CONTROL "", id, "msctls_progress32", WS_BORDER
constexpr DlgItem Progress(int id, int x, int y, int cx, int cy) {
    return {id, DlgItemKind::Progress, "", x, y, cx, cy, DlgStyle::Visible};
}
constexpr DlgItem AutoCheckBox(const char* text, int id, int x, int y, int cx, int cy) {
    return {id, DlgItemKind::AutoCheckBox, text, x, y, cx, cy};
}
constexpr DlgItem Icon(int resource, int x, int y, int cx, int cy) {
    return {kStatic, DlgItemKind::Icon, "", x, y, cx, cy, kStaticStyle, {}, resource};
}

}  // namespace dlg
