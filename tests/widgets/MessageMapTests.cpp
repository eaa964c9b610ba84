// Which handler a command runs, the same for both platforms' dialogs.

#include <gtest/gtest.h>

#include <string>

#include "res/ResourceIds.h"
#include "widgets/MessageMap.h"

namespace {

TEST(MessageMap, ACommandRunsItsEntryElseItsRangeElseOkOrCancel) {
    std::string ran;
    CMessageMap map;
    map.OnCommand(1005, [&] { ran += "entry;"; });
    map.OnCommandRange(1000, 1010, [&](int id) { ran += "range " + std::to_string(id) + ";"; });
    map.OnCommand(IDCANCEL, [&] { ran += "own cancel;"; });
    const auto run = [&](int id) {
        ran.clear();
        map.RunCommand(id, [&] { ran += "OnOK;"; }, [&] { ran += "OnCancel;"; });
        return ran;
    };
    EXPECT_EQ(run(1005), "entry;") << "an entry wins over the range that covers it";
    EXPECT_EQ(run(1010), "range 1010;");
    EXPECT_EQ(run(IDOK), "OnOK;");
    EXPECT_EQ(run(IDCANCEL), "own cancel;") << "an entry for IDCANCEL replaces OnCancel";
    EXPECT_EQ(run(1011), "") << "no handler: nothing runs";
}

TEST(MessageMap, AHandlerMayReplaceItselfWhileItRuns) {
    CMessageMap map;
    int first = 0, second = 0;
    map.OnCommand(7, [&] {
        map.OnCommand(7, [&] { ++second; });  // destroys the running handler's stored copy
        ++first;
    });
    map.RunCommand(7, {}, {});
    map.RunCommand(7, {}, {});
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    map.RunSelChange(7);  // no selection handler: nothing, no crash
}

}  // namespace
