// The resource script in a Windows program: the legend's icons show the grid's
// colours, the application icon has all its sizes, the version is the
// project's.

#include <gtest/gtest.h>

// Before <windows.h>: its IDOK macro would spoil the declarations here.
#include "res/ResourceIds.h"
#include "Win32TestWindows.h"

namespace {

// The icon `id` drawn at `size` pixels, read at its centre.
ColorRef IconCentre(int id, int size) {
    const HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!icon) return 0xFFFFFFFF;
    PictureDc picture(size, size);
    DrawIconEx(picture.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    return picture.Take().At(size / 2, size / 2);
}

TEST(ResourcesWin32, LegendIconsAreTheGridColoursAtEverySize) {
    for (int size : {16, 32, 48}) {
        EXPECT_EQ(IconCentre(IDI_NOT_CONFIGURED, size), RgbColor(120, 123, 135)) << size;
        EXPECT_EQ(IconCentre(IDI_CONFIGURED, size), RgbColor(132, 202, 53)) << size;
    }
}

TEST(ResourcesWin32, ApplicationIconCarriesEachSizeItIsAskedFor) {
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bits;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    const HMODULE self = GetModuleHandleW(nullptr);
    const HRSRC group = FindResourceW(self, MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const auto* entry = reinterpret_cast<const GroupEntry*>(directory + 6 + i * sizeof(GroupEntry));
        sizes.push_back(entry->width == 0 ? 256 : entry->width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
}

TEST(ResourcesWin32, VersionIsTheProjects) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), SENTRABUS_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), SENTRABUS_VERSION_MINOR);
}

}  // namespace
