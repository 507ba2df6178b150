#!/usr/bin/env python3
"""Checks that each layer of src/ includes only itself and the layers below it.

The layers, top to bottom, and what each may include (docs/architecture.md):
the program entry, the forms, the features, the settings, the pure text rules,
the platform boundary and its Win32 implementation. An include in angle
brackets counts as well: one of src/ is checked as a quoted one is, and a
system header (<windows.h>, <commctrl.h>, any name ending in ".h") is the
Win32 implementation's alone; the standard C++ library's names have no
extension. Prints each include that runs up or sideways and ends non-zero when
there is one.
"""
import pathlib
import re
import sys

SRC = pathlib.Path(__file__).resolve().parent.parent / "src"

# layer: the layers (besides itself) whose headers it may include
MAY_USE = {
    "entry": {"forms", "features", "settings", "text", "platform", "platform/win32"},
    "forms": {"features", "settings", "text", "platform"},
    "features": {"settings", "text", "platform"},
    "settings": {"text", "platform"},
    "text": set(),
    "platform": set(),
    "platform/win32": {"platform"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+(["<])([^">]+)[">]', re.MULTILINE)
SYSTEM_HEADER = re.compile(r"\.h(h|pp|xx)?$", re.IGNORECASE)


def layer_of(path: pathlib.PurePosixPath) -> str:
    parts = path.parts
    if len(parts) == 1:
        return "entry"
    if parts[0] == "platform" and len(parts) > 2 and parts[1] == "win32":
        return "platform/win32"
    return parts[0]


def main() -> int:
    breaches = []
    for file in sorted(SRC.rglob("*")):
        if file.suffix not in {".h", ".cpp"}:
            continue
        relative = pathlib.PurePosixPath(file.relative_to(SRC).as_posix())
        layer = layer_of(relative)
        for bracket, included in INCLUDE.findall(file.read_text(encoding="utf-8", errors="replace")):
            target = pathlib.PurePosixPath(included)
            if not (SRC / target).exists():
                if bracket == "<" and SYSTEM_HEADER.search(included) and layer != "platform/win32":
                    breaches.append(f"{relative}: includes <{included}> (a system header above platform/win32)")
                continue  # a generated header or one of the same folder's
            used = layer_of(target)
            if used != layer and used not in MAY_USE[layer]:
                breaches.append(f"{relative}: includes {included} ({layer} may not use {used})")
    for breach in breaches:
        print(breach)
    if not breaches:
        print("every layer includes only the layers below it")
    return 1 if breaches else 0


if __name__ == "__main__":
    sys.exit(main())
