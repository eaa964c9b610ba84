#pragma once
// A small template and helpers shared by the dialog-layer tests.

#include <chrono>
#include <functional>

#include <QTest>

#include "res/DialogTemplate.h"
#include "support/PostedClick.h"

namespace testdlg {

inline constexpr int kEdit = 11, kGo = 12, kOther = 13, kDropDown = 14, kDropList = 15, kHidden = 16;

inline constexpr const char* kEntries[] = {"Alpha", "Beta", "Gamma"};

inline constexpr DlgItem kItems[] = {
    {kEdit, DlgItemKind::Edit, "", 10, 10, 40, 13, DlgStyle::Default | DlgStyle::AutoHScroll},
    {kGo, DlgItemKind::PushButton, "Go", 60, 10, 40, 13},
    {kOther, DlgItemKind::PushButton, "Other", 110, 10, 40, 13},
    {kDropDown, DlgItemKind::ComboDropDown, "", 10, 30, 60, 50, DlgStyle::Default, kEntries},
    {kDropList, DlgItemKind::ComboDropList, "", 80, 30, 60, 50, DlgStyle::Default, kEntries},
    {kHidden, DlgItemKind::PushButton, "Hidden", 150, 30, 30, 13, DlgStyle::TabStop},
};

inline constexpr DlgTemplate kTemplate = {900, "Test window", 200, 60, "宋体", 9, kItems};

// Processes events until `done` holds; false after a generous bound.
inline bool WaitUntil(const std::function<bool()>& done) { return QTest::qWaitFor(done, 10000); }

}  // namespace testdlg
