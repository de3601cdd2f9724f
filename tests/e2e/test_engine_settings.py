"""RkEngine.exe started without a macro, as a user meets it: the settings dialog, single
across engine processes, its numeric fields, OK's checks and messages, restore defaults,
cancel, and the nine keys that OK writes."""
import unittest

from wineenv import SessionTest

SETTINGS = 'RkEngine [RKマクロエンジンのプロパティ]'
SECTION = 'RkEngineSettings'
KEYS = ['LaunchWaitMSec', 'KeyinWaitMSec', 'TypeWaitMSec', 'MouseWClickMSec', 'FocusCheckRetry',
        'FocusCheckMSec', 'PgEndLoopSleepMSec', 'OpenClipboardRetry', 'MouseMoveReal']
# Fields from top to bottom.
LAUNCH_WAIT, PG_END, FOCUS_RETRY, FOCUS_MSEC, KEYIN_WAIT, TYPE_WAIT, MOUSE_WCLICK, CLIP_RETRY = \
    range(1010, 1026, 2)
MOUSE_REAL, RESTORE_DEFAULTS, OK, CANCEL, HELP = 1030, 1031, 1, 2, 9


class EngineSettingsDialog(SessionTest):
    CLOSE = (SETTINGS, '電卓')
    KILL = ('RkEngine.exe',)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.engine = cls.s.bin('RkEngine.exe')

    # ---- helpers ----
    def ini(self):
        return self.s.suite_folder() / 'Zorvane.ini'

    def open_dialog(self):
        """Starts the engine without arguments; returns its process and the dialog once
        all its controls exist."""
        return self.start(self.engine), self.s.shown_dialog(SETTINGS, HELP, timeout=20)

    def field(self, control_id):
        info = self.s.wait_window(SETTINGS, 5000, cls='#32770')
        self.assertIsNotNone(info)
        return next(c['text'] for c in info['controls'] if c['id'] == control_id)

    def type_into(self, control_id, *keys):
        super().type_into(SETTINGS, control_id, *keys)

    def focused(self):
        return self.s.tool_ok('focused', SETTINGS)

    # ---- scenarios ----
    def test_a_second_start_brings_the_one_dialog_forward(self):
        first, info = self.open_dialog()
        texts = [c['text'] for c in info['controls']]
        for label in ('LAUNCH: WAIT 指定での最大待ち時間(&W):', 'OpenClipboard失敗時のリトライ回数(&O):',
                      'マウスの動きをリアルに見せる(&R)', '直接起動する方法', '規定値に戻す', 'ｷｬﾝｾﾙ', 'ﾍﾙﾌﾟ',
                      'RkEngine.exe "RKマクロファイル"',
                      'RkEngine.exe /M:"RKマクロファイル" [/1:"パラメタ１"] [/2:"パラメタ２"]'):
            self.assertIn(label, texts)
        self.assertEqual([self.field(i) for i in range(LAUNCH_WAIT, CLIP_RETRY + 1, 2)],
                         ['3000', '1000', '10', '200', '100', '5000', '100', '50'])
        self.assertEqual(list(self.s.settings(SECTION)), KEYS,
                         'start-up wrote the defaults before the dialog')
        self.s.screenshot('engine_settings_dialog')

        # Another program in front; a second engine without a macro hands over and ends.
        self.start(self.s.test_program('zvtool.exe'), 'title-window 電卓 60000')
        self.assertIsNotNone(self.s.wait_window('電卓', 10000))
        self.s.tool('activate', '電卓')
        self.assertEqual(self.s.run(self.engine, timeout=60), 0, 'the second start ends by itself')
        self.assertEqual([w['caption'] for w in self.s.windows()].count(SETTINGS), 1, 'exactly one settings dialog')
        self.assertEqual(self.s.foreground()['caption'], SETTINGS, 'the dialog came to the front')
        self.assertIsNone(first.poll(), 'the first engine still shows it')
        self.assertEqual(len(self.s.processes('RkEngine.exe')), 1)

    def test_fields_refuse_bad_numbers_and_ok_writes_the_nine_keys(self):
        p, _ = self.open_dialog()
        # The first field takes digits only; the TYPE field is a plain one, OK refuses it.
        self.type_into(LAUNCH_WAIT, '5', 'a')
        self.type_into(TYPE_WAIT, 'a', 'b', 'c')
        self.assertTrue(self.s.press(SETTINGS, OK))
        text = self.s.message_box_text('RkEngine', 10000)
        self.s.screenshot('engine_settings_not_an_integer')
        self.assertEqual(text, '整数を入力してください。')
        self.assertTrue(self.s.press('RkEngine', 1))
        self.assertTrue(self.s.gone('RkEngine'), 'the message went')
        self.s.wait_until(lambda: self.focused() == TYPE_WAIT, 10, 'the focus on the bad field')
        self.assertIsNone(p.poll(), 'the dialog stays open')

        # A number above its range is refused with the range.
        self.type_into(TYPE_WAIT, '7', '0', '0', '0')
        self.type_into(FOCUS_RETRY, '1', '0', '1')
        self.assertTrue(self.s.press(SETTINGS, OK))
        self.assertEqual(self.s.message_box_text('RkEngine', 10000), '0 から 100 までの整数を入力してください。')
        self.assertTrue(self.s.press('RkEngine', 1))
        self.assertIsNone(self.s.wait_window('RkEngine', 3000, cls='#32770') and
                          self.s.message_box_text('RkEngine', 500), 'the message went')
        self.assertEqual(self.focused(), FOCUS_RETRY)
        self.type_into(FOCUS_RETRY, '9')
        self.type_into(MOUSE_REAL, 'space')  # the check box
        self.assertTrue(self.s.press(SETTINGS, OK))
        self.assertEqual(p.wait(timeout=30), 0)
        values = self.s.settings(SECTION)
        self.assertEqual(list(values), KEYS)
        self.assertEqual(values, {
            'LaunchWaitMSec': '5', 'KeyinWaitMSec': '100', 'TypeWaitMSec': '7000',
            'MouseWClickMSec': '100', 'FocusCheckRetry': '9', 'FocusCheckMSec': '200',
            'PgEndLoopSleepMSec': '1000', 'OpenClipboardRetry': '50', 'MouseMoveReal': '1'})

    def test_restore_defaults_then_cancel_leaves_the_file_and_ok_writes_them(self):
        self.s.write_cp932(self.ini(), '[RkEngineSettings]\r\nKeyinWaitMSec=250\r\nFOREGROUNDLOCKTIMEOUT=7000\r\n'
                                       'MouseMoveReal=1\r\n')
        p, _ = self.open_dialog()
        self.assertEqual(self.field(KEYIN_WAIT), '250')
        before = self.ini().read_bytes()
        self.assertTrue(self.s.press(SETTINGS, RESTORE_DEFAULTS))
        self.s.wait_until(lambda: self.field(KEYIN_WAIT) == '100', 10, 'the default 100 in the field')
        self.assertTrue(self.s.press(SETTINGS, CANCEL))
        p.wait(timeout=30)
        self.assertEqual(self.ini().read_bytes(), before, 'nothing written')

        p, _ = self.open_dialog()
        self.assertTrue(self.s.press(SETTINGS, RESTORE_DEFAULTS))
        self.s.wait_until(lambda: self.field(KEYIN_WAIT) == '100', 10, 'the defaults in the fields')
        self.assertTrue(self.s.press(SETTINGS, OK))
        p.wait(timeout=30)
        values = self.s.settings(SECTION)
        self.assertEqual(values['KeyinWaitMSec'], '100')
        self.assertEqual(values['MouseMoveReal'], '0')
        self.assertEqual(values['FOREGROUNDLOCKTIMEOUT'], '7000', "the launcher's key stays")


if __name__ == '__main__':
    unittest.main()
