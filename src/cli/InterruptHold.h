#pragma once
// Ctrl+C and termination requests held back while a run talks to a device,
// so that the run stops between two exchanges: a write is never cut off, and
// a wireless receiver is never left in configuration mode. A command asks
// Requested() between its exchanges and stops when it says so. A closed
// standard output does not end the run either.
//
// Build it before any thread starts: the threads take its signal mask.

#include <memory>

class CInterruptHold {
public:
    CInterruptHold();
    ~CInterruptHold();  // lets the requests through again
    CInterruptHold(const CInterruptHold&) = delete;
    CInterruptHold& operator=(const CInterruptHold&) = delete;

    // True once a request came (and from then on).
    bool Requested();

private:
    struct CState;
    std::unique_ptr<CState> m_state;
    bool m_requested = false;
};
