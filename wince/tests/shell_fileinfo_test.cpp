// SHGetFileInfo and the system image list: icons per file kind at the
// device's icon sizes, type and display names, shell attributes, and the
// rules for items that do not exist.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "core/unicode.h"
#include "device_profile.h"
#include "gdi_support.h"
#include "temp_device.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 0, 255);

std::vector<COLORREF> Pixels(HICON icon, int size) {
    gdi_test::TestBitmap canvas(size, size, 24, kBackground);
    EXPECT_TRUE(DrawIconEx(canvas.dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
    std::vector<COLORREF> out;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) out.push_back(canvas.At(x, y));
    return out;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return -1;
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bm.bmWidth == bm.bmHeight ? bm.bmWidth : -2;
}

class ShellFileInfoTest : public testing_support::DeviceTest {
   protected:
    void Dpi(int dpi) {
        testing_support::WriteProfile(device.Root(),
                                      "[screen]\nwidth = 240\nheight = 320\ndpi_x = " + std::to_string(dpi) +
                                          "\ndpi_y = " + std::to_string(dpi) + "\n");
    }
    static DWORD_PTR Info(const char16_t *path, DWORD attributes, SHFILEINFO &sfi, UINT flags) {
        memset(&sfi, 0xAB, sizeof sfi);
        return SHGetFileInfo(path, attributes, &sfi, sizeof sfi, flags);
    }
};

TEST_F(ShellFileInfoTest, IconSizesFollowTheDevicesDotsPerInch) {
    struct Row {
        int dpi;
        UINT flags;
        int size;
    } rows[] = {
        {96, SHGFI_SMALLICON, 16}, {96, SHGFI_LARGEICON, 32}, {192, SHGFI_SMALLICON, 32}, {192, SHGFI_LARGEICON, 64}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        Dpi(rows[i].dpi);
        SHFILEINFO sfi;
        ASSERT_EQ(Info(u"\\a.txt", FILE_ATTRIBUTE_NORMAL, sfi, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | rows[i].flags),
                  1u)
            << "row " << i;
        EXPECT_EQ(IconWidth(sfi.hIcon), rows[i].size) << "row " << i;
        // A new icon each time, the caller's to destroy.
        SHFILEINFO again;
        Info(u"\\a.txt", FILE_ATTRIBUTE_NORMAL, again, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | rows[i].flags);
        EXPECT_NE(again.hIcon, sfi.hIcon) << "row " << i;
        EXPECT_TRUE(DestroyIcon(sfi.hIcon)) << "row " << i;
        EXPECT_TRUE(DestroyIcon(again.hIcon)) << "row " << i;

        auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfo(
            u"\\a.txt", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | rows[i].flags));
        int cx = 0, cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy)) << "row " << i;
        EXPECT_EQ(cx, rows[i].size) << "row " << i;
        EXPECT_EQ(cy, rows[i].size) << "row " << i;
    }
}

TEST_F(ShellFileInfoTest, EachKindHasItsIconAndTypeName) {
    struct Row {
        const char16_t *path;
        DWORD attributes;
        const char *typeName;
        int group;  // rows of one group share their icon
    } rows[] = {
        {u"\\My Documents\\letter.psw", 0, "Pocket Word Document", 1},
        {u"\\My Documents\\LETTER.DOC", 0, "Pocket Word Document", 1},
        {u"\\My Documents\\sums.pxl", 0, "Pocket Excel Workbook", 2},
        {u"\\My Documents\\sums.xls", 0, "Pocket Excel Workbook", 2},
        {u"\\My Documents\\memo.pwi", 0, "Note", 3},
        {u"\\My Documents\\ring.wav", 0, "Wave Sound", 4},
        {u"\\My Documents\\read me.txt", 0, "Text Document", 5},
        {u"\\My Documents\\photo.jpg", 0, "JPEG Image", 6},
        {u"\\My Documents\\photo.bmp", 0, "Bitmap Image", 6},
        {u"\\My Documents\\photo.png", 0, "PNG Image", 6},
        {u"\\My Documents\\photo.gif", 0, "GIF Image", 6},
        {u"\\Windows\\calc.exe", 0, "Application", 7},
        {u"\\Windows\\help.htm", 0, "HTML Document", 8},
        {u"\\My Documents\\data.xyz", 0, "XYZ File", 9},
        {u"\\My Documents\\noextension", 0, "File", 9},
        {u"\\My Documents\\trailing.", 0, "File", 9},
        {u"\\My Documents\\a.psw", FILE_ATTRIBUTE_DIRECTORY, "File Folder", 10},  // the attribute decides
        {u"\\", FILE_ATTRIBUTE_DIRECTORY, "System Folder", 11},
    };
    std::vector<std::vector<COLORREF>> pixels;
    std::vector<int> indexes;
    for (size_t i = 0; i < std::size(rows); ++i) {
        SHFILEINFO sfi;
        ASSERT_EQ(Info(rows[i].path, rows[i].attributes, sfi,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES),
                  1u)
            << "row " << i;
        EXPECT_EQ(wince::ToUtf8(sfi.szTypeName), rows[i].typeName) << "row " << i;
        pixels.push_back(Pixels(sfi.hIcon, 16));
        indexes.push_back(sfi.iIcon);
        DestroyIcon(sfi.hIcon);
    }
    for (size_t i = 0; i < std::size(rows); ++i)
        for (size_t j = i + 1; j < std::size(rows); ++j) {
            bool same = rows[i].group == rows[j].group;
            EXPECT_EQ(pixels[i] == pixels[j], same) << "rows " << i << " and " << j;
            EXPECT_EQ(indexes[i] == indexes[j], same) << "rows " << i << " and " << j;
        }
}

