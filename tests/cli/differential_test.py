#!/usr/bin/env python3
"""Differential test of `pyxo-cli kwic` against the reference search in reference_kwic.py.

    differential_test.py PATH/TO/pyxo-cli [CASE-NAME-SUBSTRING...]

Every case writes a settings file of its own (twice: pyxo-cli stores its request and histories
in the file it reads), runs both searches over a copy of the project's corpora and compares
standard output byte for byte and the exit status. A mismatch prints the case, its options,
its keywords and the first line where the two outputs part.
"""

import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parents[1]
sys.path.insert(0, str(HERE))
import reference_kwic  # noqa: E402


def sjis(text):
    return text.encode("cp932")


# Cases whose outputs differ because of a known fault of pyxo-cli, with the reason. The test
# still runs them and reports whether they still differ, but they do not fail it.
KNOWN_DIFFERENCES = {
    # Cases where the program is known to differ, each with the reason; empty when all agree.
}

# Word groups written into every settings file.
GROUPS = {
    b"people": b"woman|man|devil|",
    b"deity": b"God|Lord|heaven|",
    b"verbs": b"is|was|be|",
    b"jpwords": sjis("パッケージ|ファイル|Debian|システム|"),
    b"particles": sjis("を|の|が|"),
    b"phrases": b"of the|to the|in the|",
    b"kanji": sjis("求|モ|旧|"),
    b"nothing": b"",
}


def build_corpora(base):
    """Copies of the corpora, and an edge set cut out of them: long lines, NUL bytes, a file
    that looks binary, short and empty files, lines without a line end."""
    sets = {}

    def place(name, files):
        directory = base / name
        directory.mkdir()
        for file_name, data in files.items():
            (directory / file_name).write_bytes(data)
        sets[name] = str(directory)

    read = lambda rel: (ROOT / rel).read_bytes()
    devil = read("samples/en/devil.txt")
    faq = read("samples/ja/debian-faq.txt")
    subset = read("tests/data/ja/sjis/subset.txt")
    reader = {p.name: p.read_bytes() for p in sorted((ROOT / "tests/data/reader").glob("*.txt"))}

    place("en", {"devil.txt": devil})
    place("ja", {"debian-faq.txt": faq, "subset.txt": subset})
    place("reader", reader)

    devil_lines = reader["devil-part.txt"].split(b"\n")
    ja_lines = reader["reference-sjis.txt"].split(b"\n")
    long_en = b"\n".join(b" ".join(devil_lines[i:i + 400]) for i in range(0, 1200, 400)) + b"\n"
    long_ja = b"\n".join(b"".join(ja_lines[i:i + 300]) for i in range(0, 900, 300)) + b"\n"
    blanks = b" " * 9000 + b"the devil of the man\n" + b"\t" * 8195 + b"man\n"
    nul = b"\n".join(line[:7] + b"\0" + line[7:] if i % 3 == 0 else line
                     for i, line in enumerate(devil_lines[:300])) + b"\n"
    # Lines whose text is one byte before a NUL: the binary-file guard counts them.
    binary = b"".join(b"x\0" + line + b"\n" for line in devil_lines[:40])
    after_binary = b"\n".join(devil_lines[:60]) + b"\n"
    # A file given up as binary, then one whose first line holds a hit.
    place("binary", {"a-binary.txt": binary, "b-text.txt": b"the man of the world\n" + after_binary})
    ja_cut = ja_lines[5] + ja_lines[6][:-1] if ja_lines[6] else ja_lines[5]
    place("edge", {
        "a-long-en.txt": long_en,
        "b-long-ja.txt": long_ja,
        "c-blanks.txt": blanks,
        "d-nul.txt": nul,
        "e-binary.txt": binary,
        "f-after-binary.txt": after_binary,
        "g-short.txt": b"the devil\nof the man\nGod\n",
        "h-empty.txt": b"",
        "i-no-eol-blank.txt": b"a man of the devil   ",
        "j-no-eol-lead.txt": b"\n".join(ja_lines[:20]) + b"\n" + ja_cut,
        "k-crlf-blank.txt": b"the man   \r\nof the\r\r\nGod of the\r\n\r\nman",
        ".hidden.txt": b"the man\n",
        "p-UPPER.TXT": b"THE MAN OF THE DEVIL\n",
    })
    # What the file list must leave out or follow: a directory and a FIFO that match the
    # pattern (a FIFO opened for reading would wait for ever), and a link to a file.
    edge = base / "edge"
    (edge / "m-directory.txt").mkdir()
    os.mkfifo(edge / "o-fifo.txt")
    os.symlink("g-short.txt", edge / "n-link.txt")
    return sets


