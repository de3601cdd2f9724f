"""A Wine session for the win32 and e2e test tiers.

A WineSession owns an Xvfb display and a private WINEPREFIX made from a booted
template (build/wine/template, made once: wineboot, a 1280x800 virtual desktop, CJK
font replacements). Programs run with LANG=ja_JP.UTF-8 (a Japanese Windows: code page
932) unless another locale is asked for, at the system DPI 96 unless another is asked for
(WineSession(dpi=144) is a 150 % display: LogPixels is set before any program starts).

    from wineenv import WineSession, shared_session
    s = shared_session()                    # one per test run, stopped at exit
    s = shared_session(dpi=144)             # another one at 150 %
    s.bin('RkEngine.exe')                   # Linux path of a program in build/win/bin
    s.win_path(path)                        # 'Z:\\...' for a Linux path
    p = s.start(s.bin('RkEngine.exe'), '/M:"Z:\\tmp\\a.rkm"')   # exact command line tail
    rc = s.run(exe, raw_args, timeout=60)   # same, waits, returns the exit code
    info = s.tool_json('wait-window', 'RkEngine', '5000')   # zvtool.exe commands
    s.press('RkEngine', 1)                   # click OK of a message box
    s.appdata / 'Ostrand' / 'Zorvane'        # roaming application-data folder
    s.read_cp932(path)                      # text of a CP932 file
    ini_section(text, 'RkEngineSettings')   # keys and values of one section
    s.screenshot('name')                    # PNG under build/e2e-artifacts/
    s.reset_user_state()                    # removes the suite's per-user files and folders

zvtool.exe commands (tests/e2e/tools/zvtool*.cpp): windows, wait-window, wait-gone,
press, close, show, exec, processes, foreground, and what other files register.
"""
import atexit
import json
import os
import pathlib
import shutil
import signal
import subprocess
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = ROOT / 'build'
WIN_BIN = BUILD / 'win' / 'bin'
WIN_TESTS = BUILD / 'win' / 'tests'
ARTIFACTS = BUILD / 'e2e-artifacts'
TEMPLATE = BUILD / 'wine' / 'template'
TEMPLATE_VERSION = '3'

BASE_ENV = {
    'WINEDEBUG': '-all',
    'WINEDLLOVERRIDES': 'mscoree,mshtml=',
    'WINEARCH': 'win64',
}

FONT_REPLACEMENTS = {
    'ＭＳ Ｐゴシック': 'Noto Sans CJK JP',
    'ＭＳ ゴシック': 'Noto Sans CJK JP',
    'MS UI Gothic': 'Noto Sans CJK JP',
    'MS Shell Dlg': 'Noto Sans CJK JP',
    'MS Shell Dlg 2': 'Noto Sans CJK JP',
}


class WineError(RuntimeError):
    pass


