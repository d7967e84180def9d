"""Writes the small images the toolkit tests embed: python3 make_test_images.py OUTDIR"""
import pathlib
import sys

from PIL import Image

KEY = (0, 162, 232)


def strip(path, frames, frame_height, width, colour_of):
    image = Image.new("RGB", (width, frames * frame_height))
    for k in range(frames):
        for y in range(frame_height):
            for x in range(width):
                image.putpixel((x, k * frame_height + y), colour_of(k))
    image.save(path)


def main(out):
    out = pathlib.Path(out)
    out.mkdir(parents=True, exist_ok=True)

    # Alpha image: transparent, opaque key colour, half-transparent red, opaque green.
    alpha = Image.new("RGBA", (4, 1))
    for x, pixel in enumerate([KEY + (0,), KEY + (255,), (255, 0, 0, 128), (0, 255, 0, 255)]):
        alpha.putpixel((x, 0), pixel)
    alpha.save(out / "Alpha.png")

    # Key-colour image without alpha: key colour, red, key colour, blue.
    keyed = Image.new("RGB", (4, 1))
    for x, pixel in enumerate([KEY, (255, 0, 0), KEY, (0, 0, 255)]):
        keyed.putpixel((x, 0), pixel)
    keyed.save(out / "Keyed.png", transparency=KEY)

    # 61 frames of 3 x 2, frame k with red 4k, so a pixel tells the frame.
    strip(out / "Strip61.png", 61, 2, 3, lambda k: (4 * k, 255 - 4 * k, 9))
    # Two 4 x 4 halves: green above, blue below.
    strip(out / "OnOff.png", 2, 4, 4, lambda k: (0, 200, 0) if k == 0 else (0, 0, 200))

    # Two 2 x 2 frames: key colour (transparent) above, red below.
    keyed_frames = Image.new("RGB", (2, 4), KEY)
    for y in (2, 3):
        for x in (0, 1):
            keyed_frames.putpixel((x, y), (255, 0, 0))
    keyed_frames.save(out / "KeyedFrames.png", transparency=KEY)

    (out / "Broken.png").write_bytes(b"\x89PNG\r\n\x1a\nnot really")


main(sys.argv[1])
