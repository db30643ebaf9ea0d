"""Where every picture sits on the panel, and the strips' sizes and frame counts.

The background prints scales and sockets around these rectangles, so the knob, switch and
meter strips line up with it when the editor composites them.
"""

PANEL_WIDTH = 796
PANEL_HEIGHT = 472

# name: (file, x, y, frame width, frame height, frames)
STRIPS = {
    "input": ("Thr.png", 145, 311, 117, 117, 121),
    "output": ("Out.png", 528, 311, 117, 117, 121),
    "attack": ("Atk.png", 119, 140, 26, 25, 61),
    "release": ("Rel.png", 120, 191, 25, 26, 61),
    "mix": ("Mix.png", 655, 140, 25, 25, 61),
    "hpf": ("Hpf.png", 655, 191, 25, 26, 61),
    "power": ("by.png", 321, 345, 49, 49, 2),
    "sidechain": ("SC.png", 431, 345, 51, 49, 2),
    "meter": ("vu.png", 316, 68, 171, 100, 101),
}
BACKGROUND_FILE = "bg.png"

# Sweep of the large knobs' pointer and of the trimmers' slot, clockwise from twelve o'clock.
KNOB_SWEEP = (-135.0, 135.0)
TRIMMER_SWEEP = (-45.0, 45.0)


def centre(name):
    _, x, y, w, h, _ = STRIPS[name]
    return x + w / 2.0, y + h / 2.0


def rect(name):
    _, x, y, w, h, _ = STRIPS[name]
    return x, y, x + w, y + h


def sweep_angle(sweep, value):
    return sweep[0] + (sweep[1] - sweep[0]) * value


def frame_value(index, frames):
    """Normalized value that the editor shows with frame index (0-based)."""
    return index / float(frames - 1)
