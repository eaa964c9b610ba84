#include "InterruptHold.h"

#include <signal.h>

#include <ctime>

// Blocked, the signals stay pending until they are asked for; nothing runs
// asynchronously, so no handler and no flag shared with one is needed.
struct CInterruptHold::CState {
    sigset_t held;
    sigset_t previous;
    struct sigaction previousPipe;
};

CInterruptHold::CInterruptHold() : m_state(std::make_unique<CState>()) {
    sigemptyset(&m_state->held);
    sigaddset(&m_state->held, SIGINT);
    sigaddset(&m_state->held, SIGTERM);
    sigaddset(&m_state->held, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &m_state->held, &m_state->previous);
    // Output into a closed pipe (`sentrabus-cli ... | head -1`) fails the
    // write instead of ending the process between two exchanges.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &m_state->previousPipe);
}

CInterruptHold::~CInterruptHold() {
    sigaction(SIGPIPE, &m_state->previousPipe, nullptr);
    pthread_sigmask(SIG_SETMASK, &m_state->previous, nullptr);
}

bool CInterruptHold::Requested() {
    const timespec now{};
    // Takes a pending request, so that restoring the mask does not end the
    // process before it has said what it did.
    while (sigtimedwait(&m_state->held, nullptr, &now) > 0) m_requested = true;
    return m_requested;
}
