#pragma once
// The report-list verbs and the caption, checked alike on either backend's
// dialog (VerbsTests.cpp on Qt, win32/DialogWin32Tests.cpp under Wine).

#include <gtest/gtest.h>

#include "res/DialogTemplate.h"

namespace listcheck {

inline constexpr int kList = 40;
inline constexpr DlgItem kItems[] = {{kList, DlgItemKind::ListView, "", 5, 5, 150, 60}};
inline constexpr DlgTemplate kTemplate = {901, "list", 160, 70, "宋体", 9, kItems};

// On a window of kTemplate built with Create().
template <class Dialog>
void ExpectListVerbs(Dialog& dlg) {
    dlg.ListAddColumn(kList, "名称", 40);
    dlg.ListAddColumn(kList, "Value", 40);
    EXPECT_EQ(dlg.ListInsertItem(kList, 0, "b"), 0);
    EXPECT_EQ(dlg.ListInsertItem(kList, 0, "a"), 0) << "before the first";
    EXPECT_EQ(dlg.ListInsertItem(kList, 99, "配置"), 2) << "past the end: appended";
    EXPECT_EQ(dlg.ListInsertItem(kList, -1, "x"), -1);
    dlg.ListSetItemText(kList, 2, 1, "Zoë");
    dlg.ListSetItemText(kList, 3, 0, "no such row");
    dlg.ListSetItemText(kList, 0, 2, "no such column");
    EXPECT_EQ(dlg.ListGetItemText(kList, 0, 0) + dlg.ListGetItemText(kList, 2, 0) + dlg.ListGetItemText(kList, 2, 1) +
                  dlg.ListGetItemText(kList, 0, 2) + dlg.ListGetItemText(kList, 3, 0),
              "a配置Zoë");
    // Emptied, the list keeps its columns; an id that is no list does nothing.
    dlg.ListDeleteAllItems(kList);
    EXPECT_EQ(dlg.ListInsertItem(kList, 5, "c"), 0);
    EXPECT_EQ(dlg.ListGetItemCount(kList), 1);
    EXPECT_EQ(dlg.ListInsertItem(999, 0, "x"), -1);
    dlg.SetWindowCaption("Apply profile 配置 Zoë.json");
    EXPECT_EQ(dlg.GetWindowCaption(), "Apply profile 配置 Zoë.json");
}

}  // namespace listcheck
