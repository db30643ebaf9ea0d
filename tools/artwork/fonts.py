"""The font faces the artwork draws with, and a check that fontconfig finds exactly those.

Cairo's toy text API asks fontconfig for a family, and fontconfig quietly substitutes another
face when the one asked for is not installed: the pictures would then be drawn with other
glyphs and differ from the committed ones for no visible reason. Every face is therefore
looked up before it is first used, and a face that resolves to any other file stops the
drawing with the Debian package that provides it.
"""

import subprocess

SANS = "DejaVu Sans"
SANS_CONDENSED = "DejaVu Sans Condensed"
SERIF = "DejaVu Serif"

# (family, bold, italic) -> (font file fontconfig must resolve it to, Debian package)
FACES = {
    (SANS, True, False): ("DejaVuSans-Bold.ttf", "fonts-dejavu-core"),
    (SANS_CONDENSED, True, False): ("DejaVuSansCondensed-Bold.ttf", "fonts-dejavu-extra"),
    (SERIF, True, False): ("DejaVuSerif-Bold.ttf", "fonts-dejavu-core"),
    (SERIF, True, True): ("DejaVuSerif-BoldItalic.ttf", "fonts-dejavu-extra"),
}

_checked = set()


class MissingFace(SystemExit):
    pass


def _pattern(family, bold, italic):
    return "%s:weight=%s:slant=%s" % (family, "bold" if bold else "regular",
                                      "italic" if italic else "roman")


def _resolved_file(pattern):
    try:
        result = subprocess.run(["fc-match", "--format=%{file}", pattern], check=True,
                                capture_output=True, text=True)
    except FileNotFoundError:
        raise MissingFace("artwork: fc-match is missing; install the Debian package fontconfig")
    return result.stdout.strip()


def require(family, bold, italic):
    """Stops with a message naming the package when the face would be substituted."""
    key = (family, bold, italic)
    if key in _checked:
        return
    if key not in FACES:
        raise MissingFace("artwork: no font file is declared for %s" % _pattern(*key))
    expected, package = FACES[key]
    resolved = _resolved_file(_pattern(*key))
    if resolved.rsplit("/", 1)[-1] != expected:
        raise MissingFace(
            "artwork: fontconfig resolves %s to %s, not %s; install the Debian package %s"
            % (_pattern(*key), resolved or "nothing", expected, package))
    _checked.add(key)
