#!/usr/bin/env python3
"""Checks of the release packages, for package_wine_test.sh. Each command prints what it found
wrong and exits non-zero; it exits 0 when everything holds.

  package_checks.py zip ZIP ARCH OUTDIR          the zip's entries, their machine; unpacked to OUTDIR
  package_checks.py installer SETUP ARCH FILES   what 7-Zip lists and unpacks from the installer
  package_checks.py same-files DIR FILES NAME... the named files of DIR equal those of FILES
  package_checks.py shortcut LNK TARGET          the shortcut names the Windows path TARGET
  package_checks.py dictionary FILE WORD READING ...  the file holds exactly these lines
"""
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

EXPECTED = ["ZELVO.EXE", "ZELVOD.DLL", "ZELVOS.DLL", "GUIDE.txt", "LICENSE.txt"]
BINARIES = EXPECTED[:3]
MACHINE = {"x86": 0x014C, "x64": 0x8664}

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
    with zipfile.ZipFile(path) as archive:
        names = archive.namelist()
        if names != EXPECTED:
            problem(f"{path}: entries {names}, expected {EXPECTED}")
        for info in archive.infolist():
            data = archive.read(info)
            if info.filename in BINARIES:
                check_machine(f"{path}:{info.filename}", data, arch)
            os.makedirs(outdir, exist_ok=True)
            with open(os.path.join(outdir, os.path.basename(info.filename)), "wb") as out:
                out.write(data)
    guide = open(os.path.join(outdir, "GUIDE.txt"), "rb").read()
    if not guide.startswith(b"\xef\xbb\xbf# Zelvo") or b"\n" in guide.replace(b"\r\n", b""):
        problem("GUIDE.txt: not UTF-8 with a byte-order mark and CR LF line ends")
    guide_text = guide.decode("utf-8")
    if guide_text.find("ユーザーガイド") > guide_text.find("user guide") or "user guide" not in guide_text:
        problem("GUIDE.txt: not Japanese first, then English")
    if b"MIT License" not in open(os.path.join(outdir, "LICENSE.txt"), "rb").read():
        problem("LICENSE.txt: not the MIT licence")


def check_installer(path, arch, files):
    data = open(path, "rb").read()
    check_machine(path, data, arch)
    listing = subprocess.run(["7z", "l", "-slt", path], capture_output=True, text=True)
    if listing.returncode != 0 or "Type = Nsis" not in listing.stdout:
        problem(f"{path}: 7-Zip does not read it as an NSIS installer")
        return
    names = [line[7:] for line in listing.stdout.splitlines() if line.startswith("Path = ")][1:]
    for name in EXPECTED + ["Uninstall.exe", "$PLUGINSDIR/System.dll"]:
        if name not in names:
            problem(f"{path}: no {name} in {names}")
    with tempfile.TemporaryDirectory() as unpacked:
        run = subprocess.run(["7z", "x", "-y", f"-o{unpacked}", path] + EXPECTED + ["$PLUGINSDIR/System.dll"],
                             capture_output=True, text=True)
        if run.returncode != 0:
            problem(f"{path}: 7-Zip cannot unpack it: {run.stderr.strip()}")
            return
        same_files(unpacked, files, EXPECTED)
        plugin = os.path.join(unpacked, "$PLUGINSDIR", "System.dll")
        check_machine(f"{path}:System.dll", open(plugin, "rb").read(), arch)


def same_files(folder, files, names):
    for name in names:
        mine = os.path.join(folder, name)
        if not os.path.exists(mine):
            problem(f"{mine}: missing")
        elif open(mine, "rb").read() != open(os.path.join(files, name), "rb").read():
            problem(f"{mine}: differs from the packaged {name}")


def check_shortcut(path, target):
    if not os.path.exists(path):
        problem(f"{path}: missing")
        return
    data = open(path, "rb").read()
    if target.encode("utf-16-le") not in data and target.encode("ascii") not in data:
        problem(f"{path}: does not name {target}")


def check_dictionary(path, pairs):
    expected = b"".join(f"{word}\t{reading}\r\n".encode("cp932") for word, reading in pairs)
    if not os.path.exists(path):
        problem(f"{path}: missing")
        return
    actual = open(path, "rb").read()
    if actual != expected:
        problem(f"{path}: holds {actual!r}, expected {expected!r}")


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
    else:
        print(__doc__)
        return 2
    for text in problems:
        print(f"  {text}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
