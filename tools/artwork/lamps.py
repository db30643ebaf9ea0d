"""Illuminated push switches: frame 1 the dark lamp, frame 2 the lit one."""

import math

import cairo

import canvas

BEZEL = 20.5
RING = 17.0
LENS = 13.0

# lens tints: (dark glass, lit rim, lit centre)
RED = ("#3b0d0a", "#d8261a", "#fff1d8")
AMBER = ("#3a2506", "#e88a12", "#fff6dc")


def _housing(ctx, cx, cy):
    canvas.soft_shadow(ctx, cx + 0.3, cy + 1.5, BEZEL - 0.5, 2.5, 0.8)
    # knurled black mounting nut
    ctx.new_path()
    for i in range(80):
        r = BEZEL if i % 2 == 0 else BEZEL - 0.8
        ctx.line_to(*canvas.polar(cx, cy, r, i * 4.5))
    ctx.close_path()
    ctx.set_source_rgb(*canvas.rgb("#151517")[:3])
    ctx.fill()
    grad = cairo.LinearGradient(cx, cy - BEZEL, cx, cy + BEZEL)
    grad.add_color_stop_rgba(0, 1, 1, 1, 0.28)
    grad.add_color_stop_rgba(0.5, 1, 1, 1, 0.02)
    grad.add_color_stop_rgba(1, 0, 0, 0, 0.4)
    ctx.set_source(grad)
    ctx.arc(cx, cy, BEZEL, 0, 2 * math.pi)
    ctx.fill()
    # chrome collar
    canvas.conic_fill(
        ctx, cx, cy, RING, lambda d: _chrome(d), segments=120
    )
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.set_line_width(1.2)
    ctx.arc(cx, cy, LENS + 0.9, 0, 2 * math.pi)
    ctx.stroke()
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.set_line_width(0.8)
    ctx.arc(cx, cy, RING - 0.4, 0, 2 * math.pi)
    ctx.stroke()


def _chrome(deg):
    a = math.radians(deg + 30.0)
    v = 0.62 + 0.3 * math.cos(2 * a) + 0.06 * math.cos(5 * a)
    v = max(0.0, min(1.0, v))
    return (v, v, v * 0.98, 1.0)


def _lens(ctx, cx, cy, tint, lit):
    dark, rim, centre = (canvas.rgb(c) for c in tint)
    grad = cairo.RadialGradient(cx, cy + 1.0, 0.5, cx, cy, LENS)
    if lit:
        grad.add_color_stop_rgba(0, *centre)
        grad.add_color_stop_rgba(0.35, *canvas.mix(centre, rim, 0.55))
        grad.add_color_stop_rgba(0.8, *rim)
        grad.add_color_stop_rgba(1, *canvas.mix(rim, (0, 0, 0, 1), 0.35))
    else:
        grad.add_color_stop_rgba(0, *canvas.mix(dark, rim, 0.22))
        grad.add_color_stop_rgba(0.7, *dark)
        grad.add_color_stop_rgba(1, *canvas.mix(dark, (0, 0, 0, 1), 0.5))
    ctx.set_source(grad)
    ctx.arc(cx, cy, LENS, 0, 2 * math.pi)
    ctx.fill()
    # faceted diffuser rings inside the glass
    for r in (4.0, 7.5, 11.0):
        ctx.set_source_rgba(1, 1, 1, 0.10 if lit else 0.05)
        ctx.set_line_width(0.7)
        ctx.arc(cx, cy, r, 0, 2 * math.pi)
        ctx.stroke()
    # specular window reflection on the dome
    highlight = cairo.RadialGradient(cx - 4.0, cy - 5.5, 0.3, cx - 4.0, cy - 5.5, 6.0)
    highlight.add_color_stop_rgba(0, 1, 1, 1, 0.75 if not lit else 0.6)
    highlight.add_color_stop_rgba(1, 1, 1, 1, 0)
    ctx.set_source(highlight)
    ctx.arc(cx, cy, LENS, 0, 2 * math.pi)
    ctx.fill()
    if lit:
        # light spilling onto the chrome collar
        glow = cairo.RadialGradient(cx, cy, LENS - 1.0, cx, cy, RING + 1.0)
        glow.add_color_stop_rgba(0, *rim[:3], 0.55)
        glow.add_color_stop_rgba(1, *rim[:3], 0.0)
        ctx.set_source(glow)
        ctx.arc(cx, cy, RING, 0, 2 * math.pi)
        ctx.arc_negative(cx, cy, LENS, 2 * math.pi, 0)
        ctx.fill()


def lamp_frames(width, height, tint, scale):
    cx, cy = width / 2.0, height / 2.0
    images = []
    for lit in (False, True):
        surface, ctx = canvas.new_surface(width, height, scale)
        _housing(ctx, cx, cy)
        _lens(ctx, cx, cy, tint, lit)
        images.append(canvas.to_image(surface))
    return images
