#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include "WidgetTestSupport.h"
#include "widgets/DialogBase.h"
#include "widgets/DlgItemInt.h"

namespace {

using namespace testdlg;

TEST(GetDlgItemInt, FollowsTheDialogManagersRules) {
    struct Case {
        const char* text;
        bool isSigned;
        bool translated;
        int value;
    };
    const Case cases[] = {
        {" 12", true, true, 12},         {"\t 7", true, true, 7},
        {"-1", true, true, -1},          {"-1", false, false, 0},
        {"12a", true, false, 0},         {"12 ", true, false, 0},
        {"", true, false, 0},            {"   ", true, false, 0},
        {"-", true, false, 0},           {"abc", true, false, 0},
        {"+5", true, false, 0},          {"1.5", true, false, 0},
        {"2147483647", true, true, 2147483647},
        {"2147483648", true, false, 0},  {"-2147483648", true, true, -2147483647 - 1},
        {"-2147483649", true, false, 0}, {"4294967295", false, true, -1},
        {"4294967296", false, false, 0}, {"99999999999999999999", true, false, 0},
        {"１２", true, false, 0},  // full-width digits are not digits here
    };
    CDialogBase dialog(kTemplate);
    dialog.Create();
    for (const Case& c : cases) {
        const std::optional<int> parsed = ParseDlgItemInt(c.text, c.isSigned);
        EXPECT_EQ(parsed.has_value(), c.translated) << '"' << c.text << '"';
        if (parsed) {
            EXPECT_EQ(*parsed, c.value) << c.text;
        }

        dialog.SetDlgItemText(kEdit, c.text);
        bool translated = !c.translated;
        EXPECT_EQ(dialog.GetDlgItemInt(kEdit, &translated, c.isSigned), c.value) << c.text;
        EXPECT_EQ(translated, c.translated) << c.text;
    }
}

TEST(ComboVerbs, SetCurSelOutsideTheListSelectsNothingAndClearsTheEdit) {
    CDialogBase dialog(kTemplate);
    dialog.Create();
    for (int id : {kDropDown, kDropList}) {
        EXPECT_EQ(dialog.ComboGetCurSel(id), -1) << "nothing selected at first";
        EXPECT_EQ(dialog.GetDlgItemText(id), "");
        dialog.ComboSetCurSel(id, 1);
        EXPECT_EQ(dialog.ComboGetCurSel(id), 1);
        EXPECT_EQ(dialog.GetDlgItemText(id), "Beta");
        for (int outside : {3, -1, 100}) {
            dialog.ComboSetCurSel(id, 1);
            dialog.ComboSetCurSel(id, outside);
            EXPECT_EQ(dialog.ComboGetCurSel(id), -1) << outside;
            EXPECT_EQ(dialog.GetDlgItemText(id), "") << outside;
        }
    }
    // Selecting the selected entry again puts its text back over typed text.
    dialog.ComboSetCurSel(kDropDown, 2);
    dialog.SetDlgItemText(kDropDown, "typed");
    dialog.ComboSetCurSel(kDropDown, 2);
    EXPECT_EQ(dialog.GetDlgItemText(kDropDown), "Gamma");
}

TEST(ComboVerbs, AddAndResetKeepTheSelectionRules) {
    CDialogBase dialog(kTemplate);
    dialog.Create();
    dialog.ComboResetContent(kDropDown);
    EXPECT_EQ(dialog.ComboGetCount(kDropDown), 0);
    dialog.ComboAddString(kDropDown, "one");
    dialog.ComboAddString(kDropDown, "通道2");
    EXPECT_EQ(dialog.ComboGetCount(kDropDown), 2);
    EXPECT_EQ(dialog.ComboGetCurSel(kDropDown), -1) << "adding selects nothing";
    EXPECT_EQ(dialog.GetDlgItemText(kDropDown), "");
    dialog.ComboSetItemTip(kDropDown, 1, "/dev/ttyUSB1");
    dialog.ComboSetItemTip(kDropDown, 2, "past the end");  // nothing to attach it to
    auto* combo = qobject_cast<QComboBox*>(dialog.GetDlgItem(kDropDown));
    EXPECT_EQ(combo->itemText(1), QString::fromUtf8("通道2")) << "texts are UTF-8";
    EXPECT_EQ(combo->itemData(1, Qt::ToolTipRole).toString(), "/dev/ttyUSB1");
    EXPECT_EQ(combo->count(), 2);
    dialog.ComboSetCurSel(kDropDown, 1);
    dialog.ComboResetContent(kDropDown);
    EXPECT_EQ(dialog.ComboGetCurSel(kDropDown), -1);
    EXPECT_EQ(dialog.GetDlgItemText(kDropDown), "");
}

TEST(ComboVerbs, SelChangeRunsForTheOperatorOnly) {
    CDialogBase dialog(kTemplate);
    int changes = 0;
    dialog.OnSelChange(kDropList, [&] { ++changes; });
    dialog.Create();
    dialog.ComboSetCurSel(kDropList, 2);
    EXPECT_EQ(changes, 0);
    auto* combo = qobject_cast<QComboBox*>(dialog.GetDlgItem(kDropList));
    emit combo->activated(1);  // what choosing an entry in the list emits
    EXPECT_EQ(changes, 1);
}

TEST(DialogVerbs, TextsEnableShowAndClick) {
    CDialogBase dialog(kTemplate);
    int clicks = 0;
    dialog.OnCommand(kGo, [&] { ++clicks; });
    dialog.Create();

    const std::string longText(200, '7');
    dialog.SetDlgItemText(kEdit, longText);
    EXPECT_EQ(dialog.GetDlgItemText(kEdit), longText);
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.GetDlgItem(kEdit))->cursorPosition(), 0)
        << "a long text shows its start";

    EXPECT_TRUE(dialog.IsDlgItemVisible(kGo)) << "visible by its style before the window shows";
    dialog.ShowDlgItem(kGo, false);
    EXPECT_FALSE(dialog.IsDlgItemVisible(kGo));
    dialog.ShowDlgItem(kGo, true);

    dialog.ClickDlgItem(kGo);
    dialog.EnableDlgItem(kGo, false);
    EXPECT_FALSE(dialog.IsDlgItemEnabled(kGo));
    dialog.ClickDlgItem(kGo);  // a disabled button cannot be clicked
    EXPECT_EQ(clicks, 1);

    EXPECT_EQ(dialog.GetDlgItem(999), nullptr);
    dialog.SetDlgItemText(999, "x");  // unknown ids do nothing
    EXPECT_EQ(dialog.GetDlgItemText(999), "");
    EXPECT_FALSE(dialog.IsDlgItemVisible(999));
    EXPECT_EQ(dialog.ComboGetCurSel(kEdit), -1);
}

