// Conformance of the GDI object functions: stock objects, selection rules,
// GetObject sizes, deletion, device capabilities.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

#include "gdi_support.h"

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;
constexpr LOGFONTW kAnyFont{-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma"};

TEST(GdiObjects, StockObjectsAndTheirDescriptions) {
    struct Row {
        int index;
        DWORD type;
        UINT style;
        COLORREF color;
    } rows[] = {
        {WHITE_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(255, 255, 255)}, {LTGRAY_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(192, 192, 192)},
        {GRAY_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(128, 128, 128)},  {DKGRAY_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(64, 64, 64)},
        {BLACK_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(0, 0, 0)},       {NULL_BRUSH, OBJ_BRUSH, BS_NULL, 0},
        {WHITE_PEN, OBJ_PEN, PS_SOLID, RGB(255, 255, 255)},     {BLACK_PEN, OBJ_PEN, PS_SOLID, RGB(0, 0, 0)},
        {NULL_PEN, OBJ_PEN, PS_NULL, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        HGDIOBJ h = GetStockObject(rows[i].index);
        ASSERT_NE(h, nullptr) << "row " << i;
        EXPECT_EQ(GetStockObject(rows[i].index), h) << "row " << i << ": the same handle every time";
        EXPECT_EQ(GetObjectType(h), rows[i].type) << "row " << i;
        if (rows[i].type == OBJ_BRUSH) {
            LOGBRUSH lb{99, 0x123456, 7};
            EXPECT_EQ(GetObjectW(h, sizeof lb, &lb), static_cast<int>(sizeof lb)) << "row " << i;
            EXPECT_EQ(lb.lbStyle, rows[i].style) << "row " << i;
            EXPECT_EQ(lb.lbColor, rows[i].color) << "row " << i;
        } else {
            LOGPEN lp{99, {9, 9}, 0x123456};
            EXPECT_EQ(GetObjectW(h, sizeof lp, &lp), static_cast<int>(sizeof lp)) << "row " << i;
            EXPECT_EQ(lp.lopnStyle, rows[i].style) << "row " << i;
            EXPECT_EQ(lp.lopnColor, rows[i].color) << "row " << i;
        }
        // Deleting a stock object is a harmless success.
        EXPECT_TRUE(DeleteObject(h)) << "row " << i;
        EXPECT_EQ(GetObjectType(h), rows[i].type) << "row " << i << ": still there";
    }
    EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_PALETTE)), static_cast<DWORD>(OBJ_PAL));
    SetLastError(kSentinel);
    EXPECT_EQ(GetStockObject(12), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(GdiObjects, SystemFontFollowsTheDeviceDpi) {
    testing_support::TempDevice device;
    std::ofstream(device.Root() / "device.ini") << "[screen]\ndpi_x = 192\ndpi_y = 192\n";
    wince::Device::Select(device.Root());
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -21);  // 8 points at 192 dpi
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 192);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 192);
    DeleteDC(dc);
}

TEST(GdiObjects, SelectObjectReturnsWhatWasSelected) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    // A new DC holds the default objects.
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    HGDIOBJ defaultBitmap = GetCurrentObject(dc, OBJ_BITMAP);
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(defaultBitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);

    HPEN pen = CreatePen(PS_SOLID, 2, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 24, nullptr);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, bitmap), defaultBitmap);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 24);

    // Selected objects cannot be deleted; deselected ones can.
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));

    // A bitmap goes into one memory DC at a time, and never into a DC of
    // another kind.
    HDC other = CreateCompatibleDC(dc);
    SetLastError(kSentinel);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);
    EXPECT_EQ(GetCurrentObject(other, OBJ_BITMAP), defaultBitmap);

    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), pen);
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), brush);
    EXPECT_EQ(SelectObject(dc, defaultBitmap), bitmap);
    EXPECT_EQ(SelectObject(other, bitmap), defaultBitmap);
    EXPECT_EQ(SelectObject(other, defaultBitmap), bitmap);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(bitmap));
    SetLastError(kSentinel);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(kSentinel);
    EXPECT_EQ(SelectObject(dc, pen), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteDC(dc));
    SetLastError(kSentinel);
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(GdiObjects, DeletingTheDcFreesItsObjects) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 1, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
    SelectObject(dc, bitmap);
    SelectObject(dc, brush);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(brush));
}

