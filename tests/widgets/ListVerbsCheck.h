#pragma once
// The report-list verbs and the window's caption: the same checks on either
// backend's dialog (VerbsTests.cpp on Qt, win32/DialogWin32Tests.cpp under
// Wine), on a window of one list built with Create().

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/DialogTemplate.h"

namespace listcheck {

inline constexpr int kList = 40;
inline constexpr DlgItem kItems[] = {{kList, DlgItemKind::ListView, "", 5, 5, 150, 60}};
inline constexpr DlgTemplate kTemplate = {901, "list", 160, 70, "宋体", 9, kItems};

template <class Dialog>
std::vector<std::string> Column(const Dialog& dlg, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < dlg.ListGetItemCount(kList); ++row) texts.push_back(dlg.ListGetItemText(kList, row, column));
    return texts;
}

template <class Dialog>
void ExpectListVerbs(Dialog& dlg) {
    using Texts = std::vector<std::string>;
    dlg.ListAddColumn(kList, "名称", 40);
    dlg.ListAddColumn(kList, "Value", 40);
    EXPECT_EQ(dlg.ListInsertItem(kList, 0, "b"), 0);
    EXPECT_EQ(dlg.ListInsertItem(kList, 0, "a"), 0) << "before the first";
    EXPECT_EQ(dlg.ListInsertItem(kList, 99, "配置"), 2) << "past the end: appended";
    EXPECT_EQ(dlg.ListInsertItem(kList, -1, "x"), -1);
    const std::string longText(600, 'x');
    dlg.ListSetItemText(kList, 2, 1, "Zoë");
    dlg.ListSetItemText(kList, 1, 1, longText);
    dlg.ListSetItemText(kList, 3, 0, "no such row");
    dlg.ListSetItemText(kList, 0, 2, "no such column");
    EXPECT_EQ(Column(dlg, 0), (Texts{"a", "b", "配置"}));
    EXPECT_EQ(Column(dlg, 1), (Texts{"", longText, "Zoë"}));
    EXPECT_EQ(dlg.ListGetItemText(kList, 0, 2), "");
    EXPECT_EQ(dlg.ListGetItemText(kList, -1, 0), "");
    dlg.ListFitColumn(kList, 1);
    dlg.ListFitColumn(kList, 5);  // nothing to fit

    // Emptied, the list keeps its columns.
    dlg.ListDeleteAllItems(kList);
    EXPECT_EQ(dlg.ListGetItemCount(kList), 0);
    EXPECT_EQ(dlg.ListInsertItem(kList, 5, "c"), 0);
    dlg.ListSetItemText(kList, 0, 1, "d");
    EXPECT_EQ(Column(dlg, 1), Texts{"d"});

    // An id that is no list does nothing.
    EXPECT_EQ(dlg.ListInsertItem(999, 0, "x"), -1);
    EXPECT_EQ(dlg.ListGetItemCount(999), 0);

    dlg.SetWindowCaption("Apply profile 配置 Zoë.json");
    EXPECT_EQ(dlg.GetWindowCaption(), "Apply profile 配置 Zoë.json");
}

}  // namespace listcheck
