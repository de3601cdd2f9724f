"""RkEditor's "操作を記録" as a user meets it: the editor hides behind a small recording
bar, the user works in Notepad or in the test target program (input played through
SendInput: Unicode text as an input method delivers it, keys, clicks, a double click, a
drag, a wheel notch, a conversion finished by the input method), Pause or the bar's stop
button ends it, and the lines are in the editor. The recorded macro is then run by
RkEngine.exe and must do the same again. A password field's text never reaches the macro,
and the hook does nothing once the editor is gone, even when it was killed.

Then the situations where a recorder easily goes silently wrong: Alt+F4 on one of two
Notepads, a conversion committed by a click into the next field (composition messages
sent by the input method), a message box answered with Space and a mnemonic, a window
whose input method gives text without a message the hook reads, a field protected
through accessibility, a second editor asked to record, a program that stops taking its
messages. Each either replays as the user did or says on the bar and in the note what it
could not record."""
import re
import shutil
import time
import unittest

from wineenv import SessionTest, record_lines

BAR = 'RkEditor - 操作を記録'
NOTEPAD = '(無題) - メモ帳'
LIST = 1000
STATUS = 1901
STOP_BUTTON = 1902
NOTICE = 1903
WM_APP = 0x8000
FOLDER = 'zv-recorder'
STAMP = re.compile(r'^\[\d\d/\d\d/\d\d \d\d:\d\d:\d\d\] ')


