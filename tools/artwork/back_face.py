"""The underside of the pedal: the rim, a dark bottom plate held by four corner
screws, four rubber feet, and the jacks now seen mirrored. The middle stays
plain for the information panel's logo and white text."""

import cairo

import drawing
import enclosure
import layout as L
import palette as P

PLATE_INSET = L.RIM + 2.0
SCREWS = [(L.BOX_LEFT + 16, L.BOX_TOP + 16), (L.BOX_RIGHT - 16, L.BOX_TOP + 16),
          (L.BOX_LEFT + 16, L.BOX_BOTTOM - 16), (L.BOX_RIGHT - 16, L.BOX_BOTTOM - 16)]
FEET = [(68, 46), (272, 46), (68, 354), (272, 354)]
FOOT_R = 15.0


def render_back():
    _check_panel_area_clear()
    surface, ctx = enclosure.new_box(drawing.mix(P.ENCLOSURE_FACE, (0, 0, 0), 0.25), seed=11,
                                     grain_amount=0.03)
    _paint_plate(ctx)
    for x, y in FEET:
        _paint_foot(ctx, x, y)
    for index, (x, y) in enumerate(SCREWS):
        enclosure.paint_screw(ctx, x, y, slot_angle=0.3 + 0.4 * index)
    return surface


def _check_panel_area_clear():
    """Feet and screws must stay out of the information panel's rectangle."""
    left, top, right, bottom = L.INFO_PANEL
    for (x, y), radius in [(foot, FOOT_R + 2) for foot in FEET] + [(s, 5) for s in SCREWS]:
        if left - radius < x < right + radius and top - radius < y < bottom + radius:
            raise RuntimeError(f"part at {x}, {y} reaches into the information panel")


def _paint_plate(ctx):
    """Smooth dark plate: only a gentle fall-off and sheen, no texture, so the
    panel's text sits on an even ground."""
    enclosure.box_path(ctx, PLATE_INSET)
    plate = cairo.LinearGradient(0, L.BOX_TOP, 0, L.BOX_BOTTOM)
    drawing.gradient(plate, [(0.0, drawing.mix(P.BASE_PLATE, (1, 1, 1), 0.05)),
                             (1.0, drawing.mix(P.BASE_PLATE, (0, 0, 0), 0.2))])
    ctx.set_source(plate)
    ctx.fill_preserve()
    ctx.set_source(drawing.radial_fade(120, 90, 20, 320, (1, 1, 1), 0.035))
    ctx.fill()
    enclosure.box_path(ctx, PLATE_INSET + 0.5)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.stroke()
    enclosure.box_path(ctx, PLATE_INSET + 1.5)
    ctx.set_source_rgba(1, 1, 1, 0.06)
    ctx.stroke()


def _paint_foot(ctx, cx, cy):
    drawing.circle(ctx, cx + 1.0, cy + 2.0, FOOT_R + 0.5)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.fill()
    body = cairo.RadialGradient(cx - 5, cy - 6, 1.0, cx, cy, FOOT_R)
    drawing.gradient(body, [(0.0, drawing.mix(P.RUBBER, (1, 1, 1), 0.16)),
                            (0.7, P.RUBBER), (1.0, (0.02, 0.02, 0.02))])
    drawing.circle(ctx, cx, cy, FOOT_R)
    ctx.set_source(body)
    ctx.fill()
    drawing.circle(ctx, cx, cy, FOOT_R * 0.55)
    ctx.set_line_width(0.8)
    ctx.set_source_rgba(1, 1, 1, 0.07)
    ctx.stroke()
