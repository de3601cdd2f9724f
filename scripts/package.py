#!/usr/bin/env python3
"""Builds what a user downloads, from the cross build in build/win/bin:

    build/package/Zorvane-Setup.exe       the installer (NSIS)
    build/package/Zorvane-portable.zip    the same program folder to unpack anywhere

The program folder holds the three programs (and any DLL beside them), Readme.html, the
help pages and the sample macros in RK_MACRO (Shift-JIS with CR LF, as the editor writes
macro files)."""
import pathlib
import shutil
import subprocess
import sys
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[1]
BIN = ROOT / 'build' / 'win' / 'bin'
OUT = ROOT / 'build' / 'package'
STAGE = OUT / 'Zorvane'
PROGRAMS = ['Zorvane.exe', 'RkEngine.exe', 'RkEditor.exe']


def stage():
    shutil.rmtree(STAGE, ignore_errors=True)
    (STAGE / 'RK_MACRO').mkdir(parents=True)
    for name in PROGRAMS + [p.name for p in BIN.glob('*.dll')] + ['Readme.html']:
        shutil.copy2(BIN / name, STAGE / name)
    shutil.copytree(BIN / 'help', STAGE / 'help')
    for sample in sorted((ROOT / 'installer' / 'samples').glob('*.txt')):
        text = sample.read_text(encoding='utf-8').replace('\r\n', '\n').replace('\n', '\r\n')
        (STAGE / 'RK_MACRO' / sample.name).write_bytes(text.encode('cp932'))


def installer():
    setup = OUT / 'Zorvane-Setup.exe'
    subprocess.run(['makensis', '-V2', '-INPUTCHARSET', 'UTF8', f'-DSTAGE={STAGE}',
                    f'-DICON={ROOT / "res" / "launcher.ico"}', f'-DOUTFILE={setup}',
                    str(ROOT / 'installer' / 'zorvane.nsi')], check=True)
    return setup


def portable():
    archive = OUT / 'Zorvane-portable.zip'
    with zipfile.ZipFile(archive, 'w', zipfile.ZIP_DEFLATED) as z:
        for path in sorted(STAGE.rglob('*')):
            # Names inside the archive in UTF-8 (flagged so), as current unzip tools expect.
            z.write(path, 'Zorvane/' + path.relative_to(STAGE).as_posix())
    return archive


def main():
    stage()
    print(installer())
    print(portable())
    return 0


if __name__ == '__main__':
    sys.exit(main())
