#include "MessageMap.h"

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
