#!/usr/bin/env python3
"""Writes chooser_glyphs.bmp: the directory chooser's eight 16 x 16 glyphs side by side, 4 bits
per pixel with the standard 16-colour palette, on the pure blue that the chooser treats as
transparent. Run it again after changing a picture and check in both files."""
import os
import struct

# The standard 16-colour palette, as RGB.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
INK = {'.': 12, 'k': 0, 'm': 1, 'G': 2, 'o': 3, 'n': 4, 't': 6, 's': 7, 'g': 8, 'r': 9,
       'L': 10, 'y': 11, 'c': 14, 'w': 15}

GLYPHS = [
    # 0 open folder
    ["................",
     "................",
     "..kkkk..........",
     ".kyyyyk.........",
     ".kywwyykkkkkk...",
     ".kyyyyyyyyyyk...",
     ".kyokkkkkkkkkkk.",
     ".kyokyyyyyyyyyk.",
     ".kyokyyyyyyyyk..",
     ".kokyyyyyyyyyk..",
     ".kokyyyyyyyyk...",
     ".kkyyyyyyyyyk...",
     ".kkkkkkkkkkkk...",
     "................",
     "................",
     "................"],
    # 1 open folder, second shading
    ["................",
     "................",
     "..kkkk..........",
     ".kooook.........",
     ".kowwookkkkkk...",
     ".koooooooooook..",
     ".kookkkkkkkkkkk.",
     ".kookyyyyyyyyyk.",
     ".kokyyyyyyyyyk..",
     ".kokyyyyyyyyyk..",
     ".kkyyyyyyyyyk...",
     ".kkyyyyyyyyyk...",
     ".kkkkkkkkkkkk...",
     "................",
     "................",
     "................"],
    # 2 closed folder
    ["................",
     "................",
     "..kkkk..........",
     ".kyyyyk.........",
     ".kkkkkkkkkkkkk..",
     ".kywwwwwwwwwyk..",
     ".kyyyyyyyyyyyk..",
     ".kyyyyyyyyyyyk..",
     ".kyyyyyyyyyyyk..",
     ".kyyyyyyyyyyyk..",
     ".kyyyyyyyyyyyk..",
     ".kooooooooooook.",
     ".kkkkkkkkkkkkkk.",
     "................",
     "................",
     "................"],
    # 3 removable drive
    ["................",
     "................",
     "................",
     "................",
     "..kkkkkkkkkkkk..",
     ".kwwwwwwwwwwwsk.",
     ".kssssssssssssk.",
     ".ksgkkkkkkkkgsk.",
     ".kssssssssssssk.",
     ".kssssssssLsssk.",
     ".kggggggggggggk.",
     "..kkkkkkkkkkkk..",
     "................",
     "................",
     "................",
     "................"],
    # 4 hard disk
    ["................",
     "................",
     "................",
     "................",
     "...kkkkkkkkkkk..",
     "..kwwwwwwwwwwsk.",
     ".kwsssssssssgsk.",
     ".kkkkkkkkkkkkgk.",
     ".kssssssssssskk.",
     ".ksssssssGGsskk.",
     ".kgggggggggggk..",
     ".kkkkkkkkkkkkk..",
     "................",
     "................",
     "................",
     "................"],
    # 5 CD-ROM drive
    ["................",
     ".....kkkkkk.....",
     "...kkwwcwwwkk...",
     "..kwwwcccwwwsk..",
     "..kwwwwcwwwwsk..",
     ".kwwwwkkkwwwwsk.",
     ".kccwk...kwwssk.",
     ".kwwwk...kwcssk.",
     ".kwwwwkkkwcccsk.",
     "..kwwwwwwwccsk..",
     "..kswwwwwwwssk..",
     "...kksssssskk...",
     ".kkkkkkkkkkkkkk.",
     ".ksssssssssLssk.",
     ".kkkkkkkkkkkkkk.",
     "................"],
    # 6 network drive
    ["................",
     "................",
     "...kkkkkkkkkkk..",
     "..kwwwwwwwwwwsk.",
     ".kwsssssssssgsk.",
     ".kkkkkkkkkkkkgk.",
     ".kssssssssssskk.",
     ".ksssssssGGsskk.",
     ".kgggggggggggk..",
     ".kkkkkkkkkkkkk..",
     ".......kk.......",
     ".......kk.......",
     "..kkkkkkkkkkkk..",
     "..kttttttttttk..",
     "..kkkkkkkkkkkk..",
     "................"],
    # 7 RAM chip
    ["................",
     "................",
     "...s.s.s.s.s....",
     "...s.s.s.s.s....",
     "..kkkkkkkkkkkk..",
     "..kGGGGGGGGGGk..",
     "..kGkkkGkkkGGk..",
     "..kGkkkGkkkGGk..",
     "..kGGGGGGGGGGk..",
     "..kGGGGGGGGGyk..",
     "..kkkkkkkkkkkk..",
     "...y.y.y.y.y....",
     "...y.y.y.y.y....",
     "................",
     "................",
     "................"],
]


def main():
    width, height = 16 * len(GLYPHS), 16
    rows = []
    for y in range(height):
        row = []
        for g in GLYPHS:
            line = g[y]
            assert len(line) == 16, (GLYPHS.index(g), y, line)
            row.extend(INK[c] for c in line)
        rows.append(row)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b''
    for row in reversed(rows):  # bottom-up
        packed = bytes((row[i] << 4) | row[i + 1] for i in range(0, width, 2))
        pixels += packed + b'\0' * (stride - len(packed))
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'chooser_glyphs.bmp')
    with open(out, 'wb') as f:
        f.write(header + info + palette + pixels)


if __name__ == '__main__':
    main()
