#!/usr/bin/env python3
"""Renders every manual page, English and Japanese, as man-db shows it on a
terminal (preconv | tbl | nroff -mandoc -Tutf8, the line length man-db gives
for MANWIDTH) at three widths, and checks what a reader sees: no word broken
across two lines or by a stray space, no hyphenated line ends, and in
Japanese no space between two letters.

The words checked are the keys below and every option name, hyphenated name,
katakana word and (in Japanese) phrase between two break points that the
pages themselves hold.

    man_pages.py PACKAGE_DIR      (the folder holding *.6 and ja/*.6)
"""
import os
import re
import subprocess
import sys
from pathlib import Path

WIDTHS = (60, 80, 120)
KEYS = ["Enter", "Escape", "Alt+Enter", "Ctrl+Shift+S", "Ctrl+Shift+Z", "Shift+F6", "Backspace", "Delete",
        "Space", "Left", "Right", "Down", "F11", "settings.conf", "rcd.dat", "JSON"]

LETTER = "\u3005\u3041-\u3096\u30a1-\u30fa\u30fc\u4e00-\u9fff"  # kana, kanji, 々 and ー
CJK_LETTER = re.compile(f"[{LETTER}]")
KATAKANA_WORD = re.compile("[\u30a1-\u30fa\u30fc]{2,}")
OPTION = re.compile(r"--[a-z][a-z-]*[a-z]")
HYPHENATED = re.compile(r"[A-Za-z0-9]+(?:-[A-Za-z0-9]+)+")
BREAK = "\x00"  # where the page allows a line break inside Japanese text (\:)
# What ends a Japanese phrase besides a break point.
PHRASE_END = re.compile(f"[{BREAK} \t\n、。，．・：:；（）()\\[\\]「」|/]+")
# Alternating-font macros run their arguments together; the others put spaces between.
RUN_TOGETHER = {"BR", "RB", "IR", "RI", "BI", "IB"}
WITH_SPACES = {"B", "I", "SM", "SB", "SH", "SS"}
# Macros after which the next text starts a new line.
BREAKING = {"TH", "SH", "SS", "TP", "PP", "P", "LP", "IP", "br", "sp", "RS", "RE", "nf", "fi"}


def roff_arguments(line):
    """The arguments of a macro line, with roff's double quotes."""
    args, i = [], 0
    while i < len(line):
        if line[i] == " ":
            i += 1
        elif line[i] == '"':
            j, arg = i + 1, ""
            while j < len(line):
                if line[j] == '"' and line[j + 1:j + 2] == '"':
                    arg, j = arg + '"', j + 2
                elif line[j] == '"':
                    break
                else:
                    arg, j = arg + line[j], j + 1
            args.append(arg)
            i = j + 1
        else:
            j = line.find(" ", i)
            j = len(line) if j < 0 else j
            args.append(line[i:j])
            i = j
    return args


def plain(text):
    """Text with the escapes the pages use resolved; \\: kept as BREAK and a
    non-breaking space as U+00A0."""
    text = re.sub(r"\\f[BIRP]", "", text)
    for escape, value in (("\\-", "-"), ("\\%", ""), ("\\&", ""), ("\\:", BREAK), ("\\~", "\u00a0"),
                          ("\\e", "\\")):
        text = text.replace(escape, value)
    return text


def page_text(source):
    """The page's running text as its author means it: lines joined by a
    space, without one after \\c or between two Japanese letters (roff would
    put a space there, itself a fault the rendering check finds); a newline
    wherever the page breaks the line (headings, paragraphs, the tag of .TP)."""
    text, run_on, tag_line = "", True, False
    for line in source.splitlines():
        if line.startswith(".\\\"") or line.startswith("'\\\""):
            continue
        ends_block = tag_line
        if line.startswith("."):
            name, _, rest = line[1:].partition(" ")
            if name in RUN_TOGETHER:
                chunk = "".join(roff_arguments(rest))
            elif name in WITH_SPACES:
                chunk = " ".join(roff_arguments(rest))
            else:
                if name in BREAKING:
                    text, run_on = text + "\n", True
                tag_line = tag_line or name == "TP"
                continue
            if name in ("SH", "SS"):
                text, run_on, ends_block = text + "\n", True, True
        else:
            chunk = line
        tag_line = False
        next_run_on = chunk.endswith("\\c")
        chunk = plain(chunk.removesuffix("\\c"))
        if chunk:
            joined = run_on or (CJK_LETTER.match(chunk[0]) and text and CJK_LETTER.match(text[-1]))
            text += chunk if joined or not text else " " + chunk
            run_on = next_run_on
        if ends_block:
            text, run_on = text + "\n", True
    return text


