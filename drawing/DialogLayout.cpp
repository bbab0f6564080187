#include "config/WideString.h"
#include "drawing/DialogLayout.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// Reads a dialog template and refuses, rather than reads past, one that ends
// early.
class TemplateReader {
   public:
    TemplateReader(const BYTE *data, size_t size) : data(data), size(size) {}

    bool Word(WORD &out) { return Bytes(&out, sizeof out); }
    bool Dword(DWORD &out) { return Bytes(&out, sizeof out); }
    bool Short(short &out) { return Bytes(&out, sizeof out); }
    bool AlignToDword() {
        size_t aligned = (offset + 3) & ~size_t{3};
        if (aligned > size) return false;
        offset = aligned;
        return true;
    }
    bool Skip(size_t bytes) {
        if (bytes > size - offset) return false;
        offset += bytes;
        return true;
    }
    // A field that holds a string or an ordinal (0xFFFF then the ordinal).
    bool StringOrOrdinal(bool &isOrdinal, WORD &ordinal, WideString &text) {
        isOrdinal = false;
        text.clear();
        WORD first;
        if (!Word(first)) return false;
        if (first == 0xFFFF) {
            isOrdinal = true;
            return Word(ordinal);
        }
        for (WORD ch = first; ch != 0;) {
            text.push_back(static_cast<WCHAR>(ch));
            if (!Word(ch)) return false;
        }
        return true;
    }
    bool SkipStringOrOrdinal() {
        bool isOrdinal;
        WORD ordinal;
        WideString text;
        return StringOrOrdinal(isOrdinal, ordinal, text);
    }

   private:
    bool Bytes(void *out, size_t n) {
        if (n > size - offset) return false;
        memcpy(out, data + offset, n);
        offset += n;
        return true;
    }

    const BYTE *data;
    size_t size;
    size_t offset = 0;
};

struct TemplateItem {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    bool classIsOrdinal = false;
    WORD classOrdinal = 0;
    bool titleIsOrdinal = false;
    WORD titleOrdinal = 0;
    WideString title;
};

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;
constexpr WORD kComboBoxClass = 0x0085;

bool ReadTemplate(const BYTE *data, size_t size, std::vector<TemplateItem> &items) {
    TemplateReader in(data, size);
    DWORD style, exStyle;
    WORD count;
    short x, y, cx, cy;
    if (!in.Dword(style) || !in.Dword(exStyle) || !in.Word(count) || !in.Short(x) || !in.Short(y) || !in.Short(cx) ||
        !in.Short(cy))
        return false;
    // An extended template starts with 1, 0xFFFF and has another layout.
    if (LOWORD(style) == 1 && HIWORD(style) == 0xFFFF) return false;
    if (!in.SkipStringOrOrdinal() || !in.SkipStringOrOrdinal() || !in.SkipStringOrOrdinal()) return false;
    if (style & DS_SETFONT) {
        WORD points;
        if (!in.Word(points) || !in.SkipStringOrOrdinal()) return false;
    }
    for (WORD i = 0; i < count; ++i) {
        TemplateItem item;
        DWORD itemExStyle;
        if (!in.AlignToDword() || !in.Dword(item.style) || !in.Dword(itemExStyle) || !in.Short(item.x) ||
            !in.Short(item.y) || !in.Short(item.cx) || !in.Short(item.cy) || !in.Word(item.id))
            return false;
        WideString className;
        if (!in.StringOrOrdinal(item.classIsOrdinal, item.classOrdinal, className)) return false;
        if (!in.StringOrOrdinal(item.titleIsOrdinal, item.titleOrdinal, item.title)) return false;
        // The creation data's length counts its own length word.
        WORD extra;
        if (!in.Word(extra)) return false;
        if (extra > 2 && !in.Skip(extra - 2u)) return false;
        items.push_back(item);
    }
    return true;
}

// Replaces the control's image by the resource named by the item's title.
void ReplaceImage(HINSTANCE instance, HWND control, UINT type, WORD resource) {
    HANDLE image = type == IMAGE_ICON ? static_cast<HANDLE>(LoadIconW(instance, MAKEINTRESOURCEW(resource)))
                                      : static_cast<HANDLE>(LoadBitmapW(instance, MAKEINTRESOURCEW(resource)));
    if (!image) return;  // keep the old image rather than show none
    HANDLE old = reinterpret_cast<HANDLE>(SendMessageW(control, STM_GETIMAGE, type, 0));
    SendMessageW(control, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image));
    if (!old) return;
    if (type == IMAGE_ICON)
        DestroyIcon(static_cast<HICON>(old));
    else
        DeleteObject(old);
}

void UpdateControl(HINSTANCE instance, HWND control, const TemplateItem &item) {
    if (!item.classIsOrdinal) return;
    switch (item.classOrdinal) {
        case kButtonClass:
        case kStaticClass:
            if (!item.titleIsOrdinal) {
                SetWindowTextW(control, item.title.c_str());
            } else if ((item.style & 3) && !(item.classOrdinal == kStaticClass && (item.style & 0x0F) == SS_BITMAP)) {
                ReplaceImage(instance, control, IMAGE_ICON, item.titleOrdinal);
            } else if (item.style & 0x0C) {
                ReplaceImage(instance, control, IMAGE_BITMAP, item.titleOrdinal);
            }
            break;
        case kListBoxClass: {
            LRESULT selection = SendMessageW(control, LB_GETCURSEL, 0, 0);
            if (selection != LB_ERR) SendMessageW(control, LB_SETCURSEL, selection, 0);  // scrolls it into view
            break;
        }
        case kComboBoxClass: {
            LRESULT selection = SendMessageW(control, CB_GETCURSEL, 0, 0);
            if (selection != CB_ERR) SendMessageW(control, CB_SETCURSEL, selection, 0);
            break;
        }
    }
}

}  // namespace

bool ApplyDialogLayout(HINSTANCE instance, HWND dialog, UINT templateId) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(instance, found);
    const BYTE *data = loaded ? static_cast<const BYTE *>(LockResource(loaded)) : nullptr;
    if (!data) return false;
    // Read whole before anything moves, so a damaged template moves nothing.
    std::vector<TemplateItem> items;
    if (!ReadTemplate(data, SizeofResource(instance, found), items)) return false;

    HDWP moves = BeginDeferWindowPos(static_cast<int>(items.size()));
    int unnamed = 0;
    for (const TemplateItem &item : items) {
        if (item.id == 0xFFFF) ++unnamed;
        HWND control = GetDlgItem(dialog, item.id);
        if (!control) continue;
        RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog, &r);
        if (moves)
            moves = DeferWindowPos(moves, control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   SWP_NOZORDER);
        UpdateControl(instance, control, item);
    }
    if (moves) EndDeferWindowPos(moves);
    return unnamed < 2;
}
