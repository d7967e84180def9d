"""The top of the pedal: enclosure, legends, scales, toggle, lamp, jacks,
footswitch, name, maker's mark and slogan. The knobs come from their own strip."""

import math

import cairo

import drawing
import enclosure
import layout as L
import logo
import palette as P

PRODUCT_NAME = "MURKFELL"
SLOGAN = "grit from the high moor"


def render_front(lever_on=True, lamp_lit=True):
    surface, ctx = enclosure.new_box(P.ENCLOSURE_FACE, seed=7, grain_amount=0.035)
    _paint_pinstripe(ctx)
    for name, (cx, cy, baseline) in L.KNOBS.items():
        _paint_scale(ctx, cx, cy)
        drawing.set_font(ctx, P.SANS, 8.6, bold=True)
        drawing.centred_text_path(ctx, name, cx, baseline, tracking=0.9)
        drawing.printed_legend(ctx, P.SILKSCREEN)
    _paint_jack_legends(ctx)
    _paint_toggle(ctx, lever_on)
    _paint_lamp(ctx, lamp_lit)
    _paint_name(ctx)
    _paint_footswitch(ctx)
    logo.paint_logo(ctx, *_box(L.LOGO_BOX), P.SILKSCREEN)
    drawing.set_font(ctx, P.SERIF, 11.5, italic=True)
    drawing.right_text_path(ctx, SLOGAN, L.SLOGAN_RIGHT, L.SLOGAN_BASELINE)
    drawing.printed_legend(ctx, P.SILKSCREEN)
    return surface


def _box(rect):
    left, top, right, bottom = rect
    return left, top, right - left, bottom - top


def _paint_pinstripe(ctx):
    """A thin printed border that frames the controls like a faceplate."""
    enclosure.box_path(ctx, L.RIM + 5.5)
    ctx.set_line_width(0.9)
    ctx.set_source_rgba(*P.SILKSCREEN, 0.55)
    ctx.stroke()


def _paint_scale(ctx, cx, cy):
    """Eleven dots around the knob, bigger at both ends and the centre."""
    for step in range(11):
        angle = math.radians(L.KNOB_SWEEP_START + 30 * step)
        radius = 1.5 if step in (0, 5, 10) else 1.0
        x = cx + 32.0 * math.sin(angle)
        y = cy - 32.0 * math.cos(angle)
        drawing.circle(ctx, x, y, radius)
        drawing.printed_legend(ctx, P.SILKSCREEN, shadow_alpha=0.3)


def _paint_jack_legends(ctx):
    drawing.set_font(ctx, P.SANS, 8.6, bold=True)
    y = L.JACK_Y + 23.5
    drawing.centred_text_path(ctx, "Out", L.BOX_LEFT + 20, y)
    drawing.centred_text_path(ctx, "In", L.BOX_RIGHT - 20, y)
    drawing.printed_legend(ctx, P.SILKSCREEN)
    # Small arrows pointing at the jacks.
    for x, direction in ((L.BOX_LEFT + 12, -1), (L.BOX_RIGHT - 12, 1)):
        ctx.move_to(x + direction * 3.5, L.JACK_Y)
        ctx.line_to(x - direction * 1.5, L.JACK_Y - 3.5)
        ctx.line_to(x - direction * 1.5, L.JACK_Y + 3.5)
        ctx.close_path()
        drawing.printed_legend(ctx, P.SILKSCREEN, shadow_alpha=0.3)


