#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes KELVOR.RTF, the help document, from help_source.txt.

The program opens help at fixed character offsets (the Help menu topics and the F1 keys of its
windows), so every positioned heading must start exactly at its offset. Offsets count as the
help window counts them: one per character and one per paragraph break. This script pads with
blank lines before each positioned heading and stops with an error when the text before a
heading has grown past its offset, or when it would need more padding than MAX_PADDING (write
more text instead).

Source format, one paragraph per line, printable ASCII only:
  @@title TEXT               the document title, large and bold
  @@subtitle TEXT            bold, a little smaller
  @@heading POSITION TEXT    a topic heading starting at POSITION
  @@subheading POSITION TEXT a heading inside a topic, starting at POSITION
  @@heading - TEXT           a heading with no fixed position (after the last topic)
  @@include PATH             the lines of a file (a sample Datafile), verbatim
  anything else              a line of body text ("Courier New", 10 points)

Usage: make_help.py [SOURCE [OUTPUT]]   (defaults: help_source.txt, KELVOR.RTF beside this file)
"""

import pathlib
import sys

MAX_LINE = 88  # fits the help window (767 pixels) in 10-point Courier New without wrapping
MAX_PADDING = 25  # blank lines allowed before a positioned heading

HEADER = (
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
    "{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}{\\f1\\fswiss\\fcharset0 Arial;}}"
    "{\\colortbl;\\red128\\green0\\blue0;\\red0\\green0\\blue128;}"
    "\\viewkind4\\pard\\plain\\f0\\fs20\r\n"
)

# Paragraph styles: the RTF group that wraps the text.
STYLES = {
    "body": None,
    "title": "\\b\\fs40\\cf2",
    "subtitle": "\\b\\fs28\\cf2",
    "heading": "\\b\\fs28\\cf2",
    "subheading": "\\b\\fs24\\cf2",
}


class HelpError(Exception):
    pass


def escape(text, where):
    for character in text:
        if not (" " <= character <= "~"):
            raise HelpError(f"{where}: only printable ASCII is allowed, found {character!r}")
    return text.replace("\\", "\\\\").replace("{", "\\{").replace("}", "\\}")


class Document:
    def __init__(self):
        self.paragraphs = []  # (style, text)
        self.offset = 0  # of the next paragraph's first character
        self.report = []

    def add(self, style, text, where):
        if style == "body" and len(text) > MAX_LINE:
            raise HelpError(f"{where}: line of {len(text)} characters, at most {MAX_LINE}")
        self.paragraphs.append((style, escape(text, where)))
        self.offset += len(text) + 1

    def pad_to(self, position, heading, where):
        missing = position - self.offset
        if missing < 0:
            raise HelpError(
                f"{where}: the text before '{heading}' is {-missing} characters too long "
                f"to start it at {position}"
            )
        if missing > MAX_PADDING:
            raise HelpError(
                f"{where}: '{heading}' would need {missing} blank lines to reach {position}; "
                f"write more text before it (at most {MAX_PADDING})"
            )
        self.report.append(f"{position:6d}  {missing:3d} blank lines before {heading}")
        for _ in range(missing):
            self.add("body", "", where)

    def rtf(self):
        out = [HEADER]
        for style, text in self.paragraphs:
            group = STYLES[style]
            if group is None:
                out.append(text + "\\par\r\n")
            else:
                out.append("{" + group + " " + text + "}\\par\r\n")
        out.append("}\r\n")
        return "".join(out)


def build(source_path):
    document = Document()
    folder = source_path.parent
    lines = source_path.read_text(encoding="ascii").splitlines()
    for number, line in enumerate(lines, start=1):
        where = f"{source_path.name}:{number}"
        if not line.startswith("@@"):
            document.add("body", line.rstrip(), where)
            continue
        directive, _, rest = line[2:].partition(" ")
        if directive in ("title", "subtitle"):
            document.add(directive, rest, where)
        elif directive in ("heading", "subheading"):
            position, _, text = rest.partition(" ")
            if position != "-":
                document.pad_to(int(position), text, where)
            document.add(directive, text, where)
        elif directive == "include":
            included = (folder / rest).read_bytes().decode("ascii")
            for included_line in included.split("\r\n")[:-1]:
                document.add("body", included_line, f"{rest}")
        else:
            raise HelpError(f"{where}: unknown directive @@{directive}")
    return document


def main(arguments):
    here = pathlib.Path(__file__).resolve().parent
    source = pathlib.Path(arguments[1]) if len(arguments) > 1 else here / "help_source.txt"
    output = pathlib.Path(arguments[2]) if len(arguments) > 2 else here / "KELVOR.RTF"
    try:
        document = build(source)
    except HelpError as error:
        print(f"make_help: {error}", file=sys.stderr)
        return 1
    output.write_bytes(document.rtf().encode("ascii"))
    print("\n".join(document.report))
    print(f"{output.name}: {document.offset} characters, {len(document.paragraphs)} paragraphs")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
