// The About box: the product's name, version and build, copyright notice
// and icon; Help inside it opens the help file's contents.
#pragma once

#include "appkit/Dialog.h"
#include "appkit/DialogTemplate.h"
#include "config/WideString.h"
#include "options/DialogFrame.h"

// "1.0.1" and "376", the numbers the box shows.
WideString ProgramVersion();
WideString ProgramBuild();

// Runs the box modally for parent; icon -1 means the program icon (128).
INT_PTR ShowAboutBox(LPCWSTR title, LPCWSTR version, LPCWSTR build, LPCWSTR helpTopic, Window *parent, int icon);

class AboutBox : public Dialog {
   public:
    explicit AboutBox(Window *parent);
    ~AboutBox() override;

    WideString title;
    WideString helpTopic;
    WideString version;
    WideString build;
    HICON icon = nullptr;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayoutAboutBox();

   protected:
    BOOL OnInitDialog() override;

   private:
    void CreateLine(Window &line, LPCWSTR text, int top, int bottom);

    DialogFrame frame_;
    Window nameLine_;
    Window versionLine_;
    Window copyrightNotice_;
    Window iconStatic_;
    DialogTemplate template_;
};
