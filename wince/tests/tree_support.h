// A tree view on a parent that records the tree's notifications and gives
// the answers a test chooses, and helpers to build and read a tree.
#pragma once

#include <windows.h>

#include <aygshell.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dialog_support.h"

namespace tree_test {

struct Note {
    UINT code;
    HTREEITEM item;  // itemNew (itemOld for a deletion; the item of a gesture)
    UINT action = 0;
    HTREEITEM old = nullptr;  // itemOld of a selection change
    bool operator==(const Note &o) const {
        return code == o.code && item == o.item && action == o.action && old == o.old;
    }
};

inline std::vector<Note> &Notes() {
    static std::vector<Note> notes;
    return notes;
}
// What the parent answers to a notification code; 0 when not listed.
inline std::map<UINT, LRESULT> &Answers() {
    static std::map<UINT, LRESULT> answers;
    return answers;
}

inline LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_NOTIFY) return DefWindowProcW(hwnd, msg, wParam, lParam);
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    Note n{hdr->code, nullptr};
    switch (hdr->code) {
        case TVN_SELCHANGINGW:
        case TVN_SELCHANGEDW:
        case TVN_ITEMEXPANDINGW:
        case TVN_ITEMEXPANDEDW: {
            auto *nm = reinterpret_cast<NMTREEVIEWW *>(lParam);
            n.item = nm->itemNew.hItem;
            n.action = nm->action;
            n.old = nm->itemOld.hItem;
            break;
        }
        case TVN_DELETEITEMW:
            n.item = reinterpret_cast<NMTREEVIEWW *>(lParam)->itemOld.hItem;
            break;
        case NM_RECOGNIZEGESTURE:
        case GN_CONTEXTMENU:
            n.item = reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(reinterpret_cast<NMRGINFO *>(lParam)->dwItemSpec));
            break;
        case NM_CLICK:
            break;
        default:
            return 0;  // focus, keys and display information are not recorded
    }
    Notes().push_back(n);
    auto it = Answers().find(hdr->code);
    return it == Answers().end() ? 0 : it->second;
}

constexpr DWORD kLinesAndButtons = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;

class TreeTest : public dialog_test::DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = u"TreeParent";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, u"TreeParent", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 nullptr, nullptr);
        made.push_back(parent);
        Notes().clear();
        Answers().clear();
    }
    void TearDown() override {
        DialogTest::TearDown();
        UnregisterClassW(u"TreeParent", nullptr);
        Notes().clear();
        Answers().clear();
    }
    HWND MakeTree(DWORD style, RECT r = {10, 20, 130, 120}) {
        tree = CreateWindowExW(0, WC_TREEVIEWW, u"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent, reinterpret_cast<HMENU>(100), nullptr, nullptr);
        return tree;
    }
    HTREEITEM Insert(HTREEITEM under, HTREEITEM after, const char16_t *text, LPARAM param = 0) {
        TVINSERTSTRUCTW ins{};
        ins.hParent = under;
        ins.hInsertAfter = after;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = const_cast<LPWSTR>(text);
        ins.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    }
    HTREEITEM Next(HTREEITEM from, UINT code) {
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(from)));
    }
    std::u16string Text(HTREEITEM item) {
        WCHAR buffer[64] = u"?";
        TVITEMW it{};
        it.mask = TVIF_TEXT;
        it.hItem = item;
        it.pszText = buffer;
        it.cchTextMax = 64;
        if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return u"<bad>";
        return buffer;
    }
    UINT State(HTREEITEM item) {
        TVITEMW it{};
        it.mask = TVIF_STATE;
        it.hItem = item;
        it.stateMask = 0xFFFF;
        it.state = 0xDEAD;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
        return it.state;
    }
    bool Expanded(HTREEITEM item) { return (State(item) & TVIS_EXPANDED) != 0; }
    // The whole tree as "a(b,c),d", walked with TVGN_CHILD and TVGN_NEXT.
    std::u16string Outline(HTREEITEM under = TVI_ROOT) {
        std::u16string out;
        for (HTREEITEM i = Next(under, TVGN_CHILD); i; i = Next(i, TVGN_NEXT)) {
            if (!out.empty()) out += u",";
            out += Text(i);
            if (Next(i, TVGN_CHILD)) out += u"(" + Outline(i) + u")";
        }
        return out;
    }
    RECT ItemRect(HTREEITEM item, BOOL textOnly) {
        // The item's handle goes in at the start of the rectangle.
        RECT r{};
        std::memcpy(&r, &item, sizeof item);
        if (!SendMessageW(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r))) return RECT{-1, -1, -1, -1};
        return r;
    }
    // A screen point at a client point of the tree.
    POINT OnScreen(POINT client) {
        ClientToScreen(tree, &client);
        return client;
    }
    POINT LabelCentre(HTREEITEM item) {
        RECT r = ItemRect(item, TRUE);
        return OnScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    HWND parent = nullptr, tree = nullptr;
};

}  // namespace tree_test
