#!/usr/bin/env python3
"""Writes src/res/velumo.ico: the program's icon, a page of a typeset document
with a bold serif T on it, in 16, 20, 24, 32, 40, 48 and 256 pixels, 32-bit
with alpha (the 256-pixel image PNG-compressed, as Windows expects).

Each size is drawn from the same shapes with their edges put on whole pixels
for that size, so the small images stay sharp instead of being scaled down.
    tools/make_app_icon.py [--preview picture.png]
Run once from anywhere; the .ico file it writes is kept in the repository.
--preview also writes every size enlarged side by side, to look at.
"""
import argparse
import pathlib
import struct
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 256)
SUBROWS = 16  # coverage rows sampled per pixel row; across a row coverage is exact

OUTLINE = (0x4A, 0x55, 0x63)
PAPER = (0xFF, 0xFF, 0xFF)
FOLD = (0xDC, 0xE3, 0xEC)
LETTER = (0x1C, 0x3F, 0x94)
TEXT_LINES = (0xA9, 0xB4, 0xC2)


def rectangle(left, top, right, bottom):
    return [(left, top), (right, top), (right, bottom), (left, bottom)]


def inset(polygon, width):
    """The convex polygon (clockwise on screen) moved inwards by width on every edge."""
    lines = []
    count = len(polygon)
    for index in range(count):
        (x0, y0), (x1, y1) = polygon[index], polygon[(index + 1) % count]
        length = ((x1 - x0) ** 2 + (y1 - y0) ** 2) ** 0.5
        nx, ny = -(y1 - y0) / length, (x1 - x0) / length  # points inside
        lines.append(((x0 + nx * width, y0 + ny * width), (x1 - x0, y1 - y0)))
    corners = []
    for index in range(count):
        (px, py), (dx, dy) = lines[index - 1]
        (qx, qy), (ex, ey) = lines[index]
        t = ((qx - px) * ey - (qy - py) * ex) / (dx * ey - dy * ex)
        corners.append((px + t * dx, py + t * dy))
    return corners


def coverage(size, polygons):
    """How much of each pixel the union of the polygons covers, 0 to 1, row by row."""
    rows = [[0.0] * size for _ in range(size)]
    for row in range(size):
        for sub in range(SUBROWS):
            y = row + (sub + 0.5) / SUBROWS
            spans = []
            for polygon in polygons:
                crossings = []
                for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1]):
                    if (y0 <= y < y1) or (y1 <= y < y0):
                        crossings.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
                crossings.sort()
                spans += list(zip(crossings[0::2], crossings[1::2]))
            spans.sort()
            merged = []
            for left, right in spans:
                if merged and left <= merged[-1][1]:
                    merged[-1][1] = max(merged[-1][1], right)
                else:
                    merged.append([left, right])
            for left, right in merged:
                left, right = max(left, 0.0), min(right, float(size))
                for x in range(int(left), min(size, int(right) + 1)):
                    overlap = min(right, x + 1) - max(left, x)
                    if overlap > 0:
                        rows[row][x] += overlap / SUBROWS
    return rows


def paint(canvas, size, polygons, colour):
    """Lays the colour over the canvas (premultiplied RGBA floats) where the polygons are."""
    for y, row in enumerate(coverage(size, polygons)):
        for x, alpha in enumerate(row):
            if alpha <= 0:
                continue
            alpha = min(alpha, 1.0)
            pixel = canvas[y][x]
            for channel in range(3):
                pixel[channel] = colour[channel] / 255 * alpha + pixel[channel] * (1 - alpha)
            pixel[3] = alpha + pixel[3] * (1 - alpha)


