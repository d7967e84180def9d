"""One picture for reviewing the artwork: every image at its real size (small
ones also enlarged), transparency shown as a checkerboard, plus the front panel
assembled the way the editor stacks its controls."""

from PIL import Image, ImageDraw, ImageFont

import fonts
import layout as L

SHEET_W, SHEET_H = 1200, 1150
PAPER = (46, 48, 52, 255)
INK = (225, 225, 220, 255)
NOTE = (150, 155, 160, 255)


def build(images, keyed):
    sheet = Image.new("RGBA", (SHEET_W, SHEET_H), PAPER)
    pen = ImageDraw.Draw(sheet)
    title, label = _font(15, bold=True), _font(11)
    pen.text((20, 14), "Murkfell editor artwork (resources/*.png)", font=title, fill=INK)

    seen = {name: _with_alpha(image, keyed.get(name)) for name, image in images.items()}
    background = seen["BackgroundBitmap.png"]
    _place(sheet, pen, label, background.crop((0, 0, 340, 400)), (20, 60),
           "BackgroundBitmap.png 340x800: upper half (front)")
    _place(sheet, pen, label, background.crop((0, 400, 340, 800)), (380, 60),
           "lower half (back)")

    knobs = seen["knobAnimBitmap.png"]
    pen.text((740, 42), "knobAnimBitmap.png 58x3538: frames 0 to 60", font=label, fill=INK)
    for frame in range(L.KNOB_FRAMES):
        tile = knobs.crop((0, frame * 58, 58, frame * 58 + 58))
        x, y = 740 + (frame % 7) * 64, 60 + (frame // 7) * 64
        sheet.paste(_on_checker(tile), (x, y))

    x = 20
    for name, scale in (("CabSimBitmap.png", 3), ("BypassBitmap.png", 1),
                        ("LedBitmap.png", 4), ("OrvetonLogoBitmap.png", 1)):
        image = seen[name]
        shown = image.resize((image.width * scale, image.height * scale), Image.NEAREST)
        caption = f"{name} {image.width}x{image.height}" + (f" (x{scale})" if scale > 1 else "")
        _place(sheet, pen, label, shown, (x, 500), caption)
        x += max(shown.width, 150) + 26
    logo = seen["OrvetonLogoBitmap.png"]
    dark = Image.new("RGBA", logo.size, (30, 30, 32, 255))
    dark.alpha_composite(logo)
    _place(sheet, pen, label, dark, (x - 176, 600), "logo on a dark ground")

    _place(sheet, pen, label, assemble(seen, 0.5, cabsim_on=True, bypassed=False), (20, 730),
           "assembled: knobs at 0.5, CabSim on, active")
    _place(sheet, pen, label, assemble(seen, 0.0, cabsim_on=False, bypassed=True), (380, 730),
            "assembled: knobs at 0 / 1, CabSim off, bypassed")
    pen.text((740, 730), "Checkerboard: transparent pixels (alpha or tRNS key colour).",
             font=label, fill=NOTE)
    pen.text((740, 748), "Regenerate: /usr/bin/python3 tools/artwork/generate_artwork.py",
             font=label, fill=NOTE)
    return sheet


def assemble(seen, knob_value, cabsim_on, bypassed):
    """The front panel as the editor draws it: background, knobs, switches, lamp."""
    panel = seen["BackgroundBitmap.png"].crop((0, 0, 340, 400))
    knobs = seen["knobAnimBitmap.png"]
    for index, (cx, cy, _) in enumerate(L.KNOBS.values()):
        value = knob_value if knob_value > 0 else (0.0, 1.0)[index % 2]
        frame = round(value * (L.KNOB_FRAMES - 1))
        tile = knobs.crop((0, frame * 58, 58, frame * 58 + 58))
        panel.alpha_composite(tile, (cx - 29, cy - 29))
    cabsim = seen["CabSimBitmap.png"]
    panel.alpha_composite(cabsim.crop((0, 28 if cabsim_on else 0, 28, 56 if cabsim_on else 28)),
                          L.TOGGLE_RECT[:2])
    lamp = seen["LedBitmap.png"]
    panel.alpha_composite(lamp.crop((0, 16 if bypassed else 0, 16, 32 if bypassed else 16)),
                          L.LAMP_RECT[:2])
    return panel


def _with_alpha(image, key):
    if key is None:
        return image.convert("RGBA")
    rgba = image.convert("RGBA")
    rgba.putdata([(r, g, b, 0) if (r, g, b) == key else (r, g, b, 255)
                  for r, g, b, _ in rgba.getdata()])
    return rgba


def _on_checker(image, cell=6):
    board = Image.new("RGBA", image.size, (200, 200, 200, 255))
    pen = ImageDraw.Draw(board)
    for y in range(0, image.height, cell):
        for x in range((y // cell % 2) * cell, image.width, 2 * cell):
            pen.rectangle((x, y, x + cell - 1, y + cell - 1), fill=(150, 150, 150, 255))
    board.alpha_composite(image)
    return board


def _place(sheet, pen, font, image, at, caption):
    pen.text((at[0], at[1] - 17), caption, font=font, fill=INK)
    sheet.paste(_on_checker(image), at)


def _font(size, bold=False):
    return ImageFont.truetype(fonts.face_file("DejaVu Sans", bold), size)
