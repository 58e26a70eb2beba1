#!/usr/bin/env python3
"""What the looks e2e test measures on a screenshot (read with ImageMagick as raw RGB):
  look_pixels.py bars-row SHOT Y COUNT       the runs along row Y: COUNT bars, each inside exactly
                                             its palette colour, at most one blended pixel
                                             between neighbours
  look_pixels.py white SHOT X Y W H          how many pure white pixels the area holds
  look_pixels.py mean SHOT X Y W H           the area's mean brightness (0..255)
  look_pixels.py near SHOT OTHER LEVELS      the two shots of one size differ by at most LEVELS
                                             in any channel of any pixel
Exit status 1, with the reason, when a check fails."""
import subprocess
import sys


def read(shot):
    size = subprocess.run(["identify", "-format", "%w %h", shot], capture_output=True,
                          text=True, check=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    data = subprocess.run(["convert", shot, "-depth", "8", "rgb:-"], capture_output=True,
                          check=True).stdout
    return width, height, data


def at(image, x, y):
    width, _, data = image
    i = 3 * (y * width + x)
    return tuple(data[i:i + 3])


# colour_bars' eight bars, left to right.
BAR_COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255), (255, 0, 255),
               (255, 255, 255), (128, 64, 32)]


def bars_row(shot, y, expected_bars):
    image = read(shot)
    width = image[0]
    row = [at(image, x, y) for x in range(width)]
    # Runs of one colour; a run of one pixel between two long runs is an edge's blend.
    runs = []
    for colour in row:
        if runs and runs[-1][0] == colour:
            runs[-1][1] += 1
        else:
            runs.append([colour, 1])
    bars = [run for run in runs if run[1] > 2 and run[0] != (0, 0, 0)]
    blends = [run for run in runs if run[1] <= 2]
    widest_blend = max((run[1] for run in blends), default=0)
    print(f"{len(bars)} bars, {len(blends)} blended runs, the widest {widest_blend} pixel(s)")
    if len(bars) != expected_bars:
        print(f"expected {expected_bars} solid bars: {[(tuple(r[0]), r[1]) for r in runs]}")
        return 1
    if [tuple(run[0]) for run in bars] != BAR_COLOURS[:expected_bars]:
        print(f"the bars' colours are not the palette's: {[tuple(run[0]) for run in bars]}")
        return 1
    if widest_blend > 1:
        print("an edge blends over more than one screen pixel")
        return 1
    return 0


def area(image, x, y, w, h):
    return [at(image, i, j) for j in range(y, y + h) for i in range(x, x + w)]


def near(shot, other, levels):
    one, two = read(shot), read(other)
    if one[:2] != two[:2]:
        print(f"the shots differ in size: {one[:2]} and {two[:2]}")
        return 1
    differences = [abs(a - b) for a, b in zip(one[2], two[2])]
    worst = max(differences)
    off = sum(1 for d in differences if d)
    print(f"at most {worst} level(s) apart, {off} of {len(differences)} channel values differ")
    return 0 if worst <= levels else 1


def main(args):
    if args[0] == "bars-row":
        return bars_row(args[1], int(args[2]), int(args[3]))
    if args[0] == "near":
        return near(args[1], args[2], int(args[3]))
    image = read(args[1])
    x, y, w, h = (int(v) for v in args[2:6])
    pixels = area(image, x, y, w, h)
    if args[0] == "white":
        print(sum(1 for p in pixels if p == (255, 255, 255)))
    elif args[0] == "mean":
        print(f"{sum(sum(p) for p in pixels) / (3 * len(pixels)):.1f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
