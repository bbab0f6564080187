// The folder chooser's tree: the device's folders under one root item "\",
// listed when an item expands and forgotten when it collapses.
#pragma once

#include "appkit/TreeControl.h"
#include "config/WideString.h"

// The folder and a name in it, joined with exactly one backslash.
WideString JoinPath(const WideString &folder, const WideString &name);
// Whether the folder holds at least one folder.
bool HasSubfolder(const WideString &path);

class FolderTree : public TreeControl {
   public:
    bool expanding = false;
    WideString rootName = TEXT("\\");

    HTREEITEM AddFolderItem(HTREEITEM parent, const WideString &parentPath, const WideString &name);
    void FillChildren(HTREEITEM item);
    void ClearChildren(HTREEITEM item);
    void ExpandItem(HTREEITEM item);
    WideString ItemPath(HTREEITEM item) const;
    // Selects the deepest existing folder along path; true when all of it exists.
    bool SelectPath(const WideString &path);
    WideString SelectedPath() const;

   protected:
    void OnSubclassed() override;
    const MessageMap &Messages() const override;

   private:
    void OnItemExpanding(NMHDR *header, LRESULT *result);
    void OnGesture(NMHDR *header, LRESULT *result);
    LRESULT OnTap(WPARAM, LPARAM);
    void InsertPlaceholder(HTREEITEM item);
};
