"""Which steps of the dictation test's recording reached the audio device.

The recording is made of one-second steps at the levels 3000, 6000, ... on
both channels; the device's output (16-bit stereo) is read back as the steps
it holds, in order, with "pause" for a silence between them. Runs shorter
than 50 ms (where a step starts or ends inside a device buffer) are left out.
"""
import struct
import sys

RATE = 44100
STEP_LEVEL = 3000


def runs(samples):
    current, length = None, 0
    for left in samples[::2]:
        step = left // STEP_LEVEL - 1 if left > 0 and left % STEP_LEVEL == 0 else None
        if step == current:
            length += 1
            continue
        if length:
            yield current, length
        current, length = step, 1
    if length:
        yield current, length


def main():
    data = open(sys.argv[1], "rb").read()
    samples = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
    played = []
    for step, length in runs(samples):
        if length < RATE // 20:
            continue
        word = "pause" if step is None else str(step)
        if played and played[-1] == word:
            continue
        played.append(word)
    while played and played[0] == "pause":
        played.pop(0)
    while played and played[-1] == "pause":
        played.pop()
    print("played: " + " ".join(played))


main()
