// Display modes, dialog placement on landscape screens and the re-layout of
// an open dialog from another template.
#include "drawing/DialogLayout.h"

#include <gtest/gtest.h>

#include "device_profile.h"
#include "drawing/ScreenMetrics.h"
#include "drawing/ScreenMode.h"
#include "temp_device.h"
#include "window/message_queue.h"

namespace {

class ScreenHelpers : public testing_support::DeviceTest {
   protected:
    void Screen(int width, int height, int dpi = 96) {
        testing_support::WriteProfile(
            device.Root(), "[screen]\nwidth = " + std::to_string(width) + "\nheight = " + std::to_string(height) +
                               "\ndpi_x = " + std::to_string(dpi) + "\ndpi_y = " + std::to_string(dpi) +
                               "\n[font]\nmode = fixed\n");
        DisplayResolution = DisplayResolutionValues{dpi, dpi};
    }
};

TEST_F(ScreenHelpers, DisplayModes) {
    const struct {
        int width, height, mode;
        bool landscape;
    } rows[] = {
        {240, 320, 0, false}, {320, 240, 1, true},  {240, 240, 2, false},  {480, 640, 3, false},
        {640, 480, 4, true},  {480, 480, 5, false}, {800, 480, -1, false}, {320, 320, -1, false},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Screen(rows[i].width, rows[i].height);
        EXPECT_EQ(ClassifyScreen(), rows[i].mode) << "row " << i;
        EXPECT_EQ(IsLandscapeScreen(), rows[i].landscape) << "row " << i;
    }
}

TEST_F(ScreenHelpers, LandscapeDialogsMoveUpToTheTitleBand) {
    const struct {
        int width, height, dpi, top, placed;
    } rows[] = {
        {320, 240, 96, 60, 27},  {320, 240, 96, 20, 20}, {320, 240, 96, 27, 27},
        {640, 480, 192, 90, 54}, {240, 320, 96, 60, 60}, {480, 480, 192, 90, 90},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Screen(rows[i].width, rows[i].height, rows[i].dpi);
        HWND w =
            CreateWindowExW(0, u"STATIC", u"", WS_POPUP, 10, rows[i].top, 100, 50, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(PlaceDialogForLandscape(w)) << "row " << i;
        RECT r;
        GetWindowRect(w, &r);
        EXPECT_EQ(r.top, rows[i].placed) << "row " << i;
        EXPECT_EQ(r.left, 10) << "row " << i;
        EXPECT_EQ(r.bottom - r.top, 50) << "row " << i;
        DestroyWindow(w);
    }
    Screen(320, 240);
    EXPECT_FALSE(PlaceDialogForLandscape(nullptr));
    Screen(240, 320);
    EXPECT_TRUE(PlaceDialogForLandscape(nullptr));  // nothing to do off landscape
}

BOOL CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class DialogLayoutTest : public ScreenHelpers {
   protected:
    void SetUp() override {
        Screen(320, 240);
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(200), nullptr, QuietDialog, 0);
        ASSERT_NE(dialog, nullptr);
        for (const char16_t *s : {u"one", u"two", u"three"}) {
            SendDlgItemMessageW(dialog, 11, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
            SendDlgItemMessageW(dialog, 12, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        }
        SendDlgItemMessageW(dialog, 11, LB_SETCURSEL, 2, 0);
        SendDlgItemMessageW(dialog, 12, CB_SETCURSEL, 1, 0);
    }
    void TearDown() override { DestroyWindow(dialog); }
    // The control's rectangle in the dialog's client coordinates.
    RECT Placed(int id) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
        return r;
    }
    RECT Expected(int x, int y, int cx, int cy) {
        RECT r{x, y, x + cx, y + cy};
        MapDialogRect(dialog, &r);
        return r;
    }
    static std::string Text(const RECT &r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }
    HWND dialog = nullptr;
};

TEST_F(DialogLayoutTest, ControlsTakeTheOtherTemplatesPlaces) {
    EXPECT_TRUE(ApplyDialogLayout(GetModuleHandleW(nullptr), dialog, 201));
    EXPECT_EQ(Text(Placed(10)), Text(Expected(50, 4, 100, 12)));
    EXPECT_EQ(Text(Placed(11)), Text(Expected(4, 20, 70, 40)));
    EXPECT_EQ(Text(Placed(12)), Text(Expected(80, 20, 70, 40)));
    EXPECT_EQ(Text(Placed(13)), Text(Expected(4, 6, 44, 10)));
    EXPECT_EQ(Text(Placed(0xFFFF)), Text(Expected(80, 40, 40, 10)));
    WCHAR text[32];
    GetDlgItemTextW(dialog, 13, text, 32);
    EXPECT_EQ(std::u16string(text), u"File name:");
    EXPECT_EQ(SendDlgItemMessageW(dialog, 11, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendDlgItemMessageW(dialog, 12, CB_GETCURSEL, 0, 0), 1);
    // And back.
    EXPECT_TRUE(ApplyDialogLayout(GetModuleHandleW(nullptr), dialog, 200));
    EXPECT_EQ(Text(Placed(10)), Text(Expected(4, 4, 60, 12)));
}

TEST_F(DialogLayoutTest, TwoUnnamedControlsAreAppliedButReported) {
    EXPECT_FALSE(ApplyDialogLayout(GetModuleHandleW(nullptr), dialog, 202));
    EXPECT_EQ(Text(Placed(10)), Text(Expected(8, 8, 100, 12)));
}

TEST_F(DialogLayoutTest, DamagedOrMissingTemplatesMoveNothing) {
    RECT before = Placed(10);
    for (UINT id : {203u, 204u, 299u}) {
        EXPECT_FALSE(ApplyDialogLayout(GetModuleHandleW(nullptr), dialog, id)) << id;
        EXPECT_EQ(Text(Placed(10)), Text(before)) << id;
    }
}

// A static control whose template names another image gets it, and the
// image it showed before is destroyed; a missing image keeps the old one.
TEST_F(DialogLayoutTest, ImagesAreReplacedAndTheOldOnesDestroyed) {
    const struct {
        UINT layout;
        bool replaced;
    } rows[] = {{211, true}, {212, false}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        HWND shown = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(210), nullptr, QuietDialog, 0);
        ASSERT_NE(shown, nullptr) << "row " << i;
        HWND picture = GetDlgItem(shown, 14), photo = GetDlgItem(shown, 15);
        auto icon = reinterpret_cast<HICON>(SendMessageW(picture, STM_GETIMAGE, IMAGE_ICON, 0));
        auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(photo, STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_TRUE(icon && bitmap) << "row " << i;
        ApplyDialogLayout(GetModuleHandleW(nullptr), shown, rows[i].layout);
        auto newIcon = reinterpret_cast<HICON>(SendMessageW(picture, STM_GETIMAGE, IMAGE_ICON, 0));
        auto newBitmap = reinterpret_cast<HBITMAP>(SendMessageW(photo, STM_GETIMAGE, IMAGE_BITMAP, 0));
        ICONINFO info{};
        BITMAP bm{};
        bool iconAlive = GetIconInfo(icon, &info);
        if (iconAlive) DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
        bool bitmapAlive = GetObjectW(bitmap, sizeof bm, &bm) != 0;
        if (rows[i].replaced) {
            EXPECT_TRUE(newIcon && newIcon != icon) << "row " << i;
            EXPECT_TRUE(newBitmap && newBitmap != bitmap) << "row " << i;
            EXPECT_FALSE(iconAlive) << "row " << i;
            EXPECT_FALSE(bitmapAlive) << "row " << i;
            EXPECT_NE(GetObjectW(newBitmap, sizeof bm, &bm), 0) << "row " << i;
        } else {
            EXPECT_EQ(newIcon, icon) << "row " << i;
            EXPECT_EQ(newBitmap, bitmap) << "row " << i;
            EXPECT_TRUE(iconAlive) << "row " << i;
            EXPECT_TRUE(bitmapAlive) << "row " << i;
        }
        DestroyWindow(shown);
    }
}

}  // namespace
