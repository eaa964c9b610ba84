#pragma once
// Stands in, on the Windows build only, for the Qt-free parts of
// src/widgets (MessageBoxCall.cpp's hook, DlgItemInt's parser on UTF-8) until
// they come from the branch that frees the handlers of Qt; then this file and
// InterimNeutralWin32.cpp go.

#include <optional>
#include <string_view>

std::optional<int> ParseDlgItemInt(std::string_view text, bool isSigned);