def words_of(text, japanese):
    words = set(KEYS) | set(OPTION.findall(text)) | set(HYPHENATED.findall(text))
    words |= set(KATAKANA_WORD.findall(text))
    if japanese:
        for phrase in PHRASE_END.split(text):
            phrase = phrase.replace("\u00a0", " ").strip()
            if CJK_LETTER.search(phrase) and len(phrase) > 1:
                words.add(phrase)
    return {w.replace("\u00a0", " ") for w in words if w.replace("\u00a0", " ") in text.replace("\u00a0", " ")}


def render(page, width):
    """The page as man shows it at MANWIDTH=width, as plain text."""
    env = dict(os.environ, LC_ALL="C.UTF-8")
    env.pop("GROFF_SGR", None)
    source = page.read_bytes()
    pipeline = (f"preconv -e UTF-8 | tbl | groff -mtty-char -Tutf8 -mandoc -rLL={width * 39 // 40}n "
                "-P-c -P-b -P-u")
    done = subprocess.run(["sh", "-c", pipeline], input=source, capture_output=True, env=env)
    # A line too long to break or to adjust (a long path in a narrow
    # terminal) runs over the width or stays ragged; anything else troff
    # says is a fault of the page.
    complaints = [line for line in done.stderr.decode(errors="replace").splitlines()
                  if not line.endswith(("can't break line", "cannot adjust line"))]
    if done.returncode != 0 or complaints:
        raise SystemExit(f"FAILED: {page}: {' '.join(complaints)}")
    return done.stdout.decode()


def split_word_pattern(word):
    """Matches `word` with a line end or spaces somewhere inside it (the
    rendering's line ends and space runs are given as \\x01)."""
    inner = "\x01?".join(re.escape(c) for c in word)
    if word.isascii():
        return re.compile(r"(?<![A-Za-z0-9])" + inner + r"(?![A-Za-z0-9])")
    return re.compile(inner)


def faults(rendered, words, japanese):
    lines = [line.strip() for line in rendered.splitlines()]
    lines = [line for line in lines if line]
    found = []
    for line in lines:
        if line.endswith("\u2010"):
            found.append(f"hyphenated line end: {line!r}")
        if japanese and (pair := re.search(f"[{LETTER}] +[{LETTER}]", line)):
            found.append(f"space between two letters {pair.group()!r}: {line!r}")
    flat = re.sub(" +", "\x01", "\x01".join(lines))
    for word in sorted(words):
        for match in split_word_pattern(word).finditer(flat):
            if "\x01" in match.group():
                at = flat[max(0, match.start() - 20):match.end() + 20].replace("\x01", " | ")
                found.append(f"{word!r} broken: ...{at}...")
    return found


def main():
    package = Path(sys.argv[1])
    pages = sorted(package.glob("*.6")) + sorted(package.glob("ja/*.6"))
    if len(pages) < 6:
        raise SystemExit(f"FAILED: only {len(pages)} manual pages in {package}")
    failed = 0
    for page in pages:
        japanese = page.parent.name == "ja"
        words = words_of(page_text(page.read_text(encoding="utf-8")), japanese)
        # A page read wrong would leave nothing to check.
        if not any(w.startswith("--") for w in words) or (japanese and not any(CJK_LETTER.search(w) for w in words)):
            raise SystemExit(f"FAILED: {page}: no option names or Japanese phrases found")
        for width in WIDTHS:
            rendered = render(page, width)
            if "SEE ALSO" not in rendered and "関連項目" not in rendered:
                raise SystemExit(f"FAILED: {page} at width {width} rendered without its last section")
            page_faults = faults(rendered, words, japanese)
            for fault in page_faults:
                print(f"{page.relative_to(package)} at MANWIDTH={width}: {fault}")
            failed += len(page_faults)
        if not failed:
            print(f"ok: {page.relative_to(package)}: {len(words)} words whole at widths {WIDTHS}")
    if failed:
        raise SystemExit(f"FAILED: {failed} faults")
    print("PASSED")


if __name__ == "__main__":
    main()
