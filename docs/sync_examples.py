#!/usr/bin/env python3
"""Keeps the code quoted in the docs pages equal to the example files.

Each page marks a quote with `<!-- example: PATH -->` (PATH relative to docs/)
followed by a ```cpp block. `sync_examples.py` rewrites the blocks from the
files; `sync_examples.py --check` only reports pages that differ (exit 1).
"""
import pathlib
import re
import sys

DOCS = pathlib.Path(__file__).resolve().parent
QUOTE = re.compile(r"(<!-- example: (\S+) -->\n```cpp\n)(.*?)(```)", re.S)


def synced(page):
    def fill(m):
        code = (DOCS / m.group(2)).read_text(encoding="utf-8")
        return m.group(1) + code + m.group(4)
    return QUOTE.sub(fill, page)


def main():
    check = "--check" in sys.argv
    stale = []
    for path in sorted(DOCS.glob("*.md")):
        page = path.read_text(encoding="utf-8")
        new = synced(page)
        if new != page:
            stale.append(path.name)
            if not check:
                path.write_text(new, encoding="utf-8")
    if check and stale:
        print("pages quoting stale examples (run docs/sync_examples.py):", ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
