#pragma once
// What a test does to the windows beyond the dialog verbs, one file per
// platform (WindowDriverQt.cpp, WindowDriverWin32.cpp): letting the window
// thread run, the operator's choice in a combo box, a click that comes from
// another thread while the window thread is blocked, and acting inside a
// window that opens modally. Window thread only, unless said otherwise.

#include <chrono>
#include <functional>

#include "widgets/DialogBase.h"

// Builds the window and runs its initialisation, as each modal opening does
// first, and shows it; no modal loop.
void OpenForTest(CDialogBase& window);

// Lets the window thread handle its events for `duration` (none: what is
// already queued).
void PumpEvents(std::chrono::milliseconds duration);

// The operator picks entry `index` of combo box `id`: its OnSelChange runs.
void ChooseComboEntry(CDialogBase& dlg, int id, int index);

// The operator double-clicks row `row` of report list `id` with the mouse:
// its OnListDblClk handler runs.
void DoubleClickListRow(CDialogBase& dlg, int id, int row);

// An operator's mouse click on control `id`, to be posted later by any
// thread: it is handled only when the window thread gets back to its events.
std::function<void()> ClickPoster(CDialogBase& dlg, int id);

// Runs `open`, which opens `window` modally; once the window is up, runs
// `inside` in it and closes it (as its close box does). False when the window
// never came up.
bool WhileOpenedBy(const std::function<void()>& open, CDialogBase& window, const std::function<void()>& inside);
