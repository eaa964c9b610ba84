#pragma once
// Every "Open" and "Save as" box of the program goes through one seam, as the
// message boxes do (MessageBoxCall.h): tests replace the box with a hook that
// answers with a path, and see what was asked. The platform's box (a Qt file
// dialog on Linux, GetOpenFileNameW / GetSaveFileNameW on Windows) runs only
// when no hook is set.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class FileDialogKind { Open, Save };

struct FileDialogCall {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;          // UTF-8
    std::string suggestedName;  // the file name a Save box starts with
    // Name and pattern of each choice, first one chosen:
    // {"Sentrabus profiles", "*.json"}, {"All files", "*"}.
    std::vector<std::pair<std::string, std::string>> filters;
};

// Returns the chosen path (UTF-8), or nothing when the operator cancelled.
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogCall&)>;
void SetFileDialogHook(FileDialogHook hook);
const FileDialogHook& CurrentFileDialogHook();
