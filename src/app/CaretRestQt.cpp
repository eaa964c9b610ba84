#include "CaretRestQt.h"

#include <QApplication>
#include <QEvent>
#include <QTimerEvent>

CCaretRest::CCaretRest(std::chrono::milliseconds rest)
    : m_rest(rest), m_flashTime(QApplication::cursorFlashTime()) {
    QCoreApplication::instance()->installEventFilter(this);
    m_timer.start(static_cast<int>(m_rest.count()), this);
}

CCaretRest::~CCaretRest() {
    if (m_resting) QApplication::setCursorFlashTime(m_flashTime);
}

bool CCaretRest::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::InputMethod:
            if (m_resting) {
                m_resting = false;
                QApplication::setCursorFlashTime(m_flashTime);
            }
            m_timer.start(static_cast<int>(m_rest.count()), this);
            break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

void CCaretRest::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    m_timer.stop();
    m_resting = true;
    QApplication::setCursorFlashTime(0);  // shown, still
}
