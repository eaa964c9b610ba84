#include "MainWindowFixture.h"

#include <cstdio>

#include <QApplication>
#include <QTest>

#include "BuiltFrame.h"
#include "WindowDriver.h"
#include "protocol/RequestFrames.h"
#include "serial/SerialPort.h"
#include "res/IdsConfig.h"

namespace {

constexpr const char* kNowhere = "/nonexistent/sentrabus-test-port";

QByteArray PortVariable(int comNumber) { return "SENTRABUS_COM" + QByteArray::number(comNumber); }

void ClosePort() {
    g_serialPort.Close();
    g_portOpen = false;
}

}  // namespace

void MainWindowFixture::SetUp() {
    ClosePort();
    SetMessageBoxHook([this](const MessageBoxCall& call) {
        m_boxes.push_back({call, m_devices.empty() ? 0 : m_devices.front()->Received().size()});
        if (m_onBox) m_onBox(call);
        return 1;
    });
}

void MainWindowFixture::TearDown() {
    m_dlg.reset();  // stops the receive thread
    ClosePort();
    m_devices.clear();
    m_scripted.reset();
    for (const QByteArray& name : m_portVariables) qunsetenv(name.constData());
    m_portVariables.clear();
    qunsetenv(PortVariable(1).constData());
    SetMessageBoxHook({});
    m_onBox = nullptr;
}

sim::CSimulator& MainWindowFixture::StartDevice(const sim::SimConfig& config, int comNumber) {
    sim::SimConfig traced = config;
    // SENTRABUS_SIM_TRACE=1 prints what each device hears and says, timed.
    if (!traced.trace && qEnvironmentVariableIsSet("SENTRABUS_SIM_TRACE")) {
        traced.trace = [start = std::chrono::steady_clock::now()](const std::string& line) {
            const auto at = std::chrono::duration_cast<ms>(std::chrono::steady_clock::now() - start);
            std::fprintf(stderr, "sim %6lld ms  %s\n", static_cast<long long>(at.count()), line.c_str());
        };
    }
    m_devices.push_back(std::make_unique<sim::CSimulator>(traced));
    const QByteArray name = PortVariable(comNumber);
    qputenv(name.constData(), QByteArray::fromStdString(m_devices.back()->SlavePath()));
    m_portVariables.push_back(name);
    return *m_devices.back();
}

sim::CSimulator& MainWindowFixture::Device() {
    if (m_devices.empty()) throw std::logic_error("no device started");
    return *m_devices.front();
}

CConfigDlg& MainWindowFixture::OpenMainWindow() {
    if (qgetenv(PortVariable(1).constData()).isEmpty()) qputenv(PortVariable(1).constData(), kNowhere);
    m_dlg = std::make_unique<CConfigDlg>();
    m_dlg->Create();
    m_dlg->show();
    QApplication::processEvents();
    return *m_dlg;
}

void MainWindowFixture::CloseMainWindow() { m_dlg.reset(); }

CConfigDlg& MainWindowFixture::Dlg() {
    if (!m_dlg) throw std::logic_error("no main window");
    return *m_dlg;
}

void MainWindowFixture::Click(int id) { Click(Dlg(), id); }

void MainWindowFixture::Click(CDialogBase& dlg, int id) {
    dlg.ClickDlgItem(id);
    QApplication::processEvents();
}

std::function<void()> MainWindowFixture::ClickPoster(int id) { return ClickPoster(Dlg(), id); }

std::function<void()> MainWindowFixture::ClickPoster(CDialogBase& dlg, int id) { return ::ClickPoster(dlg, id); }

void MainWindowFixture::Choose(CDialogBase& dlg, int id, int index) { ChooseComboEntry(dlg, id, index); }

CScriptedDevice& MainWindowFixture::OpenOnScriptedDevice(CScriptedDevice::Script script, std::uint8_t address) {
    m_scripted = std::make_unique<CScriptedDevice>(std::move(script));
    qputenv(PortVariable(1).constData(), QByteArray::fromStdString(m_scripted->SlavePath()));
    OpenMainWindow();
    Dlg().Session().AssumeDevice(address, Dlg().Session().Device().baudRate, false);
    return *m_scripted;
}

