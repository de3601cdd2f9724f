"""RkEditor.exe as a user meets it: a macro file opened from the command line and saved
back in the suite's layout, lines duplicated, deleted, moved, copied, cut and pasted
with the keyboard, lines dragged within a list and between two editor windows, the
window's fixed width and remembered height, the marker property, a second editor for
"新規作成", a foreign file refused, a macro of all six commands on screen, and the time
a 10,000-line macro takes to show.

Then a macro run from the editor: F5 runs the macro shown through the real RkEngine.exe;
the editor comes back marking the lines that ran, on the line that failed with the
engine's reason, the user's file untouched and no temporary file left."""
import json
import select
import subprocess
import unittest

from wineenv import ARTIFACTS, SessionTest, control, crlf

LIST = 1000
TITLE = 1001
TARGET = 1003
DESCRIPTION = 1005
FOLDER = 'zv-editor'
REASON = '上記キャプションのウィンドウが見つからない'


def dropped_notice(name, count):
    return (f'C:\\{FOLDER}\\{name} には、保存しても書き込まれない行が {count} 行あります'
            '(最初のマクロデータより後のコメント、マクロデータではない行、空の説明行)。\r\n'
            '保存すると、これらの行は失われます。')


class Editor(SessionTest):
    FOLDER = FOLDER
    KILL = ('RkEditor.exe', 'RkEngine.exe')

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.exe = cls.s.bin('RkEditor.exe')

    # ---- helpers ----
    def write(self, name, text):
        path = self.dir / name
        self.s.write_cp932(path, text)
        return path

    def listbox(self, caption):
        return self.s.tool_ok('listbox', caption, str(LIST))

    def sel(self, caption):
        """The selected line, None while the list cannot be read (the caption changing)."""
        rc, out = self.s.tool('listbox', caption, str(LIST))
        return json.loads(out)['sel'] if rc == 0 else None

    def item_centre(self, caption, index):
        r = self.s.tool_ok('item-rect', caption, str(LIST), str(index))
        return (r['left'] + r['right']) // 2, (r['top'] + r['bottom']) // 2

    def field(self, caption, control_id):
        return control(self.s.wait_window(caption, 5000), control_id)['text']

    def saved(self, name):
        return self.s.read_cp932(self.dir / name)

    def wait_caption(self, caption, timeout=5000):
        return self.s.wait_window(caption, timeout) is not None

    # ---- scenarios ----
    def test_opens_a_file_and_saves_it_in_the_editors_layout(self):
        source = crlf('; <RKMACRO> 朝の報告  ', '; <TARGET>無題 - メモ帳*', '',
                      '; 毎朝の報告を書く  ', ';', '; 二行目', '',
                      'LAUNCH:"notepad.exe",WAIT', '   FOCUS:"無題 - メモ帳*"',
                      '; 途中のコメント', 'wait:100', 'ほかの行', 'TYPE:"表示"')
        # Three lines it will not write back: the user is told once, on opening.
        caption = self.open_editor('layout.txt', source, notice=dropped_notice('layout.txt', 3))
        self.assertEqual(self.field(caption, TITLE), ' 朝の報告')
        self.assertEqual(self.field(caption, TARGET), '無題 - メモ帳*')
        self.assertEqual(self.field(caption, DESCRIPTION), '毎朝の報告を書く\r\n二行目')
        box = self.listbox(caption)
        self.assertEqual((box['count'], box['sel']), (4, 0), 'four command lines, line 1 selected')

        # A change marks the caption once; saving writes the layout and clears it.
        self.keys('ctrl+d')
        self.assertTrue(self.wait_caption(caption + '(更新)'), 'modified mark after a change')
        self.assertEqual(self.listbox(caption + '(更新)')['count'], 5)
        self.keys('ctrl+r')
        self.assertEqual(self.listbox(caption + '(更新)')['count'], 4)
        self.keys('ctrl+s')
        self.assertTrue(self.wait_caption(caption), 'the mark goes after saving')
        self.assertEqual(self.saved('layout.txt'), crlf(
            '; <RKMACRO> 朝の報告', '; <TARGET>無題 - メモ帳*', '',
            '; 毎朝の報告を書く', '; 二行目', '',
            'LAUNCH:"notepad.exe",WAIT', 'FOCUS:"無題 - メモ帳*"', 'wait:100', 'TYPE:"表示"'))
        # What the editor wrote reads back and writes again byte for byte.
        first = self.saved('layout.txt')
        self.keys('ctrl+d', 'ctrl+r', 'ctrl+s')
        self.assertTrue(self.wait_caption(caption))
        self.assertEqual(self.saved('layout.txt'), first)

    def end_session(self, caption):
        """Sends the log-off query to the editor's window from another program, as the
        system does, and waits for the answer in the background."""
        return subprocess.Popen(['wine', str(self.s.test_program('zvtool.exe')), 'end-session',
                                 caption, '60000'], env=self.s.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)

    def test_closing_or_logging_off_asks_to_save_a_changed_document(self):
        source = crlf('; <RKMACRO>終', '', 'WAIT:1', 'WAIT:2')
        caption = self.open_editor('session.txt', source)
        self.keys('ctrl+r')
        changed = caption + '(更新)'
        self.assertTrue(self.wait_caption(changed))
        question = 'C:\\%s\\session.txt への変更を保存しますか?' % FOLDER
        self.s.tool('close', changed)
        self.assertEqual(self.s.message_box_text('RkEditor'), question)
        self.s.press('RkEditor', 2)  # ｷｬﾝｾﾙ: the window stays, still changed
        self.assertTrue(self.wait_caption(changed))
        # Logging off: Cancel refuses the end of the session; No lets it end without saving; Yes saves.
        for button, answer in ((2, 'refused'), (7, 'ends'), (6, 'ends')):
            query = self.end_session(changed)
            self.assertEqual(self.s.message_box_text('RkEditor'), question, button)
            self.s.press('RkEditor', button)
            out, _ = query.communicate(timeout=60)
            self.assertEqual(out.decode().strip(), answer, button)
            if button != 6:
                self.assertEqual(self.saved('session.txt'), source, button)
                self.assertTrue(self.wait_caption(changed), 'still changed')
        self.assertTrue(self.wait_caption(caption), 'saved: the mark is gone')
        self.assertEqual(self.saved('session.txt'), crlf('; <RKMACRO>終', '', '', 'WAIT:2'))
        # Nothing left to save: the session ends without a question.
        out, _ = self.end_session(caption).communicate(timeout=60)
        self.assertEqual(out.decode().strip(), 'ends')
        # Changed again and closed with いいえ: the editor ends without saving.
        self.assertEqual(self.s.tool('activate', caption)[0], 0)
        self.keys('ctrl+r')
        self.assertTrue(self.wait_caption(changed))
        self.s.tool('close', changed)
        self.assertEqual(self.s.message_box_text('RkEditor'), question)
        self.s.press('RkEditor', 7)
        self.assertTrue(self.s.wait_no_process('RkEditor.exe', 20))
        self.assertEqual(self.saved('session.txt'), crlf('; <RKMACRO>終', '', '', 'WAIT:2'))

    def test_double_click_on_an_empty_list_says_no_line_is_selected(self):
        caption = self.open_editor('empty.txt', crlf('; <RKMACRO>空', ''))
        r = self.listbox(caption)['rect']
        x, y = (r['left'] + r['right']) // 2, r['top'] + 30
        self.assertEqual(self.s.tool('click-at', str(x), str(y), '--double')[0], 0)
        self.assertEqual(self.s.message_box_text('RkEditor'), 'マクロデータ行が選択されていません。')
        self.s.press('RkEditor', 1)

    def test_a_line_added_through_its_dialog_moved_and_another_deleted(self):
        caption = self.open_editor('add.txt', crlf('; <RKMACRO>追加', '', 'WAIT:1', 'WAIT:2'))
        self.keys('alt', 'm', 'i', 'w')  # マクロ > 行追加 > ウェイト
        self.assertIsNotNone(self.s.wait_window('ウェイト設定(新規)', 10000), 'the WAIT dialog')
        self.assertEqual(self.s.tool('type-text', '700')[0], 0)
        self.keys('return')
        changed = caption + '(更新)'
        self.assertTrue(self.wait_caption(changed), 'the added line marks the document')
        box = self.listbox(changed)
        self.assertEqual((box['count'], box['sel']), (3, 1), 'added below line 1 and selected')
        self.keys('ctrl+j', 'end', 'ctrl+r', 'ctrl+s')
        self.assertTrue(self.wait_caption(caption))
        self.assertEqual(self.saved('add.txt'),
                         crlf('; <RKMACRO>追加', '', '', 'WAIT:700,0', 'WAIT:1'))

    def test_keyboard_moves_copies_cuts_and_pastes_lines(self):
        caption = self.open_editor('lines.txt', crlf('; <RKMACRO>行', '', 'WAIT:1', 'WAIT:2', 'WAIT:3'))
        self.keys('ctrl+j')  # line 1 cannot go up: a beep, nothing changes
        self.assertTrue(self.wait_caption(caption), 'no change at the top')
        self.keys('ctrl+k')
        changed = caption + '(更新)'
        self.assertTrue(self.wait_caption(changed))
        self.assertEqual(self.listbox(changed)['sel'], 1, 'the moved line stays selected')
        self.keys('ctrl+c', 'down', 'ctrl+v')  # WAIT:1 pasted below WAIT:3
        box = self.listbox(changed)
        self.assertEqual((box['count'], box['sel']), (4, 3), 'pasted below the selection')
        self.keys('home', 'ctrl+x', 'ctrl+v')  # WAIT:2 cut from the top, pasted below line 1
        self.keys('ctrl+s')
        self.assertTrue(self.wait_caption(caption))
        self.assertEqual(self.saved('lines.txt'),
                         crlf('; <RKMACRO>行', '', '', 'WAIT:1', 'WAIT:2', 'WAIT:3', 'WAIT:1'))

    def test_drags_a_line_within_the_list_and_between_two_editors(self):
        a = self.open_editor('a.txt', crlf('; <RKMACRO>A', '', *[f'WAIT:{n}' for n in range(1, 6)]))
        self.s.tool('move-window', a, '20', '20', '600', '620')
        # Line 2 dropped onto line 4 lands before it and leaves its old place.
        self.s.tool('drag', *map(str, self.item_centre(a, 1) + self.item_centre(a, 3)))
        changed_a = a + '(更新)'
        self.assertTrue(self.wait_caption(changed_a), 'the drag changed the list')
        self.assertEqual(self.listbox(changed_a)['count'], 5)

        b = self.open_editor('b.txt', crlf('; <RKMACRO>B', '', 'KEYIN:A'))
        self.s.tool('move-window', b, '660', '20', '600', '620')
        # A moving drag into the other editor: the line goes over.
        self.s.tool('activate', changed_a)
        self.s.tool('drag', *map(str, self.item_centre(changed_a, 0) + self.item_centre(b, 0)))
        changed_b = b + '(更新)'
        self.assertTrue(self.wait_caption(changed_b), 'the other editor received the line')
        self.assertEqual(self.listbox(changed_b)['count'], 2)
        self.assertEqual(self.listbox(changed_a)['count'], 4, 'moved: gone from the source')
        # Copy versus move by the Ctrl key is the drop logic's (unit tier): a Ctrl pressed
        # through injected input does not reach the key state of an OLE drag under Wine.
        for caption in (changed_a, changed_b):
            self.s.tool('activate', caption)
            self.keys('ctrl+s')
        self.assertEqual(self.saved('a.txt'), crlf('; <RKMACRO>A', '', '', 'WAIT:3', 'WAIT:2',
                                                   'WAIT:4', 'WAIT:5'))
        self.assertEqual(self.saved('b.txt'), crlf('; <RKMACRO>B', '', '', 'WAIT:1', 'KEYIN:A'))

    def test_window_keeps_its_width_remembers_its_height_and_carries_its_marker(self):
        caption = self.open_editor('size.txt', crlf('; <RKMACRO>S', '', 'WAIT:1'))
        self.assertEqual(self.s.tool('has-prop', caption, '__RKMANAGER_APPL_MUTEX__')[0], 0)
        small = self.s.tool_ok('move-window', caption, '40', '40', '200', '100')
        tall = self.s.tool_ok('move-window', caption, '40', '40', '900', '600')
        width = small['right'] - small['left']
        self.assertEqual(tall['right'] - tall['left'], width, 'the width is fixed')
        self.assertGreater(small['bottom'] - small['top'], 100, 'no smaller than the whole form')
        self.assertEqual(tall['bottom'] - tall['top'], 600)
        self.s.tool('close', caption)
        self.s.wait_no_process('RkEditor.exe', 20)
        ini = self.s.settings('RkManagerSettings')
        self.assertEqual(ini.get('DefaultWindowHeight'), '600')
        caption = self.open_editor('size.txt')
        rect = self.s.tool_ok('window-rect', caption)
        self.assertEqual(rect['bottom'] - rect['top'], 600, 'the next start opens at that height')
        self.assertEqual(rect['right'] - rect['left'], width, 'at the same width')

    def test_new_document_starts_a_second_editor_and_a_foreign_file_is_refused(self):
        foreign = self.write('notes.txt', 'これはメモです\r\n')
        self.start(self.exe, '"C:\\%s\\notes.txt"' % FOLDER)
        self.assertEqual(self.s.message_box_text('RkEditor'),
                         '指定のファイルはRKマクロファイルではありません。')
        self.s.press('RkEditor', 1)
        self.assertTrue(self.wait_caption('無題 - RkEditor', 10000), 'a new document instead')
        self.s.tool('activate', '無題 - RkEditor')
        self.keys('ctrl+n')
        self.s.wait_until(lambda: len(self.s.processes('RkEditor.exe')) >= 2, 15,
                          'a second editor process')
        self.assertEqual(len(self.s.processes('RkEditor.exe')), 2, 'a second editor process')
        self.assertEqual(self.s.read_cp932(foreign), 'これはメモです\r\n')

    def open_through_the_dialog(self, caption, name):
        self.s.tool('activate', caption)
        self.keys('ctrl+o')
        dialog = self.s.wait_window('RKﾏｸﾛﾌｧｲﾙを選択', 10000)
        self.assertIsNotNone(dialog, 'the open dialog')
        ok = [c['text'] for c in dialog['controls'] if c['id'] == 1]
        self.assertIn('ﾌｧｲﾙ選択', ok, 'its OK button is renamed')
        self.assertEqual(self.s.tool('set-text', 'RKﾏｸﾛﾌｧｲﾙを選択', '1152',
                                     'C:\\%s\\%s' % (FOLDER, name))[0], 0)
        self.s.press('RKﾏｸﾛﾌｧｲﾙを選択', 1)

    def test_open_fills_an_untitled_window_and_starts_a_second_editor_after_that(self):
        self.write('one.txt', crlf('; <RKMACRO>一', '', 'WAIT:1', '; 後のコメント'))
        self.write('two.txt', crlf('; <RKMACRO>二', '', 'WAIT:2', 'WAIT:3'))
        self.start(self.exe)
        self.assertTrue(self.wait_caption('無題 - RkEditor', 15000))
        self.open_through_the_dialog('無題 - RkEditor', 'one.txt')
        self.assertEqual(self.s.message_box_text('RkEditor'), dropped_notice('one.txt', 1))
        self.assertTrue(self.s.press('RkEditor', 1))
        self.assertTrue(self.wait_caption('one.txt - RkEditor', 10000), 'opened in this window')
        self.assertEqual(len(self.s.processes('RkEditor.exe')), 1)
        self.open_through_the_dialog('one.txt - RkEditor', 'two.txt')
        self.assertTrue(self.wait_caption('two.txt - RkEditor', 15000), 'a second editor opened it')
        self.assertEqual(self.listbox('two.txt - RkEditor')['count'], 2)
        self.assertTrue(self.wait_caption('one.txt - RkEditor'), 'this window keeps its file')
        self.assertEqual(len(self.s.processes('RkEditor.exe')), 2)
        # Both files are in the recent-file list of the configuration file, newest first:
        # the editor that ends last writes the list, so this window's ends last.
        self.s.tool('close', 'two.txt - RkEditor')
        self.s.wait_until(lambda: len(self.s.processes('RkEditor.exe')) == 1, 20,
                          'the second editor ended')
        self.s.tool('close', 'one.txt - RkEditor')
        self.s.wait_no_process('RkEditor.exe', 20)
        recent = self.s.settings('Recent File List')
        self.assertEqual(recent.get('File1', '').lower(), ('C:\\%s\\one.txt' % FOLDER).lower())

    def test_all_six_commands_described_and_an_invalid_line_in_red(self):
        caption = self.open_editor('six.txt', crlf(
            '; <RKMACRO>六つのコマンド', '', 'LAUNCH:"notepad.exe",WAIT', 'FOCUS:"無題 - メモ帳"',
            'WAIT:500,3', 'KEYIN:MENU CONTROL S,REP=2', 'TYPE:"本日の報告"',
            'MOUSE:100,200,LW,LOCAL', 'WAIT:-1,0'))
        self.s.tool('move-window', caption, '20', '20', '0', '520')
        self.s.screenshot('editor_six_commands')
        drawn = self.s.tool_ok('drawn-text', caption, str(LIST), '--form')
        # Each item: the command's label, its number, then its parameters described.
        self.assertEqual([[t['text'] for t in item] for item in drawn], [
            ['プログラム起動:', '   1', '>notepad.exe< 完了=起動待ち'],
            ['ウィンドウフォーカス:', '   2', '>無題 - メモ帳<'],
            ['ウェイト:', '   3', '500 mm秒 アイドルまでの繰り返し 3 回'],
            ['キー入力:', '   4', 'ALT + CONTROL + S <Repeat=2>'],
            ['文字列入力:', '   5', '>本日の報告<'],
            ['マウス操作:', '   6', 'Local:X=100 Y=200  ﾎﾞﾀﾝ:左Ｗｸﾘｯｸ'],
            ['ウェイト:', '   7', 'WAIT:-1,0']])
        # The engine would stop on the last line: it shows as written, in red; the others in black.
        self.assertEqual([item[2]['colour'] for item in drawn], ['000000'] * 6 + ['f00000'])

    def test_ten_thousand_lines_show_at_once(self):
        lines = ['; <RKMACRO>大きなマクロ', ''] + [f'WAIT:{n},1' for n in range(10000)]
        self.write('big.txt', crlf(*lines))
        self.write('empty.txt', crlf('; <RKMACRO>空', ''))
        exe = self.s.win_path(self.exe)
        figures = {}
        for name, count in (('empty.txt', 0), ('big.txt', 10000)):
            # The editor started by the tool keeps the tool's output open, so the figure is
            # read as its first line rather than at the end of the output.
            p = subprocess.Popen(['wine', str(self.s.test_program('zvtool.exe')),
                                  'time-filled-list', f'{name} - RkEditor', str(LIST), str(count),
                                  '30000', '--', exe, '"C:\\%s\\%s"' % (FOLDER, name)],
                                 env=self.s.env, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL)
            self.procs.append(p)
            ready, _, _ = select.select([p.stdout], [], [], 60)
            line = p.stdout.readline().decode().strip() if ready else ''
            self.assertTrue(line, f'{name} shows its {count} lines')
            figures[name] = float(line)
            self.s.tool('kill', 'RkEditor.exe')
            self.s.wait_no_process('RkEditor.exe', 20)
        report = (f'RkEditor under Wine, from the start of the process to the filled list: '
                  f'10,000 lines {figures["big.txt"]:.0f} ms; an empty macro (the floor: start '
                  f'and window) {figures["empty.txt"]:.0f} ms')
        print('\n' + report)
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        (ARTIFACTS / 'editor_open_10000.txt').write_text(report + '\n')


    # ---- a run from the editor ----
    def marks(self, caption, count):
        """The run marks of the first count lines, read from the screen once every window
        has drawn what it has to."""
        self.assertEqual(self.s.tool('settle')[0], 0)
        return [self.s.tool('run-mark', caption, str(LIST), str(i))[1].strip() for i in range(count)]

    def run_files(self):
        """Temporary macro files of the editor's runs, wherever the prefix holds them."""
        return sorted(str(p) for p in (self.s.drive_c() / 'users').rglob('RkEditorRun_*'))

    def test_f5_lands_on_the_failed_focus_with_the_engines_reason(self):
        path = self.write('five.txt', crlf('; <RKMACRO>五行', '', 'WAIT:100', 'WAIT:100', 'WAIT:100',
                                           'FOCUS:"存在しないウィンドウ"', 'WAIT:100'))
        before = path.read_bytes()
        caption = self.open_editor('five.txt')
        placed = self.listbox(caption)['rect']
        self.keys('f5')

        # The run ends on the FOCUS: one message with the engine's reason.
        message = self.s.message_box_text('RkEditor', 60000)
        self.assertIsNotNone(message, 'the message after the failed run')
        self.assertIn(REASON, message)
        self.assertIn('4行目', message)
        rc, status = self.s.tool('status-text', caption)
        self.assertEqual(rc, 0)
        self.assertIn(REASON, status)
        self.assertIn('4行目', status)
        self.s.screenshot('editor_run_failed')
        self.assertTrue(self.s.answer('RkEditor'))
        self.s.wait_until(lambda: self.sel(caption) == 3, 5, 'line four selected')

        self.assertEqual(self.listbox(caption)['rect'], placed,
                         'the list is where it was before the editor stepped aside')

        # Lines one to three carry the mark of a run, line four the failure's: the mark's
        # colours in the icon's corner of each item.
        self.assertEqual(self.marks(caption, 5), ['ran', 'ran', 'ran', 'failed', 'none'])

        self.assertEqual(path.read_bytes(), before, "the user's file is untouched")
        self.s.wait_no_process('RkEngine.exe', 20)
        self.assertEqual(self.run_files(), [], 'no temporary macro file is left')

    def test_f8_steps_line_by_line_and_ctrl_f5_runs_from_the_selected_line(self):
        waits = ['101', '102', '103', '104']
        self.write('step.txt', crlf('; <RKMACRO>一行ずつ', '', *(f'WAIT:{w}' for w in waits)))
        caption = self.open_editor('step.txt')
        self.s.wait_until(lambda: self.sel(caption) == 0, 5, 'line one selected on opening')
        log_path = self.s.suite_folder() / 'Zorvane_Log.txt'

        def run(keys, selected_after, status):
            log_path.unlink(missing_ok=True)
            self.assertEqual(self.s.tool('activate', caption)[0], 0)
            self.keys(keys)
            self.s.wait_until(lambda: status in self.s.tool('status-text', caption)[1], 60,
                              f'"{status}" after {keys}')
            self.assertEqual(self.sel(caption), selected_after)
            self.assertTrue(self.s.wait_no_process('RkEngine.exe', 20), 'the engine ended')
            self.s.wait_until(lambda: self.run_files() == [], 10, 'no temporary macro file left')
            log = self.s.run_log()
            return [w for w in waits if f'{w} mm sec' in log]

        # F8 three times: each step runs its line alone, and the selection moves on.
        for step in range(3):
            self.assertEqual(run('f8', step + 1, f'{step + 1}行目を実行しました'), [waits[step]],
                             f'step {step + 1}')
            self.assertEqual(self.marks(caption, 4), ['ran' if i == step else 'none' for i in range(4)],
                             f'step {step + 1}')
        # Back on line three, Ctrl+F5 runs from there to the end.
        self.keys('up')
        self.s.wait_until(lambda: self.sel(caption) == 2, 5, 'line three selected')
        self.assertEqual(run('ctrl+f5', 2, 'マクロの実行が終了しました'), waits[2:],
                         'lines three and four ran, not one and two')
        self.assertEqual(self.marks(caption, 4), ['none', 'none', 'ran', 'ran'])

    def test_a_run_with_red_lines_asks_first_and_no_runs_nothing(self):
        caption = self.open_editor('red.txt', crlf('; <RKMACRO>赤', '', 'WAIT:101', 'WAIT:', 'KEYIN:NOKEY',
                                            'wait:102', 'wait:'))
        self.s.screenshot('editor_red_lines')
        self.keys('f5')

        question = self.s.message_box_text('RkEditor', 15000)
        self.assertIsNotNone(question, 'the question before the run')
        self.assertIn('3 行', question)  # WAIT:, KEYIN:NOKEY, wait:
        self.assertTrue(self.s.press('RkEditor', 7))  # いいえ
        self.s.wait_until(lambda: self.s.message_box_text('RkEditor', 200) is None, 10,
                          'the question closed')
        self.assertEqual(self.s.processes('RkEngine.exe'), [], 'no run after いいえ')
        self.assertFalse((self.s.suite_folder() / 'Zorvane_Log.txt').exists(), 'nothing logged')
        self.assertEqual(self.run_files(), [])

    def test_closing_during_a_run_asks_to_save_and_the_engine_runs_to_its_end(self):
        path = self.write('close.txt', crlf('; <RKMACRO>閉じる', '', *[f'WAIT:{1000 + n}' for n in range(1, 16)]))
        before = path.read_bytes()
        caption = self.open_editor('close.txt')
        self.s.wait_until(lambda: self.sel(caption) == 0, 5, 'line one selected on opening')
        # Line one deleted: the run runs what the editor shows, not the file.
        self.keys('ctrl+r', 'f5')
        changed = caption + '(更新)'
        self.s.wait_until(lambda: self.s.processes('RkEngine.exe') and self.run_files(), 30,
                          'the engine running on a temporary file')

        self.assertEqual(self.s.tool('close', changed)[0], 0)
        question = self.s.message_box_text('RkEditor', 15000)
        self.assertIsNotNone(question, 'the save question on closing during the run')
        self.assertIn('変更を保存しますか', question)
        self.assertTrue(self.s.press('RkEditor', 7))  # いいえ
        # The window goes at once; the engine is not stopped by it.
        self.s.wait_until(lambda: not (self.s.wait_window(changed, 200) or {}).get('visible', False),
                          10, 'the editor window gone')
        self.assertNotEqual(self.s.processes('RkEngine.exe'), [], 'the engine still runs')

        self.assertTrue(self.s.wait_no_process('RkEngine.exe', 60), 'the engine ended')
        self.assertTrue(self.s.wait_no_process('RkEditor.exe', 20), 'the editor ended after it')
        log = self.s.run_log()
        self.assertTrue(log.rstrip('\r\n').endswith('マクロ処理終了'), log[-200:])
        self.assertNotIn('1001 mm sec', log, 'the deleted line did not run')
        for n in range(2, 16):
            self.assertIn(f'{1000 + n} mm sec', log)
        self.assertEqual(self.run_files(), [], 'no temporary macro file is left')
        self.assertEqual(path.read_bytes(), before, 'いいえ saved nothing')

    def files_written(self):
        """The files of the prefix's drive and of the programs' folder, with their sizes."""
        return {str(f): f.stat().st_size for top in (self.s.drive_c(), self.exe.parent)
                for f in top.rglob('*') if f.is_file()}

    def test_a_run_of_a_changed_never_saved_document_leaves_it_changed_and_unsaved(self):
        self.start(self.exe)
        window = self.s.wait_window(' - RkEditor', 15000, partial=True)
        self.assertIsNotNone(window, 'the editor on a new document')
        caption = window['caption']
        self.assertEqual(self.s.tool('activate', caption)[0], 0)
        self.keys('alt', 'm', 'i', 'w')  # 行追加 > ウェイト
        self.assertIsNotNone(self.s.wait_window('ウェイト設定(新規)', 10000), 'the WAIT dialog')
        self.type_text('321')
        self.keys('return')
        changed = caption + '(更新)'
        self.assertIsNotNone(self.s.wait_window(changed, 10000), 'the added line marks the document')
        before = self.files_written()

        self.assertEqual(self.s.tool('activate', changed)[0], 0)
        self.keys('f5')
        ended = 'マクロの実行が終了しました'
        self.s.wait_until(lambda: ended in self.s.tool('status-text', changed)[1], 60,
                          'the run ended normally')
        log = self.s.run_log()
        self.assertIn('321 mm sec', log, 'the line never saved ran')
        self.assertTrue(log.rstrip('\r\n').endswith('マクロ処理終了'), log[-200:])
        self.assertEqual(self.marks(changed, 1), ['ran'])

        # Still the same new, changed document: nothing saved, no file left by the run.
        self.assertIsNotNone(self.s.wait_window(changed, 1000), 'still marked as changed')
        self.assertEqual(self.s.tool('listbox', changed, str(LIST))[0], 0)
        self.s.wait_no_process('RkEngine.exe', 20)
        # The suite's own folder changes by the run: the engine's log and settings.
        suite = str(self.s.suite_folder())
        after = {f: n for f, n in self.files_written().items() if not f.startswith(suite)}
        self.assertEqual(sorted(set(after) - set(before)), [], 'no file written by the run')
        self.assertEqual(self.run_files(), [], 'no temporary macro file is left')


if __name__ == '__main__':
    unittest.main()
