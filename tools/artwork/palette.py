"""Colours, key colours and type faces shared by every picture of the pedal.

Colours are (red, green, blue) floats for cairo; key colours are the exact
8-bit triples that the tRNS chunk names.
"""

SURROUND = (0.035, 0.035, 0.04)

# Powder-coated moss green enclosure with bone-white silk-screen.
ENCLOSURE_FACE = (0.215, 0.275, 0.19)
ENCLOSURE_RIM_LIGHT = (0.36, 0.43, 0.31)
ENCLOSURE_RIM_DARK = (0.07, 0.09, 0.06)
SILKSCREEN = (0.93, 0.90, 0.80)

# The bottom plate is dark so that the information panel's white text reads.
BASE_PLATE = (0.135, 0.14, 0.145)
RUBBER = (0.05, 0.05, 0.05)

CHROME_LIGHT = (0.93, 0.94, 0.95)
CHROME_MID = (0.62, 0.64, 0.66)
CHROME_DARK = (0.22, 0.23, 0.25)

KNOB_BODY = (0.085, 0.085, 0.09)
KNOB_CAP = (0.17, 0.17, 0.18)
KNOB_POINTER = (0.96, 0.93, 0.84)

LAMP_LIT_CORE = (1.0, 1.0, 0.96)
LAMP_LIT_EDGE = (1.0, 0.88, 0.42)
LAMP_DARK_CORE = (0.32, 0.20, 0.10)
LAMP_DARK_EDGE = (0.12, 0.07, 0.04)

LOGO_WHITE = (1.0, 1.0, 1.0)

# Pixels of exactly these colours are transparent in the keyed images.
KEY_CYAN = (0, 162, 232)
KEY_WHITE = (255, 255, 255)

SANS = "DejaVu Sans"
SERIF = "Liberation Serif"
