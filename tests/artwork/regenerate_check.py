"""Draws both picture sets into a temporary folder and compares them byte for byte with the
committed ones: the 1x pictures must not change, and the 2x pictures must be what the drawing
code gives today.

Usage: regenerate_check.py <tools/artwork/generate.py> <resources/img>
Fails, never skips, when the drawing cannot run here (a module or a font face missing): a
machine that cannot check the pictures must not report them as checked.
"""

import filecmp
import importlib.util
import os
import subprocess
import sys
import tempfile

def _picture_files(folder):
    return sorted(name for name in os.listdir(folder) if name.endswith(".png"))


def _compare(committed, drawn, label):
    """Lists what differs between two picture folders; an empty list means identical."""
    problems = []
    expected, got = _picture_files(committed), _picture_files(drawn)
    if expected != got:
        problems.append("%s: committed %s, drawn %s" % (label, expected, got))
    for name in sorted(set(expected) & set(got)):
        if not filecmp.cmp(os.path.join(committed, name), os.path.join(drawn, name), shallow=False):
            problems.append("%s/%s differs from the drawing code's output" % (label, name))
    return problems


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: regenerate_check.py <generate.py> <resources/img>\n")
        return 2
    generator, committed = argv[1], argv[2]
    missing = [m for m in ("cairo", "PIL") if importlib.util.find_spec(m) is None]
    if missing:
        print("%s not importable by %s (install python3-cairo python3-pil)"
              % (", ".join(missing), sys.executable))
        return 1
    with tempfile.TemporaryDirectory(prefix="brask-artwork-") as drawn:
        drawing = subprocess.run([sys.executable, generator, drawn], stdout=subprocess.DEVNULL,
                                 stderr=subprocess.PIPE, text=True)
        if drawing.returncode != 0:
            print(drawing.stderr.strip())
            return 1
        problems = _compare(committed, drawn, "img")
        problems += _compare(os.path.join(committed, "2x"), os.path.join(drawn, "2x"), "img/2x")
    for problem in problems:
        print(problem)
    if problems:
        print("regenerate with: tools/artwork/generate.py resources/img")
        return 1
    print("both picture sets match the drawing code")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
