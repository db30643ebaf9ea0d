"""The front panel: brushed graphite face, rack ears, legends, dial scales, sockets for the
controls, the meter housing and the name plate."""

import math

import cairo
from PIL import Image

import canvas
import layout
from layout import KNOB_SWEEP, TRIMMER_SWEEP, sweep_angle

FACE = (44, 46, 50)
LEGEND = canvas.rgb("#ebe5d5")
LEGEND_DIM = canvas.rgb("#b9b3a4")
ACCENT = canvas.rgb("#e39a2f")


# --- surfaces ---------------------------------------------------------------------------------


def _brushed(width, height, base, seed, scale, strength=0.045):
    """Horizontal brushing: long streaks plus fine grain around a base colour."""
    streaks = canvas.noise_image(width, height, seed, scale, stretch_x=90, stretch_y=1)
    grain = canvas.noise_image(width, height, seed + 1, scale, stretch_x=6, stretch_y=1)
    texture = Image.blend(streaks, grain, 0.35)
    channels = []
    for level in base:
        scale = level * strength * 2.2 + 3.0
        channels.append(texture.point(lambda v, l=level, s=scale: int(l + (v - 128) / 128.0 * s)))
    return Image.merge("RGB", channels).convert("RGBA")


def _engraved_line(ctx, x0, y0, x1, y1):
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.stroke()
    ctx.set_source_rgba(1, 1, 1, 0.09)
    ctx.move_to(x0 + (1 if x0 == x1 else 0), y0 + (1 if y0 == y1 else 0))
    ctx.line_to(x1 + (1 if x0 == x1 else 0), y1 + (1 if y0 == y1 else 0))
    ctx.stroke()


def _recess(ctx, x0, y0, x1, y1, r, depth_alpha=0.28):
    """A shallow milled pocket: darker floor, shade under its top edge, lit lower lip."""
    canvas.rounded_rect(ctx, x0, y0, x1, y1, r)
    ctx.set_source_rgba(0, 0, 0, depth_alpha)
    ctx.fill()
    ctx.save()
    canvas.rounded_rect(ctx, x0, y0, x1, y1, r)
    ctx.clip()
    shade = cairo.LinearGradient(0, y0, 0, y0 + 8)
    shade.add_color_stop_rgba(0, 0, 0, 0, 0.45)
    shade.add_color_stop_rgba(1, 0, 0, 0, 0)
    ctx.set_source(shade)
    ctx.paint()
    ctx.restore()
    canvas.rounded_rect(ctx, x0 + 0.5, y0 + 0.5, x1 + 0.5, y1 + 0.5, r)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.10)
    ctx.stroke()
    canvas.rounded_rect(ctx, x0 - 0.5, y0 - 0.5, x1 - 0.5, y1 - 0.5, r)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.stroke()


def _screw(ctx, cx, cy, radius, slot_deg):
    canvas.soft_shadow(ctx, cx + 0.4, cy + 0.9, radius, 1.4, 0.7)
    grad = cairo.RadialGradient(cx - radius * 0.35, cy - radius * 0.45, 0.3, cx, cy, radius)
    grad.add_color_stop_rgb(0, 0.93, 0.93, 0.92)
    grad.add_color_stop_rgb(0.55, 0.62, 0.62, 0.63)
    grad.add_color_stop_rgb(1, 0.30, 0.30, 0.32)
    ctx.set_source(grad)
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    for deg in (slot_deg, slot_deg + 90):
        x0, y0 = canvas.polar(cx, cy, radius * 0.72, deg)
        x1, y1 = canvas.polar(cx, cy, radius * 0.72, deg + 180)
        ctx.set_source_rgba(1, 1, 1, 0.35)
        ctx.set_line_width(radius * 0.32)
        ctx.move_to(x0 + 0.3, y0 + 0.4)
        ctx.line_to(x1 + 0.3, y1 + 0.4)
        ctx.stroke()
        ctx.set_source_rgba(0.08, 0.08, 0.09, 1)
        ctx.set_line_width(radius * 0.28)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.stroke()


