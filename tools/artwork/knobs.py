"""The two large level knobs and the four slotted trimmers, one frame per position.

Light falls from above on every frame, so only the parts that turn with the knob (pointer,
index line, flutes, slot) are drawn per frame; the lit metal stays put as on a real panel.
"""

import math
import random

import cairo

import canvas
from layout import KNOB_SWEEP, TRIMMER_SWEEP, frame_value, sweep_angle

LIGHT_DEG = -25.0  # light comes from slightly left of twelve o'clock


def _metal(base, contrast):
    def colour_at(deg):
        a = math.radians(deg - LIGHT_DEG)
        v = base + contrast * math.cos(2 * a) + contrast * 0.35 * math.cos(6 * a + 0.7)
        v = max(0.0, min(1.0, v))
        return (v, v * 0.995, v * 0.985, 1.0)

    return colour_at


def _lathe_rings(ctx, cx, cy, radius, seed):
    """Fine concentric turning marks on a metal cap."""
    rng = random.Random(seed)
    r = 1.0
    while r < radius:
        shade = rng.random()
        ctx.set_source_rgba(1, 1, 1, 0.05) if shade > 0.5 else ctx.set_source_rgba(0, 0, 0, 0.06)
        ctx.set_line_width(0.5)
        ctx.arc(cx, cy, r, 0, 2 * math.pi)
        ctx.stroke()
        r += 0.55 + rng.random() * 0.5


def _bevel_ring(ctx, cx, cy, radius, width, top_alpha, bottom_alpha):
    grad = cairo.LinearGradient(cx, cy - radius, cx, cy + radius)
    grad.add_color_stop_rgba(0, 1, 1, 1, top_alpha)
    grad.add_color_stop_rgba(0.5, 1, 1, 1, 0)
    grad.add_color_stop_rgba(1, 0, 0, 0, bottom_alpha)
    ctx.set_source(grad)
    ctx.set_line_width(width)
    ctx.arc(cx, cy, radius - width / 2.0, 0, 2 * math.pi)
    ctx.stroke()


# --- large knob -------------------------------------------------------------------------------

BIG_SKIRT = 46.0
BIG_BODY = 39.5
BIG_CAP = 31.0


def _big_base(size, scale):
    """Shadow and skirt: everything under the turning flutes."""
    surface, ctx = canvas.new_surface(size, size, scale)
    c = size / 2.0
    canvas.soft_shadow(ctx, c + 1.0, c + 4.5, BIG_SKIRT - 1.0, 8.0, 0.75)
    grad = cairo.RadialGradient(c, c - 10, 4, c, c, BIG_SKIRT)
    grad.add_color_stop_rgb(0, *canvas.rgb("#2a2b2e")[:3])
    grad.add_color_stop_rgb(0.75, *canvas.rgb("#18191b")[:3])
    grad.add_color_stop_rgb(1, *canvas.rgb("#0b0b0c")[:3])
    ctx.set_source(grad)
    ctx.arc(c, c, BIG_SKIRT, 0, 2 * math.pi)
    ctx.fill()
    _bevel_ring(ctx, c, c, BIG_SKIRT, 1.6, 0.35, 0.6)
    # the skirt's top face is a shallow cone: a soft sheen on the lit side
    sheen = cairo.LinearGradient(c, c - BIG_SKIRT, c, c + BIG_SKIRT)
    sheen.add_color_stop_rgba(0, 1, 1, 1, 0.10)
    sheen.add_color_stop_rgba(0.45, 1, 1, 1, 0.0)
    ctx.set_source(sheen)
    ctx.arc(c, c, BIG_SKIRT - 1.5, 0, 2 * math.pi)
    ctx.fill()
    return surface


def _big_cap(size, scale):
    """Machined aluminium insert on top of the knob."""
    surface, ctx = canvas.new_surface(size, size, scale)
    c = size / 2.0
    canvas.soft_shadow(ctx, c, c + 1.5, BIG_CAP, 2.5, 0.7)
    canvas.conic_fill(ctx, c, c, BIG_CAP, _metal(0.66, 0.17))
    ctx.save()
    ctx.arc(c, c, BIG_CAP, 0, 2 * math.pi)
    ctx.clip()
    _lathe_rings(ctx, c, c, BIG_CAP, 7)
    ctx.restore()
    dish = cairo.RadialGradient(c, c, 0, c, c, BIG_CAP)
    dish.add_color_stop_rgba(0, 1, 1, 1, 0.10)
    dish.add_color_stop_rgba(0.8, 0, 0, 0, 0.0)
    dish.add_color_stop_rgba(1, 0, 0, 0, 0.18)
    ctx.set_source(dish)
    ctx.arc(c, c, BIG_CAP, 0, 2 * math.pi)
    ctx.fill()
    _bevel_ring(ctx, c, c, BIG_CAP, 1.4, 0.8, 0.55)
    return surface


