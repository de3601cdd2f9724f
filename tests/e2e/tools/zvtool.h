// zvtool.exe: the e2e tests' hands inside Wine. Each command is a small function
// registered by name; files named zvtool_*.cpp add their own commands with
// ZV_TOOL_COMMAND. Output is UTF-8 on standard output; the exit code tells success (0).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zvtool {

using Args = std::vector<std::wstring>;  // the command's own arguments
using CommandFn = int (*)(const Args&);

struct Registrar {
    Registrar(const wchar_t* name, CommandFn fn, const char* usage);
};

#define ZV_TOOL_COMMAND(id, name, usage)                            \
    static int id(const zvtool::Args& args);                        \
    static const zvtool::Registrar id##_registrar(name, id, usage); \
    static int id(const zvtool::Args& args)

// Output helpers.
std::string Utf8(const std::wstring& w);
std::wstring Wide(const std::string& utf8);
void Print(const std::string& utf8);
void PrintLine(const std::string& utf8);
std::string JsonString(const std::wstring& w);

// Argument helpers.
int ArgInt(const Args& args, size_t index, int def);

// Window helpers.
std::wstring WindowText(HWND w);  // WM_GETTEXT, works across processes
std::wstring ClassNameOf(HWND w);
// First top-level window (Z order) whose caption equals (or, partial, contains) caption
// and, when cls is not empty, whose class is cls.
HWND FindTopLevel(const std::wstring& caption, bool partial, const std::wstring& cls = L"");
// Brings w to the front, attached to the input of the window in front for the call;
// true when w is in front afterwards.
bool Activate(HWND w);
// Polls FindTopLevel every 50 ms up to timeoutMs.
HWND WaitTopLevel(const std::wstring& caption, bool partial, int timeoutMs,
                  const std::wstring& cls = L"");

}  // namespace zvtool
