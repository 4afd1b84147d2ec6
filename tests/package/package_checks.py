#!/usr/bin/env python3
"""Checks of the release packages, for package_wine_test.sh. Each command prints what it found
wrong and exits non-zero; it exits 0 when everything holds.

  package_checks.py zip ZIP ARCH OUTDIR          the zip's entries, their machine; unpacked to OUTDIR
  package_checks.py installer SETUP ARCH FILES   what 7-Zip lists and unpacks from the installer,
                                                 and its version record in Japanese and English
  package_checks.py same-files DIR FILES NAME... the named files of DIR equal those of FILES
  package_checks.py shortcut LNK TARGET          the shortcut names the Windows path TARGET
  package_checks.py dictionary FILE WORD READING ...  the file holds exactly these lines
  package_checks.py x64-offer NSI                what the installer script does with the x86
                                                 package on 64-bit Windows
"""
import os
import struct
import subprocess
import sys
import tempfile
import unicodedata
import zipfile

MACHINE = {"x86": 0x014C, "x64": 0x8664}
# The files of each package in the order of its zip, the programs and libraries with the
# architecture they are built for: the x64 package carries the 32-bit host and its library.
PACKAGE_FILES = {
    "x86": [("ZELVO.EXE", "x86"), ("ZELVOD.DLL", "x86"), ("ZELVOS.DLL", "x86"),
            ("GUIDE.txt", None), ("LICENSE.txt", None)],
    "x64": [("ZELVO.EXE", "x64"), ("ZELVOD.DLL", "x64"), ("ZELVOS.DLL", "x64"),
            ("ZELVO32.EXE", "x86"), ("ZELVOS32.DLL", "x86"), ("GUIDE.txt", None), ("LICENSE.txt", None)],
}


def expected_names(arch):
    return [name for name, _ in PACKAGE_FILES[arch]]
GUIDE_WIDTH = 78  # columns; a full-width character takes two

problems = []


def problem(text):
    problems.append(text)


