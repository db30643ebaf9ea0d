"""The gain-reduction meter: a backlit VU face with a needle, one frame per 1% of gain.

The scale is a classic VU scale, whose needle position is proportional to amplitude with
0 VU at 100%. Frame k shows the needle at amplitude 1 - k/100: frame 1 rests on 0 VU (no
gain reduction), the last frame lies at the left stop, and every frame in between reads the
applied gain in dB on the printed scale.
"""

import math

import cairo

import canvas

PIVOT_DROP = 34.0  # pivot sits this far below the face, hidden by the hood
ARC_RADIUS = 96.0
HALF_SWEEP = 47.0
FULL_SCALE = 10 ** (3 / 20.0)  # +3 VU at the right stop

INK = canvas.rgb("#1d1a16")
RED = canvas.rgb("#c4261c")


def _angle_for_amplitude(amplitude):
    return -HALF_SWEEP + 2 * HALF_SWEEP * amplitude / FULL_SCALE


def _angle_for_db(db):
    return _angle_for_amplitude(10 ** (db / 20.0))


def _arc(ctx, px, py, radius, deg0, deg1):
    ctx.new_sub_path()
    ctx.arc(px, py, radius, math.radians(deg0 - 90), math.radians(deg1 - 90))


def _tick(ctx, px, py, deg, r0, r1, width, colour):
    ctx.set_source_rgba(*colour)
    ctx.set_line_width(width)
    ctx.move_to(*canvas.polar(px, py, r0, deg))
    ctx.line_to(*canvas.polar(px, py, r1, deg))
    ctx.stroke()


def _face(width, height, scale):
    surface, ctx = canvas.new_surface(width, height, scale)
    px, py = width / 2.0, height + PIVOT_DROP
    glow = cairo.RadialGradient(px, height * 0.75, 5, px, height * 0.6, width * 0.72)
    glow.add_color_stop_rgb(0, *canvas.rgb("#fdf3cf")[:3])
    glow.add_color_stop_rgb(0.6, *canvas.rgb("#f1deaa")[:3])
    glow.add_color_stop_rgb(1, *canvas.rgb("#cdb57a")[:3])
    ctx.set_source(glow)
    ctx.paint()

    # main dB scale
    left, zero, right = _angle_for_db(-20), _angle_for_db(0), _angle_for_amplitude(FULL_SCALE)
    ctx.set_source_rgba(*INK)
    ctx.set_line_width(1.1)
    _arc(ctx, px, py, ARC_RADIUS, left, zero)
    ctx.stroke()
    ctx.set_source_rgba(*RED)
    ctx.set_line_width(4.0)
    _arc(ctx, px, py, ARC_RADIUS + 2.0, zero, right)
    ctx.stroke()
    ctx.set_line_width(1.1)
    _arc(ctx, px, py, ARC_RADIUS, zero, right)
    ctx.stroke()

    labelled = {-20: "20", -10: "10", -7: "7", -5: "5", -3: "3", -2: "2", -1: "1", 0: "0",
                1: "1", 2: "2", 3: "3"}
    canvas.set_font(ctx, canvas.SANS_CONDENSED, 8.5, bold=True)
    for db in (-20, -10, -7, -6, -5, -4, -3, -2, -1, 0, 1, 2, 3):
        deg = _angle_for_db(db)
        colour = RED if db > 0 else INK
        major = db in labelled
        _tick(ctx, px, py, deg, ARC_RADIUS, ARC_RADIUS + (7.5 if major else 4.5),
              1.2 if major else 0.9, colour)
        if major:
            ctx.set_source_rgba(*colour)
            canvas.centred_text(ctx, labelled[db], *canvas.polar(px, py, ARC_RADIUS + 14.0, deg))
    for db in (-15, -0.5, 0.5, 1.5, 2.5):
        colour = RED if db > 0 else INK
        _tick(ctx, px, py, _angle_for_db(db), ARC_RADIUS, ARC_RADIUS + 3.0, 0.7, colour)

    canvas.set_font(ctx, canvas.SANS, 11, bold=True)
    ctx.set_source_rgba(*INK)
    canvas.centred_text(ctx, "\u2212", *canvas.polar(px, py, ARC_RADIUS - 11.0, -HALF_SWEEP + 4))
    ctx.set_source_rgba(*RED)
    canvas.centred_text(ctx, "+", *canvas.polar(px, py, ARC_RADIUS - 11.0, HALF_SWEEP - 4))

    canvas.set_font(ctx, canvas.SERIF, 15, bold=True)
    ctx.set_source_rgba(*INK)
    canvas.centred_text(ctx, "VU", px, height - 40.0)
    canvas.set_font(ctx, canvas.SANS_CONDENSED, 6.5, bold=True)
    canvas.show_text(ctx, "GAIN REDUCTION  dB", px, height - 22.0, align="centre", spacing=0.7)
    return surface