def _paint_toggle(ctx, lever_on):
    cx, cy = L.TOGGLE
    drawing.set_font(ctx, P.SANS, 8.6, bold=True)
    drawing.centred_text_path(ctx, "CabSim", cx, L.TOGGLE_LEGEND_BASELINE, tracking=0.4)
    drawing.set_font(ctx, P.SANS, 8.0, bold=True)
    drawing.right_text_path(ctx, "Off", cx - 16, cy + 3)
    drawing.text_path(ctx, "On", cx + 16, cy + 3)
    drawing.printed_legend(ctx, P.SILKSCREEN)

    # Hex nut on a threaded bushing.
    ctx.save()
    ctx.translate(cx, cy)
    _hexagon(ctx, 8.2, 0.4, 0.9)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.fill()
    _paint_hex_nut(ctx, 8.2, 8, 0.5, 0.7)
    bushing = cairo.RadialGradient(-1.5, -1.5, 0.5, 0, 0, 5.0)
    drawing.gradient(bushing, [(0.0, P.CHROME_LIGHT), (1.0, P.CHROME_DARK)])
    drawing.circle(ctx, 0, 0, 5.0)
    ctx.set_source(bushing)
    ctx.fill()

    # Bat lever leaning toward the chosen legend, seen from above: a tapered
    # chrome rod from the pivot to a rounded tip.
    side = 1 if lever_on else -1
    tip_x, tip_r, root_r = 9.3 * side, 2.8, 2.0
    ctx.move_to(tip_x + 1.2 * side, 1.6)
    ctx.line_to(0, 2.4)
    ctx.line_to(0, 0.2)
    ctx.close_path()
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.fill()
    drawing.circle(ctx, tip_x + 1.0 * side, 1.3, tip_r)
    ctx.fill()
    ctx.move_to(0, -root_r)
    ctx.line_to(tip_x, -tip_r)
    ctx.line_to(tip_x, tip_r)
    ctx.line_to(0, root_r)
    ctx.close_path()
    rod = cairo.LinearGradient(0, -tip_r, 0, tip_r)
    drawing.gradient(rod, [(0.0, P.CHROME_MID), (0.3, P.CHROME_LIGHT), (1.0, P.CHROME_DARK)])
    ctx.set_source(rod)
    ctx.fill()
    tip = cairo.RadialGradient(tip_x - 0.9, -0.9, 0.3, tip_x, 0, tip_r)
    drawing.gradient(tip, [(0.0, (1, 1, 1)), (0.5, P.CHROME_MID), (1.0, P.CHROME_DARK)])
    drawing.circle(ctx, tip_x, 0, tip_r)
    ctx.set_source(tip)
    ctx.fill()
    ctx.restore()


def _paint_hex_nut(ctx, radius, light_reach, mid_stop, outline):
    """A chrome nut centred on the origin, lit from the upper left across
    +-light_reach, outlined in black."""
    _hexagon(ctx, radius)
    nut = cairo.LinearGradient(-light_reach, -light_reach, light_reach, light_reach)
    drawing.gradient(nut, [(0.0, P.CHROME_LIGHT), (mid_stop, P.CHROME_MID), (1.0, P.CHROME_DARK)])
    ctx.set_source(nut)
    ctx.fill_preserve()
    ctx.set_line_width(outline)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.stroke()


def _hexagon(ctx, radius, dx=0.0, dy=0.0):
    for corner in range(6):
        angle = math.pi / 6 + corner * math.pi / 3
        x, y = dx + radius * math.cos(angle), dy + radius * math.sin(angle)
        if corner == 0:
            ctx.move_to(x, y)
        else:
            ctx.line_to(x, y)
    ctx.close_path()


def _paint_lamp(ctx, lit):
    """Chrome bezel with a lens; lit, its glow stays inside the 16 px lamp frame
    so the dark frame can cover all of it."""
    cx, cy = L.LAMP
    if lit:
        drawing.circle(ctx, cx, cy, L.LAMP_GLOW_RADIUS)
        ctx.set_source(drawing.radial_fade(cx, cy, 5.0, L.LAMP_GLOW_RADIUS, P.LAMP_LIT_EDGE, 0.7))
        ctx.fill()
    drawing.circle(ctx, cx + 0.4, cy + 0.8, 6.6)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.fill()
    bezel = cairo.LinearGradient(cx - 6, cy - 6, cx + 6, cy + 6)
    drawing.gradient(bezel, [(0.0, P.CHROME_LIGHT), (0.5, P.CHROME_MID), (1.0, P.CHROME_DARK)])
    drawing.circle(ctx, cx, cy, 6.2)
    ctx.set_source(bezel)
    ctx.fill()
    core, edge = (P.LAMP_LIT_CORE, P.LAMP_LIT_EDGE) if lit else (P.LAMP_DARK_CORE, P.LAMP_DARK_EDGE)
    lens = cairo.RadialGradient(cx - 1.0, cy - 1.0, 0.3, cx, cy, 4.4)
    drawing.gradient(lens, [(0.0, core), (0.55, core if lit else drawing.mix(core, edge, 0.5)),
                            (1.0, edge)])
    drawing.circle(ctx, cx, cy, 4.4)
    ctx.set_source(lens)
    ctx.fill()
    # Specular spot on the lens.
    drawing.circle(ctx, cx - 1.6, cy - 1.7, 1.1)
    ctx.set_source_rgba(1, 1, 1, 0.85 if lit else 0.45)
    ctx.fill()