TEST_F(ShellFileInfoTest, IconsHaveTheirColoursAtEverySize) {
    struct Row {
        const char16_t *path;
        DWORD attributes;
        int x, y;  // on the 16-pixel icon
        COLORREF color;
    } rows[] = {
        {u"\\f", FILE_ATTRIBUTE_DIRECTORY, 8, 9, RGB(255, 204, 64)},  // folder yellow
        {u"\\f", FILE_ATTRIBUTE_DIRECTORY, 0, 0, kBackground},        // transparent corner
        {u"\\t.txt", 0, 8, 7, RGB(255, 255, 255)},                    // paper
        {u"\\t.txt", 0, 8, 8, RGB(128, 128, 128)},                    // a line of text
        {u"\\t.txt", 0, 0, 8, kBackground},
        {u"\\p.jpg", 0, 3, 4, RGB(128, 192, 255)},  // sky
        {u"\\", 0, 8, 5, RGB(160, 224, 208)},       // the device's screen
    };
    for (int scale : {1, 2}) {
        Dpi(96 * scale);
        for (size_t i = 0; i < std::size(rows); ++i) {
            SHFILEINFO sfi;
            ASSERT_EQ(
                Info(rows[i].path, rows[i].attributes, sfi, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES),
                1u);
            std::vector<COLORREF> p = Pixels(sfi.hIcon, 16 * scale);
            DestroyIcon(sfi.hIcon);
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx) {
                    COLORREF got = p[(rows[i].y * scale + dy) * 16 * scale + rows[i].x * scale + dx];
                    EXPECT_EQ(gdi_test::Hex(got), gdi_test::Hex(rows[i].color)) << "row " << i << " scale " << scale;
                }
        }
    }
}

