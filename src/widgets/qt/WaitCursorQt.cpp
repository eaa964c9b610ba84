#include "widgets/WaitCursor.h"

#include <QApplication>
#include <QCursor>

CWaitCursor::CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

CWaitCursor::~CWaitCursor() { QApplication::restoreOverrideCursor(); }
