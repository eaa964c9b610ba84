#pragma once
// The busy flag of the windows' guarded operations. A guarded operation that
// finds it set does nothing; otherwise it sets it and runs. Only the main
// window's timer clears it, so two presses within one tick run one exchange.
// The main window owns it and hands it to the secondary windows whose
// operations it guards; everything happens on the window thread.

class CBusyFlag {
public:
    // True, with the flag now set, when it was clear.
    bool TryEnter() {
        if (m_busy) return false;
        m_busy = true;
        return true;
    }
    void Clear() { m_busy = false; }
    bool IsSet() const { return m_busy; }

private:
    bool m_busy = false;
};
