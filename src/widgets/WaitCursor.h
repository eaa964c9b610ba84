#pragma once
// The busy cursor over every window of the program for as long as the object
// lives (WaitCursorQt.cpp, win32/WaitCursorWin32.cpp).

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
