"""A Wine session for the win32 and e2e test tiers.

A WineSession owns an Xvfb display, a wineserver and a private WINEPREFIX made from a
booted template (build/wine/template, made once: wineboot, a 1280x800 virtual desktop,
CJK font replacements), and runs the programs from its own copy of build/win/bin. So
two sessions share no desktop, input, hotkey, clipboard, foreground, registry or
program folder, and the e2e tier runs several at once (run_e2e.py: one per core, each
in a worker process with its own temporary folder; ZV_E2E_SLOT names the worker's
sessions). Programs run with LANG=ja_JP.UTF-8 (a Japanese Windows: code page 932)
unless another locale is asked for, at the system DPI 96 unless another is asked for
(WineSession(dpi=144) is a 150 % display: LogPixels is set before any program starts).

    from wineenv import WineSession, shared_session
    s = shared_session()                    # one per test run, stopped at exit
    s = shared_session(dpi=144)             # another one at 150 %
    s.bin('RkEngine.exe')                   # Linux path of a program in the session's copy
                                            # of build/win/bin (WineSession.bin: the original)
    s.win_path(path)                        # 'Z:\\...' for a Linux path
    p = s.start(s.bin('RkEngine.exe'), '/M:"Z:\\tmp\\a.rkm"')   # exact command line tail
    rc = s.run(exe, raw_args, timeout=60)   # same, waits, returns the exit code
    info = s.tool_json('wait-window', 'RkEngine', '5000')   # zvtool.exe commands
    s.press('RkEngine', 1)                   # click OK of a message box
    s.appdata / 'Ostrand' / 'Zorvane'        # roaming application-data folder
    s.read_cp932(path)                      # text of a CP932 file
    ini_section(text, 'RkEngineSettings')   # keys and values of one section
    s.screenshot('name')                    # PNG under build/e2e-artifacts/, once drawn
    s.wait_until(cond, 10, 'what')          # cond()'s value once true, else AssertionError
    wait_settled([folder], 3.5)             # files' write and change times that old
    with s.held_keys('shift'): ...          # modifiers held on the display itself (XTest)
    s.reset_user_state()                    # removes the suite's per-user files and folders
    class T(SessionTest): FOLDER = 'zv-x'   # a test case with its session, folder and clean-up

zvtool.exe commands (tests/e2e/tools/zvtool*.cpp): windows, wait-window, wait-gone,
press, close, show, exec, processes, foreground, idle, settle, send-msg, and what other
files register. Commands that send input (send-keys, type-text, click-at, mouse-click,
drag, play...) end once the window it went to has taken and handled it.
"""
import atexit
import contextlib
import ctypes
import fcntl
import json
import os
import pathlib
import shutil
import select
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = ROOT / 'build'
WIN_BIN = BUILD / 'win' / 'bin'
WIN_TESTS = BUILD / 'win' / 'tests'
ARTIFACTS = BUILD / 'e2e-artifacts'
TEMPLATE = BUILD / 'wine' / 'template'
TEMPLATE_VERSION = '3'
# Program images and tables in a prefix are only ever replaced, never written in place:
# sessions share them with the template through hard links; the rest is copied.
SHARED_SUFFIXES = {'.dll', '.exe', '.drv', '.sys', '.ocx', '.cpl', '.acm', '.tlb', '.ds', '.ax',
                   '.com', '.nls', '.msstyles'}

BASE_ENV = {
    'WINEDEBUG': '-all',
    'WINEDLLOVERRIDES': 'mscoree,mshtml=',
    'WINEARCH': 'win64',
}

# Modifier names: their X keysym and Windows virtual key.
X_MODIFIERS = {'shift': (0xFFE1, 0x10), 'ctrl': (0xFFE3, 0x11), 'alt': (0xFFE9, 0x12)}

FONT_REPLACEMENTS = {
    'ＭＳ Ｐゴシック': 'Noto Sans CJK JP',
    'ＭＳ ゴシック': 'Noto Sans CJK JP',
    'MS UI Gothic': 'Noto Sans CJK JP',
    'MS Shell Dlg': 'Noto Sans CJK JP',
    'MS Shell Dlg 2': 'Noto Sans CJK JP',
}


class WineError(RuntimeError):
    pass


def _die_with_parent():
    """In a child: ends it when the process that started it ends (Linux PR_SET_PDEATHSIG),
    so that no display outlives a worker that was killed."""
    try:
        ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)
    except (OSError, AttributeError):
        pass


