#pragma once
// How an attached image button follows the messages of its control and of
// the control's parent: both windows are subclassed (comctl32's
// SetWindowSubclass), and the control carries its button as a window
// property, so that the button of a control window is found from the window
// alone and no table of buttons is kept. For the image button's own files
// only.

#include "CommonControlsWin32.h"
#include "widgets/win32/ImageButtonWin32.h"

struct ImageButtonMessages {
    // Starts following `control` for `button`, and `parent` for the
    // draw-item messages and clicks of its image buttons (once per parent).
    static bool Follow(HWND control, HWND parent, CImageButton& button);
    static void Unfollow(HWND control);
    // The image button attached to `control`, if any.
    static CImageButton* ButtonOf(HWND control);

    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR button);
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR unused);
};
