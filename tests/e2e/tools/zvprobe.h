// What zvtool and zvprobe.dll exchange. zvtool hooks a window's thread with the DLL's
// ZvProbeHook (WH_CALLWNDPROC) and sends the window kProbeMessage with its own process id;
// the hook, running inside the program, does the request written in the shared block
// "Local\ZvProbe.<pid>" and writes its answer there: the layout of a dialog measured with
// the fonts its controls really show, a WM_DPICHANGED sent as the system would, the items
// of the program's open pop-up menus, or the text an owner-drawn list draws.
#pragma once

#include <windows.h>

namespace zvprobe {

inline constexpr wchar_t kProbeMessage[] = L"ZvProbeRequest";
inline constexpr char kHookName[] = "ZvProbeHook";
inline constexpr int kMaxControls = 160;

enum Command : UINT {
    kLayout = 1,
    kDpiChange = 2,
    kMenuItems = 3,  // one entry an item of each open menu: id, text, item (the menu's place)
    kDrawnText = 4,  // one entry a text the list draws: id (its item), text, colour
};

// What a control's text needs, by kind.
enum TextKind : int {
    kNoText = 0,    // no text to show (edits, lists, images, owner-drawn buttons)
    kStatic = 1,    // a label: the text wrapped (or not) in the control's width
    kPush = 2,      // a push button: one line inside the button
    kCheck = 3,     // a check box or radio button: box and text
    kGroup = 4,     // a group box: its caption on the top edge
    kLineList = 5,  // an owner-drawn list of fixed items: two text lines an item
};

struct Control {
    wchar_t cls[32];
    wchar_t text[256];
    wchar_t face[32];  // its font's face
    int id;
    DWORD style;
    BOOL visible;
    RECT rect;        // in the client coordinates of the measured window
    SIZE client;      // its client area
    int kind;         // TextKind
    SIZE textSize;    // the text as the control draws it: DrawText's size in its width
    SIZE idealSize;   // BCM_GETIDEALSIZE of a button (0, 0 when it has none)
    LONG fontHeight;  // the font's height field
    int lineHeight;   // the font's line height (tmHeight)
    int itemHeight;   // an owner-drawn list's item height
    SIZE imageSize;   // the image a tool bar, picture or icon control shows
    int item;         // kMenuItems: the menu's place, the front one first
    DWORD flags;      // kMenuItems: MFT_* | MFS_* of the item, and MF_POPUP for a submenu
    COLORREF colour;  // kDrawnText: the text's colour
};

struct Block {
    // Request.
    UINT command;
    HWND target;
    UINT dpi;   // kDpiChange: the new DPI
    RECT rect;  // kDpiChange: the suggested rectangle (empty: the window's, rescaled)
    // Answer.
    UINT done;  // 1 once the hook did the request
    UINT windowDpi;
    SIZE clientSize;
    int count;
    Control controls[kMaxControls];
};

}  // namespace zvprobe
