#pragma once
// The image button on Windows: an owner-drawn push button that paints its face
// in one of three colour states (at rest, focused, hot = hovered or pressed),
// with a flat look in which an edge shows only while the mouse is over it. A
// window attaches it to one of its template's buttons with SubclassDlgItem;
// the control stays the dialog manager's button (focus, Tab, clicks, the
// command to the window), and the button draws it and follows the mouse.
//
// Colour state precedence: hot first, then focused, then at rest.
//
// The parent's draw-item message reaches the button without the dialog's
// help: attaching also subclasses the parent, which hands every owner-draw
// record of an attached image button to it (DrawIfOurs) and passes anything
// else on. The images, tooltip, cursor, sounds, drop-down menu, link and
// transparent face are the Linux button's alone.
//
// Window thread only. No <windows.h> here: its macros collide with the
// dialog verbs.

#include <array>
#include <cstdint>
#include <string>

#include "widgets/ColorRef.h"
#include "widgets/ImageButtonCodes.h"

struct HWND__;
struct HDC__;
struct tagRECT;
struct tagDRAWITEMSTRUCT;

class CImageButton {
public:
    using WindowHandle = HWND__*;
    using DcHandle = HDC__*;

    // Creates no window: the object comes alive when attached to a control.
    CImageButton();
    virtual ~CImageButton();
    CImageButton(const CImageButton&) = delete;
    CImageButton& operator=(const CImageButton&) = delete;

    // Attaches the button to control `id` of `parent` (the Win32 dialog, which
    // hands out its controls' windows by id). False when there is no such
    // control or the button is attached already.
    template <class Dialog>
    bool SubclassDlgItem(int id, Dialog& parent) {
        return Attach(parent.ItemHandle(id));
    }
    // The same for a button window: reads its button type (the pre-subclass
    // step), makes it owner-drawn and follows its messages.
    bool Attach(WindowHandle control);
    // Gives the control back as it is (still owner-drawn); also done by the
    // destructor and when the control's window goes.
    void Detach();
    WindowHandle Handle() const { return m_hwnd; }

    // --- colours ------------------------------------------------------------
    std::uint32_t SetStateColor(std::uint8_t index, ColorRef color, bool repaint = true);
    // Leaves `color` alone on a bad index.
    std::uint32_t GetStateColor(std::uint8_t index, ColorRef& color) const;
    // Lightens (shade > 0) or darkens (shade < 0) all three channels by the
    // same amount, cut so that none leaves 0..255.
    std::uint32_t ShiftStateColor(std::uint8_t index, std::int16_t shade, bool repaint = true);
    // The faces to the system's button-face colour, the texts to its
    // button-text colour, as they are now.
    std::uint32_t ResetColors(bool repaint = true);

    // --- look ---------------------------------------------------------------
    std::uint32_t SetFlatLook(bool flat, bool repaint = true);
    std::uint32_t SetFlatBorder(bool on, bool repaint = true);
    std::uint32_t SetFlatFocus(bool on, bool repaint = true);
    // Hover also while no window of the thread is active.
    std::uint32_t SetHoverAlways(bool on);
    std::uint32_t SetImageAlign(std::uint8_t align, bool repaint = true);
    std::uint32_t SetPressShift(std::uint8_t style, bool repaint = true);

    // --- check state and default button --------------------------------------
    // Only in check-box mode: checked when `state` is non-zero.
    std::uint32_t SetCheckState(int state, bool repaint = true);
    bool GetCheckState() const { return m_checkState; }
    bool IsDefaultButton() const { return m_isDefault; }
    bool IsHot() const { return m_hover; }
    bool IsFlat() const { return m_flat; }
    bool IsCheckBox() const { return m_isCheckBox; }

    // --- drawing --------------------------------------------------------------
    // The owner-draw entry: face, edge, caption and focus rectangle into the
    // record's context, by the record's state and the button's own.
    void DrawItem(const tagDRAWITEMSTRUCT& record);
    // Draws `record` when it is for an attached image button; false
    // otherwise. For a window that catches its draw-item messages itself.
    static bool DrawIfOurs(const tagDRAWITEMSTRUCT& record);

protected:
    // The pre-subclass step, given the control's style: check-box mode for
    // button types with bit 2 set, the default-button state for type 1.
    virtual void PreSubclassWindow(std::uint32_t style);

    // The paint steps, in this order. PaintFace may shrink the face
    // rectangle.
    virtual void PaintFace(DcHandle dc, tagRECT& face);
    virtual void PaintEdge(DcHandle dc, const tagRECT& face);
    virtual void PaintCaption(DcHandle dc, const std::wstring& text, const tagRECT& item, tagRECT& caption,
                              bool pressed, bool disabled);

    // The colours the paint in progress uses, by the state precedence.
    ColorRef FaceColor() const;
    ColorRef TextColor() const;
    ColorRef BackColorOfText() const;

    // Fields in the order of the Linux button's record, as far as they exist here.
    struct Shift {
        int dx;
        int dy;
    };
    Shift m_pressShift{1, 1};
    bool m_flat = true;
    bool m_hover = false;
    bool m_drawPressed = false;
    bool m_drawFocused = false;
    bool m_drawDisabled = false;
    bool m_isDefault = false;
    bool m_isCheckBox = false;
    std::uint8_t m_align = IB_ALIGN_IMAGE_LEFT;
    bool m_drawBorder = true;
    bool m_drawFlatFocus = false;
    std::array<ColorRef, IB_COLOR_COUNT> m_colors{};
    bool m_alwaysTrack = true;
    bool m_checkState = false;

private:
    // The control's and the parent's messages that the button takes a part
    // in (ImageButtonInputWin32.cpp).
    friend struct ImageButtonMessages;

    // Hover tracking: a move over the button makes it hot, unless the left
    // button is held (a drag that began elsewhere); anything else ends it.
    void TrackHover(int x, int y, bool leftButtonDown);
    void CancelHover();
    // The button's side of a click, before the parent's command.
    void OnClicked();
    // Disabling moves the focus on to the next tab stop of the window.
    void MoveFocusToNextTabStop();
    void Repaint(bool repaint);

    WindowHandle m_hwnd = nullptr;
};
