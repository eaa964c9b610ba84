#pragma once
// The serial link's diagnostics: open failures, a vanished device, failed
// writes and the pending-read trace. Qt prints them on stderr; a message
// handler or QT_LOGGING_RULES="sentrabus.serial.debug=false" can quieten them.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSerial)
