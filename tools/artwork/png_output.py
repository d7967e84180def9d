"""Writes PNGs that are the same bytes on every run: 8 bits per channel,
non-interlaced, no time or text chunks."""


def save_rgba(image, path):
    image.convert("RGBA").save(path, format="PNG", compress_level=9)


def save_keyed(image, key, path):
    """Truecolour without alpha; the tRNS chunk names the one transparent colour."""
    image.convert("RGB").save(path, format="PNG", compress_level=9, transparency=key)
