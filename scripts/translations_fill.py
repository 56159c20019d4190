#!/usr/bin/env python3
"""Fills the shipped translations from qml/i18n/translations.json.

The data file maps a context to its texts, each text to its English and
Chinese translation:

    "FilePage": { "Upload files": ["Upload files", "上传文件"] }

The context "*" holds texts that read the same on every page; an entry under
the page's own context wins over it. Messages found are written finished;
messages without an entry are listed and left as lupdate wrote them, so after
scripts/update-translations.sh brings in new texts, add their entries here and
run this again. Everything else in the .ts files is left byte for byte.

    scripts/translations_fill.py          fill the .ts files
    scripts/translations_fill.py --check  change nothing; fail when a message
                                          has no entry or a file is not filled
"""

import html
import json
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
I18N = ROOT / "qml" / "i18n"
DATA = I18N / "translations.json"
# Column of each language in the data file's pairs.
FILES = [("tidewell_ui_en.ts", 0), ("tidewell_ui_zh_CN.ts", 1)]
SHARED = "*"

CONTEXT_RE = re.compile(r"(<context>\s*<name>)(.*?)(</name>)(.*?)(</context>)", re.S)
MESSAGE_RE = re.compile(r"<message(?P<attrs>[^>]*)>(?P<body>.*?)</message>", re.S)
SOURCE_RE = re.compile(r"<source>(.*?)</source>", re.S)
TRANSLATION_RE = re.compile(r"<translation(?P<attrs>[^>]*?)(?:/>|>(?P<text>.*?)</translation>)", re.S)
NUMERUS_RE = re.compile(r"<numerusform[^>]*?(?:/>|>.*?</numerusform>)", re.S)


def protect(text):
    """Escapes a text the way lupdate writes it, so a rerun changes nothing."""
    out = []
    for ch in text:
        if ch == '"':
            out.append("&quot;")
        elif ch == "&":
            out.append("&amp;")
        elif ch == ">":
            out.append("&gt;")
        elif ch == "<":
            out.append("&lt;")
        elif ch == "'":
            out.append("&apos;")
        elif ord(ch) < 0x20 and ch not in "\r\n\t":
            out.append("&#x%x;" % ord(ch))
        else:
            out.append(ch)
    return "".join(out)


def load_data():
    with open(DATA, encoding="utf-8") as f:
        data = json.load(f)
    problems = []
    for context, entries in data.items():
        for source, pair in entries.items():
            if not (isinstance(pair, list) and len(pair) == len(FILES)):
                problems.append(f"{context}: {source!r}: expected {len(FILES)} translations")
    if problems:
        sys.exit("translations.json:\n  " + "\n  ".join(problems))
    return data


def lookup(data, context, source, column):
    for key in (context, SHARED):
        pair = data.get(key, {}).get(source)
        if pair is not None:
            return pair[column], key
    return None, None


def translation_element(attrs, old_text, value):
    # Drop only the unfinished mark; other attributes stay as they were.
    attrs = re.sub(r'\s+type="unfinished"', "", attrs)
    forms = NUMERUS_RE.findall(old_text or "")
    if forms:
        values = value if isinstance(value, list) else [value] * len(forms)
        inner = "".join(f"<numerusform>{protect(v)}</numerusform>" for v in values)
        return f"<translation{attrs}>{inner}</translation>"
    return f"<translation{attrs}>{protect(value)}</translation>"


def fill(text, data, column, used, missing):
    def on_context(cm):
        context = html.unescape(cm.group(2))

        def on_message(mm):
            body = mm.group("body")
            sm = SOURCE_RE.search(body)
            tm = TRANSLATION_RE.search(body)
            if not sm or not tm or re.search(r'type="(obsolete|vanished)"', tm.group("attrs")):
                return mm.group(0)
            source = html.unescape(sm.group(1))
            value, key = lookup(data, context, source, column)
            if value is None:
                missing.append((context, source))
                return mm.group(0)
            used.add((key, source))
            new = translation_element(tm.group("attrs"), tm.group("text"), value)
            body = body[: tm.start()] + new + body[tm.end():]
            return f"<message{mm.group('attrs')}>{body}</message>"

        messages = MESSAGE_RE.sub(on_message, cm.group(4))
        return cm.group(1) + cm.group(2) + cm.group(3) + messages + cm.group(5)

    return CONTEXT_RE.sub(on_context, text)


def main(argv):
    check = "--check" in argv[1:]
    data = load_data()
    used = set()
    failed = False
    for name, column in FILES:
        path = I18N / name
        old = path.read_text(encoding="utf-8")
        missing = []
        new = fill(old, data, column, used, missing)
        for context, source in missing:
            print(f"{name}: no translation for {context}: {source!r}")
        failed |= bool(missing)
        if new != old:
            if check:
                print(f"{name}: not filled from translations.json")
                failed = True
            else:
                path.write_text(new, encoding="utf-8")
                print(f"{name}: filled")
        left = len(re.findall(r'type="unfinished"', new))
        if left:
            print(f"{name}: {left} message(s) still unfinished")
            failed = True
    unused = [(c, s) for c, entries in data.items() for s in entries if (c, s) not in used]
    for context, source in unused:
        print(f"translations.json: unused entry {context}: {source!r}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
