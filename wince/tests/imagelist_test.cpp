// Image lists a program makes: strips cut into images, masks from a colour
// or a bitmap, icons added and replaced, drawing, and bad arguments.
#include <commctrl.h>

#include <functional>

#include "dialog_support.h"
#include "shell/image_list.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kMagenta = RGB(255, 0, 255), kYellow = RGB(255, 255, 0), kWhite = RGB(255, 255, 255),
                   kBlack = RGB(0, 0, 0);

HBITMAP Paint(int w, int h, int bits, const std::function<COLORREF(int, int)> &color) {
    HBITMAP bitmap = CreateBitmap(w, h, 1, bits, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(dc, x, y, color(x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

// Draws image i of the list at (1, 1) on a blue 8 x 8 canvas and reads it back.
class Canvas {
   public:
    Canvas() : dc_(CreateCompatibleDC(nullptr)), bitmap_(Paint(8, 8, 24, [](int, int) { return kBlue; })) {
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    BOOL Draw(HIMAGELIST list, int i, UINT style = ILD_NORMAL) { return ImageList_Draw(list, i, dc_, 1, 1, style); }
    COLORREF At(int x, int y) { return GetPixel(dc_, 1 + x, 1 + y); }

   private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

using ImageListTest = dialog_test::DialogTest;

TEST_F(ImageListTest, StripsAreCutIntoImagesOfTheListsSize) {
    HIMAGELIST list = ImageList_Create(4, 4, ILC_MASK | ILC_COLOR24, 2, 2);
    ASSERT_NE(list, nullptr);
    int cx = -1, cy = -1;
    EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 4);
    struct Row {
        int width;
        int index, count;
    } rows[] = {{12, 0, 3}, {10, 3, 5}, {4, 5, 6}, {3, -1, 6}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        HBITMAP strip = Paint(rows[i].width, 4, 24, [](int, int) { return kRed; });
        EXPECT_EQ(ImageList_Add(list, strip, nullptr), rows[i].index) << "row " << i;
        EXPECT_EQ(ImageList_GetImageCount(list), rows[i].count) << "row " << i;
        DeleteObject(strip);
    }
    EXPECT_TRUE(ImageList_Remove(list, 1));
    EXPECT_EQ(ImageList_GetImageCount(list), 5);
    EXPECT_TRUE(ImageList_RemoveAll(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_TRUE(ImageList_Destroy(list));
}

TEST_F(ImageListTest, MasksLetTheBackgroundShowThrough) {
    // Image 0: red with a magenta corner; image 1: green with a magenta corner.
    HBITMAP strip = Paint(8, 4, 24, [](int x, int y) {
        if (x % 4 == 0 && y == 0) return kMagenta;
        return x < 4 ? kRed : kGreen;
    });
    // The mask bitmap marks the bottom-right pixel of each image.
    HBITMAP mask = Paint(8, 4, 1, [](int x, int y) { return x % 4 == 3 && y == 3 ? kWhite : kBlack; });
    struct Row {
        const char *name;
        UINT flags;
        std::function<int(HIMAGELIST)> add;
        COLORREF corner, bottomRight;  // of image 1
    } rows[] = {
        {"masked by colour", ILC_MASK, [&](HIMAGELIST l) { return ImageList_AddMasked(l, strip, kMagenta); }, kBlue,
         kGreen},
        {"masked by a bitmap", ILC_MASK, [&](HIMAGELIST l) { return ImageList_Add(l, strip, mask); }, kMagenta, kBlue},
        {"a list without masks draws every pixel", ILC_COLOR24,
         [&](HIMAGELIST l) { return ImageList_AddMasked(l, strip, kMagenta); }, kMagenta, kGreen},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        HIMAGELIST list = ImageList_Create(4, 4, rows[i].flags, 2, 0);
        EXPECT_EQ(rows[i].add(list), 0) << "row " << i << " " << rows[i].name;
        Canvas canvas;
        EXPECT_TRUE(canvas.Draw(list, 1)) << "row " << i;
        EXPECT_EQ(canvas.At(0, 0), rows[i].corner) << "row " << i << " " << rows[i].name;
        EXPECT_EQ(canvas.At(3, 3), rows[i].bottomRight) << "row " << i << " " << rows[i].name;
        EXPECT_EQ(canvas.At(1, 1), kGreen) << "row " << i << " " << rows[i].name;
        EXPECT_EQ(canvas.At(4, 1), kBlue) << "row " << i << " drew past the image";
        ImageList_Destroy(list);
    }
    // The caller's bitmap is not changed by the mask.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    EXPECT_EQ(GetPixel(dc, 4, 0), kMagenta);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(strip);
    DeleteObject(mask);
}

TEST_F(ImageListTest, IconsAreAddedAndReplacedAtTheListsSize) {
    auto makeIcon = [](int size, COLORREF color) {
        HBITMAP image = Paint(size, size, 24, [&](int, int) { return color; });
        HBITMAP mask = Paint(size, size, 1, [](int, int) { return kBlack; });
        ICONINFO info{TRUE, 0, 0, mask, image};
        HICON icon = CreateIconIndirect(&info);
        DeleteObject(image);
        DeleteObject(mask);
        return icon;
    };
    HIMAGELIST list = ImageList_Create(4, 4, ILC_MASK, 1, 1);
    HICON yellow = makeIcon(4, kYellow), big = makeIcon(8, kRed);
    EXPECT_EQ(ImageList_AddIcon(list, yellow), 0);
    EXPECT_EQ(ImageList_AddIcon(list, big), 1);  // scaled to the list's size
    DestroyIcon(yellow);  // the list keeps its own copies
    Canvas canvas;
    EXPECT_TRUE(canvas.Draw(list, 0));
    EXPECT_EQ(canvas.At(3, 3), kYellow);
    EXPECT_TRUE(canvas.Draw(list, 1));
    EXPECT_EQ(canvas.At(3, 3), kRed);
    EXPECT_EQ(canvas.At(4, 4), kBlue);
    EXPECT_EQ(ImageList_ReplaceIcon(list, 0, big), 0);
    EXPECT_TRUE(canvas.Draw(list, 0));
    EXPECT_EQ(canvas.At(0, 0), kRed);
    HICON copy = ImageList_GetIcon(list, 1, ILD_NORMAL);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(copy, &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 4);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(copy);
    DestroyIcon(big);
    ImageList_Destroy(list);
}

TEST_F(ImageListTest, BadArgumentsFailWithoutHarm) {
    HIMAGELIST list = ImageList_Create(4, 4, ILC_MASK, 1, 1);
    HBITMAP strip = Paint(4, 4, 24, [](int, int) { return kRed; });
    ImageList_Add(list, strip, nullptr);
    HIMAGELIST system = wince::SystemImageList(true);
    int systemCount = ImageList_GetImageCount(system);
    HIMAGELIST dead = ImageList_Create(4, 4, 0, 1, 1);
    ImageList_Destroy(dead);
    struct Row {
        const char *name;
        std::function<bool()> fails;
        DWORD error;
    } rows[] = {
        {"zero width", [] { return ImageList_Create(0, 4, 0, 1, 1) == nullptr; }, ERROR_INVALID_PARAMETER},
        {"destroyed list", [&] { return ImageList_Add(dead, strip, nullptr) == -1; }, ERROR_INVALID_HANDLE},
        {"destroyed twice", [&] { return !ImageList_Destroy(dead); }, ERROR_INVALID_HANDLE},
        {"null list", [] { return ImageList_GetImageCount(nullptr) == 0; }, ERROR_INVALID_HANDLE},
        {"replace past the end", [&] { return ImageList_ReplaceIcon(list, 5, nullptr) == -1; },
         ERROR_INVALID_PARAMETER},
        {"remove past the end", [&] { return !ImageList_Remove(list, 1); }, ERROR_INVALID_PARAMETER},
        {"draw past the end", [&] { return !Canvas().Draw(list, 1); }, 0xC0FFEE},
        {"add to the shell's list", [&] { return ImageList_Add(system, strip, nullptr) == -1; }, ERROR_ACCESS_DENIED},
        {"destroy the shell's list", [&] { return !ImageList_Destroy(system); }, 0xC0FFEE},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(0xC0FFEE);
        EXPECT_TRUE(rows[i].fails()) << "row " << i << " " << rows[i].name;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i << " " << rows[i].name;
    }
    EXPECT_EQ(ImageList_GetImageCount(list), 1);
    EXPECT_EQ(ImageList_GetImageCount(system), systemCount);
    Canvas canvas;
    EXPECT_TRUE(canvas.Draw(system, 1));  // the shell's list still draws
    DeleteObject(strip);
    ImageList_Destroy(list);
}

}  // namespace
