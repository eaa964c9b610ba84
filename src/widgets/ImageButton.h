#pragma once
// An owner-drawn push button for dialog windows. It paints its face in one of
// three colour states (at rest, focused, hot = hovered or pressed), has a flat
// look in which an edge shows only while the mouse is over it, and keeps the
// template's control in everything else: a window attaches it to one of its
// controls with SubclassDlgItem, which puts it in the control's place.
//
// Colour state precedence: hot first, then focused, then at rest.
//
// Window thread only.

#include <array>
#include <cstdint>

#include <QPoint>
#include <QPushButton>
#include <QRect>

#include "ColorRef.h"

class CDialogBase;
class QPainter;

// Results of the setters.
inline constexpr std::uint32_t IB_OK = 0;
inline constexpr std::uint32_t IB_NO_RESOURCE = 1;      // an image, cursor, menu or toolbar cannot be loaded
inline constexpr std::uint32_t IB_MASK_FAILED = 2;      // a bitmap mask cannot be made
inline constexpr std::uint32_t IB_BAD_INDEX = 3;        // colour index above 5
inline constexpr std::uint32_t IB_BAD_ALIGN = 4;        // alignment above 3
inline constexpr std::uint32_t IB_BAD_ARGUMENT = 5;     // shade outside -255..255, snapshot refused
inline constexpr std::uint32_t IB_BAD_PRESS_STYLE = 6;  // press style other than 0 or 1

// Colour indices: face and text per state.
inline constexpr std::uint8_t IB_COLOR_HOT_BACK = 0;     // hovered or pressed
inline constexpr std::uint8_t IB_COLOR_HOT_TEXT = 1;
inline constexpr std::uint8_t IB_COLOR_NORMAL_BACK = 2;  // at rest
inline constexpr std::uint8_t IB_COLOR_NORMAL_TEXT = 3;
inline constexpr std::uint8_t IB_COLOR_FOCUS_BACK = 4;   // focused and not hot
inline constexpr std::uint8_t IB_COLOR_FOCUS_TEXT = 5;
inline constexpr std::uint8_t IB_COLOR_COUNT = 6;

// Image and caption arrangement.
inline constexpr std::uint8_t IB_ALIGN_IMAGE_LEFT = 0;
inline constexpr std::uint8_t IB_ALIGN_IMAGE_ABOVE = 1;
inline constexpr std::uint8_t IB_ALIGN_IMAGE_RIGHT = 2;
inline constexpr std::uint8_t IB_ALIGN_CORNER = 3;

// How image and caption move while pressed.
inline constexpr std::uint8_t IB_PRESS_DIAGONAL = 0;  // by (1, 1)
inline constexpr std::uint8_t IB_PRESS_DOWN = 1;      // by (0, 2)

// The dialog-code answer of a push button.
inline constexpr std::uint32_t kDlgcDefPushButton = 0x0010;
inline constexpr std::uint32_t kDlgcUndefPushButton = 0x0020;
inline constexpr std::uint32_t kDlgcButton = 0x2000;

class CImageButton : public QPushButton {
    Q_OBJECT
public:
    // Creates no window: the object comes alive when attached to a control.
    CImageButton();
    ~CImageButton() override;
    CImageButton(const CImageButton&) = delete;
    CImageButton& operator=(const CImageButton&) = delete;

    // Attaches the button to control `id` of `parent`: the pre-subclass hook
    // reads the control's button type, then the button takes the control's
    // place. False when the window has no such control.
    bool SubclassDlgItem(int id, CDialogBase& parent);

    // --- colours ------------------------------------------------------------
    std::uint32_t SetStateColor(std::uint8_t index, ColorRef color, bool repaint = true);
    // Leaves `color` alone on a bad index.
    std::uint32_t GetStateColor(std::uint8_t index, ColorRef& color) const;
    // Lightens (shade > 0) or darkens (shade < 0) all three channels by the
    // same amount, cut so that none leaves 0..255.
    std::uint32_t ShiftStateColor(std::uint8_t index, std::int16_t shade, bool repaint = true);
    // The faces to the palette's button colour, the texts to its button-text
    // colour, as they are now.
    std::uint32_t ResetColors(bool repaint = true);

