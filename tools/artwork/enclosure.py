"""The die-cast box seen from above or below: bevelled rim, face and jacks."""

import math

import cairo

import drawing
import layout as L
import palette as P


def new_box(face_rgb, seed, grain_amount):
    """A panel-sized surface with the box on its surround, jacks, rim and face
    painted; returns it and a context drawing on it."""
    surface = drawing.new_surface(L.PANEL_W, L.PANEL_H)
    ctx = drawing.new_context(surface)
    paint_surround(ctx)
    paint_jack(ctx, -1)
    paint_jack(ctx, +1)
    paint_rim(ctx, P.ENCLOSURE_FACE)
    paint_face(ctx, face_rgb, seed, grain_amount)
    return surface, ctx


def paint_surround(ctx):
    ctx.set_source_rgb(*P.SURROUND)
    ctx.paint()
    # Soft contact shadow so the box sits on the surface rather than floating.
    for spread in range(10, 0, -1):
        drawing.rounded_rect(ctx, L.BOX_LEFT - spread + 3, L.BOX_TOP - spread + 5,
                             L.BOX_RIGHT + spread + 3, L.BOX_BOTTOM + spread + 5,
                             L.BOX_RADIUS + spread)
        ctx.set_source_rgba(0, 0, 0, 0.09)
        ctx.fill()


def box_path(ctx, inset=0.0):
    drawing.rounded_rect(ctx, L.BOX_LEFT + inset, L.BOX_TOP + inset,
                         L.BOX_RIGHT - inset, L.BOX_BOTTOM - inset,
                         max(L.BOX_RADIUS - inset, 2.0))


def paint_rim(ctx, face_rgb):
    """Rounded edge lit from the upper left: light top-left, dark bottom-right."""
    box_path(ctx)
    rim = cairo.LinearGradient(L.BOX_LEFT, L.BOX_TOP, L.BOX_RIGHT, L.BOX_BOTTOM)
    drawing.gradient(rim, [(0.0, drawing.mix(P.ENCLOSURE_RIM_LIGHT, (1, 1, 1), 0.15)),
                           (0.45, P.ENCLOSURE_RIM_LIGHT),
                           (0.55, drawing.mix(face_rgb, P.ENCLOSURE_RIM_DARK, 0.3)),
                           (1.0, P.ENCLOSURE_RIM_DARK)])
    ctx.set_source(rim)
    ctx.fill()
    # A crisp dark line where the rim meets the surround.
    box_path(ctx, 0.5)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.stroke()


def paint_face(ctx, face_rgb, seed, grain_amount):
    """Flat top inside the rim, with a broad soft sheen and powder-coat grain."""
    box_path(ctx, L.RIM)
    face = cairo.LinearGradient(0, L.BOX_TOP, 0, L.BOX_BOTTOM)
    drawing.gradient(face, [(0.0, drawing.mix(face_rgb, (1, 1, 1), 0.10)),
                            (0.55, face_rgb),
                            (1.0, drawing.mix(face_rgb, (0, 0, 0), 0.22))])
    ctx.set_source(face)
    ctx.fill_preserve()
    ctx.set_source(drawing.radial_fade(110, 60, 10, 260, (1, 1, 1), 0.10))
    ctx.fill_preserve()
    if grain_amount > 0:
        ctx.save()
        ctx.clip()
        speckle = drawing.grain(L.PANEL_W, L.PANEL_H, grain_amount, seed)
        ctx.set_source_surface(speckle, 0, 0)
        ctx.paint()
        ctx.restore()
    ctx.new_path()
    # Inner edge of the bevel: a thin highlight on the top and left sides.
    box_path(ctx, L.RIM + 0.5)
    edge = cairo.LinearGradient(L.BOX_LEFT, L.BOX_TOP, L.BOX_RIGHT, L.BOX_BOTTOM)
    edge.add_color_stop_rgba(0.0, 0, 0, 0, 0.45)
    edge.add_color_stop_rgba(0.5, 0, 0, 0, 0.2)
    edge.add_color_stop_rgba(1.0, 1, 1, 1, 0.18)
    ctx.set_line_width(1.0)
    ctx.set_source(edge)
    ctx.stroke()


def paint_jack(ctx, side):
    """A chrome jack nut and threaded sleeve standing out of a side wall.

    side is -1 for the left wall, +1 for the right wall.
    """
    wall = L.BOX_LEFT if side < 0 else L.BOX_RIGHT
    y = L.JACK_Y
    # Hex nut seen edge-on: a block with two visible facets.
    nut_out = wall + side * 7
    _chrome_block(ctx, min(wall, nut_out), y - 10, abs(nut_out - wall), 20)
    # Threaded sleeve ending in the plug opening.
    sleeve_out = wall + side * 14
    x0 = min(nut_out, sleeve_out)
    _chrome_block(ctx, x0, y - 6.5, 7, 13)
    ctx.set_line_width(0.7)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    for i in range(1, 7):
        ctx.move_to(x0 + i, y - 6.5)
        ctx.line_to(x0 + i - 0.6, y + 6.5)
        ctx.stroke()
    ctx.rectangle(sleeve_out - (1.5 if side > 0 else 0), y - 4, 1.5, 8)
    ctx.set_source_rgb(0.02, 0.02, 0.02)
    ctx.fill()


def _chrome_block(ctx, x, y, w, h):
    shade = cairo.LinearGradient(0, y, 0, y + h)
    drawing.gradient(shade, [(0.0, P.CHROME_MID), (0.25, P.CHROME_LIGHT),
                             (0.55, P.CHROME_MID), (1.0, P.CHROME_DARK)])
    ctx.rectangle(x, y, w, h)
    ctx.set_source(shade)
    ctx.fill_preserve()
    ctx.set_line_width(0.8)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.stroke()


def paint_screw(ctx, cx, cy, radius=4.0, slot_angle=0.6):
    drawing.circle(ctx, cx + 0.6, cy + 0.9, radius)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.fill()
    head = cairo.RadialGradient(cx - radius * 0.4, cy - radius * 0.4, 0.5, cx, cy, radius)
    drawing.gradient(head, [(0.0, P.CHROME_LIGHT), (0.6, P.CHROME_MID), (1.0, P.CHROME_DARK)])
    drawing.circle(ctx, cx, cy, radius)
    ctx.set_source(head)
    ctx.fill()
    # Cross-head recess.
    ctx.set_line_width(1.1)
    ctx.set_source_rgba(0.05, 0.05, 0.06, 0.85)
    for turn in (0.0, math.pi / 2):
        dx = math.cos(slot_angle + turn) * radius * 0.6
        dy = math.sin(slot_angle + turn) * radius * 0.6
        ctx.move_to(cx - dx, cy - dy)
        ctx.line_to(cx + dx, cy + dy)
        ctx.stroke()
