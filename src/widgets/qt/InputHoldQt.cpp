#include "widgets/InputHold.h"

#include <deque>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include "DialogBaseQt.h"

void RunHeldDialogTimer(CDialogBase& dialog, int timerId) { dialog.RunTimer(timerId); }

namespace {

struct HeldEvent {
    QPointer<QObject> target;
    std::unique_ptr<QEvent> event;
    // The target's window was on screen when the event came: if it has been
    // closed since, the event goes with it, as messages to a destroyed window do.
    bool windowWasShown = false;
};

struct PendingTimer {
    QPointer<CDialogBase> dialog;
    int timerId = 0;
};

// One per running modal loop (and one for whatever runs outside them).
struct Level {
    int baseDepth = 0;     // dispatch depth outside this level's handlers
    bool holding = false;  // an exchange is waiting
    bool tied = false;     // the hold ends with the level's outermost handler
    bool draining = false;
    std::deque<HeldEvent> events;
    std::deque<PendingTimer> timers;

    // Input and timers are kept while an exchange waits, and while kept ones
    // are being handled, so that nothing overtakes them.
    bool Keeping() const { return holding || draining; }
};

class CInputFilter;

struct HoldState {
    int depth = 0;
    std::vector<std::unique_ptr<Level>> levels;
    QPointer<CInputFilter> filter;
    // While a kept event is handed back, what its delivery sends on at the
    // same loop level (propagation to parent widgets) passes.
    int replayLoopLevel = -1;

    Level& Top() {
        if (levels.empty()) levels.push_back(std::make_unique<Level>());
        return *levels.back();
    }
};

HoldState& State() {
    static HoldState state;
    return state;
}

int LoopLevel() { return QThread::currentThread()->loopLevel(); }

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod: return true;
        default: return false;
    }
}

bool IsMouseButton(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick;
}

// The dialog whose input this is, or nullptr for anything that is not meant
// for one of our dialogs (message boxes, popups, other windows).
CDialogBase* HeldDialogOf(QObject* receiver, const QEvent* event) {
    if (!receiver->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(receiver);
    if (event->type() == QEvent::Close) {
        auto* dialog = qobject_cast<CDialogBase*>(widget);
        return dialog && !dialog->IsEnding() ? dialog : nullptr;
    }
    if (!IsInput(event->type())) return nullptr;
    return qobject_cast<CDialogBase*>(widget->window());
}

class CInputFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        HoldState& state = State();
        if (state.levels.empty() || !state.Top().Keeping()) return false;
        if (state.replayLoopLevel == LoopLevel()) return false;
        CDialogBase* dialog = HeldDialogOf(receiver, event);
        if (!dialog) return false;

        // A click on a control that is disabled when it is made is lost, as on
        // Windows, which routes mouse input when it comes: the search button,
        // disabled while a search runs, must not start a second search once
        // it is enabled again.
        if (IsMouseButton(event->type()) && !static_cast<QWidget*>(receiver)->isEnabled()) {
            event->accept();
            return true;
        }

        std::unique_ptr<QEvent> copy(event->clone());
        if (!copy) return false;
        state.Top().events.push_back({receiver, std::move(copy), dialog->isVisible()});
        // A close that is refused now keeps the window; the kept copy closes
        // it later. Other input counts as handled, so it goes no further.
        if (event->type() == QEvent::Close)
            event->ignore();
        else
            event->accept();
        return true;
    }
};

void EnsureFilter() {
    HoldState& state = State();
    if (state.filter || !QCoreApplication::instance()) return;
    state.filter = new CInputFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(state.filter);
}

void Replay(HeldEvent& held) {
    if (!held.target) return;  // the control is gone
    if (held.windowWasShown) {
        auto* widget = static_cast<QWidget*>(held.target.data());
        if (!widget->window()->isVisible()) return;
    }
    HoldState& state = State();
    const int saved = state.replayLoopLevel;
    state.replayLoopLevel = LoopLevel();
    QCoreApplication::sendEvent(held.target, held.event.get());
    state.replayLoopLevel = saved;
}

