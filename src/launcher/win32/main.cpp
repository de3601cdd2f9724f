// Zorvane.exe: the resident launcher.
#include <windows.h>

#include "launcher/win32/launcher_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    zv::CRkHotkeyApp app;
    if (!app.InitInstance(instance))
        return 0;
    return app.Run();
}
