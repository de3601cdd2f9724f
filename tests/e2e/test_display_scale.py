"""The three programs on displays of 100 %, 150 % and 200 % (system DPI 96, 144 and 192,
set before they start): the editor's line items hold both text lines, no label, check box,
radio button or button text is cut or covered in any dialog (measured inside each program
with the fonts its controls show, zvtool's layout command), the images come in the set of
the scale, and the remembered window height means the same at every scale. At 150 % a
MOUSE line taken with the tracker, and one recorded, are replayed by the engine at the
same screen and client positions of the test program. A WM_DPICHANGED sent as the system
sends it when a window moves to a monitor of another scale lays the editor out anew.
Screenshots of each scale go to build/e2e-artifacts/display_scale_*.png."""
import json
import shutil
import unittest

from wineenv import control, end_processes, record_lines, shared_session

DPIS = (96, 144, 192)
FOLDER = 'zv-scale'
MACRO = 'scale.txt'
MAIN = f'{MACRO} - RkEditor'
LIST = 1000
PICK_TARGET = 1004
MOUSE_LOCAL, MOUSE_X, MOUSE_Y, MOUSE_TRACKER = 1080, 1081, 1083, 1085
FOCUS_PICK, LAUNCH_PICK = 1041, 1071
IDOK, IDCANCEL = 1, 2
SETTINGS = 'RkEngine [RKマクロエンジンのプロパティ]'
STATUS = 'RkEngine [RKマクロ実行エンジン]'
ENGINE_ABOUT = 'RkEngine のバージョン情報'
LAUNCHER_WINDOW = 'TrayIconHandler'
HOTKEY = 'Zorvane のホットキーを設定'
PROPERTY = 'Zorvane プロパティ'
LAUNCHER_ABOUT = 'Zorvane のバージョン情報'
ID_CMD_HOTKEY, ID_TRAY_PROPERTY, ID_TRAY_ABOUT = 32771, 32777, 32781
BAR = 'RkEditor - 操作を記録'
STOP_BUTTON = 1902
TARGET = 'ZvTarget 倍率'

# The editor's dialogs: the keys that open each ("マクロ" > "行追加" > the command, "直接編集" of
# line 1, the about box), its caption and its screenshot's name.
EDITOR_DIALOGS = tuple((('alt', 'm', 'i', key), name + '(新規)', 'dialog_' + key) for key, name in (
    ('f', 'ウィンドウフォーカス設定'), ('k', 'キー入力設定'), ('l', 'プログラム起動設定'), ('m', 'マウス操作設定'),
    ('t', '文字列入力設定'), ('w', 'ウェイト設定'))) + (
    (('alt', 'm', 'e'), 'マクロ直接編集(更新)', 'direct_edit'), (('alt', 'h', 'a'), 'RkEditor のバージョン情報', 'editor_about'))
ALL_SIX = ['LAUNCH:"notepad.exe",1', 'FOCUS:"メモ帳*"', 'WAIT:500,3', 'KEYIN:0,CONTROL,S',
           'TYPE:"こんにちは、世界"', 'MOUSE:100,200,L,LOCAL']


def scaled(value, dpi):
    """A 96-DPI figure at dpi, rounded half up as the programs round it."""
    return (value * dpi + 48) // 96


def image_set(size, dpi):
    """The size of a size-pixel image in the set the programs draw at dpi."""
    percent = {96: 100, 144: 150, 192: 200}[dpi]
    return (size * percent + 50) // 100


