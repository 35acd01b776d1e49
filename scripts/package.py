#!/usr/bin/env python3
"""Writes the release zips and SHA256SUMS from the built executables.

Usage: scripts/package.py OUT_DIR VERSION x86=PATH x64=PATH

Each zip holds the folder Dirmind/ with Dirmind.exe, LICENSE.txt (LICENSE
with CR LF line ends) and readme.txt, the Japanese guide docs/guide-ja.md as
Shift-JIS text with CR LF line ends. The
bytes depend on nothing but the inputs: entries in a fixed order, every time
stamp $SOURCE_DATE_EPOCH (UTC), fixed attributes."""
import hashlib
import os
import pathlib
import sys
import time
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
GUIDE = ROOT / "docs/guide-ja.md"
LICENSE = ROOT / "LICENSE"
FOLDER = "Dirmind/"


def guide_text(markdown: str) -> bytes:
    """The guide as a Windows text file: headings marked for plain text (the
    title bare, a section with "■", a sub-section with "□"), no code marks,
    code page 932 (any character without a mapping is an error), CR LF."""
    lines = []
    for line in markdown.replace("`", "").splitlines():
        if line.startswith("### "):
            line = "□" + line[4:]
        elif line.startswith("## "):
            line = "■" + line[3:]
        elif line.startswith("# "):
            line = line[2:]
        lines.append(line.rstrip())
    return "\r\n".join(lines).strip("\r\n").encode("cp932") + b"\r\n"


def licence_text(text: str) -> bytes:
    """The licence as a Windows text file: ASCII, CR LF."""
    return "".join(line.rstrip() + "\r\n" for line in text.splitlines()).encode("ascii")


def write_zip(
    path: pathlib.Path, exe: bytes, licence: bytes, readme: bytes, stamp: tuple
) -> None:
    entries = [
        (FOLDER, None),
        (FOLDER + "Dirmind.exe", exe),
        (FOLDER + "LICENSE.txt", licence),
        (FOLDER + "readme.txt", readme),
    ]
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 0  # MS-DOS attributes, read alike by every tool
            if data is None:
                info.external_attr = 0x10  # folder
                archive.writestr(info, b"")
            else:
                info.external_attr = 0x20  # archive bit, as Windows sets it
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, data, compresslevel=9)


def main(argv: list) -> int:
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    out, version = pathlib.Path(argv[0]), argv[1]
    exes = dict(arg.split("=", 1) for arg in argv[2:])
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip time stamps begin in 1980
    readme = guide_text(GUIDE.read_text(encoding="utf-8"))
    licence = licence_text(LICENSE.read_text(encoding="ascii"))

    out.mkdir(parents=True, exist_ok=True)
    sums = []
    for arch in ("x64", "x86"):
        name = f"Dirmind-{version}-{arch}.zip"
        write_zip(out / name, pathlib.Path(exes[arch]).read_bytes(), licence, readme, stamp)
        sums.append(f"{hashlib.sha256((out / name).read_bytes()).hexdigest()}  {name}\n")
    (out / "SHA256SUMS").write_text("".join(sums), encoding="ascii", newline="\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
