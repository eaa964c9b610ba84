// The windows' behaviour, the same on both platforms: the real main window
// and its secondary windows driven through the dialog verbs against the
// sentrabus-sim program, on Linux over Qt dialogs and under Wine over Windows
// dialogs. Each case checks the requests the device heard, the boxes shown
// and the field that shows the outcome.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "res/IdsConfig.h"
#include "res/IdsLcd.h"
#include "res/IdsLight.h"
#include "res/IdsProfile.h"
#include "res/IdsMonitor.h"
#include "res/IdsScan.h"
#include "res/IdsWireless.h"
#include "device/Profile.h"
#include "device/SmallFile.h"
#include "support/FileDialogAnswer.h"
#include "support/SimProgram.h"
#include "support/WaitUntil.h"
#include "support/WindowBehaviourFixture.h"
#include "ui/lcd/LcdControlDlg.h"
#include "ui/light/LightParamDlg.h"
#include "ui/profile/ProfileDlg.h"
#include "ui/monitor/MonitorWnd.h"
#include "ui/scan/ScanDlg.h"
#include "ui/wireless/WirelessDlg.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kTh = "--device th --address 5 --baud 4800";
const std::string kFdQuery = "FD FD FD 00 00";
const Lines kFdQueries = {"2400 " + kFdQuery, "4800 " + kFdQuery, "9600 " + kFdQuery};
const std::string kLineSettingsRead = "9600 FF 03 02 00 00 05";
constexpr int kDeadPort = 24;  // leads nowhere

template <class Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) { return "Row" + std::to_string(info.index); }

// --- search -------------------------------------------------------------

struct SearchRow {
    const char* behaviour;
    std::string device;  // sentrabus-sim options; empty: COM24, which leads nowhere
    std::string box;
    Lines wire;
    const char* address;  // the address field afterwards
};

class Searching : public WindowBehaviourFixture, public ::testing::WithParamInterface<SearchRow> {};

TEST_P(Searching, SaysWhatItFound) {
    const SearchRow& row = GetParam();
    SCOPED_TRACE(row.behaviour);
    std::unique_ptr<CPortNowhere> nowhere;
    if (row.device.empty()) {
        nowhere = std::make_unique<CPortNowhere>(kDeadPort);
    } else {
        StartDevice(row.device);
    }
    OpenMainWindow();
    Search(row.device.empty() ? kDeadPort : kSimPort);
    EXPECT_EQ(Boxes(), Lines{row.box});
    EXPECT_EQ(Requests(), row.wire);
    EXPECT_EQ(Dlg().GetDlgItemText(kIdAddressField), row.address);
    EXPECT_TRUE(Dlg().IsDlgItemEnabled(kIdSearchDevice));
}

INSTANTIATE_TEST_SUITE_P(Table, Searching, ::testing::Values(
    SearchRow{"an FD device at the second speed", kTh, "Search Result: Device Address:5  Band Rate:4800",
              {"2400 " + kFdQuery, "4800 " + kFdQuery}, "5"},
    SearchRow{"a register device after the FD speeds", "--device soil --address 3 --baud 9600",
              "Test Result: Soil moisture sensor\r\nAddress:3  Baud rate:9600\r\nNo parity",
              {kFdQueries[0], kFdQueries[1], kFdQueries[2], kLineSettingsRead}, "3"},
    SearchRow{"a silent device: nothing found", kTh + " --fault silent",
              "Search Result: Search end  Unrecognized baud rate",
              {kFdQueries[0], kFdQueries[1], kFdQueries[2], kLineSettingsRead}, ""},
    SearchRow{"a port that does not open", "", "Serial prompt (?): Serial port open failed", {}, ""}), RowName<SearchRow>);

// --- operations on a found device ---------------------------------------

enum class Window { Main, Lcd, Light };

