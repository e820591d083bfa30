#!/usr/bin/env python3
"""Writes the program's help from velkaro-help.txt (see its header for the markup),
the Russian one here and each translation's in resources/translations/<code>/:

- velkaro.hlp, the topic list: the help document's name as a quoted field,
  then one title per line, in Windows-1251 with CR LF;
- velkaro-help.rtf, every topic's text after a line "&k", and "&(n+1)" after
  the last one, as the help window cuts it.

Both go beside their source. Run it after editing a text:
python3 resources/help/make_help.py
"""

import glob
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_NAME = "velkaro-help.txt"
TOPIC_LIST_NAME = "velkaro.hlp"
DOCUMENT_NAME = "velkaro-help.rtf"
TRANSLATIONS = os.path.join(HERE, "..", "translations")

HEADER = (
    r"{\rtf1\ansi\ansicpg1251\deff0\deflang1049"
    r"{\fonttbl{\f0\fswiss\fcharset204 Verdana;}}"
    r"{\colortbl ;\red0\green51\blue153;}"
    "\r\n" r"\viewkind4\uc1" "\r\n"
)
BODY = r"\pard\plain\f0\fs18 "
TITLE = r"\pard\plain\f0\fs24\b\cf1 "
HEADING = r"\pard\plain\f0\fs18\b\cf1 "
ITEM = r"\pard\plain\f0\fs18\fi-240\li480\tx480 \bullet\tab "
ROW = r"\pard\plain\f0\fs18\fi-3400\li3400\tx3400 "


def escape(text):
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif " " <= ch <= "~":
            out.append(ch)
        else:
            try:
                out.append("\\'%02x" % ch.encode("cp1251")[0])
            except UnicodeEncodeError:
                code = ord(ch)
                out.append("\\u%d?" % (code - 0x10000 if code > 0x7FFF else code))
    return "".join(out)


def inline(text):
    """Text with **bold** runs."""
    parts = text.split("**")
    if len(parts) % 2 == 0:
        sys.exit("unbalanced ** in: " + text)
    return "".join(
        escape(part) if i % 2 == 0 else r"{\b " + escape(part) + "}" for i, part in enumerate(parts)
    )


def paragraph(prefix, text):
    return prefix + inline(text) + r"\par" "\r\n"


def read_topics(source_path):
    topics = []
    pending = []

    def flush():
        if pending:
            topics[-1][1].append(paragraph(BODY, " ".join(pending)))
            pending.clear()

    with open(source_path, encoding="utf-8") as source:
        for raw in source:
            line = raw.rstrip("\n").rstrip()
            if line.startswith("#") and not line.startswith("###"):
                continue
            if line.startswith("== "):
                topics.append((line[3:].strip(), []))
                continue
            if not topics:
                if line:
                    sys.exit("text before the first topic: " + line)
                continue
            body = topics[-1][1]
            if not line:
                flush()
                if body and body[-1] != BODY + r"\par" "\r\n":
                    body.append(BODY + r"\par" "\r\n")
            elif line.startswith("### "):
                flush()
                body.append(paragraph(HEADING, line[4:]))
            elif line.startswith("- "):
                flush()
                body.append(paragraph(ITEM, line[2:]))
            elif line.startswith("| "):
                flush()
                key, _, text = line[2:].partition(" | ")
                body.append(ROW + r"{\b " + escape(key) + r"}\tab " + inline(text) + r"\par" "\r\n")
            else:
                pending.append(line)
    if topics:
        flush()
    return topics


def make(folder):
    topics = read_topics(os.path.join(folder, SOURCE_NAME))
    for title, body in topics:
        text = "".join(body)
        if re.search(r"&\d", title + text):
            sys.exit("a topic may not hold '&' followed by a digit: " + title)
    rtf = [HEADER]
    for number, (title, body) in enumerate(topics, start=1):
        rtf.append(BODY + "&%d\\par\r\n" % number)
        rtf.append(paragraph(TITLE, title))
        rtf.append(BODY + r"\par" "\r\n")
        while body and body[-1] == BODY + r"\par" "\r\n":
            body.pop()
        rtf.extend(body)
    rtf.append(BODY + "&%d\\par\r\n}\r\n" % (len(topics) + 1))
    with open(os.path.join(folder, DOCUMENT_NAME), "w", encoding="ascii", newline="") as out:
        out.write("".join(rtf))
    lines = ['"%s"' % DOCUMENT_NAME] + [title for title, _ in topics]
    with open(os.path.join(folder, TOPIC_LIST_NAME), "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("cp1251"))


def main():
    make(HERE)
    for source in sorted(glob.glob(os.path.join(TRANSLATIONS, "*", SOURCE_NAME))):
        make(os.path.dirname(source))


if __name__ == "__main__":
    main()
