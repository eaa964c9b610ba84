#include "ScanDlg.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "protocol/Catalogue.h"
#include "protocol/FrameCodes.h"
#include "res/IdsScan.h"
#include "serial/SerialPort.h"

namespace {

constexpr const char* kCaption = "Scan bus";
constexpr std::array<std::uint32_t, 3> kSpeeds = {2400, 4800, 9600};
// A tick asks addresses for about this long: a silent address costs the
// reply timeout, so Stop and the window's painting wait no longer than this
// and one more address.
constexpr std::chrono::milliseconds kTickBudget{60};

struct ColumnSpec {
    const char* heading;
    int width;  // dialog units: each heading whole in the dialog's font on both platforms
};
constexpr std::array<ColumnSpec, CScanDlg::kColumns> kColumnSpecs = {{
    {"Address", 40}, {"Speed (bit/s)", 80}, {"Temperature (\u2103)", 95}, {"Humidity (%RH)", 85},
}};

}  // namespace

CScanDlg::CScanDlg(CDeviceSession& session, std::function<void(std::uint8_t, const FoundUnit&)> use,
                   CDialogBase* owner)
    : CDialogBase(kTemplateId, owner), m_session(session), m_use(std::move(use)) {
    OnCommand(kIdScanStart, [this] { OnStart(); });
    OnCommand(kIdScanStop, [this] { OnStop(); });
    OnCommand(kIdScanUse, [this] { OnUseUnit(ListGetSelectedRow(kIdScanUnits)); });
    OnListDblClk(kIdScanUnits, [this](int row) { OnUseUnit(row); });
}

CScanDlg::~CScanDlg() = default;

bool CScanDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
        const bool asked = std::find(m_plan.speeds.begin(), m_plan.speeds.end(), kSpeeds[i]) != m_plan.speeds.end();
        CheckDlgButton(kIdScanSpeedFirst + static_cast<int>(i), asked);
    }
    SetDlgItemText(kIdScanFirst, std::to_string(int{m_plan.first}));
    SetDlgItemText(kIdScanLast, std::to_string(int{m_plan.last}));
    for (const ColumnSpec& column : kColumnSpecs) ListAddColumn(kIdScanUnits, column.heading, column.width);
    ListNewUnits();
    ProgressSetRange(kIdScanProgress, 0, 1);
    ProgressSetPos(kIdScanProgress, 0);
    SetDlgItemText(kIdScanStatus, m_status.empty() ? "Addressed reads of registers 0-1 at each speed and address."
                                                   : m_status);
    ShowRunning();
    return true;
}

void CScanDlg::OnDestroy() {
    // Closing the window ends the scan: nobody would see the rest.
    if (Running()) Finish("Stopped when the window closed: " + UnitsText(m_found.size()) + " found.");
}

std::optional<BusScanPlan> CScanDlg::ReadPlan() {
    BusScanPlan plan;
    plan.portNumber = m_portNumber;
    plan.speeds.clear();
    for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
        if (IsDlgButtonChecked(kIdScanSpeedFirst + static_cast<int>(i))) plan.speeds.push_back(kSpeeds[i]);
    }
    bool firstRead = false, lastRead = false;
    const int first = GetDlgItemInt(kIdScanFirst, &firstRead, false);
    const int last = GetDlgItemInt(kIdScanLast, &lastRead, false);
    if (plan.speeds.empty()) {
        MessageBox("Tick at least one speed.", kCaption, MsgIcon::Warning);
        return std::nullopt;
    }
    if (!firstRead || !lastRead || first < 1 || last > kHighestUnitAddress || first > last) {
        MessageBox("The addresses must be 1 to 247, the first not above the last.", kCaption, MsgIcon::Warning);
        return std::nullopt;
    }
    plan.first = static_cast<std::uint8_t>(first);
    plan.last = static_cast<std::uint8_t>(last);
    return plan;
}