struct OperationRow {
    const char* behaviour;
    std::string device;
    Window window;
    int field;           // typed into first (when `typed` is set), read last
    const char* typed;
    int combo, entry;    // an entry the operator picks first (combo 0: none)
    std::vector<int> clicks;
    Lines wire;
    Lines boxes;
    const char* shown;
};

class Operation : public WindowBehaviourFixture, public ::testing::WithParamInterface<OperationRow> {};

TEST_P(Operation, SendsShowsAndSays) {
    const OperationRow& row = GetParam();
    SCOPED_TRACE(row.behaviour);
    OpenOnFoundDevice(row.device);
    CDialogBase* window = &Dlg();
    if (row.window != Window::Main) {
        // Built as each modal opening builds it; the main window owns it.
        window = row.window == Window::Lcd ? static_cast<CDialogBase*>(&Dlg().LcdWindow()) : &Dlg().LightWindow();
        OpenForTest(*window);
    }
    if (row.typed) window->SetDlgItemText(row.field, row.typed);
    if (row.combo != 0) ChooseComboEntry(*window, row.combo, row.entry);
    for (int id : row.clicks) Click(*window, id);
    EXPECT_EQ(Requests(), row.wire);
    EXPECT_EQ(Boxes(), row.boxes);
    EXPECT_EQ(window->GetDlgItemText(row.field), row.shown);
}

INSTANTIATE_TEST_SUITE_P(Table, Operation, ::testing::Values(
    OperationRow{"FD address written, then read", kTh, Window::Main, kIdAddressField, "7", 0, 0,
                 {kIdWriteAddress, kIdReadAddress}, {"4800 FD FD FD 00 07", "4800 " + kFdQuery},
                 {"Sentrabus: Successfully Set the Address"}, "7"},
    OperationRow{"register-mode address written, then read", "--device soil --address 3 --baud 9600", Window::Main,
                 kIdAddressField, "6", 0, 0, {kIdWriteAddress, kIdReadAddress},
                 {"9600 FF 10 02 00 00 05 0A 00 06 00 03 00 00 00 00 00 00", kLineSettingsRead},
                 {"Sentrabus: Successfully set the address"}, "6"},
    OperationRow{"a measurement: signed tenths", kTh, Window::Main, kIdTemperatureField, nullptr, 0, 0,
                 {kIdReadTemperature}, {"4800 05 03 00 00 00 02"}, {}, "25.0"},
    OperationRow{"a limit: sign and magnitude", kTh, Window::Main, kIdTemperatureLowerField, nullptr, 0, 0,
                 {kIdReadTemperatureLower}, {"4800 FC FC FC 04 00 00 00"}, {}, "-10"},
    OperationRow{"an unsigned parameter", kTh, Window::Main, kIdOutputDelayField, nullptr, 0, 0,
                 {kIdReadOutputDelay}, {"4800 FC FC FC 0B 00 00 00"}, {}, "5"},
    OperationRow{"a limit written, then read back", kTh, Window::Main, kIdTemperatureUpperField, "-15", 0, 0,
                 {kIdWriteTemperatureUpper, kIdReadTemperatureUpper},
                 {"4800 FC FC FC 03 01 80 0F", "4800 FC FC FC 03 00 00 00"}, {"Sentrabus: Setting successfully"}, "-15"},
    OperationRow{"LCD: manual mode, relay 1 closed and queried", "--device lcd --address 5 --baud 4800", Window::Lcd,
                 kIdRelay1Status, nullptr, kIdModeBox, 3, {kIdSetMode, kIdRelay1Close, kIdQueryRelay1},
                 {"4800 05 06 00 2D 00 04", "4800 05 06 00 2F 00 01", "4800 05 03 00 2F 00 01"},
                 {"Set work mode: Work mode setting successfully"}, "闭合"},
    OperationRow{"light: upper limit written, then read back", "--device light --address 5 --baud 4800", Window::Light,
                 kIdLightUpperField, "300", 0, 0, {kIdWriteLightUpper, kIdReadLightUpper},
                 {"4800 FC FC FC 0D 01 01 2C", "4800 FC FC FC 0D 00 00 00"},
                 {"Light Intensity upper limit setting: Light Intensity limit downloaded successfully"}, "300"}),
    RowName<OperationRow>);