def shapes(size):
    """The icon's shapes for one size, edges on whole pixels: (polygons, colour) in drawing order."""
    def at(fraction, least=0):
        return max(least, round(size * fraction))

    border = at(1 / 48, 1)
    left, top = at(0.156), at(0.03)
    right, bottom = size - left, size - top
    fold = at(0.25)
    page = [(left, top), (right - fold, top), (right, top + fold), (right, bottom), (left, bottom)]
    corner = [(right - fold, top), (right, top + fold), (right - fold, top + fold)]

    centre = size // 2
    half_width = at(0.25)
    bar_top, bar_height = max(at(0.22), top + fold), at(0.12, 2)  # below the folded corner
    stem_half = max(1, round(size * 0.075))
    baseline = at(0.78)
    serif_width, serif_drop = at(0.05, 1), at(0.10, 1)
    foot_half, foot_height = stem_half + at(0.06, 1), at(0.04, 1)
    bar_bottom = bar_top + bar_height
    letter = [
        rectangle(centre - half_width, bar_top, centre + half_width, bar_bottom),
        rectangle(centre - half_width, bar_top, centre - half_width + serif_width, bar_bottom + serif_drop),
        rectangle(centre + half_width - serif_width, bar_top, centre + half_width, bar_bottom + serif_drop),
        rectangle(centre - stem_half, bar_top, centre + stem_half, baseline),
        rectangle(centre - foot_half, baseline - foot_height, centre + foot_half, baseline),
    ]

    drawn = [
        ([page], OUTLINE),
        ([inset(page, border)], PAPER),
        ([corner], OUTLINE),
        ([inset(corner, border)], FOLD),
        (letter, LETTER),
    ]
    if size >= 32:  # lines of typeset text under the letter where there is room for them
        line_height = at(1 / 32, 1)
        margin = left + border + at(0.08, 1)
        for number, length in enumerate((0.9, 0.6)):
            line_top = baseline + at(0.06) + number * at(0.07)
            line_right = margin + round((right - border - at(0.08, 1) - margin) * length)
            drawn.append(([rectangle(margin, line_top, line_right, line_top + line_height)], TEXT_LINES))
    return drawn


def image(size):
    """Rows of straight (not premultiplied) RGBA bytes, top row first."""
    canvas = [[[0.0, 0.0, 0.0, 0.0] for _ in range(size)] for _ in range(size)]
    for polygons, colour in shapes(size):
        paint(canvas, size, polygons, colour)
    rows = []
    for row in canvas:
        line = bytearray()
        for red, green, blue, alpha in row:
            if alpha <= 0:
                line += bytes(4)
            else:
                line += bytes(min(255, round(channel / alpha * 255)) for channel in (red, green, blue))
                line.append(min(255, round(alpha * 255)))
        rows.append(bytes(line))
    return rows


def png(rows, width):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, len(rows), 8, 6, 0, 0, 0)
    pixels = zlib.compress(b"".join(b"\0" + row for row in rows), 9)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", pixels) + chunk(b"IEND", b"")


def bitmap(rows, size):
    """The image as an icon's DIB: BGRA rows bottom first, then the AND mask, set where nothing is drawn."""
    colour = b"".join(
        bytes(b for pixel in range(size) for b in (row[4 * pixel + 2], row[4 * pixel + 1], row[4 * pixel], row[4 * pixel + 3]))
        for row in reversed(rows))
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x in range(size):
            if row[4 * x + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + bytes(mask)


def icon_file(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for size, rows in images:
        encoded = png(rows, size) if size >= 256 else bitmap(rows, size)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(encoded), offset)
        data += encoded
        offset += len(encoded)
    return directory + entries + data


def preview(images, scale=4, gap=8):
    """Every size enlarged (the small ones by scale, pixel for pixel) on a light grey ground."""
    shown = [(size, rows, scale if size < 256 else 1) for size, rows in images]
    width = gap + sum(size * factor + gap for size, _, factor in shown)
    height = gap * 2 + max(size * factor for size, _, factor in shown)
    ground = (0xE8, 0xE8, 0xE8)
    picture = [bytearray(bytes(ground) + b"\xff") * width for _ in range(height)]
    x = gap
    for size, rows, factor in shown:
        for y in range(size * factor):
            source = rows[y // factor]
            for dx in range(size * factor):
                red, green, blue, alpha = source[4 * (dx // factor):4 * (dx // factor) + 4]
                mixed = [round((c * alpha + g * (255 - alpha)) / 255) for c, g in zip((red, green, blue), ground)]
                picture[gap + y][4 * (x + dx):4 * (x + dx) + 4] = bytes(mixed) + b"\xff"
        x += size * factor + gap
    return png([bytes(row) for row in picture], width)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", type=pathlib.Path, help="also write the sizes enlarged to this PNG")
    arguments = parser.parse_args()
    images = [(size, image(size)) for size in SIZES]
    target = pathlib.Path(__file__).resolve().parent.parent / "src" / "res" / "velumo.ico"
    target.write_bytes(icon_file(images))
    print(f"{target}: {target.stat().st_size} bytes")
    if arguments.preview:
        arguments.preview.write_bytes(preview(images))
        print(f"{arguments.preview}: the sizes enlarged")


if __name__ == "__main__":
    main()
