#pragma once
// The main configuration window. It owns everything the device operations
// share: the link (port, receive path, request and reply buffers), the current
// device's address and baud rate, the register-mode flag, the busy flag and
// the secondary windows. The operations behind its buttons are defined under
// src/ui/main; the secondary windows under src/ui/*.

#include <cstdint>
#include <memory>
#include <span>

#include "protocol/Exchange.h"
#include "protocol/Link.h"
#include "widgets/DialogBase.h"

class CFrameLog;
class CFrameLogWnd;
class CFrameRecorder;
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

    CConfigDlg();
    ~CConfigDlg() override;

    // Enables or disables together the 35 parameter buttons; never touches the
    // port list, the search button, the edit fields or the remote-signal box.
    void EnableControls(bool enable);

    // One transaction on the shared link (request in TxFrame()).
    std::uint16_t ExchangeFrame(std::uint16_t frameLength,
                                ExchangeVariant variant = ExchangeVariant::Standard);
    // The standard exchange: the bytes of the fetch that ended the wait, empty
    // when the polls ran out.
    std::span<const std::uint8_t> ExchangeStandard(std::uint16_t frameLength) {
        return ReplyOf(m_link, ExchangeFrame(frameLength, ExchangeVariant::Standard));
    }
    std::uint8_t* TxFrame() { return m_link.m_txFrame.data(); }
    const std::uint8_t* RxReply() const { return m_link.m_rxReply.data(); }
    CLink& Link() { return m_link; }

    // The busy flag of the guarded operations: a guarded operation that finds
    // it set does nothing; otherwise it sets it. Timer 1 clears it.
    bool TryEnterBusy();

    // Shared device state.
    std::uint8_t m_devAddress = 0;
    std::uint32_t m_baudRate = 0;
    std::uint8_t m_busy = 0;
    std::uint8_t m_soilMode = 0;
    std::uint8_t m_soilParity = 0;
    std::uint8_t m_soilStopFlag1 = 0;
    std::uint8_t m_soilStopFlag2 = 0;

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

protected:
    bool OnInitDialog() override;
    void OnTimer(int timerId) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BindMessageMap();          // src/ui/main
    void CreateSecondaryWindows();  // src/ui/main
    void OnAbout();

    std::unique_ptr<CWindowExchangeWaiter> m_waiter;
    CLink m_link;
    std::unique_ptr<CFrameRecorder> m_frames;
    std::unique_ptr<CFrameLogWnd> m_frameLogWnd;  // after the log it shows
};

// The one main window, set at the start of its initialisation; the secondary
// windows reach the shared state through it.
extern CConfigDlg* g_mainDlg;

// For a secondary window's guarded operation: the main window when the
// operation may run now (it is then marked busy); nullptr when the click is to
// be dropped.
CConfigDlg* EnterGuardedOperation();
