"""Renders the six editor images as PIL images, keyed by their file names."""

from PIL import Image

import back_face
import drawing
import front_face
import keyed_frames
import knob
import layout as L
import logo
import palette as P

KEYED = {"CabSimBitmap.png": P.KEY_CYAN, "BypassBitmap.png": P.KEY_WHITE,
         "LedBitmap.png": P.KEY_CYAN}


def render_all():
    front = drawing.to_image(front_face.render_front(lever_on=True, lamp_lit=True))
    lever_off = drawing.to_image(front_face.render_front(lever_on=False, lamp_lit=True))
    lamp_dark = drawing.to_image(front_face.render_front(lever_on=True, lamp_lit=False))
    # The keyed frames can only hide what lies inside their control's rectangle.
    for state, rect in ((lever_off, L.TOGGLE_RECT), (lamp_dark, L.LAMP_RECT)):
        if not keyed_frames.outside_unchanged(front, state, rect):
            raise RuntimeError(f"state change spills outside the control at {rect}")

    background = Image.new("RGBA", (L.PANEL_W, 2 * L.PANEL_H))
    background.paste(front, (0, 0))
    background.paste(drawing.to_image(back_face.render_back()), (0, L.PANEL_H))

    toggle_w, toggle_h = L.TOGGLE_RECT[2:]
    lamp_w, lamp_h = L.LAMP_RECT[2:]
    return {
        "BackgroundBitmap.png": background,
        "knobAnimBitmap.png": drawing.to_image(knob.render_knob_strip()),
        "CabSimBitmap.png": keyed_frames.stack([
            keyed_frames.difference_frame(lever_off, front, L.TOGGLE_RECT, P.KEY_CYAN),
            keyed_frames.solid_frame(toggle_w, toggle_h, P.KEY_CYAN)]),
        "BypassBitmap.png": keyed_frames.stack(
            [keyed_frames.solid_frame(L.FOOTSWITCH_SIZE, L.FOOTSWITCH_SIZE, P.KEY_WHITE)] * 2),
        "LedBitmap.png": keyed_frames.stack([
            keyed_frames.solid_frame(lamp_w, lamp_h, P.KEY_CYAN),
            # Opaque over the whole lamp, not only where the two renderings
            # differ: the dark lamp must not depend on what lies under it.
            keyed_frames.difference_frame(
                lamp_dark, front, L.LAMP_RECT, P.KEY_CYAN,
                cover=keyed_frames.disc_mask((lamp_w, lamp_h), L.LAMP_GLOW_RADIUS))]),
        "OrvetonLogoBitmap.png": drawing.to_image(logo.render_logo()),
    }
