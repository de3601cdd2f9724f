"""RkEngine.exe start-up as a user sees it: the configuration file it makes, the
settings it repairs, and the two messages for files it cannot run."""
import json
import pathlib
import shutil
import subprocess
import tempfile
import unittest

from wineenv import shared_session

ENGINE_KEYS = [
    ('LaunchWaitMSec', 3000), ('KeyinWaitMSec', 100), ('TypeWaitMSec', 5000), ('MouseWClickMSec', 100),
    ('FocusCheckRetry', 10), ('FocusCheckMSec', 200), ('PgEndLoopSleepMSec', 1000), ('OpenClipboardRetry', 50),
    ('MouseMoveReal', 0),
]

OPEN_FAILED = 'RKマクロファイル「{}」\r\nが開けません。\n\r{}'
NOT_MACRO = '「{}」\r\nはRKマクロファイルではありません。'


class EngineStartup(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.s = shared_session()
        cls.engine = cls.s.bin('RkEngine.exe')
        cls.work = pathlib.Path(tempfile.mkdtemp(prefix='zv-startup-'))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        self.s.reset_user_state()

    def tearDown(self):
        # A message left open by a failed check must not answer the next test's question.
        self.s.tool('kill', 'RkEngine.exe')

    def macro(self, name, text):
        path = self.work / name
        self.s.write_cp932(path, text)
        return path

    def ini_path(self):
        return self.s.suite_folder() / 'Zorvane.ini'

    def system_text(self, code):
        rc, out = self.s.tool('errtext', str(code))
        self.assertEqual(rc, 0)
        return json.loads(out.strip())

    def expect_message_then_exit(self, raw_args, expected_text):
        p = self.s.start(self.engine, raw_args)
        try:
            text = self.s.message_box_text('RkEngine', 15000)
            self.assertEqual(text, expected_text)
            self.assertTrue(self.s.press('RkEngine', 1))
            p.wait(timeout=30)
        finally:
            if p.poll() is None:
                p.kill()
        self.assertEqual(p.returncode, 0)
        self.assertFalse(self.ini_path().exists(), 'nothing else happens after the message')

    def test_fresh_account_gets_configuration_with_nine_defaults(self):
        m = self.macro('valid.rkm', '; <RKMACRO>起動テスト\r\n\r\n; comment only\r\n')
        self.assertFalse((self.s.appdata / 'Ostrand').exists())
        rc = self.s.run(self.engine, f'/M:"{self.s.win_path(m)}"', timeout=60)
        self.assertEqual(rc, 0)
        values = self.s.settings('RkEngineSettings')
        self.assertEqual(values, {k: str(v) for k, v in ENGINE_KEYS})

    def test_negative_value_is_reset_large_value_kept(self):
        m = self.macro('valid2.rkm', '; <RKMACRO>x\r\n')
        self.s.suite_folder().mkdir(parents=True)
        self.s.write_cp932(self.ini_path(), '[RkEngineSettings]\r\nLaunchWaitMSec=-5\r\nFocusCheckRetry=99999\r\n')
        self.assertEqual(self.s.run(self.engine, f'/M:"{self.s.win_path(m)}"', timeout=60), 0)
        values = self.s.settings('RkEngineSettings')
        self.assertEqual(values['LaunchWaitMSec'], '3000')
        self.assertEqual(values['FocusCheckRetry'], '99999')
        self.assertEqual(len(values), 9)

    def test_missing_file_shows_open_message_with_system_text(self):
        path = self.s.win_path(self.work / 'ない ファイル.rkm')
        self.expect_message_then_exit(f'/M:"{path}"', OPEN_FAILED.format(path, self.system_text(2)))

    def test_file_held_open_by_another_process(self):
        m = self.macro('held.rkm', '; <RKMACRO>held\r\n')
        holder = subprocess.Popen(['wine', str(self.s.test_program('zvtool.exe')), 'hold-file',
                                   self.s.win_path(m), '20000'], env=self.s.env, stdout=subprocess.PIPE)
        try:
            self.assertEqual(holder.stdout.readline().strip(), b'held')
            self.expect_message_then_exit(f'"{self.s.win_path(m)}"',
                                          OPEN_FAILED.format(self.s.win_path(m), self.system_text(32)))
        finally:
            holder.kill()
            holder.wait()

    def test_foreign_files_show_not_macro_message(self):
        cases = {
            'no-header.txt': 'WAIT:100\r\n',
            'tag-at-zero.rkm': '<RKMACRO>; <RKMACRO>x\r\n',
            'empty.rkm': '',
        }
        for name, text in cases.items():
            with self.subTest(name=name):
                m = self.macro(name, text)
                self.expect_message_then_exit(f'/M:"{self.s.win_path(m)}"', NOT_MACRO.format(self.s.win_path(m)))

    def test_binary_and_huge_first_line_are_foreign(self):
        binary = self.work / 'binary.rkm'
        binary.write_bytes(bytes(range(256)) * 64)
        huge = self.work / 'huge.rkm'
        huge.write_bytes(b'x' * 5_000_000 + b'; <RKMACRO>late\r\n')
        for m in (binary, huge):
            with self.subTest(file=m.name):
                self.expect_message_then_exit(f'/M:"{self.s.win_path(m)}"', NOT_MACRO.format(self.s.win_path(m)))

    def test_dropped_file_with_japanese_path_and_spaces(self):
        folder = self.work / 'マクロ 表示'
        m = self.macro('マクロ 表示/日報 作成.rkm', '; <RKMACRO>日報\r\n')
        self.assertTrue(folder.is_dir())
        self.assertEqual(self.s.run(self.engine, f'"{self.s.win_path(m)}"', timeout=60), 0)
        self.assertTrue(self.ini_path().exists(), 'a quoted path alone is run like /M:')

    def test_lower_case_option_is_taken_as_the_path(self):
        m = self.macro('lower.rkm', '; <RKMACRO>x\r\n')
        raw = f'/m:"{self.s.win_path(m)}"'
        self.expect_message_then_exit(raw, OPEN_FAILED.format(raw, self.system_text(123)))

    def test_unusable_application_data_folder(self):
        # "Ostrand" is a file, so the suite's folder cannot be created: no crash, no message.
        self.s.appdata.mkdir(parents=True, exist_ok=True)
        (self.s.appdata / 'Ostrand').write_bytes(b'')
        try:
            m = self.macro('valid3.rkm', '; <RKMACRO>x\r\n')
            self.assertEqual(self.s.run(self.engine, f'/M:"{self.s.win_path(m)}"', timeout=60), 0)
            self.assertIsNone(self.s.wait_window('RkEngine', 500, cls='#32770'))
        finally:
            (self.s.appdata / 'Ostrand').unlink()


class EngineStartupDefaultLocale(unittest.TestCase):
    """The programs convert CP932 themselves, so a Japanese path reads right even where
    the system code page is not 932."""

    def test_missing_japanese_path_message_under_default_locale(self):
        s = shared_session('C.UTF-8')
        s.reset_user_state()
        path = 'Z:\\tmp\\存在しない 表.rkm'
        p = s.start(s.bin('RkEngine.exe'), f'/M:"{path}"')
        try:
            text = s.message_box_text('RkEngine', 15000)
            self.assertIsNotNone(text)
            self.assertTrue(text.startswith(f'RKマクロファイル「{path}」\r\nが開けません。\n\r'), text)
            s.screenshot('engine-open-failed-default-locale')
            self.assertTrue(s.press('RkEngine', 1))
            p.wait(timeout=30)
        finally:
            if p.poll() is None:
                p.kill()


if __name__ == '__main__':
    unittest.main()
