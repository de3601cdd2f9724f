#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora (tests/fuzz/corpus/<target>/) from examples the
unit tests use. Run it again after adding examples; the seeds are committed.

Command targets take a mode byte and the parameter text; the others take whole files or
lines, in CP932 as the programs see them."""
import hashlib
import pathlib
import shutil

HERE = pathlib.Path(__file__).resolve().parent

PARAMS = {
    'wait': ['1000', '500,3', '0', '1000,,5', '-5', '1000, 5', '1000,5,2', '1000,', ',1000',
             '4294967296'],
    'keyin': ['CONTROL V', 'MENU CONTROL S,REP=3', 'a', 'A,REP=0', 'A,rep=2', 'F24',
              'NUMPAD0 OEM_1', 'CTRL', 'REP=2'],
    'type': ['"本日の報告"', '%CLIP', '%param1', '"a,b"', '"a"b"', '"', "'a b'", '表'],
    'mouse': ['100,200', '-5,7,LOCAL,DD', '-5,7,dd,local', '10,20,LW', '1,2,W-', '-,1',
              '1,2,3', '1,2,L,LOCAL,X', ',1'],
    'focus': ['"メモ帳*"', '"無題 - メモ帳"', 'Notepad', '"open', '""', '%PARAM2'],
    'launch': ['"notepad.exe",WAIT', '"calc.exe",end', 'append', '"C:\\WAITER\\x.exe",WAIT',
               '""C:\\Program Files\\a.exe""', '"'],
}

MACROS = [
    '; <RKMACRO>朝の報告\r\n; <TARGET>無題 - メモ帳*\r\n\r\n; 説明\r\n\r\n'
    'LAUNCH:"notepad.exe",WAIT\r\nFOCUS:"メモ帳*"\r\nWAIT:500,3\r\nKEYIN:CONTROL S,REP=2\r\n'
    'TYPE:"本日の報告"\r\nMOUSE:100,200,L,LOCAL\r\n',
    '; <RKMACRO>t\r\n\r\n   launch:"a.exe"\r\n; after\r\nwait:100\r\nほかの行\r\n',
    '<RKMACRO>at offset zero\r\nWAIT:1\r\n',
    '; <rkmacro>' + 'x' * 300 + '\r\n; <TARGET>T\r\nKEYIN:A\r\n',
    b'; <RKMACRO>\n\x81\n\x00; <TARGET>t\x00u\n',  # a lone lead byte, zero bytes
]

LINES = ['FOCUS:"メモ帳*"', 'KEYIN:MENU CONTROL S,REP=3', 'MOUSE:-5,7,dd,local', 'WAIT:',
         'TYPE:%clip', 'LAUNCH:"C:\\a b\\x.exe",END', 'wait:100,0', 'no colon', '表:"x"']


def write(target, items):
    folder = HERE / 'corpus' / target
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for item in items:
        data = item if isinstance(item, bytes) else item.encode('cp932')
        (folder / hashlib.sha1(data).hexdigest()[:16]).write_bytes(data)


def main():
    for command, params in PARAMS.items():
        write(command, [bytes([mode]) + p.encode('cp932') for p in params for mode in (0, 2, 5)])
    write('macrofile', MACROS + ['/M:"C:\\a.rkm" /1:"x"', '[RkEngineSettings]\r\nKeyinWaitMSec=100\r\n'])
    write('runner', MACROS)
    write('header', MACROS)
    write('editor_document', MACROS)
    write('dialogs', LINES + [p for params in PARAMS.values() for p in params])


if __name__ == '__main__':
    main()
