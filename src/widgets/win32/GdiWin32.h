#pragma once
// Contexts and selections of GDI that put themselves back: for the image
// button's .cpp files, which include <windows.h> before this.

#include "CommonControlsWin32.h"

// Puts the context's previous object back when it goes.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selected() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    bool Ok() const { return m_previous != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A memory context compatible with `like` (the screen when null).
class MemoryDc {
public:
    explicit MemoryDc(HDC like = nullptr) : m_dc(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (m_dc) DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// The screen's context, for bitmaps of the screen's format.
class ScreenDc {
public:
    ScreenDc() : m_dc(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (m_dc) ReleaseDC(nullptr, m_dc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};
