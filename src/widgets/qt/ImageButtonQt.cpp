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

std::uint32_t CImageButton::ResetColors(bool repaint) {
    const QPalette palette = QApplication::palette();
    SetSystemColors(ToColorRef(palette.color(QPalette::Button)), ToColorRef(palette.color(QPalette::ButtonText)));
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
    TakeButtonStyle(style);
    Repaint(redraw);
}

int CImageButton::SetCheck(int state) {
    SetCheckState(CheckStateOf(static_cast<std::uintptr_t>(state)), true);
    return 0;
}

std::uint32_t CImageButton::GetDlgCode() const { return kDlgcButton | PushButtonDlgCode(); }