def _socket(ctx, cx, cy, radius):
    """A dark well a control stands in; its rim catches light on the lower side."""
    grad = cairo.RadialGradient(cx, cy - 1.5, radius * 0.5, cx, cy, radius)
    grad.add_color_stop_rgba(0, 0.02, 0.02, 0.03, 0.85)
    grad.add_color_stop_rgba(1, 0.06, 0.06, 0.07, 0.95)
    ctx.set_source(grad)
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.fill()
    rim = cairo.LinearGradient(cx, cy - radius, cx, cy + radius)
    rim.add_color_stop_rgba(0, 0, 0, 0, 0.6)
    rim.add_color_stop_rgba(1, 1, 1, 1, 0.22)
    ctx.set_source(rim)
    ctx.set_line_width(1.0)
    ctx.arc(cx, cy, radius + 0.5, 0, 2 * math.pi)
    ctx.stroke()


# --- panel parts ------------------------------------------------------------------------------


def _frame_and_ears(ctx, width, height):
    edge = cairo.LinearGradient(0, 0, 0, height)
    ctx.set_line_width(2.0)
    ctx.rectangle(1, 1, width - 2, height - 2)
    edge.add_color_stop_rgba(0, 1, 1, 1, 0.18)
    edge.add_color_stop_rgba(1, 0, 0, 0, 0.6)
    ctx.set_source(edge)
    ctx.stroke()
    for x in (44, width - 45):
        _engraved_line(ctx, x, 14, x, height - 14)
    for x in (21, width - 21):
        for y in (44, height - 44):
            canvas.rounded_rect(ctx, x - 12, y - 6, x + 12, y + 6, 6)
            ctx.set_source_rgba(0.02, 0.02, 0.02, 1)
            ctx.fill_preserve()
            ctx.set_source_rgba(1, 1, 1, 0.12)
            ctx.set_line_width(1.0)
            ctx.stroke()
            _screw(ctx, x + (3 if x < width / 2 else -3), y, 7.0, 20 + x % 7 * 9 + y % 5 * 7)


def _trimmer_group(ctx, names, captions, ends, caption_side):
    for name, caption, (low, high) in zip(names, captions, ends):
        cx, cy = layout.centre(name)
        _socket(ctx, cx, cy, 11.6)
        # a short arc showing the slot's travel, with a tick at each end
        ctx.set_line_width(1.0)
        ctx.set_source_rgba(*LEGEND_DIM)
        ctx.new_sub_path()
        r = 15.0
        ctx.arc(cx, cy, r, math.radians(TRIMMER_SWEEP[0] - 90), math.radians(TRIMMER_SWEEP[1] - 90))
        ctx.stroke()
        for deg in TRIMMER_SWEEP:
            ctx.set_line_width(1.4)
            ctx.set_source_rgba(*LEGEND)
            ctx.move_to(*canvas.polar(cx, cy, r - 0.5, deg))
            ctx.line_to(*canvas.polar(cx, cy, r + 4.0, deg))
            ctx.stroke()
        canvas.set_font(ctx, canvas.SANS_CONDENSED, 7.5, bold=True)
        lx, ly = canvas.polar(cx, cy, r + 5.0, TRIMMER_SWEEP[0])
        canvas.engraved_text(ctx, low, lx - 1.0, ly + 0.5, LEGEND_DIM, align="right", spacing=0.4)
        hx, hy = canvas.polar(cx, cy, r + 5.0, TRIMMER_SWEEP[1])
        canvas.engraved_text(ctx, high, hx + 1.0, hy + 0.5, LEGEND_DIM, spacing=0.4)
        canvas.set_font(ctx, canvas.SANS, 11, bold=True)
        if caption_side == "right":
            canvas.engraved_text(ctx, caption, cx + 40.0, cy + 4.0, LEGEND, spacing=1.6)
        else:
            canvas.engraved_text(ctx, caption, cx - 40.0, cy + 4.0, LEGEND, "right", spacing=1.6)