void CScanDlg::OnStart() {
    if (Running()) return;
    const std::optional<BusScanPlan> plan = ReadPlan();
    if (!plan) return;
    m_plan = *plan;
    m_portBefore.reset();
    if (m_session.PortIsOpen()) m_portBefore = PortBefore{m_session.Port().PortNumber(), m_session.Port().Baud()};
    m_found.clear();
    ListDeleteAllItems(kIdScanUnits);
    m_scan.emplace(m_session, m_plan);
    ProgressSetRange(kIdScanProgress, 0, static_cast<int>(m_scan->Total()));
    ProgressSetPos(kIdScanProgress, 0);
    ShowRunning();
    SetTimer(kStepTimer, 1);
}

void CScanDlg::OnStop() {
    if (!Running()) return;
    Finish("Stopped at " + std::to_string(m_scan->Speed()) + " bit/s, address " +
           std::to_string(int{m_scan->Address()}) + ": " + UnitsText(m_found.size()) + " found.");
}

void CScanDlg::OnTimer(int timerId) {
    if (timerId != kStepTimer) return;
    KillTimer(kStepTimer);
    StepSome();
}

void CScanDlg::StepSome() {
    if (!Running()) return;
    const auto until = std::chrono::steady_clock::now() + kTickBudget;
    bool more = true;
    while (more && std::chrono::steady_clock::now() < until) more = m_scan->Step();
    ListNewUnits();
    ProgressSetPos(kIdScanProgress, static_cast<int>(m_scan->Asked()));
    if (more && !m_scan->Done()) {
        SetDlgItemText(kIdScanStatus, "Scanning at " + std::to_string(m_scan->Speed()) + " bit/s: address " +
                                          std::to_string(int{m_scan->Address()}) + ", " +
                                          UnitsText(m_found.size()) + " found.");
        SetTimer(kStepTimer, 1);
        return;
    }
    std::string status = "Scan done: " + UnitsText(m_found.size()) + " found.";
    for (const std::string& failure : m_scan->PortFailures()) status += " " + failure + ".";
    Finish(status);
}

void CScanDlg::Finish(const std::string& status) {
    KillTimer(kStepTimer);
    m_scan.reset();
    m_status = status;
    // The current device listens at the speed the port had before.
    const CSerialPort& port = m_session.Port();
    if (m_portBefore && (!m_session.PortIsOpen() || port.PortNumber() != m_portBefore->number ||
                         port.Baud() != m_portBefore->baud) &&
        !m_session.OpenPort(m_portBefore->number, m_portBefore->baud)) {
        m_status += " COM" + std::to_string(int{m_portBefore->number}) + " did not open again.";
    }
    m_portBefore.reset();
    SetDlgItemText(kIdScanStatus, m_status);
    ShowRunning();
}

void CScanDlg::ListNewUnits() {
    if (m_scan) m_found = m_scan->Found();
    for (int row = ListGetItemCount(kIdScanUnits); row < static_cast<int>(m_found.size()); ++row) {
        const FoundUnit& unit = m_found[static_cast<std::size_t>(row)];
        ListInsertItem(kIdScanUnits, row, std::to_string(int{unit.address}));
        ListSetItemText(kIdScanUnits, row, kSpeed, std::to_string(unit.baud));
        // A unit without these registers answered with an exception.
        ListSetItemText(kIdScanUnits, row, kTemperature,
                        unit.HasReadings() ? RegisterValueText(kRegTemperature, unit.temperature) : unit.refusal);
        ListSetItemText(kIdScanUnits, row, kHumidity,
                        unit.HasReadings() ? RegisterValueText(kRegHumidity, unit.humidity) : "");
    }
}

// The plan waits while a scan runs; Stop only then.
void CScanDlg::ShowRunning() {
    const bool running = Running();
    for (int id = kIdScanSpeedFirst; id <= kIdScanSpeedLast; ++id) EnableDlgItem(id, !running);
    EnableDlgItem(kIdScanFirst, !running);
    EnableDlgItem(kIdScanLast, !running);
    EnableDlgItem(kIdScanStart, !running);
    EnableDlgItem(kIdScanStop, running);
}

void CScanDlg::OnUseUnit(int row) {
    if (row < 0 || row >= static_cast<int>(m_found.size())) {
        MessageBox("Select a unit in the list first.", kCaption, MsgIcon::Warning);
        return;
    }
    const FoundUnit unit = m_found[static_cast<std::size_t>(row)];
    OnStop();
    if (m_use) m_use(m_plan.portNumber, unit);
    EndDialog(IDOK);
}
