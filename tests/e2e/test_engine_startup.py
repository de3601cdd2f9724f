"""RkEngine.exe start-up as a user sees it: the configuration file it makes and the two
messages for files it cannot run (which values it repairs: the unit tier)."""
import unittest

from wineenv import SessionTest

ENGINE_KEYS = [
    ('LaunchWaitMSec', 3000), ('KeyinWaitMSec', 100), ('TypeWaitMSec', 5000), ('MouseWClickMSec', 100),
    ('FocusCheckRetry', 10), ('FocusCheckMSec', 200), ('PgEndLoopSleepMSec', 1000), ('OpenClipboardRetry', 50),
    ('MouseMoveReal', 0),
]

OPEN_FAILED = 'RKマクロファイル「{}」\r\nが開けません。\n\r{}'
NOT_MACRO = '「{}」\r\nはRKマクロファイルではありません。'


class EngineStartup(SessionTest):
    KILL = ('RkEngine.exe',)  # a message left open must not answer the next test's question

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.engine = cls.s.bin('RkEngine.exe')

    def macro(self, name, text):
        path = self.work / name
        self.s.write_cp932(path, text)
        return path

    def ini_path(self):
        return self.s.suite_folder() / 'Zorvane.ini'

    def system_text(self, code):
        return self.s.tool_ok('errtext', str(code))

    def expect_message_then_exit(self, raw_args, expected_text):
        p = self.start(self.engine, raw_args)
        self.assertEqual(self.s.message_box_text('RkEngine', 15000), expected_text)
        self.assertTrue(self.s.press('RkEngine', 1))
        self.assertEqual(p.wait(timeout=30), 0)
        self.assertFalse(self.ini_path().exists(), 'nothing else happens after the message')

    def test_a_file_dropped_on_a_fresh_account_gets_configuration_with_nine_defaults(self):
        # A quoted path alone (a file dropped on the program) is run like /M:, here one with
        # Japanese names and spaces.
        m = self.macro('マクロ 表示/日報 作成.rkm', '; <RKMACRO>起動テスト\r\n\r\n; comment only\r\n')
        self.assertFalse((self.s.appdata / 'Ostrand').exists())
        self.assertEqual(self.s.run(self.engine, f'"{self.s.win_path(m)}"', timeout=60), 0)
        self.assertEqual(self.s.settings('RkEngineSettings'), {k: str(v) for k, v in ENGINE_KEYS})

    def test_missing_file_shows_open_message_with_system_text(self):
        path = self.s.win_path(self.work / 'ない ファイル.rkm')
        self.expect_message_then_exit(f'/M:"{path}"', OPEN_FAILED.format(path, self.system_text(2)))

    def test_file_held_open_by_another_process(self):
        m = self.macro('held.rkm', '; <RKMACRO>held\r\n')
        holder, first = self.background('hold-file', self.s.win_path(m), '20000')
        self.assertEqual(first, 'held')
        self.expect_message_then_exit(f'"{self.s.win_path(m)}"',
                                      OPEN_FAILED.format(self.s.win_path(m), self.system_text(32)))
        holder.kill()

    def test_foreign_binary_and_huge_first_line_files_show_not_macro_message(self):
        # Which first lines make a macro file is the core's (unit tier); here the real reader.
        (self.work / 'binary.rkm').write_bytes(bytes(range(256)) * 64)
        (self.work / 'huge.rkm').write_bytes(b'x' * 5_000_000 + b'; <RKMACRO>late\r\n')
        for name in ('binary.rkm', 'huge.rkm'):
            with self.subTest(name=name):
                m = self.s.win_path(self.work / name)
                self.expect_message_then_exit(f'/M:"{m}"', NOT_MACRO.format(m))

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


if __name__ == '__main__':
    unittest.main()
