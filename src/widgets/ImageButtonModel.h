#pragma once
// What the image button is apart from how it draws: its fields, the setters
// with their result codes, the colour state of a paint, which image of a pair
// a state shows and where an image goes beside or above the caption. Both
// platforms' buttons (Qt on Linux, GDI on Windows) are built on it and add the
// drawing, the images' pixels and the platform's calls.
//
// No Qt and no <windows.h>. Window thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ColorShade.h"
#include "ImageButtonCodes.h"
#include "PixelRect.h"

struct IbPoint {
    int x = 0;
    int y = 0;
    bool operator==(const IbPoint&) const = default;
};


// The tooltip's balloon style, and the widest a tip line may be.
inline constexpr std::uint32_t kTipBalloonStyle = 0x40;
inline constexpr int kTipMaxWidth = 400;

// The dialog-code answer of a push button.
inline constexpr std::uint32_t kDlgcDefPushButton = 0x0010;
inline constexpr std::uint32_t kDlgcUndefPushButton = 0x0020;

class CImageButtonModel {
public:
    CImageButtonModel() = default;
    virtual ~CImageButtonModel() = default;
    CImageButtonModel(const CImageButtonModel&) = delete;
    CImageButtonModel& operator=(const CImageButtonModel&) = delete;

    // The setters draw the button again when `repaint` is set and the setting
    // was taken (IB_OK).

    // --- colours ------------------------------------------------------------
    std::uint32_t SetStateColor(std::uint8_t index, ColorRef color, bool repaint = true);
    // Leaves `color` alone on a bad index.
    std::uint32_t GetStateColor(std::uint8_t index, ColorRef& color) const;
    // Lightens (shade > 0) or darkens (shade < 0) all three channels by the
    // same amount, cut so that none leaves 0..255.
    std::uint32_t ShiftStateColor(std::uint8_t index, std::int16_t shade, bool repaint = true);
    // The three faces to `face`, the three texts to `text`: the system's
    // button colours as they are now.
    void SetSystemColors(ColorRef face, ColorRef text);

    // --- look ---------------------------------------------------------------
    std::uint32_t SetFlatLook(bool flat, bool repaint = true);
    std::uint32_t SetFlatBorder(bool on, bool repaint = true);
    std::uint32_t SetFlatFocus(bool on, bool repaint = true);
    // Hover also while no window of the program is active.
    std::uint32_t SetHoverAlways(bool on);
    std::uint32_t SetImageAlign(std::uint8_t align, bool repaint = true);
    std::uint32_t SetPressShift(std::uint8_t style, bool repaint = true);
    bool IsHot() const { return m_hover; }
    bool IsFlat() const { return m_flat; }

    // --- check state and default button --------------------------------------
    bool GetCheckState() const { return m_checkState; }
    bool IsDefaultButton() const { return m_isDefault; }
    bool IsCheckBox() const { return m_isCheckBox; }
    // The pre-subclass step, given the control's button type (its style's low
    // five bits): check-box mode for types with bit 2 set (the check boxes,
    // the group box, the push box and a control owner-drawn already), the
    // default-button state for type 1.
    void TakeButtonType(std::uint32_t type);
    // The button-style message: type 1 makes the button the default one, 0 a
    // plain one; other types leave it.
    void TakeButtonStyle(std::uint32_t style);
    // The check message's states: 1 and 2 check, anything else unchecks.
    static int CheckStateOf(std::uintptr_t checkMessageState) {
        return checkMessageState == 1 || checkMessageState == 2 ? 1 : 0;
    }
    // The push-button part of the answer to the dialog-code query.
    std::uint32_t PushButtonDlgCode() const { return m_isDefault ? kDlgcDefPushButton : kDlgcUndefPushButton; }

    // --- painting -------------------------------------------------------------
    // The state of the paint that begins: pressed while selected, in check-box
    // mode also while checked, otherwise also while the drop-down menu is up.
    void BeginPaint(bool selected, bool focused, bool disabled, bool menuLoaded);
    // The colours of the paint in progress: hot (hovered or pressed) first,
    // then focused, then at rest.
    ColorRef FaceColor() const;
    ColorRef TextColor() const;
    // The image of a pair the paint shows: the in image (0) while pressed or,
    // outside check-box mode, hovered; otherwise the out image (1) when there
    // is one.
    std::size_t ChooseSlot(bool outSet) const;
    // Where an image of w x h goes in `item`, and how `caption` makes room for
    // it. `clientRight` is the right edge of the button's client area, which
    // an image right of the caption keeps its margin from. The image
    // rectangle's right and bottom stay the item's; only its top-left moves,
    // and while pressed (not a check box) it moves by the press shift.
    PixelRect PlaceImage(bool hasText, const PixelRect& item, PixelRect& caption, bool pressed, int w, int h,
                      int clientRight) const;
    // Where the caption goes while pressed.
    PixelRect ShiftedWhilePressed(PixelRect rect, bool pressed) const;

    // --- extras -------------------------------------------------------------
    // The button sizes itself to its image, which then has no margin.
    void FitImageOrigin() { m_imageOrigin = {0, 0}; }
    std::uint32_t UseBalloonTip();
    std::uint32_t TipStyle() const { return m_tipStyle; }
    // Opened on a click; nullptr clears it. A URL longer than the button
    // keeps is refused whole (IB_BAD_ARGUMENT, nothing changes) rather than
    // cut into another address.
    std::uint32_t SetLinkUrl(const char* url);
    const std::string& LinkUrl() const { return m_url; }
    // A sound's name fits the button's buffer (259 bytes and the zero).
    static bool FitsPathBuffer(const char* name) {
        return std::char_traits<char>::length(name) <= kIbMaxPathBytes;
    }
    // The sound call's flags for a file or a resource sound.
    static std::uint32_t SoundFlags(bool resource, bool async) {
        return (resource ? kSndResource : kSndFileName) | kSndNoDefault | kSndNoWait | (async ? kSndAsync : 0);
    }
    bool IsMenuShown() const { return m_menuShown; }
    bool IsTransparent() const { return m_transparent; }

protected:
    // Draws the control again when `now`; a model without a control has
    // nothing to draw.
    virtual void Repaint(bool now) { (void)now; }
    std::uint32_t Repainted(std::uint32_t result, bool repaint) {
        if (result == IB_OK) Repaint(repaint);
        return result;
    }

    // Fields in the order of the button's record; the platforms keep the
    // images, cursor, menu, tooltip and snapshot themselves.
    bool m_showDisabledBitmap = true;
    IbPoint m_imageOrigin{3, 3};
    IbPoint m_pressShift{1, 1};
    bool m_flat = true;
    bool m_hover = false;
    bool m_transparent = false;
    bool m_drawPressed = false;
    bool m_drawFocused = false;
    bool m_drawDisabled = false;
    bool m_isDefault = false;
    bool m_isCheckBox = false;
    std::uint8_t m_align = IB_ALIGN_IMAGE_LEFT;
    bool m_drawBorder = true;
    bool m_drawFlatFocus = false;
    std::array<ColorRef, IB_COLOR_COUNT> m_colors{};
    bool m_menuShown = false;
    bool m_alwaysTrack = true;
    bool m_checkState = false;
    std::uint32_t m_tipStyle = 0;
    std::string m_url;
};
