#pragma once
// A mouse click on a widget delivered through the event queue, as the window
// system delivers an operator's click: it runs only when the window thread
// gets back to its event loop.

#include <functional>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QWidget>

// Returns a poster that any thread may call later; only postEvent runs on the
// calling thread, and it is thread-safe. Call this on the window thread: the
// pointing device is made here, as Qt creates it on first use as a child of
// the application.
inline std::function<void()> MouseClickPoster(QWidget* widget) {
    const QPointF local = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(local);
    const QPointingDevice* mouse = QPointingDevice::primaryPointingDevice();
    return [widget, local, global, mouse] {
        QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, local, global, Qt::LeftButton,
                                                            Qt::LeftButton, Qt::NoModifier, mouse));
        QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease, local, global,
                                                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier, mouse));
    };
}

inline void PostClick(QWidget* widget) { MouseClickPoster(widget)(); }
