#include "MessageMap.h"

#include "InputHold.h"
#include "res/ResourceIds.h"

std::function<void()> CMessageMap::Command(int id) const {
    if (const auto entry = m_commands.find(id); entry != m_commands.end()) return entry->second;
    for (const CommandRange& range : m_commandRanges) {
        if (id >= range.first && id <= range.last) return [handler = range.handler, id] { handler(id); };
    }
    return {};
}

std::function<void()> CMessageMap::SelChange(int id) const {
    const auto entry = m_selChanges.find(id);
    return entry == m_selChanges.end() ? std::function<void()>{} : entry->second;
}

void CMessageMap::RunCommand(int id, const std::function<void()>& onOk, const std::function<void()>& onCancel) const {
    if (const std::function<void()> handler = Command(id)) {
        Dispatch(handler);
    } else if (id == IDOK) {
        Dispatch(onOk);
    } else if (id == IDCANCEL) {
        Dispatch(onCancel);
    }
}

void CMessageMap::RunListDblClk(int id, int row) const {
    const auto entry = m_listDblClks.find(id);
    if (entry == m_listDblClks.end() || row < 0) return;
    Dispatch([handler = entry->second, row] { handler(row); });
}

void CMessageMap::Dispatch(const std::function<void()>& handler) {
    if (!handler) return;
    // A copy: the handler may change the message map while it runs.
    const std::function<void()> call = handler;
    CInputHold::DispatchScope scope;
    call();
}
