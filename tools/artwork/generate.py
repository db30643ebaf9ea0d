#!/usr/bin/python3
"""Draws the ten pictures of the Brask panel into a folder, and the same ten at twice the
resolution into its subfolder 2x (same file names, twice the width and height per frame, the
same frame counts), for editors on high-resolution screens.

Usage: tools/artwork/generate.py resources/img

Needs the Debian packages python3-cairo, python3-pil, fontconfig, fonts-dejavu-core and
fonts-dejavu-extra; a font face that is missing stops it (fonts.py). The output is
the same bytes on every run, so regenerated files only show up in a diff when a drawing
changed.
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import background  # noqa: E402
import canvas  # noqa: E402
import knobs  # noqa: E402
import lamps  # noqa: E402
import layout  # noqa: E402
import meter  # noqa: E402


# Pixels per panel unit of each picture set, and the subfolder it is written to.
SCALES = ((1, ""), (2, "2x"))


def _frames_for(name, width, height, count, scale):
    if name in ("input", "output"):
        assert width == height
        return knobs.big_knob_frames(width, count, scale)
    if name in ("attack", "release", "mix", "hpf"):
        return knobs.trimmer_frames(width, height, count, scale)
    if name == "power":
        return lamps.lamp_frames(width, height, lamps.RED, scale)
    if name == "sidechain":
        return lamps.lamp_frames(width, height, lamps.AMBER, scale)
    return meter.meter_frames(width, height, count, scale)


def generate_set(folder, scale):
    """Writes the ten pictures at scale pixels per panel unit into folder."""
    os.makedirs(folder, exist_ok=True)
    written = []
    bg = background.background(layout.PANEL_WIDTH, layout.PANEL_HEIGHT, scale)
    assert bg.size == (canvas.pixels(layout.PANEL_WIDTH, scale),
                       canvas.pixels(layout.PANEL_HEIGHT, scale))
    path = os.path.join(folder, layout.BACKGROUND_FILE)
    canvas.save_png(bg, path)
    written.append(path)
    for name, (file_name, _, _, width, height, count) in layout.STRIPS.items():
        frames = _frames_for(name, width, height, count, scale)
        assert len(frames) == count
        assert frames[0].size == (canvas.pixels(width, scale), canvas.pixels(height, scale))
        path = os.path.join(folder, file_name)
        canvas.save_png(canvas.stack_frames(frames), path)
        written.append(path)
    return written


def generate(folder):
    written = []
    for scale, subfolder in SCALES:
        written += generate_set(os.path.join(folder, subfolder) if subfolder else folder, scale)
    return written


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: generate.py <output folder>\n")
        return 2
    for path in generate(argv[1]):
        print("wrote", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
