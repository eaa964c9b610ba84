#pragma once
// The image-button gallery's window, the same on both platforms: sixteen
// buttons in four rows, each showing one thing the button does.

#include <cstddef>
#include <cstdint>

#include "res/DialogTemplate.h"
#include "widgets/ColorRef.h"
#include "widgets/ImageButtonCodes.h"

namespace gallery {

enum Id { kLeft = 101, kLeftAlone, kAbove, kAboveAlone, kRight, kRightAlone, kCorner, kCornerAlone,
          kGrey, kDarker, kCheck, kTip, kCursor, kMenu, kTransparent, kDisabled, kCount = kDisabled - kLeft + 1 };

constexpr DlgItem Button(const char* text, int id, int x, int y) {
    return {id, DlgItemKind::PushButton, text, x, y, 70, 30};
}

inline constexpr DlgItem kItems[] = {
    Button("Image left", kLeft, 8, 8),          Button("", kLeftAlone, 84, 8),
    Button("Image above", kAbove, 160, 8),      Button("", kAboveAlone, 236, 8),
    Button("Image right", kRight, 8, 44),       Button("", kRightAlone, 84, 44),
    Button("Corner", kCorner, 160, 44),         Button("", kCornerAlone, 236, 44),
    Button("Grey when out", kGrey, 8, 80),      Button("Darker when out", kDarker, 84, 80),
    {kCheck, DlgItemKind::AutoCheckBox, "Check box", 160, 80, 70, 30},
    Button("Tooltip", kTip, 236, 80),
    Button("Hover cursor", kCursor, 8, 116),    Button("Menu", kMenu, 84, 116),
    Button("Transparent", kTransparent, 160, 116), Button("Disabled", kDisabled, 236, 116),
};
inline constexpr DlgTemplate kTemplate = {990, "Image button gallery", 314, 156, "宋体", 9, kItems};

// The transparent colour of the gallery's bitmaps.
inline constexpr ColorRef kMagenta = RgbColor(255, 0, 255);

inline constexpr const char* kTipText = "A tooltip, wrapped to at most 400 pixels when it runs long.";

// The images, alignments and looks both galleries give their buttons, with
// the platform's image makers: icon(colour) a round icon, arrow(colour) an
// arrow on magenta. The tooltip, cursor, menu and disabling are each
// platform's own calls.
template <class Buttons, class MakeIcon, class MakeArrow>
void SetUpButtons(Buttons& buttons, MakeIcon icon, MakeArrow arrow) {
    const auto at = [&buttons](int id) -> auto& { return buttons[static_cast<std::size_t>(id - kLeft)]; };
    const std::uint8_t aligns[] = {IB_ALIGN_IMAGE_LEFT, IB_ALIGN_IMAGE_ABOVE, IB_ALIGN_IMAGE_RIGHT, IB_ALIGN_CORNER};
    for (int i = 0; i < 8; ++i) {
        auto& button = at(kLeft + i);
        button.SetImageAlign(aligns[i / 2], false);
        button.SetIconPair(icon(RgbColor(40, 140, 220)), icon(RgbColor(250, 170, 40)));
    }
    at(kGrey).SetBitmapPair(arrow(RgbColor(200, 40, 40)), kMagenta, IB_MAKE_GREY);
    at(kDarker).SetBitmapPair(arrow(RgbColor(60, 180, 60)), kMagenta, IB_MAKE_DARKER);
    at(kCheck).SetIconPair(icon(RgbColor(60, 180, 60)), IB_MAKE_GREY);
    at(kTransparent).SetTransparent(false);
    at(kDisabled).SetBitmapPair(arrow(RgbColor(40, 40, 200)), kMagenta, IB_MAKE_GREY);
    // The rest keep the flat look, whose edge shows only while hovered.
    at(kLeftAlone).SetFlatLook(false, false);
    at(kTip).SetFlatLook(false, false);
}

}  // namespace gallery
