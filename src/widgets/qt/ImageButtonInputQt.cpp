// The image button's input: hover tracking in the flat look, clicks, and what
// focus, activation, enabling and palette changes do to it.

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include "widgets/DesktopSeams.h"
#include "ImageButtonQt.h"

void CImageButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    TrackHover(event->position(), event->buttons());
}

void CImageButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    TrackHover(event->position(), QApplication::mouseButtons());
}

void CImageButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    CancelHover();
}

void CImageButton::TrackHover(const QPointF& position, Qt::MouseButtons buttons) {
    // A drag that began elsewhere does not light the buttons it crosses.
    if ((buttons & Qt::LeftButton) && !m_hover) return;
    if (!m_flat) return;
    const bool overThis = rect().contains(position.toPoint());
    // Tracking follows this button when it hovers always, else the program's
    // active window, of which there may be none.
    const bool tracking = m_alwaysTrack || QApplication::activeWindow() != nullptr;
    if (overThis && tracking) {
        if (!m_hover) {
            m_hover = true;
            update();
            PlaySlot(0);
        }
        return;
    }
    CancelHover();
}

void CImageButton::CancelHover() {
    if (m_flat && m_hover) {
        m_hover = false;
        update();
    }
}

// A double click is a second press, so that two quick clicks are two clicks.
void CImageButton::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CImageButton::OnClicked() {
    setFocus(Qt::MouseFocusReason);
    PlaySlot(1);
    // In check-box mode the click toggles the check state (checkStateSet).
    if (m_isCheckBox) return;
    if (m_menu) {
        ShowDropMenu();
    } else if (!m_url.empty()) {
        OpenUrlOnDesktop(m_url);
    }
}

void CImageButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    CancelHover();
}

void CImageButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    switch (event->type()) {
        case QEvent::ActivationChange:
            if (!isActiveWindow()) CancelHover();
            break;
        case QEvent::EnabledChange:
            if (!isEnabled()) {
                MoveFocusToNextTabStop();
                CancelHover();
            }
            break;
        case QEvent::PaletteChange:
            // A new palette is the system's colour change: the snapshot of
            // the parent is stale, and colours the owner set are lost until it
            // sets them again.
            m_background.reset();
            ResetColors(true);
            break;
        default: break;
    }
}

void CImageButton::MoveFocusToNextTabStop() {
    QWidget* top = window();
    for (QWidget* next = nextInFocusChain(); next && next != this; next = next->nextInFocusChain()) {
        if (next == top || next->window() != top) continue;
        if (next->isEnabled() && next->isVisibleTo(top) && (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    if (parentWidget()) parentWidget()->setFocus(Qt::OtherFocusReason);
}
