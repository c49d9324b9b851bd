#!/usr/bin/env python3
"""Makes the program's icon from artwork.txt.

Writes the icon group as a Windows .ico file: a 32 by 32 and a 16 by 16 image, 16 colours
(4 bits per pixel) in the standard Windows palette, with a transparency mask. The Windows
resources take the file as it is; the Linux program loads the same file.

With --png it writes one image of the icon as a PNG for a desktop's icon theme instead: the
largest image whose size divides SIZE, each pixel widened to a square, so the pixels stay sharp
(48 is the 16 by 16 image at three times).

Usage: gen_icon.py ARTWORK OUTPUT.ico
       gen_icon.py --png SIZE ARTWORK OUTPUT.png
"""
import struct
import sys
import zlib

# The standard 16-colour Windows palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def read_artwork(path):
    images = {}
    size = None
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            if line.startswith("size "):
                size = int(line.split()[1])
                images[size] = []
            elif size is None or len(line) != size or line.strip("0123456789ABCDEF."):
                raise SystemExit(f"{path}: bad artwork row {line!r}")
            else:
                images[size].append(line)
    for size, rows in images.items():
        if len(rows) != size:
            raise SystemExit(f"{path}: the {size} by {size} image has {len(rows)} rows")
    return images


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


# One image: header, palette, then the colour indices (a hex digit a pixel) and the mask, where a
# transparent pixel ('.') is 1, both bottom row first.
def dib(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour = mask = b""
    for row in reversed(rows):
        colour += padded(bytes.fromhex(row.replace(".", "0")))
        bits = "".join("1" if c == "." else "0" for c in row)
        mask += padded(int(bits, 2).to_bytes(size // 8, "big"))
    return header + palette + colour + mask


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data))


def png(images, size):
    fitting = [s for s in images if size % s == 0]
    if not fitting:
        raise SystemExit(f"no image of the icon scales evenly to {size} pixels")
    source = max(fitting)
    scale = size // source
    raw = b""
    for row in images[source]:
        pixels = b"".join(
            (bytes(PALETTE[int(c, 16)]) + b"\xff" if c != "." else b"\0\0\0\0") * scale
            for c in row)
        raw += (b"\0" + pixels) * scale  # each row starts with filter type 0: none
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "--png":
        with open(sys.argv[4], "wb") as f:
            f.write(png(read_artwork(sys.argv[3]), int(sys.argv[2])))
        return
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    images = read_artwork(sys.argv[1])
    if sorted(images) != [16, 32]:
        raise SystemExit("the artwork must hold a 32 by 32 and a 16 by 16 image")
    blobs = [dib(images[size]) for size in (32, 16)]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in zip((32, 16), blobs):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(sys.argv[2], "wb") as f:
        f.write(out + b"".join(blobs))


if __name__ == "__main__":
    main()
