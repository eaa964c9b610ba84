#pragma once
// The scan window of the main window's menu: the speeds and the address range
// to ask, Start and Stop, a progress bar and the units that answered
// (address, speed, temperature, humidity). A double-click on a unit (or "Use
// unit") hands it to the main window as its current device and closes the
// window; the list stays for the next opening.
//
// The scan asks one address after another from the window's timer, a few per
// tick, so the window keeps answering and Stop ends it between two addresses.
// While it runs the session says so and the monitor's polls wait; the window
// is modal, so the main window's operations wait too. When it ends, the port
// goes back to the speed it had before, where the current device listens.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "device/BusScan.h"
#include "widgets/DialogBase.h"

class CScanDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_SCAN;
    static constexpr int kStepTimer = 1;
    enum Column { kAddress, kSpeed, kTemperature, kHumidity, kColumns };

    // `use` makes a unit the current device of the main window.
    CScanDlg(CDeviceSession& session, std::function<void(std::uint8_t port, const FoundUnit&)> use,
             CDialogBase* owner = nullptr);
    ~CScanDlg() override;

    // The port the next scan asks on (the main window's choice).
    void SetScanPort(std::uint8_t portNumber) { m_portNumber = portNumber; }

    void OnStart();
    void OnStop();
    // The unit of row `row` becomes the main window's device.
    void OnUseUnit(int row);

    bool Running() const { return m_scan.has_value(); }
    const std::vector<FoundUnit>& Found() const { return m_found; }

protected:
    bool OnInitDialog() override;
    void OnTimer(int timerId) override;
    // Enter starts a scan (the default button); it never closes the window.
    void OnOK() override {}
    void OnDestroy() override;

private:
    struct PortBefore {
        std::uint8_t number;
        std::uint32_t baud;
    };

    std::optional<BusScanPlan> ReadPlan();
    void StepSome();
    // Ends the scan, with the port back where it was, and says why.
    void Finish(const std::string& status);
    void ListNewUnits();
    void ShowRunning();

    CDeviceSession& m_session;
    std::function<void(std::uint8_t, const FoundUnit&)> m_use;
    std::uint8_t m_portNumber = 1;
    BusScanPlan m_plan;  // the last one started: the fields show it at the next opening
    std::optional<CBusScan> m_scan;
    std::optional<PortBefore> m_portBefore;  // an open port's number and speed before the scan
    std::vector<FoundUnit> m_found;
    std::string m_status;
};
