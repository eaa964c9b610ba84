#pragma once
// The serial port's events on stderr under the category "sentrabus.serial":
// failures as warnings, the pending-read trace as a debug line; opens and
// closes are not logged. A message handler or
// QT_LOGGING_RULES="sentrabus.serial.debug=false" can quieten them.

#include <QLoggingCategory>

#include "serial/PortEvents.h"

Q_DECLARE_LOGGING_CATEGORY(lcSerial)

// Called on the window thread and on the receive thread; Qt's logging is safe
// from both.
class CSerialLogSink final : public IPortEventSink {
public:
    void OnPortEvent(const CPortEvent& event) override;
};
