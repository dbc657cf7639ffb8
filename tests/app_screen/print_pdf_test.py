#!/usr/bin/env python3
"""pyxo --print-pdf prints the list a formatted file shows into a PDF, without a display: a
result of English and Japanese lines comes out with its "Page : %d" headers (when "Output
page number" is on), its lines and its Japanese text as text, on the pages the [Print] layout
gives; a file that cannot be read, or a PDF that cannot be written, ends with status 1. The first page is left as a PNG for a
person to look at.

    print_pdf_test.py PYXO PYXO_CLI SOURCE_DIR OUTPUT_DIR"""

import os
import shutil
import subprocess
import sys
import tempfile


def run(args, env):
    return subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def main():
    pyxo, cli, source, output = sys.argv[1:5]
    for tool in ("pdfinfo", "pdftotext", "pdftoppm", "pdffonts"):
        if shutil.which(tool) is None:
            print(f"print test: {tool} is missing (scripts/bootstrap installs poppler-utils)")
            return 1
    os.makedirs(output, exist_ok=True)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        ini = os.path.join(work, "pyxo.ini")
        env = dict(os.environ, PYXO_INI=ini, PYXO_DATA_DIR=os.path.join(work, "data"),
                   HOME=work, XDG_RUNTIME_DIR=work)
        env.pop("DISPLAY", None)
        responses = os.path.join(work, "files.rsp")
        with open(responses, "w") as f:
            f.write(os.path.join(source, "samples/en/devil.txt") + "\n")
            f.write(os.path.join(source, "samples/ja/debian-faq.txt") + "\n")
        with open(ini, "w") as f:
            f.write("[Options]\nbGrep=1\n")
        result = os.path.join(work, "mixed.vm2")
        search = run([cli, "--ini", ini, "--utf8", "kwic", "-1", "WITTICISM|パッケージ", "-r",
                      responses, "-o", result], env)
        assert search.returncode == 0, search.stderr.decode()

        def print_pdf(settings):
            with open(ini, "w") as f:
                f.write("[Print]\n" + settings)
            pdf = os.path.join(work, "out.pdf")
            if os.path.exists(pdf):
                os.remove(pdf)
            done = run([pyxo, "--print-pdf", pdf, result], env)
            if done.returncode != 0:
                failures.append(f"--print-pdf ended with {done.returncode}: {done.stderr.decode()}")
                return None, ""
            info = run(["pdfinfo", pdf], env).stdout.decode()
            pages = int([line for line in info.splitlines() if line.startswith("Pages:")][0].split()[1])
            text = run(["pdftotext", "-layout", pdf, "-"], env).stdout.decode()
            return pages, text

        pages, text = print_pdf("PageNum=1\nLine=40\nMaxPage=3\n")
        print(f"print test: {pages} pages")
        if pages != 3:
            failures.append(f"MaxPage 3 of a long result printed {pages} pages")
        for expected in ("Page : 1", "Page : 3", "WITTICISM", "パッケージ", "devil.txt"):
            if expected not in text:
                failures.append(f"the PDF does not hold {expected!r}")
        pdf = os.path.join(work, "out.pdf")
        fonts = run(["pdffonts", pdf], env).stdout.decode()
        if "IPAGothic" not in fonts:
            failures.append(f"the PDF does not use the view's face IPAGothic:\n{fonts}")
        subprocess.run(["pdftoppm", "-r", "70", "-f", "1", "-l", "1", "-png", pdf,
                        os.path.join(output, "print-page")], check=True)
        print(f"print test: {os.path.join(output, 'print-page-1.png')}")

        pages, text = print_pdf("PageNum=0\nLine=40\nMaxPage=1\n")
        if "Page :" in text:
            failures.append("the header is printed with \"Output page number\" off")

        missing = run([pyxo, "--print-pdf", os.path.join(work, "no.pdf"),
                       os.path.join(work, "missing.vm2")], env)
        if missing.returncode != 1:
            failures.append(f"an unreadable file ended with {missing.returncode}, not 1")
        unwritable = run([pyxo, "--print-pdf", os.path.join(work, "no/such/dir/out.pdf"), result],
                         env)
        if unwritable.returncode != 1 or b"Could not start print job." not in unwritable.stderr:
            failures.append(f"a PDF that cannot be written ended with {unwritable.returncode}: "
                            f"{unwritable.stderr.decode()}")
    for failure in failures:
        print(f"print test: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
