#!/usr/bin/env python3
"""Checks of the release packages.

  package_test.py guide       every text quoted in 「」 in docs/guide-ja.md is
                              one of the program's texts, byte for byte in code
                              page 932, and every status and error text is there;
                              the guide's headings stay headings in readme.txt
  package_test.py zips DIR    the zips and SHA256SUMS in DIR (scripts/package.sh),
                              each with the program, the licence and the guide;
                              prints the size of each packaged Dirmind.exe,
                              which must stay within EXE_BUDGET

Prints each fault and exits 1 if there was one."""
import hashlib
import importlib.util
import pathlib
import re
import sys
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
# Bytes that each packaged Dirmind.exe may take: a small utility in every
# user's Startup folder.
EXE_BUDGET = 650_000
faults = []


def load(name: str):
    located = importlib.util.spec_from_file_location(name, ROOT / "scripts" / f"{name}.py")
    module = importlib.util.module_from_spec(located)
    located.loader.exec_module(module)
    return module


gen_texts = load("gen_texts")


def program_texts() -> dict:
    """cp932 bytes -> name, for every text the program shows; a button caption
    also as shown, without its "&"."""
    known = {}
    for name, text in gen_texts.TEXTS:
        known[text.encode("cp932")] = name
        known[text.replace("&", "").encode("cp932")] = name
    for i, line in enumerate(gen_texts.HELP):
        known[line.encode("cp932")] = f"help line {i + 1}"
    return known


def quoted(text: str) -> list:
    return re.findall(r"「([^」]*)」", text)


def check_guide() -> None:
    guide = (ROOT / "docs/guide-ja.md").read_text(encoding="utf-8")
    known = program_texts()
    found = set()
    for quote in quoted(guide):
        try:
            raw = quote.encode("cp932")
        except UnicodeEncodeError as error:
            faults.append(f"guide: 「{quote}」 has no code page 932 form: {error}")
            continue
        if raw in known:
            found.add(known[raw])
        else:
            faults.append(f"guide: 「{quote}」 is not a text of the program")
    for name, _ in gen_texts.TEXTS:
        if name.startswith(("kStatus", "kError", "kMsg")) and name not in found:
            faults.append(f"guide: {name} is not explained")


def check_headings() -> None:
    """Every level of heading stays visible as one in readme.txt."""
    readme = load("package").guide_text("# T\n## S\n### U\n- `x`\n")
    if readme != "T\r\n■S\r\n□U\r\n- x\r\n".encode("cp932"):
        faults.append(f"readme.txt headings: {readme!r}")


def check_zips(out: pathlib.Path) -> None:
    version = gen_texts.version()
    machines = {"x86": 0x014C, "x64": 0x8664}
    sums = {}
    for arch, machine in machines.items():
        name = f"Dirmind-{version}-{arch}.zip"
        data = (out / name).read_bytes()
        sums[name] = hashlib.sha256(data).hexdigest()
        with zipfile.ZipFile(out / name) as archive:
            listing = archive.namelist()
            if listing != [
                "Dirmind/",
                "Dirmind/Dirmind.exe",
                "Dirmind/LICENSE.txt",
                "Dirmind/readme.txt",
            ]:
                faults.append(f"{name}: listing {listing}")
                continue
            exe = archive.read("Dirmind/Dirmind.exe")
            licence = archive.read("Dirmind/LICENSE.txt")
            readme = archive.read("Dirmind/readme.txt")
        # The licence, every line ended by CR LF.
        if (
            licence.replace(b"\r\n", b"\n") != (ROOT / "LICENSE").read_bytes()
            or licence.replace(b"\r\n", b"").count(b"\n")
            or not licence.startswith(b"MIT License\r\n")
        ):
            faults.append(f"{name}: LICENSE.txt is not the licence with CR LF line ends")
        print(f"{name}: Dirmind.exe {len(exe):,} bytes (budget {EXE_BUDGET:,})")
        if len(exe) > EXE_BUDGET:
            faults.append(f"{name}: Dirmind.exe is {len(exe):,} bytes, over {EXE_BUDGET:,}")
        pe = int.from_bytes(exe[0x3C:0x40], "little")
        if exe[:2] != b"MZ" or int.from_bytes(exe[pe + 4 : pe + 6], "little") != machine:
            faults.append(f"{name}: Dirmind.exe is not a {arch} program")
        try:
            text = readme.decode("cp932")
        except UnicodeDecodeError as error:
            faults.append(f"{name}: readme.txt is not code page 932: {error}")
            continue
        if readme.replace(b"\r\n", b"").count(b"\n") or readme.replace(b"\r\n", b"").count(b"\r"):
            faults.append(f"{name}: readme.txt has a line end other than CR LF")
        if not text.startswith("Dirmind") or quoted(text) != quoted(
            (ROOT / "docs/guide-ja.md").read_text(encoding="utf-8")
        ):
            faults.append(f"{name}: readme.txt is not the guide")
    expected = "".join(f"{sums[n]}  {n}\n" for n in sorted(sums))
    if (out / "SHA256SUMS").read_text(encoding="ascii") != expected:
        faults.append("SHA256SUMS does not match the zips")


def main(argv: list) -> int:
    if argv[:1] == ["guide"] and len(argv) == 1:
        check_guide()
        check_headings()
    elif argv[:1] == ["zips"] and len(argv) == 2:
        check_zips(pathlib.Path(argv[1]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
