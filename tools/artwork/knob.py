"""The knob strip: a dark knurled knob with a bone-white pointer, seen from
above, in 61 frames turning clockwise from 7 o'clock to 5 o'clock."""

import math

import cairo

import drawing
import layout as L
import palette as P

C = L.KNOB_SIZE / 2
SHADOW_R, SKIRT_R, CAP_R = 27.5, 24.5, 18.5
SHADOW_DX, SHADOW_DY = 1.0, 1.8
RIDGES = 36


def frame_angle(frame):
    """Pointer direction of a frame in degrees, clockwise from straight up."""
    return L.KNOB_SWEEP_START + L.KNOB_STEP * frame


def paint_knob(ctx, angle_deg):
    turn = math.radians(angle_deg)
    # Shadow cast down and to the right; it fades out inside the circle that
    # fits the 58 px square, so the corners stay fully transparent.
    sx, sy = C + SHADOW_DX, C + SHADOW_DY
    drawing.circle(ctx, sx, sy, SHADOW_R - 1.0)
    ctx.set_source(drawing.radial_fade(sx, sy, SKIRT_R - 3, SHADOW_R, (0, 0, 0), 0.65))
    ctx.fill()

    # Knurled skirt: ridges turn with the knob, the light stays put.
    drawing.circle(ctx, C, C, SKIRT_R)
    ctx.set_source_rgb(*P.KNOB_BODY)
    ctx.fill()
    for ridge in range(RIDGES):
        a0 = turn + 2 * math.pi * ridge / RIDGES
        a1 = a0 + math.pi / RIDGES
        ctx.move_to(C, C)
        ctx.arc(C, C, SKIRT_R, a0 - math.pi / 2, a1 - math.pi / 2)
        ctx.close_path()
        ctx.set_source_rgba(1, 1, 1, 0.07)
        ctx.fill()
    light = cairo.LinearGradient(C - SKIRT_R, C - SKIRT_R, C + SKIRT_R, C + SKIRT_R)
    light.add_color_stop_rgba(0.0, 1, 1, 1, 0.22)
    light.add_color_stop_rgba(0.5, 1, 1, 1, 0.0)
    light.add_color_stop_rgba(1.0, 0, 0, 0, 0.35)
    drawing.circle(ctx, C, C, SKIRT_R)
    ctx.set_source(light)
    ctx.fill()
    drawing.circle(ctx, C, C, SKIRT_R - 0.5)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.stroke()

    # Domed cap: a step down from the skirt, lit from the upper left.
    drawing.circle(ctx, C + 0.6, C + 1.0, CAP_R + 0.8)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.fill()
    cap = cairo.RadialGradient(C - 6, C - 7, 1.0, C, C, CAP_R)
    drawing.gradient(cap, [(0.0, drawing.mix(P.KNOB_CAP, (1, 1, 1), 0.12)),
                           (0.55, P.KNOB_CAP),
                           (1.0, P.KNOB_BODY)])
    drawing.circle(ctx, C, C, CAP_R)
    ctx.set_source(cap)
    ctx.fill()
    rim = cairo.LinearGradient(C - CAP_R, C - CAP_R, C + CAP_R, C + CAP_R)
    rim.add_color_stop_rgba(0.0, 1, 1, 1, 0.30)
    rim.add_color_stop_rgba(0.5, 1, 1, 1, 0.04)
    rim.add_color_stop_rgba(1.0, 1, 1, 1, 0.0)
    drawing.circle(ctx, C, C, CAP_R - 0.6)
    ctx.set_line_width(1.2)
    ctx.set_source(rim)
    ctx.stroke()

    # Pointer: an inlaid line from near the centre out across the skirt.
    dx, dy = math.sin(turn), -math.cos(turn)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(2.8)
    ctx.move_to(C + dx * 6.0, C + dy * 6.0)
    ctx.line_to(C + dx * (SKIRT_R - 2.2), C + dy * (SKIRT_R - 2.2))
    ctx.set_source_rgb(*P.KNOB_POINTER)
    ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)


def render_knob_strip():
    surface = drawing.new_surface(L.KNOB_SIZE, L.KNOB_SIZE * L.KNOB_FRAMES)
    ctx = drawing.new_context(surface)
    for frame in range(L.KNOB_FRAMES):
        ctx.save()
        ctx.translate(0, frame * L.KNOB_SIZE)
        ctx.rectangle(0, 0, L.KNOB_SIZE, L.KNOB_SIZE)
        ctx.clip()
        paint_knob(ctx, frame_angle(frame))
        ctx.restore()
    return surface
