#!/usr/bin/env python3
"""Draws the demo programs' speed-button pictures and prints them as the
hex text of a form resource's Glyph.Data (uint32 length, then a 4-bit BMP).

Usage: demo_glyphs.py NAME [COUNT]   (COUNT 2 adds the disabled picture)
"""
import struct
import sys

# The 16 colours of a 4-bit bitmap, as (r, g, b).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, GRAY, SILVER, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)
BACK = OLIVE  # the lower-left pixel's colour is the button's transparent colour


def canvas():
    return [[BACK] * 16 for _ in range(16)]


def rect(c, x0, y0, x1, y1, fill=None, edge=BLACK):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            on_edge = x in (x0, x1) or y in (y0, y1)
            if on_edge and edge is not None:
                c[y][x] = edge
            elif not on_edge and fill is not None:
                c[y][x] = fill


def hline(c, x0, x1, y, col):
    for x in range(x0, x1 + 1):
        c[y][x] = col


def vline(c, x, y0, y1, col):
    for y in range(y0, y1 + 1):
        c[y][x] = col


def open_folder():
    c = canvas()
    rect(c, 1, 4, 13, 13, YELLOW)
    rect(c, 1, 3, 6, 4, YELLOW)
    hline(c, 4, 15, 8, BLACK)
    for i in range(6):
        c[8 + i][15 - i // 2] = BLACK
    return c


def save_disk():
    c = canvas()
    rect(c, 1, 1, 14, 14, NAVY)
    rect(c, 4, 1, 11, 6, WHITE)
    rect(c, 4, 9, 11, 14, SILVER)
    vline(c, 9, 2, 5, BLACK)
    return c


def preview():
    c = canvas()
    rect(c, 1, 1, 10, 14, WHITE)
    for y in (4, 6, 8):
        hline(c, 3, 8, y, GRAY)
    rect(c, 7, 7, 12, 12, AQUA)
    for i in range(3):
        c[12 + i // 1 if 12 + i < 16 else 15][12 + i] = BLACK
    return c


def printer():
    c = canvas()
    rect(c, 4, 1, 11, 6, WHITE)
    rect(c, 1, 6, 14, 12, SILVER)
    rect(c, 4, 10, 11, 15, WHITE)
    c[8][12] = LIME
    return c


def printer_setup():
    c = printer()
    rect(c, 10, 10, 15, 15, RED)
    c[12][12] = WHITE
    c[13][13] = WHITE
    return c


def new_label():
    c = canvas()
    # a capital A
    for y in range(2, 14):
        d = (y - 2) // 2
        c[y][7 - d] = NAVY
        c[y][8 + d] = NAVY
    hline(c, 5, 10, 9, NAVY)
    return c


def new_image():
    c = canvas()
    rect(c, 1, 2, 14, 13, AQUA)
    for x in range(2, 14):
        top = 12 - min(abs(x - 6), abs(x - 11) + 2) if x < 14 else 12
        for y in range(max(top, 6), 13):
            c[y][x] = GREEN
    rect(c, 10, 4, 12, 6, YELLOW, YELLOW)
    return c


def new_sysdata():
    c = canvas()
    rect(c, 2, 2, 13, 13, WHITE)
    vline(c, 7, 4, 8, BLACK)
    hline(c, 7, 10, 8, BLACK)
    c[2][7] = c[13][7] = c[7][2] = c[7][13] = RED
    return c


def new_memo():
    c = canvas()
    rect(c, 2, 1, 13, 14, WHITE)
    for y in (3, 5, 7, 9, 11):
        hline(c, 4, 11 if y != 11 else 8, y, NAVY)
    return c


def report_form():
    c = canvas()
    rect(c, 0, 1, 11, 12, SILVER)
    hline(c, 1, 10, 2, NAVY)
    hline(c, 1, 10, 3, NAVY)
    for y in (6, 8, 10):
        hline(c, 2, 9, y, GRAY)
    # an arrow into the designer
    hline(c, 9, 15, 13, RED)
    for i in range(3):
        c[13 - i - 1][15 - i - 1] = RED
        c[13 + i + 1 if 13 + i + 1 < 16 else 15][15 - i - 1] = RED
    return c


GLYPHS = {"open": open_folder, "save": save_disk, "preview": preview, "print": printer,
          "printersetup": printer_setup, "newlabel": new_label, "newimage": new_image,
          "newsysdata": new_sysdata, "newmemo": new_memo, "reportform": report_form,
          "textedit": new_memo, "sysdata": new_sysdata, "loadimage": new_image}


def disabled(c):
    out = canvas()
    for y in range(16):
        for x in range(16):
            if c[y][x] != BACK:
                out[y][x] = GRAY if c[y][x] in (BLACK, NAVY, BLUE, MAROON, PURPLE, GREEN, TEAL, RED) else SILVER
    return out


def bmp(pictures):
    width, height = 16 * len(pictures), 16
    row_bytes = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(height)):  # bottom-up rows
        row = []
        for pic in pictures:
            row.extend(pic[y])
        packed = bytearray((row[i] << 4) | row[i + 1] for i in range(0, len(row), 2))
        pixels += packed + bytes(row_bytes - len(packed))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    return header + info + palette + bytes(pixels)


def glyph_data_hex(name, count):
    pic = GLYPHS[name]()
    data = bmp([pic, disabled(pic)] if count == 2 else [pic])
    blob = struct.pack("<I", len(data)) + data
    text = blob.hex().upper()
    return "\n".join(text[i:i + 64] for i in range(0, len(text), 64))


if __name__ == "__main__":
    print(glyph_data_hex(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 1))
