// The image button's input: the messages of its control (hover tracking,
// focus, enabling, the dialog manager's questions, the tooltip's relay, the
// cursor) and of the control's parent (draw-item records, clicks, colours).

#include "widgets/DesktopSeams.h"
#include "widgets/win32/ImageButtonMessagesWin32.h"

namespace {

// One subclass of each kind per window: the ids tell them apart from other
// subclasses the window may have.
constexpr UINT_PTR kControlSubclassId = 0x1B0C;
constexpr UINT_PTR kParentSubclassId = 0x1B0D;

// The property that names a control's image button, so that the button of a
// control window is found from the window alone.
constexpr wchar_t kButtonProperty[] = L"Sentrabus.ImageButton";

// The button types that BM_SETSTYLE turns into owner-drawn: everything in the
// low bits but the owner-draw type is taken out.
constexpr WPARAM kStyleBitsCleared = 0x14;

}  // namespace

bool ImageButtonMessages::Follow(HWND control, HWND parent, CImageButton& button) {
    if (!SetPropW(control, kButtonProperty, &button)) return false;
    // Installing it again for the parent's next button changes nothing.
    if (!SetWindowSubclass(control, ControlProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(&button)) ||
        !SetWindowSubclass(parent, ParentProc, kParentSubclassId, 0)) {
        Unfollow(control);
        return false;
    }
    return true;
}

void ImageButtonMessages::Unfollow(HWND control) {
    RemoveWindowSubclass(control, ControlProc, kControlSubclassId);
    RemovePropW(control, kButtonProperty);
}

CImageButton* ImageButtonMessages::ButtonOf(HWND control) {
    return control ? static_cast<CImageButton*>(GetPropW(control, kButtonProperty)) : nullptr;
}

LRESULT CALLBACK ImageButtonMessages::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                  UINT_PTR /*id*/, DWORD_PTR reference) {
    CImageButton& button = *reinterpret_cast<CImageButton*>(reference);
    // The mouse's messages reach the tooltip too, which shows and hides the
    // tip by them; a double click goes as the press it is taken for.
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        button.RelayToTip(message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message, wParam, lParam);
    switch (message) {
        case WM_MOUSEMOVE: {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            button.TrackHover(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_LBUTTON) != 0);
            return result;
        }
        case WM_MOUSELEAVE: button.CancelHover(); return 0;
        case WM_KILLFOCUS:
        case WM_CANCELMODE: {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            button.CancelHover();
            return result;
        }
        case WM_ACTIVATE: {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (LOWORD(wParam) == WA_INACTIVE) button.CancelHover();
            return result;
        }
        case WM_ENABLE: {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (!wParam) {
                button.MoveFocusToNextTabStop();
                button.CancelHover();
            }
            return result;
        }
        case WM_GETDLGCODE: {
            const LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
            return (code & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) |
                   (button.m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        }
        case WM_SYSCOLORCHANGE: {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            // The snapshot of the parent is stale, and the owner's colours
            // are lost until it sets them again.
            button.m_background.reset();
            button.ResetColors(true);
            return result;
        }
        case WM_SIZE: {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            button.FitTipToButton();
            return result;
        }
        case WM_SETCURSOR:
            if (button.m_cursor) {
                SetCursor(button.m_cursor.get());
                return TRUE;
            }
            return DefSubclassProc(hwnd, message, wParam, lParam);
        case WM_LBUTTONDBLCLK:
            // A double click is a second press, so that two quick clicks are
            // two clicks (an owner-drawn button would report a double click).
            return DefSubclassProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
        case BM_SETSTYLE: {
            // The dialog manager moves the default-button look with this; the
            // control must stay owner-drawn all the same.
            const WPARAM type = wParam & 0x1F;
            if (type == BS_DEFPUSHBUTTON) button.m_isDefault = true;
            if (type == BS_PUSHBUTTON) button.m_isDefault = false;
            return DefSubclassProc(hwnd, message, (wParam & ~kStyleBitsCleared) | BS_OWNERDRAW, lParam);
        }
        case BM_SETCHECK: button.SetCheckState(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, true); return 0;
        case BM_GETCHECK: return button.m_checkState ? BST_CHECKED : BST_UNCHECKED;
        case WM_NCDESTROY:
            button.m_tip.reset();
            button.m_hwnd = nullptr;
            Unfollow(hwnd);
            return DefSubclassProc(hwnd, message, wParam, lParam);
        default: return DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK ImageButtonMessages::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR /*id*/, DWORD_PTR /*unused*/) {
    switch (message) {
        case WM_DRAWITEM: {
            const auto* record = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (record && CImageButton::DrawIfOurs(*record)) return TRUE;
            break;
        }
        case WM_COMMAND:
            // The button's side of the click first; the parent still gets the
            // command.
            if (HIWORD(wParam) == BN_CLICKED) {
                if (CImageButton* button = ButtonOf(reinterpret_cast<HWND>(lParam))) button->OnClicked();
            }
            break;
        case WM_CTLCOLORBTN:
            // The face is all the button's: nothing to erase beneath it.
            if (ButtonOf(reinterpret_cast<HWND>(lParam))) return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            break;
        case WM_SYSCOLORCHANGE:
            // Only top-level windows hear of a colour change: pass it on.
            EnumChildWindows(
                hwnd,
                [](HWND child, LPARAM) -> BOOL {
                    if (ButtonOf(child)) SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
                    return TRUE;
                },
                0);
            break;
        case WM_NCDESTROY: RemoveWindowSubclass(hwnd, ParentProc, kParentSubclassId); break;
        default: break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

bool CImageButton::DrawIfOurs(const tagDRAWITEMSTRUCT& record) {
    if (record.CtlType != ODT_BUTTON) return false;
    CImageButton* button = ImageButtonMessages::ButtonOf(record.hwndItem);
    if (!button) return false;
    button->DrawItem(record);
    return true;
}

void CImageButton::TrackHover(int x, int y, bool leftButtonDown) {
    // A drag that began elsewhere does not light the buttons it crosses.
    if (leftButtonDown && !m_hover) return;
    if (!m_flat || !m_hwnd) return;
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const bool overThis = PtInRect(&client, POINT{x, y}) != FALSE;
    // Tracking follows this button when it hovers always, else the thread's
    // active window, of which there may be none.
    const bool tracking = m_alwaysTrack || GetActiveWindow() != nullptr;
    if (overThis && tracking) {
        if (!m_hover) {
            m_hover = true;
            Repaint(true);
            PlaySlot(0);
            // The leave message ends the hover when the mouse goes.
            TRACKMOUSEEVENT leave{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hwnd, 0};
            TrackMouseEvent(&leave);
        }
        return;
    }
    CancelHover();
}

void CImageButton::CancelHover() {
    if (m_flat && m_hover) {
        m_hover = false;
        Repaint(true);
    }
}

void CImageButton::OnClicked() {
    if (m_hwnd && GetFocus() != m_hwnd) SetFocus(m_hwnd);
    PlaySlot(1);
    if (m_isCheckBox) {
        m_checkState = !m_checkState;
        Repaint(true);
    } else if (m_menu) {
        DropMenu();
    } else if (!m_url.empty()) {
        OpenUrlOnDesktop(m_url);
    }
}

void CImageButton::MoveFocusToNextTabStop() {
    const HWND parent = GetParent(m_hwnd);
    if (!parent) return;
    const HWND next = GetNextDlgTabItem(parent, m_hwnd, FALSE);
    SetFocus(next && next != m_hwnd ? next : parent);
}
