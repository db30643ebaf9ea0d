"""The arm64 build against the x86_64 build: one input rendered by each build's brask-host (the
arm64 one under emulation) through its VST 3 and VST 2 modules, at 64 and 32 bits, and the LV2
bundles' Turtle. The 64-bit outputs must stay within 1e-12 of each other and the 32-bit ones be
identical bit for bit; the Turtle, written by each build's own generator, byte for byte.

usage: render_compare.py EMULATOR ARM64_OUT X86_64_OUT   (the builds' out/ folders)
"""

import math
import os
import random
import struct
import subprocess
import sys
import tempfile

SECONDS = 2
# (name, module, sample rate, settings, side chain): the compressor heavy, in parallel and keyed,
# and at other rates, whose filter designs take the single-precision tan and atan.
RENDERS = [
    ("heavy", "Brask.vst3", 48000, ["Input=36", "Attack=1", "Release=100", "Output=8"], False),
    ("parallel", "Brask.vst3", 48000, ["Input=28", "Mix=50", "Output=12", "HPF=150"], False),
    ("keyed", "Brask.vst3", 48000, ["Input=24", "Sidechain=1", "Attack=2", "Release=300"], True),
    ("vst2", "Brask.so", 48000, ["Input=30", "Attack=5", "Mix=70"], False),
    ("44.1 kHz", "Brask.vst3", 44100, ["Input=30", "Mix=80"], False),
    ("96 kHz", "Brask.so", 96000, ["Input=20", "HPF=300"], False),
]
TOLERANCE_64 = 1e-12


def write_wav64(path, rate, channels):
    """A stereo WAV of 64-bit floats, the format brask-host keeps for its output."""
    frames = len(channels[0])
    data = b"".join(struct.pack("<2d", channels[0][n], channels[1][n]) for n in range(frames))
    fmt = struct.pack("<HHIIHH", 3, 2, rate, rate * 16, 16, 64)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def read_wav64(path):
    """The interleaved samples of a 64-bit float WAV, from its data chunk."""
    with open(path, "rb") as f:
        raw = f.read()
    at = 12
    while at + 8 <= len(raw):
        kind, size = raw[at:at + 4], struct.unpack("<I", raw[at + 4:at + 8])[0]
        if kind == b"fmt ":
            tag, _, _, _, _, bits = struct.unpack("<HHIIHH", raw[at + 8:at + 24])
            if (tag, bits) != (3, 64):
                raise ValueError(f"{path}: not 64-bit float samples")
        if kind == b"data":
            return struct.unpack(f"<{size // 8}d", raw[at + 8:at + 8 + size])
        at += 8 + size + (size & 1)
    raise ValueError(f"{path}: no data chunk")


def program_material(rate):
    """Drum hits over a bass line and noise, peaks beyond full scale, then a fade to silence;
    and a kick alone for the side chain."""
    noise = random.Random(23)
    main, kick = [[], []], [[], []]
    for n in range(rate * SECONDS):
        t = n / rate
        beat = t % 0.25
        hit = math.exp(-beat * 30.0) * math.sin(2 * math.pi * 55.0 * beat * (1 + 2 * math.exp(-beat * 40)))
        fade = 1.0 if t < 1.5 else max(0.0, 1.0 - (t - 1.5) * 4)
        bass = 0.4 * math.sin(2 * math.pi * 41.2 * t) * math.sin(2 * math.pi * 0.5 * t)
        for c in range(2):
            hiss = 0.05 * (noise.random() * 2 - 1)
            main[c].append(fade * (1.3 * hit + bass + hiss) * (1.1 if c else 1.0))
            kick[c].append(0.9 * hit)
    return main, kick


def render(command, work, build_out, job, precision):
    """One render by the brask-host of a build's out/ folder, through that build's module."""
    name, module, rate, settings, sidechain = job
    out = os.path.join(work, f"{name}-{precision}-{len(command)}.wav")
    args = command + [os.path.join(build_out, "brask-host"), "render", os.path.join(build_out, module),
                      os.path.join(work, f"main-{rate}.wav"), out, "--precision", str(precision)]
    for value in settings:
        args += ["--set", value]
    if sidechain:
        args += ["--sidechain", os.path.join(work, f"kick-{rate}.wav")]
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)
    return read_wav64(out)


def compare(arm, x86, precision):
    """(failure text or None, largest difference, samples that differ)."""
    if len(arm) != len(x86):
        return f"lengths {len(arm)} and {len(x86)}", math.inf, len(arm)
    differ = [i for i in range(len(arm)) if arm[i] != x86[i]]
    largest = max((abs(arm[i] - x86[i]) for i in differ), default=0.0)
    if precision == 32 and differ:
        i = differ[0]
        return f"{len(differ)} samples differ, first {i // 2}: {arm[i]!r} vs {x86[i]!r}", largest, len(differ)
    if not largest <= TOLERANCE_64:
        return f"largest difference {largest:.3g} above {TOLERANCE_64}", largest, len(differ)
    return None, largest, len(differ)


def main():
    emulator, arm_out, x86_out = sys.argv[1], sys.argv[2], sys.argv[3]
    if not os.path.isfile(os.path.join(x86_out, "brask-host")):
        print(f"no x86_64 build in {x86_out}: build the linux preset first")
        return 1
    failures = 0
    with tempfile.TemporaryDirectory(prefix="brask-cross-") as work:
        for rate in sorted({job[2] for job in RENDERS}):
            main_input, kick = program_material(rate)
            write_wav64(os.path.join(work, f"main-{rate}.wav"), rate, main_input)
            write_wav64(os.path.join(work, f"kick-{rate}.wav"), rate, kick)
        print(f"{'render':<10} {'bits':>4} {'largest difference':>19} {'samples differing':>18}")
        for job in RENDERS:
            name = job[0]
            for precision in (64, 32):
                arm = render([emulator], work, arm_out, job, precision)
                x86 = render([], work, x86_out, job, precision)
                failure, largest, count = compare(arm, x86, precision)
                print(f"{name:<10} {precision:>4} {largest:>19.3g} {count:>11} of {len(arm)}")
                if failure:
                    print(f"  FAIL: {name} at {precision} bits: {failure}")
                    failures += 1
    for turtle in ("manifest.ttl", "brask.ttl"):
        paths = [os.path.join(out, "Brask.lv2", turtle) for out in (arm_out, x86_out)]
        texts = [open(p, "rb").read() for p in paths]
        if texts[0] != texts[1]:
            print(f"  FAIL: the builds' {turtle} differ")
            failures += 1
    print(f"{failures} comparisons failed" if failures else "all renders and the Turtle agree")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