def _overlay(width, height, scale):
    """Pivot hood, recess shading and glass: everything in front of the needle."""
    surface, ctx = canvas.new_surface(width, height, scale)
    px, py = width / 2.0, height + PIVOT_DROP
    hood = PIVOT_DROP + 15.0
    canvas.soft_shadow(ctx, px, py - 1.5, hood, 4.0, 0.35)
    grad = cairo.LinearGradient(0, py - hood, 0, height)
    grad.add_color_stop_rgb(0, *canvas.rgb("#3a3a3d")[:3])
    grad.add_color_stop_rgb(0.3, *canvas.rgb("#1c1c1e")[:3])
    grad.add_color_stop_rgb(1, *canvas.rgb("#101011")[:3])
    ctx.set_source(grad)
    ctx.arc(px, py, hood, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_source_rgba(1, 1, 1, 0.25)
    ctx.set_line_width(0.8)
    ctx.arc(px, py, hood - 0.5, math.radians(-150), math.radians(-30))
    ctx.stroke()
    canvas.set_font(ctx, canvas.SANS_CONDENSED, 5.5, bold=True)
    ctx.set_source_rgba(*canvas.rgb("#cfc6b0"))
    canvas.show_text(ctx, "WYRDWORKS", px, height - 4.0, align="centre", spacing=0.9)

    # recess: the housing throws shade onto the top and sides of the face
    for x0, y0, x1, y1, alpha in (
        (0, 0, 0, 14, 0.45),
        (0, 0, 9, 0, 0.30),
        (width, 0, width - 9, 0, 0.30),
        (0, height, 0, height - 5, 0.25),
    ):
        shade = cairo.LinearGradient(x0, y0, x1, y1)
        shade.add_color_stop_rgba(0, 0, 0, 0, alpha)
        shade.add_color_stop_rgba(1, 0, 0, 0, 0)
        ctx.set_source(shade)
        ctx.paint()

    # glass: a broad, faint reflection across the upper left
    ctx.new_path()
    ctx.move_to(0, 0)
    ctx.line_to(width * 0.62, 0)
    ctx.line_to(width * 0.30, height)
    ctx.line_to(0, height)
    ctx.close_path()
    sheen = cairo.LinearGradient(0, 0, width * 0.5, height * 0.5)
    sheen.add_color_stop_rgba(0, 1, 1, 1, 0.16)
    sheen.add_color_stop_rgba(1, 1, 1, 1, 0.03)
    ctx.set_source(sheen)
    ctx.fill()
    return surface


def _needle(ctx, px, py, deg):
    tip = ARC_RADIUS + 9.0
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    # shadow on the face, the needle rides a few millimetres above it
    ctx.set_source_rgba(0.25, 0.18, 0.05, 0.22)
    ctx.set_line_width(1.6)
    ctx.move_to(px + 2.5, py + 1.0)
    ctx.line_to(*(v + d for v, d in zip(canvas.polar(px, py, tip, deg), (2.5, 1.0))))
    ctx.stroke()
    ctx.set_source_rgba(*canvas.rgb("#141210"))
    ctx.set_line_width(1.25)
    ctx.move_to(px, py)
    ctx.line_to(*canvas.polar(px, py, tip, deg))
    ctx.stroke()


def meter_frames(width, height, frames, scale):
    face = _face(width, height, scale)
    overlay = _overlay(width, height, scale)
    px, py = width / 2.0, height + PIVOT_DROP
    images = []
    for index in range(frames):
        amplitude = 1.0 - index / float(frames - 1)
        surface, ctx = canvas.new_surface(width, height, scale)
        ctx.set_source_surface(face)
        ctx.paint()
        _needle(ctx, px, py, _angle_for_amplitude(amplitude))
        ctx.set_source_surface(overlay)
        ctx.paint()
        images.append(canvas.to_image(surface))
    return images