void MainWindowFixture::OpenWindow(CDialogBase& window) { OpenForTest(window); }

void MainWindowFixture::WhileOpenedBy(int button, CDialogBase& window, const std::function<void()>& inside) {
    EXPECT_TRUE(::WhileOpenedBy([&] { Click(button); }, window, inside)) << "the window did not open";
}

void MainWindowFixture::Pump(ms duration) { QTest::qWait(static_cast<int>(duration.count())); }

void MainWindowFixture::ClearBusy() { Dlg().Busy().Clear(); }

bool MainWindowFixture::WaitForBusyClear(ms timeout) {
    return QTest::qWaitFor([this] { return !Dlg().Busy().IsSet(); }, static_cast<int>(timeout.count()));
}

void MainWindowFixture::ExpectClicksWithinTheBusyPeriodDoNothing(const std::vector<BusyCase>& cases) {
    ASSERT_FALSE(cases.empty());
    CDialogBase& window = *cases.front().window;
    const int alone = cases.front().second;
    ClearBusy();
    ClearRequests();
    ClickPoster(window, alone)();
    Pump(ms(100));
    ASSERT_EQ(Requests().size(), 1u) << "a queued click on its own reaches its handler";

    for (const BusyCase& c : cases) {
        ClearBusy();
        ClearRequests();
        ClearBoxes();
        ClickPoster(*c.window, c.second)();
        c.first();
        Pump(ms(20));
        EXPECT_EQ(Requests().size(), 1u) << c.name;
        EXPECT_LE(Boxes().size(), 1u) << c.name;
    }

    ASSERT_TRUE(WaitForBusyClear());
    ClearRequests();
    Click(window, alone);
    EXPECT_EQ(Requests().size(), 1u) << "after the tick";
}

sim::CSimulator& MainWindowFixture::OpenOnFoundDevice(const sim::SimConfig& config) {
    sim::CSimulator& device = StartDevice(config);
    OpenMainWindow();
    SearchAndExpectFound();
    return device;
}

void MainWindowFixture::SearchAndExpectFound(int comNumber) {
    Dlg().ComboSetCurSel(kIdPortList, comNumber - 1);
    ClearBoxes();
    Click(kIdSearchDevice);
    std::string heard;
    for (const sim::ReceivedFrame& frame : Device().Received()) {
        heard += "\n  " + std::to_string(frame.lineBaud) + (frame.answered ? " answered: " : " unanswered: ") +
                 sim::HexBytes(frame.bytes);
    }
    ASSERT_EQ(m_boxes.size(), 1u) << heard;
    const std::string text = m_boxes[0].call.text;
    ASSERT_TRUE(m_boxes[0].call.caption == "Search Result" || m_boxes[0].call.caption == "Test Result")
        << text << heard;
    ASSERT_NE(text, "Search end  Unrecognized baud rate") << heard;
    ClearBoxes();
    ClearRequests();
    ClearBusy();
}

std::string MainWindowFixture::Text(int id) { return Dlg().GetDlgItemText(id); }

void MainWindowFixture::SetText(int id, std::string_view text) { Dlg().SetDlgItemText(id, text); }

std::vector<sim::Frame> MainWindowFixture::Requests() { return Device().ReceivedBytes(); }

void MainWindowFixture::ClearRequests() {
    for (auto& device : m_devices) device->ClearReceived();
}

MessageBoxCall MainWindowFixture::OnlyBox() {
    EXPECT_EQ(m_boxes.size(), 1u);
    if (m_boxes.empty()) return {};
    return m_boxes.back().call;
}

sim::Frame HexFrame(const char* hex) {
    sim::Frame frame;
    for (const QByteArray& part : QByteArray(hex).split(' ')) {
        if (!part.isEmpty()) frame.push_back(static_cast<std::uint8_t>(part.toUInt(nullptr, 16)));
    }
    return frame;
}

sim::Frame FcWrite(std::uint8_t code, std::uint16_t value) {
    return Built([&](TxBuffer tx) { return BuildFcWrite(tx, code, value); });
}
