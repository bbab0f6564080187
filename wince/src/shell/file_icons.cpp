// The shell's small file icons, drawn in code on a 16-unit grid so that they
// stay sharp at any multiple of 16 pixels (16 at 96 dpi, 32 at 192).
#include <cmath>

#include "file_kinds.h"

namespace wince {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kFolderYellow = RGB(255, 204, 64);
constexpr COLORREF kFolderShade = RGB(204, 153, 0);

class Painter {
   public:
    Painter(Picture &p, int size) : p_(p), size_(size) {
        p.width = p.height = size;
        p.pixels.assign(static_cast<size_t>(size) * size, 0);
        p.transparent.assign(p.pixels.size(), 1);
    }
    // Paints every pixel whose centre, in grid units, satisfies inside(u, v).
    template <typename Inside>
    void Fill(COLORREF c, Inside inside) {
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x) {
                double u = (x + 0.5) * 16.0 / size_, v = (y + 0.5) * 16.0 / size_;
                if (!inside(u, v)) continue;
                size_t i = static_cast<size_t>(y) * size_ + x;
                p_.pixels[i] = c;
                p_.transparent[i] = 0;
            }
    }
    void Box(COLORREF c, double x0, double y0, double x1, double y1) {
        Fill(c, [=](double u, double v) { return u >= x0 && u < x1 && v >= y0 && v < y1; });
    }
    // A box with a one-unit black outline.
    void Framed(COLORREF inside, double x0, double y0, double x1, double y1) {
        Box(kBlack, x0, y0, x1, y1);
        Box(inside, x0 + 1, y0 + 1, x1 - 1, y1 - 1);
    }
    void Disc(COLORREF c, double cx, double cy, double r) {
        Fill(c, [=](double u, double v) { return (u - cx) * (u - cx) + (v - cy) * (v - cy) <= r * r; });
    }

   private:
    Picture &p_;
    int size_;
};

// A sheet of paper with its top right corner folded over.
void Page(Painter &p, COLORREF paper) {
    p.Fill(kBlack, [](double u, double v) { return u >= 2 && u < 14 && v >= 0 && v < 16 && u - v < 10.5; });
    p.Fill(paper, [](double u, double v) { return u >= 3 && u < 13 && v >= 1 && v < 15 && u - v < 9; });
    p.Fill(kLightGrey, [](double u, double v) { return u >= 9 && u < 13 && v >= 1 && v < 5 && u - v >= 9; });
    p.Box(kBlack, 9, 4, 13, 5);
    p.Box(kBlack, 9, 0, 10, 5);
}

void Lines(Painter &p, COLORREF c, int count) {
    for (int i = 0; i < count; ++i) p.Box(c, 4, 6 + 2 * i, i == count - 1 ? 9 : 12, 7 + 2 * i);
}

void Folder(Painter &p, bool open) {
    p.Framed(kFolderShade, 1, 2, 7, 5);  // the tab
    if (!open) {
        p.Framed(kFolderYellow, 1, 4, 15, 14);
        return;
    }
    p.Framed(kFolderShade, 1, 4, 14, 14);
    // The front leaf tipped forward.
    p.Fill(kBlack,
           [](double u, double v) { return v >= 7 && v < 14 && u >= 1 + (v - 7) * 0.15 && u < 16 - (v - 7) * 0.3; });
    p.Fill(kFolderYellow, [](double u, double v) {
        return v >= 8 && v < 13 && u >= 2.5 + (v - 8) * 0.15 && u < 14.5 - (v - 8) * 0.3;
    });
}

void Draw(FileKind kind, Painter &p) {
    switch (kind) {
        case FileKind::kFile:
            Page(p, kWhite);
            break;
        case FileKind::kText:
            Page(p, kWhite);
            Lines(p, kGrey, 4);
            break;
        case FileKind::kWordDocument:
            Page(p, kWhite);
            Lines(p, RGB(0, 0, 160), 3);
            p.Framed(RGB(32, 64, 224), 1, 9, 8, 16);  // the program's badge
            p.Box(kWhite, 3, 11, 6, 12);
            p.Box(kWhite, 3, 13, 6, 14);
            break;
        case FileKind::kWorkbook:
            Page(p, kWhite);
            for (int v = 5; v <= 13; v += 2) p.Box(RGB(0, 128, 0), 4, v, 12, v + 1);
            for (int u = 4; u <= 11; u += 3) p.Box(RGB(0, 128, 0), u, 5, u + 1, 14);
            p.Framed(RGB(0, 160, 64), 1, 9, 8, 16);
            break;
        case FileKind::kNote:
            Page(p, RGB(255, 255, 160));
            // A pen stroke across the note.
            p.Fill(RGB(0, 0, 128),
                   [](double u, double v) { return u >= 4 && u < 12 && std::fabs((v - 13) + (u - 4)) < 0.8; });
            break;
        case FileKind::kWebPage:
            Page(p, kWhite);
            p.Disc(kBlack, 7, 10, 4.5);
            p.Disc(RGB(0, 96, 224), 7, 10, 3.6);
            p.Box(RGB(0, 160, 0), 5, 8, 8, 10);
            p.Box(RGB(0, 160, 0), 6, 11, 9, 13);
            break;
        case FileKind::kSound:
            // A loudspeaker and its waves.
            p.Framed(RGB(96, 96, 96), 1, 5, 6, 11);
            p.Fill(kBlack, [](double u, double v) { return u >= 5 && u < 10 && std::fabs(v - 8) < 2 + (u - 5); });
            p.Fill(RGB(96, 96, 96),
                   [](double u, double v) { return u >= 6 && u < 9 && std::fabs(v - 8) < 1.5 + (u - 6); });
            p.Fill(RGB(0, 64, 192), [](double u, double v) {
                double d = std::hypot(u - 8, v - 8);
                return u >= 11 && ((d >= 3.2 && d < 4.2) || (d >= 5.5 && d < 6.5));
            });
            break;
        case FileKind::kPicture:
            p.Framed(RGB(128, 192, 255), 0, 2, 16, 14);  // sky
            p.Fill(RGB(0, 144, 48), [](double u, double v) {
                return v >= 8 && v < 13 && u >= 1 && u < 15 && v > 12 - std::fabs(u - 6) * 0.6;
            });
            p.Disc(RGB(255, 224, 0), 11.5, 5.5, 1.6);
            break;
        case FileKind::kProgram:
            p.Framed(kWhite, 1, 2, 15, 14);
            p.Box(RGB(0, 112, 112), 2, 3, 14, 6);  // caption
            p.Box(kLightGrey, 4, 8, 12, 12);
            break;
        case FileKind::kFolder:
            Folder(p, false);
            break;
        case FileKind::kOpenFolder:
            Folder(p, true);
            break;
        case FileKind::kMyDevice:
            // A handheld with its screen and buttons.
            p.Framed(RGB(64, 64, 80), 3, 0, 13, 16);
            p.Box(kBlack, 4, 2, 12, 10);
            p.Box(RGB(160, 224, 208), 5, 3, 11, 9);
            p.Box(kLightGrey, 5, 12, 7, 14);
            p.Box(kLightGrey, 9, 12, 11, 14);
            break;
        case FileKind::kCount:
            break;
    }
}

}  // namespace

Picture DrawFileIcon(FileKind kind, int size) {
    Picture picture;
    Painter painter(picture, size > 0 ? size : 16);
    Draw(kind, painter);
    return picture;
}

HICON NewFileIcon(FileKind kind, int size) {
    return MakeIcon(DrawFileIcon(kind, size));
}

}  // namespace wince
