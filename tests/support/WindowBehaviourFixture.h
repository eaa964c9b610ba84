#pragma once
// The real main window and its secondary windows, driven through the dialog
// verbs alone, against the sentrabus-sim program: the same fixture on Linux
// (Qt dialogs) and under Wine (Windows dialogs). The simulator serves COM23;
// what it heard comes from its trace file, each request as its line speed and
// bytes ("4800 FD FD FD 00 00"). Every message box is recorded, not shown, as
// "caption: text", with " (?)" after a caption for the question icon.
//
// SENTRABUS_SIM names the simulator and SENTRABUS_UI_TEST_DIR a directory of
// the Linux host for the trace files (both set by CTest).

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WindowDriver.h"
#include "ui/main/ConfigDlg.h"

class CPortNowhere;
class CSimProgram;

class WindowBehaviourFixture : public ::testing::Test {
protected:
    using ms = std::chrono::milliseconds;
    static constexpr int kSimPort = 23;

    void SetUp() override;
    void TearDown() override;

    // Starts the simulator with these command-line options on COM23.
    void StartDevice(const std::string& options);
    // Builds the main window as the program does at start, on COM1, which
    // leads nowhere here, and forgets the start-up port's box.
    CConfigDlg& OpenMainWindow();
    CConfigDlg& Dlg() { return *m_dlg; }
    // Selects COM<port> in the list and clicks Search.
    void Search(int port = kSimPort);
    // The device started, the window opened and the device found; its boxes
    // and requests forgotten.
    void OpenOnFoundDevice(const std::string& options);

    // Clicks a control as the operator would, once the busy flag a read
    // before it set is clear; returns when its handler has returned.
    void Click(int id) { Click(Dlg(), id); }
    void Click(CDialogBase& dlg, int id);
    // Waits for timer 1 itself to clear the busy flag.
    bool WaitForBusyClear(ms timeout = ms(3000));

    // Requests heard since the last ClearRequests, oldest first.
    std::vector<std::string> Requests() const;
    void ClearRequests() { m_requestsBefore = HeardRequestsSoFar(); }
    std::vector<std::string> Boxes() const { return m_boxes; }
    void ClearBoxes() { m_boxes.clear(); }

private:
    std::size_t HeardRequestsSoFar() const;

    std::string m_traceFile;
    std::unique_ptr<CPortNowhere> m_startUpPort;
    std::unique_ptr<CSimProgram> m_device;
    std::unique_ptr<CConfigDlg> m_dlg;
    std::vector<std::string> m_boxes;
    std::size_t m_requestsBefore = 0;
};
