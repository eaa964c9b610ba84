#pragma once
// Stands in for the Open and Save boxes while it lives: each box the program
// asks for is recorded and answered with `path` (nothing: the operator
// cancelled).

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "widgets/FileDialogCall.h"

class CFileDialogAnswer {
public:
    explicit CFileDialogAnswer(std::optional<std::string> path) : m_path(std::move(path)) {
        SetFileDialogHook([this](const FileDialogCall& call) {
            m_asked.push_back(call);
            return m_path;
        });
    }
    ~CFileDialogAnswer() { SetFileDialogHook({}); }
    CFileDialogAnswer(const CFileDialogAnswer&) = delete;
    CFileDialogAnswer& operator=(const CFileDialogAnswer&) = delete;

    const std::vector<FileDialogCall>& Asked() const { return m_asked; }

private:
    std::optional<std::string> m_path;
    std::vector<FileDialogCall> m_asked;
};
