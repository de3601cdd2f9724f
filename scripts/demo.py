#!/usr/bin/env python3
"""The main job, as a user would see it: RkEngine.exe runs a sample macro under Wine on
a virtual display. The macro starts Notepad and types a short Japanese report into it;
a screenshot is taken while Notepad shows the text, and the run log (CP932) is printed
as UTF-8 with the configuration file the engine wrote."""
import pathlib
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / 'tests' / 'e2e'))

from wineenv import WineSession  # noqa: E402

PARAM1 = '担当：オストランド 太郎'


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
        args = f'/M:"{session.win_path(macro)}" /1:"{PARAM1}"'
        print(f'RkEngine.exe {args}', flush=True)
        engine = session.start(session.bin('RkEngine.exe'), args)
        log = session.suite_folder() / 'Zorvane_Log.txt'
        ini = session.suite_folder() / 'Zorvane.ini'

        # After the last key the macro waits two seconds: take the picture then.
        shot = None
        deadline = time.time() + 120
        while time.time() < deadline and engine.poll() is None:
            if log.exists() and 'HOME(24)' in log.read_bytes().decode('cp932', errors='replace'):
                time.sleep(0.5)
                shot = session.screenshot('demo')
                break
            time.sleep(0.2)
        engine.wait(timeout=120)
        print(f'exit code {engine.returncode}')
        if log.exists():
            print(f'--- run log {log.name} ---')
            print(session.read_cp932(log).replace('\r\n', '\n'), end='')
        if ini.exists():
            print(f'--- configuration file {ini.name} ---')
            print(session.read_cp932(ini).replace('\r\n', '\n'), end='')
        if shot is None:
            shot = session.screenshot('demo')
        print(f'--- screenshot: {shot}')
        ok = engine.returncode == 0 and log.exists() and 'マクロ処理終了' in session.read_cp932(log)
        return 0 if ok else 1
    finally:
        session.stop()


if __name__ == '__main__':
    sys.exit(main())