// --- the busy flag --------------------------------------------------------

class Busy : public WindowBehaviourFixture {};

// Clicks that come while a read waits are handled after it, before timer 1
// can clear the flag the read set: they send nothing.
TEST_F(Busy, ClicksDuringARead) {
    OpenOnFoundDevice(kTh + " --reply-latency 150");
    const std::function<void()> post = ClickPoster(Dlg(), kIdReadTemperature);
    bool posted = false;
    std::jthread operatorHand([&] {
        if (!WaitUntil([&] { return !Requests().empty(); }, ms(3000))) return;
        post();
        post();
        posted = true;
    });
    Click(kIdReadTemperature);
    operatorHand.join();
    ASSERT_TRUE(posted) << "the read was not heard";
    PumpEvents(ms(50));
    EXPECT_EQ(Requests(), Lines{"4800 05 03 00 00 00 02"});
    EXPECT_EQ(Dlg().GetDlgItemText(kIdTemperatureField), "25.0");

    // Once timer 1 has ticked, a click posted the same way reads.
    ASSERT_TRUE(WaitForBusyClear());
    ClearRequests();
    post();
    PumpEvents(ms(400));
    EXPECT_EQ(Requests().size(), 1u) << "after the tick";
}

// --- the wireless configuration sequence ---------------------------------

struct WirelessRow {
    const char* behaviour;
    std::string faults;  // sentrabus-sim options after the search's reply
    bool opens;
    Lines wire;
    Lines boxes;
    const char* channel;  // the channel box's text in the window
};

const std::string kEnter = "4800 FB FB FB 01 01 00 00 00 00";
const std::string kLeave = "4800 FB FB FB 02 01 00 00 00 00";
const Lines kInWindow = {kEnter, "4800 FB FB FB 07 00 00", "4800 FB FB FB 03 01 04 04", kLeave};
const std::string kFailed = "Warning (?): ";

class Wireless : public WindowBehaviourFixture, public ::testing::WithParamInterface<WirelessRow> {};

// Enter, read the channel, configure receiver 5, leave.
TEST_P(Wireless, EnterChannelConfigureExit) {
    const WirelessRow& row = GetParam();
    SCOPED_TRACE(row.behaviour);
    OpenOnFoundDevice("--device wireless --address 5 --baud 4800 --fault none --fault-count 1 " + row.faults);
    CWirelessDlg& wireless = Dlg().WirelessWindow();
    std::string channel = "(not opened)";
    const bool opened = WhileOpenedBy([&] { Click(kIdWirelessParaSet); }, wireless, [&] {
        EXPECT_FALSE(Dlg().IsDlgItemEnabled(kIdWirelessParaSet)) << "the main window's controls wait";
        Click(wireless, kIdReadChannel);
        channel = wireless.GetDlgItemText(kIdChannelBox);
        Click(wireless, kIdFirstGridButton + 4);
    });
    EXPECT_EQ(opened, row.opens);
    EXPECT_EQ(Requests(), row.wire);
    EXPECT_EQ(Boxes(), row.boxes);
    EXPECT_EQ(channel, row.channel);
    EXPECT_TRUE(Dlg().IsDlgItemEnabled(kIdWirelessParaSet));
}

INSTANTIATE_TEST_SUITE_P(Table, Wireless, ::testing::Values(
    WirelessRow{"a receiver that answers", "", true, kInWindow, {"Prompt: Config para successfully"}, "通道0"},
    WirelessRow{"a silent receiver", "--fault silent", false, {kEnter},
                {kFailed + "Wireless devices failed to enter configuration mode,Please check the connection"},
                "(not opened)"},
    WirelessRow{"a receiver that falls silent in configuration mode", "--fault none --fault-count 1 --fault silent",
                true, kInWindow,
                {kFailed + "Read the channel para failed,Please try again",
                 kFailed + "Clear config para failed, Please reconfigure",
                 kFailed + "Exit configuration mode failed,Please power on the device again"}, ""}),
    RowName<WirelessRow>);

