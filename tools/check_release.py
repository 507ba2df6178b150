#!/usr/bin/env python3
"""Lists the release archive of a Windows build tree and checks it: it holds
Velumo.exe and the user's guides, nothing else, and its name carries the
version that the built program's version record carries.
    tools/check_release.py build/win32
"""
import struct
import sys
import zipfile
from pathlib import Path

CONTENTS = {"Velumo.exe", "README.md", "README.ja.md"}
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def file_version(exe):
    """The file version of the VS_FIXEDFILEINFO in the program's resources, as "x.y.z"."""
    data = exe.read_bytes()
    at = data.find(FIXED_FILE_INFO_SIGNATURE)
    if at < 0:
        sys.exit(f"{exe}: no version record")
    most, least = struct.unpack_from("<II", data, at + 8)
    return f"{most >> 16}.{most & 0xFFFF}.{least >> 16}"


def main(build):
    version = file_version(build / "Velumo.exe")
    archive = build / f"Velumo-{version}-win32.zip"
    if not archive.is_file():
        others = sorted(p.name for p in build.glob("Velumo-*.zip"))
        sys.exit(f"no {archive.name} for the program's version {version} (found: {others or 'none'})")
    with zipfile.ZipFile(archive) as zip:
        entries = zip.infolist()
        print(f"{archive} (Velumo.exe version {version}):")
        for entry in entries:
            print(f"  {entry.file_size:>9}  {entry.filename}")
        names = {entry.filename for entry in entries}
        if names != CONTENTS or len(entries) != len(CONTENTS):
            sys.exit(f"the archive should hold exactly {sorted(CONTENTS)}")
        if zip.read("Velumo.exe") != (build / "Velumo.exe").read_bytes():
            sys.exit("the archive's Velumo.exe is not the program just built")
    print("release archive: contents and version match")


if __name__ == "__main__":
    main(Path(sys.argv[1] if len(sys.argv) > 1 else "build/win32"))
