#!/usr/bin/env python3
"""The dispersion plot of a real result. Under Xvfb: a search of a corpus of several files,
then "Dispersion Plot..." from the View menu (Alt+V, P) opens the plot in a window of its own,
with a tick per hit; a click on a tick marks it and brings the result window to the front, at
that line. Without a display: pyxo --plot-png writes the same picture of a formatted file, and
ends with status 1 and a message for a file it cannot read, a result without a plot and a PNG
it cannot write.

    dispersion_screen_test.py PYXO PYXO_CLI SOURCE_DIR OUTPUT_DIR

The screenshots and the PNG stay in OUTPUT_DIR for a person to look at."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from search_screens_test import Session, ini_for

TICK = bytes((0x1D, 0x4F, 0x91))
MARKED_TICK = bytes((0xD0, 0x25, 0x25))


def split_corpus(source, directory, names):
    """The lines of source in len(names) consecutive files, and one file without a hit."""
    os.makedirs(directory, exist_ok=True)
    with open(source, "rb") as f:
        lines = f.read().split(b"\n")
    step = len(lines) // len(names) + 1
    for i, name in enumerate(names):
        with open(os.path.join(directory, name), "wb") as f:
            f.write(b"\n".join(lines[i * step:(i + 1) * step]))
    with open(os.path.join(directory, "no-hits.txt"), "wb") as f:
        f.write(b"nothing here\n")


def pixels_of(screen, colour):
    """(x, y) of every pixel of that colour."""
    width, height, pixels = screen
    found = []
    at = pixels.find(colour)
    while at >= 0:
        if at % 3 == 0:
            found.append(((at // 3) % width, (at // 3) // width))
        at = pixels.find(colour, at + 1)
    return found


def plot_in_window(pyxo, work, output, language, keyword, corpus, failures):
    session = Session(pyxo, work, ini_for(keyword, corpus), output)
    try:
        session.key("alt+s")
        session.key_to_focus("Return", wait=2)
        session.key("alt+v", wait=0.5)
        session.key_to_focus("p", wait=2)
        plots = session.xdotool("search", "--onlyvisible", "--name", "^Dispersion Plot - ").split()
        if not plots:
            failures.append(f"{language}: Alt+V, P opens no plot window")
            return
        screen = session.shoot(f"dispersion-window-{language}.png")
        ticks = pixels_of(screen, TICK)
        columns = sorted({x for x, _ in ticks})
        print(f"dispersion: {language}: {len(columns)} tick columns")
        if len(columns) < 20:
            failures.append(f"{language}: the plot window shows {len(columns)} tick columns")
            return
        x, y = next((x, y) for x, y in ticks if x == columns[len(columns) // 2])
        session.xdotool("mousemove", str(x), str(y + 4), "click", "1")
        time.sleep(1.5)
        screen = session.shoot(f"dispersion-clicked-{language}.png")
        if not pixels_of(screen, MARKED_TICK):
            failures.append(f"{language}: the clicked tick is not marked")
        if session.xdotool("getactivewindow").strip() != session.window:
            failures.append(f"{language}: the click on a tick left the main window behind")
        if not session.alive():
            failures.append(f"{language}: pyxo ended while it showed the plot")
    finally:
        session.close()


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def plot_without_display(pyxo, cli, work, output, corpus, failures):
    ini = os.path.join(work, "png.ini")
    with open(ini, "w") as f:
        f.write("")
    env = dict(os.environ, PYXO_INI=ini, PYXO_DATA_DIR=os.path.join(work, "data"), HOME=work,
               XDG_RUNTIME_DIR=work)
    env.pop("DISPLAY", None)

    def run(*args):
        return subprocess.run(list(args), env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    result = os.path.join(work, "devil.vm2")
    search = run(cli, "--ini", ini, "kwic", "-1", "devil", "-d", corpus, "-f", "*.txt",
                 "-o", result)
    assert search.returncode == 0, search.stderr.decode()
    png = os.path.join(output, "dispersion-plot.png")
    done = run(pyxo, "--plot-png", png, result)
    size = png_size(png) if done.returncode == 0 else None
    print(f"dispersion: {png}: {size}")
    # Five files: a title, five rows and the scale below them.
    if size is None or size[0] != 1000 or not 150 <= size[1] <= 400:
        failures.append(f"--plot-png ended with {done.returncode} and wrote {size}: "
                        f"{done.stderr.decode()}")

    table = os.path.join(work, "table.vm2")
    assert run(cli, "--ini", ini, "colloq", result, "-o", table).returncode == 0
    for name, args in [("a missing file", [png, os.path.join(work, "missing.vm2")]),
                       ("collocation statistics", [png, table]),
                       ("a PNG it cannot write", [os.path.join(work, "no/dir/plot.png"), result])]:
        failed = run(pyxo, "--plot-png", *args)
        if failed.returncode != 1 or not failed.stderr.strip():
            failures.append(f"--plot-png of {name} ended with {failed.returncode}, "
                            f"saying {failed.stderr.decode()!r}")


def main():
    pyxo, cli, source, output = sys.argv[1:5]
    for tool in ("Xvfb", "import", "convert", "xdotool"):
        if shutil.which(tool) is None:
            print(f"dispersion: {tool} is missing (scripts/bootstrap installs it)")
            return 1
    os.makedirs(output, exist_ok=True)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        english = os.path.join(work, "en")
        split_corpus(os.path.join(source, "samples/en/devil.txt"), english,
                     ["part-one.txt", "part-two.txt", "part-three.txt", "part-four.txt"])
        japanese = os.path.join(work, "ja")
        split_corpus(os.path.join(source, "samples/ja/debian-faq.txt"), japanese,
                     ["前半.txt", "後半.txt"])
        plot_without_display(pyxo, cli, work, output, english, failures)
        plot_in_window(pyxo, work, output, "en", b"devil", english, failures)
        plot_in_window(pyxo, work, output, "ja", "パッケージ".encode("cp932"), japanese,
                       failures)
    for failure in failures:
        print(f"dispersion: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
