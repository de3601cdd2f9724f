"""RkEditor's command dialogs as a user meets them: each opened from the "マクロ" menu
with injected keys, filled with keys, clicks and drags, confirmed, saved and opened
again with "行修正"; the window list, the key fields, the program chooser and trial
start, the position tracker and the validation messages. Each dialog is
photographed filled in (build/e2e-artifacts/editor_dialog_*.png)."""
import shutil
import subprocess
import unittest

from wineenv import SessionTest, control, crlf, record_lines

FOLDER = 'zv-dialogs'
FILE = 'dlg.txt'
MAIN = f'{FILE} - RkEditor'
MSGBOX = 'RkEditor'
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
SCREEN_W, SCREEN_H = 1280, 800

FOCUS, KEYIN, LAUNCH = 'ウィンドウフォーカス設定', 'キー入力設定', 'プログラム起動設定'
MOUSE, TYPE, WAIT = 'マウス操作設定', '文字列入力設定', 'ウェイト設定'
MENU_KEY = {FOCUS: 'f', KEYIN: 'k', LAUNCH: 'l', MOUSE: 'm', TYPE: 't', WAIT: 'w'}

# Controls (src/editor/win32/resource.h).
FOCUS_CAPTION, FOCUS_PICK, WINDOW_LIST = 1040, 1041, 1030
WINDOW_LIST_DIALOG = '現在のトップウィンドウの一覧'
LINE_EDIT, LINE_PARAMS = 'マクロ直接編集', 1021
KEY1, KEYIN_ALT, KEYIN_REPEAT, KEYIN_CLEAR_LAST = 1051, 1050, 1060, 1062
LAUNCH_PROGRAM, LAUNCH_PICK, LAUNCH_END, LAUNCH_TRY = 1070, 1071, 1074, 1075
MOUSE_LOCAL, MOUSE_X, MOUSE_Y, MOUSE_TRACKER, MOUSE_BUTTON = 1080, 1081, 1083, 1085, 1086
TYPE_TEXT, TYPE_SOURCE0, TYPE_CLIP = 1094, 1090, 1091
WAIT_TIME, WAIT_LOOPS = 1100, 1102


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


