#!/usr/bin/env python3
"""Writes the monitor's alarm sound: src/gui/monitor/sounds/warning.wav.

A two-tone alarm (high 960 Hz / low 770 Hz, a quarter of a second each, with short
fades so the tone changes do not click) as an uncompressed PCM wave: mono, 8 bits
unsigned, 11,025 samples per second, 48,638 samples (about 4.4 seconds), which makes a
file of 48,682 bytes. The output is the same on every run; run it again only to change
the sound, and commit the wave it writes.
"""
import math
import os
import sys
import wave

RATE = 11025
SAMPLES = 48638
HIGH, LOW = 960.0, 770.0
TONE = RATE // 4  # samples per tone
FADE = 110  # about 10 ms of fade in and out of every tone
AMPLITUDE = 100  # of 127: loud but clear of clipping


def sample(n: int) -> int:
    tone = n // TONE
    pos = n % TONE
    freq = HIGH if tone % 2 == 0 else LOW
    gain = min(1.0, pos / FADE, (TONE - 1 - pos) / FADE)
    # The whole sound fades out over its last quarter second.
    gain *= min(1.0, (SAMPLES - 1 - n) / TONE)
    # Phase counted from the start of the tone, so every tone starts at zero.
    value = AMPLITUDE * gain * math.sin(2.0 * math.pi * freq * pos / RATE)
    return 128 + int(round(value))


def main() -> int:
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        root, "src", "gui", "monitor", "sounds", "warning.wav")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    data = bytes(sample(n) for n in range(SAMPLES))
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(RATE)
        w.writeframes(data)
    print(f"{out}: {os.path.getsize(out)} bytes, {SAMPLES / RATE:.2f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