def _paint_name(ctx):
    drawing.set_font(ctx, P.SERIF, 32.0, bold=True)
    drawing.centred_text_path(ctx, PRODUCT_NAME, 170, L.NAME_BASELINE, tracking=2.0)
    path = ctx.copy_path()
    ctx.new_path()
    # Engraved look: a dark upper-left edge and a light lower-right edge.
    for (dx, dy), rgba in (((-0.8, -0.8), (0, 0, 0, 0.55)), ((0.7, 0.9), (1, 1, 1, 0.18))):
        ctx.save()
        ctx.translate(dx, dy)
        ctx.append_path(path)
        ctx.restore()
        ctx.set_source_rgba(*rgba)
        ctx.fill()
    ctx.append_path(path)
    ink = cairo.LinearGradient(0, L.NAME_BASELINE - 21, 0, L.NAME_BASELINE)
    drawing.gradient(ink, [(0.0, drawing.mix(P.SILKSCREEN, (1, 1, 1), 0.4)), (1.0, P.SILKSCREEN)])
    ctx.set_source(ink)
    ctx.fill()
    drawing.set_font(ctx, P.SANS, 7.0, bold=True)
    drawing.centred_text_path(ctx, "OVERDRIVE", 170, L.NAME_BASELINE + 12, tracking=3.2)
    drawing.printed_legend(ctx, P.SILKSCREEN)
    # Rules either side of the lamp tie the name block together.
    ctx.set_line_width(0.9)
    ctx.set_source_rgba(*P.SILKSCREEN, 0.6)
    for x0, x1 in ((96, 156), (184, 244)):
        ctx.move_to(x0, L.LAMP[1] + 0.5)
        ctx.line_to(x1, L.LAMP[1] + 0.5)
        ctx.stroke()


def _paint_footswitch(ctx):
    """Chrome stomp switch: hex nut, knurled collar and domed plunger."""
    cx, cy = L.FOOTSWITCH
    ctx.save()
    ctx.translate(cx, cy)
    drawing.circle(ctx, 2, 4, 26)
    ctx.set_source(drawing.radial_fade(2, 4, 16, 26, (0, 0, 0), 0.6))
    ctx.fill()
    _paint_hex_nut(ctx, 21.5, 20, 0.45, 0.9)
    # Facet lines of the nut.
    for corner in range(6):
        angle = math.pi / 6 + corner * math.pi / 3
        ctx.move_to(15.0 * math.cos(angle), 15.0 * math.sin(angle))
        ctx.line_to(21.5 * math.cos(angle), 21.5 * math.sin(angle))
    ctx.set_line_width(0.6)
    ctx.set_source_rgba(0, 0, 0, 0.3)
    ctx.stroke()
    collar = cairo.LinearGradient(-15, -15, 15, 15)
    drawing.gradient(collar, [(0.0, P.CHROME_DARK), (0.5, P.CHROME_MID), (1.0, P.CHROME_LIGHT)])
    drawing.circle(ctx, 0, 0, 15.0)
    ctx.set_source(collar)
    ctx.fill()
    for tooth in range(48):
        angle = 2 * math.pi * tooth / 48
        ctx.move_to(12.6 * math.cos(angle), 12.6 * math.sin(angle))
        ctx.line_to(14.8 * math.cos(angle), 14.8 * math.sin(angle))
    ctx.set_line_width(0.7)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.stroke()
    drawing.circle(ctx, 0.5, 1.0, 12.0)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.fill()
    plunger = cairo.RadialGradient(-4, -4.5, 0.5, 0, 0, 11.7)
    drawing.gradient(plunger, [(0.0, (1, 1, 1)), (0.35, P.CHROME_LIGHT),
                               (0.8, P.CHROME_MID), (1.0, P.CHROME_DARK)])
    drawing.circle(ctx, 0, 0, 11.7)
    ctx.set_source(plunger)
    ctx.fill()
    ctx.restore()