def _dial(ctx, name, caption, majors, minors, position_of):
    cx, cy = layout.centre(name)
    _socket(ctx, cx, cy, 48.5)
    r_in = 51.5
    ctx.set_source_rgba(*LEGEND_DIM)
    ctx.set_line_width(1.0)
    ctx.new_sub_path()
    ctx.arc(cx, cy, r_in, math.radians(KNOB_SWEEP[0] - 90), math.radians(KNOB_SWEEP[1] - 90))
    ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    for value in minors:
        deg = sweep_angle(KNOB_SWEEP, position_of(value))
        ctx.set_source_rgba(*LEGEND_DIM)
        ctx.set_line_width(1.0)
        ctx.move_to(*canvas.polar(cx, cy, r_in, deg))
        ctx.line_to(*canvas.polar(cx, cy, r_in + 4.0, deg))
        ctx.stroke()
    canvas.set_font(ctx, canvas.SANS_CONDENSED, 10.5, bold=True)
    for value in majors:
        deg = sweep_angle(KNOB_SWEEP, position_of(value))
        ctx.set_source_rgba(*LEGEND)
        ctx.set_line_width(1.8)
        ctx.move_to(*canvas.polar(cx, cy, r_in, deg))
        ctx.line_to(*canvas.polar(cx, cy, r_in + 6.5, deg))
        ctx.stroke()
        tx, ty = canvas.polar(cx, cy, r_in + 15.0, deg)
        ctx.set_source_rgba(0, 0, 0, 0.55)
        canvas.centred_text(ctx, str(value), tx, ty + 1.0)
        ctx.set_source_rgba(*LEGEND)
        canvas.centred_text(ctx, str(value), tx, ty)
    canvas.set_font(ctx, canvas.SANS, 13, bold=True)
    canvas.engraved_text(ctx, caption, cx, cy - 82.0, LEGEND, "centre", spacing=2.2)
    canvas.set_font(ctx, canvas.SANS_CONDENSED, 8, bold=True)
    canvas.engraved_text(ctx, "LEVEL", cx, cy + 62.0, LEGEND_DIM, "centre", spacing=1.8)


def _meter_housing(ctx):
    x0, y0, x1, y1 = layout.rect("meter")
    canvas.rounded_rect(ctx, x0 - 16, y0 - 14, x1 + 16, y1 + 16, 9)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.fill()
    canvas.rounded_rect(ctx, x0 - 14, y0 - 14, x1 + 14, y1 + 14, 8)
    bezel = cairo.LinearGradient(0, y0 - 14, 0, y1 + 14)
    bezel.add_color_stop_rgb(0, 0.36, 0.37, 0.39)
    bezel.add_color_stop_rgb(0.08, 0.20, 0.21, 0.22)
    bezel.add_color_stop_rgb(0.92, 0.11, 0.11, 0.12)
    bezel.add_color_stop_rgb(1, 0.05, 0.05, 0.06)
    ctx.set_source(bezel)
    ctx.fill()
    canvas.rounded_rect(ctx, x0 - 4, y0 - 4, x1 + 4, y1 + 4, 4)
    ctx.set_source_rgb(0.03, 0.03, 0.035)
    ctx.fill()
    canvas.rounded_rect(ctx, x0 - 4.5, y0 - 4.5, x1 + 4.5, y1 + 4.5, 4)
    inner = cairo.LinearGradient(0, y0 - 4, 0, y1 + 4)
    inner.add_color_stop_rgba(0, 0, 0, 0, 0.8)
    inner.add_color_stop_rgba(1, 1, 1, 1, 0.25)
    ctx.set_source(inner)
    ctx.set_line_width(1.0)
    ctx.stroke()
    for sx in (x0 - 8, x1 + 8):
        for sy in (y0 - 8, y1 + 8):
            _screw(ctx, sx, sy, 3.6, 35 + sx % 4 * 20)


