"""All three programs on a Wine whose system code page is not 932 (the default locale):
each shows its window or menu with its Japanese text whole (read inside the program; the
screenshots are kept to look at), a macro with Japanese text runs and the engine's
message names a Japanese path right. The programs convert CP932 themselves and must not
depend on the system code page."""
import shutil
import unittest

from wineenv import SessionTest, record_lines


class DefaultLocale(SessionTest):
    LANG = 'C.UTF-8'
    CLOSE = ('TrayIconHandler',)
    KILL = ('RkEditor.exe', 'RkEngine.exe', 'Zorvane.exe', 'zvtarget.exe')

    def macro(self, name, lines):
        path = self.work / name
        self.s.write_cp932(path, '\r\n'.join(lines) + '\r\n')
        return path

    def test_engine_types_japanese_text_into_a_program(self):
        caption = 'ZvTarget 受信窓'
        record = self.work / 'typed.txt'
        typed = '日本語の入力 表示ソフト'
        launch = self.target_line_for(caption, record)
        m = self.macro('入力.rkm', ['; <RKMACRO>入力', f'LAUNCH:{launch},WAIT',
                                   f'FOCUS:"{caption}"', f'TYPE:"{typed}"'])
        self.assertEqual(self.s.run(self.s.bin('RkEngine.exe'), f'/M:"{self.s.win_path(m)}"',
                                    timeout=90), 0)
        self.s.tool('close', caption)
        self.s.wait_until(lambda: 'final ' + typed in record_lines(record), 15,
                          f'the target wrote "final {typed}" as it closed')
        log = self.s.run_log()
        self.assertIn(f'>{typed}<', log)
        self.assertNotIn('<ERROR>', log)

    def test_editor_shows_a_japanese_macro(self):
        m = self.macro('日報.txt', ['; <RKMACRO>朝の報告', '', '; 毎朝の報告を書く', '',
                                   'FOCUS:"無題 - メモ帳"', 'TYPE:"本日の報告"', 'KEYIN:CONTROL S'])
        self.start(self.s.bin('RkEditor.exe'), f'"{self.s.win_path(m)}"')
        info = self.s.wait_window('日報.txt - RkEditor', 15000)
        self.assertIsNotNone(info, 'the caption carries the Japanese file name')
        texts = {c['id']: c['text'] for c in info['controls']}
        self.assertEqual(texts.get(1001), '朝の報告')
        self.assertEqual(texts.get(1005), '毎朝の報告を書く')
        self.s.screenshot('editor-default-locale')

    def test_launcher_menu_lists_japanese_titles(self):
        top = self.s.drive_c() / 'zv-locale-macros'
        shutil.rmtree(top, ignore_errors=True)
        self.addCleanup(shutil.rmtree, top, True)
        self.s.write_cp932(top / 'a.rkm', '; <RKMACRO>朝の準備\r\n\r\nWAIT:1\r\n')
        self.s.write_settings('ZorvaneSettings', RkMacroTopPath='C:\\zv-locale-macros', SplashShowSec=0)
        self.start(self.s.bin('Zorvane.exe'))
        self.assertIsNotNone(self.s.wait_window('TrayIconHandler', 15000))
        # The hotkey is registered at start-up, before the launcher comes to its message loop.
        self.assertEqual(self.s.tool('idle', 'TrayIconHandler')[0], 0)
        self.s.tool('send-keys', 'alt+z')
        menus = self.s.wait_until(lambda: self.s.menus('TrayIconHandler'), 10, 'the hotkey menu opened')
        self.s.screenshot('launcher-menu-default-locale')
        self.assertEqual(menus, [['朝の準備', '', 'ホットキーの設定(&H)', 'RKマクロパス選択(&P)', 'RKマクロ作成(&M)']])
        self.s.tool('send-keys', 'esc')

    def test_missing_japanese_path_message(self):
        path = 'Z:\\tmp\\存在しない 表.rkm'
        p = self.start(self.s.bin('RkEngine.exe'), f'/M:"{path}"')
        text = self.s.message_box_text('RkEngine', 15000) or ''
        self.assertTrue(text.startswith(f'RKマクロファイル「{path}」\r\nが開けません。\n\r'), text)
        self.s.screenshot('engine-open-failed-default-locale')
        self.assertTrue(self.s.press('RkEngine', 1))
        p.wait(timeout=30)


if __name__ == '__main__':
    unittest.main()