def _start_xvfb():
    r, w = os.pipe()
    proc = subprocess.Popen(
        ['Xvfb', '-displayfd', str(w), '-screen', '0', '1280x800x24', '-nolisten', 'tcp'],
        pass_fds=[w], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True,
        preexec_fn=_die_with_parent)
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


def _template_version():
    """The marker of a usable template: its layout and the Wine that booted it (a newer
    Wine would update every copy of an older prefix at its first start)."""
    res = subprocess.run(['wine', '--version'], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return TEMPLATE_VERSION + ' ' + res.stdout.decode(errors='replace').strip()


def _make_template(display):
    """Boots a prefix once and keeps it as the template of every session; sessions that
    start at the same time wait for the one that makes it."""
    marker = TEMPLATE / '.zv-template'
    version = _template_version()
    if marker.exists() and marker.read_text() == version:
        return
    TEMPLATE.parent.mkdir(parents=True, exist_ok=True)
    with open(TEMPLATE.parent / 'template.lock', 'w') as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if marker.exists() and marker.read_text() == version:
            return
        shutil.rmtree(TEMPLATE, ignore_errors=True)
        tmp = TEMPLATE.with_name('template.tmp')
        shutil.rmtree(tmp, ignore_errors=True)
        env = dict(os.environ, **BASE_ENV, WINEPREFIX=str(tmp), DISPLAY=display, LANG='ja_JP.UTF-8')
        subprocess.run(['wineboot', '-i'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=300, check=True)
        _wine(env, 'reg', 'add', r'HKCU\Software\Wine\Explorer', '/v', 'Desktop', '/d', 'Default', '/f')
        _wine(env, 'reg', 'add', r'HKCU\Software\Wine\Explorer\Desktops', '/v', 'Default', '/d', '1280x800',
              '/f')
        for face, repl in FONT_REPLACEMENTS.items():
            _wine(env, 'reg', 'add', r'HKCU\Software\Wine\Fonts\Replacements', '/v', face, '/d', repl, '/f')
        subprocess.run(['wineserver', '-w'], env=env, timeout=120)
        (tmp / '.zv-template').write_text(version)
        tmp.rename(TEMPLATE)


def _clone_template(dest):
    """A private prefix from the template in a moment: program images hard-linked, the
    registry and every other file copied, symbolic links (the drive letters) kept."""
    for folder, dirs, files in os.walk(TEMPLATE):
        rel = pathlib.Path(folder).relative_to(TEMPLATE)
        (dest / rel).mkdir(parents=True, exist_ok=True)
        for name in dirs + files:
            src, dst = pathlib.Path(folder) / name, dest / rel / name
            if src.is_symlink():
                os.symlink(os.readlink(src), dst)
            elif name in files:
                if src.suffix.lower() in SHARED_SUFFIXES:
                    os.link(src, dst)
                else:
                    shutil.copy2(src, dst)
        dirs[:] = [d for d in dirs if not (pathlib.Path(folder) / d).is_symlink()]


def _end_prefix(prefix):
    """Ends what still runs in a prefix of ours (a session of an interrupted run)."""
    if (prefix / 'system.reg').exists():
        env = dict(os.environ, **BASE_ENV, WINEPREFIX=str(prefix))
        subprocess.run(['wineserver', '-k'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=60)


# Bounds of 5 s and more wait for something to come (a window, a file, a process): on a
# loaded machine (several sessions at once beside other work) it may take several times as
# long, so they are stretched by this factor. They cost time only when what they wait for
# never comes; shorter bounds, which ask that something does not come, stay as they are.
TIMEOUT_SCALE = float(os.environ.get('ZV_E2E_TIMEOUT_SCALE', '3'))


def stretched(seconds):
    """A bound in seconds as the waits use it."""
    return seconds * TIMEOUT_SCALE if seconds >= 5 else seconds


def crlf(*lines):
    """A file's text of lines, each ended by CR LF."""
    return ''.join(line + '\r\n' for line in lines)


def control(info, control_id):
    """The control with control_id in a window or dialog as zvtool prints it."""
    return next(c for c in info['controls'] if c['id'] == control_id)


def record_lines(path):
    """The lines a test program wrote to its record so far (none before it wrote one)."""
    path = pathlib.Path(path)
    return path.read_text('utf-8', errors='replace').splitlines() if path.exists() else []


def end_processes(procs, seconds=5):
    """Gives the processes a test started (programs whose windows were closed, tools still
    waiting) one shared bound to end, then ends those still running."""
    deadline = time.time() + seconds
    for p in procs:
        try:
            p.wait(timeout=max(0.1, deadline - time.time()))
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


def wait_until(condition, timeout, what, interval=0.1):
    """Polls condition() until it returns something true and returns that; after timeout
    seconds (stretched) raises AssertionError saying what never came."""
    timeout = stretched(timeout)
    deadline = time.time() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.time() >= deadline:
            raise AssertionError(f'{what}: not within {timeout:g} s')
        time.sleep(interval)


def wait_settled(paths, seconds):
    """Waits until the newest write or change time among the files (and the files in the
    folders) is the given seconds old: a program that reads again what changed lately
    then takes them as a user's older files."""
    newest = 0.0
    for path in map(pathlib.Path, paths):
        for p in [path, *path.rglob('*')] if path.is_dir() else [path]:
            st = p.stat()
            newest = max(newest, st.st_mtime, st.st_ctime)
    time.sleep(max(0.0, newest + seconds - time.time()))  # the age itself is what is needed


class _SessionOrShared:
    """A method that, called on the class, uses no session (build/win/bin itself)."""

    def __init__(self, fn):
        self.fn = fn

    def __get__(self, obj, cls):
        return lambda *args, **kwargs: self.fn(obj, *args, **kwargs)


class WineSession:
    def __init__(self, name='e2e', lang='ja_JP.UTF-8', dpi=None):
        self.name = name
        self.lang = lang
        self.dpi = dpi  # the system DPI (LogPixels); None: Wine's default, 96
        self.xvfb = None
        self._server = None  # the zvtool that runs this session's commands (tool())
        self._server_lock = threading.Lock()
        self.display = None
        self.prefix = BUILD / 'wine' / f'run-{name}'
        self.programs = self.prefix / 'programs'
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
        _end_prefix(self.prefix)
        shutil.rmtree(self.prefix, ignore_errors=True)
        _clone_template(self.prefix)
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
        self._end_server()
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
    @_SessionOrShared
    def bin(self, name):
        """A program of build/win/bin; for a session, in the session's own copy of that
        folder (made at the first call), so that what a test does beside the programs
        (the launcher's default macro folder, a program renamed away) stays its own."""
        if self is None:
            return WIN_BIN / name
        if not self.programs.exists():
            tmp = self.programs.with_name('programs.tmp')
            shutil.rmtree(tmp, ignore_errors=True)
            shutil.copytree(WIN_BIN, tmp, ignore=shutil.ignore_patterns('RK_MACRO'))
            tmp.rename(self.programs)
        return self.programs / name

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

    # zvtool commands that wait, and the place of their bound (milliseconds) among the
    # arguments: the bound is stretched as every wait of 5 s and more is.
    _BOUND_AT = {'wait-window': 2, 'wait-gone': 2, 'dialog': 2, 'idle': 2, 'press': 3}

    # Commands that read system parameters: a Wine process reads each once and keeps it, so
    # a value another program set since is seen only by a process started after.
    _OWN_PROCESS = {'fglock', 'mouse-get', 'mouse-set'}

    def tool(self, *args, timeout=60):
        """Runs a zvtool command; returns (exit code, UTF-8 output)."""
        at = self._BOUND_AT.get(args[0] if args else None)
        if at is not None and len(args) == at:
            args += ('10000',)  # the tool's own default bound, stretched below
        if at is not None and len(args) > at and args[at].isdigit():
            bound = int(stretched(int(args[at]) / 1000) * 1000)
            args = args[:at] + (str(bound),) + args[at + 1:]
            timeout = max(timeout, bound / 1000 + 60)
        if args and args[0] in self._OWN_PROCESS:
            res = subprocess.run(['wine', str(WIN_TESTS / 'zvtool.exe'), *args], env=self.env,
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
            rc, out = res.returncode, res.stdout.decode('utf-8', errors='replace')
        else:
            rc, out = self._served(args, timeout)
        if rc == 3:  # input that was not taken: shown with the test's output
            print(f'zvtool {" ".join(args)}: {out.strip()}', file=sys.stderr, flush=True)
        return rc, out

    def _served(self, args, timeout):
        """Runs one command in the session's zvtool server (one Wine process start for all
        of them, not one for each); returns (exit code, output). A command still running
        after timeout seconds ends the server, as it ended the tool's own process."""
        with self._server_lock:
            if self._server is None or self._server.poll() is not None:
                self._server = subprocess.Popen(['wine', str(WIN_TESTS / 'zvtool.exe'), 'serve'], env=self.env,
                                                stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                                stderr=subprocess.DEVNULL)
            server = self._server
            try:
                server.stdin.write((' '.join('x' + a.encode('utf-8').hex() for a in args) + '\n').encode())
                server.stdin.flush()
            except OSError:  # it ended after its last command: the next call starts another
                self._end_server(kill=True)
                return server.returncode, ''
            fd = server.stdout.fileno()
            deadline = time.time() + timeout
            data = b'\n'  # the answer's end is a line of \x1e and the exit code
            while True:
                end = data.find(b'\n\x1e')
                if end >= 0 and b'\n' in data[end + 2:]:
                    code = data[end + 2:data.index(b'\n', end + 2)]
                    return int(code), data[1:end + 1].decode('utf-8', errors='replace')
                left = deadline - time.time()
                if left <= 0:
                    self._end_server(kill=True)
                    raise subprocess.TimeoutExpired(['zvtool', *args], timeout)
                if select.select([fd], [], [], left)[0]:
                    chunk = os.read(fd, 65536)
                    if not chunk:  # the server ended in the middle of the command
                        self._end_server()
                        return server.returncode, data[1:].decode('utf-8', errors='replace')
                    data += chunk

    def _end_server(self, kill=False):
        server, self._server = self._server, None
        if server is None:
            return
        try:
            if not kill:
                server.stdin.close()  # the server's end of input
                server.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            pass
        if server.poll() is None:
            server.kill()
        server.wait()

    def tool_json(self, *args, timeout=60):
        """Runs a zvtool command that prints one JSON object; None when it failed."""
        rc, out = self.tool(*args, timeout=timeout)
        if rc != 0 or not out.strip():
            return None
        return json.loads(out.strip().splitlines()[-1])

    def tool_ok(self, *args, timeout=60):
        """Runs a zvtool command that must succeed; returns the JSON of its last line."""
        rc, out = self.tool(*args, timeout=timeout)
        assert rc == 0, f'zvtool {" ".join(args)}: exit {rc}: {out.strip()}'
        return json.loads(out.strip().splitlines()[-1])

    def windows(self):
        """The top-level windows, as zvtool prints them."""
        return [json.loads(line) for line in self.tool('windows')[1].splitlines()]

    def foreground(self):
        """The window in front: {caption, class, ...}."""
        return json.loads(self.tool('foreground')[1].strip())

    def gone(self, caption, timeout_ms=10000):
        """Whether the window of caption is gone within the bound."""
        return self.tool('wait-gone', caption, str(timeout_ms))[0] == 0

    def shown_dialog(self, caption, *control_ids, timeout=15):
        """A dialog once it is on the screen with the controls of control_ids (it exists a
        moment before they do)."""
        def shown():
            info = self.wait_window(caption, 10000, cls='#32770')
            if info is not None and info['visible'] and set(control_ids) <= {c['id'] for c in info['controls']}:
                return info
            return None
        return self.wait_until(shown, timeout, f'{caption} on the screen with its controls')

    def answer(self, caption):
        """Closes a message box of one button (OK, or the cancel of a box with a close box)."""
        return self.press(caption, 1, 2000) or self.press(caption, 2, 2000)

    def run_log(self):
        """The text of the run log (Zorvane_Log.txt)."""
        return self.read_cp932(self.suite_folder() / 'Zorvane_Log.txt')

    def wait_window(self, caption, timeout_ms=10000, partial=False, cls=None):
        args = ['wait-window', caption, str(timeout_ms)]
        if partial:
            args.append('--partial')
        if cls:
            args.append(f'--class={cls}')
        return self.tool_json(*args)

    def message_box_text(self, caption, timeout_ms=10000):
        """The text of a message box (its static control 0xFFFF), or None."""
        info = self.wait_window(caption, timeout_ms, cls='#32770')
        if info is None:
            return None
        for c in info['controls']:
            if c['id'] == 65535 and c['class'].lower() == 'static':
                return c['text']
        return None

    def write_settings(self, section, **values):
        """Zorvane.ini holding one section with values, as a user could have written it."""
        self.write_cp932(self.suite_folder() / 'Zorvane.ini',
                         f'[{section}]\r\n' + ''.join(f'{k}={v}\r\n' for k, v in values.items()))

    def settings(self, section):
        """A section of Zorvane.ini, as a dict."""
        return ini_section(self.read_cp932(self.suite_folder() / 'Zorvane.ini'), section)

    def start_target(self, caption, record, *options):
        """Starts the test target program (zvtarget.exe) writing what it receives to record,
        with its window captioned caption; returns its process once the window is there."""
        p = self.start(self.test_program('zvtarget.exe'),
                       ' '.join([f'"{self.win_path(record)}"', f'"{caption}"', *options]))
        assert self.wait_window(caption, 15000) is not None, f'the target {caption} opened'
        return p

    def desktop(self):
        """What is on the screen and running, for a failure's message."""
        shown = [w['caption'] or w['class'] for w in self.windows() if w['visible']]
        return f'in front: {self.tool("foreground")[1].strip()[:300]}; shown: {shown}; running: {self.processes()}'

    def menus(self, caption):
        """The texts of the items of the pop-up menus open in the program of a window, read
        inside it: one list a menu, the first opened first (a separator reads '')."""
        rc, out = self.tool('menu-items', caption)
        if rc != 0:
            return []
        menus = {}
        for item in json.loads(out.strip().splitlines()[-1]):
            menus.setdefault(item['menu'], []).append(item['text'])
        return [menus[m] for m in sorted(menus, reverse=True)]

    def press(self, caption, control_id, timeout_ms=10000):
        return self.tool('press', caption, str(control_id), str(timeout_ms))[0] == 0

    def processes(self, name=None):
        rc, out = self.tool('processes', *([name] if name else []))
        return [line.split('\t', 1)[1] for line in out.splitlines() if '\t' in line]

    @staticmethod
    def wait_until(condition, timeout, what, interval=0.1):
        return wait_until(condition, timeout, what, interval)

    @staticmethod
    def came(condition, timeout, interval=0.1):
        """condition()'s value once true within timeout seconds (stretched), else False."""
        try:
            return wait_until(condition, timeout, '', interval)
        except AssertionError:
            return False

    @contextlib.contextmanager
    def held_keys(self, *names):
        """Holds modifier keys (shift, ctrl, alt) down on the session's display itself
        (XTest), as a user's keyboard does, until the block ends. Wine matches Shift, Ctrl
        and Alt to the display's keyboard whenever one of its windows gains the keyboard or
        the pointer (a menu closing is enough), so modifiers held through SendInput alone
        may be let go in the middle of what they are held for."""
        x11 = ctypes.CDLL('libX11.so.6')
        xtst = ctypes.CDLL('libXtst.so.6')
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        display = x11.XOpenDisplay(self.display.encode())
        if not display:
            raise WineError(f'cannot open the display {self.display}')
        codes = [x11.XKeysymToKeycode(display, X_MODIFIERS[n][0]) for n in names]

        def press(down):
            for code in (codes if down else reversed(codes)):
                xtst.XTestFakeKeyEvent(display, code, 1 if down else 0, 0)
            x11.XSync(display, 0)
            self.wait_until(lambda: all(json.loads(self.tool('key-state', str(X_MODIFIERS[n][1]))[1])['async'] ==
                                        down for n in names), 10,
                            f'{"+".join(names)} {"down" if down else "up"} for Wine')
        try:
            press(True)
            yield
        finally:
            try:
                press(False)
            finally:
                x11.XCloseDisplay(display)

    def wait_no_process(self, name, timeout=30):
        deadline = time.time() + stretched(timeout)
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
        """The screen once every window has drawn what it has to (settle)."""
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        out = ARTIFACTS / f'{name}.png'
        self.tool('settle', '10000', timeout=60)
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


class SessionTest(unittest.TestCase):
    """A test case in the worker's shared session of LANG. Before each test the suite's
    per-user files are reset, self.work is a fresh temporary folder and FOLDER (under C:)
    an empty one, self.dir; after it the windows captioned in CLOSE are closed, the
    programs named in KILL killed, what self.start started ended and both folders removed."""
    LANG = 'ja_JP.UTF-8'
    FOLDER = None
    CLOSE = ()
    KILL = ()

    @classmethod
    def setUpClass(cls):
        cls.s = shared_session(cls.LANG)

    def setUp(self):
        self.s.reset_user_state()
        self.procs = []
        self.work = pathlib.Path(tempfile.mkdtemp(prefix='zv-e2e-'))
        self.addCleanup(shutil.rmtree, self.work, True)
        if self.FOLDER:
            self.dir = self.s.drive_c() / self.FOLDER
            shutil.rmtree(self.dir, ignore_errors=True)
            self.dir.mkdir(parents=True)
            self.addCleanup(shutil.rmtree, self.dir, True)

    def tearDown(self):
        for caption in self.CLOSE:
            self.s.tool('close', caption)
        if self.CLOSE:
            end_processes(self.procs)  # a program asked to close ends as it does for a user
        for name in self.KILL:
            self.s.tool('kill', name)
        end_processes(self.procs)

    def start(self, exe, raw_args=''):
        """Starts a program (WineSession.start), ended after the test."""
        self.procs.append(self.s.start(exe, raw_args))
        return self.procs[-1]

    def start_target(self, caption, record, *options):
        """The test target program, once its window is there (WineSession.start_target)."""
        self.procs.append(self.s.start_target(caption, record, *options))
        return self.procs[-1]

    def target_line_for(self, caption, record):
        """The editor's form of a LAUNCH command line for the test target program."""
        return f'""{self.s.win_path(WIN_TESTS / "zvtarget.exe")}" "{self.s.win_path(record)}" "{caption}""'

    def keys(self, *chords):
        """Presses the keys; each is taken and handled before the next (send-keys)."""
        rc, out = self.s.tool('send-keys', *chords)
        self.assertEqual(rc, 0, out)

    def type_text(self, text):
        self.assertEqual(self.s.tool('type-text', text)[0], 0)

    def type_into(self, caption, control_id, *keys):
        """Presses the keys in a control of a window (the focus put there first)."""
        self.assertEqual(self.s.tool('focus-control', caption, str(control_id))[0], 0)
        self.keys(*keys)

    def background(self, *args):
        """A zvtool command that runs on: its process once it printed a line, and that line."""
        p = subprocess.Popen(['wine', str(WIN_TESTS / 'zvtool.exe'), *args], env=self.s.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.procs.append(p)
        return p, p.stdout.readline().decode('utf-8', 'replace').strip()

    def open_editor(self, name, text=None, exe=None, notice=None):
        """RkEditor (or exe) on the file name of FOLDER, written first when text is given,
        once its window is there, in front; returns its caption. notice: the message it must
        show on opening, which is then closed."""
        if text is not None:
            self.s.write_cp932(self.dir / name, text)
        p = self.start(exe or self.s.bin('RkEditor.exe'), f'"C:\\{self.FOLDER}\\{name}"')
        if notice is not None:
            self.assertEqual(self.s.message_box_text('RkEditor', 15000), notice)
            self.assertTrue(self.s.press('RkEditor', 1))
        caption = f'{name} - RkEditor'
        if self.s.wait_window(caption, 15000) is None:
            self.fail(f'no window {caption}; program exit: {p.poll()}; {self.s.desktop()}')
        self.assertEqual(self.s.tool('activate', caption)[0], 0)
        return caption

    def dialog(self, caption, timeout_ms=10000):
        """A dialog once shown with its controls; the failure says what is on the screen."""
        info = self.s.tool_json('dialog', caption, str(timeout_ms))
        if info is None:
            self.fail(f'no dialog {caption}; {self.s.desktop()}')
        return info


_shared = {}


def shared_session(lang='ja_JP.UTF-8', dpi=None):
    """One session per locale and system DPI for the whole test run (for each worker of a
    parallel run), stopped when the run ends."""
    key = lang if dpi is None else (lang, dpi)
    if key not in _shared:
        name = 'e2e' if lang == 'ja_JP.UTF-8' else 'e2e-' + lang.split('.')[0].replace('_', '').lower()
        if dpi is not None:
            name += f'-dpi{dpi}'
        if os.environ.get('ZV_E2E_SLOT'):
            name += '-' + os.environ['ZV_E2E_SLOT']
        s = WineSession.begin(name, lang, dpi)
        _shared[key] = s
        atexit.register(s.stop)
    return _shared[key]
