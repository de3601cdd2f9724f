#!/usr/bin/env python3
"""Copies the help pages and the read-me beside the programs, as the user gets them:
HTML in Shift-JIS (code page 932) declaring that charset, style sheets unchanged.

    install_docs.py DOCS_DIR PROGRAM_DIR

DOCS_DIR/Readme.html -> PROGRAM_DIR/Readme.html, DOCS_DIR/help/* -> PROGRAM_DIR/help/*."""
import pathlib
import sys


def install(src, dest):
    dest.parent.mkdir(parents=True, exist_ok=True)
    if src.suffix == '.html':
        text = src.read_text(encoding='utf-8').replace('charset="UTF-8"', 'charset="Shift_JIS"')
        data = text.replace('\n', '\r\n').encode('cp932')
    else:
        data = src.read_bytes()
    if not dest.exists() or dest.read_bytes() != data:
        dest.write_bytes(data)


def main():
    docs, programs = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    install(docs / 'Readme.html', programs / 'Readme.html')
    for page in sorted((docs / 'help').iterdir()):
        install(page, programs / 'help' / page.name)
    return 0


if __name__ == '__main__':
    sys.exit(main())
