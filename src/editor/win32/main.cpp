// RkEditor.exe: edits one RK macro file per window.
#include <windows.h>

#include "editor/win32/editor_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    zv::CRkEditorApp app;
    if (!app.InitInstance(instance, show))
        return 0;
    return app.Run();
}
