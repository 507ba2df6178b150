#!/usr/bin/env python3
"""Writes src/res/handpoint.cur: the 32 x 32 two-colour pointing-hand cursor
of hyperlink labels, hot spot at the tip of the raised index finger.

Run once from anywhere; the .cur file it writes is kept in the repository.
"""
import pathlib
import struct

HOT_SPOT = (7, 1)
SIZE = 32

# "X" black outline, "." white inside, anything else transparent.
PICTURE = [
    "      XXX",
    "     X...X",
    "     X...X",
    "     X...X",
    "     X...X",
    "     X...X",
    "     X...X",
    "     X...XXXX",
    "     X...X...XXXX",
    "     X...X...X...XXX",
    "     X...X...X...X..X",
    "     X...X...X...X..X",
    " XX  X...X...X...X..X",
    "X..X X...X...X...X..X",
    "X...XX...X...X...X..X",
    "X....X...X...X...X..X",
    " X..................X",
    " X..................X",
    "  X.................X",
    "  X.................X",
    "   X...............X",
    "   X...............X",
    "    X.............X",
    "    X.............X",
    "    X.............X",
    "    XXXXXXXXXXXXXXX",
]


def mask_rows(is_set):
    """Rows of 32 one-bit pixels, bottom row first as a DIB stores them."""
    rows = []
    for y in reversed(range(SIZE)):
        line = PICTURE[y] if y < len(PICTURE) else ""
        bits = 0
        for x in range(SIZE):
            pixel = line[x] if x < len(line) else " "
            if is_set(pixel):
                bits |= 1 << (SIZE - 1 - x)
        rows.append(struct.pack(">I", bits))
    return b"".join(rows)


def cursor_file():
    # Colour bit 1 is white; an AND bit of 1 lets the screen show through.
    xor_mask = mask_rows(lambda pixel: pixel == ".")
    and_mask = mask_rows(lambda pixel: pixel not in "X.")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor_mask) + len(and_mask), 0, 0, 2, 0)
    colours = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + colours + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    assert PICTURE[HOT_SPOT[1]][HOT_SPOT[0]] == ".", "the hot spot lies inside the fingertip"
    target = pathlib.Path(__file__).resolve().parent.parent / "src" / "res" / "handpoint.cur"
    target.write_bytes(cursor_file())
    print(f"{target}: {target.stat().st_size} bytes")


if __name__ == "__main__":
    main()
