#pragma once
// The main configuration window. It owns the device session that every
// window's operations run on (the link, the current device and the busy flag)
// and the secondary windows, which are given that session. The operations
// behind its buttons are defined under src/ui/main; the secondary windows
// under src/ui/*.

#include <cstdint>
#include <memory>

#include "device/DeviceSession.h"
#include "widgets/DialogBase.h"

class CFrameLog;
class CFrameLogWnd;
class CFrameRecorder;
class CProfileDlg;
class CMonitorWnd;
class CLcdControlDlg;
class CLightParamDlg;
class CWirelessDlg;
class CWindowExchangeWaiter;

class CConfigDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 102;
    static constexpr int kBusyTimer = 1;
    static constexpr int kBusyTimerMs = 300;
    static constexpr int kAboutCommand = 16;
    static constexpr int kFrameLogCommand = 32;
    static constexpr int kSaveProfileCommand = 48;
    static constexpr int kApplyProfileCommand = 64;
    static constexpr int kMonitorCommand = 80;

    CConfigDlg();
    ~CConfigDlg() override;

    // Enables or disables together the 35 parameter buttons; never touches the
    // port list, the search button, the edit fields or the remote-signal box.
    void EnableControls(bool enable);

    // The device every window talks to.
    CDeviceSession& Session() { return m_session; }
    CLink& Link() { return m_session.Link(); }

    // The busy flag of the guarded operations: a guarded operation that finds
    // it set does nothing; otherwise it sets it. Timer 1 clears it.
    bool TryEnterBusy() { return m_session.TryEnterBusy(); }

    std::unique_ptr<CWirelessDlg> m_wirelessDlg;
    std::unique_ptr<CLcdControlDlg> m_lcdDlg;
    std::unique_ptr<CLightParamDlg> m_lightDlg;

    // --- operations (src/ui/main) ----------------------------------------
    void OnSearchDevice();
    void OnReadAddress();
    void OnReadBaud();
    void OnWriteAddress();
    void OnWriteBaud();

    void OnReadTemperature();
    void OnReadHumidity();
    void OnReadWaterLeak();
    void OnReadPowerFailure();
    void OnReadCurrent();
    void OnReadVoltage();
    void OnReadLightIntensity();
    void OnReadCo2();

    void OnReadHumidityUpper();
    void OnWriteHumidityUpper();
    void OnReadHumidityLower();
    void OnWriteHumidityLower();
    void OnReadTemperatureUpper();
    void OnWriteTemperatureUpper();
    void OnReadTemperatureLower();
    void OnWriteTemperatureLower();
    void OnReadHumidityHysteresis();
    void OnWriteHumidityHysteresis();
    void OnReadTemperatureHysteresis();
    void OnWriteTemperatureHysteresis();
    void OnReadHumidityAdjust();
    void OnWriteHumidityAdjust();
    void OnReadTemperatureAdjust();
    void OnWriteTemperatureAdjust();

    void OnReadOutputDelay();
    void OnWriteOutputDelay();
    void OnReadRemoteSignal();
    void OnWriteRemoteSignal();

    void OnLcdControlMode();
    void OnLightParamSet();
    void OnWirelessParaSet();

    void OnPortSelChange() {}  // a new port takes effect at the next search
    void OnSysCommand(int command);

    // Every exchange of every window and every port event, in words; and the
    // window that shows it (src/ui/log), opened from the context menu.
    CFrameLog& FrameLog();
    void OnFrameLog();
    CFrameLogWnd* FrameLogWindow() const { return m_frameLogWnd.get(); }
    // The readings over time (src/ui/monitor), opened from the context menu.
    void OnMonitor();
    CMonitorWnd* MonitorWindow() const { return m_monitorWnd.get(); }

    // The connected device's settings to a profile file, and a profile file's
    // to the device (src/ui/profile). The menu's entries ask for the file;
    // ApplyProfileFrom shows the profile window, modal unless `modal` is false
    // (it then returns the window, open).
    void OnSaveProfile();
    void OnApplyProfile();
    void SaveProfileTo(const QString& path);
    CProfileDlg* ApplyProfileFrom(const QString& path, bool modal = true);

protected:
    bool OnInitDialog() override;
    void OnTimer(int timerId) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BindMessageMap();          // src/ui/main
    void CreateSecondaryWindows();  // src/ui/main
    void OnAbout();
    // True, after saying so, when no search has found a device yet.
    bool NeedsFoundDevice();

    std::unique_ptr<CWindowExchangeWaiter> m_waiter;
    CDeviceSession m_session;
    std::unique_ptr<CFrameRecorder> m_frames;
    std::unique_ptr<CFrameLogWnd> m_frameLogWnd;  // after the log it shows
    std::unique_ptr<CProfileDlg> m_profileDlg;
    std::unique_ptr<CMonitorWnd> m_monitorWnd;  // polls on the session: before it goes
};

// The one main window, set at the start of its initialisation.
extern CConfigDlg* g_mainDlg;
