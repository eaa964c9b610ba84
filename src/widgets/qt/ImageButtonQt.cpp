// The image button's construction, attachment and setters.

#include "ImageButtonQt.h"

#include <algorithm>

#include <QApplication>
#include <QMenu>
#include <QPalette>
#include <QTemporaryFile>

#include "DialogBaseQt.h"

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
    TakeButtonType(static_cast<std::uint32_t>(std::max(buttonType, 0)));
    setCheckable(m_isCheckBox);
}

void CImageButton::Repaint(bool repaint) {
    if (repaint) update();
}

std::uint32_t CImageButton::Repainted(std::uint32_t result, bool repaint) {
    if (result == IB_OK) Repaint(repaint);
    return result;
}

std::uint32_t CImageButton::SetStateColor(std::uint8_t index, ColorRef color, bool repaint) {
    return Repainted(CImageButtonModel::SetStateColor(index, color), repaint);
}

std::uint32_t CImageButton::ShiftStateColor(std::uint8_t index, std::int16_t shade, bool repaint) {
    return Repainted(CImageButtonModel::ShiftStateColor(index, shade), repaint);
}

std::uint32_t CImageButton::ResetColors(bool repaint) {
    const QPalette palette = QApplication::palette();
    SetSystemColors(ToColorRef(palette.color(QPalette::Button)), ToColorRef(palette.color(QPalette::ButtonText)));
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
    return Repainted(CImageButtonModel::SetImageAlign(align), repaint);
}

std::uint32_t CImageButton::SetPressShift(std::uint8_t style, bool repaint) {
    return Repainted(CImageButtonModel::SetPressShift(style), repaint);
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
    TakeButtonStyle(style);
    Repaint(redraw);
}

int CImageButton::SetCheck(int state) {
    SetCheckState(CheckStateOf(static_cast<std::uintptr_t>(state)), true);
    return 0;
}

std::uint32_t CImageButton::GetDlgCode() const { return kDlgcButton | PushButtonDlgCode(); }
