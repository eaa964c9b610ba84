#pragma once
// The main configuration window. It owns the device session that every
// window's operations run on (the link and the current device), the busy flag
// of the guarded operations and the secondary windows, which are given the
// session. Its declaration and all its definitions are in this folder; the
// secondary windows are under src/ui/*. The windows only one platform has (on
// Linux the frame log) are kept in PlatformWindows, which each platform defines
// with the menu entries that open them.

#include <cstdint>
#include <memory>
#include <string>

#include "app/BusyFlag.h"
#include "device/DeviceSession.h"
#include "widgets/DialogBase.h"

class CFrameLog;
class CFrameLogWnd;
class CFrameRecorder;
class CProfileDlg;
class CMonitorWnd;
class CScanDlg;
struct FoundUnit;
class CLcdControlDlg;
class CLightParamDlg;
class CWirelessDlg;
class CWindowExchangeWaiter;
struct ParameterRow;

class CConfigDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_CONFIG_DIALOG;
    static constexpr int kBusyTimer = 1;
    static constexpr int kBusyTimerMs = 300;
    static constexpr int kAboutCommand = 16;
    static constexpr int kFrameLogCommand = 32;
    static constexpr int kSaveProfileCommand = 48;
    static constexpr int kApplyProfileCommand = 64;
    static constexpr int kMonitorCommand = 80;
    static constexpr int kScanBusCommand = 96;

    CConfigDlg();
    ~CConfigDlg() override;

    // Enables or disables together the 35 parameter buttons
    // (kSearchEnabledButtons); never touches the port list, the search button,
    // the edit fields or the remote-signal box.
    void EnableControls(bool enable);

    // The device every window talks to.
    CDeviceSession& Session() { return m_session; }
    CLink& Link() { return m_session.Link(); }

    // The busy flag of the guarded operations of this window and of the LCD
    // and light windows, which hold it too. Timer 1 clears it.
    bool TryEnterBusy() { return m_busy.TryEnter(); }
    CBusyFlag& Busy() { return m_busy; }

    // The secondary windows, built with this one; each opening reuses them.
    CWirelessDlg& WirelessWindow() { return *m_wirelessDlg; }
    CLcdControlDlg& LcdWindow() { return *m_lcdDlg; }
    CLightParamDlg& LightWindow() { return *m_lightDlg; }
    CProfileDlg& ProfileWindow() { return *m_profileDlg; }

    // --- operations ---------------------------------------------------------
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

    void OnLcdControlMode();
    void OnLightParamSet();
    void OnWirelessParaSet();

    void OnPortSelChange() {}  // a new port takes effect at the next search
    // An entry of the window's menu (public: tests choose entries directly).
    void OnSysCommand(int command) override;

    // Every exchange of every window and every port event, in words; and the
    // window that shows it (src/ui/log), opened from the menu.
    CFrameLog& FrameLog();
    void OnFrameLog();

    // The connected device's settings to a profile file, and a profile file's
    // to the device through the profile window (ProfileMenu.cpp). The menu's
    // entries ask for the file (UTF-8 paths); ApplyProfileFrom opens the
    // profile window modally on a profile that LoadProfileFrom accepted
    // (false, after a box, for a file that cannot be used or a device of
    // another kind).
    void OnSaveProfile();
    void OnApplyProfile();
    void SaveProfileTo(const std::string& path);
    bool LoadProfileFrom(const std::string& path);
    void ApplyProfileFrom(const std::string& path);

    // The frame log window, once opened (PlatformWindows*.cpp).
    CFrameLogWnd* FrameLogWindow() const;
    // The readings over time, opened from the menu (WindowButtons.cpp).
    void OnMonitor();
    CMonitorWnd* MonitorWindow() const;
    // The scan of a bus of units, opened modally from the menu on the port the
    // list selects (ScanMenu.cpp); a unit chosen there becomes the current
    // device, the window as after a search that found it.
    void OnScanBus();
    CScanDlg& ScanWindow() { return *m_scanDlg; }
    void UseFoundUnit(std::uint8_t portNumber, const FoundUnit& unit);

protected:
    bool OnInitDialog() override;
    void OnTimer(int timerId) override;

private:
    void BindMessageMap();
    void CreateSecondaryWindows();
    // A row of the parameters table (ParameterRows.h): its Read and Write.
    void OnReadParameter(const ParameterRow& row);
    void OnWriteParameter(const ParameterRow& row);
    void OnAbout();
    // True, after saying so, when no search has found a device yet.
    bool NeedsFoundDevice();

    // The platform's own part of the window (PlatformWindowsQt.cpp on Linux,
    // PlatformWindowsWin32.cpp on Windows): its frame log window.
    struct PlatformWindows;
    struct PlatformWindowsDeleter {
        void operator()(PlatformWindows* windows) const;
    };
    using PlatformWindowsPtr = std::unique_ptr<PlatformWindows, PlatformWindowsDeleter>;
    static PlatformWindowsPtr MakePlatformWindows();

    std::unique_ptr<CWindowExchangeWaiter> m_waiter;
    CDeviceSession m_session;
    CBusyFlag m_busy;
    std::unique_ptr<CWirelessDlg> m_wirelessDlg;
    std::unique_ptr<CLcdControlDlg> m_lcdDlg;
    std::unique_ptr<CLightParamDlg> m_lightDlg;
    std::unique_ptr<CProfileDlg> m_profileDlg;
    std::unique_ptr<CScanDlg> m_scanDlg;
    std::unique_ptr<CFrameRecorder> m_frames;
    // After the session and the log: its windows show the log and poll on the session.
    PlatformWindowsPtr m_platformWindows;
    std::unique_ptr<CMonitorWnd> m_monitorWnd;  // polls on the session
};

// The one main window, set at the start of its initialisation.
extern CConfigDlg* g_mainDlg;