// Hands back the kept input in order, then runs the timers that fell due.
// A handler run from here may start an exchange, whose input joins the end of
// the same queue; this loop goes on with it once that handler has returned.
void Drain(Level& level) {
    if (level.draining) return;
    level.draining = true;
    while (!level.holding) {
        if (!level.events.empty()) {
            HeldEvent held = std::move(level.events.front());
            level.events.pop_front();
            Replay(held);
        } else if (!level.timers.empty()) {
            const PendingTimer timer = level.timers.front();
            level.timers.pop_front();
            if (timer.dialog) RunHeldDialogTimer(*timer.dialog, timer.timerId);
        } else {
            break;
        }
    }
    level.draining = false;
}

void EndHold(Level& level) {
    level.holding = false;
    Drain(level);
}

}  // namespace

void CInputHold::Begin() {
    HoldState& state = State();
    Level& level = state.Top();
    if (level.holding) return;
    level.holding = true;
    level.tied = state.depth > level.baseDepth;
    EnsureFilter();
}

void CInputHold::Pump(std::chrono::milliseconds duration) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        std::this_thread::sleep_for(duration);
        return;
    }
    if (duration.count() <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(duration);
    loop.exec();
}

bool CInputHold::Pump(std::chrono::milliseconds duration, CPumpWake& wake) {
    QCoreApplication* app = QCoreApplication::instance();
    const auto takeWoken = [&wake] {
        std::lock_guard lock(wake.m_lock);
        wake.m_loop = nullptr;
        return std::exchange(wake.m_woken, false);
    };
    if (!app || QThread::currentThread() != app->thread() || duration.count() <= 0) {
        if (takeWoken()) return true;
        Pump(duration);  // nothing can end this one early
        return takeWoken();
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    {
        std::lock_guard lock(wake.m_lock);
        if (std::exchange(wake.m_woken, false)) return true;
        wake.m_loop = &loop;
    }
    deadline.start(duration);
    loop.exec();
    return takeWoken();
}

void CInputHold::CPumpWake::Wake() {
    std::lock_guard lock(m_lock);
    m_woken = true;
    // Queued: the loop belongs to the window thread. Until the pump clears
    // m_loop under this lock, the loop exists.
    if (m_loop != nullptr) QMetaObject::invokeMethod(m_loop, &QEventLoop::quit, Qt::QueuedConnection);
}

void CInputHold::End() {
    Level& level = State().Top();
    if (level.holding && !level.tied) EndHold(level);
}

bool CInputHold::IsHolding() { return State().Top().holding; }

std::size_t CInputHold::HeldEventCount() { return State().Top().events.size(); }

std::size_t CInputHold::PendingTimerCount() { return State().Top().timers.size(); }

CInputHold::DispatchScope::DispatchScope() { ++State().depth; }

CInputHold::DispatchScope::~DispatchScope() {
    HoldState& state = State();
    --state.depth;
    Level& level = state.Top();
    if (level.holding && level.tied && state.depth <= level.baseDepth) EndHold(level);
}

CInputHold::ModalScope::ModalScope() {
    HoldState& state = State();
    state.Top();  // the level beneath exists before this one
    auto level = std::make_unique<Level>();
    level->baseDepth = state.depth;
    state.levels.push_back(std::move(level));
}

CInputHold::ModalScope::~ModalScope() {
    HoldState& state = State();
    // Normally empty: every hold of the window ended with its handler. What an
    // unfinished hold kept was meant for the window that has just closed.
    if (state.levels.size() > 1) state.levels.pop_back();
}

bool CInputHold::DeferTimer(CDialogBase* dialog, int timerId) {
    HoldState& state = State();
    if (state.levels.empty()) return false;
    Level& level = state.Top();
    if (!level.Keeping()) return false;
    for (const PendingTimer& pending : level.timers) {
        if (pending.dialog == dialog && pending.timerId == timerId) return true;
    }
    level.timers.push_back({dialog, timerId});
    return true;
}

void CInputHold::ForgetTimer(CDialogBase* dialog, int timerId) {
    for (auto& level : State().levels) {
        std::erase_if(level->timers, [&](const PendingTimer& pending) {
            return pending.dialog == dialog && pending.timerId == timerId;
        });
    }
}
