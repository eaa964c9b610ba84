// The main window's message map: which handler each control id runs.

#include "ui/main/ConfigDlg.h"
#include "ParameterRows.h"
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

    for (const ParameterRow& row : kParameterRows) {
        OnCommand(row.read, [this, &row] { OnReadParameter(row); });
        OnCommand(row.write, [this, &row] { OnWriteParameter(row); });
    }

    OnCommand(kIdLcdControlMode, [this] { OnLcdControlMode(); });
    OnCommand(kIdLightParamSet, [this] { OnLightParamSet(); });
    OnCommand(kIdWirelessParaSet, [this] { OnWirelessParaSet(); });
}
