#!/usr/bin/env python3
"""Doxygen input filter: reads the headers' plain `//` comments as documentation.

The headers document each declaration with a `//` comment right above it, and
a comment above a run of declarations (no blank line between them) speaks for
the whole run. This filter turns such comments into `///` for every
declaration they cover, the comment after `#pragma once` into the file's
description, and leaves comments inside function bodies and those followed by
a blank line alone. Lines are only rewritten, never added or removed beyond
the repeated comments, so Doxygen's line numbers stay close.
"""
import re
import sys

SCOPE = re.compile(r"\b(namespace|class|struct|enum|union)\b")
ACCESS = re.compile(r"^\s*(public|protected|private)\s*:\s*$")


def code_part(line):
    """The line without a trailing // comment or string contents."""
    line = re.sub(r'"(\\.|[^"\\])*"', '""', line)
    line = re.sub(r"'(\\.|[^'\\])*'", "''", line)
    return line.split("//", 1)[0]


def main(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    # Specialisations of std templates (std::hash) are not the library's API.
    text = re.sub(r"(?ms)^(template\s*<>\s*\n\s*(?:struct|class)\s+std::.*?^\};)", r"/// \\cond\n\1\n/// \\endcond", text)
    lines = text.split("\n")
    out = []
    scopes = []          # for every open brace: True when it opens a scope (not a body)
    pending = []         # the comment block just read, as /// lines
    group = []           # the comment of the run of declarations in progress
    start_depth = None   # depth at which the current declaration began
    parens = 0           # open parentheses of the current declaration
    std_depth = None     # depth outside an open `namespace std` block
    file_doc_done = False
    file_doc = []        # the header's description, also the doc of its first undocumented class
    after_pragma = False

    def in_scope():
        return all(scopes)

    for index, line in enumerate(lines):
        following = lines[index + 1] if index + 1 < len(lines) else ""
        stripped = line.strip()
        is_comment = stripped.startswith("//") and not stripped.startswith("///")
        if is_comment and in_scope() and start_depth is None:
            text = stripped[2:]
            pending.append(line[: len(line) - len(line.lstrip())] + "///" + text)
            continue
        if pending:
            if after_pragma and not file_doc_done and (stripped.startswith("#") or stripped == ""):
                # The header's own description.
                out.append("/// \\file")
                out.extend(pending)
                file_doc = list(pending)
                pending = []
                file_doc_done = True
            elif stripped == "" or stripped.startswith("#") or ACCESS.match(line) or stripped.startswith("}"):
                out.extend(p.replace("///", "//", 1) for p in pending)
                pending = []
                group = []
            else:
                group = pending
                pending = []
        if stripped == "#pragma once":
            after_pragma = True
        elif stripped and not stripped.startswith("#"):
            file_doc_done = True

        code = code_part(line)
        if re.match(r"\s*namespace\s+std\b", code) and std_depth is None:
            # Specialisations of std templates (std::hash) are not the library's API.
            out.append("/// \\cond")
            std_depth = len(scopes)
        if start_depth is None and code.strip() and in_scope() and not ACCESS.match(line) \
                and not code.strip().startswith(("#", "}", "{")):
            # A declaration begins here; the group's comment covers it
            # (deleted copies need no words).
            if re.search(r"=\s*(delete|default)\s*;", code):
                # Deleted and defaulted copies and moves need no words.
                out.append(line[: len(line) - len(line.lstrip())] + "/// \\private")
            elif group:
                out.extend(group)
            elif file_doc and (re.match(r"\s*(class|struct)\s+\w+[^;]*$", code) or (
                    re.match(r"\s*template\s*<.*>\s*$", code) and re.match(r"\s*(class|struct)\s+\w+[^;]*$", following))):
                # One class per header: the header's description is the class's.
                out.extend(file_doc)
                file_doc = []
            start_depth = len(scopes)
            parens = 0
        elif stripped == "" or ACCESS.match(line):
            group = []
        if in_scope() and code.strip() and not code.strip().startswith("}") and not stripped.startswith("//"):
            # A comment after a declaration on its line (an enumerator, a field).
            rest = line[len(code):]
            if rest.lstrip().startswith("//") and not rest.lstrip().startswith("///"):
                line = code + rest.replace("//", "///<", 1)
        out.append(line)

        if start_depth is not None:
            parens += code.count("(") - code.count(")")
        for ch in code:
            if ch == "{":
                scopes.append(bool(SCOPE.search(code)) and "(" not in code.split("{")[0].split(")")[-1])
            elif ch == "}":
                if scopes:
                    scopes.pop()
        if std_depth is not None and len(scopes) == std_depth and "}" in code:
            out.append("/// \\endcond")
            std_depth = None
        if start_depth is not None and len(scopes) < start_depth:
            start_depth = None  # the scope it was in has closed (the last enumerator)
        if start_depth is not None and len(scopes) == start_depth:
            tail = code.rstrip()
            if tail.endswith((";", "}")) or (tail.endswith(",") and parens == 0) or (tail.endswith("{") and scopes and scopes[-1]):
                start_depth = None
        if start_depth is not None and len(scopes) > start_depth and scopes[-1]:
            # A class or namespace opened: its members are declarations of their own.
            start_depth = None
            group = []
    if pending:
        out.extend(p.replace("///", "//", 1) for p in pending)
    sys.stdout.write("\n".join(out))


if __name__ == "__main__":
    main(sys.argv[1])
