#!/usr/bin/env python3
"""Checks the source layout rules; prints one line per check and each violation.

- Portable code (any file outside a win32/ folder under src/ and tests/unit) includes no
  Win32 system header and no header under a win32/ folder.
- A quoted include without a folder names a file in the includer's own folder; every
  other include of src/ is rooted at src/ ("engine/app.h").
- Window and dialog procedures exist only in the window and dialog bases.
- A program's folder (engine, launcher, editor) includes nothing of another program's
  folder: what two programs share lives in common/.
- Handles, GDI objects, menus, icons, image lists and device contexts are freed only by
  the holders of src/common/win32/handles.h.

Exit status 0 when every check passes. Used by tests/run_all.py (unit tier).
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]
SYSTEM_HEADERS = {'windows.h', 'winuser.h', 'shellapi.h', 'commctrl.h', 'shlobj.h', 'ole2.h',
                  'objbase.h', 'imm.h', 'unknwn.h', 'winbase.h', 'wingdi.h', 'oleidl.h'}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
# A window or dialog procedure takes the window first; hook procedures (a code first) are
# callbacks of their own.
PROCEDURE = re.compile(r'\b(LRESULT|INT_PTR)\s+CALLBACK\s+\w+\s*\(\s*HWND\b')
PROGRAMS = {'engine', 'launcher', 'editor'}
# The calls that free what the holders hold.
RAW_FREE = re.compile(r'(?<![\w.>:])(::\s*)?(CloseHandle|DeleteObject|DeleteDC|ReleaseDC|DestroyMenu|'
                      r'DestroyIcon|DestroyCursor|ImageList_Destroy|EndPaint|'
                      r'FindCloseChangeNotification|UnregisterWaitEx)\s*\(')
HOLDERS = 'src/common/win32/handles.h'
BASES = {'src/common/win32/window.cpp', 'src/common/win32/window.h',
         'src/common/win32/dialog.cpp', 'src/common/win32/dialog.h'}


def sources(*folders):
    for folder in folders:
        for path in sorted((ROOT / folder).rglob('*')):
            if path.suffix in ('.h', '.cpp', '.rc'):
                yield path


def strip_comments(text):
    return re.sub(r'//[^\n]*|/\*.*?\*/', '', text, flags=re.S)


def check(path):
    rel = path.relative_to(ROOT).as_posix()
    portable = '/win32/' not in rel and not rel.startswith(('tests/win32/', 'tests/e2e/'))
    text = path.read_text(encoding='utf-8', errors='replace')
    problems = []
    for kind, name in INCLUDE.findall(text):
        base = name.rsplit('/', 1)[-1].lower()
        if portable and (base in SYSTEM_HEADERS or '/win32/' in '/' + name):
            problems.append(f'{rel}: portable code includes {name}')
        if kind == '"' and '/' not in name and not (path.parent / name).exists():
            problems.append(f'{rel}: "{name}" is not beside it; name it by its folder')
        if kind == '"' and rel.startswith('src/') and '/' not in name:
            problems.append(f'{rel}: "{name}" is not rooted at src/')
        program = rel.split('/')[1] if rel.startswith('src/') else ''
        other = name.split('/', 1)[0]
        if (program in PROGRAMS and other in PROGRAMS and other != program):
            problems.append(f'{rel}: includes {name} of another program')
    if rel.startswith('src/') and rel not in BASES and PROCEDURE.search(text):
        problems.append(f'{rel}: a window or dialog procedure outside the window and dialog bases')
    if rel.startswith('src/') and rel != HOLDERS:
        for match in RAW_FREE.finditer(strip_comments(text)):
            problems.append(f'{rel}: {match.group(2)} by hand; free it through a holder of handles.h')
    return problems


def main():
    problems = []
    count = 0
    for path in sources('src', 'tests/unit', 'tests/win32', 'benchmarks', 'tests/fuzz'):
        count += 1
        problems += check(path)
    for p in problems:
        print(p)
    print(f'layers: {count} files checked, {len(problems)} problems')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
