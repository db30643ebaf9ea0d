"""A face the artwork needs but fontconfig cannot find stops the drawing with the package to
install, instead of drawing with a substitute. The check hides every face of
fonts-dejavu-extra behind a fontconfig configuration of its own.

Usage: missing_face_check.py <tools/artwork/generate.py>
"""

import os
import subprocess
import sys
import tempfile


def main(argv):
    generator = argv[1]
    sys.path.insert(0, os.path.dirname(generator))
    import fonts  # noqa: E402 -- the artwork's own table of faces

    core_dir = os.path.dirname(fonts._resolved_file("DejaVu Sans:weight=bold"))
    with tempfile.TemporaryDirectory(prefix="brask-fonts-") as work:
        os.mkdir(os.path.join(work, "fonts"))
        for file_name, package in fonts.FACES.values():
            if package == "fonts-dejavu-core":
                os.symlink(os.path.join(core_dir, file_name),
                           os.path.join(work, "fonts", file_name))
        config = os.path.join(work, "fonts.conf")
        with open(config, "w") as f:
            f.write('<?xml version="1.0"?><fontconfig><dir>%s/fonts</dir>'
                    "<cachedir>%s/cache</cachedir></fontconfig>" % (work, work))
        env = dict(os.environ, FONTCONFIG_FILE=config)
        drawing = subprocess.run([sys.executable, generator, os.path.join(work, "img")], env=env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if drawing.returncode == 0:
        print("the artwork was drawn although fonts-dejavu-extra's faces were hidden")
        return 1
    if "install the Debian package fonts-dejavu-extra" not in drawing.stderr:
        print("no message naming fonts-dejavu-extra; the drawing said:\n" + drawing.stderr)
        return 1
    print("a hidden face stops the drawing: " + drawing.stderr.strip())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
