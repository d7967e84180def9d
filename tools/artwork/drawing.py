"""Small cairo helpers: surfaces, shapes, text placement, grain and conversion."""

import math
import random

import cairo
from PIL import Image

import fonts


def new_surface(width, height):
    return cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)


def new_context(surface):
    ctx = cairo.Context(surface)
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_SLIGHT)
    options.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(options)
    return ctx


def to_image(surface):
    """Cairo's premultiplied BGRA as a straight-alpha PIL RGBA image."""
    surface.flush()
    return Image.frombuffer("RGBA", (surface.get_width(), surface.get_height()),
                            bytes(surface.get_data()), "raw", "BGRa",
                            surface.get_stride(), 1).copy()


def rounded_rect(ctx, x0, y0, x1, y1, radius):
    ctx.new_sub_path()
    ctx.arc(x1 - radius, y0 + radius, radius, -math.pi / 2, 0)
    ctx.arc(x1 - radius, y1 - radius, radius, 0, math.pi / 2)
    ctx.arc(x0 + radius, y1 - radius, radius, math.pi / 2, math.pi)
    ctx.arc(x0 + radius, y0 + radius, radius, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def circle(ctx, cx, cy, radius):
    ctx.new_sub_path()
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.close_path()


def gradient(pattern, stops):
    for offset, rgb in stops:
        pattern.add_color_stop_rgb(offset, *rgb)
    return pattern


def radial_fade(cx, cy, inner, outer, rgb, alpha):
    """rgb at alpha out to the inner circle, fading to clear at the outer one."""
    fade = cairo.RadialGradient(cx, cy, inner, cx, cy, outer)
    fade.add_color_stop_rgba(0.0, *rgb, alpha)
    fade.add_color_stop_rgba(1.0, *rgb, 0.0)
    return fade


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def set_font(ctx, family, size, bold=False, italic=False):
    fonts.face_file(family, bold, italic)
    ctx.select_font_face(family,
                         cairo.FONT_SLANT_ITALIC if italic else cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)


def tracked_width(ctx, text, tracking):
    advances = [ctx.text_extents(ch).x_advance for ch in text]
    return sum(advances) + tracking * (len(text) - 1)


def text_path(ctx, text, x, baseline, tracking=0.0):
    """Adds the outline of text to the path, starting at x on the baseline."""
    for ch in text:
        ctx.move_to(x, baseline)
        ctx.text_path(ch)
        x += ctx.text_extents(ch).x_advance + tracking


def centred_text_path(ctx, text, cx, baseline, tracking=0.0):
    text_path(ctx, text, cx - tracked_width(ctx, text, tracking) / 2, baseline, tracking)


def right_text_path(ctx, text, right, baseline, tracking=0.0):
    text_path(ctx, text, right - tracked_width(ctx, text, tracking), baseline, tracking)


def printed_legend(ctx, rgb, shadow_alpha=0.45):
    """Fills the current path as silk-screen ink with a faint drop edge, then clears it."""
    path = ctx.copy_path()
    ctx.save()
    ctx.translate(0, 0.8)
    ctx.set_source_rgba(0, 0, 0, shadow_alpha)
    ctx.append_path(path)
    ctx.fill()
    ctx.restore()
    ctx.new_path()
    ctx.append_path(path)
    ctx.set_source_rgb(*rgb)
    ctx.fill()


def grain(width, height, amplitude, seed):
    """Seeded light and dark speckle: the fine texture of powder coat.

    Built straight in cairo's premultiplied layout: white or black at a random
    small alpha per pixel.
    """
    rng = random.Random(seed)
    data = bytearray(width * height * 4)
    for i in range(0, len(data), 4):
        level = rng.uniform(-amplitude, amplitude)
        alpha = int(abs(level) * 255 + 0.5)
        tone = alpha if level > 0 else 0
        data[i:i + 4] = bytes((tone, tone, tone, alpha))
    return cairo.ImageSurface.create_for_data(data, cairo.FORMAT_ARGB32, width, height,
                                              width * 4)
