// The message map's side of the dialog class, the same on both platforms:
// handlers registered by control id, and a command run through them.

#include "DialogBase.h"

void CDialogBase::OnCommand(int id, std::function<void()> handler) { m_messageMap.OnCommand(id, std::move(handler)); }

void CDialogBase::OnSelChange(int id, std::function<void()> handler) {
    m_messageMap.OnSelChange(id, std::move(handler));
}

void CDialogBase::OnListDblClk(int id, std::function<void(int)> handler) {
    m_messageMap.OnListDblClk(id, std::move(handler));
}

void CDialogBase::OnCommandRange(int first, int last, std::function<void(int)> handler) {
    m_messageMap.OnCommandRange(first, last, std::move(handler));
}

void CDialogBase::Dispatch(const std::function<void()>& handler) { CMessageMap::Dispatch(handler); }

void CDialogBase::RunCommand(int id) {
    m_messageMap.RunCommand(id, [this] { OnOK(); }, [this] { OnCancel(); });
}