// --- profiles ---------------------------------------------------------------

// A file in a folder named in three scripts under the test directory, as the
// Open or Save box gives it (UTF-8; under Wine a Windows path).
std::string ProfilePath(const std::string& name) {
    const char* directory = std::getenv("SENTRABUS_UI_TEST_DIR");
    const std::filesystem::path folder = FilePath(HostPath(std::string(directory ? directory : ".") + "/Zoë/配置"));
    std::filesystem::create_directories(folder);
    return Utf8Name(folder / FilePath(name));
}

const std::string kFcRead = "4800 FC FC FC ";

struct ProfileRow {
    const char* behaviour;
    std::string faults;  // sentrabus-sim options after the search's reply
    Lines after;         // each row's device value and outcome after Apply
    Lines wire;          // Apply's requests
    const char* summary;
};

class ProfileApply : public WindowBehaviourFixture, public ::testing::WithParamInterface<ProfileRow> {};

// "Apply profile..." of temperature-upper 45 (the device holds 35) and
// temperature-lower -10 (the same): the table before anything is written,
// then Apply.
TEST_P(ProfileApply, ComparesFirstThenWritesWhatDiffers) {
    const ProfileRow& row = GetParam();
    SCOPED_TRACE(row.behaviour);
    OpenOnFoundDevice(kTh + " --fault none --fault-count 1 " + row.faults);
    const std::string path = ProfilePath("th 配置.json");
    std::ofstream(FilePath(path)) << R"({"format": "sentrabus-profile", "version": 1, "kind": "th",
        "parameters": {"temperature-upper": 45, "temperature-lower": -10}})";
    CFileDialogAnswer answer(path);
    CProfileDlg& profile = Dlg().ProfileWindow();
    const auto rows = [&profile] {
        Lines shown;
        for (int i = 0; i < profile.ListGetItemCount(kIdProfileTable); ++i)
            shown.push_back(profile.ListGetItemText(kIdProfileTable, i, CProfileDlg::kOnDevice) + ": " +
                            profile.ListGetItemText(kIdProfileTable, i, CProfileDlg::kOutcome));
        return shown;
    };
    Lines before, after, wire;
    std::string summary, caption;
    ASSERT_TRUE(WhileOpenedBy([&] { Dlg().OnSysCommand(CConfigDlg::kApplyProfileCommand); }, profile, [&] {
        caption = profile.GetWindowCaption();
        before = rows();
        ClearRequests();
        Click(profile, kIdProfileApply);
        after = rows();
        wire = Requests();
        summary = profile.GetDlgItemText(kIdProfileSummary);
    }));
    EXPECT_EQ(caption, "Apply profile th 配置.json");
    EXPECT_EQ(before, (Lines{"35: to write", "-10: same"}));
    EXPECT_EQ(after, row.after);
    EXPECT_EQ(wire, row.wire);
    EXPECT_EQ(summary, row.summary);
    EXPECT_EQ(Boxes(), Lines{});
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileApply, ::testing::Values(
    // Apply reads each setting again before it writes, then reads back.
    ProfileRow{"a device that answers", "", {"45: written and verified", "-10: unchanged"},
               {kFcRead + "03 00 00 00", kFcRead + "03 01 00 2D", kFcRead + "04 00 00 00", kFcRead + "03 00 00 00"},
               "The device now holds the profile."},
    // The search, the kind, the table's two reads and Apply's first read are answered.
    ProfileRow{"a device that falls silent before the write", "--fault none --fault-count 4 --fault silent",
               {"35: write failed: no reply", "-10: not reached"}, {kFcRead + "03 00 00 00", kFcRead + "03 01 00 2D"},
               "Not all was applied: temperature-upper: write failed: no reply. Apply again to finish."}),
    RowName<ProfileRow>);

