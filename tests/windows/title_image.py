#!/usr/bin/env python3
"""Checks the title-bar image of a window on the X display: its 16 x 16 icon
(the _NET_WM_ICON a window manager draws in the title bar) must be the given
24-bit bitmap with white transparent.
    title_image.py WINDOW_ID BITMAP"""
import re
import struct
import subprocess
import sys


def bitmap_pixels(path):
    with open(path, "rb") as image:
        data = image.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    row = (width * 3 + 3) & ~3
    pixels = []
    for y in range(abs(height)):
        start = offset + (height - 1 - y if height > 0 else y) * row
        for x in range(width):
            blue, green, red = data[start + 3 * x:start + 3 * x + 3]
            pixels.append((red, green, blue))
    return width, abs(height), pixels


def window_icons(window):
    text = subprocess.run(["xprop", "-id", window, "-notype", "32c", "_NET_WM_ICON"],
                          capture_output=True, text=True, check=True).stdout
    values = [int(v) for v in re.findall(r"\d+", text.split("=", 1)[1])] if "=" in text else []
    icons = {}
    while len(values) >= 2:
        width, height = values[0], values[1]
        icons[(width, height)] = values[2:2 + width * height]
        values = values[2 + width * height:]
    return icons


def main():
    width, height, expected = bitmap_pixels(sys.argv[2])
    icon = window_icons(sys.argv[1]).get((width, height))
    if icon is None:
        print("no %d x %d icon on the window" % (width, height))
        return 1
    wrong = 0
    for (red, green, blue), argb in zip(expected, icon):
        alpha, shown = argb >> 24, (argb >> 16 & 255, argb >> 8 & 255, argb & 255)
        if (red, green, blue) == (255, 255, 255):
            wrong += alpha != 0
        else:
            wrong += alpha != 255 or shown != (red, green, blue)
    if wrong:
        print("%d of the title image's pixels differ in the title bar" % wrong)
    return 1 if wrong else 0


sys.exit(main())
