#include "config/WideString.h"
#include "item/ItemPaint.h"

#include <shellapi.h>
#include <todaycmn.h>

#include "catalogue/IconCache.h"
#include "catalogue/Refresh.h"
#include "config/LocalizationTable.h"
#include "drawing/ItemFont.h"
#include "drawing/ScreenMetrics.h"
#include "drawing/ThemeColors.h"
#include "item/FittedText.h"
#include "item/GridLayout.h"
#include "item/ItemState.h"
#include "item/ItemWindow.h"
#include "item/ScrollStripPaint.h"
#include "item/Selection.h"
#include "item/res/resource.h"

namespace {

constexpr UINT kLineFlags = DT_SINGLELINE | DT_VCENTER;

void PaintMessageLine(HDC hdc, const RECT &area, UINT textId) {
    WideString text = LoadText(textId);
    FittedText(hdc, text.c_str(), MessageLineRect(area), FitMiddle, kLineFlags);
}

bool FolderExists(DWORD attributes) {
    return attributes != 0xFFFFFFFF && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// The width is corrected before painting: the Today screen creates the item
// at the screen's width and may add a scroll bar later.
PaintBuffer::PaintBuffer(HWND window, HFONT font) : window(window) {
    GetClientRect(window, &client);
    int target = TargetItemWidth(ItemWidthHost(window, TabHostMode));
    if (ItemWidthIsOff(client.right - client.left, target)) {
        RECT frame;
        GetWindowRect(window, &frame);
        SetWindowPos(window, nullptr, 0, 0, target, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(window, &client);
    }
    paintDc = BeginPaint(window, &paint);
    memoryDc = CreateCompatibleDC(paintDc);
    HBITMAP bitmap = CreateCompatibleBitmap(paintDc, client.right - client.left, client.bottom - client.top);
    previousBitmap = SelectObject(memoryDc, bitmap);
    if (font) previousFont = SelectObject(memoryDc, font);
}

PaintBuffer::~PaintBuffer() {
    if (previousFont) SelectObject(memoryDc, previousFont);
    BitBlt(paintDc, 0, 0, client.right - client.left, client.bottom - client.top, memoryDc, 0, 0, SRCCOPY);
    HGDIOBJ bitmap = SelectObject(memoryDc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    EndPaint(window, &paint);
}

LRESULT PaintItem(HWND window) {
    if (!ItemFont) {
        HDC hdc = GetDC(window);
        CreateItemFont(hdc, ItemFont);
        ReleaseDC(window, hdc);
    }
    PaintBuffer buffer(window, ItemFont);
    RECT area = buffer.client;
    if (!TabHostMode) area.right -= 1;
    if (!FolderIcon) {
        SHFILEINFO info{};
        if (SHGetFileInfo(TEXT("\\"), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) FolderIcon = info.hIcon;
    }
    TODAYDRAWWATERMARKINFO watermark{buffer.memoryDc, buffer.client, window};
    SendMessageW(GetParent(window), TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&watermark));
    SetBkMode(buffer.memoryDc, TRANSPARENT);
    if (!TabHostMode && FolderIcon)
        DrawIconEx(buffer.memoryDc, ScaleX(2), ScaleY(2), FolderIcon, 0, 0, 0, nullptr, DI_NORMAL);
    PaintGrid(itemWindow, window, buffer.memoryDc, area);
    return 1;
}

void PaintGrid(ItemWindow &item, HWND window, HDC hdc, RECT area) {
    // The first paint of a new item window starts watching the folder.
    if (!item.notifyWindow) StartWatching(window);
    COLORREF todayText = static_cast<COLORREF>(SendMessageW(GetParent(window), TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0));
    COLORREF previousText = SetTextColor(hdc, todayText);
    item.paintRect = area;
    int count = item.DocumentCount();
    if (!FolderExists(item.folderAttributes)) {
        item.scrollStripShown = false;
        PaintMessageLine(hdc, area, IDS_NO_FOLDER);
    } else if (count == 0) {
        item.scrollStripShown = false;
        PaintMessageLine(hdc, area, IDS_NO_DOCUMENTS);
    } else {
        item.scrollStripShown = UpdateVisibleRows(item.scrollStrip, count, item.cols, item.rows);
        int firstIndex = FirstIndex(item.scrollStrip, item.cols, item.scrollStripShown);
        if (item.scrollStripShown) {
            PaintScrollStrip(item.scrollStrip, window, hdc, area);
            area.right -= ScaleX(15);
        }
        ComputeColumnEdges(area, item.cols, item.columnEdges);
        if (item.settings.GetShowSize()) MeasureSizeWidth(hdc);
        if (item.settings.GetShowDate()) MeasureDateWidth(hdc);
        int selected = SelectedDocument();
        int cells = item.cols > 0 ? item.rows * item.cols : 0;
        for (int n = 0; n < cells; ++n) {
            int index = firstIndex + n;
            DocumentEntry *entry = item.catalogue.Entry(index);
            if (!entry) break;
            RECT cell = CellRect(area, item.columnEdges, n / item.cols, n % item.cols);
            PaintCell(*entry, window, hdc, cell, index == selected, item.settings);
        }
    }
    SetTextColor(hdc, previousText);
}

void PaintCell(DocumentEntry &entry, HWND window, HDC hdc, RECT &cell, bool selected, const FolderSettings &settings) {
    COLORREF previousBack = 0, previousText = 0;
    if (selected) {
        HWND host = GetParent(window);
        previousBack = SetBkColor(hdc, GetHighlightColor(host));
        previousText = SetTextColor(hdc, GetHighlightTextColor(host));
        // The fill reaches one pixel into the gap right of and below the cell.
        RECT fill{cell.left, cell.top, cell.right + 1, cell.bottom + 1};
        ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr);
    }
    // Asked again at every paint until the cache has one for the extension.
    if (!entry.icon) entry.icon = GetDocumentIcon(entry.FullPath(), entry.extension);
    bool showSize = settings.GetShowSize(), showDate = settings.GetShowDate();
    CellParts parts = LayOutCell(cell, showSize, sizeWidth, showDate, dateWidth);
    if (entry.icon) DrawIconEx(hdc, parts.icon.x, parts.icon.y, entry.icon, 0, 0, 0, nullptr, DI_NORMAL);
    if (showSize) FittedText(hdc, entry.sizeText.c_str(), parts.sizeBox, FitMiddle, kLineFlags);
    if (showDate) FittedText(hdc, entry.dateText.c_str(), parts.dateBox, FitMiddle, kLineFlags);
    FittedText(hdc, entry.name.c_str(), parts.nameBox, FitEnd, kLineFlags);
    cell = parts.nameBox;
    if (selected) {
        SetBkColor(hdc, previousBack);
        SetTextColor(hdc, previousText);
    }
}
