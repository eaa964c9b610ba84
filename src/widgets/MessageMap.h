#pragma once
// A dialog's message map: which handler a control's command or selection
// change runs, by control id, and the handlers of id ranges. The same on
// every platform; each dialog class runs what it finds here.

#include <functional>
#include <map>
#include <vector>

class CMessageMap {
public:
    void OnCommand(int id, std::function<void()> handler) { m_commands[id] = std::move(handler); }
    void OnSelChange(int id, std::function<void()> handler) { m_selChanges[id] = std::move(handler); }
    // One handler for the commands of the controls first..last, given the id.
    void OnCommandRange(int first, int last, std::function<void(int)> handler) {
        m_commandRanges.push_back({first, last, std::move(handler)});
    }

    // The handler of command `id`: its own entry, else the first range that
    // covers it; empty when there is none. A copy, because a handler may
    // change the map while it runs.
    std::function<void()> Command(int id) const;
    std::function<void()> SelChange(int id) const;

private:
    struct CommandRange {
        int first, last;
        std::function<void(int)> handler;
    };
    std::map<int, std::function<void()>> m_commands;
    std::map<int, std::function<void()>> m_selChanges;
    std::vector<CommandRange> m_commandRanges;
};
