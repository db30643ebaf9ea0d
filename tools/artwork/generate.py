#!/usr/bin/python3
"""Draws the ten pictures of the Brask panel into a folder.

Usage: tools/artwork/generate.py resources/img

Needs the Debian packages python3-cairo, python3-pil and fonts-dejavu-core. The output is
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


def _frames_for(name, width, height, count):
    if name in ("input", "output"):
        assert width == height
        return knobs.big_knob_frames(width, count)
    if name in ("attack", "release", "mix", "hpf"):
        return knobs.trimmer_frames(width, height, count)
    if name == "power":
        return lamps.lamp_frames(width, height, lamps.RED)
    if name == "sidechain":
        return lamps.lamp_frames(width, height, lamps.AMBER)
    return meter.meter_frames(width, height, count)


def generate(folder):
    os.makedirs(folder, exist_ok=True)
    written = []
    bg = background.background(layout.PANEL_WIDTH, layout.PANEL_HEIGHT)
    path = os.path.join(folder, layout.BACKGROUND_FILE)
    canvas.save_png(bg, path)
    written.append(path)
    for name, (file_name, _, _, width, height, count) in layout.STRIPS.items():
        frames = _frames_for(name, width, height, count)
        assert len(frames) == count
        path = os.path.join(folder, file_name)
        canvas.save_png(canvas.stack_frames(frames), path)
        written.append(path)
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