class CCountingDialog : public CDialogBase {
public:
    CCountingDialog() : CDialogBase(kTemplate) {}
    int inits = 0;
    int ticks = 0;
    int destroys = 0;

protected:
    bool OnInitDialog() override {
        ++inits;
        return true;
    }
    void OnTimer(int) override { ++ticks; }
    void OnDestroy() override { ++destroys; }
};

TEST(DialogModal, EachOpeningStartsAfreshAndReturnsTheEndCode) {
    CCountingDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.SetDlgItemText(kEdit, "left over");
        dialog.ComboSetCurSel(kDropDown, 1);
        dialog.SetTimer(7, 10);
        WaitUntil([&] { return dialog.ticks > 0; });
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.destroys, 1) << "the closing window is told";

    const int ticksAtClose = dialog.ticks;
    QTest::qWait(60);
    EXPECT_EQ(dialog.ticks, ticksAtClose) << "timers end with the window";

    bool fresh = false;
    QTimer::singleShot(0, &dialog, [&] {
        fresh = dialog.GetDlgItemText(kEdit).empty() && dialog.ComboGetCurSel(kDropDown) == -1;
        dialog.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.inits, 2);
    EXPECT_EQ(dialog.destroys, 2);
    EXPECT_TRUE(fresh) << "the second opening shows nothing of the first";
}

}  // namespace
