#pragma once
// The frame log window on Windows: every frame on the bus and every port
// event, one row each, in a report list (time, direction, bytes, meaning,
// outcome), as they happen. It has no owner, so that the program's modal
// windows leave it usable, and closing it only hides it.
//
// New rows scroll into view unless the operator has scrolled up; Ctrl+C copies
// the selected rows as text; "Save..." writes the whole log to a file the
// operator picks (the same file as on Linux); "Clear" empties the log.
//
// The main window owns one and calls Show() for its menu's "Frame log...".
// Window thread only; the log itself may grow from any thread.

#include <atomic>
#include <memory>
#include <string>

#include "FrameLogRowsWin32.h"
#include "widgets/win32/ModelessKeyboardWin32.h"

struct HWND__;
class CFrameLog;

class CFrameLogWnd {
public:
    explicit CFrameLogWnd(CFrameLog& log);
    ~CFrameLogWnd();
    CFrameLogWnd(const CFrameLogWnd&) = delete;
    CFrameLogWnd& operator=(const CFrameLogWnd&) = delete;

    // Makes the window the first time, shows it and brings it to the front.
    void Show();
    HWND__* Handle() const { return m_hwnd; }

    // Brings the rows up to the log now (what a change of the log schedules).
    void CatchUp();
    const CFrameLogRows& Rows() const { return m_rows; }
    // The selected rows, oldest first, one line each as the log writes them,
    // each ended by "\r\n" as Windows text is.
    std::string SelectedText() const;
    void CopySelection();
    // Writes the whole log, through a file beside it that replaces it only
    // when complete. False, with the reason in `error`, when it cannot.
    bool SaveTo(const std::wstring& path, std::wstring* error = nullptr) const;
    void OnSave();
    void OnClear();

private:
    struct Fonts;
    friend struct FrameLogMessages;

    void CreateWindowOnce();
    void Layout();
    bool AtBottom() const;

    CFrameLog& m_log;
    CFrameLogRows m_rows;
    HWND__* m_hwnd = nullptr;
    HWND__* m_list = nullptr;
    HWND__* m_save = nullptr;
    HWND__* m_clear = nullptr;
    std::unique_ptr<Fonts> m_fonts;
    CModelessKeyboard m_keyboard;  // Tab between the list and the buttons
    std::atomic<bool> m_scheduled{false};
};
