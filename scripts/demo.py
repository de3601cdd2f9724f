#!/usr/bin/env python3
"""The main job, as a user would see it: RkEngine.exe runs a sample macro under Wine on
a virtual display; the run log (CP932) is printed as UTF-8, then the configuration file,
and a screenshot is saved under build/e2e-artifacts/."""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / 'tests' / 'e2e'))

from wineenv import WineSession  # noqa: E402


def main():
    work = ROOT / 'build' / 'demo'
    work.mkdir(parents=True, exist_ok=True)
    macro = work / 'デモ マクロ.rkm'
    # The sample is kept as UTF-8 text in the repository; macro files are CP932 with CR LF.
    text = (ROOT / 'samples' / 'demo.rkm.txt').read_text(encoding='utf-8')
    macro.write_bytes(text.replace('\n', '\r\n').encode('cp932'))

    session = WineSession.begin('demo')
    try:
        session.reset_user_state()
        print(f'RkEngine.exe /M:"{session.win_path(macro)}"', flush=True)
        rc = session.run(session.bin('RkEngine.exe'), f'/M:"{session.win_path(macro)}"', timeout=120)
        shot = session.screenshot('demo')
        log = session.suite_folder() / 'Zorvane_Log.txt'
        ini = session.suite_folder() / 'Zorvane.ini'
        print(f'exit code {rc}')
        if log.exists():
            print(f'--- run log {log.name} ---')
            print(session.read_cp932(log).replace('\r\n', '\n'), end='')
        if ini.exists():
            print(f'--- configuration file {ini.name} ---')
            print(session.read_cp932(ini).replace('\r\n', '\n'), end='')
        print(f'--- screenshot: {shot}')
        return 0 if rc == 0 else 1
    finally:
        session.stop()


if __name__ == '__main__':
    sys.exit(main())
