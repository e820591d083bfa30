#!/usr/bin/env python3
"""Fails on a QString::arg chained to another under the folder given: the
second fills a "%1" that the first put in with the user's text (a title, a
file name, a setting's value). A message fills its arguments in one
multi-argument arg."""

import re
import sys
from pathlib import Path


def closing(text, start):
    """The position after the parenthesis that closes the one before `start`."""
    depth = 1
    i = start
    while depth and i < len(text):
        depth += {"(": 1, ")": -1}.get(text[i], 0)
        i += 1
    return i


root = Path(sys.argv[1])
chained = []
for path in sorted(p for p in root.rglob("*") if p.suffix in (".cpp", ".h")):
    text = path.read_text(encoding="utf-8")
    for call in re.finditer(r"\.arg\(", text):
        if re.match(r"\s*\.arg\(", text[closing(text, call.end()):]):
            line = text.count("\n", 0, call.start()) + 1
            chained.append(f"{path.relative_to(root)}:{line}")
if chained:
    print("QString::arg chained to another arg:\n  " + "\n  ".join(chained))
    sys.exit(1)
