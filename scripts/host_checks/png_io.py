"""Decoding non-interlaced PNG files into 8-bit RGBA bytes (standard library only).

Covers what ImageMagick's screenshots and cairo's snapshots produce: grey, grey with
alpha, RGB, RGBA and palette images at every legal bit depth, with tRNS
transparency; 16-bit samples keep their high byte.
"""
import struct
import zlib
from dataclasses import dataclass

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}  # samples per pixel by colour type


class PngError(Exception):
    pass


@dataclass
class Image:
    width: int
    height: int
    rgba: bytes  # 4 bytes per pixel, rows top to bottom

    def pixel(self, x, y):
        i = 4 * (y * self.width + x)
        return tuple(self.rgba[i:i + 4])


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(raw, height, stride, bpp):
    """Undoes the per-row filters; returns the rows as one bytearray."""
    out = bytearray(height * stride)
    prev = bytearray(stride)
    pos = 0
    for y in range(height):
        kind = raw[pos]
        row = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if len(row) != stride:
            raise PngError("image data ends early")
        if kind == 1:
            for i in range(bpp, stride):
                row[i] = (row[i] + row[i - bpp]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                row[i] = (row[i] + prev[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + ((left + prev[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                corner = prev[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + _paeth(left, prev[i], corner)) & 0xFF
        elif kind != 0:
            raise PngError(f"unknown filter type {kind}")
        out[y * stride:(y + 1) * stride] = row
        prev = row
    return out


def _samples(row, depth, count):
    """Unpacks `count` samples of a row at `depth` bits into 0..255 values."""
    if depth == 8:
        return list(row[:count])
    if depth == 16:
        return list(row[0:2 * count:2])
    per_byte, mask = 8 // depth, (1 << depth) - 1
    return [(row[i // per_byte] >> (8 - depth * (i % per_byte + 1))) & mask
            for i in range(count)]


def decode(data):
    if data[:8] != SIGNATURE:
        raise PngError("not a PNG file")
    pos, header, palette, trns, idat = 8, None, None, None, []
    while pos + 8 <= len(data):
        length, tag = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if tag == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif tag == b"PLTE":
            palette = body
        elif tag == b"tRNS":
            trns = body
        elif tag == b"IDAT":
            idat.append(body)
        elif tag == b"IEND":
            break
    if header is None:
        raise PngError("no IHDR chunk")
    width, height, depth, ctype, _, _, interlace = header
    if ctype not in CHANNELS or interlace:
        raise PngError(f"unsupported PNG (colour type {ctype}, interlace {interlace})")
    if ctype == 3 and palette is None:
        raise PngError("palette image without PLTE")
    channels = CHANNELS[ctype]
    stride = (width * channels * depth + 7) // 8
    rows = _unfilter(zlib.decompress(b"".join(idat)), height, stride,
                     max(1, channels * depth // 8))
    grey_scale = 255 // ((1 << depth) - 1) if depth < 8 and ctype == 0 else 1
    rgba = bytearray(width * height * 4)
    o = 0
    for y in range(height):
        s = _samples(rows[y * stride:(y + 1) * stride], depth, width * channels)
        for x in range(width):
            px = s[x * channels:(x + 1) * channels]
            if ctype == 3:
                i = px[0]
                rgb = palette[3 * i:3 * i + 3]
                alpha = trns[i] if trns is not None and i < len(trns) else 255
                rgba[o:o + 4] = bytes((rgb[0], rgb[1], rgb[2], alpha))
            elif ctype in (0, 4):
                g = px[0] * grey_scale
                alpha = px[1] if ctype == 4 else 255
                rgba[o:o + 4] = bytes((g, g, g, alpha))
            else:
                alpha = px[3] if ctype == 6 else 255
                rgba[o:o + 4] = bytes((px[0], px[1], px[2], alpha))
            o += 4
    return Image(width, height, bytes(rgba))


def read_png(path):
    with open(path, "rb") as f:
        return decode(f.read())
