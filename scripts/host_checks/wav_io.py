"""Reading and writing RIFF/WAVE files: integer PCM (8 to 32 bits) and IEEE float.

Only what the host checks need: every sample comes back as a Python float, with the
format kept beside it so that a comparison knows the resolution the file can carry.
"""
import array
import struct
import sys
from dataclasses import dataclass

PCM = 1
IEEE_FLOAT = 3
EXTENSIBLE = 0xFFFE


class WavError(Exception):
    pass


@dataclass
class Wav:
    rate: int
    encoding: str  # "pcm" or "float"
    bits: int
    channels: list  # one list of floats per channel

    @property
    def frames(self):
        return len(self.channels[0]) if self.channels else 0

    def describe(self):
        return f"{self.rate} Hz, {len(self.channels)} ch, {self.bits}-bit {self.encoding}"


def _chunks(data):
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise WavError("not a RIFF/WAVE file")
    pos = 12
    while pos + 8 <= len(data):
        tag, size = struct.unpack_from("<4sI", data, pos)
        yield tag, data[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)  # chunks are padded to an even length


def _samples(body, encoding, bits):
    width = bits // 8
    usable = len(body) - len(body) % width
    if encoding == "float":
        values = array.array({32: "f", 64: "d"}[bits], body[:usable])
    elif bits == 8:  # 8-bit PCM is unsigned, centred on 128
        return [(b - 128) / 128.0 for b in body[:usable]]
    elif bits == 24:
        scale = 1.0 / (1 << 23)
        return [int.from_bytes(body[i:i + 3], "little", signed=True) * scale
                for i in range(0, usable, 3)]
    else:
        values = array.array({16: "h", 32: "i"}[bits], body[:usable])
    if sys.byteorder != "little":
        values.byteswap()
    if encoding == "float":
        return values.tolist()
    scale = 1.0 / (1 << (bits - 1))
    return [v * scale for v in values]


def read_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    fmt = body = None
    for tag, chunk in _chunks(data):
        if tag == b"fmt " and fmt is None:
            fmt = chunk
        elif tag == b"data" and body is None:
            body = chunk
    if fmt is None or body is None or len(fmt) < 16:
        raise WavError(f"{path}: no fmt or data chunk")
    tag, channels, rate, _, _, bits = struct.unpack_from("<HHIIHH", fmt)
    if tag == EXTENSIBLE and len(fmt) >= 26:
        tag = struct.unpack_from("<H", fmt, 24)[0]  # first field of the sub-format GUID
    encoding = {PCM: "pcm", IEEE_FLOAT: "float"}.get(tag)
    supported = {"pcm": (8, 16, 24, 32), "float": (32, 64)}
    if encoding is None or bits not in supported[encoding] or channels < 1:
        raise WavError(f"{path}: unsupported format (tag {tag}, {bits} bits, {channels} ch)")
    interleaved = _samples(body, encoding, bits)
    frames = len(interleaved) // channels
    return Wav(rate, encoding, bits,
               [interleaved[c:frames * channels:channels] for c in range(channels)])


def write_wav_float(path, rate, channels):
    """Writes 32-bit IEEE float samples, one list per channel (equal lengths)."""
    count = len(channels)
    interleaved = array.array("f", [ch[i] for i in range(len(channels[0])) for ch in channels])
    if sys.byteorder != "little":
        interleaved.byteswap()
    body = interleaved.tobytes()
    fmt = struct.pack("<HHIIHH", IEEE_FLOAT, count, rate, rate * count * 4, count * 4, 32)
    # A non-PCM format carries a fact chunk with the frame count.
    fact = struct.pack("<I", len(channels[0]))
    riff = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"fact" + struct.pack("<I", len(fact)) + fact
            + b"data" + struct.pack("<I", len(body)) + body)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(riff)) + riff)
