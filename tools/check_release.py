#!/usr/bin/env python3
"""Lists the release archive of a Windows build tree and checks it: it holds
Velumo.exe, the user's guides, every local picture that the guides show, where
they link it, and the list of changes, nothing else, each as in the tree; and
its name carries the version that the built program's version record carries.
    tools/check_release.py build/win32
"""
import re
import struct
import sys
import zipfile
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
GUIDES = ("README.md", "README.ja.md")
DOCUMENTS = GUIDES + ("CHANGELOG.md",)
# A Markdown picture, ![text](target), or an HTML <img src="target">.
PICTURE_LINK = re.compile(r'!\[[^\]]*\]\(\s*<?([^)\s>]+)|<img\s[^>]*src="([^"]+)"')
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def file_version(exe):
    """The file version of the VS_FIXEDFILEINFO in the program's resources, as "x.y.z"."""
    data = exe.read_bytes()
    at = data.find(FIXED_FILE_INFO_SIGNATURE)
    if at < 0:
        sys.exit(f"{exe}: no version record")
    most, least = struct.unpack_from("<II", data, at + 8)
    return f"{most >> 16}.{most & 0xFFFF}.{least >> 16}"


def local_pictures(guide_text):
    """The pictures a guide shows from files beside it, as paths relative to it."""
    targets = (first or second for first, second in PICTURE_LINK.findall(guide_text))
    return {target for target in targets if not re.match(r"[a-z][a-z0-9+.-]*:", target, re.IGNORECASE)}


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
        files = [entry for entry in entries if not entry.is_dir()]
        names = {entry.filename for entry in files}
        pictures = set()
        for guide in GUIDES:
            if guide in names:
                pictures |= local_pictures(zip.read(guide).decode("utf-8"))
        missing = sorted(picture for picture in pictures if picture not in names)
        if missing:
            sys.exit(f"the guides show pictures that the archive lacks: {missing}")
        contents = {"Velumo.exe", *DOCUMENTS, *pictures}
        if names != contents or len(files) != len(contents):
            sys.exit(f"the archive should hold exactly {sorted(contents)}")
        if zip.read("Velumo.exe") != (build / "Velumo.exe").read_bytes():
            sys.exit("the archive's Velumo.exe is not the program just built")
        for name in sorted(contents - {"Velumo.exe"}):
            if zip.read(name) != (SOURCE / name).read_bytes():
                sys.exit(f"the archive's {name} is not the one in the tree")
    print(f"release archive: contents and version match ({len(pictures)} pictures of the guides)")


if __name__ == "__main__":
    main(Path(sys.argv[1] if len(sys.argv) > 1 else "build/win32"))
