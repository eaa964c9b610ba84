#include "SerialLog.h"

Q_LOGGING_CATEGORY(lcSerial, "sentrabus.serial")
