#include "status_bar.h"

#include <windows.h>

#include <cstring>

#include "core/unicode.h"

namespace wince::frontend {
namespace {

constexpr int kHeight = 22;
constexpr int kTextHeight = 13;
constexpr int kMargin = 6;
constexpr COLORREF kBackground = RGB(232, 232, 232);
constexpr COLORREF kRule = RGB(160, 160, 160);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kHintText = RGB(112, 112, 112);
constexpr char16_t kHint[] = u"F5 turns the screen \x2022 F12 saves it as PNG";

HFONT BarFont() {
    LOGFONTW lf{};
    lf.lfHeight = -kTextHeight;
    lf.lfWeight = FW_NORMAL;
    lstrcpynW(lf.lfFaceName, u"Tahoma", LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

}  // namespace

int StatusBarHeight() { return kHeight; }

StatusPixels DrawStatusBar(const std::string &text, int width) {
    StatusPixels out;
    if (width <= 0) return out;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -kHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
        return out;
    }
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, width, kHeight};
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &all, background);
    DeleteObject(background);
    RECT rule{0, 0, width, 1};
    HBRUSH ruleBrush = CreateSolidBrush(kRule);
    FillRect(dc, &rule, ruleBrush);
    DeleteObject(ruleBrush);

    HFONT font = BarFont();
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    std::u16string line = text.empty() ? std::u16string(kHint) : FromUtf8(text);
    SetTextColor(dc, text.empty() ? kHintText : kText);
    RECT area{kMargin, 1, width - kMargin, kHeight};
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (oldFont) SelectObject(dc, oldFont);
    if (font) DeleteObject(font);

    out.width = width;
    out.height = kHeight;
    out.stride = (width * 3 + 3) & ~3;
    out.bits.resize(static_cast<size_t>(out.stride) * kHeight);
    memcpy(out.bits.data(), bits, out.bits.size());
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return out;
}

}  // namespace wince::frontend