TEST(GdiObjects, GetObjectSizes) {
    HPEN pen = CreatePen(PS_DASH, 1, RGB(10, 20, 30));
    HBRUSH brush = CreateSolidBrush(RGB(40, 50, 60));
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_BOLD;
    lf.lfFaceName[0] = u'X';
    HFONT font = CreateFontIndirectW(&lf);
    HBITMAP ddb = CreateBitmap(5, 3, 1, 1, nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HRGN region = CreateRectRgn(0, 0, 1, 1);

    struct Row {
        HGDIOBJ object;
        int size;  // what GetObject(NULL) reports
    } rows[] = {
        {pen, sizeof(LOGPEN)}, {brush, sizeof(LOGBRUSH)}, {font, sizeof(LOGFONTW)},
        {ddb, sizeof(BITMAP)}, {dib, sizeof(BITMAP)},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(GetObjectW(rows[i].object, 0, nullptr), rows[i].size) << "row " << i;

    LOGPEN lp{};
    EXPECT_EQ(GetObjectW(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnWidth.x, 1);
    EXPECT_EQ(lp.lopnColor, RGB(10, 20, 30));
    LOGFONTW back{};
    EXPECT_EQ(GetObjectW(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(back.lfHeight, -12);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string(back.lfFaceName), u"X");

    // A device-dependent bitmap: rows padded to 16 bits, no bits pointer.
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(ddb, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidthBytes, 2);
    EXPECT_EQ(bm.bmBits, nullptr);
    // A DIB section: BITMAP, or DIBSECTION when the buffer has room.
    DIBSECTION ds{};
    EXPECT_EQ(GetObjectW(dib, sizeof(BITMAP), &ds), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(GetObjectW(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBmih.biWidth, 5);
    EXPECT_EQ(ds.dsBmih.biBitCount, 24);
    EXPECT_EQ(ds.dsBmih.biSizeImage, 48u);

    SetLastError(kSentinel);
    EXPECT_EQ(GetObjectW(pen, sizeof lp - 1, &lp), 0);
    EXPECT_EQ(GetObjectW(region, sizeof bm, &bm), 0);  // regions have no description
    SetLastError(kSentinel);
    EXPECT_EQ(GetObjectW(reinterpret_cast<HGDIOBJ>(0x1234), sizeof bm, &bm), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    for (HGDIOBJ o : {HGDIOBJ(pen), HGDIOBJ(brush), HGDIOBJ(font), HGDIOBJ(ddb), HGDIOBJ(dib), HGDIOBJ(region)})
        EXPECT_TRUE(DeleteObject(o));
}

TEST(GdiObjects, InvalidArgumentsFailWithTheDocumentedErrors) {
    HGDIOBJ bogus = reinterpret_cast<HGDIOBJ>(0x5678);
    HDC bogusDc = static_cast<HDC>(bogus);
    struct Row {
        const char *call;
        bool failed;
        DWORD expected, actual;
    };
    std::vector<Row> rows;
    // Runs after the call in its arguments, so the last error is the call's.
    auto check = [&](const char *call, bool failed, DWORD expected) {
        rows.push_back({call, failed, expected, GetLastError()});
    };
    RECT r{0, 0, 1, 1};
    SetLastError(kSentinel);
    check("DeleteObject", !DeleteObject(bogus), ERROR_INVALID_HANDLE);
    SetLastError(kSentinel);
    check("SelectObject", !SelectObject(bogusDc, GetStockObject(BLACK_PEN)), ERROR_INVALID_HANDLE);
    SetLastError(kSentinel);
    check("FillRect", !FillRect(bogusDc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), ERROR_INVALID_HANDLE);
    SetLastError(kSentinel);
    check("BitBlt", !BitBlt(bogusDc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY), ERROR_INVALID_HANDLE);
    SetLastError(kSentinel);
    check("GetTextColor", GetTextColor(bogusDc) == CLR_INVALID, ERROR_INVALID_HANDLE);
    SetLastError(kSentinel);
    check("CreateBitmap planes", !CreateBitmap(1, 1, 2, 1, nullptr), ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("CreateBitmap negative", !CreateBitmap(-1, 1, 1, 1, nullptr), ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("CreateDIBSection null", !CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0),
          ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("CreatePen style", !CreatePen(42, 1, 0), ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("CreatePatternBrush", !CreatePatternBrush(static_cast<HBITMAP>(bogus)), ERROR_INVALID_HANDLE);
    SetLastError(kSentinel);
    check("CreateFontIndirect", !CreateFontIndirectW(nullptr), ERROR_INVALID_PARAMETER);
    HDC dc = CreateCompatibleDC(nullptr);
    SetLastError(kSentinel);
    check("SetBkMode", SetBkMode(dc, 7) == 0, ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("PatBlt with a source", !PatBlt(dc, 0, 0, 1, 1, SRCCOPY), ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("BitBlt bad source", !BitBlt(dc, 0, 0, 1, 1, bogusDc, 0, 0, SRCCOPY), ERROR_INVALID_HANDLE);
    SetLastError(kSentinel);
    check("RestoreDC", !RestoreDC(dc, -1), ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("SelectObject palette", !SelectObject(dc, GetStockObject(DEFAULT_PALETTE)), ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("Polyline", !Polyline(dc, nullptr, 2), ERROR_INVALID_PARAMETER);
    SetLastError(kSentinel);
    check("GetTextExtentPoint32W", !GetTextExtentPoint32W(dc, u"a", 1, nullptr), ERROR_INVALID_PARAMETER);
    DeleteDC(dc);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_TRUE(rows[i].failed) << "row " << i << " " << rows[i].call;
        EXPECT_EQ(rows[i].actual, rows[i].expected) << "row " << i << " " << rows[i].call;
    }
}

TEST(GdiObjects, SaveAndRestoreDc) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(SaveDC(dc), 1);
    SelectObject(dc, pen);
    SetTextColor(dc, RGB(4, 5, 6));
    SetViewportOrgEx(dc, 10, 20, nullptr);
    IntersectClipRect(dc, 0, 0, 5, 5);
    EXPECT_EQ(SaveDC(dc), 2);
    SetBkMode(dc, TRANSPARENT);
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
    EXPECT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    POINT org{-1, -1};
    EXPECT_TRUE(GetViewportOrgEx(dc, &org));
    EXPECT_EQ(org.x, 0);
    EXPECT_EQ(org.y, 0);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, r), 0);  // no clip region any more
    EXPECT_FALSE(RestoreDC(dc, 1));   // that level is gone
    EXPECT_TRUE(DeleteObject(pen));   // no longer selected
    DeleteObject(r);
    DeleteDC(dc);
}

TEST(GdiObjects, DeviceCaps) {
    testing_support::TempDevice device;
    HDC dc = CreateCompatibleDC(nullptr);
    struct Row {
        int index, expected;
    } rows[] = {
        {HORZRES, 240}, {VERTRES, 320},  {LOGPIXELSX, 96},       {LOGPIXELSY, 96},
        {BITSPIXEL, 1}, {PLANES, 1},     {TECHNOLOGY, DT_RASDISPLAY}, {RASTERCAPS, RC_BITBLT | RC_STRETCHBLT},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(GetDeviceCaps(dc, rows[i].index), rows[i].expected) << "row " << i;
    // A memory DC makes bitmaps like the one it holds: monochrome at first.
    HBITMAP mono = CreateCompatibleBitmap(dc, 3, 3);
    BITMAP bm{};
    GetObjectW(mono, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HBITMAP colour = CreateBitmap(2, 2, 1, 32, nullptr);
    SelectObject(dc, colour);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    HBITMAP like = CreateCompatibleBitmap(dc, 3, 3);
    GetObjectW(like, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    DeleteDC(dc);
    for (HBITMAP b : {mono, colour, like}) EXPECT_TRUE(DeleteObject(b));
}

// A handle just used is refused as soon as its object is deleted, whether
// the thread that used it or another one deletes it, and also while a saved
// DC state still holds the object.
TEST(GdiObjects, DeletedHandlesAreRefusedAtOnceInEveryThread) {
    struct Row {
        const char *kind;
        HGDIOBJ (*make)();
        DWORD type;
    } rows[] = {
        {"dc", [] { return static_cast<HGDIOBJ>(CreateCompatibleDC(nullptr)); }, OBJ_MEMDC},
        {"brush", [] { return static_cast<HGDIOBJ>(CreateSolidBrush(RGB(1, 2, 3))); }, OBJ_BRUSH},
        {"bitmap", [] { return static_cast<HGDIOBJ>(CreateBitmap(4, 4, 1, 24, nullptr)); }, OBJ_BITMAP},
        {"font", [] { return static_cast<HGDIOBJ>(CreateFontIndirectW(&kAnyFont)); }, OBJ_FONT},
    };
    auto remove = [](HGDIOBJ h, DWORD type) { return type == OBJ_MEMDC ? DeleteDC(static_cast<HDC>(h)) : DeleteObject(h); };
    HDC holder = CreateCompatibleDC(nullptr);
    for (size_t i = 0; i < std::size(rows); ++i)
        for (bool elsewhere : {false, true})
            for (bool held : {false, true}) {
                if (held && (rows[i].type == OBJ_MEMDC || rows[i].type == OBJ_BITMAP)) continue;
                std::string row = "row " + std::to_string(i) + " " + rows[i].kind + (elsewhere ? ", other thread" : "") +
                                  (held ? ", held by a saved state" : "");
                HGDIOBJ h = rows[i].make();
                HGDIOBJ old = nullptr;
                if (held) {
                    old = SelectObject(holder, h);
                    SaveDC(holder);
                    SelectObject(holder, old);
                }
                ASSERT_EQ(GetObjectType(h), rows[i].type) << row;
                ASSERT_EQ(GetObjectType(h), rows[i].type) << row;
                BOOL removed = FALSE;
                if (elsewhere)
                    std::thread([&] { removed = remove(h, rows[i].type); }).join();
                else
                    removed = remove(h, rows[i].type);
                EXPECT_TRUE(removed) << row;
                SetLastError(kSentinel);
                EXPECT_EQ(GetObjectType(h), 0u) << row;
                EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << row;
                if (held) RestoreDC(holder, -1);
            }
    DeleteDC(holder);
    // Text calls find their DC a faster way; a DC deleted after them is
    // refused by them too.
    for (bool elsewhere : {false, true}) {
        HDC dc = CreateCompatibleDC(nullptr);
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32W(dc, u"ab", 2, &size));
        ASSERT_TRUE(GetTextExtentPoint32W(dc, u"ab", 2, &size));
        if (elsewhere)
            std::thread([dc] { DeleteDC(dc); }).join();
        else
            DeleteDC(dc);
        RECT r{0, 0, 10, 10};
        SetLastError(kSentinel);
        EXPECT_FALSE(GetTextExtentPoint32W(dc, u"ab", 2, &size)) << elsewhere;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << elsewhere;
        EXPECT_EQ(DrawTextW(dc, u"ab", 2, &r, DT_SINGLELINE), 0) << elsewhere;
        EXPECT_FALSE(ExtTextOutW(dc, 0, 0, 0, nullptr, u"ab", 2, nullptr)) << elsewhere;
    }
}

// A DC measures with the font selected now, also when a font of another size
// takes the place of a deleted one, and after the device changes its dpi.
TEST(GdiObjects, TextIsMeasuredWithTheFontSelectedNow) {
    testing_support::TempDevice device;
    HDC dc = CreateCompatibleDC(nullptr);
    auto height = [dc] {
        SIZE size{};
        GetTextExtentPoint32W(dc, u"x", 1, &size);
        return size.cy;
    };
    LOGFONTW lf = kAnyFont;
    lf.lfHeight = -10;
    HFONT small = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, small);
    LONG smallHeight = height();
    SelectObject(dc, old);
    DeleteObject(small);
    lf.lfHeight = -30;
    HFONT large = CreateFontIndirectW(&lf);
    SelectObject(dc, large);
    EXPECT_GT(height(), smallHeight + 10);
    SelectObject(dc, old);
    DeleteObject(large);
    // The system font follows the dpi of the device in use.
    LONG at96 = height();
    std::ofstream(device.Root() / "device.ini") << "[screen]\ndpi_x = 192\ndpi_y = 192\n";
    wince::Device::Select(device.Root());
    EXPECT_GT(height(), at96 + 5);
    DeleteDC(dc);
}

}  // namespace
