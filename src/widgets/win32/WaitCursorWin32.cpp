// The busy cursor on Windows. It stays while the window thread is busy: the
// exchange's wait dispatches paint messages only, so no WM_SETCURSOR puts the
// arrow back before the object goes. Nested objects each put back the cursor
// they found.

#include "widgets/WaitCursor.h"

#include "Win32Api.h"

CWaitCursor::CWaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}

CWaitCursor::~CWaitCursor() { SetCursor(static_cast<HCURSOR>(m_previous)); }
