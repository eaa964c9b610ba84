#pragma once

#include <array>
#include <cstdint>

#include "ClearDeviceDlg.h"
#include "device/DeviceSession.h"
#include "protocol/FrameCodes.h"
#include "widgets/DialogBase.h"
#include "widgets/ImageButton.h"

// The wireless receiver's parameters window: channel, sleep time, one
// temperature/humidity reading, and the grid of the receiver's 200 addresses.
// The receiver is in configuration mode while the window is open; the main
// window brackets the opening with the enter and exit frames.
//
// The window is built afresh at each opening; m_configBits and m_sleepTime
// outlive it and are set from outside before it opens.
class CWirelessDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_WIRELESS_PARAM;
    static constexpr int kGridButtonObjects = 250;  // the last 50 are never attached
    static constexpr int kGridTimer = 1;            // first colouring of the grid
    static constexpr int kGridTimerMs = 100;
    static constexpr int kThTimer = 2;              // guard of the T&H read
    static constexpr int kThTimerMs = 600;

    explicit CWirelessDlg(CDeviceSession& session, CDialogBase* owner = nullptr);
    ~CWirelessDlg() override;

    // Bit (i mod 8) of byte (i div 8) is address i + 1; set = configured.
    std::array<std::uint8_t, kConfigBitmapBytes> m_configBits{};
    std::uint16_t m_sleepTime = 0;
    std::array<CImageButton, kGridButtonObjects> m_gridButtons;
    CClearDeviceDlg m_clearDlg;

    bool IsConfigured(int index) const;

    // --- the grid (ReceiverGrid.cpp) ---------------------------------------
    void RefreshGrid();
    void SetButtonState(CImageButton& button, bool configured);
    void OnGridButton(int id);

    // --- the parameters (WirelessParams.cpp) -------------------------------
    void OnReadChannel();
    void OnWriteChannel();
    void OnReadSleepTime();
    void OnWriteSleepTime();
    void OnReadThValue();

protected:
    bool OnInitDialog() override;
    void OnTimer(int timerId) override;
    void OnDestroy() override;

private:
    CDeviceSession& m_session;
};

// True for 600 ms after a temperature/humidity read started: a second click
// meanwhile is ignored. Window thread only.
extern bool g_thReadPending;
