#!/usr/bin/env python3
"""Writes THIRD-PARTY.txt for the Windows zip: what the statically linked programs contain besides Brennic's own
code, each with its licence text taken word for word from the installed Debian packages that built them.

Usage: third-party.py OUT.txt

The programs contain the MinGW-w64 runtime (start-up code, the gdtoa number conversions of its C library
extensions, winpthreads) and GCC's runtime libraries (libstdc++, libgcc); vxtool.exe also contains toml++. A
paragraph or file that cannot be found fails the script, so a changed package is noticed rather than shipped
without its notice.
"""
import subprocess
import sys

MINGW = "mingw-w64-x86-64-dev"
GCC = "g++-mingw-w64-x86-64-posix"
TOML = "libtomlplusplus-dev"
GPL3 = "/usr/share/common-licenses/GPL-3"

# The paragraphs of the MinGW-w64 copyright file that cover what the linker takes from libmingw32, libmingwex
# and libpthread (checked against a link map of both programs), then the licence texts they name.
MINGW_PARAGRAPHS = [
    "Files: *",
    "Files: mingw-w64-crt/crt/*",
    "Files: mingw-w64-crt/gdtoa/*",
    "Files: mingw-w64-crt/gdtoa/qnan.c",
    "Files: mingw-w64-libraries/winpthreads/*",
    "Files: mingw-w64-libraries/winpthreads/include/pthread.h",
    "Files: mingw-w64-libraries/winpthreads/src/clock.c",
    "License: expat",
    "License: public-domain",
]

# GCC's copyright statement and its runtime library exception, from GCC's copyright file.
GCC_PASSAGES = [
    ("GCC is Copyright (C)", "for more details."),
    ("The following runtime libraries are licensed under", " - libgfortran"),
    ("GCC RUNTIME LIBRARY EXCEPTION", "requirements of the license of GCC."),
]


def fail(message):
    sys.exit("third-party: " + message)


def version(package):
    try:
        return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True, capture_output=True,
                              text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        fail(f"the package {package} is not installed")


def read(path):
    try:
        with open(path, encoding="utf-8") as f:
            return f.read()
    except OSError as error:
        fail(f"cannot read {path}: {error.strerror}")


def copyright_file(package):
    return read(f"/usr/share/doc/{package}/copyright")


def paragraphs(text, firsts, path):
    found = {}
    for paragraph in text.split("\n\n"):
        paragraph = paragraph.strip("\n")
        first = paragraph.split("\n", 1)[0].rstrip()
        if first in firsts and first not in found:
            found[first] = paragraph
    missing = [first for first in firsts if first not in found]
    if missing:
        fail(f"{path} has no paragraph starting {missing[0]!r}")
    return "\n\n".join(found[first] for first in firsts)


def passage(text, start, end, path):
    begin = text.find(start)
    stop = text.find(end, begin) if begin >= 0 else -1
    if begin < 0 or stop < 0:
        fail(f"{path} has no passage from {start!r} to {end!r}")
    return text[begin:stop + len(end)]


def section(title, body):
    rule = "=" * 78
    return f"{rule}\n{title}\n{rule}\n\n{body.rstrip()}\n"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    mingw_version, gcc_version, toml_version = version(MINGW), version(GCC), version(TOML)
    mingw_path = f"/usr/share/doc/{MINGW}/copyright"
    gcc_path = f"/usr/share/doc/{GCC}/copyright"
    gcc_text = copyright_file(GCC)

    intro = f"""Third-party software in Brennic's Windows programs
==================================================

Brennic itself is under the MIT licence (LICENSE.txt). Its programs are linked statically, so besides Brennic's
own code they contain parts of the following software, each under its own licence, reproduced below.

brennic.exe, vxtool.exe and Demo\\brennic-demo.exe contain:
  - the MinGW-w64 runtime: program start-up code, the number conversions of its C library extensions (gdtoa)
    and winpthreads (from the Debian package {MINGW} {mingw_version});
  - GCC's runtime libraries libstdc++ and libgcc, under the GNU General Public License version 3 with the GCC
    Runtime Library Exception (from {GCC} {gcc_version}).

vxtool.exe also contains:
  - toml++, the TOML parser behind "vxtool compile" (from {TOML} {toml_version}).
"""
    parts = [
        intro,
        section(f"toml++ {toml_version} (in vxtool.exe)", copyright_file(TOML)),
        section(f"MinGW-w64 runtime {mingw_version} (in every program)",
                paragraphs(read(mingw_path), MINGW_PARAGRAPHS, mingw_path)),
        section(f"GCC runtime libraries {gcc_version}: libstdc++, libgcc (in every program)",
                "\n\n\n".join(passage(gcc_text, start, end, gcc_path) for start, end in GCC_PASSAGES)),
        section("GNU General Public License, version 3 (the licence the GCC Runtime Library Exception adds to)",
                read(GPL3)),
    ]
    with open(sys.argv[1], "w", encoding="utf-8", newline="\n") as out:
        out.write("\n\n".join(parts))


if __name__ == "__main__":
    main()
