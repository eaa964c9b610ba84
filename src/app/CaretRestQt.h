#pragma once
// The caret of the focused field blinks while the technician works and stands
// still once nothing has been typed or clicked for a while, as desktops do that
// stop the blink after ten seconds. A blinking caret repaints its field twice a
// second: while the program waits for the technician, that is nearly all it
// costs.

#include <chrono>

#include <QBasicTimer>
#include <QObject>

class CCaretRest final : public QObject {
public:
    explicit CCaretRest(std::chrono::milliseconds rest = std::chrono::seconds(10));
    ~CCaretRest() override;  // the blink as the platform had it
    CCaretRest(const CCaretRest&) = delete;
    CCaretRest& operator=(const CCaretRest&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    std::chrono::milliseconds m_rest;
    int m_flashTime;  // the platform's, in ms
    bool m_resting = false;
    QBasicTimer m_timer;
};