    // --- look ---------------------------------------------------------------
    std::uint32_t SetFlatLook(bool flat, bool repaint = true);
    std::uint32_t SetFlatBorder(bool on, bool repaint = true);
    std::uint32_t SetFlatFocus(bool on, bool repaint = true);
    // Hover also while no window of the program is active.
    std::uint32_t SetHoverAlways(bool on);
    std::uint32_t SetImageAlign(std::uint8_t align, bool repaint = true);
    std::uint32_t SetPressShift(std::uint8_t style, bool repaint = true);

    // --- check state and default button --------------------------------------
    // Only in check-box mode: checked when `state` is non-zero.
    std::uint32_t SetCheckState(int state, bool repaint = true);
    bool GetCheckState() const { return m_checkState; }
    bool IsDefaultButton() const { return m_isDefault; }
    // The button-style message: type 1 makes the button the default one, 0 a
    // plain one; other types leave it. The button stays owner-drawn.
    void SetButtonStyle(std::uint32_t style, bool redraw = true);
    // The check messages: 1 and 2 check, anything else unchecks; returns 0.
    int SetCheck(int state);
    int GetCheck() const { return m_checkState ? 1 : 0; }
    // What the button answers the dialog manager's dialog-code query with.
    std::uint32_t GetDlgCode() const;

    bool IsHot() const { return m_hover; }
    bool IsFlat() const { return m_flat; }
    bool IsCheckBox() const { return m_isCheckBox; }

protected:
    // The state of one paint, as the owner-draw record gives it.
    struct DrawItemState {
        bool selected = false;  // pressed
        bool focus = false;
        bool disabled = false;
    };

    // The pre-subclass hook: check-box mode for button types with bit 2 set,
    // the default-button state for type 1.
    virtual void PreSubclassWindow(int buttonType);
    // The owner-draw entry: face, edge, images, caption, focus rectangle.
    virtual void DrawItem(QPainter& dc, const DrawItemState& state, const QRect& item);

    // The paint steps, in this order. PaintFace may shrink the face
    // rectangle; the image steps may narrow or move the caption rectangle.
    virtual void PaintFace(QPainter& dc, QRect& face);
    virtual void PaintEdge(QPainter& dc, const QRect& face);
    virtual void PaintIcon(QPainter& dc, bool hasText, const QRect& item, QRect& caption, bool pressed,
                           bool disabled);
    virtual void PaintBitmap(QPainter& dc, bool hasText, const QRect& item, QRect& caption, bool pressed,
                             bool disabled);
    virtual void PaintCaption(QPainter& dc, const QString& text, const QRect& item, QRect& caption,
                              bool pressed, bool disabled);

    // The colours the paint in progress uses, by the state precedence.
    ColorRef FaceColor() const;
    ColorRef TextColor() const;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void checkStateSet() override;

    // Fields in the order of the button's record.
    bool m_showDisabledBitmap = true;
    QPoint m_imageOrigin{3, 3};
    QPoint m_pressShift{1, 1};
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
    bool m_alwaysTrack = true;
    bool m_checkState = false;

private:
    // Hover tracking: a move over the button makes it hot, unless the left
    // button is held (a drag that began elsewhere); anything else ends it.
    void TrackHover(const QPointF& position, Qt::MouseButtons buttons);
    void CancelHover();
    // The button's side of a click, before the owner's command.
    void OnClicked();
    // Disabling moves the focus on to the next tab stop of the window.
    void MoveFocusToNextTabStop();
    void Repaint(bool repaint);
    // Whether an icon or a bitmap is set; the button carries none yet.
    bool HasIcon() const { return false; }
    bool HasBitmap() const { return false; }
};
