#!/usr/bin/env python3
"""The real pyxo under Xvfb shows KWIC lines whose keyword stands at one byte column, and whose
text ends at one byte column, for contexts of ASCII, kana, half-width kana with kanji, a sign
the default face lacks, backslashes and a private-use character. On the screen the keyword's
highlight must start and end in one pixel column, and so must the last glyph of every line.
The files have no line end, so that no "/" stands for one: every line ends in "!".

    alignment_screen_test.py PYXO PYXO_CLI OUTPUT_DIR

The screenshot stays in OUTPUT_DIR for a person to look at. A window manager (openbox) is
started when there is one, as a desktop would have it; the test works without one too."""

import os
import shutil
import subprocess
import sys
import tempfile

from screenshot_test import shoot

# One file per line, so that each context starts with blanks only. The texts before "KEY" are
# padded to 12 bytes, and those after it are 11 bytes each, whatever their characters.
LINES = {
    "a.txt": ("ascii before", " and after!"),
    "b.txt": ("かなのぶん", " のあとで!!"),
    "c.txt": ("ab ｱｲ日本", " ｱｲ日本 ok!"),
    "d.txt": ("sum ∑ sign", " ∑∑ afte!"),
    "e.txt": ("C:\\dir\\fil", " \\a\\b\\cd!!!"),
    "f.txt": ("pua \ue000 use", " \ue000\ue000 uses!"),
}


def write_corpus(directory):
    for name, (before, after) in LINES.items():
        text = before.encode("cp932").rjust(12) + b" KEY" + after.encode("cp932")
        with open(os.path.join(directory, name), "wb") as f:
            f.write(text)


def drawn_lines(ppm):
    """Each line drawn in the result view as (rightmost dark x, x of its red pixels).
    The view's ground is pure white, which bars, menus and frames are not: the view is the
    tallest block of rows that have a long white run. Glyphs of neighbouring lines touch, but
    the line numbers at the left of the view do not: each number's rows, and half the gaps to
    its neighbours, are a line."""
    width, height, pixels = ppm

    def pixel(x, y):
        return pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]

    def longest_white(y):
        best, start = (0, 0), None
        for x in range(width + 1):
            if x < width and pixel(x, y) == b"\xff\xff\xff":
                start = x if start is None else start
            elif start is not None:
                best = max(best, (x - start, start))
                start = None
        return best

    runs = {y: longest_white(y) for y in range(height)}
    blocks = []
    for y in (y for y in range(height) if runs[y][0] >= 150):
        if blocks and blocks[-1][-1] == y - 1:
            blocks[-1].append(y)
        else:
            blocks.append([y])
    if not blocks:
        return []
    # The status bar is white too, but only a few rows high.
    view_rows = max(blocks, key=len)
    left = min(runs[y][1] for y in view_rows)
    right = max(runs[y][1] + runs[y][0] for y in view_rows)
    dark = {y: [x for x in range(left, right) if max(pixel(x, y)) < 100] for y in view_rows}
    red = {y: [x for x in range(left, right)
               if pixel(x, y)[0] > 200 and max(pixel(x, y)[1:]) < 60] for y in view_rows}
    number = min((xs[0] for xs in dark.values() if xs), default=None)
    if number is None:
        return []
    numbers = []
    for y in view_rows:
        if any(x <= number + 2 for x in dark[y]):
            if numbers and y - numbers[-1][1] <= 1:
                numbers[-1][1] = y
            else:
                numbers.append([y, y])
    lines = []
    for i, (top, bottom) in enumerate(numbers):
        start = (numbers[i - 1][1] + top) // 2 + 1 if i > 0 else top - 3
        end = (bottom + numbers[i + 1][0]) // 2 if i + 1 < len(numbers) else bottom + 3
        rows = [y for y in view_rows if start <= y <= end]
        lines.append((max(x for y in rows for x in dark[y] + [-1]),
                      [x for y in rows for x in red[y]]))
    return lines


def main():
    pyxo, cli, output = sys.argv[1:4]
    for tool in ("Xvfb", "import", "convert"):
        if shutil.which(tool) is None:
            print(f"alignment test: {tool} is missing (scripts/bootstrap installs it)")
            return 1
    os.makedirs(output, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        corpus = os.path.join(work, "corpus")
        os.makedirs(corpus)
        write_corpus(corpus)
        ini = os.path.join(work, "pyxo.ini")
        with open(ini, "w") as f:
            # Red behind the keyword, so that its cells can be told from any glyph; no
            # separator lines, so that every line drawn is a hit.
            f.write("[Options]\nbGrep=1\nNoSeparator=1\n"
                    "[Color]\nHlBkColor=255\nHlTxtColor=16777215\n")
        env = dict(os.environ, PYXO_INI=ini, PYXO_DATA_DIR=os.path.join(work, "data"),
                   HOME=work, XDG_RUNTIME_DIR=work)
        document = os.path.join(work, "aligned.vm2")
        search = subprocess.run([cli, "--ini", ini, "kwic", "-1", "KEY", "-d", corpus, "-f",
                                 "*.txt", "-o", document], env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE)
        assert search.returncode == 0, search.stderr.decode()

        png = os.path.join(output, "pyxo-alignment.png")
        screen = shoot(pyxo, document, env, png, os.path.join(work, "shot.ppm"))
        print(f"alignment test: screenshot in {png}")
        lines = drawn_lines(screen)
        if len(lines) != len(LINES):
            print(f"alignment test: {len(lines)} drawn lines, {len(LINES)} expected")
            return 1
        ends = [end for end, _ in lines]
        keyword = [(min(red), max(red)) if red else (-1, -1) for _, red in lines]
        print(f"alignment test: lines end at {ends}, keyword highlighted at {keyword}")
        failures = []
        if max(ends) - min(ends) > 1:
            failures.append("the lines do not end in one column")
        if min(start for start, _ in keyword) < 0:
            failures.append("a keyword is not highlighted")
        elif any(max(values) - min(values) > 1 for values in zip(*keyword)):
            failures.append("the keywords are not in one column")
        for failure in failures:
            print(f"alignment test: {failure}")
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
