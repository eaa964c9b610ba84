#pragma once
// The busy cursor over every window of the program for as long as the object
// lives (WaitCursorQt.cpp, win32/WaitCursorWin32.cpp).

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

#if defined(_WIN32)
private:
    void* m_previous;  // the cursor this one replaced, put back at the end
#endif
};
