#!/usr/bin/env python3
"""Draws Tondrel's report banner (511 x 108, 24 bits) and prints it as the
hex text of a form resource's Picture.Data (class name, uint32 length, BMP)."""
import math
import struct

W, H = 511, 108
FONT = {  # 5 x 7 capitals
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'I': ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    ' ': ["00000"] * 7,
}


def draw():
    px = [[(0, 0, 0)] * W for _ in range(H)]
    for y in range(H):
        for x in range(W):
            t = x / (W - 1)
            wave = 0.5 + 0.5 * math.sin(x / 37.0 + y / 23.0)
            r = int(20 + 40 * t)
            g = int(90 + 80 * t + 30 * wave)
            b = int(160 - 40 * t + 40 * wave)
            px[y][x] = (r, g, b)
    # rolling hills along the bottom
    for x in range(W):
        top = int(84 + 8 * math.sin(x / 45.0))
        for y in range(top, H):
            px[y][x] = (40, 120 + (x % 7), 50)
    text(px, "VORNAK ANIMALS", 40, 18, 5, (255, 255, 240))
    text(px, "REPORT DEMO", 40, 62, 2, (255, 230, 120))
    return px


def text(px, s, x0, y0, scale, colour):
    x = x0
    for ch in s:
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            px[y0 + row * scale + dy][x + col * scale + dx] = colour
        x += 6 * scale


def bmp(px):
    row_bytes = (W * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(H)):
        row = bytearray()
        for (r, g, b) in px[y]:
            row += bytes((b, g, r))
        data += row + bytes(row_bytes - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    return header + info + bytes(data)


if __name__ == "__main__":
    image = bmp(draw())
    blob = bytes([7]) + b"TBitmap" + struct.pack("<I", len(image)) + image
    text_hex = blob.hex().upper()
    print("\n".join(text_hex[i:i + 64] for i in range(0, len(text_hex), 64)))
