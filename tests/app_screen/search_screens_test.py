#!/usr/bin/env python3
"""Searching from the real pyxo window under Xvfb, driven with xdotool as a person would with
the keyboard: the search dialog (Alt+S) opens with the last request, "Search!" fills the
view, the options (Alt+O) and word-group (Alt+G) dialogs open over it, and a long search shows
its "I'm searching ..." box, whose "Quit Search" (Escape) ends the run. A double click on a
result line starts the text editor at the hit; F2 opens the launcher.

    search_screens_test.py PYXO SOURCE_DIR OUTPUT_DIR

Every step leaves a screenshot in OUTPUT_DIR for a person to look at."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from screenshot_test import line_bands, read_ppm, text_rows

# A corpus of about 1.5 MB on which this expression takes many seconds: long enough to see the
# running box and to stop the run by hand.
SLOW_EXPRESSION = "([a-z]+ ?){1,6}[0-9]"


class Session:
    """One pyxo on its own X server, with its own settings file."""

    def __init__(self, pyxo, work, ini_text, output):
        self.output = output
        self.work = work
        self.ini = os.path.join(work, "pyxo.ini")
        with open(self.ini, "wb") as f:
            f.write(ini_text)
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        display = ":" + self.xvfb.stdout.readline().decode().strip()
        self.env = dict(os.environ, DISPLAY=display, PYXO_INI=self.ini,
                        PYXO_DATA_DIR=os.path.join(work, "data"), HOME=work,
                        XDG_RUNTIME_DIR=work)
        self.env.pop("QT_QPA_PLATFORM", None)
        # A window manager places, frames and focuses the windows as on a desktop.
        self.wm = None
        if shutil.which("openbox"):
            self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            time.sleep(0.5)
        self.app = subprocess.Popen([pyxo], env=self.env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        self.xdotool("search", "--sync", "--onlyvisible", "--name", "^Vellmora$", timeout=20)
        time.sleep(1)
        # The largest window of that name is the main window (Qt adds a tiny leader window).
        found = self.xdotool("search", "--onlyvisible", "--name", "^Vellmora$").split()
        self.window = max(found, key=lambda window: self.area(window))

    def size(self, window):
        geometry = self.xdotool("getwindowgeometry", window)
        line = [line for line in geometry.splitlines() if "Geometry" in line][0]
        width, height = line.split()[-1].split("x")
        return int(width), int(height)

    def area(self, window):
        width, height = self.size(window)
        return width * height

    def xdotool(self, *args, timeout=10):
        done = subprocess.run(["xdotool", *args], env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=timeout)
        return done.stdout.decode()

    def key(self, key, wait=1.0):
        """A key for the main window; with no window manager it needs the focus first."""
        self.xdotool("windowfocus", self.window)
        time.sleep(0.2)
        self.xdotool("key", key)
        time.sleep(wait)

    def key_to_focus(self, key, wait=1.0):
        """A key for whatever holds the focus now (an open dialog)."""
        self.xdotool("key", key)
        time.sleep(wait)

    def shoot(self, name):
        png = os.path.join(self.output, name)
        ppm = os.path.join(self.work, "shot.ppm")
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", png],
                       check=True, env=self.env)
        subprocess.run(["convert", png, ppm], check=True)
        print(f"search screens: {png}")
        return read_ppm(ppm)

    def alive(self):
        return self.app.poll() is None

    def close(self):
        self.app.kill()
        self.app.wait()
        if self.wm:
            self.wm.kill()
            self.wm.wait()
        self.xvfb.kill()
        self.xvfb.wait()


# Groups for the word-group dialog to list.
GROUPS = b"[WordGroupNames]\nName=animals|colours|\n[WordGroup]\nanimals=cat|dog|horse|\n"


def ini_for(keyword, directory, options=b""):
    return (b"[Options]\n" + options + b"[Setting]\nKeyword1=" + keyword + b"\nFilename=*.txt\n"
            b"Directory=" + directory.encode() + b"/\n" + GROUPS)


def drawn_lines(screen):
    # The line numbers' columns: the keyword's highlight further right joins every row.
    return len(line_bands(text_rows(screen, screen[0] // 10, screen[0] // 4)))


def search_and_look(pyxo, work, output, language, keyword, directory, failures):
    session = Session(pyxo, work, ini_for(keyword, directory), output)
    try:
        session.key("alt+s")
        session.shoot(f"search-dialog-{language}.png")
        session.key_to_focus("Return", wait=2)
        lines = drawn_lines(session.shoot(f"search-results-{language}.png"))
        print(f"search screens: {language}: {lines} drawn result lines")
        if lines < 10:
            failures.append(f"{language}: the search from the window drew {lines} lines")
        if language == "en":
            session.key("alt+o")
            session.shoot("options-dialog.png")
            session.key_to_focus("Escape")
            session.key("alt+g")
            session.shoot("word-group-dialog.png")
            session.key_to_focus("Escape")
        if not session.alive():
            failures.append(f"{language}: pyxo ended during the session")
    finally:
        session.close()


def quit_a_long_search(pyxo, work, output, source, failures):
    corpus = os.path.join(work, "slow")
    os.makedirs(corpus, exist_ok=True)
    with open(os.path.join(source, "samples/en/devil.txt"), "rb") as f:
        text = f.read()
    with open(os.path.join(corpus, "slow.txt"), "wb") as f:
        f.write(text * max(1, 1_500_000 // len(text)))
    session = Session(pyxo, work, ini_for(SLOW_EXPRESSION.encode(), corpus,
                                          b"bGrep=1\nMaxLine=100000\n"), output)
    try:
        session.key("alt+s")
        session.key_to_focus("Return", wait=2)
        session.shoot("search-running.png")
        before = os.stat(session.ini).st_mtime_ns
        # Escape is the box's "Quit Search"; the box is the other top-level window of that name.
        # The run ends at its next line and stores the histories, which changes the settings
        # file.
        windows = session.xdotool("search", "--onlyvisible", "--name", "^Vellmora$").split()
        boxes = [window for window in windows if window != session.window]
        if not boxes:
            failures.append("the long search shows no running box")
            return
        session.xdotool("windowfocus", boxes[0])
        time.sleep(0.2)
        session.key_to_focus("Escape", wait=0)
        deadline = time.time() + 5
        while time.time() < deadline and os.stat(session.ini).st_mtime_ns == before:
            time.sleep(0.1)
        if os.stat(session.ini).st_mtime_ns == before:
            failures.append("Quit Search did not end the long search within 5 seconds")
        time.sleep(1)
        session.shoot("search-quit.png")
        if not session.alive():
            failures.append("pyxo ended while its search was quit")
    finally:
        session.close()


def setting(ini, key):
    with open(ini, "rb") as f:
        for line in f.read().split(b"\n"):
            if line.startswith(key + b"="):
                return line[len(key) + 1:].rstrip(b"\r")
    return None


def a_new_user_walks_through(pyxo, work, output, source, failures):
    """The first minutes of a new user: the main window takes most of the screen, a new
    keyword typed over the last one replaces it, F1 shows the manual in a window of its own."""
    session = Session(pyxo, work, ini_for(b"devil", os.path.join(source, "samples/en")), output)
    try:
        width, height = session.size(session.window)
        if width < 1280 * 0.8 or height < 1024 * 0.75:
            failures.append(f"the main window starts at {width}x{height} on a 1280x1024 screen")
        session.key("alt+s")
        session.key_to_focus("t", wait=0.1)
        session.key_to_focus("h", wait=0.1)
        session.key_to_focus("e", wait=0.3)
        session.shoot("new-user-keyword.png")
        session.key_to_focus("Return", wait=2)
        typed = setting(session.ini, b"Keyword1")
        if typed != b"the":
            failures.append(f"typing 'the' over the last keyword searched for {typed!r}")
        session.shoot("new-user-results.png")
        # Ctrl+P offers the print dialog; the preview shows the pages (File, "Pre&view").
        session.key("ctrl+p", wait=1.5)
        if not dialog_shown(session, "^Print$"):
            failures.append("Ctrl+P opens no print dialog")
        session.key_to_focus("Escape")
        session.key("alt+f", wait=0.5)
        session.key_to_focus("v", wait=2)
        if not dialog_shown(session, "^Print Preview$"):
            failures.append("Preview opens no print preview")
        session.shoot("print-preview.png")
        session.key_to_focus("Escape")
        session.key("F1", wait=1.5)
        if not session.xdotool("search", "--onlyvisible", "--name", "^Vellmora Help$").split():
            failures.append("F1 shows no help window")
        session.shoot("new-user-help.png")
        if not session.alive():
            failures.append("pyxo ended during the new user's walk")
    finally:
        session.close()


def dialog_shown(session, title):
    return bool(session.xdotool("search", "--onlyvisible", "--name", title).split())


def positioned_and_kwoc_searches(pyxo, work, output, source, failures):
    """Alt+P, Shift+O and Ctrl+F open their dialogs; a Japanese positioned search ("Debian"
    as the word before "パッケージ") and an English KWOC search with a line of context on
    either side fill the view."""
    positions = b"[PositionedKwic]\nprev1=1\n"
    ini = ini_for("パッケージ".encode("cp932"), os.path.join(source, "samples/ja")) + positions
    ini = ini.replace(b"[Setting]\n", b"[Setting]\nKeyword2=Debian\n")
    session = Session(pyxo, work, ini, output)
    try:
        session.key("alt+p")
        if not dialog_shown(session, "^KWIC Search\\(POSITION\\)$"):
            failures.append("Alt+P opens no positioned search dialog")
        session.shoot("positioned-dialog.png")
        session.key_to_focus("Return", wait=2)
        lines = drawn_lines(session.shoot("positioned-results-ja.png"))
        print(f"search screens: positioned: {lines} drawn result lines")
        if lines < 5:
            failures.append(f"the Japanese positioned search drew {lines} lines")
        session.key("shift+o")
        if not dialog_shown(session, "^KWOC Option$"):
            failures.append("Shift+O opens no KWOC Option dialog")
        session.shoot("kwoc-option-dialog.png")
        session.key_to_focus("Escape")
    finally:
        session.close()

    context = b"[KWOCOptions]\nContextMae=1\nContextAto=1\n"
    session = Session(pyxo, work, ini_for(b"devil", os.path.join(source, "samples/en")) + context,
                      output)
    try:
        session.key("ctrl+f")
        if not dialog_shown(session, "^Let's search in KWOC Format$"):
            failures.append("Ctrl+F opens no KWOC search dialog")
        session.shoot("kwoc-dialog.png")
        session.key_to_focus("Return", wait=2)
        lines = drawn_lines(session.shoot("kwoc-results-en.png"))
        print(f"search screens: KWOC: {lines} drawn result lines")
        if lines < 20:
            failures.append(f"the English KWOC search drew {lines} lines")
        if not session.alive():
            failures.append("pyxo ended during the KWOC search")
    finally:
        session.close()


def result_commands(pyxo, work, output, language, keyword, word, directory, failures):
    """A search of the sample corpus, then Alt+R (extraction by range of word), Shift+S (sort
    by R1), the conversion of the sorted lines to CSV from the Data menu by keyboard, Alt+D
    back to the search result and Alt+C (collocation statistics over it): each dialog
    confirmed as it opens and each step photographed."""
    extraction = b"[Extraction]\nKeywordA=" + word + b"\n[SpreadSheet]\nMode=5\n"
    ini = ini_for(keyword, directory).replace(b"[Setting]\n", b"[Setting]\nExtractionWord=" + word + b"\n")
    session = Session(pyxo, work, ini + extraction, output)
    try:
        session.key("alt+s")
        session.key_to_focus("Return", wait=2)
        # "Convert to TSV,CSV..." has no key: Alt opens the menu bar, "d" the Data menu, and it
        # is the fourth enabled entry from the bottom.
        convert = ["alt", "d", "Up", "Up", "Up", "Up", "Return"]
        steps = [(["alt+r"], "^Re-Extraction\\(Range\\)$", "extracted"),
                 (["shift+s"], "^Sort KWIC Concordance$", "sorted"),
                 (convert, "^Conversion to TSV.CSV$", "converted"),
                 (["alt+d"], None, "previous"),
                 (["alt+c"], "^Collocation Statistics$", "collocation")]
        for keys, title, name in steps:
            session.key(keys[0], wait=0.3)
            for key in keys[1:]:
                session.key_to_focus(key, wait=0.3)
            time.sleep(0.7)
            key = "+".join(keys[:1])
            if title is None:
                session.shoot(f"{name}-{language}.png")
                continue
            if not dialog_shown(session, title):
                failures.append(f"{language}: {key} opens no dialog {title}")
                continue
            session.shoot(f"{name}-dialog-{language}.png")
            session.key_to_focus("Return", wait=2)
            lines = drawn_lines(session.shoot(f"{name}-{language}.png"))
            print(f"search screens: {language} {name}: {lines} drawn lines")
            if lines < 3:
                failures.append(f"{language}: the {name} result drew {lines} lines")
        if not session.alive():
            failures.append(f"{language}: pyxo ended during the result commands")
    finally:
        session.close()


RECORDER = "#!/bin/sh\nfor word in \"$@\"; do echo \"[$word]\"; done >> \"$0.log\"\n"


def external_programs(pyxo, work, output, source, failures):
    """A corpus and an editor whose paths hold blanks: a double click on a result line gives
    the editor the hit's line and the file as one word each; F2 opens "Launcher Menu", whose
    "No.1" starts slot 1 with its path kept whole."""
    corpus = os.path.join(work, "my corpus")
    shutil.copytree(os.path.join(source, "samples/en"), corpus)
    editor = os.path.join(work, "my tools", "editor")
    os.makedirs(os.path.dirname(editor))
    with open(editor, "w") as f:
        f.write(RECORDER)
    os.chmod(editor, 0o755)
    programs = (f"[TextEditor]\nExecutable={editor}\nCmdLine=/J%R %F\n"
                f"[ExecPrograms]\nExecProg1=recorder\n[ExecProg1]\nFile={editor}\n"
                f"CmdLine=slot-one\n").encode()
    session = Session(pyxo, work, ini_for(b"devil", corpus) + programs, output)
    try:
        session.key("alt+s")
        session.key_to_focus("Return", wait=2)
        screen = session.shoot("jump-results.png")
        # Below the menus, toolbar and the window's first lines: a line of the result.
        bands = [band for band in line_bands(text_rows(screen, screen[0] // 10, screen[0] // 4))
                 if band[0] > screen[1] // 4]
        if len(bands) < 4:
            failures.append(f"the corpus with a blank in its path drew {len(bands)} lines")
            return
        y = (bands[1][0] + bands[1][1]) // 2
        session.xdotool("mousemove", str(screen[0] // 5), str(y), "click", "--repeat", "2", "1")
        time.sleep(1.5)
        session.key("F2", wait=1)
        if not dialog_shown(session, "^Launcher Menu$"):
            failures.append("F2 opens no Launcher Menu")
        session.shoot("launcher-menu.png")
        # "No.1" is the dialog's first button: it holds the focus as the dialog opens.
        session.key_to_focus("space", wait=1.5)
        if dialog_shown(session, "^Launcher Menu$"):
            failures.append("the Launcher Menu stays open after a start without NoExit")
        words = []
        if os.path.exists(editor + ".log"):
            with open(editor + ".log") as f:
                words = f.read().split("\n")
        print(f"search screens: the editor and slot 1 received {words}")
        jump = [word for word in words if word.startswith("[/J")]
        if len(jump) != 1 or not words[words.index(jump[0]) + 1].startswith(f"[{corpus}/"):
            failures.append(f"the double click gave the editor {words}")
        if "[slot-one]" not in words:
            failures.append(f"No.1 of the launcher did not start slot 1: {words}")
        if not session.alive():
            failures.append("pyxo ended while it started other programs")
    finally:
        session.close()


def main():
    pyxo, source, output = sys.argv[1:4]
    for tool in ("Xvfb", "import", "convert", "xdotool"):
        if shutil.which(tool) is None:
            print(f"search screens: {tool} is missing (scripts/bootstrap installs it)")
            return 1
    os.makedirs(output, exist_ok=True)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        search_and_look(pyxo, work, output, "en", b"devil", os.path.join(source, "samples/en"),
                        failures)
        search_and_look(pyxo, work, output, "ja", "パッケージ".encode("cp932"),
                        os.path.join(source, "samples/ja"), failures)
        quit_a_long_search(pyxo, work, output, source, failures)
        a_new_user_walks_through(pyxo, work, output, source, failures)
        positioned_and_kwoc_searches(pyxo, work, output, source, failures)
        result_commands(pyxo, work, output, "en", b"devil", b"the",
                        os.path.join(source, "samples/en"), failures)
        result_commands(pyxo, work, output, "ja", "パッケージ".encode("cp932"), b"Debian",
                        os.path.join(source, "samples/ja"), failures)
        external_programs(pyxo, work, output, source, failures)
    for failure in failures:
        print(f"search screens: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
