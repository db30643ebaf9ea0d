"""Drawing helpers shared by every picture: cairo surfaces, PIL conversion, text, noise.

Everything here is deterministic: fixed seeds, no hinting, no time stamps in the PNG files,
so regenerating the artwork gives the same bytes on the same Debian release.

Drawing code works in panel units (one unit is one pixel of the 1x pictures). A scale factor
only sets how many pixels a unit covers: surfaces carry it as their device scale, so every
coordinate, line width, radius and font size is redrawn at that resolution, and textures are
sampled more densely rather than enlarged.
"""

import math
import random

import cairo
from PIL import Image, ImageFilter

import fonts

SANS = fonts.SANS
SANS_CONDENSED = fonts.SANS_CONDENSED
SERIF = fonts.SERIF


def pixels(length, scale):
    """Pixel extent of a length in panel units, halves rounded up as the editor rounds them."""
    return int(math.floor(length * scale + 0.5))


def new_surface(width, height, scale):
    """A transparent surface of width x height panel units, drawn at scale pixels per unit."""
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, pixels(width, scale), pixels(height, scale))
    surface.set_device_scale(scale, scale)
    return surface, context(surface)


def context(surface):
    """A drawing context with unhinted text, so glyphs do not depend on font hinting."""
    ctx = cairo.Context(surface)
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_NONE)
    options.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(options)
    return ctx


def to_image(surface):
    """Cairo keeps premultiplied BGRA; PNG wants straight RGBA."""
    surface.flush()
    size = (surface.get_width(), surface.get_height())
    data = bytes(surface.get_data())
    return Image.frombuffer("RGBA", size, data, "raw", "BGRa", surface.get_stride(), 1).copy()


def from_image(image, scale):
    """A surface holding the image's pixels, scale pixels to a panel unit."""
    image = image.convert("RGBA")
    width, height = image.size
    data = bytearray(image.tobytes("raw", "BGRa"))
    stride = cairo.ImageSurface.format_stride_for_width(cairo.FORMAT_ARGB32, width)
    assert stride == width * 4
    surface = cairo.ImageSurface.create_for_data(data, cairo.FORMAT_ARGB32, width, height, stride)
    surface.set_device_scale(scale, scale)
    return surface


def save_png(image, path):
    """8-bit RGBA, not interlaced, no ancillary chunks."""
    image.convert("RGBA").save(path, format="PNG", optimize=False, compress_level=9)


def stack_frames(frames):
    width, height = frames[0].size
    strip = Image.new("RGBA", (width, height * len(frames)), (0, 0, 0, 0))
    for index, frame in enumerate(frames):
        strip.paste(frame, (0, index * height))
    return strip