class ProfileFiles : public WindowBehaviourFixture {};

// "Save profile..." writes every setting of the device's kind over an earlier
// file; a file of another kind is refused before anything is written.
TEST_F(ProfileFiles, SavedOverAnEarlierFileAndRefusedForAnotherKind) {
    OpenOnFoundDevice(kTh);
    const std::string path = ProfilePath("Zoë 配置.json");
    std::ofstream(FilePath(path)) << std::string(3000, ' ');
    CFileDialogAnswer answer(path);
    Dlg().OnSysCommand(CConfigDlg::kSaveProfileCommand);
    EXPECT_EQ(Boxes(), Lines{"Profile: Profile of the temperature/humidity transmitter saved"});
    const Checked<std::string> text = ReadSmallFile(FilePath(path));
    const Checked<Profile> saved = ParseProfile(text.value.value_or(""));
    ASSERT_TRUE(saved.Ok()) << text.refusal << saved.refusal;
    EXPECT_EQ(saved.value->parameters.size(), 10u);

    ClearBoxes();
    ClearRequests();
    const std::string light = ProfilePath("light.json");
    std::ofstream(FilePath(light)) << R"({"format": "sentrabus-profile", "version": 1, "kind": "light",
        "parameters": {"light-upper": 300}})";
    EXPECT_FALSE(Dlg().LoadProfileFrom(light));
    EXPECT_EQ(Boxes(), Lines{"Profile (?): The profile is for a light intensity sensor, but the device is a "
                             "temperature/humidity transmitter."});
    // FC reads only ("... 03 00 00 00"), never a write ("... 03 01 00 2D").
    for (const std::string& request : Requests()) EXPECT_EQ(request.substr(kFcRead.size() + 2, 4), " 00 ") << request;
}

// A receiver that garbles its reply to the leave frame after "Save profile..."
// (the search, the kind's enter and leave and the save's enter, channel and
// sleep time are answered) may still be in configuration mode: a box says so,
// in the wireless window's words, and the profile is saved all the same.
TEST_F(ProfileFiles, SayWhenTheReceiverMayStillBeInConfigurationMode) {
    OpenOnFoundDevice("--device wireless --address 5 --baud 4800 --fault none --fault-count 6 --fault bad-crc");
    CFileDialogAnswer answer(ProfilePath("wireless.json"));
    Dlg().OnSysCommand(CConfigDlg::kSaveProfileCommand);
    EXPECT_EQ(Boxes(), (Lines{kFailed + "Exit configuration mode failed,Please power on the device again",
                              "Profile: Profile of the wireless receiver saved"}));
}

// --- the monitor -------------------------------------------------------------

class Monitor : public WindowBehaviourFixture {
protected:
    void TearDown() override {
        SetFileDialogHook({});
        WindowBehaviourFixture::TearDown();
    }
    // A file of this test's own in the test directory, as the program names it.
    static std::string TestFile(const std::string& name) {
        const char* directory = std::getenv("SENTRABUS_UI_TEST_DIR");
        return HostPath(std::string(directory ? directory : ".") + "/monitor-" + name);
    }
    static std::string FileText(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // Lets the monitor's own timer poll until it has polled `polls` times.
    static bool PollsUntil(const CMonitorWnd& monitor, std::uint64_t polls) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (monitor.Monitor().Polls() < polls && std::chrono::steady_clock::now() < deadline) PumpEvents(ms(20));
        return monitor.Monitor().Polls() >= polls;
    }
};