def _big_flutes(ctx, c, angle):
    """Knurled grip between skirt and cap; the flutes turn with the knob."""
    count = 36
    ctx.new_path()
    for i in range(count * 2):
        a = angle + i * 180.0 / count
        r = BIG_BODY if i % 2 == 0 else BIG_BODY - 1.8
        x, y = canvas.polar(c, c, r, a)
        ctx.line_to(x, y)
    ctx.close_path()
    ctx.set_source_rgb(*canvas.rgb("#111214")[:3])
    ctx.fill()
    for i in range(count):
        a = angle + i * 360.0 / count
        lit = math.cos(math.radians(a - LIGHT_DEG))
        x0, y0 = canvas.polar(c, c, BIG_CAP + 0.5, a)
        x1, y1 = canvas.polar(c, c, BIG_BODY - 0.6, a)
        if lit > 0:
            ctx.set_source_rgba(1, 1, 1, 0.08 + 0.30 * lit)
        else:
            ctx.set_source_rgba(1, 1, 1, 0.06 + 0.04 * lit)
        ctx.set_line_width(1.0)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.stroke()
    # an overall shading of the grip's rounded shoulder
    grad = cairo.LinearGradient(c, c - BIG_BODY, c, c + BIG_BODY)
    grad.add_color_stop_rgba(0, 1, 1, 1, 0.10)
    grad.add_color_stop_rgba(1, 0, 0, 0, 0.45)
    ctx.set_source(grad)
    ctx.arc(c, c, BIG_BODY, 0, 2 * math.pi)
    ctx.fill()


def _big_pointer(ctx, c, angle):
    # white index line on the skirt
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    x0, y0 = canvas.polar(c, c, BIG_BODY + 1.5, angle)
    x1, y1 = canvas.polar(c, c, BIG_SKIRT - 2.0, angle)
    ctx.set_source_rgba(*canvas.rgb("#f2ede0"))
    ctx.set_line_width(2.6)
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.stroke()
    # engraved groove on the cap, filled black, with a lit lower lip
    x0, y0 = canvas.polar(c, c, 9.0, angle)
    x1, y1 = canvas.polar(c, c, BIG_CAP - 3.5, angle)
    ctx.set_source_rgba(1, 1, 1, 0.55)
    ctx.set_line_width(3.6)
    ctx.move_to(x0, y0 + 0.7)
    ctx.line_to(x1, y1 + 0.7)
    ctx.stroke()
    ctx.set_source_rgb(*canvas.rgb("#121212")[:3])
    ctx.set_line_width(3.0)
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.stroke()


def big_knob_frames(size, frames, scale):
    base = _big_base(size, scale)
    cap = _big_cap(size, scale)
    c = size / 2.0
    images = []
    for index in range(frames):
        angle = sweep_angle(KNOB_SWEEP, frame_value(index, frames))
        surface, ctx = canvas.new_surface(size, size, scale)
        ctx.set_source_surface(base)
        ctx.paint()
        _big_flutes(ctx, c, angle)
        ctx.set_source_surface(cap)
        ctx.paint()
        _big_pointer(ctx, c, angle)
        images.append(canvas.to_image(surface))
    return images


# --- trimmer ----------------------------------------------------------------------------------

TRIM_HEAD = 9.4


def _trimmer_head(width, height, scale):
    surface, ctx = canvas.new_surface(width, height, scale)
    cx, cy = width / 2.0, height / 2.0
    canvas.soft_shadow(ctx, cx + 0.3, cy + 0.9, TRIM_HEAD, 1.5, 0.85)
    canvas.conic_fill(ctx, cx, cy, TRIM_HEAD, _metal(0.70, 0.16), segments=96)
    dome = cairo.RadialGradient(cx - 2.5, cy - 3.5, 0.5, cx, cy, TRIM_HEAD)
    dome.add_color_stop_rgba(0, 1, 1, 1, 0.45)
    dome.add_color_stop_rgba(0.5, 1, 1, 1, 0.0)
    dome.add_color_stop_rgba(1, 0, 0, 0, 0.35)
    ctx.set_source(dome)
    ctx.arc(cx, cy, TRIM_HEAD, 0, 2 * math.pi)
    ctx.fill()
    _bevel_ring(ctx, cx, cy, TRIM_HEAD, 1.0, 0.7, 0.7)
    return surface


def _trimmer_slot(ctx, cx, cy, angle):
    half = TRIM_HEAD - 1.6
    x0, y0 = canvas.polar(cx, cy, half, angle + 180.0)
    x1, y1 = canvas.polar(cx, cy, half, angle)
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    ctx.set_source_rgba(1, 1, 1, 0.55)
    ctx.set_line_width(2.9)
    ctx.move_to(x0 + 0.3, y0 + 0.6)
    ctx.line_to(x1 + 0.3, y1 + 0.6)
    ctx.stroke()
    ctx.set_source_rgb(*canvas.rgb("#141414")[:3])
    ctx.set_line_width(2.5)
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.stroke()
    # a dab of paint marks the slot's reading end
    xd, yd = canvas.polar(cx, cy, half - 1.1, angle)
    ctx.set_source_rgba(*canvas.rgb("#f5efe0"))
    ctx.arc(xd, yd, 1.25, 0, 2 * math.pi)
    ctx.fill()


def trimmer_frames(width, height, frames, scale):
    head = _trimmer_head(width, height, scale)
    cx, cy = width / 2.0, height / 2.0
    images = []
    for index in range(frames):
        angle = sweep_angle(TRIMMER_SWEEP, frame_value(index, frames))
        surface, ctx = canvas.new_surface(width, height, scale)
        ctx.set_source_surface(head)
        ctx.paint()
        _trimmer_slot(ctx, cx, cy, angle)
        images.append(canvas.to_image(surface))
    return images
