"""The Orveton maker's mark: a ringed fell with mist drifting across it,
over the spaced-out word ORVETON. Drawn in a 140 x 70 box."""

import math

import cairo

import drawing
import layout as L
import palette as P

CX = L.LOGO_DRAWN_W / 2
RING_CY, RING_R, RING_W = 25.0, 20.5, 3.2


def logo_mask(ctx):
    """Pushes and pops a group holding the mark's coverage; returns its pattern."""
    ctx.push_group()
    ctx.set_source_rgb(1, 1, 1)
    drawing.circle(ctx, CX, RING_CY, RING_R)
    ctx.set_line_width(RING_W)
    ctx.stroke()

    ctx.save()
    drawing.circle(ctx, CX, RING_CY, RING_R - RING_W / 2 - 2.2)
    ctx.clip()
    ctx.move_to(CX - 22, RING_CY + 16)
    ctx.line_to(CX - 8, RING_CY - 8)
    ctx.line_to(CX - 2, RING_CY + 0.5)
    ctx.line_to(CX + 6, RING_CY - 14)
    ctx.line_to(CX + 22, RING_CY + 16)
    ctx.close_path()
    ctx.fill()
    # Mist: two wavering bands cut out of the hills.
    ctx.set_operator(cairo.OPERATOR_CLEAR)
    ctx.set_line_width(1.8)
    for offset, phase in ((5.0, 0.0), (10.5, 1.7)):
        for step in range(0, 49):
            x = CX - 24 + step
            y = RING_CY + offset + 1.4 * math.sin(x / 4.5 + phase)
            if step == 0:
                ctx.move_to(x, y)
            else:
                ctx.line_to(x, y)
        ctx.stroke()
    ctx.restore()

    drawing.set_font(ctx, P.SANS, 15.5, bold=True)
    drawing.centred_text_path(ctx, "ORVETON", CX + 1.5, 65.0, tracking=3.0)
    ctx.fill()
    return ctx.pop_group()


def render_logo():
    surface = drawing.new_surface(L.LOGO_W, L.LOGO_H)
    ctx = drawing.new_context(surface)
    mask = logo_mask(ctx)
    ctx.set_source_rgb(*P.LOGO_WHITE)
    ctx.mask(mask)
    return surface


def paint_logo(ctx, left, top, width, height, rgb):
    """The mark scaled to fit the box, centred, in the given ink colour."""
    scale = min(width / L.LOGO_DRAWN_W, height / L.LOGO_H)
    ctx.save()
    ctx.translate(left + (width - L.LOGO_DRAWN_W * scale) / 2,
                  top + (height - L.LOGO_H * scale) / 2)
    ctx.scale(scale, scale)
    mask = logo_mask(ctx)
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.save()
    ctx.translate(0, 1.1)
    ctx.mask(mask)
    ctx.restore()
    ctx.set_source_rgb(*rgb)
    ctx.mask(mask)
    ctx.restore()
