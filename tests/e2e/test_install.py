"""The product as a user gets it: Zorvane-Setup.exe installs silently for the current
user, the installed launcher starts on the installed macro folder, a sample macro runs
through the installed engine, and the uninstaller removes the programs and shortcuts but
keeps the user's macros and configuration. Installed in a folder whose name holds a
space, "#", "%" and a Japanese character, the help of a dialog reaches its page and
anchor in the browser. The portable zip holds the same folder."""
import pathlib
import re
import shutil
import subprocess
import unittest
import urllib.parse
import zipfile

from wineenv import ROOT, SessionTest

PACKAGE = ROOT / 'build' / 'package'
PROGRAMS = ['Zorvane.exe', 'RkEngine.exe', 'RkEditor.exe', 'RkRecHook.dll']
PAGES = ['MacroEditor.html', 'MacroHint.html', 'MacroSetting.html', 'Property.html']
SAMPLES = sorted(p.name for p in (ROOT / 'installer' / 'samples').glob('*.txt'))


@unittest.skipUnless((PACKAGE / 'Zorvane-Setup.exe').exists(), 'the package is built by scripts/build.sh')
class Install(SessionTest):
    KILL = ('Zorvane.exe', 'RkEngine.exe', 'RkEditor.exe', 'notepad.exe')

    def setUp(self):
        super().setUp()
        self.dir = self.s.user_dir / 'AppData' / 'Local' / 'Programs' / 'Zorvane'
        self.menu = self.s.appdata / 'Microsoft' / 'Windows' / 'Start Menu' / 'Programs'

    def wait_for(self, condition, timeout=60):
        return self.s.came(condition, timeout, interval=0.3)

    def test_installs_runs_a_sample_and_uninstalls_keeping_the_users_macros(self):
        self.assertEqual(self.s.run(PACKAGE / 'Zorvane-Setup.exe', '/S', timeout=180), 0)
        for name in PROGRAMS + ['Readme.html', 'uninstall.exe']:
            self.assertTrue((self.dir / name).is_file(), name)
        for page in PAGES:
            self.assertIn('charset="Shift_JIS"', (self.dir / 'help' / page).read_bytes().decode('cp932'))
        self.assertEqual(sorted(p.name for p in (self.dir / 'RK_MACRO').iterdir()), SAMPLES)
        for link in ('Zorvane.lnk', 'RkEditor.lnk', 'RkEngine の設定.lnk', 'はじめに.lnk'):
            self.assertTrue((self.menu / 'Zorvane' / link).is_file(), link)
        self.assertTrue((self.menu / 'StartUp' / 'Zorvane.lnk').is_file(), 'starts at log-on')

        # The installed launcher settles on the installed macro folder.
        launcher = self.start(self.dir / 'Zorvane.exe')
        self.assertIsNotNone(self.s.wait_window('TrayIconHandler', 20000))
        settings = self.s.settings('ZorvaneSettings')
        # (started here through its Z: path; from the Start menu it is the same folder on C:)
        self.assertTrue(settings['RkMacroTopPath'].lower().endswith(
            '\\appdata\\local\\programs\\zorvane\\rk_macro'), settings['RkMacroTopPath'])

        # A sample macro runs through the installed engine: Notepad gets the report.
        sample = self.dir / 'RK_MACRO' / 'メモ帳に日報を書く.txt'
        self.assertEqual(self.s.run(self.dir / 'RkEngine.exe', '"%s"' % self.s.win_path_c(sample),
                                    timeout=120), 0)
        log = self.s.run_log()
        self.assertNotIn('<ERROR>', log)
        self.assertEqual(log.count('TYPE  :'), 3, log)
        self.s.tool('kill', 'notepad.exe')

        # The user's own macro and the configuration file outlive the uninstaller, which
        # also ends the running launcher.
        mine = self.dir / 'RK_MACRO' / '自分のマクロ.txt'
        self.s.write_cp932(mine, '; <RKMACRO>自分の\r\n\r\n\r\nWAIT:1\r\n')
        subprocess.run(['wine', str(self.dir / 'uninstall.exe'), '/S'], env=self.s.env, timeout=120)
        self.assertTrue(self.wait_for(lambda: not (self.dir / 'Zorvane.exe').exists()),
                        'the programs are removed')
        self.assertTrue(self.wait_for(lambda: not self.s.processes('Zorvane.exe'), 30),
                        'the running launcher was closed')
        self.assertTrue(self.wait_for(lambda: not (self.dir / 'uninstall.exe').exists()))
        launcher.wait(timeout=30)
        for name in PROGRAMS + ['Readme.html']:
            self.assertFalse((self.dir / name).exists(), name)
        self.assertFalse((self.dir / 'help').exists())
        self.assertFalse((self.menu / 'Zorvane').exists(), 'the Start menu folder is gone')
        self.assertFalse((self.menu / 'StartUp' / 'Zorvane.lnk').exists())
        self.assertEqual(self.s.read_cp932(mine), '; <RKMACRO>自分の\r\n\r\n\r\nWAIT:1\r\n')
        self.assertTrue((self.s.suite_folder() / 'Zorvane.ini').is_file())

    # The keys through which a browser is found for a web address or an HTML page.
    BROWSER_KEYS = [r'HKCR\http\shell\open\command', r'HKCR\https\shell\open\command',
                    r'HKCR\file\shell\open\command', r'HKCR\htmlfile\shell\open\command',
                    r'HKCR\.html']

    def default_value(self, key):
        """(type, data) of a key's default value, or None when it has none."""
        res = self.s.wine('reg', 'query', key, '/ve', check=False)
        for line in res.stdout.decode('utf-8', errors='replace').splitlines():
            m = re.match(r'\s+\S.*?\s{4}(REG_\w+)\s{4}(.*)$', line)
            if m:
                return m.group(1), m.group(2)
        return None

    def test_help_from_a_dialog_reaches_its_page_and_anchor(self):
        # A stand-in browser, registered for web addresses, file addresses and HTML pages,
        # writes down the command line it is started with.
        record = self.s.drive_c() / 'zv-browser.txt'
        record.unlink(missing_ok=True)
        standin = '"%s" --record-command-line "%s" "%%1"' % (
            self.s.win_path(self.s.test_program('zvtarget.exe')), self.s.win_path_c(record))
        saved = {key: self.default_value(key) for key in self.BROWSER_KEYS}
        folder = self.s.drive_c() / 'Zv #1 100% 表' / 'Zorvane'
        try:
            for key in self.BROWSER_KEYS:
                value = 'htmlfile' if key.endswith('.html') else standin
                self.s.wine('reg', 'add', key, '/ve', '/d', value, '/f')
            self.assertEqual(self.s.run(PACKAGE / 'Zorvane-Setup.exe',
                                        '/S /D=' + self.s.win_path_c(folder), timeout=180), 0)
            self.assertTrue((folder / 'RkEditor.exe').is_file())
            macro = folder / 'RK_MACRO' / 'ヘルプ.txt'
            self.s.write_cp932(macro, '; <RKMACRO>ヘルプ\r\n\r\n')
            self.start(folder / 'RkEditor.exe', '"%s"' % self.s.win_path_c(macro))
            self.assertIsNotNone(self.s.wait_window('ヘルプ.txt - RkEditor', 20000))
            self.s.tool('activate', 'ヘルプ.txt - RkEditor')
            self.s.tool('send-keys', 'alt', 'm', 'i', 'k')  # マクロ > 行追加 > キー入力
            self.assertTrue(self.s.press('キー入力設定(新規)', 0xE146), 'ﾍﾙﾌﾟ of the KEYIN dialog')
            # The browser writes its command line in one piece.
            line = self.s.wait_until(lambda: record.exists() and '--record-command-line' in
                                     record.read_text(encoding='utf-8') and record.read_text(encoding='utf-8'),
                                     30, 'the browser was started')
            # The address is the last argument, whole: it names the installed page, and the
            # dialog's anchor is still on it.
            address = line.rsplit(' ', 1)[-1].strip('"')
            url = urllib.parse.urlsplit(address)
            self.assertEqual((url.scheme, url.fragment), ('file', 'Keyin'), address)
            drive, _, rest = urllib.parse.unquote(url.path, encoding='utf-8').lstrip('/') \
                .partition(':/')
            page = (self.s.drive_c() if drive.upper() == 'C' else pathlib.Path('/')) / rest
            self.assertEqual(page.resolve(), (folder / 'help' / 'MacroEditor.html').resolve(),
                             address)
            self.assertTrue(page.is_file(), address)
            self.assertIn('%23', address, '"#" of the folder is escaped, only the anchor\'s stays')
        finally:
            for key, value in saved.items():
                if value is None:
                    self.s.wine('reg', 'delete', key, '/f', check=False)
                else:
                    self.s.wine('reg', 'add', key, '/ve', '/t', value[0], '/d', value[1], '/f',
                                check=False)
            self.s.tool('kill', 'RkEditor.exe')
            uninstaller = folder / 'uninstall.exe'
            if uninstaller.exists():
                (folder / 'RK_MACRO' / 'ヘルプ.txt').unlink(missing_ok=True)
                subprocess.run(['wine', str(uninstaller), '/S'], env=self.s.env, timeout=120)
                self.wait_for(lambda: not (folder / 'RkEditor.exe').exists())
            shutil.rmtree(folder.parent, ignore_errors=True)

    def test_portable_zip_holds_the_same_program_folder(self):
        with zipfile.ZipFile(PACKAGE / 'Zorvane-portable.zip') as z:
            names = set(z.namelist())
        for name in PROGRAMS + ['Readme.html'] + ['help/' + p for p in PAGES] + \
                ['RK_MACRO/' + s for s in SAMPLES]:
            self.assertIn('Zorvane/' + name, names)


if __name__ == '__main__':
    unittest.main()
