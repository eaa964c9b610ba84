#pragma once
// While it lives, every Open or Save box is recorded and answered with
// `path` (nothing: the operator cancelled).

#include <optional>
#include <string>
#include <vector>

#include "widgets/FileDialogCall.h"

struct CFileDialogAnswer {
    explicit CFileDialogAnswer(std::optional<std::string> path) {
        SetFileDialogHook([this, path](const FileDialogCall& call) {
            asked.push_back(call);
            return path;
        });
    }
    ~CFileDialogAnswer() { SetFileDialogHook({}); }
    std::vector<FileDialogCall> asked;
};
