#pragma once
// Dialog templates as data, in the shape of a resource script: one table of
// controls per dialog, each with its id, kind, text, rectangle in dialog units
// and style. The windows are built from these tables in their order, which is
// also the keyboard tab order.

#include <cstdint>
#include <span>

enum class DlgItemKind {
    LText,           // static text, left-aligned
    RText,           // static text, right-aligned
    CText,           // static text, centred
    Icon,            // static icon; `resource` names the icon
    Edit,            // single-line edit with border
    PushButton,
    DefPushButton,   // the dialog's default button
    AutoCheckBox,    // check box that ticks itself on each click
    ComboDropDown,   // editable drop-down combo box; `cy` is the list height
    ComboDropList,   // non-editable drop-down list; `cy` is the list height
    GroupBox,
    ListView,        // report list: columns with headings, one row per entry
    Canvas,          // an area the window's handler draws (SetCanvasPaint)
    Progress,        // progress bar (ProgressSetRange, ProgressSetPos)
};

// Style bits of a control (the template's own names where it has them).
namespace DlgStyle {
inline constexpr std::uint32_t Visible = 1u << 0;      // WS_VISIBLE
inline constexpr std::uint32_t Disabled = 1u << 1;     // WS_DISABLED
inline constexpr std::uint32_t ReadOnly = 1u << 2;     // ES_READONLY
inline constexpr std::uint32_t TabStop = 1u << 3;      // WS_TABSTOP
inline constexpr std::uint32_t AutoHScroll = 1u << 4;  // ES_AUTOHSCROLL
inline constexpr std::uint32_t Sort = 1u << 5;         // CBS_SORT
inline constexpr std::uint32_t LargeText = 1u << 6;    // a static text in a large bold font
// The large font's size, in sizes of the dialog's font.
inline constexpr double kLargeTextScale = 1.6;
inline constexpr std::uint32_t Default = Visible | TabStop;
}  // namespace DlgStyle

struct DlgItem {
    int id;  // -1 for static texts that no code addresses
    DlgItemKind kind;
    const char* text;  // UTF-8
    int x, y, cx, cy;  // dialog units
    std::uint32_t style = DlgStyle::Default;
    std::span<const char* const> items = {};  // initial entries of a combo box
    int resource = 0;                         // icon id of an Icon control
};

struct DlgTemplate {
    int id;
    const char* caption;  // UTF-8
    int cx, cy;           // dialog units
    const char* fontFace;
    int pointSize;
    std::span<const DlgItem> items;
    bool minimizeBox = false;  // WS_MINIMIZEBOX: the window can be minimised
};

// The button type of a button control, as the low bits of its window style
// carry it: 0 push button, 1 default push button, 3 automatic check box,
// 7 group box; -1 for a control that is no button.
int ButtonTypeOf(const DlgItem& item);

// nullptr for an unknown id.
const DlgTemplate* FindDialogTemplate(int templateId);
