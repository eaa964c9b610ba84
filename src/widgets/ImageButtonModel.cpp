#include "ImageButtonModel.h"

std::uint32_t CImageButtonModel::SetStateColor(std::uint8_t index, ColorRef color, bool repaint) {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    m_colors[index] = color & 0x00FFFFFF;
    return Repainted(IB_OK, repaint);
}

std::uint32_t CImageButtonModel::GetStateColor(std::uint8_t index, ColorRef& color) const {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    color = m_colors[index];
    return IB_OK;
}

std::uint32_t CImageButtonModel::ShiftStateColor(std::uint8_t index, std::int16_t shade, bool repaint) {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    if (shade < -kMaxColorShade || shade > kMaxColorShade) return IB_BAD_ARGUMENT;
    m_colors[index] = ShiftedColor(m_colors[index], shade);
    return Repainted(IB_OK, repaint);
}

void CImageButtonModel::SetSystemColors(ColorRef face, ColorRef text) {
    face &= 0x00FFFFFF;
    text &= 0x00FFFFFF;
    m_colors = {face, text, face, text, face, text};
}

std::uint32_t CImageButtonModel::SetFlatLook(bool flat, bool repaint) {
    m_flat = flat;
    return Repainted(IB_OK, repaint);
}

std::uint32_t CImageButtonModel::SetFlatBorder(bool on, bool repaint) {
    m_drawBorder = on;
    return Repainted(IB_OK, repaint);
}

std::uint32_t CImageButtonModel::SetFlatFocus(bool on, bool repaint) {
    m_drawFlatFocus = on;
    return Repainted(IB_OK, repaint);
}

std::uint32_t CImageButtonModel::SetHoverAlways(bool on) {
    m_alwaysTrack = on;
    return IB_OK;
}

std::uint32_t CImageButtonModel::SetImageAlign(std::uint8_t align, bool repaint) {
    if (align > IB_ALIGN_CORNER) return IB_BAD_ALIGN;
    m_align = align;
    return Repainted(IB_OK, repaint);
}

std::uint32_t CImageButtonModel::SetPressShift(std::uint8_t style, bool repaint) {
    switch (style) {
        case IB_PRESS_DIAGONAL: m_pressShift = {1, 1}; break;
        case IB_PRESS_DOWN: m_pressShift = {0, 2}; break;
        default: return IB_BAD_PRESS_STYLE;
    }
    return Repainted(IB_OK, repaint);
}

void CImageButtonModel::TakeButtonType(std::uint32_t type) {
    type &= 0x1F;
    m_isCheckBox = (type & 2) != 0;
    if (type == 1) m_isDefault = true;
}

void CImageButtonModel::TakeButtonStyle(std::uint32_t style) {
    const std::uint32_t type = style & 0x1F;
    if (type == 1) m_isDefault = true;
    if (type == 0) m_isDefault = false;
}

void CImageButtonModel::BeginPaint(bool selected, bool focused, bool disabled, bool menuLoaded) {
    m_drawPressed = m_isCheckBox ? (selected || m_checkState) : (selected || (menuLoaded && m_menuShown));
    m_drawFocused = focused;
    m_drawDisabled = disabled;
}

ColorRef CImageButtonModel::FaceColor() const {
    if (m_hover || m_drawPressed) return m_colors[IB_COLOR_HOT_BACK];
    if (m_drawFocused) return m_colors[IB_COLOR_FOCUS_BACK];
    return m_colors[IB_COLOR_NORMAL_BACK];
}

ColorRef CImageButtonModel::TextColor() const {
    if (m_hover || m_drawPressed) return m_colors[IB_COLOR_HOT_TEXT];
    if (m_drawFocused) return m_colors[IB_COLOR_FOCUS_TEXT];
    return m_colors[IB_COLOR_NORMAL_TEXT];
}

std::size_t CImageButtonModel::ChooseSlot(bool outSet) const {
    const bool in = m_isCheckBox ? m_drawPressed : (m_drawPressed || m_hover);
    return in || !outSet ? 0 : 1;
}

PixelRect CImageButtonModel::PlaceImage(bool hasText, const PixelRect& item, PixelRect& caption, bool pressed, int w, int h,
                                     int clientRight) const {
    PixelRect image = item;
    // Integer division truncates toward zero, also for an image larger than
    // the button.
    const auto centreAcross = [&] { image.left += (image.Width() - w) / 2; };
    const auto centreDown = [&] { image.top += (image.Height() - h) / 2; };

    switch (m_align) {
        case IB_ALIGN_IMAGE_LEFT:
            if (!hasText) {
                centreAcross();
            } else {
                image.left += m_imageOrigin.x;
                caption.left += m_imageOrigin.x + w;
            }
            centreDown();
            break;
        case IB_ALIGN_IMAGE_ABOVE:
            centreAcross();
            if (!hasText) {
                centreDown();
            } else {
                image.top = m_imageOrigin.y;
                caption.top += h;
            }
            break;
        case IB_ALIGN_IMAGE_RIGHT:
            if (!hasText) {
                centreAcross();  // the top stays the item's
            } else {
                // The caption's right edge comes from its width, as the
                // button always did, and its left from the image margin.
                caption.right = caption.Width() - w - m_imageOrigin.x;
                caption.left = m_imageOrigin.x;
                image.left = clientRight - w - m_imageOrigin.x;
                centreDown();
            }
            break;
        case IB_ALIGN_CORNER:
        default: break;
    }
    image.right = item.right;
    image.bottom = item.bottom;
    return ShiftedWhilePressed(image, pressed);
}

PixelRect CImageButtonModel::ShiftedWhilePressed(PixelRect rect, bool pressed) const {
    if (pressed && !m_isCheckBox) {
        rect.left += m_pressShift.x;
        rect.right += m_pressShift.x;
        rect.top += m_pressShift.y;
        rect.bottom += m_pressShift.y;
    }
    return rect;
}

std::uint32_t CImageButtonModel::UseBalloonTip() {
    m_tipStyle |= kTipBalloonStyle;
    return IB_OK;
}

std::uint32_t CImageButtonModel::SetLinkUrl(const char* url) {
    if (url && !FitsPathBuffer(url)) return IB_BAD_ARGUMENT;
    m_url = url ? url : "";
    return IB_OK;
}
