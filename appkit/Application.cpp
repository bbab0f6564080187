#include "appkit/Application.h"

#include "appkit/Window.h"

namespace {
Application *current = nullptr;
}

Application::Application() {
    if (!current) current = this;
}

Application::~Application() {
    if (current == this) current = nullptr;
}

Application *Application::Current() { return current; }

int Application::Run() {
    MSG msg;
    for (;;) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) Window::DeleteTemporaryObjects();
        if (!GetMessageW(&msg, nullptr, 0, 0)) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    exitCode_ = static_cast<int>(msg.wParam);
    return ExitInstance();
}

int Application::Start(HINSTANCE instance, LPWSTR commandLine, int) {
    Application *app = Current();
    if (!app) return -1;
    app->instance_ = instance;
    app->commandLine_ = commandLine;
    int result = app->InitInstance() ? app->Run() : app->ExitInstance();
    Window::DeleteTemporaryObjects();
    return result;
}

HINSTANCE ProgramInstance() {
    Application *app = Application::Current();
    return app && app->InstanceHandle() ? app->InstanceHandle() : GetModuleHandleW(nullptr);
}
