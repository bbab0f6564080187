// The program's entry point, provided by the framework as the device's
// application frameworks do.
#include "appkit/Application.h"

#if defined(__MINGW32__)
// The desktop toolchain's wide entry point, the device's WinMain.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
#else
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
#endif
{
    return Application::Start(instance, commandLine, show);
}
