// The main window's message map: which handler each control id runs.

#include "app/ConfigDlg.h"
#include "res/IdsConfig.h"

void CConfigDlg::BindMessageMap() {
    OnCommand(kIdSearchDevice, [this] { OnSearchDevice(); });
    OnSelChange(kIdPortList, [this] { OnPortSelChange(); });

    OnCommand(kIdReadAddress, [this] { OnReadAddress(); });
    OnCommand(kIdReadBaud, [this] { OnReadBaud(); });
    OnCommand(kIdWriteAddress, [this] { OnWriteAddress(); });
    OnCommand(kIdWriteBaud, [this] { OnWriteBaud(); });

    OnCommand(kIdReadTemperature, [this] { OnReadTemperature(); });
    OnCommand(kIdReadHumidity, [this] { OnReadHumidity(); });
    OnCommand(kIdReadWaterLeak, [this] { OnReadWaterLeak(); });
    OnCommand(kIdReadPowerFailure, [this] { OnReadPowerFailure(); });
    OnCommand(kIdReadCurrent, [this] { OnReadCurrent(); });
    OnCommand(kIdReadVoltage, [this] { OnReadVoltage(); });
    OnCommand(kIdReadLight, [this] { OnReadLightIntensity(); });
    OnCommand(kIdReadCo2, [this] { OnReadCo2(); });

    OnCommand(kIdReadHumidityUpper, [this] { OnReadHumidityUpper(); });
    OnCommand(kIdWriteHumidityUpper, [this] { OnWriteHumidityUpper(); });
    OnCommand(kIdReadHumidityLower, [this] { OnReadHumidityLower(); });
    OnCommand(kIdWriteHumidityLower, [this] { OnWriteHumidityLower(); });
    OnCommand(kIdReadTemperatureUpper, [this] { OnReadTemperatureUpper(); });
    OnCommand(kIdWriteTemperatureUpper, [this] { OnWriteTemperatureUpper(); });
    OnCommand(kIdReadTemperatureLower, [this] { OnReadTemperatureLower(); });
    OnCommand(kIdWriteTemperatureLower, [this] { OnWriteTemperatureLower(); });
    OnCommand(kIdReadHumidityHysteresis, [this] { OnReadHumidityHysteresis(); });
    OnCommand(kIdWriteHumidityHysteresis, [this] { OnWriteHumidityHysteresis(); });
    OnCommand(kIdReadTemperatureHysteresis, [this] { OnReadTemperatureHysteresis(); });
    OnCommand(kIdWriteTemperatureHysteresis, [this] { OnWriteTemperatureHysteresis(); });
    OnCommand(kIdReadHumidityAdjust, [this] { OnReadHumidityAdjust(); });
    OnCommand(kIdWriteHumidityAdjust, [this] { OnWriteHumidityAdjust(); });
    OnCommand(kIdReadTemperatureAdjust, [this] { OnReadTemperatureAdjust(); });
    OnCommand(kIdWriteTemperatureAdjust, [this] { OnWriteTemperatureAdjust(); });

    OnCommand(kIdReadOutputDelay, [this] { OnReadOutputDelay(); });
    OnCommand(kIdWriteOutputDelay, [this] { OnWriteOutputDelay(); });
    OnCommand(kIdReadRemoteSignal, [this] { OnReadRemoteSignal(); });
    OnCommand(kIdWriteRemoteSignal, [this] { OnWriteRemoteSignal(); });

    OnCommand(kIdLcdControlMode, [this] { OnLcdControlMode(); });
    OnCommand(kIdLightParamSet, [this] { OnLightParamSet(); });
    OnCommand(kIdWirelessParaSet, [this] { OnWirelessParaSet(); });
}
