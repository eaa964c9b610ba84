// The main window's parameters table against the window's template: every
// row's controls exist with the kind its handlers drive, and the buttons a
// search enables, derived from the table, come in the order the window has
// always switched them (where a disabled button's keyboard focus goes).

#include <algorithm>
#include <set>

#include "res/DialogTemplate.h"
#include "support/MainWindowFixture.h"
#include "ui/main/ParameterRows.h"

namespace {

const DlgItem* TemplateItem(int id) {
    const DlgTemplate* tpl = FindDialogTemplate(CConfigDlg::kTemplateId);
    if (tpl == nullptr) return nullptr;
    const auto item = std::ranges::find(tpl->items, id, &DlgItem::id);
    return item == tpl->items.end() ? nullptr : &*item;
}

TEST(ParameterRows, EachRowHasItsControlsInTheTemplateAndAParameterOfItsOwn) {
    std::set<Parameter> parameters;
    for (const ParameterRow& row : kParameterRows) {
        SCOPED_TRACE(row.field);
        const DlgItem* field = TemplateItem(row.field);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->kind, row.kind == FieldKind::Choice ? DlgItemKind::ComboDropDown : DlgItemKind::Edit);
        for (int button : {row.read, row.write}) {
            const DlgItem* item = TemplateItem(button);
            ASSERT_NE(item, nullptr) << button;
            EXPECT_EQ(item->kind, DlgItemKind::PushButton) << button;
        }
        EXPECT_TRUE(parameters.insert(row.parameter).second);
    }
}

TEST(ParameterRows, SearchEnablesTheButtonsInTheWindowsOwnOrder) {
    EXPECT_TRUE(std::ranges::equal(kSearchEnabledButtons, kParameterButtons));
}

}  // namespace
