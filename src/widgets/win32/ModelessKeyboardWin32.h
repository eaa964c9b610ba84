#pragma once
// The dialog manager's keyboard (Tab and Shift+Tab between controls, arrows,
// Enter and Esc) for windows without a loop of their own: the frame log and
// the modeless dialogs, which live while the main window's modal loop runs.
// A modal loop gives IsDialogMessage only its own dialog; but every loop of
// the dialog manager and of the message boxes hands each message to the
// thread's message filter first, and the filter gives a keyboard message to
// IsDialogMessage of the registered window it is for.
//
// Window thread only.

struct HWND__;
struct tagMSG;

class CModelessKeyboard {
public:
    CModelessKeyboard() = default;
    ~CModelessKeyboard() { Detach(); }
    CModelessKeyboard(const CModelessKeyboard&) = delete;
    CModelessKeyboard& operator=(const CModelessKeyboard&) = delete;

    // `window` gets the keyboard of a dialog until Detach (or the object's end).
    void Attach(HWND__* window);
    void Detach();

    // For a loop of one's own: true when `msg` was a registered window's
    // keyboard message and has been handled (do not dispatch it again).
    static bool Route(tagMSG& msg);

private:
    HWND__* m_window = nullptr;
};
