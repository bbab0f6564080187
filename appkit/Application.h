// The application object: one static instance per program. The program's
// entry point hands it the instance and calls InitInstance once; a false
// result ends the program without a message loop of its own.
#pragma once

#include <windows.h>

class Window;

class Application {
   public:
    Application();
    virtual ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    // The program's one application object, or null before it is built.
    static Application *Current();
    HINSTANCE InstanceHandle() const { return instance_; }
    LPCWSTR CommandLine() const { return commandLine_; }

    // The window whose closing ends the message loop; null when there is none.
    Window *MainWindow() const { return mainWindow_; }
    void SetMainWindow(Window *window) { mainWindow_ = window; }

    virtual BOOL InitInstance() { return TRUE; }
    // The message loop, run when InitInstance succeeds; its exit code.
    virtual int Run();
    virtual int ExitInstance() { return exitCode_; }

    // What the entry point calls: the whole life of the program.
    static int Start(HINSTANCE instance, LPWSTR commandLine, int show);

   private:
    HINSTANCE instance_ = nullptr;
    LPCWSTR commandLine_ = nullptr;
    Window *mainWindow_ = nullptr;
    int exitCode_ = 0;
};

// The module whose resources the program's dialogs, menus and strings come
// from: the application's instance, or the running program's module.
HINSTANCE ProgramInstance();
