"""Frames for the key-coloured controls, cut from renderings of the front face.

A frame holds the pixels where its state looks different from the painted
background and the key colour everywhere else. Its opaque pixels come from the
full rendering, so edges are blended against the panel and never against the
key colour: no fringe where the background shows through.
"""

from PIL import Image, ImageChops


def solid_frame(width, height, key):
    return Image.new("RGB", (width, height), key)


def difference_frame(state, painted, rect, key, cover=None):
    """Crop rect of state; pixels equal to painted become the key colour,
    except where the optional cover mask (rect-sized, mode "L") is set: there
    the frame stays opaque, so it hides whatever lies under it."""
    left, top, width, height = rect
    box = (left, top, left + width, top + height)
    shown = state.convert("RGB").crop(box)
    under = painted.convert("RGB").crop(box)
    changed = ImageChops.difference(shown, under).convert("L").point(lambda v: 255 if v else 0)
    if cover is not None:
        changed = ImageChops.lighter(changed, cover)
    frame = Image.new("RGB", (width, height), key)
    frame.paste(_avoid_key(shown, key), (0, 0), changed)
    return frame


def disc_mask(size, radius):
    """Set for every pixel whose centre lies within radius of the centre."""
    width, height = size
    mask = Image.new("L", size, 0)
    for y in range(height):
        for x in range(width):
            if (x + 0.5 - width / 2) ** 2 + (y + 0.5 - height / 2) ** 2 <= radius ** 2:
                mask.putpixel((x, y), 255)
    return mask


def _avoid_key(image, key):
    """Nudges any opaque pixel that happens to equal the key colour by one step."""
    nudged = (key[0], key[1], key[2] - 1 if key[2] else 1)
    data = [nudged if pixel == key else pixel for pixel in image.getdata()]
    out = Image.new("RGB", image.size)
    out.putdata(data)
    return out


def stack(frames):
    width, height = frames[0].size
    strip = Image.new(frames[0].mode, (width, height * len(frames)))
    for index, frame in enumerate(frames):
        strip.paste(frame, (0, index * height))
    return strip


def outside_unchanged(first, second, rect):
    """True when two renderings differ only inside rect."""
    left, top, width, height = rect
    diff = ImageChops.difference(first.convert("RGB"), second.convert("RGB"))
    inside = Image.new("RGB", diff.size)
    inside.paste(diff.crop((left, top, left + width, top + height)), (left, top))
    return ImageChops.difference(diff, inside).getbbox() is None
