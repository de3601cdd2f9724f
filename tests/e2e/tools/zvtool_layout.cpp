// zvtool commands for the display-scale tests: a dialog's layout measured inside its
// program (zvprobe.dll) and checked, control by control, for text that is cut (the text
// its font draws is larger than the control), controls outside the dialog's client area
// and text covered by another control; and a WM_DPICHANGED sent to a window.
#include "zvtool.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "zvprobe.h"

using namespace zvtool;
using zvprobe::Block;
using zvprobe::Control;

namespace {

// Runs a request (command, with dpi and rect for kDpiChange) inside the program that owns
// target; its answer, or null when the hook did not answer.
std::unique_ptr<Block> Probe(HWND target, UINT command, UINT dpi = 0, RECT rect = {}) {
    wchar_t name[64];
    std::swprintf(name, 64, L"Local\\ZvProbe.%lu", GetCurrentProcessId());
    HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Block), name);
    if (mapping == nullptr)
        return nullptr;
    auto* shared =
        static_cast<Block*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Block)));
    std::unique_ptr<Block> block;
    if (shared != nullptr) {
        ZeroMemory(shared, sizeof(Block));
        shared->command = command;
        shared->target = target;
        shared->dpi = dpi;
        shared->rect = rect;
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dllPath = path;
        dllPath = dllPath.substr(0, dllPath.find_last_of(L'\\') + 1) + L"zvprobe.dll";
        HMODULE dll = LoadLibraryW(dllPath.c_str());
        const auto proc = dll != nullptr ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                               GetProcAddress(dll, zvprobe::kHookName)))
                                         : nullptr;
        const DWORD thread = GetWindowThreadProcessId(target, nullptr);
        HHOOK hook =
            proc != nullptr ? SetWindowsHookExW(WH_CALLWNDPROC, proc, dll, thread) : nullptr;
        if (hook != nullptr) {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(target, RegisterWindowMessageW(zvprobe::kProbeMessage),
                                GetCurrentProcessId(), 0, SMTO_ABORTIFHUNG, 15000, &result);
            UnhookWindowsHookEx(hook);
            if (shared->done != 0)
                block = std::make_unique<Block>(*shared);
        }
        if (dll != nullptr)
            FreeLibrary(dll);
        UnmapViewOfFile(shared);
    }
    CloseHandle(mapping);
    return block;
}

HWND FindTarget(const Args& args, Args& pos) {
    bool form = false;
    std::wstring cls;
    pos.clear();
    for (const auto& a : args) {
        if (a == L"--form")
            form = true;
        else if (a.rfind(L"--class=", 0) == 0)
            cls = a.substr(8);
        else
            pos.push_back(a);
    }
    if (pos.empty())
        return nullptr;
    HWND w = WaitTopLevel(pos[0], false, 10000, cls);
    if (w != nullptr && form)  // the dialog the window shows as its client (the editor's form)
        w = FindWindowExW(w, nullptr, L"#32770", nullptr);
    return w;
}

RECT Clip(const RECT& r, LONG width, LONG height) {
    return {r.left, r.top, r.left + std::min(width, r.right - r.left),
            r.top + std::min(height, r.bottom - r.top)};
}

// Where a control shows its text (or itself, for a control without text).
RECT TextArea(const Control& c, int dpi) {
    const LONG width = c.rect.right - c.rect.left;
    switch (c.kind) {
        case zvprobe::kStatic: {
            const LONG w = std::min(c.textSize.cx, width);
            RECT r = Clip(c.rect, w, c.textSize.cy);
            if ((c.style & SS_TYPEMASK) == SS_RIGHT)
                OffsetRect(&r, width - w, 0);
            else if ((c.style & SS_TYPEMASK) == SS_CENTER)
                OffsetRect(&r, (width - w) / 2, 0);
            return r;
        }
        case zvprobe::kCheck:
            return Clip(c.rect, c.idealSize.cx > 0 ? c.idealSize.cx : width,
                        c.rect.bottom - c.rect.top);
        case zvprobe::kGroup: {
            const int indent = MulDiv(8, dpi, 96);
            RECT r{c.rect.left + indent, c.rect.top, c.rect.left + indent + c.textSize.cx,
                   c.rect.top + c.textSize.cy};
            return r;
        }
        default:
            return c.rect;
    }
}

std::string Size(SIZE s) {
    return std::to_string(s.cx) + "x" + std::to_string(s.cy);
}

