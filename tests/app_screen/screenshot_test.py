#!/usr/bin/env python3
"""The real pyxo under Xvfb: a formatted file with English and Japanese result lines is opened
and the screen is photographed. The result window must show its lines: rows of dark glyph
pixels on the view's white ground, in the English and in the Japanese part of the result.

    screenshot_test.py PYXO PYXO_CLI SOURCE_DIR OUTPUT_DIR

The screenshots stay in OUTPUT_DIR for a person to look at."""

import os
import shutil
import subprocess
import sys
import tempfile
import time


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    # P6 <width> <height> <max> then RGB bytes; ImageMagick writes no comments here.
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P6", parts[0]
    width, height = int(parts[1]), int(parts[2])
    pixels = parts[4]
    return width, height, pixels


def text_rows(ppm, left, right):
    """Rows (y) whose pixels between left and right hold dark glyph pixels on a light ground."""
    width, height, pixels = ppm
    rows = []
    for y in range(height):
        dark = 0
        light = 0
        base = y * width * 3
        for x in range(left, min(right, width)):
            r, g, b = pixels[base + 3 * x: base + 3 * x + 3]
            if r + g + b < 200:
                dark += 1
            elif r + g + b > 700:
                light += 1
        if dark >= 3 and light > (right - left) // 2:
            rows.append(y)
    return rows


def drawn_rows(screen):
    """The text rows of the line numbers and the start of the context: inside the result
    window wherever the main window stands, and left of the keyword's highlighted column,
    which would join every row into one band."""
    width = screen[0]
    return text_rows(screen, width // 8, width // 3)


def line_bands(rows):
    """Groups neighbouring text rows into drawn lines."""
    bands = []
    for y in rows:
        if bands and y - bands[-1][1] <= 2:
            bands[-1][1] = y
        else:
            bands.append([y, y])
    return bands


def shoot(pyxo, document, env, out_png, out_ppm):
    """pyxo opening document on a screen of its own, photographed; with a window manager
    (openbox) when there is one, as a desktop would have it."""
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1000x700x24",
                             "-nolisten", "tcp"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    manager = None
    try:
        display = ":" + xvfb.stdout.readline().decode().strip()
        env = dict(env, DISPLAY=display)
        env.pop("QT_QPA_PLATFORM", None)
        if shutil.which("openbox"):
            manager = subprocess.Popen(["openbox", "--sm-disable"], env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1)
        app = subprocess.Popen([pyxo, document], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        try:
            time.sleep(4)
            assert app.poll() is None, "pyxo ended before its window could be seen"
            subprocess.run(["import", "-display", display, "-window", "root", out_png],
                           check=True, env=env)
            subprocess.run(["convert", out_png, out_ppm], check=True)
        finally:
            app.kill()
            app.wait()
    finally:
        if manager is not None:
            manager.kill()
            manager.wait()
        xvfb.kill()
        xvfb.wait()
    return read_ppm(out_ppm)


def main():
    pyxo, cli, source, output = sys.argv[1:5]
    for tool in ("Xvfb", "import", "convert"):
        if shutil.which(tool) is None:
            print(f"screenshot test: {tool} is missing (scripts/bootstrap installs it)")
            return 1
    os.makedirs(output, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        ini = os.path.join(work, "pyxo.ini")
        with open(ini, "w") as f:
            f.write("[Options]\nbGrep=1\nMaxLine=100000\n")
        responses = os.path.join(work, "files.rsp")
        with open(responses, "w") as f:
            f.write(os.path.join(source, "samples/en/devil.txt") + "\n")
            f.write(os.path.join(source, "samples/ja/debian-faq.txt") + "\n")
        document = os.path.join(work, "mixed.vm2")
        env = dict(os.environ, PYXO_INI=ini, PYXO_DATA_DIR=os.path.join(work, "data"),
                   HOME=work, XDG_RUNTIME_DIR=work)
        # Twenty English hits, then Japanese ones: "パッケージ" is frequent in the FAQ.
        search = subprocess.run([cli, "--ini", ini, "--utf8", "kwic", "-1", "WITTICISM|パッケージ",
                                 "-r", responses, "-o", document], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        assert search.returncode == 0, search.stderr.decode()

        png = os.path.join(output, "pyxo-mixed.png")
        ppm = os.path.join(work, "shot.ppm")
        screen = shoot(pyxo, document, env, png, ppm)
        width = screen[0]
        bands = line_bands(drawn_rows(screen))
        print(f"screenshot test: {len(bands)} drawn lines; screenshot in {png}")
        if len(bands) < 10:
            print("screenshot test: the result lines are not drawn")
            return 1

        # The Japanese part alone: its lines must be drawn as well (glyphs, not blanks).
        ja_only = os.path.join(work, "ja.vm2")
        search = subprocess.run([cli, "--ini", ini, "--utf8", "kwic", "-1", "パッケージ", "-d",
                                 os.path.join(source, "samples/ja"), "-f", "*.txt", "-o", ja_only],
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        assert search.returncode == 0, search.stderr.decode()
        png = os.path.join(output, "pyxo-japanese.png")
        screen = shoot(pyxo, ja_only, env, png, ppm)
        bands = line_bands(drawn_rows(screen))
        print(f"screenshot test: {len(bands)} drawn Japanese lines; screenshot in {png}")
        if len(bands) < 10:
            print("screenshot test: the Japanese result lines are not drawn")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
