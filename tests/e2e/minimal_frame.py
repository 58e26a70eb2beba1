#!/usr/bin/env python3
"""Checks a screenshot of examples/minimal: the picture, in whatever look or scale, shows the
sky, a round yellow ball of about its drawn size, and the text line: a white box with dark ink
in it. Exact palette colours are counted, so the blended edges of a scaled picture do not
matter.

Usage: minimal_frame.py SHOT.png   status 0 with a line saying what it saw, 1 otherwise."""
import math
import subprocess
import sys

SKY = (40, 70, 150)
BALL = (250, 200, 40)
WHITE = (255, 255, 255)
# The ball's share of the picture: a radius of 24 on 320 x 240.
BALL_SHARE = 3.14159 * 24 * 24 / (320 * 240)


def pixels(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                          text=True, check=True).stdout.split()
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                          check=True).stdout
    return int(size[0]), int(size[1]), data


def shown_part(width):
    """The part of a circle's area within `width` diameters of one side of it."""
    c = min(1.0, 2 * width - 1)
    return (c * math.sqrt(1 - c * c) + math.asin(c) + math.pi / 2) / math.pi


def bounds(points):
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return min(xs), min(ys), max(xs), max(ys)


def main(path):
    width, height, data = pixels(path)
    sky = 0
    ball, white = [], []
    for i in range(0, len(data), 3):
        colour = tuple(data[i:i + 3])
        if colour == SKY:
            sky += 1
        elif colour == BALL:
            ball.append(((i // 3) % width, (i // 3) // width))
        elif colour == WHITE:
            white.append(((i // 3) % width, (i // 3) // width))
    problems = []
    if sky == 0 or not ball or not white:
        print(f"FAILED: sky {sky}, ball {len(ball)}, white {len(white)} pixels")
        return 1
    left, top, right, bottom = bounds(ball)
    # The ball may be cut by the picture's left or right edge as it crosses: its height is its
    # diameter, its width at most that, and what shows of it is the part of a circle that
    # width holds.
    diameter = bottom - top + 1
    if not (right - left + 1) <= 1.1 * diameter:
        problems.append(f"the ball is {right - left + 1} wide and {diameter} high")
    share = len(ball) / (sky + len(ball) + len(white))
    expected = BALL_SHARE * shown_part((right - left + 1) / diameter)
    if not 0.6 * expected <= share <= 1.3 * expected:
        problems.append(f"the ball covers {share:.2%} of the picture, drawn {expected:.2%}")
    left, top, right, bottom = bounds(white)
    ink = 0
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            at = (y * width + x) * 3
            if max(data[at:at + 3]) < 64:
                ink += 1
    box = (right - left + 1) * (bottom - top + 1)
    if not 0.02 * box <= ink <= 0.5 * box:
        problems.append(f"the text box holds {ink} dark pixels of {box}")
    if problems:
        print("FAILED: " + "; ".join(problems))
        return 1
    print(f"ok: sky, a round ball ({share:.2%} of the picture, {diameter} pixels across) and "
          f"a text box with ink ({ink} of {box} pixels)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
