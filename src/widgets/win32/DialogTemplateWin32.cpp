#include "DialogTemplateWin32.h"

#include <string_view>

#include "CanvasWin32.h"
#include "CommonControlsWin32.h"
#include "TextWin32.h"

namespace {

// Class atoms of the dialog manager's predefined controls.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;
// The common controls' list view has a class name, not an atom.
constexpr char kListViewClass[] = "SysListView32";
constexpr char kProgressClass[] = "msctls_progress32";

// Appends the fields of the template in their little-endian layout; strings
// are NUL-terminated UTF-16, an ordinal is 0xFFFF and its number.
class CTemplateWriter {
public:
    void Word(std::uint16_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void Text(std::string_view utf8) {
        for (const wchar_t c : Utf16(utf8)) Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void Ordinal(std::uint16_t number) {
        Word(0xFFFF);
        Word(number);
    }
    void AlignToDword() {
        while (m_bytes.size() % 4 != 0) m_bytes.push_back(0);
    }
    std::vector<std::uint32_t> Dwords() {
        AlignToDword();
        std::vector<std::uint32_t> words(m_bytes.size() / 4);
        for (std::size_t i = 0; i < words.size(); ++i) {
            words[i] = m_bytes[4 * i] | m_bytes[4 * i + 1] << 8 | m_bytes[4 * i + 2] << 16 |
                       static_cast<std::uint32_t>(m_bytes[4 * i + 3]) << 24;
        }
        return words;
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

bool ProgramHasIcon(int resource) {
    return resource > 0 && resource <= 0xFFFF &&
           FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                         reinterpret_cast<LPCWSTR>(RT_GROUP_ICON)) != nullptr;
}

DWORD WindowStyle(const DlgItem& item) {
    DWORD style = WS_CHILD;
    if (item.style & DlgStyle::Visible) style |= WS_VISIBLE;
    if (item.style & DlgStyle::Disabled) style |= WS_DISABLED;
    if (item.style & DlgStyle::TabStop) style |= WS_TABSTOP;
    return style;
}

DWORD ControlStyle(const DlgItem& item) {
    const DWORD style = WindowStyle(item);
    switch (item.kind) {
        // Static texts start a group, as in a resource script, so that the
        // arrow keys stop at them.
        case DlgItemKind::LText: return style | SS_LEFT | WS_GROUP;
        case DlgItemKind::RText: return style | SS_RIGHT | WS_GROUP;
        case DlgItemKind::CText: return style | SS_CENTER | WS_GROUP;
        case DlgItemKind::Icon: return style | SS_ICON;
        case DlgItemKind::Edit:
            return style | ES_LEFT | (item.style & DlgStyle::AutoHScroll ? ES_AUTOHSCROLL : 0) |
                   (item.style & DlgStyle::ReadOnly ? ES_READONLY : 0);
        case DlgItemKind::PushButton: return style | BS_PUSHBUTTON;
        case DlgItemKind::DefPushButton: return style | BS_DEFPUSHBUTTON;
        case DlgItemKind::AutoCheckBox: return style | BS_AUTOCHECKBOX;
        case DlgItemKind::GroupBox: return style | BS_GROUPBOX;
        // The typed text of an editable box may run past its width.
        case DlgItemKind::ComboDropDown:
            return style | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL |
                   (item.style & DlgStyle::Sort ? CBS_SORT : 0);
        case DlgItemKind::ComboDropList:
            return style | CBS_DROPDOWNLIST | WS_VSCROLL | (item.style & DlgStyle::Sort ? CBS_SORT : 0);
        // Column headings that do not sort: the rows' order is the window's.
        case DlgItemKind::ListView: return style | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
        case DlgItemKind::Canvas: return style;
        case DlgItemKind::Progress: return style | WS_BORDER;
    }
    return style;
}

WORD ClassOf(DlgItemKind kind) {
    switch (kind) {
        case DlgItemKind::LText:
        case DlgItemKind::RText:
        case DlgItemKind::CText:
        case DlgItemKind::Icon: return kStaticClass;
        case DlgItemKind::Edit: return kEditClass;
        case DlgItemKind::ComboDropDown:
        case DlgItemKind::ComboDropList: return kComboBoxClass;
        case DlgItemKind::PushButton:
        case DlgItemKind::DefPushButton:
        case DlgItemKind::AutoCheckBox:
        case DlgItemKind::GroupBox:
        case DlgItemKind::ListView: break;
        case DlgItemKind::Canvas:
        case DlgItemKind::Progress: break;
    }
    return kButtonClass;
}

void WriteItem(CTemplateWriter& out, const DlgItem& item) {
    out.AlignToDword();
    out.Dword(0);  // help id
    // The sunken edge of the dialog manager's three-dimensional look.
    const bool sunken = item.kind == DlgItemKind::Edit || item.kind == DlgItemKind::ListView;
    out.Dword(sunken ? WS_EX_CLIENTEDGE : 0);
    out.Dword(ControlStyle(item));
    out.Short(item.x);
    out.Short(item.y);
    out.Short(item.cx);
    out.Short(item.cy);
    out.Dword(static_cast<DWORD>(item.id));  // -1 for the unaddressed statics, as in a script
    // A list view, a progress bar or a canvas is a window class named by its
    // name (the canvas's is our own); the rest are predefined.
    if (item.kind == DlgItemKind::ListView) {
        out.Text(kListViewClass);
    } else if (item.kind == DlgItemKind::Progress) {
        out.Text(kProgressClass);
    } else if (item.kind == DlgItemKind::Canvas) {
        out.Text(Utf8(CanvasClassName()));
    } else {
        out.Ordinal(ClassOf(item.kind));
    }
    if (item.kind == DlgItemKind::Icon && ProgramHasIcon(item.resource)) {
        out.Ordinal(static_cast<std::uint16_t>(item.resource));
    } else if (item.kind == DlgItemKind::Icon) {
        out.Text("");
    } else {
        out.Text(item.text ? item.text : "");
    }
    out.Word(0);  // no creation data
}

// The dialog manager makes a list view or a progress bar only once the
// common controls have registered its class in the process.
void RegisterCommonControlClasses(const DlgTemplate& tmpl) {
    for (const DlgItem& item : tmpl.items) {
        if (item.kind != DlgItemKind::ListView && item.kind != DlgItemKind::Progress) continue;
        static const bool registered = [] {
            const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
            return InitCommonControlsEx(&classes) != FALSE;
        }();
        (void)registered;
        return;
    }
}

}  // namespace

std::vector<std::uint32_t> BuildDialogTemplate(const DlgTemplate& tmpl) {
    RegisterCommonControlClasses(tmpl);
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    if (tmpl.minimizeBox) style |= WS_MINIMIZEBOX;

    CTemplateWriter out;
    out.Word(1);       // version of the extended template
    out.Word(0xFFFF);  // its signature
    out.Dword(0);      // help id
    out.Dword(0);      // extended style
    out.Dword(style);
    out.Word(static_cast<std::uint16_t>(tmpl.items.size()));
    out.Short(0);  // x and y: DS_CENTER places the window
    out.Short(0);
    out.Short(tmpl.cx);
    out.Short(tmpl.cy);
    out.Word(0);  // no menu
    out.Word(0);  // the dialog manager's own window class
    out.Text(tmpl.caption ? tmpl.caption : "");
    // DS_SETFONT: the dialog manager measures its dialog units with this font.
    out.Word(static_cast<std::uint16_t>(tmpl.pointSize));
    out.Word(FW_NORMAL);
    out.Word(DEFAULT_CHARSET << 8);  // italic 0, then the character set
    out.Text(tmpl.fontFace ? tmpl.fontFace : "");

    for (const DlgItem& item : tmpl.items) WriteItem(out, item);
    return out.Dwords();
}
