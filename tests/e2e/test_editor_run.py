"""A macro run from RkEditor.exe as a user meets it: F5 runs the macro shown through the
real RkEngine.exe; the editor comes back marking the lines that ran, on the line that
failed with the engine's reason, the user's file untouched and no temporary file left."""
import json
import shutil
import unittest

from wineenv import crlf, end_processes, shared_session

LIST = 1000
FOLDER = 'zv-editor-run'
REASON = '上記キャプションのウィンドウが見つからない'


class EditorRun(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.s = shared_session()
        cls.exe = cls.s.bin('RkEditor.exe')

    def setUp(self):
        self.s.reset_user_state()
        self.dir = self.s.drive_c() / FOLDER
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir(parents=True)
        self.procs = []

    def tearDown(self):
        self.s.tool('kill', 'RkEditor.exe')
        self.s.tool('kill', 'RkEngine.exe')
        end_processes(self.procs)
        shutil.rmtree(self.dir, ignore_errors=True)

    def open(self, name):
        """The editor on a file of the test's folder, in front; returns its caption."""
        self.procs.append(self.s.start(self.exe, '"C:\\%s\\%s"' % (FOLDER, name)))
        caption = f'{name} - RkEditor'
        self.s.shown_window(self.procs[-1], caption)
        self.assertEqual(self.s.tool('activate', caption)[0], 0)
        return caption

    def marks(self, caption, count):
        """The run marks of the first count lines, read from the screen once every window
        has drawn what it has to."""
        self.assertEqual(self.s.tool('settle')[0], 0)
        return [self.s.tool('run-mark', caption, str(LIST), str(i))[1].strip() for i in range(count)]

    def list_rect(self, caption):
        rc, out = self.s.tool('listbox', caption, str(LIST))
        self.assertEqual(rc, 0, out)
        return json.loads(out)['rect']

    def run_files(self):
        """Temporary macro files of the editor's runs, wherever the prefix holds them."""
        return sorted(str(p) for p in (self.s.drive_c() / 'users').rglob('RkEditorRun_*'))

    def test_f5_lands_on_the_failed_focus_with_the_engines_reason(self):
        name = 'five.txt'
        text = crlf('; <RKMACRO>五行', '', 'WAIT:100', 'WAIT:100', 'WAIT:100',
                    'FOCUS:"存在しないウィンドウ"', 'WAIT:100')
        path = self.dir / name
        self.s.write_cp932(path, text)
        before = path.read_bytes()
        caption = self.open(name)
        placed = self.list_rect(caption)
        self.assertEqual(self.s.tool('send-keys', 'f5')[0], 0)

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
        self.assertTrue(self.s.press('RkEditor', 1) or self.s.press('RkEditor', 2))  # OK
        self.s.wait_until(lambda: '"sel":3' in self.s.tool('listbox', caption, str(LIST))[1].replace(' ', ''),
                          5, 'line four selected')

        self.assertEqual(self.list_rect(caption), placed,
                         'the list is where it was before the editor stepped aside')

        # Lines one to three carry the mark of a run, line four the failure's: the mark's
        # colours in the icon's corner of each item.
        self.assertEqual(self.marks(caption, 5), ['ran', 'ran', 'ran', 'failed', 'none'])

        self.assertEqual(path.read_bytes(), before, "the user's file is untouched")
        self.s.wait_no_process('RkEngine.exe', 20)
        self.assertEqual(self.run_files(), [], 'no temporary macro file is left')

    def sel(self, caption):
        rc, out = self.s.tool('listbox', caption, str(LIST))
        return json.loads(out)['sel'] if rc == 0 else None

    def test_f8_steps_line_by_line_and_ctrl_f5_runs_from_the_selected_line(self):
        name = 'step.txt'
        path = self.dir / name
        waits = ['101', '102', '103', '104']
        self.s.write_cp932(path, crlf('; <RKMACRO>一行ずつ', '', *(f'WAIT:{w}' for w in waits)))
        caption = self.open(name)
        self.s.wait_until(lambda: self.sel(caption) == 0, 5, 'line one selected on opening')
        log_path = self.s.suite_folder() / 'Zorvane_Log.txt'

        def run(keys, selected_after, status):
            log_path.unlink(missing_ok=True)
            self.assertEqual(self.s.tool('activate', caption)[0], 0)
            self.assertEqual(self.s.tool('send-keys', keys)[0], 0)
            self.s.wait_until(lambda: status in self.s.tool('status-text', caption)[1], 60,
                              f'"{status}" after {keys}')
            self.assertEqual(self.sel(caption), selected_after)
            self.assertTrue(self.s.wait_no_process('RkEngine.exe', 20), 'the engine ended')
            self.s.wait_until(lambda: self.run_files() == [], 10, 'no temporary macro file left')
            log = self.s.read_cp932(log_path)
            return [w for w in waits if f'{w} mm sec' in log]

        # F8 three times: each step runs its line alone, and the selection moves on.
        for step in range(3):
            self.assertEqual(run('f8', step + 1, f'{step + 1}行目を実行しました'), [waits[step]],
                             f'step {step + 1}')
            self.assertEqual(self.marks(caption, 4), ['ran' if i == step else 'none' for i in range(4)],
                             f'step {step + 1}')
        # Back on line three, Ctrl+F5 runs from there to the end.
        self.assertEqual(self.s.tool('send-keys', 'up')[0], 0)
        self.s.wait_until(lambda: self.sel(caption) == 2, 5, 'line three selected')
        self.assertEqual(run('ctrl+f5', 2, 'マクロの実行が終了しました'), waits[2:],
                         'lines three and four ran, not one and two')
        self.assertEqual(self.marks(caption, 4), ['none', 'none', 'ran', 'ran'])

    def test_a_run_with_red_lines_asks_first_and_no_runs_nothing(self):
        name = 'red.txt'
        path = self.dir / name
        self.s.write_cp932(path, crlf('; <RKMACRO>赤', '', 'WAIT:101', 'WAIT:', 'KEYIN:NOKEY',
                                      'wait:102', 'wait:'))
        caption = self.open(name)
        self.s.screenshot('editor_red_lines')
        self.assertEqual(self.s.tool('send-keys', 'f5')[0], 0)

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
        name = 'close.txt'
        path = self.dir / name
        waits = [f'WAIT:{1000 + n}' for n in range(1, 16)]
        self.s.write_cp932(path, crlf('; <RKMACRO>閉じる', '', *waits))
        before = path.read_bytes()
        caption = self.open(name)
        self.s.wait_until(lambda: self.sel(caption) == 0, 5, 'line one selected on opening')
        # Line one deleted: the run runs what the editor shows, not the file.
        self.assertEqual(self.s.tool('send-keys', 'ctrl+r', 'f5')[0], 0)
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
        log = self.s.read_cp932(self.s.suite_folder() / 'Zorvane_Log.txt')
        self.assertTrue(log.rstrip('\r\n').endswith('マクロ処理終了'), log[-200:])
        self.assertNotIn('1001 mm sec', log, 'the deleted line did not run')
        for n in range(2, 16):
            self.assertIn(f'{1000 + n} mm sec', log)
        self.assertEqual(self.run_files(), [], 'no temporary macro file is left')
        self.assertEqual(path.read_bytes(), before, 'いいえ saved nothing')


    def files_written(self):
        """The files of the prefix's drive and of the programs' folder, with their sizes."""
        found = {}
        for top in (self.s.drive_c(), self.exe.parent):
            for f in top.rglob('*'):
                if f.is_file():
                    found[str(f)] = f.stat().st_size
        return found

    def test_a_run_of_a_changed_never_saved_document_leaves_it_changed_and_unsaved(self):
        self.procs.append(self.s.start(self.exe))
        window = self.s.wait_window(' - RkEditor', 15000, partial=True)
        self.assertIsNotNone(window, 'the editor on a new document')
        caption = window['caption']
        self.assertEqual(self.s.tool('activate', caption)[0], 0)
        self.assertEqual(self.s.tool('send-keys', 'alt', 'm', 'i', 'w')[0], 0)  # 行追加 > ウェイト
        self.assertIsNotNone(self.s.wait_window('ウェイト設定(新規)', 10000), 'the WAIT dialog')
        self.assertEqual(self.s.tool('type-text', '321')[0], 0)
        self.assertEqual(self.s.tool('send-keys', 'return')[0], 0)
        changed = caption + '(更新)'
        self.assertIsNotNone(self.s.wait_window(changed, 10000), 'the added line marks the document')
        before = self.files_written()

        self.assertEqual(self.s.tool('activate', changed)[0], 0)
        self.assertEqual(self.s.tool('send-keys', 'f5')[0], 0)
        ended = 'マクロの実行が終了しました'
        self.s.wait_until(lambda: ended in self.s.tool('status-text', changed)[1], 60,
                          'the run ended normally')
        log = self.s.read_cp932(self.s.suite_folder() / 'Zorvane_Log.txt')
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
