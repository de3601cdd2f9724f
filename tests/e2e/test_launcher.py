"""Zorvane.exe as a user meets it: the first start on a fresh account, the single
instance, the hotkey menu built from a macro folder tree and the front window, choosing
a macro (the engine runs it), the file maximum, the foreground lock timeout lowered
while the launcher runs, and a hotkey that another program holds."""
import json
import os
import shutil
import time
import unittest

from wineenv import SessionTest, control, record_lines, wait_settled

LAUNCHER_WINDOW = 'TrayIconHandler'
SECTION = 'ZorvaneSettings'
TRAY_ICON = (1269, 789)  # the notification icon in the virtual desktop's taskbar (1280x800)
MACROS = 'zv-macros'
PROPERTY = 'Zorvane プロパティ'
HOTKEY = 'Zorvane のホットキーを設定'
OWN_ITEMS = ['', 'ホットキーの設定(&H)', 'RKマクロパス選択(&P)', 'RKマクロ作成(&M)']  # after the macros


def macro_text(title, target=None):
    lines = [f'; <RKMACRO>{title}']
    if target is not None:
        lines.append(f'; <TARGET>{target}')
    return '\r\n'.join(lines + ['', 'WAIT:100']) + '\r\n'


class Launcher(SessionTest):
    FOLDER = MACROS
    CLOSE = (PROPERTY, HOTKEY, LAUNCHER_WINDOW)
    KILL = ('Zorvane.exe', 'RkEngine.exe')

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.exe = cls.s.bin('Zorvane.exe')
        cls.engine_cmd = '"' + cls.s.win_path(cls.s.bin('RkEngine.exe')) + '" /M:'
        cls.original_fglock = cls.s.tool_ok('fglock')

    def setUp(self):
        super().setUp()
        self.targets = []

    def tearDown(self):
        for caption in self.targets:
            self.s.tool('close', caption)
        super().tearDown()
        # Leave the system value as the session had it for the other tests.
        self.s.tool('fglock', 'set', str(self.original_fglock['spi']))

    # ---- helpers ----
    def fglock(self):
        return self.s.tool_ok('fglock')

    def ini(self):
        return self.s.suite_folder() / 'Zorvane.ini'

    def write_macro(self, rel, title, target=None):
        self.s.write_cp932(self.dir / rel, macro_text(title, target))

    def macro_win(self, rel):
        return 'C:\\' + MACROS + '\\' + rel.replace('/', '\\')

    def start_launcher(self, front=None, macros=False, **settings):
        """The launcher once its command window exists. macros: started on the test's macro
        folder without the splash (and the other settings given); front: a window then put
        in front."""
        if macros:
            self.s.write_settings(SECTION, RkMacroTopPath='C:\\' + MACROS, SplashShowSec=0, **settings)
        p = self.start(self.exe)
        self.assertIsNotNone(self.s.wait_window(LAUNCHER_WINDOW, 15000), 'the command window exists')
        if front:
            self.front_window(front)
        return p

    def front_window(self, caption):
        _, first = self.background('title-window', caption, '120000')
        self.assertEqual(first, 'shown')
        self.assertEqual(self.s.foreground()['caption'], caption)

    def popup_shown(self):
        return any(w['class'] == '#32768' and w['visible'] for w in self.s.windows())

    def open_tray_menu(self):
        self.s.tool('mouse-click', str(TRAY_ICON[0]), str(TRAY_ICON[1]), 'right')
        self.assertTrue(self.popup_open(), 'the tray menu opened')

    def start_target(self, caption):
        """The test target program in front; returns its record (a file of lines)."""
        record = self.work / f'target{len(self.targets)}.txt'
        super().start_target(caption, record)
        self.targets.append(caption)
        return record

    def popup_open(self, timeout=10):
        """Whether a pop-up menu shows within timeout seconds (a shorter timeout asks
        that none shows in that time)."""
        return self.s.came(self.popup_shown, timeout)

    def hotkey_opens(self, chord, timeout=10):
        """Whether chord pressed over the calculator opens a pop-up menu (popup_open)."""
        self.s.tool('activate', '電卓')
        self.s.tool('send-keys', chord)
        return self.popup_open(timeout)

    def popups_closed(self):
        self.s.wait_until(lambda: not self.popup_shown(), 10, 'every pop-up menu closed')

    def open_hotkey_menu(self):
        self.s.tool('send-keys', 'alt+z')
        opened = self.popup_open()
        self.assertTrue(opened, 'the hotkey menu opened' if opened else
                        'no hotkey menu; in front: ' + self.s.tool('foreground')[1])

    def engine_watcher(self):
        """A process watching for an engine to start; it looks a last time and ends once
        stop() is called (when the launcher has handled what could start one)."""
        stop = self.s.drive_c() / 'zv-watch.stop'
        stop.unlink(missing_ok=True)
        watcher, first = self.background('cmdline-wait', 'RkEngine.exe', '60000', self.s.win_path(stop))
        self.assertEqual(first, 'watching')
        return watcher, stop.touch

    def choose(self, *keys, hold=None):
        """Opens the hotkey menu, presses keys, and returns the command line of the engine
        that started (None when none started)."""
        watcher, stop = self.engine_watcher()
        self.open_hotkey_menu()
        # The keys are handled when the tool ends: the launcher has started the engine by
        # then (the menu's command comes before the keys' releases), or none.
        if hold:
            with self.s.held_keys(*hold):
                rc, out = self.s.tool('send-keys', *keys)
        else:
            rc, out = self.s.tool('send-keys', *keys)
        self.assertEqual(rc, 0, out)
        # The keys went to the window in front, which may be the user's again once the menu
        # closed: the launcher has started the engine once it handled what came before.
        for _ in range(2):
            self.assertEqual(self.s.tool('idle', LAUNCHER_WINDOW)[0], 0)
        stop()
        out, _ = watcher.communicate(timeout=90)
        if watcher.returncode != 0:
            print(f'no engine after {keys}: keys {rc} {out!r}, menu open: {self.popup_shown()}, '
                  f'in front: {self.s.tool("foreground")[1].strip()}')
            self.s.tool('send-keys', 'esc', 'esc', 'esc')
            return None
        line = json.loads(out.decode('utf-8').strip().splitlines()[-1])
        self.s.wait_no_process('RkEngine.exe', 60)
        return line['cmdline']

    def assert_runs(self, rel, *keys):
        """The keys in the hotkey menu start the engine on the macro rel of the folder."""
        self.assertEqual(self.choose(*keys), self.engine_cmd + f'"{self.macro_win(rel)}"', rel)

    def listing(self, folder):
        rc, out = self.s.tool('list-dir', folder)
        self.assertEqual(rc, 0)
        return [n for n in out.splitlines() if n not in ('.\\', '..\\')]

    # ---- scenarios ----
    def test_first_start_writes_defaults_hands_over_to_a_second_and_lowers_the_foreground_lock(self):
        self.s.wine('reg', 'add', r'HKCU\Control Panel\Desktop', '/v', 'ForegroundLockTimeout', '/t', 'REG_DWORD',
                    '/d', '200000', '/f')
        self.assertEqual(self.fglock(), {'registry': 200000, 'spi': 200000})
        default_folder = self.exe.parent / 'RK_MACRO'
        shutil.rmtree(default_folder, ignore_errors=True)
        p = self.start_launcher()
        self.assertEqual(self.s.settings(SECTION), {
            'SplashShowSec': '5', 'Hotkey': '90', 'HotkeyMod': '1',
            'RkMacroTopPath': self.s.win_path(self.exe.parent) + '\\RK_MACRO',
            'RkMacroFileMax': '100', 'RkMacroDirDepht': '2'})
        self.assertTrue(default_folder.is_dir())
        self.assertIsNotNone(self.s.wait_window('', 3000, cls='#32770'), 'the splash is up')
        seen = time.time()

        def splash_gone():
            return not any(w['class'] == '#32770' and w['visible'] for w in self.s.windows())
        self.s.wait_until(splash_gone, 20, 'the splash went')
        self.assertLess(time.time() - seen, 6.5, 'the splash went after 5 s')

        self.front_window('メモ帳')
        self.assertEqual(self.s.run(self.exe, timeout=60), 0, 'the second start ends at once')
        self.assertEqual(len(self.s.processes('Zorvane.exe')), 1)
        self.assertEqual(self.s.foreground()['caption'], LAUNCHER_WINDOW, 'the first instance came forward')

        # Lowered while the launcher runs, as the user had it again once it ended.
        self.assertEqual(self.fglock(), {'registry': 0, 'spi': 0})
        self.assertEqual(self.s.settings('RkEngineSettings').get('FOREGROUNDLOCKTIMEOUT'), '200000')
        self.open_tray_menu()
        self.s.tool('send-keys', 'up', 'return')  # "終了(&X)" is the last item
        p.wait(timeout=30)
        self.assertFalse(self.s.processes('Zorvane.exe'))
        self.assertEqual(self.fglock(), {'registry': 200000, 'spi': 200000})
        self.assertEqual(self.s.settings('RkEngineSettings').get('FOREGROUNDLOCKTIMEOUT'), '200000')

    def test_hotkey_menu_follows_the_front_window_and_starts_the_engine(self):
        self.write_macro('a.rkm', '朝の準備')
        self.write_macro('memo.rkm', 'メモ帳用', target='メモ帳*')
        self.write_macro('exact.rkm', 'ぴったり', target='無題 - メモ帳')
        self.s.write_cp932(self.dir / 'note.txt', 'just text\r\n')
        self.write_macro('sub/s1.rkm', 'サブの一つ目')
        self.write_macro('sub/deep/d.rkm', '')
        self.write_macro('sub/deep/deeper/x.rkm', '深すぎる')
        self.s.write_cp932(self.dir / 'empty' / 'readme.txt', 'no macro here\r\n')
        self.start_launcher(macros=True)

        # The menu as the launcher should build it: files in the system's order, then folders.
        files = [n for n in self.listing('C:\\' + MACROS) if not n.endswith('\\')]
        with_memo = [n for n in files if n in ('a.rkm', 'memo.rkm', 'exact.rkm')]
        without_memo = [n for n in files if n == 'a.rkm']

        self.front_window('無題 - メモ帳')
        self.s.tool('cursor-to', '640', '300')  # the menu opens centred below the pointer
        self.open_hotkey_menu()
        self.s.tool('send-keys', *(['down'] * (len(with_memo) + 1)), 'right', 'down', 'right')
        self.s.screenshot('launcher_hotkey_menu')
        titles = {'a.rkm': '朝の準備', 'memo.rkm': 'メモ帳用', 'exact.rkm': 'ぴったり'}
        # No text file, no folder without macros, nothing below the depth of two.
        self.assertEqual(self.s.menus(LAUNCHER_WINDOW), [[titles[n] for n in with_memo] + ['sub'] + OWN_ITEMS,
                                                         ['サブの一つ目', 'deep'], ['d.rkm']])
        self.s.tool('send-keys', 'esc', 'esc', 'esc', 'esc')
        self.popups_closed()

        for i, name in enumerate(with_memo):
            self.assert_runs(name, *(['down'] * (i + 1)), 'return')
        # The folder follows the files; inside it the file comes first, then "deep".
        down = ['down'] * (len(with_memo) + 1)
        self.assert_runs('sub/s1.rkm', *down, 'return', 'return')
        self.assert_runs('sub/deep/d.rkm', *down, 'return', 'down', 'return', 'return')
        # The run log is the one of that macro.
        log = self.s.read_cp932(self.s.suite_folder() / 'Zorvane_Log.txt')
        self.assertIn(self.macro_win('sub/deep/d.rkm') + ' マクロ処理開始', log)
        self.assertIn('0003行目：WAIT', log)
        self.assertIn('マクロ処理終了', log)
        # After the folder come the menu's own items: the next position starts nothing.
        self.assertIsNone(self.choose(*(['down'] * (len(with_memo) + 2)), 'return'))

        # Another window in front: the targeted macros are gone.
        self.s.tool('close', '無題 - メモ帳')
        self.front_window('電卓')
        self.assert_runs(without_memo[0], 'down', 'return')
        self.assert_runs('sub/s1.rkm', 'down', 'down', 'return', 'return')

    def test_menu_follows_edits_additions_and_removals_between_two_presses(self):
        # Each title carries a mnemonic, so a key press chooses the item the user sees by
        # its label.
        self.write_macro('a.rkm', '&A朝の準備')
        self.write_macro('b.rkm', '&Bメモ帳用', target='メモ帳*')
        self.write_macro('old.rkm', '&O古いもの')
        self.write_macro('sub/s.rkm', '&Sサブ')
        wait_settled([self.dir], 3.5)  # old enough for the launcher to keep what it read
        self.start_launcher('電卓', macros=True)
        self.assert_runs('a.rkm', 'a')
        self.assert_runs('old.rkm', 'o')
        self.assertIsNone(self.choose('b'), 'the macro for メモ帳 is not listed in front of 電卓')

        # Between two presses: a title edited in place with the size and write time kept
        # (only the change time tells), a target edited, a file removed, one added and one
        # renamed.
        a = self.dir / 'a.rkm'
        times = (a.stat().st_atime_ns, a.stat().st_mtime_ns)
        self.write_macro('a.rkm', '&C朝の準備')
        os.utime(a, ns=times)
        self.write_macro('b.rkm', '&Bメモ帳用', target='電卓*')
        (self.dir / 'old.rkm').unlink()
        self.write_macro('new.rkm', '&N新しいもの')
        (self.dir / 'sub' / 's.rkm').rename(self.dir / 'sub' / 't.rkm')

        self.assert_runs('a.rkm', 'c')
        self.assert_runs('b.rkm', 'b')
        self.assert_runs('new.rkm', 'n')
        self.assertIsNone(self.choose('o'), 'the removed file is gone')
        self.assertIsNone(self.choose('a'), 'the old title is gone')
        # The three files in the system's order, then the folder with the renamed file.
        files = [n for n in self.listing('C:\\' + MACROS) if not n.endswith('\\')]
        self.assertEqual(sorted(files), ['a.rkm', 'b.rkm', 'new.rkm'])
        down = ['down'] * (len(files) + 1)
        self.assert_runs('sub/t.rkm', *down, 'right', 'return')

    def test_ctrl_opens_the_editor_and_says_so_when_it_cannot(self):
        self.write_macro('a.rkm', '朝の準備')
        self.start_launcher(macros=True)
        calculator = self.start_target('電卓')  # records each time it comes to the front
        editor_exe = self.s.bin('RkEditor.exe')
        editor = '"' + self.s.win_path(editor_exe) + f'" "{self.macro_win("a.rkm")}"'

        def choose_with_ctrl():
            # As a user does: the pointer on the first item of the open menu, Ctrl and Shift
            # held, a click (a menu under Wine takes no Return while Ctrl is down). The
            # pointer is there before the keys go down: Wine puts its modifier keys back to
            # the X server's state when the pointer enters another window.
            watcher, stop = self.engine_watcher()
            self.open_hotkey_menu()
            left, top, right, _ = json.loads(self.s.tool('popup-rect')[1])
            x, y = (left + right) // 2, top + 10
            self.s.tool('cursor-to', str(x), str(y))
            # The keys stay down until the launcher started the editor or said it could not.
            with self.s.held_keys('ctrl', 'shift'):
                self.assertEqual(self.s.tool('click-at', str(x), str(y))[0], 0)
                self.s.wait_until(lambda: self.s.processes('RkEditor.exe') or
                                  self.s.wait_window('Zorvane', 200, cls='#32770'), 20,
                                  "the editor started or the launcher's message")
            stop()
            watcher.wait(timeout=90)
            self.assertNotEqual(watcher.returncode, 0, 'no engine started')
            self.assertFalse(self.popup_open(1), 'the click chose the item')

        # The editor opens the macro, in front of the window the user was in, and the
        # keyboard is not handed back to that window after the choice.
        chosen = len(record_lines(calculator))
        choose_with_ctrl()
        self.assertIsNotNone(self.s.wait_window('a.rkm - RkEditor', 15000), 'the editor opened it')
        self.s.wait_until(lambda: self.s.foreground()['caption'] ==
                          'a.rkm - RkEditor', 10, 'the editor in front of 電卓')
        time.sleep(1.5)  # a hand-back to 電卓 would come within this time
        front = self.s.foreground()['caption']
        self.assertEqual(front, 'a.rkm - RkEditor', 'the editor stays in front')
        self.assertNotIn('activated', record_lines(calculator)[chosen:], '電卓 did not get the keyboard back')
        self.s.tool('kill', 'RkEditor.exe')
        self.s.wait_no_process('RkEditor.exe', 20)
        # Without the editor beside the launcher, the launcher says what it could not start.
        aside = editor_exe.with_name('RkEditor.exe.aside')
        editor_exe.rename(aside)
        try:
            self.s.tool('activate', '電卓')
            choose_with_ctrl()
            self.assertEqual(self.s.message_box_text('Zorvane'), editor + '\n\rが処理できません。')
            self.s.press('Zorvane', 1)
        finally:
            aside.rename(editor_exe)

    def test_keys_a_killed_engine_held_are_let_go(self):
        caption = 'ZvTarget 強制終了'
        record = self.start_target(caption)
        # Every KEYIN holds its keys for five seconds: the engine is killed meanwhile.
        self.s.write_cp932(self.ini(), f'[{SECTION}]\r\nRkMacroTopPath=C:\\{MACROS}\r\nSplashShowSec=0\r\n'
                           '[RkEngineSettings]\r\nKeyinWaitMSec=5000\r\n')
        macro = self.dir / 'held.rkm'
        self.start_launcher()

        def wait_lines(wanted, start, timeout=40):
            self.s.came(lambda: set(wanted) <= set(record_lines(record)[start:]), timeout)
            return record_lines(record)[start:]  # the caller says what came instead

        for keys, pressed in (('SHIFT CONTROL', ['keydown 10', 'keydown 11']), ('MENU', ['syskeydown 12'])):
            with self.subTest(keys=keys):
                self.s.write_cp932(macro, '\r\n'.join(['; <RKMACRO>押したまま', f'FOCUS:"{caption}"',
                                                         f'KEYIN:{keys}', 'WAIT:0']) + '\r\n')
                self.s.tool('activate', caption)
                self.open_hotkey_menu()
                self.s.tool('send-keys', 'down', 'return')
                start = len(record_lines(record))  # the hotkey's own Alt is before; the engine starts slowly
                seen = wait_lines(pressed, start)
                self.assertTrue(set(pressed) <= set(seen), f'the engine holds {keys}: {seen}')
                killed = len(record_lines(record))
                self.s.tool('kill', 'RkEngine.exe')  # as Task Manager ends it
                self.assertTrue(self.s.wait_no_process('RkEngine.exe', 20))
                for vk in (0x10, 0x11, 0x12):  # let go once the launcher saw the engine end
                    self.s.wait_until(lambda: not json.loads(self.s.tool('key-state', str(vk))[1])['async'], 10,
                                      f'key {vk:02X} up again for the system')
                # The user's next key press arrives without modifiers.
                self.s.tool('activate', caption)
                self.s.tool('send-keys', 'a')
                after = wait_lines(['char 0061'], killed, 10)
                self.assertIn('char 0061', after, f'a plain "a": {after}')
                self.assertNotIn('syskeydown 41', after)
                log = self.s.read_cp932(self.s.suite_folder() / 'Zorvane_Log.txt').split('\r\n')
                self.assertEqual(log[-1], '', 'the log ends with a line end')
                entry = log[-4:-1]
                self.assertEqual(len([l for l in log if 'マクロ処理開始' in l]), 1, log)
                self.assertRegex(entry[0], r'^\[\d\d/\d\d/\d\d \d\d:\d\d:\d\d\] <ERROR>RkEngineの強制終了により'
                                           r'下記のマクロ処理は中断（終了コード=0x00000001）$')
                self.assertEqual(entry[1], '\t' + self.macro_win('held.rkm'))
                self.assertTrue(entry[2].startswith('\t押されたままの修飾キーを解放：'), entry)
                for name in keys.split():
                    self.assertIn(name + '(', entry[2])
        self.s.screenshot('launcher_killed_engine_keys')

    def test_shift_opens_through_the_shell_and_the_log_falls_back_to_notepad(self):
        self.write_macro('a.rkm', '朝の準備')
        self.start_launcher('電卓', macros=True)
        # No program is associated with ".rkm": the shell refuses and the launcher says so.
        # What a Shift choice opens comes up in front of the user's window, and so does
        # this message: the keyboard is not handed back to "電卓" over it.
        self.open_hotkey_menu()
        with self.s.held_keys('shift'):
            self.s.tool('send-keys', 'down', 'return')
        self.assertEqual(self.s.message_box_text('Zorvane'), f'"{self.macro_win("a.rkm")}"\n\rを開くことができません。')
        # The launcher has handled what came after the menu (handing the keyboard back is
        # what it must not do over its message).
        for _ in range(3):
            self.assertEqual(self.s.tool('idle', LAUNCHER_WINDOW)[0], 0)
        front = self.s.foreground()
        self.assertEqual((front['caption'], front['class']), ('Zorvane', '#32770'))
        self.s.press('Zorvane', 1)
        # With a program associated with its extension, the file opens in that program.
        self.s.wine('reg', 'add', r'HKCR\.zvm', '/ve', '/d', 'ZvMacroFile', '/f')
        self.s.wine('reg', 'add', r'HKCR\ZvMacroFile\shell\open\command', '/ve', '/d',
                    'notepad.exe "%1"', '/f')
        shutil.move(str(self.dir / 'a.rkm'), str(self.dir / 'b.zvm'))
        self.assertIsNone(self.choose('down', 'return', hold=['shift']))
        self.assertTrue(self.wait_process('notepad.exe'), self.s.message_box_text('Zorvane', 1000))
        self.s.tool('kill', 'notepad.exe')

        # The run log does not exist yet: the shell cannot open it, Notepad is started on it.
        self.open_tray_menu()
        self.s.tool('send-keys', 'down', 'return')  # "処理ログを見る(&L)"
        self.assertTrue(self.wait_process('notepad.exe'))
        self.s.tool('kill', 'notepad.exe')

    def wait_process(self, name, timeout=15):
        return self.s.came(lambda: self.s.processes(name), timeout)

    def test_file_maximum_lists_three_of_five(self):
        for i in range(5):
            self.write_macro(f'm{i}.rkm', f'マクロ{i}')
        self.start_launcher('電卓', macros=True, RkMacroFileMax=3)
        listed = [n for n in self.listing('C:\\' + MACROS)][:3]
        self.open_hotkey_menu()
        self.s.screenshot('launcher_maximum_menu')
        self.s.tool('send-keys', 'esc')
        for i, name in enumerate(listed):
            self.assert_runs(name, *(['down'] * (i + 1)), 'return')
        self.assertIsNone(self.choose('down', 'down', 'down', 'down', 'return'), 'the fourth item is a command')

    def test_missing_macro_folder_is_reported_and_the_default_used(self):
        self.s.write_settings(SECTION, RkMacroTopPath='C:\\どこにもない', SplashShowSec=0)
        p = self.start(self.exe)
        self.assertEqual(self.s.message_box_text('Zorvane', 15000),
                         'RKマクロパス\r\nC:\\どこにもない\r\nは存在しません。既定値に戻します。\r\n'
                         '\n\r変更する場合は「RKマクロパス選択(M)」で設定して下さい。')
        self.s.press('Zorvane', 1)
        self.assertIsNotNone(self.s.wait_window(LAUNCHER_WINDOW, 15000))
        self.assertEqual(self.s.settings(SECTION)['RkMacroTopPath'], self.s.win_path(self.exe.parent) + '\\RK_MACRO')

    def test_folder_choice_writes_the_chosen_folder(self):
        self.start_launcher('電卓', macros=True)
        self.open_hotkey_menu()
        self.s.tool('send-keys', 'up', 'up', 'return')  # "RKマクロパス選択(&P)"
        browser = self.s.wait_window('RKマクロファイルが存在する先頭のパスを選択', 10000, partial=True)
        if browser is None:
            browser = self.s.wait_window('フォルダーの参照', 5000)
        self.assertIsNotNone(browser, 'the folder browser opened')
        self.s.screenshot('launcher_folder_choice')
        # The browser starts at the current folder; the folder above it in the tree
        # ("windows" under C:) is chosen.
        self.s.tool('send-keys', 'shift+tab', 'up', 'return')
        self.s.wait_until(lambda: self.s.settings(SECTION)['RkMacroTopPath'] != 'C:\\' + MACROS, 15,
                          'the chosen folder written')
        self.assertEqual(self.s.settings(SECTION)['RkMacroTopPath'], 'C:\\windows')
        self.assertIsNone(self.s.message_box_text('Zorvane', 1500), 'the chosen folder exists')

    # ---- the settings dialogs ----
    def test_property_dialog_refuses_a_zero_maximum_and_rewrites_the_catalogue_keys(self):
        # Values as a user may have typed them: read as numbers, kept as written.
        self.s.write_settings(SECTION, SplashShowSec=0, Hotkey='090', HotkeyMod='01', RkMacroTopPath='C:\\' + MACROS,
                            RkMacroFileMax='0100', RkMacroDirDepht='02')
        self.start_launcher()
        self.open_tray_menu()
        self.s.tool('send-keys', 'down', 'down', 'down', 'return')  # "プロパティ(&P)"
        info = self.s.shown_dialog(PROPERTY, 9)
        shown = {c['id']: c['text'] for c in info['controls']}
        self.assertEqual((shown[1009], shown[1019], shown[1021], shown[1005]),
                         ('C:\\' + MACROS, '100', '2', 'Z'))
        self.s.screenshot('launcher_property_dialog')

        self.type_into(PROPERTY, 1019, '0')
        self.assertTrue(self.s.press(PROPERTY, 1))
        self.assertEqual(self.s.message_box_text('Zorvane'), '1 から 2000 までの整数を入力してください。')
        self.s.screenshot('launcher_property_range')
        self.assertTrue(self.s.press('Zorvane', 1))
        self.s.wait_until(lambda: self.s.tool('focused', PROPERTY)[1].strip() == '1019', 10,
                          'the focus back on the maximum')
        self.type_into(PROPERTY, 1019, '1', '0', '0')
        self.assertTrue(self.s.press(PROPERTY, 1))
        self.assertEqual(self.s.tool('wait-gone', PROPERTY, '5000')[0], 0, 'OK closed the dialog')
        self.s.wait_until(lambda: self.s.settings(SECTION)['RkMacroFileMax'] == '100', 10,
                          'the maximum written as 100')
        values = self.s.settings(SECTION)
        self.assertEqual((values['RkMacroFileMax'], values['RkMacroDirDepht'], values['RkMacroTopPath']),
                         ('100', '2', 'C:\\' + MACROS), 'the three catalogue keys were written')
        self.assertEqual((values['Hotkey'], values['HotkeyMod']), ('090', '01'), 'the hotkey keys were not')
        self.front_window('電卓')
        self.open_hotkey_menu()  # registered again after the change
        self.s.tool('send-keys', 'esc')

    def test_hotkey_dialog_takes_f12_then_a_settings_change_registers_the_next_hotkey(self):
        self.s.write_settings(SECTION, SplashShowSec=0)
        self.start_launcher('電卓')
        self.open_hotkey_menu()
        self.s.tool('send-keys', 'up', 'up', 'up', 'return')  # "ホットキーの設定(&H)"
        info = self.s.shown_dialog(HOTKEY, 1005)
        checks = {c['id']: c['text'] for c in info['controls']}
        self.assertEqual([checks[i] for i in (1000, 1001, 1002, 1003, 1005)], ['Alt', 'Ctrl', 'Shift', 'Win', 'Z'])
        # Cancel after a key was pressed changes nothing.
        self.type_into(HOTKEY, 1005, 'q')
        self.assertEqual(control(self.s.wait_window(HOTKEY, 5000, cls='#32770'), 1005)['text'], 'Q')
        before = self.ini().read_bytes()
        self.assertTrue(self.s.press(HOTKEY, 2))
        self.assertTrue(self.s.gone(HOTKEY, 5000))
        self.assertEqual(self.ini().read_bytes(), before)

        self.open_hotkey_menu()
        self.s.tool('send-keys', 'up', 'up', 'up', 'return')
        self.s.shown_dialog(HOTKEY, 1005)
        self.type_into(HOTKEY, 1005, 'f12')  # the keys the field takes: the win32 tier
        self.s.screenshot('launcher_hotkey_dialog')
        self.assertTrue(self.s.press(HOTKEY, 1))
        self.assertTrue(self.s.gone(HOTKEY, 5000))
        self.s.wait_until(lambda: self.s.settings(SECTION)['Hotkey'] == '123', 10, 'the hotkey F12 written')
        self.assertEqual((self.s.settings(SECTION)['Hotkey'], self.s.settings(SECTION)['HotkeyMod']), ('123', '1'))
        self.assertFalse(self.hotkey_opens('alt+z', 2), 'Alt+Z is free again')
        self.assertTrue(self.hotkey_opens('alt+f12'), 'Alt+F12 opens the menu')
        self.s.tool('send-keys', 'esc')
        self.popups_closed()

        # The file changed by another program (Alt+X), the launcher told: it reads it again.
        self.s.write_cp932(self.ini(), self.s.read_cp932(self.ini()).replace('Hotkey=123', 'Hotkey=88'))
        # UM_SETTINGS_CHANGED, handled when the call returns
        self.assertEqual(self.s.tool('send-msg', LAUNCHER_WINDOW, str(0x8001), '0', '0')[0], 0)
        self.assertFalse(self.hotkey_opens('alt+f12', 2), 'Alt+F12 is free again')
        self.assertTrue(self.hotkey_opens('alt+x'), 'Alt+X opens the menu')
        self.s.tool('send-keys', 'esc')

    def test_splash_goes_at_the_first_click(self):
        self.s.write_settings(SECTION, SplashShowSec=60)
        self.start_launcher()
        splash = self.s.wait_window('', 5000, cls='#32770')
        self.assertIsNotNone(splash)
        self.assertTrue(splash['visible'])
        self.s.screenshot('launcher_splash')
        self.s.tool('mouse-click', '640', '300')  # on the splash, above the screen's centre
        self.s.wait_until(lambda: self.s.wait_window('', 200, cls='#32770') is None, 5, 'the splash went')

    def test_hotkey_held_by_another_program_is_reported_and_the_launcher_stays(self):
        holder, first = self.background('hold-hotkey', '1', '0x5A', '60000')
        self.assertEqual(first, 'held')
        self.s.write_settings(SECTION, SplashShowSec=0)
        p = self.start(self.exe)
        text = self.s.message_box_text('Zorvane', 15000)
        self.assertIsNotNone(text)
        self.assertTrue(text.startswith('ホットキー「MOD=01 + KEY=5A」\r\nが登録出来ません。\n\r'), text)
        self.assertTrue(text.endswith('\n\r「ホットキーの設定(H)」で設定を変更してみて下さい。'), text)
        self.s.screenshot('launcher_hotkey_refused')
        self.s.press('Zorvane', 1)
        # What follows the message is handled, then the launcher is still there.
        self.assertEqual(self.s.tool('wait-gone', 'Zorvane', '10000')[0], 0, 'the message went')
        for _ in range(3):
            self.assertEqual(self.s.tool('idle', LAUNCHER_WINDOW)[0], 0)
        self.assertEqual(len(self.s.processes('Zorvane.exe')), 1, 'the launcher keeps running')
        self.assertIsNotNone(self.s.wait_window(LAUNCHER_WINDOW, 5000))
        holder.kill()


if __name__ == '__main__':
    unittest.main()