EN_NAMES = [b"devil", b"of the", b"man", b"God", b"zeal"]


def case(name, corpus, kw1, options=None, kw2=None, group1=False, group2=False, patterns=b"*.txt"):
    return {"name": name, "corpus": corpus, "kw1": kw1, "kw2": kw2, "group1": group1,
            "group2": group2, "options": options or {}, "patterns": patterns}


def cases():
    c = []
    add = c.append
    # defaults, and a keyword each way over every corpus
    add(case("defaults en devil", "en", b"devil"))
    add(case("defaults en phrase", "en", b"of the"))
    add(case("defaults ja frequent", "ja", sjis("パッケージ")))
    add(case("defaults ja one character", "reader", sjis("の")))
    add(case("defaults ja ascii", "ja", b"Debian"))
    add(case("defaults rare", "reader", b"zeal"))
    add(case("no hit", "reader", b"qqqxqqq"))
    add(case("no file", "reader", b"man", patterns=b"*.none"))
    add(case("patterns", "reader", b"God", patterns=b"K*.TXT;*part.*;?evil*"))
    # case
    add(case("IgnoreCase en", "en", b"DEVIL", {"IgnoreCase": 1}))
    add(case("IgnoreCase ja", "ja", b"debian", {"IgnoreCase": 1, "KW1Both": 1}))
    add(case("IgnoreCase phrase", "reader", b"Of The", {"IgnoreCase": 1}))
    # keyword-1 boundaries
    for opts in ({"KW1Both": 1}, {"KW1Mae": 1}, {"KW1Ato": 1}, {"KW1Both": 1, "KW1Apo": 1},
                 {"KW1Ato": 1, "KW1Apo": 1}, {"KW1Both": 1, "KW1Hyph": 1},
                 {"KW1Ato": 1, "KW1Hyph": 1}, {"KW1Both": 1, "KW1Apo": 1, "KW1Hyph": 1},
                 {"KW1Ato": 1, "KW1Apo": 1, "KW1Hyph": 1}, {"KW1Apo": 1},
                 {"KW1Mae": 1, "KW1Apo": 1}):
        add(case("boundary " + " ".join(opts), "reader", b"man", opts))
    add(case("boundary en devil Both", "en", b"devil", {"KW1Both": 1}))
    add(case("boundary ja Both", "ja", sjis("ファイル"), {"KW1Both": 1}))
    # keyword 2
    add(case("kw2 after", "en", b"devil", {}, b"the"))
    add(case("kw2 after Bummatsu", "en", b"man", {"Bummatsu": 1}, b"the"))
    add(case("kw2 after NOT", "en", b"devil", {"Method": 1}, b"the"))
    add(case("kw2 after NOT Bummatsu", "reader", b"man", {"Method": 1, "Bummatsu": 1}, b"a"))
    add(case("kw2 OR", "reader", b"God", {"Method": 2}, b"Lord"))
    add(case("kw2 before", "en", b"devil", {"Mae": 1}, b"the"))
    add(case("kw2 before Bummatsu", "reader", b"man", {"Mae": 1, "Bummatsu": 1}, b"a"))
    add(case("kw2 before NOT", "reader", b"man", {"Mae": 1, "Method": 1}, b"the"))
    add(case("kw2 before NOT Bummatsu", "reader", b"God", {"Mae": 1, "Method": 1, "Bummatsu": 1}, b"of"))
    add(case("kw2 boundary", "reader", b"man", {"KW2Both": 1, "KW1Both": 1}, b"a"))
    add(case("kw2 boundary Ato Apo", "reader", b"the", {"KW2Ato": 1, "KW2Apo": 1}, b"man"))
    add(case("kw2 sentence quotes", "reader", b"said", {"Bummatsu": 1, "KW1Both": 1}, b"the"))
    add(case("kw2 boundary before", "reader", b"man", {"KW2Both": 1, "Mae": 1}, b"a"))
    add(case("kw2 IgnoreCase", "reader", b"god", {"IgnoreCase": 1, "Mae": 1}, b"THE"))
    add(case("kw2 ja after", "ja", sjis("パッケージ"), {}, sjis("を")))
    add(case("kw2 ja before", "ja", sjis("パッケージ"), {"Mae": 1}, sjis("の")))
    add(case("kw2 ja before NOT", "ja", sjis("ファイル"), {"Mae": 1, "Method": 1}, sjis("の")))
    add(case("kw2 ja before Bummatsu", "reader", sjis("の"), {"Mae": 1, "Bummatsu": 1}, sjis("を")))
    add(case("kw2 ja ascii before", "ja", sjis("パッケージ"), {"Mae": 1, "KW2Both": 1}, b"Debian"))
    add(case("kw2 ja ascii before IgnoreCase", "ja", sjis("パッケージ"), {"Mae": 1, "IgnoreCase": 1}, b"DEBIAN"))
    # word groups
    add(case("group kw1", "reader", b"people", {}, None, True))
    add(case("group kw1 Both", "reader", b"people", {"KW1Both": 1}, None, True))
    add(case("group kw1 ja", "ja", b"jpwords", {"IgnoreCase": 1}, None, True))
    add(case("group kw1 IgnoreCase", "reader", b"deity", {"IgnoreCase": 1, "KW1Both": 1}, None, True))
    add(case("group kw1 empty", "reader", b"nothing", {"Count": 1}, None, True))
    add(case("group kw2", "reader", b"of the", {}, b"deity", False, True))
    add(case("group kw2 NOT", "reader", b"man", {"Method": 1}, b"verbs", False, True))
    add(case("group kw2 before", "reader", b"man", {"Mae": 1}, b"verbs", False, True))
    add(case("group x group", "reader", b"people", {"Bummatsu": 1}, b"verbs", True, True))
    add(case("group x group ja before", "ja", b"jpwords", {"Mae": 1}, b"particles", True, True))
    add(case("group OR", "reader", b"deity", {"Method": 2}, b"people", True, True))
    # line ends
    add(case("NoCrlf phrase", "reader", b"of the", {"NoCrlf": 1}))
    add(case("NoCrlf ja", "ja", sjis("パッケージ"), {"NoCrlf": 1}))
    add(case("NoCrlf ja group", "ja", b"jpwords", {"NoCrlf": 1}, None, True))
    add(case("CRLF phrase", "reader", b"of the", {"CRLF": 1, "KW1Both": 1}))
    add(case("CRLF ja", "ja", sjis("インストール"), {"CRLF": 1}))
    add(case("continuation group", "en", b"phrases", {}, None, True))
    add(case("continuation group Both", "reader", b"phrases", {"KW1Both": 1, "IgnoreCase": 1}, None, True))
    add(case("continuation kw2", "reader", b"of the", {"CRLF": 1}, b"man"))
    add(case("misaligned single", "ja", sjis("求")))
    add(case("misaligned group", "ja", b"kanji", {"NoCrlf": 1}, None, True))
    add(case("misaligned kw2 after", "ja", sjis("の"), {}, sjis("モ")))
    add(case("misaligned bOneLine kw2", "ja", sjis("求"), {"bOneLine": 1}, sjis("の")))
    # layout
    add(case("LineNumber", "reader", b"God", {"LineNumber": 1}))
    add(case("TagAsIs", "reader", b"God", {"TagAsIs": 1}))
    add(case("TagFName", "reader", b"God", {"TagFName": 1}))
    add(case("TagForm", "reader", b"God", {"TagFName": 1, "TagForm": 1}))
    add(case("TagFName LineNumber", "reader", b"God", {"TagFName": 1, "LineNumber": 1}))
    add(case("TagAsIs TagForm", "ja", b"Debian", {"TagAsIs": 1, "TagForm": 1}))
    add(case("Count", "reader", b"God", {"Count": 1}))
    add(case("CountMatched", "reader", b"devil", {"Count": 1, "CountMatched": 1}))
    add(case("CountMatched none", "reader", b"qqqxqqq", {"Count": 1, "CountMatched": 1}))
    add(case("SepMatched", "reader", b"devil", {"SepMatched": 1}))
    add(case("NoSeparator", "reader", b"devil", {"NoSeparator": 1, "Count": 1}))
    add(case("Xsize 30", "ja", sjis("システム"), {"Xsize": "30"}))
    add(case("Xsize 256", "reader", b"man", {"Xsize": "256"}))
    add(case("Xsize 256 ja", "ja", sjis("の"), {"Xsize": "256", "LineNumber": 1}))
    add(case("Xsize out of range", "reader", b"God", {"Xsize": "900"}))
    add(case("Xsize zero", "reader", b"God", {"Xsize": "0"}))
    add(case("Offset right", "ja", sjis("ファイル"), {"Offset": "10"}))
    add(case("Offset left", "reader", b"God", {"Offset": "12", "OffsetLeft": 1}))
    add(case("Offset far left", "reader", b"man", {"Offset": "60", "OffsetLeft": 1}))
    add(case("Offset far right", "reader", b"man", {"Offset": "45"}))
    add(case("Offset far right kw2", "reader", b"man", {"Offset": "30"}, b"the"))
    add(case("Offset negative", "reader", b"man", {"Offset": "-5"}))
    add(case("long keyword", "reader", b"The original data was distributed with the notice", {"Xsize": "30"}))
    add(case("tag width floor", "reader", b"God", {"TagAsIs": 1, "Xsize": "30"}))
    add(case("TagAsIs TagFName", "reader", b"God", {"TagAsIs": 1, "TagFName": 1, "Count": 1}))
    add(case("SepMatched tags count", "reader", b"devil", {"SepMatched": 1, "TagFName": 1, "Count": 1}))
    add(case("SepMatched MaxLine", "reader", b"man", {"SepMatched": 1, "MaxLine": 6}))
    add(case("Separator 0", "reader", b"zeal", {"Separator": 0}))
    add(case("NotSearch key", "reader", b"man", {"NotSearch": 1, "AndSearch": 0}, b"the"))
    add(case("CRLF and NoCrlf", "reader", b"of the", {"CRLF": 1, "NoCrlf": 1}))
    add(case("settings blanks", "reader", b"man", {"Xsize": " 40", "IgnoreKeta": "-3", "MaxLine": -1}))
    # one-line loops
    add(case("bOneLine", "reader", b"of the", {"bOneLine": 1}))
    add(case("bOneLine ja", "ja", sjis("パッケージ"), {"bOneLine": 1, "Xsize": "40"}))
    add(case("bOneLine group", "reader", b"people", {"bOneLine": 1, "Count": 1}, None, True))
    add(case("bOneLine kw2", "reader", b"man", {"bOneLine": 1}, b"the"))
    add(case("bOneLine kw2 ja before", "ja", sjis("ファイル"), {"bOneLine": 1, "Mae": 1}, sjis("の")))
    # the result-line limit
    add(case("MaxLine 3", "reader", b"man", {"MaxLine": 3, "Count": 1}))
    add(case("MaxLine 1", "reader", b"qqqxqqq", {"MaxLine": 1}))
    add(case("MaxLine 1 refused hit", "reader", b"man", {"MaxLine": 1, "Count": 1}))
    add(case("MaxLine 0", "reader", b"man", {"MaxLine": 0}))
    # leading bytes
    add(case("IgnoreKeta en", "reader", b"man", {"IgnoreKeta": "3"}))
    add(case("IgnoreKeta ja", "ja", sjis("の"), {"IgnoreKeta": "1"}))
    add(case("IgnoreKeta large", "reader", b"God", {"IgnoreKeta": "40"}))
    # long lines, NUL bytes, a binary-looking file, short and empty files
    add(case("edge en", "edge", b"man", {"Count": 1}))
    add(case("edge phrase", "edge", b"of the", {"Count": 1}))
    add(case("edge ja", "edge", sjis("の"), {"Count": 1}))
    add(case("edge ja NoCrlf", "edge", sjis("パッケージ"), {"NoCrlf": 1}))
    add(case("edge tags", "edge", b"man", {"TagFName": 1, "TagForm": 1, "Count": 1}))
    add(case("edge narrow", "edge", b"the devil", {"Xsize": "30"}))
    add(case("edge group", "edge", b"people", {"Count": 1, "bOneLine": 1}, None, True))
    add(case("edge bOneLine", "edge", b"man", {"bOneLine": 1, "CRLF": 1, "Count": 1}))
    add(case("edge bOneLine kw2", "edge", b"man", {"bOneLine": 1, "Count": 1, "Mae": 1}, b"the"))
    add(case("edge IgnoreKeta", "edge", sjis("の"), {"IgnoreKeta": "3", "NoCrlf": 1}))
    add(case("binary file then text", "binary", b"man", {"Count": 1}))
    # A grid of frequent and rare keywords under the main option sets.
    grid = {
        "plain": {},
        "IgnoreCase Both": {"IgnoreCase": 1, "KW1Both": 1},
        "NoCrlf tags": {"NoCrlf": 1, "TagFName": 1, "Count": 1},
        "bOneLine CRLF": {"bOneLine": 1, "CRLF": 1, "LineNumber": 1},
        "narrow offset": {"Xsize": "40", "Offset": "8", "OffsetLeft": 1, "SepMatched": 1},
    }
    keywords = [("en", b"the"), ("en", b"man's"), ("en", b"in the"), ("reader", b"Lord"),
                ("ja", sjis("の")), ("ja", sjis("インストール")), ("ja", sjis("カーネル")),
                ("reader", sjis("ソース"))]
    for label, options in grid.items():
        for corpus, keyword in keywords:
            add(case("grid %s %s %s" % (label, corpus, show(keyword)), corpus, keyword, options))
    for label, options in (("after", {"Bummatsu": 1}), ("before", {"Mae": 1, "KW2Both": 1}),
                           ("not after", {"Method": 1, "KW2Both": 1})):
        add(case("grid kw2 %s en" % label, "en", b"man", options, b"of"))
        add(case("grid kw2 %s ja" % label, "ja", sjis("インストール"), options, b"Debian"))
    return c


