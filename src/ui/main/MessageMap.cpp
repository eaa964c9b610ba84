// The main window's message map: which handler each control id runs.

#include "app/ConfigDlg.h"

void CConfigDlg::BindMessageMap() {
    OnCommand(1001, [this] { OnSearchDevice(); });
    OnSelChange(1000, [this] { OnPortSelChange(); });

    OnCommand(1007, [this] { OnReadAddress(); });
    OnCommand(1008, [this] { OnReadBaud(); });
    OnCommand(1003, [this] { OnWriteAddress(); });
    OnCommand(1004, [this] { OnWriteBaud(); });

    OnCommand(1005, [this] { OnReadTemperature(); });
    OnCommand(1009, [this] { OnReadHumidity(); });
    OnCommand(1006, [this] { OnReadWaterLeak(); });
    OnCommand(1010, [this] { OnReadPowerFailure(); });
    OnCommand(1018, [this] { OnReadCurrent(); });
    OnCommand(1019, [this] { OnReadVoltage(); });
    OnCommand(1020, [this] { OnReadLightIntensity(); });
    OnCommand(1021, [this] { OnReadCo2(); });

    OnCommand(1039, [this] { OnReadHumidityUpper(); });
    OnCommand(1022, [this] { OnWriteHumidityUpper(); });
    OnCommand(1040, [this] { OnReadHumidityLower(); });
    OnCommand(1023, [this] { OnWriteHumidityLower(); });
    OnCommand(1041, [this] { OnReadTemperatureUpper(); });
    OnCommand(1024, [this] { OnWriteTemperatureUpper(); });
    OnCommand(1042, [this] { OnReadTemperatureLower(); });
    OnCommand(1025, [this] { OnWriteTemperatureLower(); });
    OnCommand(1049, [this] { OnReadHumidityHysteresis(); });
    OnCommand(1045, [this] { OnWriteHumidityHysteresis(); });
    OnCommand(1050, [this] { OnReadTemperatureHysteresis(); });
    OnCommand(1046, [this] { OnWriteTemperatureHysteresis(); });
    OnCommand(1043, [this] { OnReadHumidityAdjust(); });
    OnCommand(1026, [this] { OnWriteHumidityAdjust(); });
    OnCommand(1044, [this] { OnReadTemperatureAdjust(); });
    OnCommand(1027, [this] { OnWriteTemperatureAdjust(); });

    OnCommand(1064, [this] { OnReadOutputDelay(); });
    OnCommand(1065, [this] { OnWriteOutputDelay(); });
    OnCommand(1067, [this] { OnReadRemoteSignal(); });
    OnCommand(1068, [this] { OnWriteRemoteSignal(); });

    OnCommand(1052, [this] { OnLcdControlMode(); });
    OnCommand(1069, [this] { OnLightParamSet(); });
    OnCommand(1038, [this] { OnWirelessParaSet(); });
}
