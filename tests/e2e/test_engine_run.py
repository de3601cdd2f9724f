"""RkEngine.exe running macros as a user sees it: a target program of our own receives
the keys, text, clicks and wheel notches; the status window stops a run; the run log
says what happened, entry by entry."""
import json
import pathlib
import re
import subprocess
import time
import unittest

from wineenv import SessionTest, control, record_lines

STATUS = 'RkEngine [RKマクロ実行エンジン]'
ABOUT = 'RkEngine のバージョン情報'
RUNNING_TEXT = '下記のマクロ処理の停止を要求しました。'
STOPPED_TEXT = '下記のマクロ処理を停止しました。'
WS_EX_APPWINDOW = 0x40000
CLIP_FORMAT = 'ZvE2EClipFormat'
EXCLUSION_FORMATS = ['ExcludeClipboardContentFromMonitorProcessing', 'CanIncludeInClipboardHistory',
                     'CanUploadToCloudClipboard']
STAMP = re.compile(r'^\[\d\d/\d\d/\d\d \d\d:\d\d:\d\d\] ')


def header(macro_win_path):
    return [f'{macro_win_path} マクロ処理開始', 'OS情報 Ver=* : MinVer=*',
            'Info : ForeGroundLockTimeOut=0 mm sec']


def normalize(line):
    line = re.sub(r'wh=[0-9A-F]{8}', 'wh=*', line)
    return re.sub(r'^OS情報 Ver=\d+ : MinVer=\d+$', 'OS情報 Ver=* : MinVer=*', line)