def noise_image(width, height, seed, scale, stretch_x=1, stretch_y=1, blur=0.0):
    """Grey value noise over width x height panel units; stretching along one axis gives
    brushed-metal grain. The random lattice is fixed in panel units and interpolated at the
    pixel density of the scale, so every scale shows the same grain."""
    rng = random.Random(seed)
    small_w = max(1, width // stretch_x + 2)
    small_h = max(1, height // stretch_y + 2)
    small = Image.frombytes("L", (small_w, small_h), rng.randbytes(small_w * small_h))
    big = small.resize(
        (pixels(small_w * stretch_x, scale), pixels(small_h * stretch_y, scale)), Image.BILINEAR
    )
    big = big.crop((0, 0, pixels(width, scale), pixels(height, scale)))
    if blur > 0:
        big = big.filter(ImageFilter.GaussianBlur(blur * scale))
    return big


def rgb(hex_colour, alpha=1.0):
    value = int(hex_colour.lstrip("#"), 16)
    return ((value >> 16) / 255.0, ((value >> 8) & 255) / 255.0, (value & 255) / 255.0, alpha)


def polar(cx, cy, radius, degrees_from_top):
    """Point at an angle measured clockwise from twelve o'clock, as a dial reads."""
    a = math.radians(degrees_from_top)
    return cx + radius * math.sin(a), cy - radius * math.cos(a)


def set_font(ctx, family, size, bold=False, italic=False):
    fonts.require(family, bold, italic)
    slant = cairo.FONT_SLANT_ITALIC if italic else cairo.FONT_SLANT_NORMAL
    weight = cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL
    ctx.select_font_face(family, slant, weight)
    ctx.set_font_size(size)


def text_width(ctx, text, spacing=0.0):
    if spacing == 0.0:
        return ctx.text_extents(text).x_advance
    advances = [ctx.text_extents(ch).x_advance for ch in text]
    return sum(advances) + spacing * (len(text) - 1)


def show_text(ctx, text, x, y, align="left", spacing=0.0):
    """Draws text on baseline y; align is left, centre or right of x. Spacing tracks letters."""
    width = text_width(ctx, text, spacing)
    if align == "centre":
        x -= width / 2.0
    elif align == "right":
        x -= width
    if spacing == 0.0:
        ctx.move_to(x, y)
        ctx.show_text(text)
        return
    for ch in text:
        ctx.move_to(x, y)
        ctx.show_text(ch)
        x += ctx.text_extents(ch).x_advance + spacing


def engraved_text(ctx, text, x, y, colour, align="left", spacing=0.0, depth=1.0):
    """Legend printed on metal: a faint dark shadow under it lifts it off the grain."""
    ctx.set_source_rgba(0, 0, 0, 0.55)
    show_text(ctx, text, x, y + depth, align, spacing)
    ctx.set_source_rgba(*colour)
    show_text(ctx, text, x, y, align, spacing)


def centred_text(ctx, text, cx, cy):
    """Centres text on a point, vertically by its ink box."""
    ext = ctx.text_extents(text)
    ctx.move_to(cx - ext.x_bearing - ext.width / 2.0, cy - ext.y_bearing - ext.height / 2.0)
    ctx.show_text(text)


def rounded_rect(ctx, x0, y0, x1, y1, r):
    ctx.new_sub_path()
    ctx.arc(x1 - r, y0 + r, r, -math.pi / 2, 0)
    ctx.arc(x1 - r, y1 - r, r, 0, math.pi / 2)
    ctx.arc(x0 + r, y1 - r, r, math.pi / 2, math.pi)
    ctx.arc(x0 + r, y0 + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


def soft_shadow(ctx, cx, cy, radius, spread, alpha):
    """Round contact shadow: opaque-ish at radius, fading out over spread."""
    grad = cairo.RadialGradient(cx, cy, max(0.0, radius - spread * 0.3), cx, cy, radius + spread)
    grad.add_color_stop_rgba(0, 0, 0, 0, alpha)
    grad.add_color_stop_rgba(1, 0, 0, 0, 0)
    ctx.set_source(grad)
    ctx.arc(cx, cy, radius + spread, 0, 2 * math.pi)
    ctx.fill()


def conic_fill(ctx, cx, cy, radius, colour_at, segments=180):
    """Fills a disc whose colour depends on the angle only (lathe-turned metal highlights)."""
    mesh = cairo.MeshPattern()
    step = 2 * math.pi / segments
    for i in range(segments):
        a0 = i * step
        a1 = a0 + step
        c0 = colour_at(math.degrees(a0))
        c1 = colour_at(math.degrees(a1))
        x0, y0 = cx + radius * math.sin(a0), cy - radius * math.cos(a0)
        x1, y1 = cx + radius * math.sin(a1), cy - radius * math.cos(a1)
        mesh.begin_patch()
        mesh.move_to(cx, cy)
        mesh.line_to(x0, y0)
        mesh.line_to(x1, y1)
        mesh.line_to(cx, cy)
        mesh.set_corner_color_rgba(0, *c0)
        mesh.set_corner_color_rgba(1, *c0)
        mesh.set_corner_color_rgba(2, *c1)
        mesh.set_corner_color_rgba(3, *c1)
        mesh.end_patch()
    ctx.set_source(mesh)
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.fill()


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))