def settings_text(options):
    lines = [b"[Options]"]
    for key, value in options.items():
        lines.append(key.encode() + b"=" + str(value).encode())
    lines.append(b"[WordGroupNames]")
    lines.append(b"Name=" + b"".join(name + b"|" for name in GROUPS))
    lines.append(b"[WordGroup]")
    for name, words in GROUPS.items():
        lines.append(name + b"=" + words)
    return b"\n".join(lines) + b"\n"


def arguments(ini, test, corpora):
    args = [b"--ini", os.fsencode(ini), b"kwic", b"-1", test["kw1"]]
    if test["kw2"]:
        args += [b"-2", test["kw2"]]
    if test["group1"]:
        args.append(b"--group1")
    if test["group2"]:
        args.append(b"--group2")
    args += [b"-d", os.fsencode(corpora[test["corpus"]]), b"-f", test["patterns"]]
    return args


def first_difference(a, b):
    left, right = a.split(b"\r\n"), b.split(b"\r\n")
    for i in range(max(len(left), len(right))):
        x = left[i] if i < len(left) else b"<none>"
        y = right[i] if i < len(right) else b"<none>"
        if x != y:
            return i + 1, x, y
    return None


def show(text):
    return text.decode("cp932", errors="backslashreplace")


def run_case(cli, work, corpora, index, test):
    directory = work / ("case%03d" % index)
    directory.mkdir()
    text = settings_text(test["options"])
    (directory / "cli.ini").write_bytes(text)
    (directory / "ref.ini").write_bytes(text)
    process = subprocess.Popen([cli] + arguments(directory / "cli.ini", test, corpora),
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, cwd=directory)
    expected, expected_status = reference_kwic.search(arguments(directory / "ref.ini", test, corpora))
    try:
        actual, errors = process.communicate(timeout=120)
    except subprocess.TimeoutExpired:
        process.kill()
        actual, errors = process.communicate()
        errors += b"\n(killed after 120 s)"
    return expected, expected_status, actual, process.returncode, errors


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    cli = os.path.abspath(argv[1])
    wanted = argv[2:]
    started = time.monotonic()
    work = Path(tempfile.mkdtemp(prefix="kwic-differential-"))
    failures = 0
    try:
        corpora = build_corpora(work)
        selected = [t for t in cases() if not wanted or any(w in t["name"] for w in wanted)]
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            futures = [pool.submit(run_case, cli, work, corpora, i, t) for i, t in enumerate(selected)]
            for test, future in zip(selected, futures):
                expected, expected_status, actual, status, errors = future.result()
                same = expected == actual and expected_status == status
                known = KNOWN_DIFFERENCES.get(test["name"])
                if same:
                    if known:
                        print("NOW AGREES (remove from KNOWN_DIFFERENCES): %s" % test["name"])
                    continue
                if known:
                    print("known difference: %s (%s)" % (test["name"], known))
                    continue
                failures += 1
                print("MISMATCH: %s" % test["name"])
                print("  options: %s" % test["options"])
                print("  keyword 1: %s%s  keyword 2: %s%s  corpus: %s  patterns: %s" % (
                    show(test["kw1"]), " (group)" if test["group1"] else "",
                    show(test["kw2"] or b""), " (group)" if test["group2"] else "",
                    test["corpus"], show(test["patterns"])))
                print("  exit status: reference %d, pyxo-cli %d" % (expected_status, status))
                difference = first_difference(expected, actual)
                if difference:
                    line, x, y = difference
                    print("  first difference at line %d" % line)
                    print("    reference: %s" % show(x))
                    print("    pyxo-cli:  %s" % show(y))
                if errors:
                    print("  pyxo-cli stderr: %s" % errors.decode("utf-8", "replace").strip())
        print("%d cases, %d mismatches, %.1f s" % (len(selected), failures, time.monotonic() - started))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