def _start_xvfb():
    r, w = os.pipe()
    proc = subprocess.Popen(
        ['Xvfb', '-displayfd', str(w), '-screen', '0', '1280x800x24', '-nolisten', 'tcp'],
        pass_fds=[w], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(w)
    data = b''
    deadline = time.time() + 30
    while not data.endswith(b'\n') and time.time() < deadline:
        chunk = os.read(r, 16)
        if not chunk:
            break
        data += chunk
    os.close(r)
    if not data.strip():
        proc.kill()
        raise WineError('Xvfb did not report a display')
    return proc, ':' + data.decode().strip()


def _wine(env, *args, timeout=120, check=True):
    res = subprocess.run(['wine', *args], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         timeout=timeout)
    if check and res.returncode != 0:
        raise WineError(f'wine {args} failed: {res.stderr.decode(errors="replace")[-500:]}')
    return res


def _make_template(display):
    """Boots a prefix once and keeps it as the template of every session."""
    marker = TEMPLATE / '.zv-template'
    if marker.exists() and marker.read_text() == TEMPLATE_VERSION:
        return
    shutil.rmtree(TEMPLATE, ignore_errors=True)
    TEMPLATE.parent.mkdir(parents=True, exist_ok=True)
    tmp = TEMPLATE.with_name('template.tmp')
    shutil.rmtree(tmp, ignore_errors=True)
    env = dict(os.environ, **BASE_ENV, WINEPREFIX=str(tmp), DISPLAY=display, LANG='ja_JP.UTF-8')
    subprocess.run(['wineboot', '-i'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=300, check=True)
    _wine(env, 'reg', 'add', r'HKCU\Software\Wine\Explorer', '/v', 'Desktop', '/d', 'Default', '/f')
    _wine(env, 'reg', 'add', r'HKCU\Software\Wine\Explorer\Desktops', '/v', 'Default', '/d', '1280x800', '/f')
    for face, repl in FONT_REPLACEMENTS.items():
        _wine(env, 'reg', 'add', r'HKCU\Software\Wine\Fonts\Replacements', '/v', face, '/d', repl, '/f')
    subprocess.run(['wineserver', '-w'], env=env, timeout=120)
    (tmp / '.zv-template').write_text(TEMPLATE_VERSION)
    tmp.rename(TEMPLATE)


class WineSession:
    def __init__(self, name='e2e', lang='ja_JP.UTF-8', dpi=None):
        self.name = name
        self.lang = lang
        self.dpi = dpi  # the system DPI (LogPixels); None: Wine's default, 96
        self.xvfb = None
        self.display = None
        self.prefix = BUILD / 'wine' / f'run-{name}'
        self.env = None

    # ---- life cycle ----
    @classmethod
    def begin(cls, name='e2e', lang='ja_JP.UTF-8', dpi=None):
        s = cls(name, lang, dpi)
        s._start()
        return s

    def _start(self):
        self.xvfb, self.display = _start_xvfb()
        _make_template(self.display)
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run(['cp', '-a', str(TEMPLATE), str(self.prefix)], check=True)
        self.env = dict(os.environ, **BASE_ENV, WINEPREFIX=str(self.prefix), DISPLAY=self.display, LANG=self.lang,
                        LC_ALL=self.lang)
        self.user = os.environ.get('USER') or pathlib.Path.home().name or 'root'
        users = self.prefix / 'drive_c' / 'users'
        # The prefix's user folder is named after the user that booted the template.
        candidates = [p for p in users.iterdir() if p.is_dir() and p.name not in ('Public', 'public')]
        self.user_dir = candidates[0] if candidates else users / self.user
        self.appdata = self.user_dir / 'AppData' / 'Roaming'
        if self.dpi is not None:
            # Read by every program at its start, the desktop's too.
            self.wine('reg', 'add', r'HKCU\Control Panel\Desktop', '/v', 'LogPixels', '/t',
                      'REG_DWORD', '/d', str(self.dpi), '/f')
        # Start the desktop (explorer) and wineserver once, so later starts are quick.
        self.tool('windows', timeout=120)

    def stop(self):
        if self.env is not None:
            subprocess.run(['wineserver', '-k'], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
            self.env = None
        if self.xvfb is not None:
            try:
                os.killpg(self.xvfb.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            self.xvfb.wait(timeout=30)
            self.xvfb = None

    # ---- paths ----
    @staticmethod
    def bin(name):
        return WIN_BIN / name

    @staticmethod
    def test_program(name):
        return WIN_TESTS / name

    @staticmethod
    def win_path(path):
        return 'Z:' + str(pathlib.Path(path).resolve()).replace('/', '\\')

    def win_path_c(self, path):
        """The C: path of a file inside the prefix's drive_c."""
        rel = pathlib.Path(path).resolve().relative_to(self.drive_c().resolve())
        return 'C:\\' + str(rel).replace('/', '\\')

    def drive_c(self):
        return self.prefix / 'drive_c'

    # ---- programs ----
    def start(self, exe, raw_args='', show=None):
        """Starts exe with the exact command line '"exe" raw_args'; returns the Popen of
        the zvtool process that waits for it (its return code is the program's)."""
        args = ['wine', str(WIN_TESTS / 'zvtool.exe'), 'exec', '--wait']
        if show is not None:
            args.append(f'--show={show}')
        args += [self.win_path(exe), raw_args]
        return subprocess.Popen(args, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run(self, exe, raw_args='', timeout=120):
        p = self.start(exe, raw_args)
        try:
            p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            p.kill()
            raise
        return p.returncode

    def wine(self, *args, timeout=120, check=True):
        return _wine(self.env, *args, timeout=timeout, check=check)

    def tool(self, *args, timeout=60):
        """Runs a zvtool command; returns (exit code, UTF-8 output)."""
        res = subprocess.run(['wine', str(WIN_TESTS / 'zvtool.exe'), *args], env=self.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
        return res.returncode, res.stdout.decode('utf-8', errors='replace')

    def tool_json(self, *args, timeout=60):
        """Runs a zvtool command that prints one JSON object; None when it failed."""
        rc, out = self.tool(*args, timeout=timeout)
        if rc != 0 or not out.strip():
            return None
        return json.loads(out.strip().splitlines()[-1])

    def wait_window(self, caption, timeout_ms=10000, partial=False, cls=None):
        args = ['wait-window', caption, str(timeout_ms)]
        if partial:
            args.append('--partial')
        if cls:
            args.append(f'--class={cls}')
        return self.tool_json(*args, timeout=timeout_ms / 1000 + 60)

    def message_box_text(self, caption, timeout_ms=10000):
        """The text of a message box (its static control 0xFFFF), or None."""
        info = self.wait_window(caption, timeout_ms, cls='#32770')
        if info is None:
            return None
        for c in info['controls']:
            if c['id'] == 65535 and c['class'].lower() == 'static':
                return c['text']
        return None

    def press(self, caption, control_id, timeout_ms=10000):
        return self.tool('press', caption, str(control_id), str(timeout_ms))[0] == 0

    def processes(self, name=None):
        rc, out = self.tool('processes', *([name] if name else []))
        return [line.split('\t', 1)[1] for line in out.splitlines() if '\t' in line]

    def wait_no_process(self, name, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if not self.processes(name):
                return True
            time.sleep(0.3)
        return False

    # ---- files and screen ----
    @staticmethod
    def read_cp932(path):
        return pathlib.Path(path).read_bytes().decode('cp932')

    @staticmethod
    def write_cp932(path, text):
        pathlib.Path(path).parent.mkdir(parents=True, exist_ok=True)
        pathlib.Path(path).write_bytes(text.encode('cp932'))

    def suite_folder(self):
        return self.appdata / 'Ostrand' / 'Zorvane'

    def reset_user_state(self):
        shutil.rmtree(self.appdata / 'Ostrand', ignore_errors=True)

    def screenshot(self, name):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        out = ARTIFACTS / f'{name}.png'
        subprocess.run(['import', '-display', self.display, '-window', 'root', str(out)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        return out


def ini_section(text, section):
    """The keys and values of one section of a configuration file's text."""
    values, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith('[') and line.endswith(']'):
            current = line[1:-1]
        elif current == section and '=' in line:
            k, v = line.split('=', 1)
            values[k] = v
    return values


_shared = {}


def shared_session(lang='ja_JP.UTF-8', dpi=None):
    """One session per locale and system DPI for the whole test run, stopped when the run
    ends."""
    key = lang if dpi is None else (lang, dpi)
    if key not in _shared:
        name = 'e2e' if lang == 'ja_JP.UTF-8' else 'e2e-' + lang.split('.')[0].replace('_', '').lower()
        if dpi is not None:
            name += f'-dpi{dpi}'
        s = WineSession.begin(name, lang, dpi)
        _shared[key] = s
        atexit.register(s.stop)
    return _shared[key]