// From the main window's menu: the reading read before is ticked; Start reads
// the temperature limits, then polls at 0.2 s into a CSV log flushed row by
// row, until Pause; Save picture writes the charts as a PNG.
TEST_F(Monitor, PollsTheTickedReadingsIntoTheLogAndSavesThePicture) {
    OpenOnFoundDevice(kTh);
    Click(kIdReadTemperature);
    Dlg().OnSysCommand(CConfigDlg::kMonitorCommand);
    CMonitorWnd* monitor = Dlg().MonitorWindow();
    ASSERT_NE(monitor, nullptr);
    const auto box = [](Reading r) { return kIdMonitorReadingFirst + static_cast<int>(r); };
    EXPECT_TRUE(monitor->IsDlgButtonChecked(box(Reading::Temperature)));
    EXPECT_FALSE(monitor->IsDlgButtonChecked(box(Reading::Humidity)));
    EXPECT_EQ(monitor->GetDlgItemText(kIdMonitorStart), "Start");

    const std::string csv = TestFile("log.csv"), png = TestFile("charts.png");
    std::filesystem::remove(csv);
    std::filesystem::remove(png);
    std::vector<std::string> asked;
    SetFileDialogHook([&](const FileDialogCall& call) -> std::optional<std::string> {
        asked.push_back(call.title);
        return call.suggestedName.ends_with(".csv") ? csv : png;
    });
    Click(*monitor, kIdMonitorLogCsv);
    monitor->SetDlgItemText(kIdMonitorInterval, "0.2");
    ClearRequests();
    Click(*monitor, kIdMonitorStart);
    EXPECT_EQ(monitor->GetDlgItemText(kIdMonitorStart), "Pause");
    EXPECT_FALSE(monitor->IsDlgItemEnabled(box(Reading::Temperature)));
    ASSERT_TRUE(PollsUntil(*monitor, 3));
    Click(*monitor, kIdMonitorStart);
    EXPECT_EQ(monitor->GetDlgItemText(kIdMonitorStart), "Start");
    const std::uint64_t polls = monitor->Monitor().Polls();
    PumpEvents(ms(500));
    EXPECT_EQ(monitor->Monitor().Polls(), polls) << "polled after Pause";

    Lines wire = {"4800 FC FC FC 03 00 00 00", "4800 FC FC FC 04 00 00 00"};
    wire.insert(wire.end(), polls, "4800 05 03 00 00 00 02");
    EXPECT_EQ(Requests(), wire);
    EXPECT_EQ(monitor->GetDlgItemText(kIdMonitorValueFirst + static_cast<int>(Reading::Temperature)), "25.0");
    const std::string counters = monitor->GetDlgItemText(kIdMonitorCounters);
    EXPECT_NE(counters.find("Polls: " + std::to_string(polls) + "\nok: " + std::to_string(polls)), std::string::npos)
        << counters;
    EXPECT_NE(counters.find("Latency: median"), std::string::npos) << counters;
    ASSERT_NE(monitor->Chart(Reading::Temperature), nullptr);
    EXPECT_EQ(monitor->Chart(Reading::Temperature)->limits.lower, -10.0);

    std::istringstream rows(FileText(csv));
    std::string line;
    std::getline(rows, line);
    EXPECT_EQ(line, "time,temperature\r");
    std::uint64_t logged = 0;
    while (std::getline(rows, line)) logged += line.ends_with(",25.0\r") ? 1 : 0;
    EXPECT_EQ(logged, polls);

    Click(*monitor, kIdMonitorSavePicture);
    EXPECT_TRUE(FileText(png).starts_with("\x89PNG\r\n\x1a\n")) << "no PNG at " << png;
    EXPECT_EQ(asked, (Lines{"Log to CSV", "Save picture"}));
    EXPECT_EQ(Boxes(), Lines{});
}

