#include "WindowBehaviourFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "SimProgram.h"
#include "SimTrace.h"
#include "res/IdsConfig.h"
#include "serial/SerialPort.h"

namespace {

void ClosePort() {
    g_serialPort.Close();
    g_portOpen = false;
}

const char* IconMark(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Question: return " (?)";
        case MsgIcon::Stop: return " (x)";
        case MsgIcon::Warning: return " (!)";
        case MsgIcon::Information: return " (i)";
        case MsgIcon::None: break;
    }
    return "";
}

}  // namespace

void WindowBehaviourFixture::SetUp() {
    ClosePort();
    // Not a port of this machine, nor another test's device.
    m_startUpPort = std::make_unique<CPortNowhere>(1);
    SetMessageBoxHook([this](const MessageBoxCall& call) {
        m_boxes.push_back(call.caption + IconMark(call.icon) + ": " + call.text);
        return IDOK;
    });
}

void WindowBehaviourFixture::TearDown() {
    m_dlg.reset();  // stops the receive thread
    ClosePort();
    m_device.reset();
    m_startUpPort.reset();
    SetMessageBoxHook({});
}

void WindowBehaviourFixture::StartDevice(const std::string& options) {
    const char* directory = std::getenv("SENTRABUS_UI_TEST_DIR");
    ASSERT_NE(directory, nullptr) << "CTest sets SENTRABUS_UI_TEST_DIR";
    const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test.test_suite_name()) + "-" + test.name();
    std::replace(name.begin(), name.end(), '/', '-');
    m_traceFile = std::string(directory) + "/trace-" + name + ".txt";
    std::filesystem::create_directories(HostPath(directory));
    std::filesystem::remove(HostPath(m_traceFile));

    std::istringstream words(options + " --trace-file " + m_traceFile);
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) arguments.push_back(word);
    m_device = std::make_unique<CSimProgram>(kSimPort, arguments);
    ASSERT_TRUE(m_device->Valid()) << "no simulator: CTest sets SENTRABUS_SIM to the sentrabus-sim program";
    m_requestsBefore = 0;
}

CConfigDlg& WindowBehaviourFixture::OpenMainWindow() {
    m_dlg = std::make_unique<CConfigDlg>();
    OpenForTest(*m_dlg);
    ClearBoxes();
    return *m_dlg;
}

void WindowBehaviourFixture::Search(int port) {
    Dlg().ComboSetCurSel(kIdPortList, port - 1);
    Click(kIdSearchDevice);
}

void WindowBehaviourFixture::OpenOnFoundDevice(const std::string& options) {
    StartDevice(options);
    OpenMainWindow();
    Search();
    ASSERT_EQ(Boxes().size(), 1u);
    ASSERT_TRUE(Boxes()[0].starts_with("Search Result: Device") || Boxes()[0].starts_with("Test Result: "))
        << Boxes()[0];
    ClearBoxes();
    ClearRequests();
}

void WindowBehaviourFixture::Click(CDialogBase& dlg, int id) {
    Dlg().Busy().Clear();  // what a tick of timer 1 does
    dlg.ClickDlgItem(id);
    PumpEvents(ms(0));
}

bool WindowBehaviourFixture::WaitForBusyClear(ms timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Dlg().Busy().IsSet() && std::chrono::steady_clock::now() < deadline) PumpEvents(ms(10));
    return !Dlg().Busy().IsSet();
}

std::size_t WindowBehaviourFixture::HeardRequestsSoFar() const {
    return m_traceFile.empty() ? 0 : HeardRequests(m_traceFile).size();
}

std::vector<std::string> WindowBehaviourFixture::Requests() const {
    if (m_traceFile.empty()) return {};
    std::vector<std::string> heard = HeardRequests(m_traceFile);
    heard.erase(heard.begin(), heard.begin() + static_cast<std::ptrdiff_t>(std::min(m_requestsBefore, heard.size())));
    return heard;
}