// What is wrong with one control's text; empty when it fits.
std::string TextProblem(const Control& c, int dpi) {
    const SIZE room = c.client;
    switch (c.kind) {
        case zvprobe::kStatic:
            if (c.textSize.cx > room.cx || c.textSize.cy > room.cy)
                return "cut: its text needs " + Size(c.textSize) + ", the label is " + Size(room);
            return {};
        case zvprobe::kPush: {
            // Clear of the button's raised edge on both sides.
            const int edge = MulDiv(2, dpi, 96);
            if (c.textSize.cx + 2 * edge > room.cx || c.textSize.cy > room.cy)
                return "cut: its text needs " + Size(c.textSize) + " inside the edges of " +
                       Size(room);
            return {};
        }
        case zvprobe::kCheck:
            if (c.idealSize.cx > room.cx || c.textSize.cy > room.cy)
                return "cut: box and text need " + Size(c.idealSize) + ", the button is " +
                       Size(room);
            return {};
        case zvprobe::kGroup: {
            const int indent = MulDiv(8, dpi, 96);
            if (c.textSize.cx + 2 * indent > room.cx)
                return "cut: its caption needs " + std::to_string(c.textSize.cx + 2 * indent) +
                       " of " + std::to_string(room.cx);
            return {};
        }
        case zvprobe::kLineList:
            if (c.itemHeight < 2 * c.lineHeight)
                return "cut: an item of " + std::to_string(c.itemHeight) +
                       " pixels holds no two lines of " + std::to_string(c.lineHeight);
            return {};
        default:
            return {};
    }
}

std::string ControlName(const Control& c) {
    return JsonString(c.text[0] != 0 ? std::wstring(c.text) : std::wstring(c.cls)) +
           ",\"id\":" + std::to_string(c.id);
}

}  // namespace

ZV_TOOL_COMMAND(
    CmdLayout, L"layout",
    "layout CAPTION [--class=CLS] [--form]: a dialog's controls measured with their "
    "fonts inside its program (zvprobe.dll), as JSON with the offenders: text cut by its "
    "control, a control outside the client area, text covered by another control; --form "
    "measures the dialog a window shows as its client. Exit code 3: offenders") {
    Args pos;
    HWND target = FindTarget(args, pos);
    if (target == nullptr)
        return 1;
    const auto block = Probe(target, zvprobe::kLayout);
    if (block == nullptr) {
        PrintLine("{\"error\":\"the probe did not answer\"}");
        return 1;
    }
    const int dpi = static_cast<int>(block->windowDpi);
    const RECT clientArea{0, 0, block->clientSize.cx, block->clientSize.cy};
    std::string controls;
    std::string offenders;
    auto offend = [&](const Control& c, const std::string& problem) {
        if (!offenders.empty())
            offenders += ",";
        offenders +=
            "{\"control\":" + ControlName(c) + ",\"problem\":" + JsonString(Wide(problem)) + "}";
    };
    for (int i = 0; i < block->count; ++i) {
        const Control& c = block->controls[i];
        if (!controls.empty())
            controls += ",";
        controls += "{\"text\":" + ControlName(c) + ",\"class\":" + JsonString(c.cls) +
                    ",\"kind\":" + std::to_string(c.kind) +
                    ",\"visible\":" + (c.visible ? "true" : "false") +
                    ",\"rect\":" + RectJson(c.rect) + ",\"text_size\":[" +
                    std::to_string(c.textSize.cx) + "," + std::to_string(c.textSize.cy) +
                    "],\"ideal\":[" + std::to_string(c.idealSize.cx) + "," +
                    std::to_string(c.idealSize.cy) + "],\"font\":" + JsonString(c.face) +
                    ",\"font_height\":" + std::to_string(c.fontHeight) +
                    ",\"line_height\":" + std::to_string(c.lineHeight) +
                    ",\"item_height\":" + std::to_string(c.itemHeight) + ",\"image\":[" +
                    std::to_string(c.imageSize.cx) + "," + std::to_string(c.imageSize.cy) + "]}";
        if (!c.visible)
            continue;
        if (const std::string problem = TextProblem(c, dpi); !problem.empty())
            offend(c, problem);
        RECT inside{};
        if (!IntersectRect(&inside, &c.rect, &clientArea) || !EqualRect(&inside, &c.rect))
            offend(c, "outside the client area " + RectJson(clientArea) + ": " + RectJson(c.rect));
        if (c.kind == zvprobe::kNoText || c.kind == zvprobe::kLineList)
            continue;
        const RECT area = TextArea(c, dpi);
        for (int j = 0; j < block->count; ++j) {
            const Control& other = block->controls[j];
            if (j == i || !other.visible || other.kind == zvprobe::kGroup)
                continue;
            const RECT otherArea = TextArea(other, dpi);
            RECT both{};
            if (IntersectRect(&both, &area, &otherArea)) {
                offend(c, "covered by " + Utf8(other.text[0] ? other.text : other.cls) + " (" +
                              std::to_string(other.id) + ")");
            }
        }
    }
    PrintLine("{\"caption\":" + JsonString(WindowText(target)) + ",\"dpi\":" + std::to_string(dpi) +
              ",\"client\":[" + std::to_string(block->clientSize.cx) + "," +
              std::to_string(block->clientSize.cy) + "],\"controls\":[" + controls +
              "],\"offenders\":[" + offenders + "]}");
    return offenders.empty() ? 0 : 3;
}

