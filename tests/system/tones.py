#!/usr/bin/python3
"""Prints the tones in a raw recording (mono s16le, 44100 Hz): for each stretch
of sound, its length in ms and its frequency in Hz from its zero crossings."""
import array
import sys

RATE = 44100
samples = array.array('h')
with open(sys.argv[1], 'rb') as f:
    data = f.read()
samples.frombytes(data[:len(data) // 2 * 2])
loud = [abs(s) > 300 for s in samples]
i = 0
gap = RATE * 5 // 1000  # quieter stretches shorter than 5 ms belong to the tone
while i < len(samples):
    if not loud[i]:
        i += 1
        continue
    start = end = i
    while i < len(samples) and i - end <= gap:
        if loud[i]:
            end = i
        i += 1
    part = samples[start:end + 1]
    crossings = [k for k, (a, b) in enumerate(zip(part, part[1:])) if (a < 0) != (b < 0)]
    ms = len(part) * 1000 / RATE
    if ms >= 20 and len(crossings) > 2:
        # Half periods between the first and the last crossing.
        print(f"{ms:.0f} {(len(crossings) - 1) / 2 / ((crossings[-1] - crossings[0]) / RATE):.0f}")