class DisplayScale(unittest.TestCase):
    def setUp(self):
        self.procs = []
        self.sessions = []

    def tearDown(self):
        for s in self.sessions:
            for name in ('RkEditor.exe', 'RkEngine.exe', 'Zorvane.exe', 'zvtarget.exe'):
                s.tool('kill', name)
        end_processes(self.procs)

    # ---- helpers ----
    def session(self, dpi):
        s = shared_session(dpi=dpi)
        if s not in self.sessions:
            self.sessions.append(s)
        s.reset_user_state()
        folder = s.drive_c() / FOLDER
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        return s

    def start(self, s, exe, args=''):
        p = s.start(exe, args)
        self.procs.append(p)
        return p

    def open_editor(self, s, lines=ALL_SIX):
        s.write_cp932(s.drive_c() / FOLDER / MACRO,
                      '; <RKMACRO>倍率\r\n\r\n' + ''.join(line + '\r\n' for line in lines))
        self.start(s, s.bin('RkEditor.exe'), f'"C:\\{FOLDER}\\{MACRO}"')
        self.assertIsNotNone(s.wait_window(MAIN, 20000), 'the editor opened')
        s.tool('activate', MAIN)
        s.tool('settle')

    def layout(self, s, caption, *options):
        rc, out = s.tool('layout', caption, *options, timeout=90)
        self.assertIn(rc, (0, 3), f'{caption}: {out}')
        return json.loads(out.strip().splitlines()[-1])

    def assert_whole(self, s, dpi, caption, *options, screenshot=None):
        """The dialog's text is whole and uncovered; returns its layout."""
        info = self.layout(s, caption, *options)
        self.assertEqual(info['dpi'], dpi, caption)
        if screenshot:
            s.screenshot(f'display_scale_{screenshot}_{dpi}')
        self.assertEqual(info['offenders'], [], f'{caption} at {dpi} DPI')
        return info

    def dialog(self, s, caption, timeout_ms=10000):
        info = s.tool_json('dialog', caption, str(timeout_ms))
        self.assertIsNotNone(info, caption)
        return info

    # ---- every dialog whole, at every scale ----
    def test_text_whole_and_images_of_the_scale_at_100_150_and_200_percent(self):
        for dpi in DPIS:
            with self.subTest(dpi=dpi):
                s = self.session(dpi)
                self.check_editor(s, dpi)
                self.check_engine(s, dpi)
                self.check_launcher(s, dpi)

    def check_editor(self, s, dpi):
        # A height remembered in 96-DPI units opens at the scale's pixels.
        s.write_settings('RkManagerSettings', DefaultWindowHeight=380)
        self.open_editor(s)
        main = s.tool_ok('window-rect', MAIN)
        self.assertEqual(main['bottom'] - main['top'], scaled(380, dpi), 'the remembered height')

        form = self.assert_whole(s, dpi, MAIN, '--form', screenshot='editor')
        items = control(form, LIST)
        self.assertGreaterEqual(items['item_height'], scaled(41, dpi), 'an item at least 41 pixels scaled')
        self.assertGreaterEqual(items['item_height'], 2 * items['line_height'], 'two text lines an item')
        self.assertEqual(items['font_height'], -scaled(12, dpi), 'the list font: 9 points at the DPI')
        self.assertEqual(control(form, PICK_TARGET)['image'], [image_set(20, dpi), image_set(18, dpi)])
        frame = self.layout(s, MAIN)
        toolbar = next(c for c in frame['controls'] if c['class'] == 'ToolbarWindow32')
        self.assertEqual(toolbar['image'], [image_set(16, dpi), image_set(15, dpi)], 'tool-bar images')

        for keys, caption, shot in EDITOR_DIALOGS:
            s.tool('send-keys', *keys)
            self.dialog(s, caption)
            info = self.assert_whole(s, dpi, caption, '--class=#32770', screenshot=shot)
            if shot == 'dialog_m':
                self.assertEqual(control(info, MOUSE_TRACKER)['image'],
                                 [image_set(32, dpi), image_set(32, dpi)], 'the tracker')
            if shot in ('dialog_f', 'dialog_l'):
                pick = control(info, FOCUS_PICK if shot == 'dialog_f' else LAUNCH_PICK)
                self.assertEqual(pick['image'], [image_set(20, dpi), image_set(18, dpi)])
            s.tool('send-keys', 'esc')
            self.assertTrue(s.gone(caption), caption)

        # Made taller and closed: the height is written in 96-DPI units.
        height = s.tool_ok('move-window', MAIN, str(main['left']), str(main['top']), str(main['right'] - main['left']),
                           str(scaled(380, dpi) + 31))['bottom'] - main['top']
        self.assertGreater(height, scaled(380, dpi))
        s.tool('close', MAIN)
        self.assertTrue(s.gone(MAIN))
        stored = s.settings('RkManagerSettings')
        self.assertEqual(int(stored['DefaultWindowHeight']), (height * 96 * 2 + dpi) // (2 * dpi))

    def check_engine(self, s, dpi):
        self.start(s, s.bin('RkEngine.exe'))
        self.dialog(s, SETTINGS, 20000)
        self.assert_whole(s, dpi, SETTINGS, '--class=#32770', screenshot='engine_settings')
        s.press(SETTINGS, IDCANCEL)
        self.assertTrue(s.gone(SETTINGS))

        macro = s.drive_c() / FOLDER / 'wait.txt'
        # The run outlasts the check however slow the machine (its end would close the box).
        s.write_cp932(macro, '; <RKMACRO>待つ\r\n\r\nWAIT:120000\r\n')
        run = self.start(s, s.bin('RkEngine.exe'), f'/M:"C:\\{FOLDER}\\wait.txt"')
        self.assertIsNotNone(s.wait_window(STATUS, 15000))
        self.assertEqual(s.tool('syscommand', STATUS, '16')[0], 0)
        self.dialog(s, ENGINE_ABOUT)
        self.assert_whole(s, dpi, ENGINE_ABOUT, '--class=#32770', screenshot='engine_about')
        s.tool('kill', 'RkEngine.exe')
        run.wait(timeout=60)

    def check_launcher(self, s, dpi):
        s.write_settings('ZorvaneSettings', SplashShowSec=0, RkMacroTopPath=f'C:\\{FOLDER}')
        launcher = self.start(s, s.bin('Zorvane.exe'))
        self.assertIsNotNone(s.wait_window(LAUNCHER_WINDOW, 15000))
        for command, caption, close in ((ID_CMD_HOTKEY, HOTKEY, IDCANCEL), (ID_TRAY_PROPERTY, PROPERTY, IDCANCEL),
                                        (ID_TRAY_ABOUT, LAUNCHER_ABOUT, IDOK)):
            s.tool('post-msg', LAUNCHER_WINDOW, str(0x0111), str(command), '0')  # WM_COMMAND
            self.dialog(s, caption)
            s.tool('settle')
            info = self.assert_whole(s, dpi, caption, '--class=#32770', screenshot=f'launcher_{command}')
            if caption == PROPERTY:
                browse = control(info, 1010)
                self.assertEqual(browse['image'], [image_set(20, dpi), image_set(18, dpi)], 'the folder button')
            s.press(caption, close)
            self.assertTrue(s.gone(caption), caption)
        s.tool('close', LAUNCHER_WINDOW)
        launcher.wait(timeout=30)

    # ---- positions at 150 % ----
    def drag(self, s, points, *flags):
        rc, _ = s.tool('drag-path', *[f'{x},{y}' for x, y in points], *flags, timeout=120)
        self.assertEqual(rc, 0)

    def take_position(self, s, target_point, local):
        """A MOUSE line with a left click, its position dragged from the tracker."""
        caption = 'マウス操作設定(新規)'
        s.tool('send-keys', 'alt', 'm', 'i', 'm')
        d = self.dialog(s, caption)
        if local:
            s.tool('send-keys', 'alt+l')
            d = self.dialog(s, caption)
        tracker = control(d, MOUSE_TRACKER)['rect']
        start = ((tracker[0] + tracker[2]) // 2, (tracker[1] + tracker[3]) // 2)
        self.drag(s, [start, target_point], '--hold=500')
        d = self.dialog(s, caption)
        shown = (int(control(d, MOUSE_X)['text']), int(control(d, MOUSE_Y)['text']))
        s.tool('send-keys', 'alt+b', 'down')  # "左ボタンクリック"
        s.tool('idle', caption)
        s.tool('send-keys', 'return')
        self.assertTrue(s.gone(caption), 'OK closed the dialog')
        return shown

    def record_click(self, s, point):
        """"操作を記録" of one click; the bar's own button ends it."""
        s.tool('activate', MAIN)
        s.tool('idle', MAIN)
        s.tool('send-keys', 'alt', 'm', 'c')
        s.wait_until(lambda: (s.wait_window(BAR, 2000) or {}).get('visible'), 10, 'the recording bar shown')
        rc, out = s.tool('play', f'click:{point[0]},{point[1]}', 'sleep:400', timeout=120)
        self.assertEqual(rc, 0, out)
        r = s.tool_ok('control-rect', BAR, str(STOP_BUTTON))
        s.tool('play', f'click:{(r["left"] + r["right"]) // 2},{(r["top"] + r["bottom"]) // 2}', timeout=120)
        shown = lambda caption: (s.wait_window(caption, 1000) or {}).get('visible')  # noqa: E731
        s.wait_until(lambda: shown(MAIN + '(更新)') and not shown(BAR), 15, 'the editor back with the recording')

    def clicks(self, record):
        return [line for line in record_lines(record) if line.split(' ')[0] in ('down', 'up')]

    def test_tracker_recorder_and_engine_agree_at_150_percent(self):
        dpi = 144
        s = self.session(dpi)
        record = s.drive_c() / FOLDER / 'clicks.txt'
        self.procs.append(s.start_target(TARGET, record))
        client = s.tool_json('client-rect', TARGET)['client']
        self.open_editor(s, lines=[])

        # Client coordinates (LOCAL) and screen coordinates from the tracker, one click
        # taken by the recorder: all physical pixels of the 150 % screen.
        local = self.take_position(s, (client[0] + 300, client[1] + 250), local=True)
        self.assertEqual(local, (300, 250))
        screen = self.take_position(s, (client[0] + 200, client[1] + 150), local=False)
        self.assertEqual(screen, (client[0] + 200, client[1] + 150))
        s.screenshot(f'display_scale_tracker_{dpi}')
        self.record_click(s, (client[0] + 100, client[1] + 120))
        self.assertEqual(self.clicks(record), ['down L 100 120', 'up L 100 120'],
                         'the tracker clicked nothing; the recorded click reached the target')
        s.tool('activate', MAIN + '(更新)')
        s.tool('idle', MAIN + '(更新)')
        s.tool('send-keys', 'ctrl+s')
        self.assertIsNotNone(s.wait_window(MAIN, 10000), 'saved')
        text = s.read_cp932(s.drive_c() / FOLDER / MACRO)
        self.assertTrue(text.startswith('; <RKMACRO>倍率\r\n\r\n\r\n'), text)
        lines = text.split('\r\n')[3:-1]
        self.assertEqual(lines, ['MOUSE:300,250,L,LOCAL', f'MOUSE:{client[0] + 200},{client[1] + 150},L',
                                 f'FOCUS:"{TARGET}"', 'MOUSE:100,120,L,LOCAL'])

        # The engine at 150 % clicks the same client positions.
        s.write_cp932(s.drive_c() / FOLDER / 'replay.txt', '; <RKMACRO>再生\r\n\r\n' + ''.join(
            line + '\r\n' for line in [f'FOCUS:"{TARGET}"', lines[0], lines[1], lines[3]]))
        before = len(self.clicks(record))
        self.assertEqual(s.run(s.bin('RkEngine.exe'), f'/M:"C:\\{FOLDER}\\replay.txt"', timeout=120), 0)
        s.wait_until(lambda: len(self.clicks(record)) >= before + 6, 10, 'six clicks in the target\'s record')
        self.assertEqual(self.clicks(record)[before:], ['down L 300 250', 'up L 300 250',
                                                        'down L 200 150', 'up L 200 150',
                                                        'down L 100 120', 'up L 100 120'])

    # ---- a monitor of another scale ----
    def test_wm_dpichanged_lays_the_editor_out_for_the_new_scale_and_back(self):
        s = self.session(96)
        self.open_editor(s)
        before = s.tool_ok('window-rect', MAIN)
        form = self.layout(s, MAIN, '--form')
        frame = self.layout(s, MAIN)
        width, height = before['right'] - before['left'], before['bottom'] - before['top']

        self.assertEqual(s.tool('dpi-change', MAIN, '144')[0], 0)
        s.tool('settle')
        s.screenshot('display_scale_editor_96_to_144')
        after = s.tool_ok('window-rect', MAIN)
        self.assertEqual((after['left'], after['top']), (before['left'], before['top']), 'in its place')
        self.assertGreaterEqual(after['bottom'] - after['top'], (height * 144 + 48) // 96,
                                'the suggested height, or the form\'s where that is more')
        # The width is the form's at 150 % and stays fixed.
        self.assertAlmostEqual(after['right'] - after['left'], width * 1.5, delta=8)
        moved = s.tool_ok('move-window', MAIN, str(after['left']), str(after['top']),
                          str(after['right'] - after['left'] + 120), str(after['bottom'] - after['top']))
        self.assertEqual(moved['right'], after['right'], 'the width is fixed')
        scaled_form = self.layout(s, MAIN, '--form')
        self.assertEqual(scaled_form['offenders'], [])
        # Across as the DPI, down as the font's lines (at least as the DPI): the list and
        # the description reach down to the window's bottom.
        label = control(form, -1)
        down = max(1.5, control(scaled_form, -1)['line_height'] / label['line_height'])
        for old, new in zip(form['controls'], scaled_form['controls']):
            self.assertEqual(old['id'], new['id'])
            name = f'{old["text"]}: {old["rect"]} -> {new["rect"]}'
            self.assertAlmostEqual(new['rect'][0], old['rect'][0] * 1.5, delta=2, msg=name)
            self.assertAlmostEqual(new['rect'][2], old['rect'][2] * 1.5, delta=2, msg=name)
            self.assertAlmostEqual(new['rect'][1], old['rect'][1] * down, delta=2, msg=name)
            if old['id'] in (LIST, 1005):
                self.assertGreaterEqual(new['rect'][3], old['rect'][3] * down - 2, name)
            else:
                self.assertAlmostEqual(new['rect'][3], old['rect'][3] * down, delta=2, msg=name)
            self.assertEqual(new['font_height'], old['font_height'] * 3 // 2, old['text'])
        items = control(scaled_form, LIST)
        self.assertEqual(items['item_height'], 62)
        self.assertEqual(control(scaled_form, PICK_TARGET)['image'], [30, 27])
        toolbar = next(c for c in self.layout(s, MAIN)['controls'] if c['class'] == 'ToolbarWindow32')
        self.assertEqual(toolbar['image'], [24, 23])

        # Back on a 100 % monitor: as it was.
        self.assertEqual(s.tool('dpi-change', MAIN, '96', str(before['left']), str(before['top']),
                                str(before['right']), str(before['bottom']))[0], 0)
        s.tool('settle')
        self.assertEqual(s.tool_ok('window-rect', MAIN), before)
        back = self.layout(s, MAIN, '--form')
        for old, new in zip(form['controls'], back['controls']):
            for a, b in zip(old['rect'], new['rect']):
                self.assertAlmostEqual(b, a, delta=1, msg=f'{old["text"]}: {old["rect"]} -> {new["rect"]}')
            self.assertEqual(new['font_height'], old['font_height'], old['text'])
        self.assertEqual(control(back, LIST)['item_height'], 41)
        toolbar = next(c for c in self.layout(s, MAIN)['controls'] if c['class'] == 'ToolbarWindow32')
        self.assertEqual(toolbar['image'], [16, 15])
        self.assertEqual(len(self.layout(s, MAIN)['controls']), len(frame['controls']))
