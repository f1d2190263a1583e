#!/usr/bin/python3
"""Checks that the X window's icon (_NET_WM_ICON) carries each PNG's picture at its size.

Usage: window_icon.py WINDOW_ID PNG...   Prints what differs; exits 1 then.
The window's pixels went through Qt's premultiplied pixmaps, so both sides are compared
premultiplied, with a little room for rounding.
"""
import struct
import subprocess
import sys


def window_icons(window):
    out = subprocess.run(["xprop", "-id", window, "-len", "100000000", "-notype", "-f", "_NET_WM_ICON", "32c",
                          " $0+", "_NET_WM_ICON"], capture_output=True, text=True,
                         check=True).stdout
    numbers = [int(n) for n in out.split(None, 1)[1].replace(",", " ").split()]
    icons = {}
    while len(numbers) >= 2:
        width, height = numbers[0], numbers[1]
        pixels = numbers[2:2 + width * height]
        icons[(width, height)] = [((p >> 16) & 255, (p >> 8) & 255, p & 255, p >> 24)
                                  for p in pixels]
        numbers = numbers[2 + width * height:]
    return icons


def png_pixels(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                          text=True, check=True).stdout.split()
    raw = subprocess.run(["convert", path, "-depth", "8", "rgba:-"], capture_output=True,
                         check=True).stdout
    return (int(size[0]), int(size[1])), list(struct.iter_unpack("4B", raw))


def premultiplied(pixel):
    r, g, b, a = pixel
    return (r * a // 255, g * a // 255, b * a // 255, a)


def main(window, pngs):
    icons = window_icons(window)
    failures = []
    for png in pngs:
        size, pixels = png_pixels(png)
        if size not in icons:
            failures.append(f"{png}: no {size[0]}x{size[1]} icon (the window has {sorted(icons)})")
            continue
        worst = max(abs(x - y) for p, q in zip(pixels, icons[size])
                    for x, y in zip(premultiplied(p), premultiplied(q)))
        if worst > 3:
            failures.append(f"{png}: pixels differ by up to {worst}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
