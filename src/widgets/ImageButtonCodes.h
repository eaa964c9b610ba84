#pragma once
// The image button's codes, the same on every platform: the setters' results,
// the colour indices, the arrangement of image and caption, the press styles
// and the made out images.

#include <cstddef>
#include <cstdint>

// Results of the setters.
inline constexpr std::uint32_t IB_OK = 0;
inline constexpr std::uint32_t IB_NO_RESOURCE = 1;      // an image, cursor, menu or toolbar cannot be loaded
inline constexpr std::uint32_t IB_MASK_FAILED = 2;      // a bitmap mask cannot be made
inline constexpr std::uint32_t IB_BAD_INDEX = 3;        // colour index above 5
inline constexpr std::uint32_t IB_BAD_ALIGN = 4;        // alignment above 3
inline constexpr std::uint32_t IB_BAD_ARGUMENT = 5;     // shade outside -255..255, snapshot refused
inline constexpr std::uint32_t IB_BAD_PRESS_STYLE = 6;  // press style other than 0 or 1

// Colour indices: face and text per state.
inline constexpr std::uint8_t IB_COLOR_HOT_BACK = 0;     // hovered or pressed
inline constexpr std::uint8_t IB_COLOR_HOT_TEXT = 1;
inline constexpr std::uint8_t IB_COLOR_NORMAL_BACK = 2;  // at rest
inline constexpr std::uint8_t IB_COLOR_NORMAL_TEXT = 3;
inline constexpr std::uint8_t IB_COLOR_FOCUS_BACK = 4;   // focused and not hot
inline constexpr std::uint8_t IB_COLOR_FOCUS_TEXT = 5;
inline constexpr std::uint8_t IB_COLOR_COUNT = 6;

// Image and caption arrangement.
inline constexpr std::uint8_t IB_ALIGN_IMAGE_LEFT = 0;
inline constexpr std::uint8_t IB_ALIGN_IMAGE_ABOVE = 1;
inline constexpr std::uint8_t IB_ALIGN_IMAGE_RIGHT = 2;
inline constexpr std::uint8_t IB_ALIGN_CORNER = 3;

// How image and caption move while pressed.
inline constexpr std::uint8_t IB_PRESS_DIAGONAL = 0;  // by (1, 1)
inline constexpr std::uint8_t IB_PRESS_DOWN = 1;      // by (0, 2)

// Out images made from the in image.
inline constexpr int IB_MAKE_GREY = -2;
inline constexpr int IB_MAKE_DARKER = -3;

// The longest URL or sound file name, in bytes: the buffers hold 260 bytes
// with the terminating zero. Longer ones are refused with IB_BAD_ARGUMENT.
inline constexpr std::size_t kIbMaxPathBytes = 259;

// Play flags, as the platform's sound call takes them.
inline constexpr std::uint32_t kSndAsync = 0x0001;
inline constexpr std::uint32_t kSndNoDefault = 0x0002;
inline constexpr std::uint32_t kSndNoWait = 0x2000;
inline constexpr std::uint32_t kSndFileName = 0x20000;
inline constexpr std::uint32_t kSndResource = 0x40004;
