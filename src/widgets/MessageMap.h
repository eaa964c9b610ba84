#pragma once
// A dialog's message map: which handler a control's command or selection
// change runs, by control id, and the handlers of id ranges. The same on
// every platform: each backend's dialog class hands its clicks, selection
// changes and other handler calls to the map's Run* and Dispatch, and keeps
// only how the platform delivers them.

#include <functional>
#include <map>
#include <vector>

class CMessageMap {
public:
    void OnCommand(int id, std::function<void()> handler) { m_commands[id] = std::move(handler); }
    void OnSelChange(int id, std::function<void()> handler) { m_selChanges[id] = std::move(handler); }
    // A row of report list `id` double-clicked, given the row.
    void OnListDblClk(int id, std::function<void(int)> handler) { m_listDblClks[id] = std::move(handler); }
    // One handler for the commands of the controls first..last, given the id.
    void OnCommandRange(int first, int last, std::function<void(int)> handler) {
        m_commandRanges.push_back({first, last, std::move(handler)});
    }

    // The handler of command `id`: its own entry, else the first range that
    // covers it; empty when there is none. A copy, because a handler may
    // change the map while it runs.
    std::function<void()> Command(int id) const;
    std::function<void()> SelChange(int id) const;

    // A click or command `id`: its handler, else `onOk` for IDOK and
    // `onCancel` for IDCANCEL (the dialog's OnOK / OnCancel), else nothing.
    void RunCommand(int id, const std::function<void()>& onOk, const std::function<void()>& onCancel) const;
    // The operator's choice in combo box `id`: its handler, if any.
    void RunSelChange(int id) const { Dispatch(SelChange(id)); }
    // The operator double-clicked row `row` of list `id`: its handler, if any.
    void RunListDblClk(int id, int row) const;

    // Runs one handler of a dialog (nothing when empty), as the outermost or
    // a nested handler of the window's input hold: every handler call of a
    // dialog goes through here, so that input kept during an exchange is
    // handled only after the handler that started it has returned.
    static void Dispatch(const std::function<void()>& handler);

private:
    struct CommandRange {
        int first, last;
        std::function<void(int)> handler;
    };
    std::map<int, std::function<void()>> m_commands;
    std::map<int, std::function<void()>> m_selChanges;
    std::map<int, std::function<void(int)>> m_listDblClks;
    std::vector<CommandRange> m_commandRanges;
};
