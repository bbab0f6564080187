// LoadBitmapW, LoadImageW and LoadIconW: pixels and sizes of what they make.
#include "module_fixture.h"
#include "testmodule/resource.h"

namespace {

using module_testing::kSentinel;
using module_testing::ModuleTest;

struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
};

// Reads a bitmap back through a memory DC, as a program would.
Image Pixels(HBITMAP bitmap) {
    Image image;
    BITMAP bm;
    if (!bitmap || GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) return image;
    image.width = bm.bmWidth;
    image.height = bm.bmHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x) image.pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return image;
}

struct IconPixels {
    Image color, mask;
};

IconPixels IconOf(HICON icon) {
    IconPixels p;
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return p;
    p.color = Pixels(info.hbmColor);
    p.mask = Pixels(info.hbmMask);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return p;
}

class ResourceImages : public ModuleTest {
   protected:
    void SetUp() override {
        ModuleTest::SetUp();
        module = LoadLibraryW(u"\\Windows\\testmodule.dll");
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
        ModuleTest::TearDown();
    }
    HMODULE module = nullptr;
};

TEST_F(ResourceImages, BitmapsKeepTheirPixels) {
    HBITMAP colors = LoadBitmapW(module, MAKEINTRESOURCEW(IDB_COLORS));
    Image image = Pixels(colors);
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(image.pixels[y * 4 + x], RGB(x * 60, y * 100, 200)) << x << "," << y;
    DeleteObject(colors);

    // An 8-bit image: each pixel's palette entry.
    const COLORREF palette[] = {RGB(10, 20, 30), RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    HBITMAP paletted = LoadBitmapW(module, MAKEINTRESOURCEW(IDB_PALETTE));
    image = Pixels(paletted);
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(image.pixels[i], palette[i % 4]) << i;
    DeleteObject(paletted);

    // Stretched on request.
    HBITMAP big = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(IDB_COLORS), IMAGE_BITMAP, 8, 6, 0));
    image = Pixels(big);
    ASSERT_EQ(image.width, 8);
    EXPECT_EQ(image.pixels[5 * 8 + 7], RGB(180, 200, 200));
    DeleteObject(big);

    SetLastError(kSentinel);
    EXPECT_EQ(LoadBitmapW(module, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_RESOURCE_NAME_NOT_FOUND});
}

TEST_F(ResourceImages, IconSizeSelection) {
    const int system = GetSystemMetrics(SM_CXICON);
    struct Row {
        int cx, cy;
        UINT flags;
        int width, height;
        COLORREF color;  // red is the 12x11 image, blue the 24x22 one
    } rows[] = {
        {12, 11, 0, 12, 11, RGB(255, 0, 0)},
        {24, 22, 0, 24, 22, RGB(0, 0, 255)},
        {16, 16, 0, 16, 16, RGB(255, 0, 0)},   // nearer 12x11, scaled
        {20, 18, 0, 20, 18, RGB(0, 0, 255)},   // nearer 24x22, scaled
        {0, 0, 0, 12, 11, RGB(255, 0, 0)},     // the first image's own size
        {0, 0, LR_DEFAULTSIZE, system, system, RGB(0, 0, 255)},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        HICON icon = static_cast<HICON>(
            LoadImageW(module, MAKEINTRESOURCEW(IDI_TWO), IMAGE_ICON, rows[i].cx, rows[i].cy, rows[i].flags));
        ASSERT_NE(icon, nullptr) << "row " << i;
        IconPixels p = IconOf(icon);
        EXPECT_EQ(p.color.width, rows[i].width) << "row " << i;
        EXPECT_EQ(p.color.height, rows[i].height) << "row " << i;
        ASSERT_FALSE(p.color.pixels.empty()) << "row " << i;
        EXPECT_EQ(p.color.pixels.back(), rows[i].color) << "row " << i;
        EXPECT_EQ(p.mask.pixels.back(), RGB(0, 0, 0)) << "row " << i;  // opaque
        DestroyIcon(icon);
    }
    // The 12x11 image leaves its top-left pixel transparent.
    HICON small = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_TWO), IMAGE_ICON, 12, 11, 0));
    EXPECT_EQ(IconOf(small).mask.pixels[0], RGB(255, 255, 255));
    DestroyIcon(small);
    // LoadIcon: the system size, and the same icon for the same name.
    HICON shared = LoadIconW(module, MAKEINTRESOURCEW(IDI_TWO));
    EXPECT_EQ(IconOf(shared).color.width, system);
    EXPECT_EQ(LoadIconW(module, MAKEINTRESOURCEW(IDI_TWO)), shared);
    // The device lets the program destroy it; the next LoadIcon gives a live icon.
    EXPECT_TRUE(DestroyIcon(shared));
    HICON again = LoadIconW(module, MAKEINTRESOURCEW(IDI_TWO));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(IconOf(again).color.width, system);
}

TEST_F(ResourceImages, SystemIconsAndFiles) {
    const LPCWSTR ids[] = {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK};
    std::vector<std::vector<COLORREF>> seen;
    for (size_t i = 0; i < std::size(ids); ++i) {
        HICON icon = LoadIconW(nullptr, ids[i]);
        ASSERT_NE(icon, nullptr) << "icon " << i;
        EXPECT_EQ(LoadIconW(nullptr, ids[i]), icon) << "icon " << i;
        IconPixels p = IconOf(icon);
        EXPECT_EQ(p.color.width, GetSystemMetrics(SM_CXICON)) << "icon " << i;
        EXPECT_EQ(p.mask.pixels.front(), RGB(255, 255, 255)) << "icon " << i;  // corners show through
        for (const auto &other : seen) EXPECT_NE(other, p.color.pixels) << "icon " << i;
        seen.push_back(p.color.pixels);
    }
    SetLastError(kSentinel);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(5)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_RESOURCE_NAME_NOT_FOUND});

    Install("\\colors.bmp", "colors.bmp");
    Install("\\two.ico", "two.ico");
    HBITMAP fromFile = static_cast<HBITMAP>(LoadImageW(nullptr, u"\\colors.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    Image image = Pixels(fromFile);
    ASSERT_EQ(image.width, 4);
    EXPECT_EQ(image.pixels[2 * 4 + 3], RGB(180, 200, 200));
    DeleteObject(fromFile);
    HICON iconFile = static_cast<HICON>(LoadImageW(nullptr, u"\\two.ico", IMAGE_ICON, 24, 22, LR_LOADFROMFILE));
    EXPECT_EQ(IconOf(iconFile).color.pixels.back(), RGB(0, 0, 255));
    DestroyIcon(iconFile);

    struct Row {
        LPCWSTR name;
        UINT type;
        DWORD error;
    } rows[] = {
        {u"\\missing.bmp", IMAGE_BITMAP, ERROR_FILE_NOT_FOUND},
        {u"\\two.ico", IMAGE_BITMAP, ERROR_INVALID_DATA},
        {u"\\colors.bmp", IMAGE_ICON, ERROR_INVALID_DATA},
        {u"\\colors.bmp", IMAGE_CURSOR, ERROR_CALL_NOT_IMPLEMENTED},
        {u"\\colors.bmp", 7, ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        EXPECT_EQ(LoadImageW(nullptr, rows[i].name, rows[i].type, 0, 0, LR_LOADFROMFILE), nullptr) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
    }
}

}  // namespace
