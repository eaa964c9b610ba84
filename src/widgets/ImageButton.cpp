// The image button's construction, attachment and setters.

#include "ImageButtonQt.h"

#include <algorithm>

#include <QApplication>
#include <QMenu>
#include <QPalette>
#include <QTemporaryFile>

#include "DialogBaseQt.h"

namespace {

constexpr std::int16_t kMaxShade = 255;

// The shade that moves every channel of `color` by the same amount without
// taking any of them out of 0..255.
int UsableShade(ColorRef color, int shade) {
    const int channels[] = {RedOf(color), GreenOf(color), BlueOf(color)};
    int used = shade;
    for (int c : channels) {
        if (shade > 0) {
            used = std::min(used, c + shade <= 255 ? shade : 255 - c);
        } else {
            used = std::max(used, c + shade >= 0 ? shade : -c);
        }
    }
    return used;
}

}  // namespace

CImageButton::CImageButton() {
    ResetColors(false);
    // Enter belongs to the dialog, which clicks the focused button.
    setAutoDefault(false);
    // Hover tracking needs the moves that come with no button held.
    setMouseTracking(true);
    // Connected before any owner, so the button's side of a click runs first.
    connect(this, &QAbstractButton::clicked, this, [this] { OnClicked(); });
}

CImageButton::~CImageButton() = default;

bool CImageButton::SubclassDlgItem(int id, CDialogBase& parent) {
    const DlgItem* item = parent.FindTemplateItem(id);
    if (!item || !parent.GetDlgItem(id)) return false;
    PreSubclassWindow(ButtonTypeOf(*item));
    return parent.ReplaceDlgItem(id, *this);
}

void CImageButton::PreSubclassWindow(int buttonType) {
    // Types 2, 3, 6, 7, 10 and 11 carry bit 2: the check boxes, the group box,
    // the push box and a control that is owner-drawn already.
    const int type = std::max(buttonType, 0) & 0x1F;
    m_isCheckBox = (type & 2) != 0;
    if (type == 1) m_isDefault = true;
    setCheckable(m_isCheckBox);
}

void CImageButton::Repaint(bool repaint) {
    if (repaint) update();
}

std::uint32_t CImageButton::SetStateColor(std::uint8_t index, ColorRef color, bool repaint) {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    m_colors[index] = color & 0x00FFFFFF;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::GetStateColor(std::uint8_t index, ColorRef& color) const {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    color = m_colors[index];
    return IB_OK;
}

std::uint32_t CImageButton::ShiftStateColor(std::uint8_t index, std::int16_t shade, bool repaint) {
    if (index >= IB_COLOR_COUNT) return IB_BAD_INDEX;
    if (shade < -kMaxShade || shade > kMaxShade) return IB_BAD_ARGUMENT;
    const ColorRef color = m_colors[index];
    const int used = UsableShade(color, shade);
    m_colors[index] = RgbColor(static_cast<std::uint8_t>(RedOf(color) + used),
                               static_cast<std::uint8_t>(GreenOf(color) + used),
                               static_cast<std::uint8_t>(BlueOf(color) + used));
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::ResetColors(bool repaint) {
    const QPalette palette = QApplication::palette();
    const ColorRef face = ToColorRef(palette.color(QPalette::Button));
    const ColorRef text = ToColorRef(palette.color(QPalette::ButtonText));
    m_colors = {face, text, face, text, face, text};
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetFlatLook(bool flat, bool repaint) {
    m_flat = flat;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetFlatBorder(bool on, bool repaint) {
    m_drawBorder = on;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetFlatFocus(bool on, bool repaint) {
    m_drawFlatFocus = on;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetHoverAlways(bool on) {
    m_alwaysTrack = on;
    return IB_OK;
}

std::uint32_t CImageButton::SetImageAlign(std::uint8_t align, bool repaint) {
    if (align > IB_ALIGN_CORNER) return IB_BAD_ALIGN;
    m_align = align;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetPressShift(std::uint8_t style, bool repaint) {
    switch (style) {
        case IB_PRESS_DIAGONAL: m_pressShift = QPoint(1, 1); break;
        case IB_PRESS_DOWN: m_pressShift = QPoint(0, 2); break;
        default: return IB_BAD_PRESS_STYLE;
    }
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetCheckState(int state, bool repaint) {
    if (m_isCheckBox) {
        setChecked(state != 0);  // checkStateSet keeps m_checkState with it
        Repaint(repaint);
    }
    return IB_OK;
}

void CImageButton::checkStateSet() {
    QPushButton::checkStateSet();
    m_checkState = isChecked();
    update();
}

void CImageButton::SetButtonStyle(std::uint32_t style, bool redraw) {
    const std::uint32_t type = style & 0x1F;
    if (type == 1) m_isDefault = true;
    if (type == 0) m_isDefault = false;
    Repaint(redraw);
}

int CImageButton::SetCheck(int state) {
    SetCheckState(state == 1 || state == 2 ? 1 : 0, true);
    return 0;
}

std::uint32_t CImageButton::GetDlgCode() const {
    return kDlgcButton | (m_isDefault ? kDlgcDefPushButton : kDlgcUndefPushButton);
}