class EditorDialogs(SessionTest):
    FOLDER = FOLDER
    KILL = ('RkEditor.exe', 'zvtarget.exe')

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.target = cls.s.test_program('zvtarget.exe')

    def setUp(self):
        super().setUp()
        self.path = self.dir / FILE

    # ---- helpers ----
    def open_editor(self, exe=None, lines=()):
        super().open_editor(FILE, crlf('; <RKMACRO>ダイアログ', '', *lines), exe)
        # Taking keys, as after the user's click on it.
        self.assertEqual(self.s.tool('idle', MAIN)[0], 0)

    def start_target(self, caption, record='rec.txt', hang=False):
        super().start_target(caption, self.dir / record, *(['--hang'] if hang else []))
        if hang:
            self.s.wait_until(lambda: 'hung' in record_lines(self.dir / record), 15,
                              'the target stopped reading its messages')
        else:
            # A new window comes to the front when Wine hands it the X focus, which can come
            # late on a loaded machine: after the editor was brought in front, taking its keys.
            self.s.wait_until(lambda: 'activated' in record_lines(self.dir / record), 15, f'{caption} in front')

    def focused(self, caption, control_id):
        """The dialog once control_id has the focus (a dialog gives it back after its message
        box has closed)."""
        def ready():
            d = self.s.tool_json('dialog', caption, '10000')
            return d if d is not None and control(d, control_id)['focus'] else None
        return self.s.wait_until(ready, 10, f'the focus on {control_id} in {caption}')

    def add(self, command):
        """"マクロ" > "行追加" > the command: its dialog, captioned as new."""
        self.keys('alt', 'm', 'i', MENU_KEY[command])
        return self.dialog(command + '(新規)')

    def modify(self, command):
        """"行修正" on the selected line: its dialog, captioned as an update."""
        self.keys('ctrl+u')
        return self.dialog(command + '(更新)')

    def click(self, dialog, control_id):
        x, y = centre(control(dialog, control_id)['rect'])
        # A click that opens a modal message box may not be seen handled in the tool's bound;
        # what it did is what each caller checks next.
        rc, out = self.s.tool('click-at', str(x), str(y))
        if rc != 0:
            print(f'click-at {x},{y} ended {rc}: {out.strip()}')

    def confirm(self, dialog):
        """Clicks OK and waits until the dialog has closed."""
        self.click(dialog, IDOK)
        self.assertTrue(self.s.gone(dialog['caption']), 'dialog closed')

    def cancel(self, caption):
        self.keys('esc')
        self.assertTrue(self.s.gone(caption), 'dialog cancelled')

    def message(self):
        """The text of the editor's message box, which stays open."""
        text = self.s.message_box_text(MSGBOX)
        self.assertIsNotNone(text, 'a message box')
        return text

    def saved_lines(self, expected):
        """Saves with Ctrl+S; the file's lines once expected is among them."""
        self.keys('ctrl+s')

        def saved():
            lines = self.s.read_cp932(self.path).split('\r\n')
            return lines if expected in lines else None
        lines = self.s.wait_until(saved, 10, f'the saved file with the line {expected}')
        self.assertIsNotNone(self.s.wait_window(MAIN, 5000), 'saved: no change mark in the caption')
        return lines

    def main_window(self):
        return next((w for w in self.s.windows() if w['caption'].startswith(MAIN)), None)

    # ---- the six dialogs ----
    def test_focus_caption_picked_from_the_window_list(self):
        caption = 'ZvTarget フォーカス先'
        self.start_target(caption, 'a.txt')
        self.start_target(caption, 'b.txt')
        self.open_editor()
        d = self.add(FOCUS)
        self.s.screenshot('editor_dialog_focus_empty')
        self.click(d, IDOK)
        self.assertEqual(self.message(), 'フォーカスウィンドウが設定されていません。')
        self.s.press(MSGBOX, IDOK)
        d = self.focused(FOCUS + '(新規)', FOCUS_CAPTION)

        self.keys('alt+s')
        win_list = self.dialog('現在のトップウィンドウの一覧')
        items = control(win_list, WINDOW_LIST)['items']
        self.assertEqual(items.count(caption), 2, 'two windows of one caption are both listed')
        self.assertIn(MAIN, items)
        self.assertIn(FOCUS + '(新規)', items, 'the dialog that opened the list is listed')
        self.assertNotIn('現在のトップウィンドウの一覧', items)
        self.assertNotIn('', items)
        self.s.screenshot('editor_dialog_window_list')
        self.keys('z', 'return')  # type-ahead to the target, "選択" by Enter
        d = self.dialog(FOCUS + '(新規)')
        self.assertEqual(control(d, FOCUS_CAPTION)['text'], caption)
        self.s.screenshot('editor_dialog_focus')
        self.confirm(d)

        self.saved_lines(f'FOCUS:"{caption}"')
        d = self.modify(FOCUS)
        self.assertEqual(control(d, FOCUS_CAPTION)['text'], caption)
        self.cancel(d['caption'])
        self.assertEqual(self.main_window()['caption'], MAIN, 'a cancelled change leaves no mark')

    def test_window_list_opens_past_a_hung_program_and_keeps_captions_on_one_line(self):
        hung = 'ZvTarget 応答なし'
        self.start_target(hung, 'hung.txt', hang=True)
        breaker = '!\r\nLAUNCH:notepad.exe'  # a caption that would write a second line
        self.start_target(breaker, 'breaker.txt')
        self.open_editor()
        self.add(FOCUS)
        rc, out = self.s.tool('press-timed', FOCUS + '(新規)', str(FOCUS_PICK), WINDOW_LIST_DIALOG,
                              '20000')
        self.assertEqual(rc, 0, 'the window list opened although a program hangs')
        print(f'\nthe window list opened in {out.strip()} ms beside a hung program')
        self.assertLess(float(out.strip()), 1000, 'the window list took %s ms' % out.strip())
        items = control(self.dialog(WINDOW_LIST_DIALOG), WINDOW_LIST)['items']
        self.assertIn(hung, items, 'the hung window is listed: its caption needs no answer')
        self.assertIn(MAIN, items)
        self.assertIn(FOCUS + '(新規)', items)
        one_line = '! LAUNCH:notepad.exe'
        self.assertIn(one_line, items)
        self.assertEqual([i for i in items if '\r' in i or '\n' in i], [])
        self.s.screenshot('editor_window_list_past_a_hung_program')

        r = self.s.tool_ok('item-rect', WINDOW_LIST_DIALOG, str(WINDOW_LIST), str(items.index(one_line)))
        self.s.tool('click-at', str((r['left'] + r['right']) // 2),
                    str((r['top'] + r['bottom']) // 2), '--double')
        d = self.dialog(FOCUS + '(新規)')
        self.assertEqual(control(d, FOCUS_CAPTION)['text'], one_line)
        self.confirm(d)
        lines = self.saved_lines(f'FOCUS:"{one_line}"')
        self.assertEqual([line for line in lines if line.startswith('LAUNCH')], [])

    def test_direct_edit_keeps_a_pasted_or_set_line_break_on_one_line(self):
        self.open_editor(lines=['WAIT:1'])
        # Pasted: a lone CR passes the single-line field's own paste.
        self.assertEqual(self.s.tool('clip-set', '100\rLAUNCH:notepad.exe')[0], 0)
        self.keys('alt', 'm', 'e')  # マクロ > 直接編集
        self.dialog(LINE_EDIT + '(更新)')
        self.keys('ctrl+v')
        d = self.dialog(LINE_EDIT + '(更新)')
        self.assertEqual(control(d, LINE_PARAMS)['text'], '100\rLAUNCH:notepad.exe')
        self.confirm(d)
        self.saved_lines('WAIT:100 LAUNCH:notepad.exe')
        # Set by another program, with CR LF.
        self.keys('alt', 'm', 'e')
        self.dialog(LINE_EDIT + '(更新)')
        self.assertEqual(self.s.tool('set-text', LINE_EDIT + '(更新)', str(LINE_PARAMS),
                                     '2\r\nLAUNCH:notepad.exe')[0], 0)
        self.confirm(self.dialog(LINE_EDIT + '(更新)'))
        lines = self.saved_lines('WAIT:2 LAUNCH:notepad.exe')
        # The file's lines split at CR LF alone: no lone CR or LF is left in any of them.
        self.assertEqual(lines, ['; <RKMACRO>ダイアログ', '', '', 'WAIT:2 LAUNCH:notepad.exe', ''])

    def test_keyin_fields_record_the_keys_pressed_in_them(self):
        self.open_editor()
        d = self.add(KEYIN)
        self.click(d, KEY1)
        self.keys('ctrl')
        self.click(d, KEY1 + 1)
        self.keys('s')
        self.click(d, KEY1 + 2)
        self.keys('tab')  # recorded, the focus kept: the win32 tier
        self.click(d, KEY1 + 3)
        self.keys('alt+f4')
        d = self.dialog(KEYIN + '(新規)')
        self.assertEqual([control(d, KEY1 + i)['text'] for i in range(5)],
                         ['CONTROL', 'S', 'TAB', 'F4', ''])
        self.s.screenshot('editor_dialog_keyin_four_keys')

        # "最後をｸﾘｱ" twice takes back F4 and TAB, last first.
        self.click(d, KEYIN_CLEAR_LAST)
        self.click(d, KEYIN_CLEAR_LAST)
        self.keys('alt+r')  # the repeat field, its text selected
        self.type_text('3')
        d = self.dialog(KEYIN + '(新規)')
        self.assertEqual([control(d, KEY1 + i)['text'] for i in range(4)], ['CONTROL', 'S', '', ''])
        self.assertEqual(control(d, KEYIN_REPEAT)['text'], '3')
        self.s.screenshot('editor_dialog_keyin')
        self.confirm(d)

        self.saved_lines('KEYIN:CONTROL S,REP=3')
        d = self.modify(KEYIN)
        self.assertEqual([control(d, KEY1 + i)['text'] for i in range(3)], ['CONTROL', 'S', ''])
        self.assertEqual(control(d, KEYIN_REPEAT)['text'], '3')
        self.assertEqual(control(d, KEYIN_ALT)['checked'], 0)
        self.cancel(d['caption'])

    def test_launch_plugins_chooser_and_trial_start(self):
        # A copy of the editor with its own "Plugin" folder; a program under a folder
        # whose name has a blank.
        app = self.dir / 'app'
        (app / 'Plugin' / 'folder.exe').mkdir(parents=True)
        shutil.copy(self.s.bin('RkEditor.exe'), app / 'RkEditor.exe')
        for name in ('beta.exe', 'Alpha.exe', 'notes.txt'):
            (app / 'Plugin' / name).write_bytes(b'MZ')
        (self.dir / 'Prog Dir').mkdir()
        program = self.dir / 'Prog Dir' / 'zvtarget.exe'
        shutil.copy(self.target, program)
        program_win = f'C:\\{FOLDER}\\Prog Dir\\zvtarget.exe'

        self.open_editor(app / 'RkEditor.exe')
        d = self.add(LAUNCH)
        self.assertEqual(control(d, LAUNCH_PROGRAM)['items'], ['"Plugin\\Alpha.exe"', '"Plugin\\beta.exe"'])

        self.click(d, LAUNCH_PICK)
        chooser = self.s.wait_window('ﾗﾝﾁするﾌﾟﾛｸﾞﾗﾑを選択', 10000, cls='#32770')
        self.assertIsNotNone(chooser, 'the program chooser')
        self.assertIn('ﾌﾟﾛｸﾞﾗﾑ選択', [c['text'] for c in chooser['controls'] if c['id'] == IDOK])
        self.s.screenshot('editor_dialog_launch_chooser')
        self.type_text(program_win)
        self.keys('return')
        self.assertTrue(self.s.gone('ﾗﾝﾁするﾌﾟﾛｸﾞﾗﾑを選択'))
        d = self.dialog(LAUNCH + '(新規)')
        self.assertEqual(control(d, LAUNCH_PROGRAM)['text'], f'"{program_win}"')

        # The trial start runs the program as entered: without arguments the target
        # only shows its usage.
        self.click(d, LAUNCH_TRY)
        usage = self.s.wait_window('ZvTarget', 15000, cls='#32770')
        self.assertIsNotNone(usage, 'the program was started')
        self.s.press('ZvTarget', IDOK)
        d = self.dialog(LAUNCH + '(新規)')

        self.keys('alt+e')  # "プログラムの終了を待つ"
        d = self.dialog(LAUNCH + '(新規)')
        self.assertEqual(control(d, LAUNCH_END)['checked'], 1)
        self.s.screenshot('editor_dialog_launch')
        self.confirm(d)

        self.saved_lines(f'LAUNCH:""{program_win}"",END')
        d = self.modify(LAUNCH)
        self.assertEqual(control(d, LAUNCH_PROGRAM)['text'], f'"{program_win}"')
        self.assertEqual(control(d, LAUNCH_END)['checked'], 1)
        self.cancel(d['caption'])

    def drag(self, points, *flags):
        args = ['wine', str(self.s.test_program('zvtool.exe')), 'drag-path']
        args += [f'{x},{y}' for x, y in points] + list(flags)
        return subprocess.Popen(args, env=self.s.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def wait_main_hidden(self, hidden, timeout=10):
        def done():
            w = self.main_window()
            return w is not None and w['visible'] != hidden
        return self.s.came(done, timeout)

    def test_mouse_position_dragged_from_the_tracker(self):
        self.start_target('ZvTarget')
        client = self.s.tool_json('client-rect', 'ZvTarget')['client']
        self.open_editor()
        d = self.add(MOUSE)
        self.keys('alt+l')
        opened = self.dialog(MOUSE + '(新規)')
        self.assertEqual(control(opened, MOUSE_LOCAL)['checked'], 1)
        tracker = centre(control(opened, MOUSE_TRACKER)['rect'])
        over_field = (client[0] + 100, client[1] + 15)  # the target's edit, a child window

        # Escape ends a drag; the dialog stays with the last position taken.
        drag = self.drag([tracker, (client[0] + 300, client[1] + 250)], '--esc')
        drag.wait(timeout=60)
        d = self.dialog(MOUSE + '(新規)')
        self.assertEqual((control(d, MOUSE_X)['text'], control(d, MOUSE_Y)['text']), ('300', '250'))
        self.assertEqual(d['rect'], opened['rect'], 'the dialog is back in its place')
        self.assertTrue(self.wait_main_hidden(False), 'the main window is shown again')

        # The capture taken away mid-drag (the system's cancel-mode message) ends the
        # drag as a release would: nothing of the editor stays hidden or moved.
        drag = self.drag([tracker, (client[0] + 250, client[1] + 200)], '--hold=4000')

        def position(d):
            return control(d, MOUSE_X)['text'], control(d, MOUSE_Y)['text']
        self.s.wait_until(lambda: position(self.dialog(MOUSE + '(新規)')) == ('250', '200'), 15,
                          'the dialog shows the position 250, 200 while the drag holds')
        self.assertFalse(self.main_window()['visible'])
        self.assertEqual(self.s.tool('post-msg', MOUSE + '(新規)', '0x1F', '0', '0')[0], 0)
        self.assertTrue(self.wait_main_hidden(False, timeout=2), 'shown before the button is released')
        self.assertEqual(self.dialog(MOUSE + '(新規)')['rect'], opened['rect'])
        drag.wait(timeout=60)

        drag = self.drag([tracker, over_field, (client[0] + 200, client[1] + 150)], '--hold=2000')
        self.assertTrue(self.wait_main_hidden(True), 'the main window hides while dragging')
        # The dialog gets out of the way once the pointer crosses it.
        def moved():
            d = self.dialog(MOUSE + '(新規)')
            return d if d['rect'] != opened['rect'] else None
        moving = self.s.wait_until(moved, 15, 'the dialog moved away from the pointer crossing it')
        self.s.screenshot('editor_dialog_mouse_tracking')
        drag.wait(timeout=60)
        # Crossing its own area sent the dialog to the far corner, 40 pixels from the edges.
        r = moving['rect']
        self.assertEqual(r[0] == 40, 2 * tracker[0] > SCREEN_W, r)
        self.assertEqual(r[1] == 40, 2 * tracker[1] > SCREEN_H, r)
        self.assertTrue(r[0] == 40 or r[2] == SCREEN_W - 40, r)
        self.assertTrue(r[1] == 40 or r[3] == SCREEN_H - 40, r)
        d = self.dialog(MOUSE + '(新規)')
        self.assertEqual((control(d, MOUSE_X)['text'], control(d, MOUSE_Y)['text']), ('200', '150'))
        self.assertEqual(d['rect'], opened['rect'])
        self.assertTrue(self.wait_main_hidden(False))
        record = (self.dir / 'rec.txt').read_text('utf-8').split('\n')
        self.assertFalse([line for line in record if line.startswith('down ')],
                         'the dialog held the mouse: the target saw no button press')

        self.keys('alt+b', 'down')  # "左ボタンクリック"
        self.keys('alt+x')
        self.type_text('4000')
        d = self.dialog(MOUSE + '(新規)')
        self.s.screenshot('editor_dialog_mouse')
        self.click(d, IDOK)
        self.assertEqual(self.message(), '-3200 から 3200 までの整数を入力してください。')
        self.s.press(MSGBOX, IDOK)
        d = self.focused(MOUSE + '(新規)', MOUSE_X)
        self.type_text('200')
        self.confirm(self.dialog(MOUSE + '(新規)'))

        self.saved_lines('MOUSE:200,150,L,LOCAL')
        d = self.modify(MOUSE)
        self.assertEqual((control(d, MOUSE_X)['text'], control(d, MOUSE_Y)['text']), ('200', '150'))
        self.assertEqual(control(d, MOUSE_LOCAL)['checked'], 1)
        self.assertEqual(control(d, MOUSE_BUTTON)['sel'], 1)
        self.cancel(d['caption'])

    def test_type_text_and_the_clipboard_token(self):
        text = 'こんにちは, "世界"'
        self.open_editor()
        d = self.add(TYPE)
        self.keys('tab')  # from the first source to its text field
        self.type_text(text)
        self.s.screenshot('editor_dialog_type')
        self.confirm(self.dialog(TYPE + '(新規)'))
        self.saved_lines(f'TYPE:"{text}"')

        d = self.modify(TYPE)
        self.assertEqual(control(d, TYPE_TEXT)['text'], text)
        self.assertEqual(control(d, TYPE_SOURCE0)['checked'], 1)
        self.keys('alt+c')  # the clipboard, with the text still in its field
        self.click(self.dialog(TYPE + '(更新)'), IDOK)
        self.assertEqual(self.message(), '入力文字列は無効となり登録されません。\r\n登録してよろしいですか？')
        self.s.screenshot('editor_dialog_type_question')
        self.s.press(MSGBOX, IDNO)
        d = self.focused(TYPE + '(更新)', TYPE_TEXT)
        self.click(d, IDOK)
        self.message()
        self.s.press(MSGBOX, IDYES)
        self.assertTrue(self.s.gone(TYPE + '(更新)'))

        lines = self.saved_lines('TYPE:%CLIP')
        self.assertNotIn(f'TYPE:"{text}"', lines, 'the line was changed in place')
        d = self.modify(TYPE)
        self.assertEqual(control(d, TYPE_CLIP)['checked'], 1)
        self.assertEqual(control(d, TYPE_TEXT)['text'], '')
        self.cancel(d['caption'])

    def test_wait_fields_and_their_spin_ranges(self):
        self.open_editor()
        d = self.add(WAIT)
        self.assertTrue(control(d, WAIT_TIME)['focus'])
        self.type_text('29999')
        self.keys('up', 'up')  # the spin stops at the top of the range
        self.keys('alt+c')
        self.type_text('3')
        d = self.dialog(WAIT + '(新規)')
        self.assertEqual((control(d, WAIT_TIME)['text'], control(d, WAIT_LOOPS)['text']), ('30000', '3'))
        self.s.screenshot('editor_dialog_wait')
        self.confirm(d)

        self.saved_lines('WAIT:30000,3')
        d = self.modify(WAIT)
        self.assertEqual((control(d, WAIT_TIME)['text'], control(d, WAIT_LOOPS)['text']), ('30000', '3'))
        self.cancel(d['caption'])


if __name__ == '__main__':
    unittest.main()
