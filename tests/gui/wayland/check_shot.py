#!/usr/bin/python3
"""Checks a compositor screenshot of the editor against a plain background.

  check_shot.py window SHOT
      The one window on the background (the screen's most common colour,
      which the compositor may round from the colour it was given): 800 x 600, its cut corners (top left
      and bottom right) show the background, no pixel has the skin's key
      colour. Prints the window's rectangle "X Y W H".
  check_shot.py inside BEFORE AFTER X Y W H MIN_W MIN_H
      What changed from BEFORE to AFTER covers at least MIN_W x MIN_H and
      lies inside the rectangle.
Exit status 1 with one line on a failed check."""

import sys

from PIL import Image, ImageChops

KEY = (128, 0, 0)


def fail(message):
    print(message)
    sys.exit(1)


def rgb(path):
    return Image.open(path).convert("RGB")


def window(shot):
    im = rgb(shot)
    bg = max(im.getcolors(im.size[0] * im.size[1]))[1]
    plain = Image.new("RGB", im.size, bg)
    box = ImageChops.difference(im, plain).getbbox()
    if box is None:
        fail("no window on the screen")
    x0, y0, x1, y1 = box
    if (x1 - x0, y1 - y0) != (800, 600):
        fail(f"the drawn area is {x1 - x0} x {y1 - y0} at {x0},{y0}, not the 800 x 600 window")
    for corner in ((x0, y0), (x1 - 1, y1 - 1)):
        if im.getpixel(corner) != bg:
            fail(f"the cut corner at {corner} shows {im.getpixel(corner)}, not the background {bg}")
    keyed = [(x, y) for y in range(y0, y1) for x in range(x0, x1)
             if im.getpixel((x, y)) == KEY]
    if keyed:
        fail(f"{len(keyed)} pixels of the key colour, the first at {keyed[0]}")
    print(x0, y0, x1 - x0, y1 - y0)


def inside(before, after, x, y, w, h, min_w, min_h):
    box = ImageChops.difference(rgb(before), rgb(after)).getbbox()
    if box is None:
        fail("nothing new on the screen")
    x0, y0, x1, y1 = box
    if x1 - x0 < min_w or y1 - y0 < min_h:
        fail(f"only {x1 - x0} x {y1 - y0} changed at {x0},{y0}")
    if x0 < x or y0 < y or x1 > x + w or y1 > y + h:
        fail(f"the change {x0},{y0} .. {x1},{y1} reaches outside the window {x},{y} {w} x {h}")


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "window":
        window(args[1])
    elif len(args) == 9 and args[0] == "inside":
        inside(args[1], args[2], *map(int, args[3:]))
    else:
        fail(__doc__)


if __name__ == "__main__":
    main()
