#pragma once
// End-to-end fixture of the windows: the real main window (built offscreen
// with Create()), the real serial port on a pseudo-terminal, and the device
// simulator serving the other end in-process.
//
//   class Readings : public MainWindowFixture {};
//   TEST_F(Readings, Temperature) {
//       OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 2400});
//       Device().SetRegister(kRegTemperature, 0xFF38);
//       Click(kIdReadTemperature);
//       EXPECT_EQ(Text(kIdTemperatureField), "-20.0");
//   }
//
// The secondary windows' tests open their window from the main window's
// member as a modal opening would build it (OpenWindow), or through the main
// window's button (WhileOpenedBy); replies no simulated device sends come from
// a scripted device (OpenOnScriptedDevice).
//
// Every message box is recorded instead of shown. Between tests the window is
// destroyed, the port closed, g_portOpen cleared, the devices stopped and
// the SENTRABUS_COM<n> variables removed.

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include <QByteArray>

#include "ScriptedDevice.h"
#include "ui/main/ConfigDlg.h"
#include "res/IdsConfig.h"
#include "sim/Simulator.h"
#include "widgets/qt/MessageBoxQt.h"

// The main window's buttons that a successful search enables, the hidden
// current and voltage buttons among them.
inline constexpr std::array<int, 35> kParameterButtons = {
    kIdWriteAddress, kIdWriteBaud, kIdReadTemperature, kIdReadWaterLeak,
    kIdReadAddress, kIdReadBaud, kIdReadHumidity, kIdReadPowerFailure,
    kIdReadCurrent, kIdReadVoltage, kIdReadLight, kIdReadCo2,
    kIdWriteHumidityUpper, kIdWriteHumidityLower, kIdWriteTemperatureUpper, kIdWriteTemperatureLower,
    kIdWriteHumidityAdjust, kIdWriteTemperatureAdjust, kIdWirelessParaSet, kIdReadHumidityUpper,
    kIdReadHumidityLower, kIdReadTemperatureUpper, kIdReadTemperatureLower, kIdReadHumidityAdjust,
    kIdReadTemperatureAdjust, kIdWriteHumidityHysteresis, kIdWriteTemperatureHysteresis, kIdReadHumidityHysteresis,
    kIdReadTemperatureHysteresis, kIdLcdControlMode, kIdReadOutputDelay, kIdWriteOutputDelay,
    kIdReadRemoteSignal, kIdWriteRemoteSignal, kIdLightParamSet,
};

class MainWindowFixture : public ::testing::Test {
protected:
    using ms = std::chrono::milliseconds;

    struct RecordedBox {
        MessageBoxCall call;
        // Requests the first device had heard when the box came up.
        std::size_t requestsBefore = 0;
    };

    void SetUp() override;
    void TearDown() override;

    // Starts a simulated device on a fresh pseudo-terminal and points
    // COM<comNumber> at it. The first device started is Device().
    sim::CSimulator& StartDevice(const sim::SimConfig& config, int comNumber = 1);
    sim::CSimulator& Device();

    // Builds the main window as the program does at start (COM1 opened at
    // 4800 bit/s, receive thread, timer 1) and shows it offscreen. COM1 leads
    // nowhere unless a device was started on it.
    CConfigDlg& OpenMainWindow();
    // Destroys the main window, as closing the program does (the port stays open).
    void CloseMainWindow();
    CConfigDlg& Dlg();
    // A scripted device on COM1 and the main window opened on it, with the
    // device address taken as `address`; no search.
    CScriptedDevice& OpenOnScriptedDevice(CScriptedDevice::Script script, std::uint8_t address = 1);

    // Builds a secondary window's controls afresh and runs its
    // initialisation, as each modal opening does first, and shows it.
    static void OpenWindow(CDialogBase& window);
    // Clicks `button` of the main window, which opens `window` modally, runs
    // `inside` once the window is up and then closes it again.
    void WhileOpenedBy(int button, CDialogBase& window, const std::function<void()>& inside);

    // Clicks a control as the operator would; returns when its handler has
    // returned and the input it held back has been handled.
    void Click(int id);
    // The same on another window (a secondary window built with Create()).
    static void Click(CDialogBase& dlg, int id);
    // A mouse click on a control that any thread may post into the event
    // queue later: an operator's click that comes while the window thread is
    // blocked in an exchange.
    std::function<void()> ClickPoster(int id);
    static std::function<void()> ClickPoster(CDialogBase& dlg, int id);
    // The operator picks entry `index` of a combo box.
    static void Choose(CDialogBase& dlg, int id, int index);
    // Lets events run for `duration`.
    static void Pump(ms duration);

    // What a tick of timer 1 does: the next guarded operation runs.
    void ClearBusy();
    // Waits for timer 1 itself to clear the busy flag.
    bool WaitForBusyClear(ms timeout = ms(2000));

    struct BusyCase {
        const char* name;
        std::function<void()> first;  // runs a guarded operation
        CDialogBase* window;          // where the second click lands, queued behind the first
        int second;
    };
    // Each case's second click finds the flag the first one set and sends
    // nothing. The first case's second click alone does send, queued or
    // clicked after timer 1 has ticked.
    void ExpectClicksWithinTheBusyPeriodDoNothing(const std::vector<BusyCase>& cases);

    // A device started on COM1, the main window opened and the device found.
    sim::CSimulator& OpenOnFoundDevice(const sim::SimConfig& config);
    // Searches with the port list on COM<comNumber>, expects the device to be
    // found with one box, and forgets that box and the search's requests.
    void SearchAndExpectFound(int comNumber = 1);

    std::string Text(int id);
    void SetText(int id, std::string_view text);

    // Requests the first device has heard, oldest first; and forgetting them.
    std::vector<sim::Frame> Requests();
    void ClearRequests();

    // Boxes shown so far, oldest first.
    const std::vector<RecordedBox>& Boxes() const { return m_boxes; }
    // Expects exactly one box since the last ClearBoxes and returns it.
    MessageBoxCall OnlyBox();
    void ClearBoxes() { m_boxes.clear(); }
    // Runs inside each box, after it is recorded (the real box's modal loop
    // would run here).
    std::function<void(const MessageBoxCall&)> m_onBox;

private:
    std::vector<std::unique_ptr<sim::CSimulator>> m_devices;
    std::unique_ptr<CScriptedDevice> m_scripted;
    std::vector<QByteArray> m_portVariables;
    std::unique_ptr<CConfigDlg> m_dlg;
    std::vector<RecordedBox> m_boxes;
};

// "FD FD FD 00 00 E9 88" into bytes (for readable expectations).
sim::Frame HexFrame(const char* hex);
// The FC write request of `value` to parameter `code`.
sim::Frame FcWrite(std::uint8_t code, std::uint16_t value);
