#pragma once
// Windows for the Win32 widget tests: a hidden top-level window that counts
// the click commands it gets, its child buttons, and pictures of a control
// drawn into a memory bitmap (so that no pixel is read from the screen).

#include "widgets/MessageBoxCall.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "widgets/ColorRef.h"

// A 32-bit top-down picture of w x h pixels.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> bgra;
    ColorRef At(int x, int y) const {
        const std::uint32_t p = bgra[static_cast<std::size_t>(y * width + x)];
        return RgbColor(static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                        static_cast<std::uint8_t>(p));
    }
};

// A memory context with a DIB section selected, filled with magenta so that
// anything left unpainted shows.
class PictureDc {
public:
    PictureDc(int width, int height);
    ~PictureDc();
    PictureDc(const PictureDc&) = delete;
    PictureDc& operator=(const PictureDc&) = delete;
    HDC Dc() const { return m_dc; }
    Picture Take() const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
};

// Writes down the message boxes shown while it lives, each answered with OK.
struct MessageBoxRecorder {
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    std::vector<MessageBoxCall> boxes;
};

// Lets the thread's messages run for `duration`, as a message loop would.
void PumpMessages(std::chrono::milliseconds duration);

// A child button of `style` in `parent` at (x, y) with the given size.
HWND AddButton(HWND parent, int id, const wchar_t* text, DWORD style, int x = 10, int y = 10, int w = 40, int h = 30);

class TestParent {
public:
    TestParent();
    ~TestParent();
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND Handle() const { return m_hwnd; }
    HWND AddButton(int id, const wchar_t* text, DWORD style, int x = 10, int y = 10, int w = 40, int h = 30) {
        return ::AddButton(m_hwnd, id, text, style, x, y, w, h);
    }
    // The clicks reported by the control `id`.
    int ClicksFrom(int id) const;
    // The control as it paints itself (WM_PRINTCLIENT).
    static Picture Print(HWND control);
    // The control drawn by its parent from an owner-draw record of `itemState`.
    Picture DrawRecord(HWND control, UINT itemState) const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    std::vector<int> m_clicks;
};