// "Log to CSV..." on a log of other readings is refused as monitor --csv
// refuses it: a box says why, and polling adds no row to the file.
TEST_F(Monitor, RefusesALogOfOtherReadings) {
    OpenOnFoundDevice(kTh);
    Click(kIdReadTemperature);
    Dlg().OnSysCommand(CConfigDlg::kMonitorCommand);
    CMonitorWnd& monitor = *Dlg().MonitorWindow();
    const std::string csv = TestFile("other.csv");
    const std::string other = "time,humidity\r\n2026-12-08T21:30:48.120Z,60.0\r\n";
    std::ofstream(csv, std::ios::binary) << other;
    SetFileDialogHook([&](const FileDialogCall&) -> std::optional<std::string> { return csv; });
    Click(monitor, kIdMonitorLogCsv);
    EXPECT_EQ(Boxes(), Lines{"Monitor (!): " + csv +
                             ": holds a log of other readings; choose another file or the same readings"});
    monitor.SetDlgItemText(kIdMonitorInterval, "0.2");
    Click(monitor, kIdMonitorStart);
    ASSERT_TRUE(PollsUntil(monitor, 2));
    Click(monitor, kIdMonitorStart);
    EXPECT_EQ(FileText(csv), other);
}

// An interval the monitor cannot keep is refused with a box, and nothing is polled.
TEST_F(Monitor, RefusesAnIntervalOutOfRange) {
    OpenOnFoundDevice(kTh);
    Click(kIdReadTemperature);
    Dlg().OnSysCommand(CConfigDlg::kMonitorCommand);
    CMonitorWnd& monitor = *Dlg().MonitorWindow();
    for (const char* interval : {"0.1", "61", "none"}) {
        monitor.SetDlgItemText(kIdMonitorInterval, interval);
        Click(monitor, kIdMonitorStart);
        EXPECT_FALSE(monitor.Running()) << interval;
    }
    EXPECT_EQ(Boxes(), Lines(3, "Monitor (!): The interval must be 0.2 to 60 seconds."));
    EXPECT_EQ(Requests(), Lines{"4800 05 03 00 00 00 02"});
}

// --- the scan of a bus --------------------------------------------------------

class ScanBus : public WindowBehaviourFixture {
protected:
    // Asks `first`..`last` at the speeds ticked (2400 ticked or not) and
    // starts the scan.
    static void StartScan(CScanDlg& scan, const char* first, const char* last, bool at2400) {
        scan.CheckDlgButton(kIdScanSpeedFirst, at2400);
        scan.SetDlgItemText(kIdScanFirst, first);
        scan.SetDlgItemText(kIdScanLast, last);
        scan.ClickDlgItem(kIdScanStart);
    }
    static bool PumpUntil(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!condition() && std::chrono::steady_clock::now() < deadline) PumpEvents(ms(20));
        return condition();
    }
    static std::string Row(const CScanDlg& scan, int row) {
        std::string text;
        for (int column = 0; column < CScanDlg::kColumns; ++column)
            text += (column ? " | " : "") + scan.ListGetItemText(kIdScanUnits, row, column);
        return text;
    }
};