def pe_machine(data):
    """The COFF machine field of a PE image, or None when data is not one."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, offset + 4)[0]


def check_machine(name, data, arch):
    machine = pe_machine(data)
    if machine != MACHINE[arch]:
        problem(f"{name}: machine {machine!r}, expected {MACHINE[arch]:#x} ({arch})")


def check_zip(path, arch, outdir):
    machines = dict(PACKAGE_FILES[arch])
    with zipfile.ZipFile(path) as archive:
        names = archive.namelist()
        if names != expected_names(arch):
            problem(f"{path}: entries {names}, expected {expected_names(arch)}")
        for info in archive.infolist():
            data = archive.read(info)
            if machines.get(info.filename) is not None:
                check_machine(f"{path}:{info.filename}", data, machines[info.filename])
            os.makedirs(outdir, exist_ok=True)
            with open(os.path.join(outdir, os.path.basename(info.filename)), "wb") as out:
                out.write(data)
    check_guide(open(os.path.join(outdir, "GUIDE.txt"), "rb").read())
    if b"MIT License" not in open(os.path.join(outdir, "LICENSE.txt"), "rb").read():
        problem("LICENSE.txt: not the MIT licence")


def display_width(line):
    return sum(2 if unicodedata.east_asian_width(c) in "WFA" else 1 for c in line)


# Plain text that reads well in Notepad: UTF-8 with a byte-order mark, CR LF line ends, lines
# that fit a window without wrapping, Japanese first, then English, no source notes, no
# Markdown, and the menu items as the menu shows them.
def check_guide(guide):
    if not guide.startswith("\ufeffZelvo ユーザーガイド".encode("utf-8")) or b"\n" in guide.replace(b"\r\n", b""):
        problem("GUIDE.txt: not the guide in UTF-8 with a byte-order mark and CR LF line ends")
        return
    text = guide[3:].decode("utf-8")
    english = text.find("\r\nZelvo user guide\r\n")
    if english < 0:
        problem("GUIDE.txt: no English after the Japanese")
        return
    for number, line in enumerate(text.split("\r\n"), 1):
        if display_width(line) > GUIDE_WIDTH:
            problem(f"GUIDE.txt line {number}: wider than {GUIDE_WIDTH} columns")
        if line.startswith(("//", "#", "|", "```")) or "`" in line:
            problem(f"GUIDE.txt line {number}: a source note or Markdown: {line!r}")
    for shown in ["常駐解除", "Zelvoについて", "/S", "/D=", "/DELETEDICTIONARY"]:
        if shown not in text[:english] or shown not in text[english:]:
            problem(f"GUIDE.txt: {shown} is not in both languages")
    if "(&" in text:
        problem("GUIDE.txt: a menu item with its access key marker")


def check_installer(path, arch, files):
    data = open(path, "rb").read()
    check_machine(path, data, arch)
    listing = subprocess.run(["7z", "l", "-slt", path], capture_output=True, text=True)
    if listing.returncode != 0 or "Type = Nsis" not in listing.stdout:
        problem(f"{path}: 7-Zip does not read it as an NSIS installer")
        return
    names = [line[7:] for line in listing.stdout.splitlines() if line.startswith("Path = ")][1:]
    expected = expected_names(arch)
    for name in expected + ["Uninstall.exe", "$PLUGINSDIR/System.dll"]:
        if name not in names:
            problem(f"{path}: no {name} in {names}")
    for name in set(names) - set(expected + ["Uninstall.exe"]):
        if not name.startswith("$PLUGINSDIR/"):
            problem(f"{path}: {name} is not a file of the {arch} package")
    with tempfile.TemporaryDirectory() as unpacked:
        run = subprocess.run(["7z", "x", "-y", f"-o{unpacked}", path] + expected + ["$PLUGINSDIR/System.dll"],
                             capture_output=True, text=True)
        if run.returncode != 0:
            problem(f"{path}: 7-Zip cannot unpack it: {run.stderr.strip()}")
            return
        same_files(unpacked, files, expected)
        plugin = os.path.join(unpacked, "$PLUGINSDIR", "System.dll")
        check_machine(f"{path}:System.dll", open(plugin, "rb").read(), arch)
    check_version_record(path, arch)


# The version record in both languages, as 7-Zip's PE reader writes it out per language.
VERSION_DESCRIPTIONS = {"1041": "セットアップ", "1033": "setup"}


def check_version_record(path, arch):
    with tempfile.TemporaryDirectory() as unpacked:
        names = [f".rsrc/{language}/version.txt" for language in VERSION_DESCRIPTIONS]
        run = subprocess.run(["7z", "x", "-tPE", "-y", f"-o{unpacked}", path] + names, capture_output=True, text=True)
        for language, word in VERSION_DESCRIPTIONS.items():
            record = os.path.join(unpacked, ".rsrc", language, "version.txt")
            if run.returncode != 0 or not os.path.exists(record):
                problem(f"{path}: no version record in language {language}")
                continue
            text = open(record, "rb").read().decode("utf-16-le", errors="replace")
            descriptions = [line for line in text.splitlines() if '"FileDescription"' in line]
            if len(descriptions) != 1 or word not in descriptions[0] or f"({arch})" not in descriptions[0]:
                problem(f"{path}: version record {language} describes it as {descriptions}")
            if '"ProductName",' not in text or '"Zelvo"' not in text:
                problem(f"{path}: version record {language} names no product Zelvo")


def same_files(folder, files, names):
    for name in names:
        mine = os.path.join(folder, name)
        if not os.path.exists(mine):
            problem(f"{mine}: missing")
        elif open(mine, "rb").read() != open(os.path.join(files, name), "rb").read():
            problem(f"{mine}: differs from the packaged {name}")


# The link names its target as a list of items, one per folder and the file, each with its
# long name in UTF-16 (its ANSI path may hold '?' for characters outside the code page).
def names_in_order(data, names):
    position = 0
    for name in names:
        position = data.find(name.encode("utf-16-le"), position)
        if position < 0:
            return False
        position += 2 * len(name)
    return True


def check_shortcut(path, target):
    if not os.path.exists(path):
        problem(f"{path}: missing")
        return
    data = open(path, "rb").read()
    if target.encode("utf-16-le") not in data and not names_in_order(data, target.split("\\")[1:]):
        problem(f"{path}: does not name {target}")


def check_dictionary(path, pairs):
    expected = b"".join(f"{word}\t{reading}\r\n".encode("cp932") for word, reading in pairs)
    if not os.path.exists(path):
        problem(f"{path}: missing")
        return
    actual = open(path, "rb").read()
    if actual != expected:
        problem(f"{path}: holds {actual!r}, expected {expected!r}")


# The x86 package on 64-bit Windows (which cannot run here: the installer is a 32-bit program).
# In the script: the check at start, only in the x86 installer; Yes stops, No and a silent
# install go on; the text names the x64 package in both languages.
def check_x64_offer(path):
    script = open(path, encoding="utf-8").read()
    macro = script[script.find("!macro OFFER_X64_PACKAGE"):]
    macro = macro[:macro.find("!macroend")]
    on_init = script[script.find("Function .onInit"):]
    on_init = on_init[:on_init.find("FunctionEnd")]
    wanted = {
        "the check runs at the installer's start": "!insertmacro OFFER_X64_PACKAGE" in on_init,
        "only in the x86 installer": '!if "${ARCH}" == "x86"' in macro,
        "on 64-bit Windows (a 32-bit program under WOW64)": "${If} ${IsWow64}" in macro
                                                            and '!include "x64.nsh"' in script,
        "a Yes/No question whose silent answer is No": 'MessageBox MB_YESNO' in macro
                                                       and '"$(WrongPackage)" /SD IDNO IDNO +2' in macro,
        "Yes stops the installer": "IDNO +2\n    Abort\n" in macro,
    }
    for what, holds in wanted.items():
        if not holds:
            problem(f"{path}: not so: {what}")
    for language in ("LANG_JAPANESE", "LANG_ENGLISH"):
        start = script.find(f"LangString WrongPackage ${{{language}}}")
        text = script[start:script.find("\n", start)] if start >= 0 else ""
        if "zelvo-${VERSION}-x64-setup.exe" not in text or ("64" not in text):
            problem(f"{path}: the {language} text does not name the x64 package: {text!r}")


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "zip":
        check_zip(*args)
    elif command == "installer":
        check_installer(*args)
    elif command == "same-files":
        same_files(args[0], args[1], args[2:])
    elif command == "shortcut":
        check_shortcut(*args)
    elif command == "dictionary":
        check_dictionary(args[0], list(zip(args[1::2], args[2::2])))
    elif command == "x64-offer":
        check_x64_offer(*args)
    else:
        print(__doc__)
        return 2
    for text in problems:
        print(f"  {text}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
