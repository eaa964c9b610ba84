// The Open and Save boxes on Windows: the system's common dialogs, owned by
// the window, with wide paths so that any file name works.

#include <vector>

#include "DialogBaseWin32.h"
#include "TextWin32.h"
#include "Win32Api.h"
#include <commdlg.h>

namespace {

// "Name (pattern)\0pattern\0 ... \0\0"; Windows writes "*" as "*.*".
std::wstring SystemFilter(const FileDialogCall& call) {
    std::wstring filter;
    for (const auto& [name, pattern] : call.filters) {
        const std::string windowsPattern = pattern == "*" ? "*.*" : pattern;
        filter += Utf16(name + " (" + windowsPattern + ")");
        filter.push_back(L'\0');
        filter += Utf16(windowsPattern);
        filter.push_back(L'\0');
    }
    filter.push_back(L'\0');
    return filter;
}

// "json" of "*.json": what a Save box adds to a name typed without one.
std::wstring DefaultExtension(const FileDialogCall& call) {
    if (call.filters.empty()) return {};
    const std::string& pattern = call.filters.front().second;
    if (pattern.size() > 2 && pattern.compare(0, 2, "*.") == 0 && pattern.find('*', 2) == std::string::npos)
        return Utf16(pattern.substr(2));
    return {};
}

}  // namespace

std::optional<std::string> CDialogBase::AskFileName(const FileDialogCall& call) {
    if (const FileDialogHook& hook = CurrentFileDialogHook()) return hook(call);
    std::vector<wchar_t> path(32768, L'\0');  // the longest path Windows names
    const std::wstring suggested = Utf16(call.suggestedName);
    if (call.kind == FileDialogKind::Save) suggested.copy(path.data(), path.size() - 1);
    const std::wstring filter = SystemFilter(call);
    const std::wstring title = Utf16(call.title);
    const std::wstring extension = DefaultExtension(call);

    OPENFILENAMEW box = {};
    box.lStructSize = sizeof box;
    box.hwndOwner = m_hwnd;
    box.lpstrFilter = call.filters.empty() ? nullptr : filter.c_str();
    box.nFilterIndex = 1;
    box.lpstrFile = path.data();
    box.nMaxFile = static_cast<DWORD>(path.size());
    box.lpstrTitle = title.empty() ? nullptr : title.c_str();
    box.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    box.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                (call.kind == FileDialogKind::Save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST
                                                   : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL chosen = call.kind == FileDialogKind::Save ? GetSaveFileNameW(&box) : GetOpenFileNameW(&box);
    if (!chosen) return std::nullopt;
    return Utf8(path.data());
}
