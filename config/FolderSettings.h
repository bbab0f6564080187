// The one persistent configuration: which folder the Today item shows, which
// kinds of documents it lists, its grid and its captions.
#pragma once

#include <windows.h>

#include <string>

#include "config/WideString.h"

class FolderSettings {
   public:
    FolderSettings();  // loads at once
    virtual ~FolderSettings();

    void Load();
    void Save();

    WideString GetFolder() const { return folder; }
    void SetFolder(const WideString &value) { folder = value; }
    bool GetSubfolders() const { return subfolders; }
    void SetSubfolders(bool value) { subfolders = value; }
    bool GetNoTemplates() const { return noTemplates; }
    void SetNoTemplates(bool value) { noTemplates = value; }
    int GetRows() const { return rows; }
    void SetRows(int value);
    int GetCols() const { return cols; }
    void SetCols(int value);

    // What every reader of the flags uses: sizes need room (at most two
    // columns), dates more (one column), and "all files" implies each kind.
    bool GetShowSize() const { return showSize && cols <= 2; }
    bool GetShowDate() const { return showDate && cols <= 1; }
    bool GetShowText() const { return showAll || showText; }
    bool GetShowPocketWord() const { return showAll || showPocketWord; }
    bool GetShowPocketExcel() const { return showAll || showPocketExcel; }
    bool GetShowNotes() const { return showAll || showNotes; }
    bool GetShowAll() const { return showAll; }

    void SetShowSize(bool value) { showSize = value; }
    void SetShowDate(bool value) { showDate = value; }
    void SetShowText(bool value) { showText = value; }
    void SetShowPocketWord(bool value) { showPocketWord = value; }
    void SetShowPocketExcel(bool value) { showPocketExcel = value; }
    void SetShowNotes(bool value) { showNotes = value; }
    void SetShowAll(bool value) { showAll = value; }

   private:
    WideString folder;
    bool subfolders = false;
    bool noTemplates = true;
    int rows = 4;
    int cols = 2;
    bool showSize = false;
    bool showDate = false;
    bool showText = true;
    bool showPocketWord = true;
    bool showPocketExcel = true;
    bool showNotes = true;
    bool showAll = false;
};