class EngineRun(SessionTest):
    KILL = ('RkEngine.exe', 'zvtarget.exe')  # nothing of a failed scenario stays behind

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.engine = cls.s.bin('RkEngine.exe')

    def tearDown(self):
        for caption in (ABOUT, 'ZvTarget', STATUS):
            self.s.tool('close', caption, '--partial')
        super().tearDown()

    # ---- helpers ----
    def macro(self, title, lines):
        path = self.work / f'{title}.rkm'
        self.s.write_cp932(path, '\r\n'.join([f'; <RKMACRO>{title}'] + lines) + '\r\n')
        return path

    def start_engine(self, macro):
        return self.start(self.engine, f'/M:"{self.s.win_path(macro)}"')

    def run_engine(self, macro, timeout=90):
        self.assertEqual(self.start_engine(macro).wait(timeout=timeout), 0)

    def log(self):
        """The run log's lines with their time stamps removed; checks every stamp."""
        text = self.s.run_log()
        self.assertTrue(text.endswith('\r\n'))
        lines = []
        for line in text[:-2].split('\r\n'):
            if line.startswith('['):
                self.assertRegex(line, STAMP)
                line = STAMP.sub('', line)
            lines.append(normalize(line))
        return lines

    def wait_record(self, path, line, timeout=15):
        return self.s.came(lambda: line in record_lines(path), timeout)

    def clip(self):
        return self.s.tool_ok('clip-get', CLIP_FORMAT)

    def mouse_params(self):
        return self.s.tool_ok('mouse-get')

    def shown_status_window(self):
        return self.s.shown_dialog(STATUS, 1000, 1001, 1)

    def engine_in_a_wait(self, title):
        """An engine in the 10-second WAIT of a macro of two WAITs. The WAIT's log entry
        comes at its end; it begins when the header is in the log, with no start pause."""
        self.s.write_settings('RkEngineSettings', KeyinWaitMSec=0)
        m = self.macro(title, ['WAIT:10000', 'WAIT:0'])
        p = self.start_engine(m)
        log = self.s.suite_folder() / 'Zorvane_Log.txt'
        self.s.wait_until(lambda: log.exists() and 'ForeGroundLockTimeOut' in log.read_bytes().decode('cp932', 'replace'),
                          15, 'the run log header')
        return m, p

    def stopped(self, engine):
        """The status window once it says the run stopped; it stays open until then."""
        def seen():
            info = self.s.wait_window(STATUS, 2000)
            self.assertIsNotNone(info, 'the window stays open until the WAIT ends' + self.diagnostics(engine))
            return info if control(info, 1000)['text'] == STOPPED_TEXT else None
        return self.s.wait_until(seen, 30, 'the run stopped')

    def diagnostics(self, engine):
        """What the desktop and the engine looked like when a check failed."""
        log = self.s.suite_folder() / 'Zorvane_Log.txt'
        return ('\nengine exit: ' + str(engine.poll()) + '\nwindows:\n' + self.s.tool('windows')[1] +
                '\nprocesses: ' + ' '.join(self.s.processes()) +
                '\nlog:\n' + (self.s.read_cp932(log) if log.exists() else '(none)'))

    # ---- scenarios ----
    def test_launch_focus_type_and_keys_reach_the_target(self):
        caption = 'ZvTarget 受信窓'
        record = self.work / 'keys.txt'
        launch = self.target_line_for(caption, record)
        typed = '日本語の入力 表示ソフト'
        m = self.macro('入力', [
            f'LAUNCH:{launch},WAIT',
            f'FOCUS:"{caption}"',
            'FOCUS:"Target 受信*"',
            f'TYPE:"{typed}"',
            'KEYIN:CONTROL A',
            'KEYIN:RETURN,REP=3',
            'KEYIN:SHIFT TAB',
        ])
        self.assertEqual(self.s.tool('clip-set', '前の内容 ABC', CLIP_FORMAT, '0102000304')[0], 0)
        before = self.clip()
        self.run_engine(m)
        self.s.screenshot('engine-run-typed')
        self.s.tool('close', caption)
        self.assertTrue(self.wait_record(record, 'final ' + typed), record_lines(record))

        launched = launch[1:-1]
        self.assertEqual(self.log(), header(self.s.win_path(m)) + [
            f'0002行目：LAUNCH: >{launched}< 完了=起動待ち -OK',
            f'0003行目：FOCUS : >{caption}< [完全一致]  Check=1 -OK',
            '0004行目：FOCUS : >Target 受信< [部分一致]  Check=1 -OK',
            f'0005行目：TYPE  : [Fgwh=*][wh=*]>{typed}<',
            '0006行目：KEYIN : CONTROL(11) + "A"(41)',
            '0007行目：KEYIN : RETURN(0D) <Repeat=3>',
            '0008行目：KEYIN : SHIFT(10) + TAB(09)',
            'マクロ処理終了',
        ])
        keys = [line for line in record_lines(record) if line.startswith(('keydown', 'keyup'))]
        paste = ['keydown 11', 'keydown 56', 'keyup 56', 'keyup 11']
        select_all = ['keydown 11', 'keydown 41', 'keyup 41', 'keyup 11']
        enter = ['keydown 0D', 'keyup 0D']
        back_tab = ['keydown 10', 'keydown 09', 'keyup 09', 'keyup 10']
        self.assertEqual(keys, paste + select_all + enter * 3 + back_tab)
        self.assertEqual(before['text'], '前の内容 ABC')
        self.assertEqual(self.clip(), before, 'the clipboard holds what it held before: text, the other format, '
                                              'as many formats')

    def test_type_into_a_program_that_pastes_late(self):
        """The target is busy for 1.5 s when Ctrl+V reaches it, far beyond the key pause: it
        still pastes the macro's text, and the user's clipboard is back afterwards."""
        caption = 'ZvTarget 遅い貼り付け'
        record = self.work / 'late.txt'
        self.start_target(caption, record, '1500')
        self.assertEqual(self.s.tool('clip-set', '利用者の内容', CLIP_FORMAT, '0a0b0c')[0], 0)
        before = self.clip()
        typed = 'マクロの文字列 123'
        m = self.macro('遅い貼り付け', [f'FOCUS:"{caption}"', f'TYPE:"{typed}"'])
        self.run_engine(m)
        self.assertIn('paste late 1500', record_lines(record))
        self.assertEqual(self.clip(), before, "the user's clipboard is back")
        self.s.tool('close', caption)
        self.assertTrue(self.wait_record(record, 'final ' + typed), record_lines(record))
        self.assertEqual(self.log()[-2:], [f'0003行目：TYPE  : [Fgwh=*][wh=*]>{typed}<', 'マクロ処理終了'])

    def test_clipboard_viewers_see_the_typed_text_marked_and_an_empty_clipboard_stays_empty(self):
        caption = 'ZvTarget 履歴'
        record = self.work / 'history.txt'
        watch = self.work / 'watch.txt'
        self.start_target(caption, record)
        self.assertEqual(self.s.tool('clip-empty')[0], 0)
        viewer = self.s.start(self.s.test_program('zvtool.exe'), f'clip-watch "{self.s.win_path(watch)}" 30000')
        stop = pathlib.Path(str(watch) + '.stop')
        self.addCleanup(viewer.wait, 30)
        self.addCleanup(stop.touch)
        self.assertTrue(self.wait_record(watch, 'ready'), 'the viewer listens')
        m = self.macro('履歴', [f'FOCUS:"{caption}"', 'TYPE:%PARAM1'])
        self.start(self.engine, f'/M:"{self.s.win_path(m)}" /1:"秘密のパスワード"').wait(timeout=90)
        self.assertTrue(self.wait_record(record, 'text 秘密のパスワード'), record_lines(record))
        self.assertEqual(self.clip(), {'text': None, 'custom': None, 'count': 0}, 'empty, as it was')
        stop.touch()
        viewer.wait(timeout=30)

        seen = [json.loads(line) for line in record_lines(watch)[1:]]
        typed = [formats for formats in seen if 13 in formats]
        self.assertTrue(typed, seen)
        for formats in typed:  # each time the text is there, the marks are beside it
            self.assertTrue(set(EXCLUSION_FORMATS) <= set(formats), formats)
        self.assertEqual(seen[-1], [], 'emptied again: ' + str(seen))
        self.assertEqual(self.log()[-2:], ['0003行目：TYPE  : [Fgwh=*][wh=*]>秘密のパスワード<', 'マクロ処理終了'])

    def test_mouse_actions_at_client_positions(self):
        self.assertEqual(self.s.tool('mouse-set', '4', '12', '1', '7')[0], 0)
        before = self.mouse_params()
        self.assertEqual(before, {'t1': 4, 't2': 12, 'accel': 1, 'speed': 7})
        caption = 'ZvTarget マウス 1'
        record = self.work / 'mouse1.txt'
        self.run_engine(self.macro('マウス1', [
            f'LAUNCH:{self.target_line_for(caption, record)},WAIT', f'FOCUS:"{caption}"',
            'MOUSE:100,120,L,LOCAL', 'MOUSE:150,140,LOCAL,LW', 'MOUSE:200,160,W-,LOCAL', 'MOUSE:210,170,w+,LOCAL',
            'MOUSE:60,200,LOCAL', 'MOUSE:300,260,DD,LOCAL', 'MOUSE:320,100,R,LOCAL']))
        self.s.tool('close', caption)
        self.assertTrue(self.wait_record(record, 'final '))
        mouse_words = ('down', 'up', 'dblclk', 'wheel', 'drag')
        self.assertEqual([line for line in record_lines(record) if line.split(' ')[0] in mouse_words], [
            'down L 100 120', 'up L 100 120',
            'down L 150 140', 'up L 150 140', 'dblclk L 150 140', 'up L 150 140',
            'wheel -120 200 160', 'wheel 120 210 170',
            'down L 60 200', 'up L 300 260', 'drag L 60 200 300 260',
            'down R 320 100', 'up R 320 100'], 'every action at the client position of its line')
        self.assertEqual(self.mouse_params(), before, "the user's pointer speed and acceleration are kept")

        log = self.log()
        entries = log[5:-1]
        first = re.match(r'0004行目：MOUSE : X=(\d+) Y=(\d+) BUTTON=L POS=LOCAL\(wh=\* X=100,Y=120\)$', entries[0])
        self.assertIsNotNone(first, entries[0])
        ox, oy = int(first.group(1)) - 100, int(first.group(2)) - 120
        expected = [('L', 100, 120), ('LW', 150, 140), ('W-', 200, 160), ('W+', 210, 170), ('none', 60, 200),
                    ('DD', 300, 260), ('R', 320, 100)]
        self.assertEqual(entries, [
            f'{n + 4:04d}行目：MOUSE : X={x + ox} Y={y + oy} BUTTON={b} POS=LOCAL(wh=* X={x},Y={y})'
            for n, (b, x, y) in enumerate(expected)])
        self.assertEqual(log[-1], 'マクロ処理終了')

    def test_status_window_and_stop_by_restoring(self):
        started = time.time()
        m, p = self.engine_in_a_wait('停止テスト')
        info = self.shown_status_window()
        self.assertTrue(info['iconic'], 'opens minimised')
        self.assertEqual(control(info, 1000)['text'], RUNNING_TEXT)
        self.assertEqual(control(info, 1001)['text'], self.s.win_path(m))
        self.assertFalse(control(info, 1)['enabled'])
        self.assertTrue(self.s.tool_ok('win-info', STATUS)['exstyle'] & WS_EX_APPWINDOW, 'its own task-bar button')
        self.assertEqual(self.s.tool_ok('res-string', self.s.win_path(self.engine), '101'),
                         'RkEngine のバージョン情報(&A)...', 'the system menu item')

        # Enter and Escape during the run do not close the window.
        self.s.tool('post-key', STATUS, '13')
        self.s.tool('post-key', STATUS, '27')
        self.s.tool('show', STATUS, 'restore')
        info = self.stopped(p)
        stopped_at = time.time()
        self.assertGreater(stopped_at - started, 9.0, 'the current WAIT ran to its end')
        self.assertTrue(control(info, 1)['enabled'])
        self.assertFalse(info['iconic'])
        caret = len(self.s.win_path(m)) - 1
        self.assertEqual(self.s.tool_ok('edit-sel', STATUS, '1001'), {'start': caret, 'end': caret},
                         'caret before the last character')
        self.s.screenshot('engine-stopped')
        self.assertIsNone(p.poll(), 'stays open until OK')
        self.assertTrue(self.s.press(STATUS, 1))
        self.assertEqual(p.wait(timeout=30), 0)
        self.assertEqual(self.log(), header(self.s.win_path(m)) + [
            '0002行目：WAIT  : 10000 mm sec',
            'マクロ処理終了',
        ])

    def test_enter_during_the_stop_closes_once_stopped(self):
        # The WAIT outlasts the steps before the Enter, however slow the machine.
        _, p = self.engine_in_a_wait('停止Enter')
        self.assertIsNotNone(self.s.wait_window(STATUS, 10000))
        self.s.tool('show', STATUS, 'restore')
        self.s.wait_until(lambda: not (self.s.wait_window(STATUS, 2000) or {'iconic': True})['iconic'], 15,
                          'the status window restored')
        self.s.tool('post-key', STATUS, '13')  # queued while the window waits for the WAIT
        self.assertEqual(p.wait(timeout=30), 0)
        self.assertEqual(self.log()[-2:], ['0002行目：WAIT  : 10000 mm sec', 'マクロ処理終了'])

    def test_about_box_open_when_the_run_ends(self):
        # The WAIT outlasts opening the box, however slow the machine.
        m = self.macro('情報', ['WAIT:10000', 'WAIT:0'])
        p = self.start_engine(m)
        self.assertIsNotNone(self.s.wait_window(STATUS, 10000))
        self.s.tool('syscommand', STATUS, '16')
        about = self.s.tool_json('dialog', ABOUT, '10000')  # shown, with its controls
        self.assertIsNotNone(about)
        texts = [c['text'] for c in about['controls']]
        self.assertIn('RkEngine Version 2.0.0.0', texts)
        self.assertIn('OK', texts)
        icons = [c for c in about['controls'] if c['class'].lower() == 'static' and 'Version' not in c['text']]
        self.assertEqual(len(icons), 1, 'the icon')
        self.s.screenshot('engine-about')
        # The box is left open: the run ends, the box goes with the window, the engine ends.
        self.assertEqual(p.wait(timeout=30), 0)
        self.assertIsNone(self.s.wait_window(ABOUT, 500, cls='#32770'))
        self.assertEqual(self.log()[-3:], ['0002行目：WAIT  : 10000 mm sec', '0003行目：WAIT  : 0 mm sec',
                                           'マクロ処理終了'])

    def test_restoring_with_the_about_box_open_stops_the_run(self):
        # The WAIT outlasts the steps before the restore, however slow the machine.
        _, p = self.engine_in_a_wait('情報停止')
        self.shown_status_window()
        self.s.tool('syscommand', STATUS, '16')
        self.assertIsNotNone(self.s.wait_window(ABOUT, 10000, cls='#32770'))
        self.s.tool('show', STATUS, 'restore')
        info = self.stopped(p)
        self.assertTrue(control(info, 1)['enabled'])
        self.assertIsNone(p.poll(), 'stays open until OK')
        self.assertTrue(self.s.press(ABOUT, 1))
        self.assertTrue(self.s.press(STATUS, 1))
        p.wait(timeout=30)
        self.assertEqual(self.log()[-2:], ['0002行目：WAIT  : 10000 mm sec', 'マクロ処理終了'],
                         'the second line did not run')

    def test_run_ends_while_the_system_menu_is_open(self):
        m = self.macro('メニュー', ['WAIT:4000', 'WAIT:0'])
        p = self.start_engine(m)
        self.shown_status_window()
        self.s.tool('syscommand', STATUS, str(0xF100), str(0x20))  # Alt+Space: the system menu
        self.s.wait_until(lambda: self.s.tool('popup-rect')[0] == 0, 10, 'the system menu open')
        self.s.screenshot('engine-system-menu')
        try:
            self.assertEqual(p.wait(timeout=20), 0)
        except subprocess.TimeoutExpired:
            self.fail('the engine is still running with its menu open' + self.diagnostics(p))
        self.assertNotEqual(self.s.tool('popup-rect')[0], 0, 'the menu went with the window')
        self.assertEqual(self.log()[-3:], ['0002行目：WAIT  : 4000 mm sec', '0003行目：WAIT  : 0 mm sec',
                                           'マクロ処理終了'])

    def test_launch_until_end_and_missing_program(self):
        caption = 'ZvTarget 終了待ち'
        record = self.work / 'end.txt'
        launch = self.target_line_for(caption, record)
        m = self.macro('終了待ち', [
            f'LAUNCH:{launch} , end',
            'LAUNCH:zv_missing_program.exe',
            'WAIT:0',
        ])
        p = self.start_engine(m)
        self.assertIsNotNone(self.s.wait_window(caption, 15000))
        time.sleep(1.5)  # the engine is given the time to end on its own, which it must not
        self.assertIsNone(p.poll(), 'waits while the program runs')
        self.assertEqual(self.s.tool('close', caption)[0], 0)
        self.assertEqual(p.wait(timeout=30), 0)
        self.assertEqual(self.log(), header(self.s.win_path(m)) + [
            f'0002行目：LAUNCH: >{launch[1:-1]}< 完了=終了待ち',
            '<ERROR>下記の行は処理不能',
            '0003行目：LAUNCH:zv_missing_program.exe',
            '\tLAUNCH: >zv_missing_program.exe< 完了=待たない',
            '\t上記プログラムが起動できない',
            'エラー発生のため処理を中止',
            'マクロ処理終了',
        ])

    def test_closing_during_a_run_releases_held_keys(self):
        caption = 'ZvTarget 解放'
        record = self.work / 'release.txt'
        # A pause after the key far longer than the time the close takes, even on a
        # loaded machine: the key goes up at the close, not at the end of the pause.
        self.s.write_settings('RkEngineSettings', KeyinWaitMSec=30000)
        self.start_target(caption, record)
        m = self.macro('解放', [f'FOCUS:"{caption}"', 'KEYIN:SHIFT', 'WAIT:0'])
        p = self.start_engine(m)
        self.assertTrue(self.wait_record(record, 'keydown 10', 30), 'the engine holds Shift')
        pressed = time.time()
        self.assertEqual(self.s.tool('close', STATUS)[0], 0)
        self.assertEqual(p.wait(timeout=30), 0)
        self.assertTrue(self.wait_record(record, 'keyup 10', 10))
        self.assertLess(time.time() - pressed, 20, 'released at the close, not after the KEYIN pause')
        log = self.log()
        self.assertNotIn('マクロ処理終了', log, 'the run was cut off')
        self.assertNotIn('0003行目：WAIT  : 0 mm sec', log)


if __name__ == '__main__':
    unittest.main()