class Recorder(SessionTest):
    FOLDER = FOLDER
    KILL = ('RkEditor.exe', 'RkEngine.exe', 'zvtarget.exe', 'notepad.exe')

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.editor = cls.s.bin('RkEditor.exe')
        cls.engine = cls.s.bin('RkEngine.exe')
        cls.hook = cls.s.win_path(cls.s.bin('RkRecHook.dll'))

    # ---- helpers ----
    def open_editor(self, name='rec.txt'):
        return super().open_editor(name, '; <RKMACRO>記録\r\n\r\n')

    def start_recording(self, caption):
        """Chooses "操作を記録(&C)..." in the "マクロ(&M)" menu; returns the bar."""
        self.s.tool('activate', caption)
        self.s.tool('send-keys', 'alt', 'm', 'c')

        def shown():
            bar = self.s.wait_window(BAR, 2000)
            return bar if bar is not None and bar['visible'] else None
        return self.s.wait_until(shown, 10, 'the recording bar on the screen')

    def visible(self, caption):
        info = self.s.wait_window(caption, 1000)
        return info is not None and info['visible']

    def wait_back(self, caption, timeout=10):
        """The editor is back (modified) and the bar gone once the recording ended."""
        try:
            self.s.wait_until(lambda: self.visible(caption + '(更新)') and not self.visible(BAR), timeout,
                              'the editor back (changed) and the bar gone')
        except AssertionError as e:
            self.fail(f'{e}; the windows: ' + self.s.tool('windows')[1])
        return caption + '(更新)'

    def notepad_text(self):
        info = self.s.wait_window(NOTEPAD, 5000)
        self.assertIsNotNone(info)
        return next(c['text'] for c in info['controls'] if c['class'].lower() == 'edit')

    def armed(self):
        return self.s.tool_ok('hook-armed', self.hook)['armed']

    def play(self, *steps):
        rc, out = self.s.tool('play', *steps, timeout=120)
        self.assertEqual(rc, 0, out)

    def origin(self, caption):
        o = self.s.tool_ok('client-origin', caption)
        return o['x'], o['y']

    def save(self, caption, name='rec.txt'):
        """Saves with Ctrl+S; returns the macro's command lines."""
        self.s.tool('activate', caption)
        self.keys('ctrl+s')
        self.assertIsNotNone(self.s.wait_window(caption.replace('(更新)', ''), 10000), 'saved')
        text = self.s.read_cp932(self.dir / name)
        self.assertTrue(text.startswith('; <RKMACRO>記録\r\n\r\n\r\n'), text)
        return text.split('\r\n')[3:-1]

    def recorded(self, caption, name='rec.txt'):
        """The macro's command lines once the recording ended and the editor saved it."""
        return self.save(self.wait_back(caption), name)

    def set_pause(self, ms):
        """The pause that becomes a WAIT line: a minute, so that the tests' own pauses (and a
        loaded machine's) do not."""
        self.s.write_settings('RkManagerSettings', RecordPauseMSec=ms)

    def post(self, caption, message, wparam=0):
        """Posts to a top-level window; a walk of the windows while others come and go can
        miss it once."""
        self.s.wait_until(lambda: self.s.tool('post-msg', caption, str(message), str(wparam), '0')[0] == 0,
                          2, f'a message posted to {caption}', interval=0.3)

    def bar_control(self, control):
        """{text, visible, height} of a control of the recording bar."""
        return self.s.tool_json('control-state', BAR, str(control))

    def answer_note(self, timeout=10000):
        """The note the editor shows at the end of a recording, answered with OK."""
        note = self.s.message_box_text('RkEditor', timeout)
        if note is not None:
            self.assertTrue(self.s.answer('RkEditor'))
        return note

    def close_target(self, caption, record):
        self.s.tool('close', caption)

        def ended():
            lines = record_lines(record)
            return lines if lines and lines[-1].startswith('final') else None
        return self.s.wait_until(ended, 15, 'the target ended (its "final" line)')

    def record_in(self, target, record, *mode, pause=60000):
        """The target program started writing to the record (under self.work), then the
        editor recording with that pause (set_pause); returns the editor's caption and the
        record's path."""
        self.set_pause(pause)
        path = self.work / record
        self.start_target(target, path, *mode)
        caption = self.open_editor()
        self.start_recording(caption)
        return caption, path

    def replay(self, lines):
        """The engine's run of the saved macro, every one of its lines run without an
        error; returns the log's lines."""
        self.assertEqual(self.s.run(self.engine, f'/M:"C:\\{FOLDER}\\rec.txt"', timeout=120), 0)
        log = [STAMP.sub('', line) for line in self.s.run_log().splitlines()]
        entries = [l for l in log if re.match(r'^\d{4}行目：', l)]
        self.assertEqual(len(entries), len(lines), log)
        for entry, line in zip(entries, lines):
            keyword = line.split(':', 1)[0]
            self.assertRegex(entry, rf'^\d{{4}}行目：{keyword} *:', log)
        self.assertFalse([l for l in log if '<ERROR>' in l], log)
        self.assertEqual(log[-1], 'マクロ処理終了')
        return log

    # ---- scenarios ----
    def test_typing_in_notepad_is_recorded_as_lines_and_replays(self):
        self.start(self.s.drive_c() / 'windows' / 'notepad.exe')
        self.assertIsNotNone(self.s.wait_window(NOTEPAD, 15000))
        caption = self.open_editor()
        # Typed before the bar shows: not recorded.
        self.s.tool('activate', NOTEPAD)
        self.play('text:前')
        self.start_recording(caption)
        self.assertFalse(self.visible(caption), 'the editor hides while recording')
        self.assertTrue(self.armed())

        def clock():
            return next(c['text'] for c in self.s.wait_window(BAR, 2000)['controls'] if c['id'] == 1901)
        self.s.wait_until(lambda: clock() != '記録中  0:00', 10, "the bar's clock moved on")
        self.assertIsNotNone(self.s.screenshot('recorder_bar'))
        self.assertRegex(clock(), r'^記録中  0:0[1-9]$')

        self.s.tool('activate', NOTEPAD)
        self.play('text:こんにちは、世界', 'key:return', 'key:ctrl+a', 'key:ctrl+c', 'key:pause')
        caption = self.wait_back(caption)
        self.assertFalse(self.armed(), 'the hook passes nothing on after the stop')
        box = self.s.tool_ok('listbox', caption, str(LIST))
        self.assertEqual((box['count'], box['sel']), (5, 4), 'inserted at the top, the last one selected')
        self.s.screenshot('recorder_editor_lines')
        self.assertEqual(self.notepad_text(), '前こんにちは、世界\r\n', 'Notepad got the typing')
        self.assertEqual(self.s.message_box_text('RkEditor', 500), None, 'nothing to tell')

        lines = self.save(caption)
        self.assertEqual(lines, [f'FOCUS:"{NOTEPAD}"', 'TYPE:"こんにちは、世界"', 'KEYIN:RETURN',
                                 'KEYIN:CONTROL A', 'KEYIN:CONTROL C'])
        self.assertEqual(self.s.settings('RkManagerSettings').get('RecordPauseMSec'), '1000',
                         'the threshold is written back with its default')

        # A fresh Notepad, the macro run by the engine: the same text again.
        # Killed again until gone: a kill while the process is still starting a thread may miss.
        self.s.wait_until(lambda: self.s.tool('kill', 'notepad.exe') and not self.s.processes('notepad.exe'),
                          30, 'Notepad ended', interval=0.5)
        self.s.tool('clip-set', 'before')
        self.start(self.s.drive_c() / 'windows' / 'notepad.exe')
        self.assertIsNotNone(self.s.wait_window(NOTEPAD, 15000))
        self.replay(lines)
        self.assertEqual(self.notepad_text(), 'こんにちは、世界\r\n')
        clip = self.s.tool_ok('clip-get')
        self.assertEqual(clip['text'], 'こんにちは、世界\r\n', 'Ctrl+A, Ctrl+C copied it')

    def test_clicks_and_a_drag_replay_at_the_same_client_positions(self):
        target = 'ZvTarget 記録'
        caption, first = self.record_in(target, 'recorded.txt', pause=1500)
        x, y = self.origin(target)
        # A user's pace: clicks further apart than a double click, then a pause longer
        # than the threshold, which the macro keeps as a WAIT line.
        self.play(f'click:{x + 100},{y + 120}', 'sleep:400',
                  f'dblclick:{x + 150},{y + 140}', 'sleep:400',
                  f'drag:{x + 60},{y + 200},{x + 300},{y + 260}', 'sleep:400',
                  f'click:{x + 320},{y + 100},right', 'sleep:2500',
                  f'wheel:{x + 200},{y + 160},-120')
        # The bar's own button ends it; the click on the bar is not part of the macro.
        r = self.s.tool_ok('control-rect', BAR, str(STOP_BUTTON))
        self.play(f'click:{(r["left"] + r["right"]) // 2},{(r["top"] + r["bottom"]) // 2}')
        lines = self.recorded(caption)
        self.assertEqual(lines[:6], [f'FOCUS:"{target}"', 'MOUSE:100,120,L,LOCAL',
                                     'MOUSE:150,140,LW,LOCAL', 'MOUSE:60,200,LOCAL',
                                     'MOUSE:300,260,DD,LOCAL', 'MOUSE:320,100,R,LOCAL'])
        self.assertRegex(lines[6], r'^WAIT:(2[5-9]|3[0-4])00,0$', 'the pause above the threshold')
        self.assertEqual(lines[7:], ['MOUSE:200,160,W-,LOCAL'])

        mouse_words = ('down', 'up', 'dblclk', 'drag', 'wheel')
        recorded = [l for l in self.close_target(target, first) if l.split(' ')[0] in mouse_words]
        self.assertEqual(recorded, ['down L 100 120', 'up L 100 120',
                                    'down L 150 140', 'up L 150 140', 'dblclk L 150 140', 'up L 150 140',
                                    'down L 60 200', 'up L 300 260', 'drag L 60 200 300 260',
                                    'down R 320 100', 'up R 320 100', 'wheel -120 200 160'])

        second = self.work / 'replayed.txt'
        self.start_target(target, second)
        self.replay(lines)
        replayed = [l for l in self.close_target(target, second) if l.split(' ')[0] in mouse_words]
        self.assertEqual(replayed, recorded, 'the same clicks, double click, drag and notch')

    def test_a_password_field_leaves_no_text_in_the_macro(self):
        target = 'ZvTarget パスワード'
        caption, record = self.record_in(target, 'password.txt')
        x, y = self.origin(target)
        self.play(f'click:{x + 100},{y + 57}', 'text:himitsu42',
                  f'click:{x + 100},{y + 23}', 'text:visible', 'key:pause')
        self.assertEqual(self.s.message_box_text('RkEditor', 10000),
                         'パスワード欄に入力された文字は記録していません。')
        self.s.screenshot('recorder_password_note')
        self.assertTrue(self.s.answer('RkEditor'))
        lines = self.recorded(caption)
        self.assertEqual(lines, [f'FOCUS:"{target}"', 'MOUSE:100,57,L,LOCAL',
                                 'MOUSE:100,23,L,LOCAL', 'TYPE:"visible"'])  # the whole file: no password
        got = self.close_target(target, record)
        self.assertIn('password himitsu42', got, 'the field did get the password')
        self.assertIn('text visible', got)

    def test_an_input_method_result_is_recorded_as_its_text(self):
        # The target's input method finishes a conversion of 漢字変換 between typed text
        # (the composition shows in the field first, then the result comes as characters).
        target = 'ZvTarget 変換'
        caption, record = self.record_in(target, 'ime.txt')
        self.s.tool('activate', target)
        self.play('text:ab')
        self.assertEqual(self.s.tool('post-msg', target, str(0x8001), '0', '0')[0], 0)
        self.s.wait_until(lambda: 'ime set done' in record_lines(record), 10,
                          'the input method finished its conversion')
        self.play('text:cd', 'key:pause')
        self.assertEqual(self.recorded(caption), [f'FOCUS:"{target}"', 'TYPE:"ab漢字変換cd"'])
        self.assertEqual(self.close_target(target, record)[-1], 'final ab漢字変換cd')

    def test_closing_the_editor_while_recording_keeps_the_lines(self):
        target = 'ZvTarget 閉じる'
        self.start_target(target, self.work / 'close.txt')
        caption = self.open_editor()
        self.start_recording(caption)
        self.s.tool('activate', target)
        self.play('text:keep me', 'key:return')
        self.s.tool('close', caption)  # the session ends, say: the hidden editor is asked to close
        question = self.s.message_box_text('RkEditor', 10000)
        self.assertEqual(question, f'C:\\{FOLDER}\\rec.txt への変更を保存しますか?')
        self.assertFalse(self.visible(BAR))
        self.assertFalse(self.armed())
        self.assertTrue(self.s.press('RkEditor', 6), 'はい')
        self.assertTrue(self.s.wait_no_process('RkEditor.exe'))
        text = self.s.read_cp932(self.dir / 'rec.txt')
        self.assertEqual(text.split('\r\n')[3:-1], [f'FOCUS:"{target}"', 'TYPE:"keep me"', 'KEYIN:RETURN'])

    def test_without_the_hook_beside_it_the_editor_says_so(self):
        alone = self.work / 'alone'
        alone.mkdir()
        shutil.copy(self.editor, alone / 'RkEditor.exe')
        self.s.write_cp932(self.dir / 'rec.txt', '; <RKMACRO>記録\r\n\r\n')
        self.start(alone / 'RkEditor.exe', f'"C:\\{FOLDER}\\rec.txt"')
        caption = 'rec.txt - RkEditor'
        self.assertIsNotNone(self.s.wait_window(caption, 15000))
        self.s.tool('activate', caption)
        self.s.tool('send-keys', 'alt', 'm', 'c')
        text = self.s.message_box_text('RkEditor', 10000) or ''
        self.assertTrue(text.startswith('操作の記録を開始できません。\r\nRkRecHook.dll を読み込めません。\r\n'), text)
        self.assertGreater(len(text), len('操作の記録を開始できません。\r\nRkRecHook.dll を読み込めません。\r\n'),
                           "the system's reason follows")
        self.assertTrue(self.s.answer('RkEditor'))
        self.assertTrue(self.visible(caption), 'the editor stays as it was')
        self.assertFalse(self.visible(BAR))

    def test_the_hook_does_nothing_once_the_editor_was_killed(self):
        target = 'ZvTarget 後'
        caption, record = self.record_in(target, 'after.txt')
        self.assertTrue(self.armed())
        self.s.tool('kill', 'RkEditor.exe')
        self.assertTrue(self.s.wait_no_process('RkEditor.exe'))
        self.assertFalse(self.armed(), 'the recorder window is gone: nothing passes')
        # The programs the hook was in go on taking input as before.
        self.s.tool('activate', target)
        self.play('text:still here')
        # Wine keeps a killed program's message hooks installed: the next recording must
        # still see every character once.
        caption = self.open_editor('again.txt')
        self.start_recording(caption)
        self.s.tool('activate', target)
        self.play('text: again', 'key:pause')
        self.assertEqual(self.recorded(caption, 'again.txt'), [f'FOCUS:"{target}"', 'TYPE:" again"'])
        self.assertEqual(self.close_target(target, record)[-1], 'final still here again')

    # ---- what a recording must get right, or say it could not ----
    def test_alt_f4_on_one_of_two_notepads_closes_that_one_again(self):
        self.set_pause(60000)
        notepad = self.s.drive_c() / 'windows' / 'notepad.exe'
        captions = {}
        for name, x in (('a.txt', 20), ('b.txt', 660)):
            self.s.write_cp932(self.dir / name, '')
            self.start(notepad, f'C:\\{FOLDER}\\{name}')
            info = self.s.wait_window(f'{name} - ', 15000, partial=True)
            self.assertIsNotNone(info, self.s.tool('windows')[1])
            captions[name] = info['caption']
            self.s.tool('move-window', info['caption'], str(x), '40', '600', '400')
        a, b = captions['a.txt'], captions['b.txt']
        caption = self.open_editor()
        self.start_recording(caption)
        ax, ay = self.origin(a)
        self.play(f'click:{ax + 60},{ay + 40}', 'sleep:300', 'key:alt+f4', 'sleep:800')
        self.assertIsNone(self.s.wait_window(a, 500), 'Alt+F4 closed the Notepad in front')
        self.s.tool('activate', b)
        self.play('text:y', 'sleep:300', 'key:pause')
        lines = self.recorded(caption)
        self.assertEqual(lines, [f'FOCUS:"{a}"', 'MOUSE:60,40,L,LOCAL', 'KEYIN:MENU F4',
                                 f'FOCUS:"{b}"', 'TYPE:"y"'])

        # Both open again, b in front: the macro closes a and types into b.
        self.s.tool('kill', 'notepad.exe')
        self.assertTrue(self.s.wait_no_process('notepad.exe'))
        for name, x in (('a.txt', 20), ('b.txt', 660)):
            self.start(notepad, f'C:\\{FOLDER}\\{name}')
            self.assertIsNotNone(self.s.wait_window(captions[name], 15000))
            self.s.tool('move-window', captions[name], str(x), '40', '600', '400')
        self.replay(lines)
        self.assertIsNone(self.s.wait_window(a, 1000), 'a closed again')
        info = self.s.wait_window(b, 2000)
        self.assertIsNotNone(info, 'b is still open')
        self.assertEqual(next(c['text'] for c in info['controls'] if c['class'].lower() == 'edit'), 'y')

    def test_a_conversion_committed_by_a_click_goes_into_its_own_field(self):
        # The reading goes to the input method (the program gets VK_PROCESSKEY), which
        # composes 今日 in the first field; the click into the second field commits it.
        target = 'ZvTarget フォーム'
        caption, first = self.record_in(target, 'form1.txt', 'form')
        x, y = self.origin(target)
        self.play(f'click:{x + 100},{y + 23}', 'key:processkey', 'key:processkey', 'key:processkey')
        self.post(target, WM_APP + 2)
        self.play('sleep:400', f'click:{x + 100},{y + 63}', 'text:abc', 'sleep:300', 'key:pause')
        lines = self.recorded(caption)
        self.assertEqual(lines, [f'FOCUS:"{target}"', 'MOUSE:100,23,L,LOCAL', 'TYPE:"今日"',
                                 'MOUSE:100,63,L,LOCAL', 'TYPE:"abc"'])
        got = self.close_target(target, first)
        self.assertIn('composing', got)
        self.assertEqual(got[-2:], ['final1 今日', 'final2 abc'], f'what the user did: {got}')

        second = self.work / 'form2.txt'
        self.start_target(target, second, 'form')
        log = self.replay(lines)
        got = self.close_target(target, second)
        self.assertEqual(got[-2:], ['final1 今日', 'final2 abc'], f'each text in its own field again: {got} {log}')

    def test_a_message_box_answered_with_space_and_a_mnemonic_gets_the_same_answers(self):
        target = 'ZvTarget 問い'
        caption, first = self.record_in(target, 'ask1.txt', 'ask')
        self.post(target, WM_APP + 3)
        self.assertIsNotNone(self.s.wait_window('ZvTarget 質問', 10000))
        self.s.tool('activate', 'ZvTarget 質問')
        self.play('sleep:300', 'key:space', 'sleep:500')  # on はい(Y), the default button
        self.assertIsNotNone(self.s.wait_window('ZvTarget 確認', 10000))
        self.s.tool('activate', 'ZvTarget 確認')
        self.play('sleep:300', 'key:n', 'sleep:500', 'key:pause')  # いいえ(N)
        lines = self.recorded(caption)
        self.assertEqual(lines, ['FOCUS:"ZvTarget 質問"', 'KEYIN:SPACE', 'FOCUS:"ZvTarget 確認"', 'KEYIN:N'])
        got = self.close_target(target, first)
        self.assertEqual([l for l in got if l.startswith('answer')], ['answer1 yes', 'answer2 no'])

        second = self.work / 'ask2.txt'
        self.start_target(target, second, 'ask')
        self.post(target, WM_APP + 3)
        self.assertIsNotNone(self.s.wait_window('ZvTarget 質問', 10000))
        self.replay(lines)
        got = self.close_target(target, second)
        self.assertEqual([l for l in got if l.startswith('answer')], ['answer1 yes', 'answer2 no'],
                         'the same answers')

    def test_an_input_method_that_gives_no_text_is_named_and_no_type_line_claims_it(self):
        # A program whose input method delivers text without a message the hook reads
        # (the newer text framework): the keys go to the input method, then the text is
        # in the field.
        target = 'ZvTarget 新方式'
        caption, record = self.record_in(target, 'silent.txt', 'silent')
        self.assertEqual(self.bar_control(NOTICE)['visible'], False)
        short = self.bar_control(NOTICE)['height']
        self.s.tool('activate', target)
        self.play('text:ab', 'key:processkey', 'key:processkey', 'key:convert', 'key:processkey')
        self.post(target, WM_APP + 4)
        self.play('sleep:200', 'key:c', 'key:d')
        notice = self.s.wait_until(lambda: (lambda n: n['visible'] and n)(self.bar_control(NOTICE)), 5,
                                   'the notice on the recording bar', interval=0.2)
        self.assertEqual(notice['text'], '「ZvTarget 新方式」の IME 入力を記録できません')
        self.assertTrue(notice['visible'])
        self.assertGreater(notice['height'], short, 'the bar grew to show it')
        self.s.screenshot('recorder_ime_notice')
        self.play('sleep:200', 'key:pause')
        self.assertEqual(self.answer_note(),
                         '「ZvTarget 新方式」で IME などから入力された文字は記録できませんでした。'
                         'TYPE 行にその文字はありません。')
        self.assertEqual(self.recorded(caption), [f'FOCUS:"{target}"', 'TYPE:"ab"', 'TYPE:"cd"'])
        self.assertEqual(self.close_target(target, record)[-1], 'final ab日本語cd')

    def test_a_field_protected_through_accessibility_leaves_nothing_in_the_macro(self):
        target = 'ZvTarget 保護'
        caption, record = self.record_in(target, 'secret.txt', 'secret')
        x, y = self.origin(target)
        # Below it, text with a character Shift-JIS lacks.
        self.play(f'click:{x + 100},{y + 23}', 'text:himitsu42', 'sleep:200',
                  f'click:{x + 100},{y + 63}', 'text:vis\U0001F600ible', 'sleep:300', 'key:pause')
        self.assertEqual(self.answer_note(), 'パスワード欄に入力された文字は記録していません。\r\n'
                         'Shift-JIS で表せない文字 1 文字 (U+1F600) は記録していません。'
                         '前後の文字は別の TYPE 行です。')
        lines = self.recorded(caption)
        self.assertEqual(lines, [f'FOCUS:"{target}"', 'MOUSE:100,23,L,LOCAL',
                                 'MOUSE:100,63,L,LOCAL', 'TYPE:"vis"', 'TYPE:"ible"'])
        self.assertNotIn('himitsu', self.s.read_cp932(self.dir / 'rec.txt'))
        got = self.close_target(target, record)
        self.assertIn('secret himitsu42', got, 'the field did get its text')
        self.assertEqual(got[-1], 'final vis\U0001F600ible')

    def test_a_second_editor_asked_to_record_is_told_and_the_first_recording_is_complete(self):
        self.set_pause(60000)
        target = 'ZvTarget 二つ目'
        record = self.work / 'second.txt'
        self.start_target(target, record)
        first = self.open_editor()
        self.start_recording(first)
        second = self.open_editor('second.txt')
        self.assertEqual(self.s.tool('activate', second)[0], 0)
        self.s.tool('send-keys', 'alt', 'm', 'c')
        self.assertEqual(self.s.message_box_text('RkEditor', 10000),
                         '操作の記録を開始できません。\r\n別の RkEditor で操作を記録しています。\r\n'
                         'その記録を終了してから、もう一度実行してください。')
        self.s.screenshot('recorder_second_editor')
        self.assertTrue(self.s.answer('RkEditor'))
        self.assertTrue(self.visible(second), 'the second editor goes on as it was')
        self.assertTrue(self.armed(), 'the first recording is still armed')
        self.s.tool('activate', target)
        self.play('text:still recorded', 'key:return', 'sleep:300', 'key:pause')
        lines = self.recorded(first)
        self.assertEqual(lines[-3:], [f'FOCUS:"{target}"', 'TYPE:"still recorded"', 'KEYIN:RETURN'])
        self.assertEqual(self.close_target(target, record)[-1], 'final still recorded')

    def test_a_program_that_stops_taking_messages_hangs_neither_itself_nor_the_recording(self):
        # The program in front stops taking its messages while keys go to it; the user
        # ends the recording there.
        self.set_pause(60000)
        hung = 'ZvTarget 応答なし'
        other = 'ZvTarget ほか'
        hung_record = self.work / 'hung.txt'
        other_record = self.work / 'other.txt'
        self.start_target(hung, hung_record, 'hang')
        self.start_target(other, other_record)
        self.s.tool('move-window', other, '640', '60', '500', '360')
        caption = self.open_editor()
        self.start_recording(caption)
        self.s.tool('activate', other)
        self.play('text:ok', 'sleep:300')
        self.s.tool('activate', hung)
        self.post(hung, WM_APP + 5, 20000)
        hung_at = time.time()
        self.play('sleep:300', 'key:x', 'key:y', 'key:return')
        # The recording goes on: the bar's clock moves.
        before = self.bar_control(STATUS)['text']
        self.s.wait_until(lambda: self.bar_control(STATUS)['text'] != before, 3, "the bar's clock moving on")
        self.play('key:pause')
        started = time.time()
        note = self.s.message_box_text('RkEditor', 8000)
        self.assertLess(time.time() - started, 8, 'the recording ended at once')
        self.assertNotIn('awake', record_lines(hung_record), 'while the program slept')
        self.assertLess(time.time() - hung_at, 20)
        self.assertEqual(note, '「ZvTarget 応答なし」が受け取らなかったキー入力 2 件は記録していません。')
        self.assertTrue(self.s.answer('RkEditor'))
        self.assertEqual(self.recorded(caption), [f'FOCUS:"{other}"', 'TYPE:"ok"',
                                              f'FOCUS:"{hung}"', 'KEYIN:RETURN'])
        # It wakes and goes on (where its queued keys go then is the system's affair).
        self.s.wait_until(lambda: 'awake' in record_lines(hung_record), 30, 'the hung program awake')
        self.close_target(hung, hung_record)
        self.assertEqual(self.close_target(other, other_record)[-1], 'final ok')

if __name__ == '__main__':
    unittest.main()
