#!/usr/bin/env python3
"""Writes data/windows/quorvane.ico from the program icon's PNGs (16 to 256 pixels).

Each size is stored as the PNG itself, which every Windows since Vista reads.
Run again whenever data/icons/hicolor changes.
"""
import pathlib
import struct

root = pathlib.Path(__file__).resolve().parent.parent
sizes = [16, 24, 32, 48, 64, 128, 256]
images = [(root / f"data/icons/hicolor/{n}x{n}/apps/quorvane.png").read_bytes() for n in sizes]

header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries = b""
for n, png in zip(sizes, images):
    # Width and height 0 stand for 256; 32 bits per pixel, one plane.
    entries += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(png), offset)
    offset += len(png)
(root / "data/windows/quorvane.ico").write_bytes(header + entries + b"".join(images))
