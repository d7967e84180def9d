"""Where things sit on the 340 x 400 panel; the editor places its controls at
these same points, so the painted parts must line up with them."""

PANEL_W, PANEL_H = 340, 400

# Enclosure outline (cairo coordinates, pixel edges) and its corner radius.
BOX_LEFT, BOX_TOP, BOX_RIGHT, BOX_BOTTOM = 26.0, 8.0, 314.0, 392.0
BOX_RADIUS = 18.0
RIM = 5.0  # width of the bevelled edge seen from above

KNOBS = {  # name: (centre x, centre y, legend baseline)
    "BASS": (100, 71, 113.5),
    "MIDDLE": (170, 71, 113.5),
    "TREBLE": (239, 71, 113.5),
    "GAIN": (72, 143, 185.5),
    "LEVEL": (267, 143, 185.5),
}
KNOB_SIZE = 58
KNOB_FRAMES = 61
KNOB_SWEEP_START = -150.0  # degrees clockwise from straight up, frame 0
KNOB_STEP = 5.0

TOGGLE = (170, 153)
TOGGLE_RECT = (156, 139, 28, 28)  # left, top, width, height of the CabSim control
TOGGLE_LEGEND_BASELINE = 137.5

LAMP = (170, 200)
LAMP_RECT = (162, 192, 16, 16)
LAMP_GLOW_RADIUS = 7.8  # the lit lamp's glow; the dark frame covers all of it

FOOTSWITCH = (170, 295)
FOOTSWITCH_SIZE = 60

NAME_BASELINE = 247.5  # product name, caps from about y 226
LOGO_BOX = (40, 320, 150, 370)  # the click area that turns the pedal over
SLOGAN_RIGHT, SLOGAN_BASELINE = 300, 357.5

JACK_Y = 72
INFO_PANEL = (70, 80, 270, 300)  # kept plain on the back face

LOGO_W, LOGO_H = 141, 70
LOGO_DRAWN_W = 140  # the panel draws 140 columns; the last one stays empty
