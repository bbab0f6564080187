#include "dump.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "core/unicode.h"
#include "item_report.h"
#include "window.h"

namespace wince {
namespace {

using Json = nlohmann::ordered_json;

Json RectJson(const RECT &r) { return Json::array({r.left, r.top, r.right, r.bottom}); }

std::string Handle(HWND h) {
    char text[24];
    snprintf(text, sizeof text, "0x%lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(h)));
    return text;
}

bool IsCheckable(const Window &w) {
    std::u16string cls = w.cls->name;
    for (char16_t &c : cls)
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
    if (cls != u"button") return false;
    switch (w.style & BS_TYPEMASK) {
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON: case BS_3STATE: case BS_AUTO3STATE:
        case BS_AUTORADIOBUTTON:
            return true;
    }
    return false;
}

// The text as GetWindowText gives it: controls such as edit boxes keep
// their own.
std::u16string TextOf(HWND hwnd) {
    LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return u"";
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    LRESULT got = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? std::min<size_t>(static_cast<size_t>(got), text.size() - 1) : 0);
    return text;
}

Json WindowJson(Window *w, HWND focus) {
    Json j;
    j["handle"] = Handle(w->handle);
    j["class"] = ToUtf8(w->cls->name);
    j["text"] = ToUtf8(TextOf(w->handle));
    j["id"] = static_cast<uint64_t>(w->id);
    j["rect"] = RectJson(WindowRectOnScreen(*w));
    j["style"] = w->style;
    j["exStyle"] = w->exStyle;
    j["visible"] = w->Visible();
    j["enabled"] = w->Enabled();
    if (IsCheckable(*w)) j["checked"] = static_cast<int>(SendMessageW(w->handle, BM_GETCHECK, 0, 0));
    std::vector<ReportedItem> items;
    if (ReportItems(w->handle, items)) {
        Json list = Json::array();
        for (const ReportedItem &item : items) {
            Json i;
            if (item.separator) {
                i["separator"] = true;
            } else if (item.tab) {
                i["text"] = ToUtf8(item.text);
                i["selected"] = item.selected;
            } else {
                i["text"] = ToUtf8(item.text);
                i["id"] = item.id;
                i["enabled"] = item.enabled;
                i["checked"] = item.checked;
                i["selected"] = item.selected;
                if (item.level >= 0) {
                    i["level"] = item.level;
                    i["expanded"] = item.expanded;
                    i["hasButton"] = item.hasButton;
                }
            }
            i["rect"] = RectJson(item.rect);
            list.push_back(i);
        }
        j["items"] = list;
    }
    j["focus"] = w->handle == focus;
    Json drawn = Json::array();
    for (const DrawnText &t : w->drawnText) drawn.push_back(Json{{"text", ToUtf8(t.text)}, {"rect", RectJson(t.rect)}});
    j["drawnText"] = drawn;
    Json children = Json::array();
    for (Window *c : w->children) children.push_back(WindowJson(c, focus));
    j["children"] = children;
    return j;
}

}  // namespace

std::string WindowDumpJson() {
    Json root;
    root["screen"] = Json{{"width", GetSystemMetrics(SM_CXSCREEN)}, {"height", GetSystemMetrics(SM_CYSCREEN)}};
    HWND focus = GetFocus();
    root["focus"] = focus ? Json(Handle(focus)) : Json(nullptr);
    Json windows = Json::array();
    std::vector<Window *> tops = TopLevelWindows();
    for (Window *w : tops) windows.push_back(WindowJson(w, focus));
    root["windows"] = windows;
    return root.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool WriteWindowDump(const std::string &path, std::string *error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out << WindowDumpJson() << "\n";
    if (!out) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace wince