ZV_TOOL_COMMAND(
    CmdDpiChange, L"dpi-change",
    "dpi-change CAPTION DPI [LEFT TOP RIGHT BOTTOM] [--class=CLS]: sends the window "
    "WM_DPICHANGED from inside its program, with the suggested rectangle (default: its own "
    "rectangle at the new DPI, in its place)") {
    Args pos;
    HWND target = FindTarget(args, pos);
    if (target == nullptr || pos.size() < 2)
        return 2;
    RECT rect{};
    if (pos.size() >= 6)
        rect = {ArgInt(pos, 2, 0), ArgInt(pos, 3, 0), ArgInt(pos, 4, 0), ArgInt(pos, 5, 0)};
    return Probe(target, zvprobe::kDpiChange, static_cast<UINT>(ArgInt(pos, 1, 96)), rect) ? 0 : 1;
}

ZV_TOOL_COMMAND(CmdMenuItems, L"menu-items",
                "menu-items CAPTION: the items of the pop-up menus open in the program of a "
                "top-level window, read inside it (JSON, one object an item: menu, its place "
                "among the open menus, the front one first; id, text, popup, separator, "
                "grayed, checked). Exit code 1: no menu open") {
    Args pos;
    HWND target = FindTarget(args, pos);
    if (target == nullptr)
        return 2;
    const auto block = Probe(target, zvprobe::kMenuItems);
    if (block == nullptr)
        return 2;
    std::string items;
    for (int i = 0; i < block->count; ++i) {
        const Control& c = block->controls[i];
        auto flag = [&](const char* name, DWORD bit) {
            return std::string(",\"") + name + "\":" + ((c.flags & bit) != 0 ? "true" : "false");
        };
        items += i > 0 ? ",{\"menu\":" : "{\"menu\":";
        items += std::to_string(c.item) + ",\"id\":" + std::to_string(c.id) +
                 ",\"text\":" + JsonString(c.text) + flag("popup", MF_POPUP) +
                 flag("separator", MFT_SEPARATOR) + flag("grayed", MFS_GRAYED) +
                 flag("checked", MFS_CHECKED) + "}";
    }
    PrintLine("[" + items + "]");
    return block->count > 0 ? 0 : 1;
}

ZV_TOOL_COMMAND(CmdDrawnText, L"drawn-text",
                "drawn-text CAPTION ID [--form]: the text an owner-drawn list box "
                "draws for each of its items, drawn inside its program into a metafile and read "
                "back (JSON: one array an item, of {text, colour} in drawing order)") {
    Args pos;
    HWND top = FindTarget(args, pos);
    HWND list = top != nullptr && pos.size() > 1 ? GetDlgItem(top, ArgInt(pos, 1, 0)) : nullptr;
    if (list == nullptr)
        return 2;
    const auto block = Probe(list, zvprobe::kDrawnText);
    if (block == nullptr)
        return 1;
    std::vector<std::string> items;
    for (int i = 0; i < block->count; ++i) {
        const Control& c = block->controls[i];
        if (c.id < 0)
            continue;
        if (static_cast<size_t>(c.id) >= items.size())
            items.resize(static_cast<size_t>(c.id) + 1);
        char colour[8];
        std::snprintf(colour, sizeof colour, "%02x%02x%02x", GetRValue(c.colour),
                      GetGValue(c.colour), GetBValue(c.colour));
        std::string& item = items[static_cast<size_t>(c.id)];
        item += (item.empty() ? "{\"text\":" : ",{\"text\":") + JsonString(c.text) +
                ",\"colour\":\"" + colour + "\"}";
    }
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "[" : ",[") + item + "]";
    PrintLine("[" + out + "]");
    return 0;
}