TEST_F(ShellFileInfoTest, ExistingItemsAnswerForThemselves) {
    device.WriteHostFile("\\My Documents\\Report.PSW", "x");
    device.WriteHostFile("\\My Documents\\Sub\\inner.txt", "x");
    device.WriteHostFile("\\Empty\\.keep", "");
    struct Row {
        const char16_t *path;
        const char *displayName, *typeName;
        DWORD attributes;
    } rows[] = {
        {u"\\my documents\\report.psw", "Report.PSW", "Pocket Word Document",
         SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE},
        {u"\\My Documents", "My Documents", "File Folder",
         SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE |
             SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER},
        {u"\\Empty", "Empty", "File Folder",
         SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE |
             SFGAO_FOLDER | SFGAO_FILESYSANCESTOR},
        {u"\\Empty\\.keep", ".keep", "KEEP File",
         SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE |
             SFGAO_HIDDEN},
        {u"\\", "My Device", "System Folder",
         SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SHFILEINFO sfi;
        SetLastError(0xBEEF);
        EXPECT_EQ(Info(rows[i].path, 0, sfi, SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES), 1u) << "row " << i;
        EXPECT_EQ(wince::ToUtf8(sfi.szDisplayName), rows[i].displayName) << "row " << i;
        EXPECT_EQ(wince::ToUtf8(sfi.szTypeName), rows[i].typeName) << "row " << i;
        EXPECT_EQ(sfi.dwAttributes, rows[i].attributes) << "row " << i;
    }
    // An existing folder gets the folder icon whatever its name, and the
    // open folder when asked for.
    SHFILEINFO folder, byAttribute, open;
    Info(u"\\My Documents\\Sub", 0, folder, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    Info(u"\\x.txt", FILE_ATTRIBUTE_DIRECTORY, byAttribute,
         SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    Info(u"\\My Documents\\Sub", 0, open, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    EXPECT_EQ(folder.iIcon, byAttribute.iIcon);
    EXPECT_NE(open.iIcon, folder.iIcon);
}

TEST_F(ShellFileInfoTest, MissingItemsAndBadArguments) {
    struct Row {
        const char16_t *path;
        UINT flags;
        bool record;
        UINT size;
        DWORD error;
    } rows[] = {
        {u"\\nothing.txt", SHGFI_ICON | SHGFI_SMALLICON, true, sizeof(SHFILEINFO), ERROR_FILE_NOT_FOUND},
        {u"\\No Folder\\nothing.txt", SHGFI_DISPLAYNAME, true, sizeof(SHFILEINFO), ERROR_PATH_NOT_FOUND},
        {u"\\nothing.txt", SHGFI_SYSICONINDEX, true, sizeof(SHFILEINFO), ERROR_FILE_NOT_FOUND},
        {nullptr, SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES, true, sizeof(SHFILEINFO), ERROR_INVALID_PARAMETER},
        {u"\\a.txt", SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES, true, sizeof(SHFILEINFO) - 1,
         ERROR_INVALID_PARAMETER},
        {u"\\a.txt", SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES, false, 0, ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SHFILEINFO sfi, untouched;
        memset(&sfi, 0xAB, sizeof sfi);
        memset(&untouched, 0xAB, sizeof untouched);
        SetLastError(0xBEEF);
        EXPECT_EQ(SHGetFileInfo(rows[i].path, 0, rows[i].record ? &sfi : nullptr, rows[i].size, rows[i].flags), 0u)
            << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        EXPECT_EQ(memcmp(&sfi, &untouched, sizeof sfi), 0) << "row " << i;
    }
    // The same name with SHGFI_USEFILEATTRIBUTES needs no file.
    SHFILEINFO sfi;
    EXPECT_EQ(Info(u"\\nothing.txt", FILE_ATTRIBUTE_NORMAL, sfi, SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES), 1u);
    EXPECT_EQ(wince::ToUtf8(sfi.szDisplayName), "nothing.txt");
}

TEST_F(ShellFileInfoTest, TheSystemImageListHoldsTheSameIcons) {
    SHFILEINFO sfi;
    auto small = reinterpret_cast<HIMAGELIST>(
        Info(u"\\m.wav", 0, sfi, SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    ASSERT_NE(small, nullptr);
    std::vector<COLORREF> direct = Pixels(sfi.hIcon, 16);
    DestroyIcon(sfi.hIcon);
    HICON fromList = ImageList_GetIcon(small, sfi.iIcon, ILD_NORMAL);
    ASSERT_NE(fromList, nullptr);
    EXPECT_EQ(Pixels(fromList, 16), direct);
    DestroyIcon(fromList);

    gdi_test::TestBitmap canvas(20, 20, 24, kBackground);
    ASSERT_TRUE(ImageList_Draw(small, sfi.iIcon, canvas.dc, 4, 2, ILD_TRANSPARENT));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(canvas.At(x + 4, y + 2), direct[y * 16 + x]) << x << "," << y;
    EXPECT_EQ(canvas.At(0, 0), kBackground);

    auto large = reinterpret_cast<HIMAGELIST>(
        Info(u"\\m.wav", 0, sfi, SHGFI_SYSICONINDEX | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES));
    EXPECT_NE(large, small);
    EXPECT_EQ(ImageList_GetImageCount(small), ImageList_GetImageCount(large));
    EXPECT_GE(ImageList_GetImageCount(small), 12);
    EXPECT_EQ(ImageList_GetIcon(small, ImageList_GetImageCount(small), ILD_NORMAL), nullptr);
    EXPECT_EQ(ImageList_GetIcon(small, -1, ILD_NORMAL), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(&sfi)), 0);
}

}  // namespace
