// The image button's platform-neutral model: what both platforms' buttons
// take from it beyond what the Qt button's own tests show.

#include <gtest/gtest.h>

#include <string>

#include "widgets/ImageButtonModel.h"

namespace {

// The model's protected state, set as the paint and the input would.
class CTestModel : public CImageButtonModel {
public:
    void Set(bool checkBox, bool hover, bool checked) {
        m_isCheckBox = checkBox;
        m_hover = hover;
        m_checkState = checked;
    }
};

TEST(ImageButtonModel, SlotChoiceByModeStateAndOutImage) {
    struct Case {
        bool checkBox, hover, checked, selected, outSet;
        std::size_t slot;
    };
    const Case cases[] = {
        {false, false, false, false, true, 1},   // at rest: the out image
        {false, true, false, false, true, 0},    // hovered: the in image
        {false, false, false, true, true, 0},    // pressed
        {false, false, false, false, false, 0},  // no out image: the in one always
        {true, true, false, false, true, 1},     // a check box ignores hovering
        {true, false, true, false, true, 0},     // and shows the in image while checked
        {true, false, false, true, true, 0},
    };
    for (const Case& c : cases) {
        CTestModel model;
        model.Set(c.checkBox, c.hover, c.checked);
        model.BeginPaint(c.selected, false, false, false);
        EXPECT_EQ(model.ChooseSlot(c.outSet), c.slot)
            << "check box " << c.checkBox << " hover " << c.hover << " checked " << c.checked << " selected "
            << c.selected << " out " << c.outSet;
    }
}

TEST(ImageButtonModel, ImageLargerThanTheButtonCentresTowardZero) {
    CImageButtonModel model;
    PixelRect caption{0, 0, 10, 10};
    // (10 - 15) / 2 is -2, not -3: the image pokes out by 2 on the left.
    const PixelRect image = model.PlaceImage(false, {0, 0, 10, 10}, caption, false, 15, 13, 10);
    EXPECT_EQ(image, (PixelRect{-2, -1, 10, 10}));
    EXPECT_EQ(caption, (PixelRect{0, 0, 10, 10}));
    model.TakeButtonType(3);  // an automatic check box
    EXPECT_EQ(model.PlaceImage(false, {0, 0, 10, 10}, caption, true, 4, 4, 10), (PixelRect{3, 3, 10, 10}))
        << "a check box does not move when pressed";
}

TEST(ImageButtonModel, ButtonTypesStylesAndTheLongestUrl) {
    CImageButtonModel model;
    model.TakeButtonType(0x50000001);  // other style bits stay out of it
    EXPECT_TRUE(model.IsDefaultButton());
    EXPECT_FALSE(model.IsCheckBox());
    EXPECT_EQ(model.PushButtonDlgCode(), kDlgcDefPushButton);
    model.TakeButtonStyle(7);  // neither push type: left as it is
    EXPECT_TRUE(model.IsDefaultButton());
    model.TakeButtonStyle(0);
    EXPECT_EQ(model.PushButtonDlgCode(), kDlgcUndefPushButton);
    for (const std::uintptr_t state : {0u, 1u, 2u, 3u}) EXPECT_EQ(CImageButtonModel::CheckStateOf(state), state == 1 || state == 2);

    EXPECT_EQ(model.SetLinkUrl(std::string(259, 'a').c_str()), IB_OK) << "259 bytes and the zero fit";
    EXPECT_EQ(model.SetLinkUrl(std::string(260, 'b').c_str()), IB_BAD_ARGUMENT);
    EXPECT_EQ(model.LinkUrl(), std::string(259, 'a'));
    EXPECT_EQ(model.SetLinkUrl(nullptr), IB_OK);
    EXPECT_TRUE(model.LinkUrl().empty());
    EXPECT_EQ(CImageButtonModel::SoundFlags(true, true), kSndResource | kSndNoDefault | kSndNoWait | kSndAsync);
}

}  // namespace