// From the menu, on the port the list selects: addressed reads of registers
// 0-1 to each address at each speed ticked, the unit that answered listed;
// a double-click on it makes it the main window's device, as a search would.
TEST_F(ScanBus, ListsTheUnitsThatAnswerAndADoubleClickMakesOneCurrent) {
    StartDevice("--bus th:12,th:13@4800 --baud 9600");
    OpenMainWindow();
    Dlg().ComboSetCurSel(kIdPortList, kSimPort - 1);
    CScanDlg& scan = Dlg().ScanWindow();
    bool finished = false;
    const bool opened = WhileOpenedBy([&] { Dlg().OnSysCommand(CConfigDlg::kScanBusCommand); }, scan, [&] {
        EXPECT_FALSE(scan.IsDlgItemEnabled(kIdScanStop));
        StartScan(scan, "10", "14", false);
        ASSERT_TRUE(PumpUntil([&] { return !scan.Running(); }));
        EXPECT_EQ(scan.GetDlgItemText(kIdScanStatus), "Scan done: 2 units found.");
        EXPECT_EQ(scan.ProgressGetPos(kIdScanProgress), 10);
        ASSERT_EQ(scan.ListGetItemCount(kIdScanUnits), 2);
        EXPECT_EQ(Row(scan, 0), "13 | 4800 | 25.0 | 60.0");
        EXPECT_EQ(Row(scan, 1), "12 | 9600 | 25.0 | 60.0");
        Lines wire;
        for (const char* speed : {"4800", "9600"}) {
            for (const char* address : {"0A", "0B", "0C", "0D", "0E"})
                wire.push_back(std::string(speed) + " " + address + " 03 00 00 00 02");
        }
        EXPECT_EQ(Requests(), wire);
        ClearRequests();
        DoubleClickListRow(scan, kIdScanUnits, 1);
        finished = true;
    });
    ASSERT_TRUE(opened);
    ASSERT_TRUE(finished);
    EXPECT_EQ(Dlg().GetDlgItemText(kIdAddressField), "12");
    EXPECT_EQ(Dlg().GetDlgItemText(kIdBaudField), "9600");
    EXPECT_TRUE(Dlg().IsDlgItemEnabled(kIdReadTemperature));
    Click(kIdReadTemperature);
    EXPECT_EQ(Requests(), Lines{"9600 0C 03 00 00 00 02"});
    EXPECT_EQ(Dlg().GetDlgItemText(kIdTemperatureField), "25.0");
    EXPECT_EQ(Boxes(), Lines{});
}

// Stop ends the scan between two addresses; the port goes back to the found
// device's speed, where the main window's reads find it again. A plan that
// cannot be asked is refused with a box.
TEST_F(ScanBus, StopEndsTheScanAndGivesThePortBack) {
    OpenOnFoundDevice(kTh);
    CScanDlg& scan = Dlg().ScanWindow();
    scan.SetScanPort(kSimPort);
    OpenForTest(scan);
    for (const auto& [first, last] : {std::pair{"0", "7"}, {"8", "7"}, {"1", "248"}, {"x", "7"}}) {
        StartScan(scan, first, last, true);
        EXPECT_FALSE(scan.Running()) << first << "-" << last;
    }
    scan.CheckDlgButton(kIdScanSpeedFirst + 1, false);
    scan.CheckDlgButton(kIdScanSpeedFirst + 2, false);
    StartScan(scan, "1", "247", false);
    Lines boxes(4, "Scan bus (!): The addresses must be 1 to 247, the first not above the last.");
    boxes.push_back("Scan bus (!): Tick at least one speed.");
    EXPECT_EQ(Boxes(), boxes);
    EXPECT_EQ(Requests(), Lines{});

    scan.CheckDlgButton(kIdScanSpeedFirst + 2, true);
    StartScan(scan, "1", "247", false);
    ASSERT_TRUE(PumpUntil([&] { return Requests().size() >= 3; }));
    scan.ClickDlgItem(kIdScanStop);
    EXPECT_FALSE(scan.Running());
    EXPECT_TRUE(scan.GetDlgItemText(kIdScanStatus).starts_with("Stopped at 9600 bit/s, address "))
        << scan.GetDlgItemText(kIdScanStatus);
    EXPECT_TRUE(scan.IsDlgItemEnabled(kIdScanStart));
    const std::size_t asked = Requests().size();
    EXPECT_LT(scan.ProgressGetPos(kIdScanProgress), 247);
    PumpEvents(ms(300));
    EXPECT_EQ(Requests().size(), asked) << "asked after Stop";
    for (const std::string& request : Requests()) EXPECT_TRUE(request.starts_with("9600 ")) << request;

    scan.EndDialog(IDCANCEL);
    ClearRequests();
    Click(kIdReadTemperature);
    EXPECT_EQ(Requests(), Lines{"4800 05 03 00 00 00 02"});
    EXPECT_EQ(Dlg().GetDlgItemText(kIdTemperatureField), "25.0");
}

}  // namespace