def _name_plate(ctx, scale):
    x0, y0, x1, y1 = 306, 203, 490, 300
    ctx.save()
    canvas.rounded_rect(ctx, x0 + 1, y0 + 2.5, x1 + 1, y1 + 2.5, 5)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.fill()
    canvas.rounded_rect(ctx, x0, y0, x1, y1, 5)
    ctx.clip()
    plate = _brushed(x1 - x0, y1 - y0, (196, 196, 192), 91, scale, strength=0.05)
    ctx.set_source_surface(canvas.from_image(plate, scale), x0, y0)
    ctx.paint()
    light = cairo.LinearGradient(x0, y0, x1, y1)
    light.add_color_stop_rgba(0, 1, 1, 1, 0.18)
    light.add_color_stop_rgba(0.5, 1, 1, 1, 0.0)
    light.add_color_stop_rgba(1, 0, 0, 0, 0.18)
    ctx.set_source(light)
    ctx.paint()
    ctx.restore()
    canvas.rounded_rect(ctx, x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, 5)
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.set_line_width(1.0)
    ctx.stroke()
    for sx in (x0 + 9, x1 - 9):
        for sy in (y0 + 9, y1 - 9):
            _screw(ctx, sx, sy, 3.4, 50 + sx % 3 * 25 + sy % 2 * 40)
    ink = canvas.rgb("#1b1a18")
    cx = (x0 + x1) / 2.0
    canvas.set_font(ctx, canvas.SANS, 7.5, bold=True)
    ctx.set_source_rgba(*ink)
    canvas.show_text(ctx, "WYRDWORKS", cx, y0 + 19, "centre", spacing=3.0)
    canvas.set_font(ctx, canvas.SERIF, 44, bold=True, italic=True)
    ctx.set_source_rgba(1, 1, 1, 0.5)
    canvas.show_text(ctx, "Brask", cx + 0.6, y0 + 64 + 0.9, "centre")
    ctx.set_source_rgba(*ink)
    canvas.show_text(ctx, "Brask", cx, y0 + 64, "centre")
    ctx.set_source_rgba(*canvas.mix(ACCENT, (0, 0, 0, 1), 0.15))
    ctx.rectangle(x0 + 26, y0 + 72, x1 - x0 - 52, 2.0)
    ctx.fill()
    canvas.set_font(ctx, canvas.SANS_CONDENSED, 8, bold=True)
    ctx.set_source_rgba(*ink)
    canvas.show_text(ctx, "STEREO COMPRESSOR", cx, y0 + 87, "centre", spacing=1.8)


def _switches(ctx):
    for name, caption in (("power", "POWER"), ("sidechain", "EXT SIDE-CHAIN")):
        cx, cy = layout.centre(name)
        _socket(ctx, cx, cy, 22.0)
        canvas.set_font(ctx, canvas.SANS_CONDENSED, 9.5, bold=True)
        canvas.engraved_text(ctx, caption, cx, cy - 31.0, LEGEND, "centre", spacing=1.2)


def background(width, height, scale):
    """The panel, width x height panel units at scale pixels per unit."""
    face = _brushed(width, height, FACE, 17, scale)
    surface = canvas.from_image(face, scale)
    ctx = canvas.context(surface)
    # studio light from above: the face brightens toward the top edge
    light = cairo.LinearGradient(0, 0, 0, height)
    light.add_color_stop_rgba(0, 1, 1, 1, 0.06)
    light.add_color_stop_rgba(0.45, 1, 1, 1, 0.0)
    light.add_color_stop_rgba(1, 0, 0, 0, 0.16)
    ctx.set_source(light)
    ctx.paint()

    _frame_and_ears(ctx, width, height)
    _recess(ctx, 72, 116, 268, 240, 8)
    _recess(ctx, width - 268, 116, width - 72, 240, 8)
    _trimmer_group(ctx, ("attack", "release"), ("ATTACK", "RELEASE"),
                   (("FAST", "SLOW"), ("FAST", "SLOW")), "right")
    _trimmer_group(ctx, ("mix", "hpf"), ("MIX", "HIGH-PASS"),
                   (("DRY", "WET"), ("OFF", "500")), "left")
    _dial(ctx, "input", "INPUT", (0, 5, 10, 20, 30, 40), (1, 2, 3, 4, 6, 7, 8, 9, 15, 25, 35),
          lambda v: math.sqrt(v / 40.0))
    _dial(ctx, "output", "OUTPUT", (0, 10, 20, 30, 40), tuple(range(2, 40, 2)),
          lambda v: v / 40.0)
    _meter_housing(ctx)
    _name_plate(ctx, scale)
    _switches(ctx)
    return canvas.to_image(surface).convert("RGBA")
