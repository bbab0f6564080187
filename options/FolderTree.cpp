#include "options/FolderTree.h"

#include <shellapi.h>

#include <vector>

namespace {

constexpr UINT kFolderItemMask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
// Gesture notifications a tree sends before it times a hold.
constexpr UINT kGestureCode = static_cast<UINT>(-16);
constexpr UINT kGestureCodeOther = static_cast<UINT>(-50);

WideString ListingPattern(const WideString &path) {
    return path + (!path.empty() && path.back() == '\\' ? TEXT("*.*") : TEXT("\\*.*"));
}

int SmallIconIndex(const WideString &path) {
    SHFILEINFO info{};
    SHGetFileInfo(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
}

bool IsFolder(const WIN32_FIND_DATAW &entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

WideString JoinPath(const WideString &folder, const WideString &name) {
    if (folder.empty()) return name;
    if (folder == TEXT("\\")) return TEXT("\\") + name;
    return folder + TEXT("\\") + name;
}

bool HasSubfolder(const WideString &path) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(ListingPattern(path).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do found = IsFolder(entry);
    while (!found && FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}

const MessageMap &FolderTree::Messages() const {
    using H = Handlers<FolderTree>;
    static const MessageMap map(&TreeControl::Messages(), {
                                                              H::Reflected(TVN_ITEMEXPANDINGW, &FolderTree::OnItemExpanding),
                                                              H::Reflected(kGestureCode, &FolderTree::OnGesture),
                                                              H::Reflected(kGestureCodeOther, &FolderTree::OnGesture),
                                                              H::Message(WM_LBUTTONDOWN, &FolderTree::OnTap),
                                                          });
    return map;
}

void FolderTree::OnSubclassed() {
    SHFILEINFO info{};
    auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfo(TEXT("\\"), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    SetImageList(images, TVSIL_NORMAL);
    DeleteAllItems();
    if (HTREEITEM root = AddFolderItem(TVI_ROOT, WideString(), rootName)) ExpandItem(root);
}

void FolderTree::InsertPlaceholder(HTREEITEM item) { InsertItem(TVIF_TEXT, TEXT(""), 0, 0, item, TVI_LAST); }

HTREEITEM FolderTree::AddFolderItem(HTREEITEM parent, const WideString &parentPath, const WideString &name) {
    WideString path = JoinPath(parentPath, name);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return nullptr;
    int icon = SmallIconIndex(path);
    HTREEITEM item = InsertItem(kFolderItemMask, name.c_str(), icon, icon, parent, TVI_LAST);
    if (item && (attributes & FILE_ATTRIBUTE_DIRECTORY) && HasSubfolder(path)) InsertPlaceholder(item);
    return item;
}

void FolderTree::FillChildren(HTREEITEM item) {
    // A folder without subfolders has no placeholder; deleting "no item"
    // would empty the whole tree.
    if (HTREEITEM placeholder = GetChildItem(item)) DeleteItem(placeholder);
    WideString folder = ItemPath(item);
    std::vector<WideString> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(JoinPath(folder, TEXT("*.*")).c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do
            if (IsFolder(entry)) names.push_back(entry.cFileName);
        while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    // Adjacent swaps only on a strict order keep names equal but for case
    // in the order of the listing.
    for (bool swapped = names.size() > 1; swapped;) {
        swapped = false;
        for (size_t i = 0; i + 1 < names.size(); ++i)
            if (lstrcmpiW(names[i].c_str(), names[i + 1].c_str()) > 0) {
                names[i].swap(names[i + 1]);
                swapped = true;
            }
    }
    for (const WideString &name : names) AddFolderItem(item, folder, name);
}

void FolderTree::ClearChildren(HTREEITEM item) {
    while (HTREEITEM child = GetChildItem(item))
        if (!DeleteItem(child)) break;
    InsertPlaceholder(item);
}

void FolderTree::ExpandItem(HTREEITEM item) {
    if (GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) return;
    FillChildren(item);
    expanding = true;
    Expand(item, TVE_EXPAND);
    expanding = false;
}

void FolderTree::OnItemExpanding(NMHDR *header, LRESULT *result) {
    auto *change = reinterpret_cast<NMTREEVIEWW *>(header);
    if (change->action == TVE_COLLAPSE) ClearChildren(change->itemNew.hItem);
    else if (change->action == TVE_EXPAND && !expanding) FillChildren(change->itemNew.hItem);
    *result = 0;
}

void FolderTree::OnGesture(NMHDR *, LRESULT *result) { *result = 1; }

// Taps go to the tree itself, never to the dialog's tap handling.
LRESULT FolderTree::OnTap(WPARAM, LPARAM) { return Default(); }

WideString FolderTree::ItemPath(HTREEITEM item) const {
    if (!item || item == TVI_ROOT) return WideString();
    return JoinPath(ItemPath(GetParentItem(item)), GetItemText(item));
}

bool FolderTree::SelectPath(const WideString &path) {
    if (path.empty() || path[0] != '\\') return false;
    WideString rest = path.substr(1);
    HTREEITEM current = GetRootItem();
    for (;;) {
        if (rest.empty() || rest == TEXT("\\")) {
            EnsureVisible(current);
            SelectItem(current);
            return true;
        }
        ExpandItem(current);
        size_t slash = rest.find('\\');
        WideString head = rest.substr(0, slash);
        rest = slash == WideString::npos ? WideString() : rest.substr(slash + 1);
        HTREEITEM match = nullptr;
        for (HTREEITEM child = GetChildItem(current); child && !match; child = GetNextSiblingItem(child))
            if (lstrcmpiW(GetItemText(child).c_str(), head.c_str()) == 0) match = child;
        if (!match) {
            EnsureVisible(current);
            SelectItem(current);
            return false;
        }
        current = match;
    }
}

WideString FolderTree::SelectedPath() const { return ItemPath(GetSelectedItem()); }
