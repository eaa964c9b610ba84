// The Windows frame log: its rows follow the log through clears and the loss
// of the oldest entries, Ctrl+C's text is the selected rows in order, and
// "Save..." writes the log whole or leaves the old file alone.

#include <gtest/gtest.h>

// Before <windows.h>, whose macros would rename the dialog verbs.
#include "widgets/win32/DialogBaseWin32.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "protocol/FrameLog.h"
#include "ui/log/FrameLogWndWin32.h"

namespace {

const std::array<std::uint8_t, 3> kFrame{0xFD, 0x01, 0x02};

void Append(CFrameLog& log, int count) {
    for (int i = 0; i < count; ++i) log.Append(LogDirection::Sent, kFrame, "frame " + std::to_string(i), "good");
}

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FrameLogRowsWin32, RowsFollowTheLogThroughClearsAndItsOldestGoing) {
    CFrameLog log(3);
    CFrameLogRows rows;
    struct Step {
        int append;
        bool clear;
        std::size_t removed, added, count;
        std::uint64_t firstSequence;
    };
    const Step steps[] = {
        {2, false, 0, 2, 2, 0},
        {2, false, 1, 2, 3, 1},  // past its capacity the log drops the oldest
        {0, true, 3, 0, 0, 0},
        {1, false, 0, 1, 1, 4},  // numbering goes on after a clear
    };
    for (const Step& s : steps) {
        if (s.clear) log.Clear();
        Append(log, s.append);
        const CFrameLogRows::Change change = rows.CatchUp(log);
        EXPECT_EQ(change.removedFromFront, s.removed);
        EXPECT_EQ(change.added, s.added);
        ASSERT_EQ(rows.Count(), s.count);
        if (s.count > 0) {
            EXPECT_EQ(rows.Entry(0).sequence, s.firstSequence);
        }
    }
    EXPECT_EQ(rows.CellText(0, CFrameLogRows::kBytes), "FD 01 02");
    EXPECT_EQ(rows.CellText(0, CFrameLogRows::kOutcome), "good");
}

class FrameLogWndWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        Append(log, 3);
        wnd.Show();
        ASSERT_NE(wnd.Handle(), nullptr) << "Wine cannot make windows here: it needs an X display (xvfb-run)";
        list = FindWindowExW(wnd.Handle(), nullptr, WC_LISTVIEWW, nullptr);
        ASSERT_NE(list, nullptr);
    }
    CFrameLog log;
    CFrameLogWnd wnd{log};
    HWND list = nullptr;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "sentrabus-frame-log-test";
};

TEST_F(FrameLogWndWin32, ColumnsShowTheirHeadingsCopyTakesTheSelectedRowsInOrderAndClearEmptiesTheList) {
    for (int column = 0; column < CFrameLogRows::kColumns; ++column) {
        wchar_t text[64] = {};
        LVCOLUMNW lvColumn{};
        lvColumn.mask = LVCF_TEXT;
        lvColumn.pszText = text;
        lvColumn.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvColumn)));
        const std::string heading = CFrameLogRows::Heading(column);
        EXPECT_EQ(std::wstring(text), std::wstring(heading.begin(), heading.end())) << "column " << column;
    }
    EXPECT_EQ(ListView_GetItemCount(list), 3);
    ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    const CFrameLogRows& rows = wnd.Rows();
    EXPECT_EQ(wnd.SelectedText(), FrameLogLine(rows.Entry(0)) + "\r\n" + FrameLogLine(rows.Entry(2)) + "\r\n");

    SendMessageW(wnd.Handle(), WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);  // Clear
    EXPECT_EQ(log.Size(), 0u);
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    EXPECT_EQ(wnd.SelectedText(), "");
}

TEST_F(FrameLogWndWin32, SaveWritesTheWholeLogOrLeavesTheOldFileAlone) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "frames.txt";
    const std::string older = "an older log, longer than the new one will be ......................................";
    std::ofstream(file) << older;
    std::wstring error;
    {
        // Another program holds the old file: it stays as it was.
        const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(wnd.SaveTo(file.wstring(), &error));
        CloseHandle(held);
    }
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(FileText(file), older);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "nothing left beside it";

    ASSERT_TRUE(wnd.SaveTo(file.wstring(), &error));
    EXPECT_EQ(FileText(file), FrameLogFileText(log));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "nothing left beside it";
    std::filesystem::remove_all(dir);
}

// The program's modal main window runs the only loop; the frame log beside
// it still takes Tab from one of its controls to the next, round to the first.
TEST_F(FrameLogWndWin32, TabMovesBetweenItsControlsWhileAModalWindowRuns) {
    static constexpr DlgTemplate kModal = {0, "modal", 60, 30, "宋体", 9, {}};
    class CModalBeside final : public CDialogBase {
    public:
        CModalBeside(HWND frameLog, HWND list) : CDialogBase(kModal), m_frameLog(frameLog), m_list(list) {}
        std::vector<HWND> focused;

    private:
        bool OnInitDialog() override {
            SetTimer(1, 20);
            return true;
        }
        // Once the frame log is the active window again (the operator's click
        // on it), each tick notes where the focus is and presses Tab there.
        void OnTimer(int) override {
            if (++m_ticks > 250) return EndDialog(IDABORT);
            if (focused.empty() && GetForegroundWindow() != m_frameLog) {
                SetForegroundWindow(m_frameLog);
                SetFocus(m_list);
                return;
            }
            focused.push_back(GetFocus());
            if (focused.size() == 4) return EndDialog(IDOK);
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
            PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, 0xC0000001);
        }
        HWND m_frameLog;
        HWND m_list;
        int m_ticks = 0;
    };
    CModalBeside modal(wnd.Handle(), list);
    ASSERT_EQ(modal.DoModal(), IDOK);
    HWND save = GetDlgItem(wnd.Handle(), 1);
    HWND clear = GetDlgItem(wnd.Handle(), 2);
    EXPECT_EQ(modal.focused, (std::vector<HWND>{list, save, clear, list}));
}

}  // namespace
