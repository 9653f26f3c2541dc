#!/usr/bin/python3
"""Draws every picture of the korvex48 editor's skin.

Usage: tools/make_artwork.py [--out DIR] [--icons DIR] [--tables DIR]
                             [--preview DIR]

Writes the PNG pictures (named exactly as the program asks for them, plus
".png") and their twins at twice the size for HiDPI screens (plus "@2x.png"),
drawn from the same code, into resources/pictures/, the application icon into resources/icons/
and, with --preview, composed page previews for a visual check.

The output is deterministic: no randomness, no time stamps, fixed fonts.

Besides the pictures the layout tables name, it draws:
- Dialog_Assembly, Dialog_MacroName (354 x 179): backgrounds of the two small
  dialogs, controls at DIALOG_RECTS; Dialog_BtnHover: their buttons' hover
  picture (Img_Confirm, Img_Cancel).
- MacroEvent_0 .. MacroEvent_8 (24 x 24): the macro list's event icons by kind
  digit (delay, press, release, X+, X-, Y+, Y-, repeat start, repeat stop).
- Busy_01 .. Busy_12 (206 x 196): the busy pop-up's looping animation, meant
  to run at about 80 ms a frame.
- UndoS_E, UndoS_D, RedoS_E, RedoS_D (26 x 24): the title bar's undo and
  redo controls, usable and with nothing to undo or redo.

Rules the pictures keep:
- One accent colour (electric cyan) on dark neutral greys.
- Shaped pictures (window backgrounds, dialog backgrounds, busy frames) use the
  colour key red 128, green 0, blue 0 outside their shape. Edges next to the
  key are cut with a hard 1x mask after the supersampled drawing, so every
  pixel is either exactly the key or a colour far from it; `check_key_edges`
  enforces that before a file is written.
- The pictures follow the layout tables: panel sizes, the navigation tray,
  headings, frames and the mouse's leader lines are derived from
  resources/tables/org<n> (section [org<n>]) and ORG, so run
  tools/make_tables.py first and this script again after every layout change.
- Every picture size lives in SIZES and the constants next to it, so the
  artwork and the layout tables (tools/make_tables.py) can be tuned together.
"""

import argparse
import math
import struct
import sys
import zlib
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

ROOT = Path(__file__).resolve().parent.parent
TABLES = ROOT / "resources" / "tables"  # --tables changes it

# --------------------------------------------------------------------------
# Sizes (width, height) of every picture. Change them here only.
# --------------------------------------------------------------------------
WINDOW = (800, 600)
DIALOG = (354, 179)  # both small dialogs
BUSY = (206, 196)  # busy pop-up frames
BUSY_FRAMES = 12
ICON = 256

SIZES = {
    "BtnS": (44, 24),  # Reset, Exit
    "UndoS": (26, 24),  # Undo, Redo in the title bar, left of the stripes
    "SetS": (124, 32),  # navigation buttons
    "KeyS": (140, 28),  # Key1..Key12, LoadBIN, Program
    "WebS": (36, 34),  # web button (picture only, no caption)
    "MacroS": (100, 28),  # Record (Btn_Start, Btn_InsertStart)
    "MacroBtnS": (64, 26),  # OK, Cancel of the insert panel
    "CbS": (16, 16),  # check marks
    "RdS": (16, 16),  # choices
    "Bar1": (23, 8),  # ten-step bars (pointer, double-click, wheel, step time)
    "Bar2": (19, 16),  # twelve-step DPI bars
    "Col_F": (24, 16),  # colour swatch frame
    "InsertBase": (176, 0),  # InsertDelayBase, InsertKeyBase; the height
    # reaches from Insert_Y to below the OK and Cancel buttons
    "DialogButton": (110, 30),  # hover picture of the dialogs' text buttons
    "EventIcon": (24, 24),  # macro list event icons
}
# The panels (L<n>_Back1..4, Update) take the room the layout gives them: from
# their P<k> place to the window's right margin, down to the navigation tray.
MARGIN = 10

# Places the layout tables do not carry. The lists, edits and the path field
# take these sizes in the window; the artwork draws their frames.
EDIT_SIZE = (40, 22)  # number edits: fire keys, delays, axis values
LIST_GAP = 16  # gap between neighbouring macro lists
HEADING_ROOM = 26  # space a heading takes above what it names

# Dialog controls (dialog coordinates); both dialogs share them.
DIALOG_RECTS = {
    "title": (16, 9),
    "close": (324, 6, 24, 24),
    "field": (20, 46, 314, 30),  # the name dialog puts its field 12 px lower
    "checks_y": 90,  # Assembly only: CB_Ctrl..CB_Win row
    "confirm": (52, 134, 110, 30),
    "cancel": (192, 134, 110, 30),
}

# Placement maps: layout entry Key<j> places button m = MAP[type][j-1].
PLACEMENT = {
    "RGB": [1, 5, 9, 10, 11, 6, 7, 8, 12, 2, 3, 4],
    "ZK": [1, 5, 9, 3, 7, 11, 2, 6, 10, 8, 12, 4],
}

# --------------------------------------------------------------------------
# Colours
# --------------------------------------------------------------------------
KEY = (128, 0, 0)
ACCENT = (0, 229, 255)
ACCENT_MID = (0, 150, 175)
ACCENT_DIM = (0, 92, 110)
ACCENT_DEEP = (6, 44, 54)
BG = (10, 14, 19)
HEADER = (14, 19, 26)
CARD = (16, 21, 28)
CARD_LINE = (34, 44, 57)
WELL = (9, 12, 16)
LINE = (44, 57, 72)
LINE_HI = (70, 88, 106)
BTN = (21, 28, 37)
BTN_HOVER = (28, 38, 50)
TEXT = (226, 236, 246)
TEXT_DIM = (128, 146, 164)
TEXT_FAINT = (78, 94, 110)
MOUSE_BODY = (26, 33, 43)
MOUSE_BODY_HI = (36, 46, 58)
MOUSE_EDGE = (84, 102, 122)

FONT_DIR = Path("/usr/share/fonts/truetype/dejavu")
FONT_BOLD = str(FONT_DIR / "DejaVuSans-Bold.ttf")
FONT_REG = str(FONT_DIR / "DejaVuSans.ttf")
FONT_COND_BOLD = str(FONT_DIR / "DejaVuSansCondensed-Bold.ttf")

SS = 4  # supersampling factor
# Pixels per coordinate of the pictures being made: 1 for NAME.png, 2 for its
# twin NAME@2x.png, drawn from the same code for screens scaled to 150-200 %.
SCALE = 1


# --------------------------------------------------------------------------
# Tables
# --------------------------------------------------------------------------
def read_table(path, section):
    """Entries name=value of [section] (names lower-cased); {} if absent."""
    try:
        raw = path.read_bytes()
    except OSError:
        return {}
    if raw[:2] == b"\xff\xfe":
        text = raw[2:].decode("utf-16-le", "replace")
    else:
        text = raw.decode("latin-1")
    out, current = {}, None
    for line in text.splitlines():
        line = line.strip().strip('"')
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1].strip().lower()
            continue
        if current == section.lower() and "=" in line:
            name, value = line.split("=", 1)
            out[name.strip().lower()] = value.strip()
    return out


NAV_KEYS = ["B1", "B2", "B3", "B4", "B5", "B11", "B12", "B6", "B7", "B8",
            "B9", "B10"]


class Layout:
    """The layout table org<lang> and the settings table ORG, with the
    geometry the artwork derives from them (panel rooms, the navigation
    tray)."""

    def __init__(self, lang):
        tables = TABLES
        self.lang = lang
        self.table = read_table(tables / f"org{lang}", f"org{lang}")
        self.org = read_table(tables / "ORG", "org")
        if not self.table or not self.org:
            sys.exit(f"resources/tables/org{lang} or ORG is empty: "
                     "run tools/make_tables.py first")

    def __getitem__(self, key):
        try:
            return int(self.table[key.lower()])
        except (KeyError, ValueError):
            sys.exit(f"org{self.lang}: key {key} missing or not a number")

    def org_value(self, key):
        value = self.org.get(key.lower(), "")
        return value if key in ("LEDType", "Web") else int(value)

    def nav_rects(self, enabled_only=True):
        w, h = SIZES["SetS"]
        rects = [(self[f"Btn_{k}_X"], self[f"Btn_{k}_Y"], w, h)
                 for k in NAV_KEYS
                 if self[f"Btn_{k}_Enable"] or not enabled_only]
        ww, wh = SIZES["WebS"]
        rects.append((self.org_value("Web_X"), self.org_value("Web_Y"), ww, wh))
        return rects

    def tray(self):
        """Box (x0, y0, x1, y1) around the navigation buttons."""
        rects = self.nav_rects()
        return (min(r[0] for r in rects) - 8, min(r[1] for r in rects) - 8,
                max(r[0] + r[2] for r in rects) + 8,
                max(r[1] + r[3] for r in rects) + 8)

    def panel(self, k):
        return self[f"P{k}_X"], self[f"P{k}_Y"]

    def panel_size(self, k):
        """Room of panel k: to the right margin mirrored from its left
        edge, down to the tray (when the tray lies below) or the margin."""
        x, y = self.panel(k)
        tx0, ty0, tx1, ty1 = self.tray()
        right = WINDOW[0] - (x if x <= 100 else MARGIN)
        bottom = ty0 - 6 if ty0 > y + 100 else WINDOW[1] - MARGIN
        return right - x, bottom - y


# --------------------------------------------------------------------------
# Drawing
# --------------------------------------------------------------------------
_fonts = {}


def font(size, path=FONT_BOLD):
    key = (path, size)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(path, size)
    return _fonts[key]


class Art:
    """A picture drawn at SS times its size (times SCALE) and reduced to
    SCALE times its size when done.

    Coordinates are those of the 1x picture; x1, y1 of boxes are
    exclusive, so (0, 0, w, h) covers the whole picture."""

    def __init__(self, w, h, bg=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.k = SS * SCALE  # drawing pixels per picture coordinate
        self.im = Image.new("RGBA", (w * self.k, h * self.k), bg)
        self.d = ImageDraw.Draw(self.im)

    @staticmethod
    def _c(c):
        return c if c is None or len(c) == 4 else tuple(c) + (255,)

    def box(self, x0, y0, x1, y1, fill=None, line=None, width=1, r=0):
        box = [x0 * self.k, y0 * self.k, x1 * self.k - 1, y1 * self.k - 1]
        self.d.rounded_rectangle(box, radius=r * self.k, fill=self._c(fill),
                                 outline=self._c(line), width=round(width * self.k))

    def poly(self, pts, fill=None, line=None, width=1):
        p = [(x * self.k, y * self.k) for x, y in pts]
        if fill is not None:
            self.d.polygon(p, fill=self._c(fill))
        if line is not None:
            self.d.line(p + [p[0]], fill=self._c(line), width=round(width * self.k),
                        joint="curve")

    def line(self, pts, color, width=1):
        p = [(x * self.k, y * self.k) for x, y in pts]
        self.d.line(p, fill=self._c(color), width=round(width * self.k),
                    joint="curve")

    def ellipse(self, cx, cy, rx, ry, fill=None, line=None, width=1):
        box = [(cx - rx) * self.k, (cy - ry) * self.k, (cx + rx) * self.k - 1,
               (cy + ry) * self.k - 1]
        self.d.ellipse(box, fill=self._c(fill), outline=self._c(line),
                       width=round(width * self.k))

    def arc(self, cx, cy, r, start, end, color, width):
        box = [(cx - r) * self.k, (cy - r) * self.k, (cx + r) * self.k - 1,
               (cy + r) * self.k - 1]
        self.d.arc(box, start, end, fill=self._c(color),
                   width=round(width * self.k))

    def text(self, x, y, s, size, color, path=FONT_BOLD, anchor="la",
             spacing=0.0):
        f = font(size * self.k, path)
        if not spacing:
            self.d.text((x * self.k, y * self.k), s, font=f, fill=self._c(color),
                        anchor=anchor)
            return
        # letter-spaced text, anchor "la" or "ma" only
        widths = [f.getlength(ch) for ch in s]
        total = sum(widths) + spacing * self.k * (len(s) - 1)
        cx = x * self.k - (total / 2 if anchor[0] == "m" else 0)
        for ch, cw in zip(s, widths):
            self.d.text((cx, y * self.k), ch, font=f, fill=self._c(color),
                        anchor="l" + anchor[1])
            cx += cw + spacing * self.k

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for yy in range(y0 * self.k, y1 * self.k):
            t = (yy - y0 * self.k) / max(1, (y1 - y0) * self.k - 1)
            c = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            self.d.line([(x0 * self.k, yy), (x1 * self.k - 1, yy)], fill=c + (255,))

    def hgradient(self, x0, y0, x1, y1, left, right):
        for xx in range(x0 * self.k, x1 * self.k):
            t = (xx - x0 * self.k) / max(1, (x1 - x0) * self.k - 1)
            c = tuple(round(a + (b - a) * t) for a, b in zip(left, right))
            self.d.line([(xx, y0 * self.k), (xx, y1 * self.k - 1)], fill=c + (255,))

    def paste(self, other, x, y):
        self.im.alpha_composite(other.im, (x * self.k, y * self.k))

    def done(self, mode="RGBA"):
        im = self.im.resize((self.w * SCALE, self.h * SCALE), Image.BOX)
        return im.convert(mode) if mode != "RGBA" else im


def chamfer(x0, y0, x1, y1, tl=0, tr=0, br=0, bl=0):
    """Polygon of a box with cut corners; x1, y1 exclusive edges."""
    return [(x0 + tl, y0), (x1 - tr, y0), (x1, y0 + tr), (x1, y1 - br),
            (x1 - br, y1), (x0 + bl, y1), (x0, y1 - bl), (x0, y0 + tl)]


def apply_key(im, shape):
    """Sets every pixel outside the polygon `shape` to the key colour with a
    hard edge (no anti-aliasing) and returns an RGB picture."""
    im = im.convert("RGB")
    # The shape at 1x, enlarged pixel for pixel: a 2x twin has exactly the
    # outline of its 1x picture, whose key pixels give the window its mask.
    inside = Image.new("1", (im.size[0] // SCALE, im.size[1] // SCALE), 0)
    ImageDraw.Draw(inside).polygon(shape, fill=1)
    inside = inside.resize(im.size, Image.NEAREST)
    key = Image.new("RGB", im.size, KEY)
    return Image.composite(im, key, inside)


def near_key(px):
    return px != KEY and abs(px[0] - 128) < 64 and px[1] < 64 and px[2] < 64


def check_key_edges(name, im):
    """Fails when a pixel is near the key colour without being it."""
    bad = [(x, y) for y in range(im.size[1]) for x in range(im.size[0])
           if near_key(im.getpixel((x, y)))] if im.mode == "RGB" else []
    if bad:
        sys.exit(f"{name}: {len(bad)} near-key pixels, first at {bad[0]}")


# --------------------------------------------------------------------------
# Shared parts
# --------------------------------------------------------------------------
def heading(a, x, y, s, size=10):
    """Section heading: an accent tick and letter-spaced caps; left out
    where the layout leaves no room for it above the panel's top."""
    if y < 6:
        return
    a.box(x, y + 1, x + 3, y + size + 2, fill=ACCENT)
    a.text(x + 9, y, s.upper(), size, (198, 212, 226), spacing=1.2)


def small_caption(a, x, y, s, color=TEXT_FAINT, anchor="la"):
    a.text(x, y, s.upper(), 8, color, path=FONT_BOLD, anchor=anchor,
           spacing=0.8)


def card(a, x0, y0, x1, y1, cut=14):
    """A panel card: flat surface, thin rim, one cut corner."""
    a.poly(chamfer(x0, y0, x1, y1, tr=cut), fill=CARD_LINE)
    a.poly(chamfer(x0 + 1, y0 + 1, x1 - 1, y1 - 1, tr=cut - 1), fill=CARD)
    a.line([(x1 - cut + 3, y0 + 1), (x1 - 1, y0 + cut - 3)], ACCENT_MID, 2)


def well(a, x0, y0, x1, y1, r=2):
    a.box(x0 - 1, y0 - 1, x1 + 1, y1 + 1, fill=LINE, r=r)
    a.box(x0, y0, x1, y1, fill=WELL, r=r)


# --------------------------------------------------------------------------
# Window backgrounds
# --------------------------------------------------------------------------
WINDOW_SHAPE = chamfer(0, 0, WINDOW[0], WINDOW[1], tl=28, tr=10, br=28, bl=10)


def logo(a, x, y, size=20):
    a.text(x, y, "KORVEX", size, TEXT)
    w = font(size * SS).getlength("KORVEX") / SS
    a.text(x + w + 2, y, "48", size, ACCENT)
    return x + w + 2 + font(size * SS).getlength("48") / SS


def make_background(lay):
    W, H = WINDOW
    a = Art(W, H, bg=LINE_HI + (255,))
    a.poly(chamfer(1, 1, W - 1, H - 1, tl=27, tr=9, br=27, bl=9), fill=BG)
    # header band down to the highest panel
    top = min(lay.panel(k)[1] for k in range(1, 6))
    hb = max(30, top - 6)
    a.vgradient(2, 2, W - 2, hb, (19, 25, 33), HEADER)
    a.line([(2, hb + 0.5), (W - 2, hb + 0.5)], CARD_LINE, 1)
    size = min(20, hb - 12)
    end = logo(a, 30, (hb - size) / 2 - 1, size)
    a.line([(24, hb + 0.5), (end + 4, hb + 0.5)], ACCENT, 2)
    small_caption(a, end + 14, hb / 2 - 4, "Gaming Mouse Configurator",
                  TEXT_DIM)
    # slanted stripes left of the window buttons
    bx = min(lay["Btn_A3_X"], lay["Btn_A4_X"])
    for i in range(5):
        x = bx - 14 - (4 - i) * 8
        a.poly([(x, 9), (x + 4, 9), (x - 6, hb - 9), (x - 10, hb - 9)],
               fill=(26, 35, 46) if i < 4 else ACCENT_DIM)
    # the cut corners carry accent strokes
    a.line([(3, 30), (30, 3)], ACCENT, 2)
    a.line([(W - 30, H - 3), (W - 3, H - 30)], ACCENT, 2)
    # content frame behind the panels
    x0 = min(lay.panel(k)[0] for k in range(1, 6))
    x1 = max(lay.panel(k)[0] + lay.panel_size(k)[0] for k in range(1, 6))
    y1 = max(lay.panel(k)[1] + lay.panel_size(k)[1] for k in range(1, 6))
    a.poly(chamfer(x0 - 1, top - 1, x1 + 1, y1 + 1, tr=15), fill=CARD_LINE)
    a.poly(chamfer(x0, top, x1, y1, tr=14), fill=CARD)
    # navigation tray around the page, profile and language buttons
    tx0, ty0, tx1, ty1 = lay.tray()
    tx0, tx1 = max(MARGIN, min(tx0, x0)), min(W - MARGIN, max(tx1, x1))
    ty1 = min(H - MARGIN, ty1)
    a.poly(chamfer(tx0 - 1, ty0 - 1, tx1 + 1, ty1 + 1, bl=13, tr=9),
           fill=CARD_LINE)
    a.poly(chamfer(tx0, ty0, tx1, ty1, bl=12, tr=8), fill=(13, 18, 24))
    a.line([(tx0 + 14, ty0 + 0.5), (tx0 + 90, ty0 + 0.5)], ACCENT_MID, 2)
    # sockets under each navigation picture
    for (x, y, w, h) in lay.nav_rects():
        a.box(x - 2, y - 2, x + w + 2, y + h + 2, fill=(10, 14, 19), r=4)
    im = apply_key(a.done(), WINDOW_SHAPE)
    return im


# --------------------------------------------------------------------------
# Panels
# --------------------------------------------------------------------------
def panel_art(lay, k):
    w, h = lay.panel_size(k)
    a = Art(w, h, bg=BG + (255,))
    card(a, 0, 0, w, h)
    return a


def mouse_outline(cx, top, length, width):
    """Points of the mouse body seen from above, front at `top`."""
    pts_r = []
    n = 48
    for i in range(n + 1):
        t = i / n
        y = top + t * length
        # half-width profile: rounded front, slight waist, fuller rear
        if t < 0.16:
            f = math.sqrt(max(0.0, 1 - ((0.16 - t) / 0.16) ** 2))
            hw = 0.80 * f
        elif t < 0.55:
            hw = 0.80 + 0.02 * math.sin((t - 0.16) / 0.39 * math.pi) \
                - 0.10 * math.sin((t - 0.16) / 0.39 * math.pi / 2)
        elif t < 0.86:
            s = (t - 0.55) / 0.31
            hw = 0.70 + 0.30 * math.sin(s * math.pi / 2)
        else:
            s = (t - 0.86) / 0.14
            hw = math.sqrt(max(0.0, 1 - s ** 2))
        pts_r.append((cx + hw * width / 2, y))
    pts_l = [(2 * cx - x, y) for x, y in reversed(pts_r)]
    return pts_r + pts_l


def half_width(t, width):
    """Half-width of the body at fraction t of its length."""
    pts = mouse_outline(0, 0, 1, width)
    best = min(pts[:49], key=lambda p: abs(p[1] - t))
    return best[0]


def mouse_geometry(cx, top, length, width, left_buttons, right_buttons):
    """Drawing data of the mouse and the anchor of every button.

    Buttons 1 and 2 are the main buttons, 3 the wheel; every other button is
    a flank button on the side of its label (left_buttons, right_buttons in
    the order of their labels from top to bottom), so leader lines do not
    cross the body."""
    g = {"cx": cx, "top": top, "length": length, "width": width}
    L = length
    g["split_y"] = top + 0.40 * L
    g["wheel"] = (cx - 0.05 * width, top + 0.08 * L, cx + 0.05 * width,
                  top + 0.21 * L)
    anchors = {1: (cx - 0.25 * width, top + 0.18 * L),
               2: (cx + 0.25 * width, top + 0.18 * L),
               3: (cx, top + 0.145 * L)}
    g["side"] = []
    for side, buttons in ((-1, left_buttons), (1, right_buttons)):
        flank = [m for m in buttons if m not in anchors]
        n = len(flank)
        if not n:
            continue
        t0, t1 = 0.22, 0.74
        step = min(0.105, (t1 - t0) / n)
        start = t0 + ((t1 - t0) - step * n) / 2
        for i, m in enumerate(flank):
            t = start + step * i
            hw = half_width(t + step / 2, width)
            x = cx + side * hw
            y0, y1 = top + (t + 0.012) * L, top + (t + step - 0.012) * L
            g["side"].append((m, x - 9, y0, x + 9, y1))
            anchors[m] = (x + side * 2, (y0 + y1) / 2)
    g["anchors"] = anchors
    return g


def draw_mouse(a, g, numbers=True, glow=True):
    cx, top, length, width = g["cx"], g["top"], g["length"], g["width"]
    body = mouse_outline(cx, top, length, width)
    if glow:
        for i, c in enumerate([(8, 30, 37), (7, 42, 51), (6, 58, 70)]):
            grow = 9 - 3 * i
            a.poly(mouse_outline(cx, top - grow, length + 2 * grow,
                                 width + 2 * grow), fill=c)
    for m, x0, y0, x1, y1 in g["side"]:
        a.box(x0, y0, x1, y1, fill=MOUSE_BODY_HI, line=MOUSE_EDGE, r=4)
    a.poly(body, fill=MOUSE_BODY, line=MOUSE_EDGE, width=1.5)
    sy = g["split_y"]
    a.poly(mouse_outline(cx, sy + 0.04 * length, length * 0.5, width * 0.56),
           fill=(30, 38, 49))
    a.line([(cx, top + 2), (cx, sy - 0.09 * length)], MOUSE_EDGE, 1.5)
    a.line([(cx - width * 0.40, sy), (cx - 0.13 * width, sy - 0.04 * length),
            (cx, sy - 0.09 * length), (cx + 0.13 * width, sy - 0.04 * length),
            (cx + width * 0.40, sy)], MOUSE_EDGE, 1.5)
    x0, y0, x1, y1 = g["wheel"]
    a.box(x0 - 3, y0 - 3, x1 + 3, y1 + 3, fill=(12, 16, 21), r=8)
    a.box(x0, y0, x1, y1, fill=(44, 56, 70), line=MOUSE_EDGE, r=6)
    for yy in range(int(y0) + 6, int(y1) - 4, 5):
        a.line([(x0 + 3, yy), (x1 - 3, yy)], (64, 80, 98), 1)
    a.line([(cx - width * 0.36, sy + 8), (cx - width * 0.45, sy + 0.26 * length)],
           ACCENT_MID, 2)
    a.line([(cx + width * 0.36, sy + 8), (cx + width * 0.45, sy + 0.26 * length)],
           ACCENT_MID, 2)
    ly = top + length * 0.72
    k = width / 226
    a.poly([(cx - 18 * k, ly - 10 * k), (cx, ly + 4 * k), (cx + 18 * k, ly - 10 * k),
            (cx + 18 * k, ly - 2 * k), (cx, ly + 12 * k), (cx - 18 * k, ly - 2 * k)],
           fill=ACCENT)
    a.line([(cx - 0.18 * width, top + length - 6),
            (cx + 0.18 * width, top + length - 6)], ACCENT_DIM, 2)
    if numbers:
        draw_mouse_numbers(a, g)


def draw_mouse_numbers(a, g):
    for m, (x, y) in g["anchors"].items():
        a.ellipse(x, y, 7.5, 7.5, fill=(8, 12, 16), line=ACCENT, width=1.5)
        a.text(x, y + 0.5, str(m), 8 if m < 10 else 7, TEXT,
               path=FONT_COND_BOLD, anchor="mm")


def key_labels(lay):
    """(m, x, y) of every shown button label, in panel-1 coordinates."""
    px, py = lay.panel(1)
    mapping = PLACEMENT.get(lay.org_value("LEDType"), PLACEMENT["RGB"])
    out = []
    for j in range(1, 13):
        if lay[f"Key{j}_Enable"]:
            out.append((mapping[j - 1], lay[f"Key{j}_X"] - px,
                        lay[f"Key{j}_Y"] - py))
    return out


def make_back1(lay):
    """Main panel: the mouse with its buttons numbered and a leader line
    from every button to the label that names it."""
    a = panel_art(lay, 1)
    pw, ph = lay.panel_size(1)
    kw, kh = SIZES["KeyS"]
    labels = key_labels(lay)
    mid = pw / 2
    left = sorted([l for l in labels if l[1] + kw / 2 < mid], key=lambda l: l[2])
    right = sorted([l for l in labels if l[1] + kw / 2 >= mid], key=lambda l: l[2])
    # the mouse fills the room between the two label columns
    x0 = max([l[1] + kw for l in left], default=20) + 40
    x1 = min([l[1] for l in right], default=pw - 20) - 40
    ys = [l[2] for l in labels] or [40]
    y0 = max(20, min(ys) - 20)
    y1 = min(ph - 16, max(ys) + kh + 30)
    length = y1 - y0
    width = min(x1 - x0, length * 0.56)
    g = mouse_geometry((x0 + x1) / 2, y0, length, width,
                       [l[0] for l in left], [l[0] for l in right])
    heading(a, 14, 12, "Button Assignment")
    for m, lx, ly in labels:
        a.box(lx - 3, ly - 3, lx + kw + 3, ly + kh + 3, fill=(11, 15, 20), r=5)
    draw_mouse(a, g, numbers=False)
    for m, lx, ly in labels:
        ax, ay = g["anchors"][m]
        if lx + kw / 2 < mid:
            start, elbow = (lx + kw + 3, ly + kh / 2), (lx + kw + 16, ly + kh / 2)
        else:
            start, elbow = (lx - 3, ly + kh / 2), (lx - 16, ly + kh / 2)
        a.line([start, elbow, (ax, ay)], ACCENT_DIM, 1.3)
        a.ellipse(start[0], start[1], 2.2, 2.2, fill=ACCENT_MID)
    draw_mouse_numbers(a, g)
    return a.done("RGB")


def P(lay, k, key):
    """Control place `key` (prefix of _X/_Y) in panel-k coordinates."""
    px, py = lay.panel(k)
    return lay[key + "_X"] - px, lay[key + "_Y"] - py


def make_back2(lay):
    """Advanced panel: DPI levels, AIM DPI, report rate, fire keys, pointer."""
    a = panel_art(lay, 2)
    pw, ph = lay.panel_size(2)
    b2w, b2h = SIZES["Bar2"]
    horizontal = lay["DPI_Orientation"] == 1
    cx, cy = P(lay, 2, "DPI1_Color")
    sx, sy = P(lay, 2, "DPI1_Steps")
    vx, vy = P(lay, 2, "DPI1_Value")
    lx, ly = P(lay, 2, "DPI1")
    left = min(cx, sx, vx, lx) - 8
    right = max(sx + (12 * b2w if horizontal else b2w), vx + 44) + 8
    if cy - HEADING_ROOM >= 4:
        heading(a, left + 2, cy - HEADING_ROOM, "DPI Levels")
    rows = [f"DPI{d}" for d in range(1, 9)] + ["AIMDPI"]
    for i, row in enumerate(rows):
        x, y = P(lay, 2, row + "_Steps")
        _, ry = P(lay, 2, row)
        top = min(y, ry) - 5
        a.box(left, top, right, top + b2h + 10,
              fill=(20, 27, 36) if i % 2 == 0 else (17, 23, 31), r=3)
        if row == "AIMDPI":
            a.box(left, top, left + 3, top + b2h + 10, fill=ACCENT_MID)
        if horizontal:
            well(a, x - 2, y - 2, x + 12 * b2w, y + b2h + 2)
    # report rate
    rx, ry = P(lay, 2, "Rep1")
    heading(a, rx - 4, ry - HEADING_ROOM, "Report Rate")
    # fire keys
    fx, fy = P(lay, 2, "FK1Cnt")
    dx, _ = P(lay, 2, "FK1Delay")
    kx, _ = P(lay, 2, "FK1Continue")
    captions_y = fy - 14
    heading(a, fx - 64, captions_y - 22, "Fire Keys")
    small_caption(a, fx, captions_y, "Count")
    small_caption(a, dx, captions_y, "Delay ms")
    small_caption(a, kx - 2, captions_y, "Loop")
    ew, eh = EDIT_SIZE
    for f in range(1, 4):
        fx, fy = P(lay, 2, f"FK{f}Cnt")
        dx, dy = P(lay, 2, f"FK{f}Delay")
        a.text(fx - 8, fy + eh / 2, f"FIRE {f}", 9, TEXT_DIM, anchor="rm")
        well(a, fx, fy, fx + ew, fy + eh)
        well(a, dx, dy, dx + ew + 8, dy + eh)
    # pointer settings: a caption over each ten-step bar
    for key, caption in (("Spd", "Pointer Speed"),
                         ("DbSpd", "Double-click Speed"),
                         ("ScrSpd", "Scroll Lines")):
        bx, by = P(lay, 2, key)
        a.text(bx, by - 17, caption.upper(), 8, TEXT_DIM, spacing=0.8)
    return a.done("RGB")


def make_back3(lay):
    """Breathing Light panel: modes, step time, seven colours."""
    a = panel_art(lay, 3)
    pw, ph = lay.panel_size(3)
    modes = [P(lay, 3, "LEDOff")] + [P(lay, 3, f"LEDMode{m}")
                                      for m in range(1, 6)]
    x0 = min(x for x, _ in modes)
    heading(a, x0 - 4, min(y for _, y in modes) - HEADING_ROOM - 6,
            "Lighting Mode")
    for yy in sorted({y for _, y in modes}):
        xs = [x for x, y in modes if y == yy]
        a.box(min(xs) - 10, yy - 8, max(xs) + 84, yy + 24, fill=(19, 25, 33),
              r=3)
    sx, sy = P(lay, 3, "StepTime")
    bw = SIZES["Bar1"][0]
    heading(a, sx - 4, sy - HEADING_ROOM - 14, "Effect Speed")
    small_caption(a, sx, sy - 14, "Fast")
    small_caption(a, sx + 10 * bw - 2, sy - 14, "Slow", anchor="ra")
    cols = [P(lay, 3, f"LEDColor{c}") for c in range(1, 8)]
    cw, ch = SIZES["Col_F"]
    heading(a, cols[0][0] - 4, min(y for _, y in cols) - HEADING_ROOM,
            "LED Colours")
    for c, (x, y) in enumerate(cols, 1):
        a.text(x + cw / 2, y + ch + 5, str(c), 8, TEXT_FAINT, anchor="ma")
    # a lit mouse in the free room below, as a picture of the effect
    free_top = max(y for _, y in cols) + ch + 24
    room = ph - free_top - 14
    if room > 80:
        length = room - 16
        width = length * 0.56
        cx = pw / 2
        for i, c in enumerate([(12, 24, 30), (10, 32, 40), (8, 42, 52)]):
            rx = width * (1.9 - 0.35 * i)
            a.ellipse(cx, free_top + room * 0.62, rx, room * (0.36 - 0.05 * i),
                      fill=c)
        g = mouse_geometry(cx, free_top + 8, length, width, [], [])
        draw_mouse(a, g, numbers=False)
    return a.done("RGB")


def macro_list_rects(lay):
    """Window rectangles (x, y, w, h) of the three macro lists as the
    layout places them: each list runs to its neighbour or the panel's
    bottom."""
    px, py = lay.panel(4)
    pw, ph = lay.panel_size(4)
    pcx, pcy = lay["PCMacroName_X"], lay["PCMacroName_Y"]
    msx, msy = lay["MseMacroName_X"], lay["MseMacroName_Y"]
    mcx, mcy = lay["MacroContent_X"], lay["MacroContent_Y"]
    bsx = lay["BtnStart_X"]
    bottom = py + ph - 14
    return {
        "LB_PCMacroName": (pcx, pcy, mcx - LIST_GAP - pcx,
                           msy - HEADING_ROOM - 8 - pcy),
        "LB_MacroName": (msx, msy, mcx - LIST_GAP - msx, bottom - msy),
        "LB_macro": (mcx, mcy, bsx - LIST_GAP - mcx, bottom - mcy),
    }


def make_back4(lay):
    """Macro panel: frames of the three lists and the recorder column."""
    a = panel_art(lay, 4)
    px, py = lay.panel(4)
    titles = {"LB_PCMacroName": "PC Macro Library",
              "LB_MacroName": "Mouse Macros", "LB_macro": "Macro Events"}
    for name, (x, y, w, h) in macro_list_rects(lay).items():
        x, y = x - px, y - py
        heading(a, x, y - HEADING_ROOM + 4, titles[name])
        well(a, x - 1, y - 1, x + w + 1, y + h + 1)
    bx, by = P(lay, 4, "BtnStart")
    heading(a, bx, by - HEADING_ROOM + 4, "Recorder")
    a.box(bx - 3, by - 3, bx + SIZES["MacroS"][0] + 3,
          by + SIZES["MacroS"][1] + 3, fill=(11, 15, 20), r=5)
    # The delay group (Gb_Delay) and the insert panel take turns in the
    # recorder column and draw themselves, so nothing of them is baked here.
    return a.done("RGB")


def update_path_width(lay):
    """Width of the firmware path field: up to the buttons or the margin."""
    lx = lay["lbl_LoadBin_X"]
    bx = lay["Btn_LoadBin_X"]
    px, _ = lay.panel(5)
    end = bx - 14 if bx > lx else px + lay.panel_size(5)[0] - 20
    return end - lx


def make_update(lay):
    """Update panel: a chip picture, the path field and two buttons."""
    a = panel_art(lay, 5)
    pw, ph = lay.panel_size(5)
    heading(a, 14, 12, "Firmware Update")
    bx, by = P(lay, 5, "lbl_BINPath")
    lx, ly = P(lay, 5, "lbl_LoadBin")
    well(a, lx - 6, ly - 6, lx + update_path_width(lay), ly + 22)
    for key in ("Btn_LoadBin", "Btn_Program"):
        x, y = P(lay, 5, key)
        a.box(x - 3, y - 3, x + SIZES["KeyS"][0] + 3, y + SIZES["KeyS"][1] + 3,
              fill=(11, 15, 20), r=5)
    # chip, in the free room below the controls
    low = max(ly + 22, P(lay, 5, "Btn_Program")[1] + SIZES["KeyS"][1])
    room = ph - low - 20
    r = max(20, min(70, room / 2 - 24))
    cx, cy = pw / 2, low + room / 2 + 6
    k = r / 64
    for i in range(7):
        off = (-54 + i * 18) * k
        for (x0, y0, x1, y1) in (
                (cx + off - 3 * k, cy - 84 * k, cx + off + 3 * k, cy - 62 * k),
                (cx + off - 3 * k, cy + 62 * k, cx + off + 3 * k, cy + 84 * k),
                (cx - 84 * k, cy + off - 3 * k, cx - 62 * k, cy + off + 3 * k),
                (cx + 62 * k, cy + off - 3 * k, cx + 84 * k, cy + off + 3 * k)):
            a.box(x0, y0, x1, y1, fill=LINE_HI, r=1)
    a.box(cx - 64 * k, cy - 64 * k, cx + 64 * k, cy + 64 * k, fill=MOUSE_BODY,
          line=MOUSE_EDGE, width=1.5, r=8 * k)
    a.box(cx - 44 * k, cy - 44 * k, cx + 44 * k, cy + 44 * k, fill=ACCENT_DEEP,
          line=ACCENT_MID, width=1.5, r=4 * k)
    a.poly([(cx - 8 * k, cy - 26 * k), (cx + 14 * k, cy - 26 * k),
            (cx + 2 * k, cy - 4 * k), (cx + 16 * k, cy - 4 * k),
            (cx - 12 * k, cy + 28 * k), (cx - 4 * k, cy + 4 * k),
            (cx - 16 * k, cy + 4 * k)], fill=ACCENT)
    return a.done("RGB")


def insert_base_height(lay):
    bottom = max(lay["InsertBtnOK_Y"], lay["InsertBtnCancel_Y"]) + \
        SIZES["MacroBtnS"][1] + 10
    return bottom - lay["Insert_Y"]


def make_insert_base(lay, kind):
    """Insert panel of the Macro page: 'delay' or 'key' choices."""
    w = SIZES["InsertBase"][0]
    h = insert_base_height(lay)
    a = Art(w, h, bg=CARD + (255,))
    a.box(0, 0, w, h, fill=(19, 25, 33), line=ACCENT_MID, r=3)
    a.box(0, 0, w, 3, fill=ACCENT, r=1)
    ox, oy = lay["Insert_X"], lay["Insert_Y"]

    def Q(key):
        return lay[key + "_X"] - ox, lay[key + "_Y"] - oy

    lx, ly = Q("InsertList")
    if ly >= 24:
        small_caption(a, 8, ly - 16, "Insert Event", TEXT_DIM)
    # No wells for the value fields: each choice shows only some of them, and
    # the fields draw their own face, so a hidden one leaves the panel bare.
    rx, ry = Q("InsertRecDelay")
    rh = lay["InsertRecDelay_H"]
    if kind == "key":
        a.box(rx - 4, ry - 4, w - 6, ry + 3 * rh, fill=CARD, line=CARD_LINE,
              r=2)
    return a.done("RGB")


# --------------------------------------------------------------------------
# Buttons and marks
# --------------------------------------------------------------------------
def plate(size, fill, line, r=3, bar=None, glow=None, bg=(0, 0, 0, 0)):
    w, h = size
    a = Art(w, h, bg=bg)
    if glow:
        a.box(0, 0, w, h, fill=glow, r=r + 1)
        a.box(1, 1, w - 1, h - 1, fill=fill, line=line, r=r)
    else:
        a.box(0, 0, w, h, fill=fill, line=line, r=r)
    if bar:
        a.box(1, 3, 1 + bar[0], h - 3, fill=bar[1], r=1)
    return a


def make_btns():
    s = SIZES["BtnS"]
    return {
        "BtnS_01": plate(s, BTN, LINE).done(),
        "BtnS_02": plate(s, (18, 42, 52), ACCENT).done(),
        "BtnS_03": plate(s, (0, 104, 124), ACCENT).done(),
    }


def make_undo_redo():
    """UndoS_E / UndoS_D and RedoS_E / RedoS_D: the title bar's undo and redo
    controls, usable (E) and with nothing to undo or redo (D). A hooked arrow
    on a window-button plate; redo is undo mirrored."""
    s = SIZES["UndoS"]
    w, h = s
    out = {}
    for look, fill, line, ink in (("E", BTN, LINE, TEXT),
                                  ("D", HEADER, CARD_LINE, TEXT_FAINT)):
        for name, mirror in (("UndoS", False), ("RedoS", True)):
            a = plate(s, fill, line)

            def x(v):
                return w - v if mirror else v

            cx, cy, r = 15, h / 2, 4
            a.arc(x(cx), cy, r, 90 if mirror else 270, 270 if mirror else 90,
                  ink, 1.6)
            a.line([(x(10), cy - r), (x(cx), cy - r)], ink, 1.6)
            a.line([(x(cx), cy + r), (x(9), cy + r)], ink, 1.6)
            a.poly([(x(5.5), cy - r), (x(10.5), cy - r - 4),
                    (x(10.5), cy - r + 4)], fill=ink)
            out[f"{name}_{look}"] = a.done()
    return out


def make_sets():
    s = SIZES["SetS"]
    w, h = s
    normal = plate(s, (19, 25, 33), (36, 47, 60), r=2)
    selected = Art(w, h)
    selected.box(0, 0, w, h, fill=ACCENT_MID, r=2)
    selected.hgradient(1, 1, w - 1, h - 1, (4, 70, 84), (14, 30, 38))
    selected.box(0, 0, 5, h, fill=ACCENT, r=1)
    selected.poly([(w - 14, h - 1), (w - 1, h - 14), (w - 1, h - 1)],
                  fill=ACCENT_MID)
    hover = plate(s, BTN_HOVER, LINE_HI, r=2, bar=(3, ACCENT_MID))
    return {"SetS_01": normal.done(), "SetS_02": selected.done(),
            "SetS_03": hover.done()}


def make_keys():
    s = SIZES["KeyS"]
    w, h = s

    def key(fill, line, tick):
        a = plate(s, fill, line, r=3)
        a.box(1, h / 2 - 5, 3, h / 2 + 5, fill=tick)
        a.box(w - 3, h / 2 - 5, w - 1, h / 2 + 5, fill=tick)
        return a.done()

    return {"KeyS_01": key((22, 29, 38), LINE, ACCENT_DIM),
            "KeyS_02": key((16, 48, 58), ACCENT, ACCENT)}


def globe(a, cx, cy, r, color, width=1.4):
    a.ellipse(cx, cy, r, r, line=color, width=width)
    a.ellipse(cx, cy, r * 0.45, r, line=color, width=width)
    a.line([(cx - r, cy), (cx + r, cy)], color, width)
    a.line([(cx, cy - r), (cx, cy + r)], color, width)
    a.arc(cx, cy - r * 1.35, r * 1.45, 58, 122, color, width)
    a.arc(cx, cy + r * 1.35, r * 1.45, 238, 302, color, width)


def make_webs():
    s = SIZES["WebS"]
    w, h = s
    out = {}
    for name, fill, line, ink in (("WebS_01", BTN, LINE, TEXT_DIM),
                                  ("WebS_02", (0, 104, 124), ACCENT, TEXT),
                                  ("WebS_03", (18, 42, 52), ACCENT, ACCENT)):
        a = plate(s, fill, line)
        globe(a, w / 2, h / 2, 8.5, ink)
        out[name] = a.done()
    return out


def make_macros():
    s = SIZES["MacroS"]
    w, h = s
    out = {}
    for name, fill, line, dot, ring in (
            ("MacroS_01", BTN, LINE, (46, 58, 72), LINE_HI),
            ("MacroS_02", (18, 42, 52), ACCENT, ACCENT, ACCENT),
            ("MacroS_03", (0, 104, 124), ACCENT, TEXT, TEXT)):
        a = plate(s, fill, line)
        a.ellipse(16, h / 2, 6.5, 6.5, line=ring, width=1.5)
        a.ellipse(16, h / 2, 3.5, 3.5, fill=dot)
        out[name] = a.done()
    s = SIZES["MacroBtnS"]
    out["MacroBtnS_01"] = plate(s, BTN, LINE).done()
    out["MacroBtnS_02"] = plate(s, (18, 42, 52), ACCENT).done()
    out["MacroBtnS_03"] = plate(s, (0, 104, 124), ACCENT).done()
    return out


def make_marks():
    out = {}
    w, h = SIZES["CbS"]
    a = Art(w, h)
    a.box(1, 1, w - 1, h - 1, fill=WELL, line=LINE_HI, width=1.2, r=2)
    out["CbS_D"] = a.done()
    a = Art(w, h)
    a.box(1, 1, w - 1, h - 1, fill=ACCENT, r=2)
    a.line([(4.2, 8.2), (6.8, 10.8), (11.8, 5.2)], (4, 22, 28), 2.2)
    out["CbS_E"] = a.done()
    w, h = SIZES["RdS"]
    a = Art(w, h)
    a.ellipse(w / 2, h / 2, 6.6, 6.6, fill=WELL, line=LINE_HI, width=1.2)
    out["RdS_D"] = a.done()
    a = Art(w, h)
    a.ellipse(w / 2, h / 2, 6.6, 6.6, fill=WELL, line=ACCENT, width=1.5)
    a.ellipse(w / 2, h / 2, 3.4, 3.4, fill=ACCENT)
    out["RdS_E"] = a.done()
    # ten-step bars: a slanted segment with a 2-pixel gap
    w, h = SIZES["Bar1"]
    for name, top, bottom in (("Bar1_D", (40, 51, 64), (32, 42, 54)),
                              ("Bar1_E", ACCENT, ACCENT_MID)):
        a = Art(w, h)
        seg = Art(w, h)
        seg.vgradient(0, 0, w, h, top, bottom)
        k = a.k
        mask = Image.new("L", (w * k, h * k), 0)
        ImageDraw.Draw(mask).polygon(
            [(3 * k, 0), ((w - 2) * k, 0), ((w - 5) * k, h * k),
             (0, h * k)], fill=255)
        a.im.paste(seg.im, (0, 0), mask)
        out[name] = a.done()
    # twelve-step DPI bars: square cells with a gap
    w, h = SIZES["Bar2"]
    a = Art(w, h)
    a.box(1, 1, w - 2, h - 1, fill=(34, 44, 56), r=2)
    out["Bar2_D"] = a.done()
    a = Art(w, h)
    a.box(1, 1, w - 2, h - 1, fill=ACCENT_MID, r=2)
    a.box(1, 1, w - 2, h - 3, fill=ACCENT, r=2)
    out["Bar2_E"] = a.done()
    # colour swatch frame: outer rim, dark gap, hatched interior
    w, h = SIZES["Col_F"]
    a = Art(w, h)
    a.box(0, 0, w, h, fill=LINE_HI, r=3)
    a.box(1, 1, w - 1, h - 1, fill=WELL, r=2)
    for i in range(-h, w, 5):
        a.line([(i + 2, h - 2), (i + h - 2, 2)], (28, 36, 46), 1)
    a.box(0, 0, w, h, line=LINE_HI, r=3)
    out["Col_F"] = a.done()
    return out


# --------------------------------------------------------------------------
# Macro event icons (kind digit 0..8)
# --------------------------------------------------------------------------
def make_event_icons():
    w, h = SIZES["EventIcon"]
    out = {}
    light = (196, 210, 224)
    mid = (150, 170, 190)

    def arrow(a, pts_dir, color):
        (x0, y0), (x1, y1) = pts_dir
        a.line([(x0, y0), (x1, y1)], color, 3)
        ang = math.atan2(y1 - y0, x1 - x0)
        head = 7
        p1 = (x1 + math.cos(ang) * 3, y1 + math.sin(ang) * 3)
        p2 = (x1 - head * math.cos(ang - 0.6), y1 - head * math.sin(ang - 0.6))
        p3 = (x1 - head * math.cos(ang + 0.6), y1 - head * math.sin(ang + 0.6))
        a.poly([p1, p2, p3], fill=color)

    # 0 delay: a clock
    a = Art(w, h)
    a.ellipse(12, 12, 9.5, 9.5, line=light, width=2.2)
    a.line([(12, 6), (12, 12.5), (16.5, 14.5)], light, 2.2)
    out["MacroEvent_0"] = a
    # 1 press: arrow down onto a key cap (filled accent)
    a = Art(w, h)
    a.box(3, 14, 21, 22, fill=ACCENT, r=2)
    arrow(a, ((12, 1.5), (12, 9)), ACCENT)
    out["MacroEvent_1"] = a
    # 2 release: arrow up from an outlined key cap
    a = Art(w, h)
    a.box(3, 14, 21, 22, line=light, width=2, r=2)
    arrow(a, ((12, 12), (12, 4)), light)
    out["MacroEvent_2"] = a
    # 3 X+, 4 X-, 5 Y+, 6 Y-: arrows along an axis tick
    for k, (p0, p1), tick in (
            (3, ((3, 12), (19, 12)), [(3, 6), (3, 18)]),
            (4, ((21, 12), (5, 12)), [(21, 6), (21, 18)]),
            (5, ((12, 3), (12, 19)), [(6, 3), (18, 3)]),
            (6, ((12, 21), (12, 5)), [(6, 21), (18, 21)])):
        a = Art(w, h)
        a.line(tick, mid, 2)
        arrow(a, (p0, p1), mid)
        out[f"MacroEvent_{k}"] = a
    # 7 repeat start: loop with a play triangle
    a = Art(w, h)
    a.arc(12, 12, 9.5, 40, 320, ACCENT, 2.4)
    a.poly([(9.5, 7.5), (16.5, 12), (9.5, 16.5)], fill=ACCENT)
    out["MacroEvent_7"] = a
    # 8 repeat stop: loop with a square
    a = Art(w, h)
    a.arc(12, 12, 9.5, 40, 320, ACCENT, 2.4)
    a.box(8.5, 8.5, 15.5, 15.5, fill=ACCENT, r=1)
    out["MacroEvent_8"] = a
    return {k: v.done() for k, v in out.items()}


# --------------------------------------------------------------------------
# Dialogs and busy pop-up
# --------------------------------------------------------------------------
DIALOG_SHAPE = chamfer(0, 0, DIALOG[0], DIALOG[1], tl=12, tr=6, br=12, bl=6)


def make_dialog(kind):
    W, H = DIALOG
    a = Art(W, H, bg=LINE_HI + (255,))
    a.poly(chamfer(1, 1, W - 1, H - 1, tl=11, tr=5, br=11, bl=5), fill=HEADER)
    a.vgradient(2, 2, W - 2, 36, (22, 29, 38), (17, 23, 31))
    a.poly(chamfer(1, 1, W - 1, 36, tl=11, tr=5), fill=None)
    a.line([(2, 36.5), (W - 2, 36.5)], CARD_LINE, 1)
    a.line([(3, 13), (13, 3)], ACCENT, 2)
    a.line([(14, 36.5), (110, 36.5)], ACCENT, 2)
    # close mark
    x, y, w, h = DIALOG_RECTS["close"]
    a.box(x, y, x + w, y + h, fill=(26, 34, 44), r=3)
    a.line([(x + 7, y + 7), (x + w - 7, y + h - 7)], TEXT_DIM, 1.8)
    a.line([(x + w - 7, y + 7), (x + 7, y + h - 7)], TEXT_DIM, 1.8)
    x, y, w, h = DIALOG_RECTS["field"]
    if kind == "name":
        y += 12
    well(a, x, y, x + w, y + h, r=3)
    a.box(x, y + h - 2, x + w, y + h, fill=ACCENT_DIM)
    if kind == "assembly":
        cy = DIALOG_RECTS["checks_y"]
        a.line([(20, cy + 28), (W - 20, cy + 28)], CARD_LINE, 1)
    for key in ("confirm", "cancel"):
        x, y, w, h = DIALOG_RECTS[key]
        a.box(x, y, x + w, y + h, fill=BTN, line=LINE, r=3)
    a.line([(W - 14, H - 3), (W - 3, H - 14)], ACCENT, 2)
    return apply_key(a.done(), DIALOG_SHAPE)


def make_dialog_hover():
    return plate(SIZES["DialogButton"], (18, 42, 52), ACCENT).done()


BUSY_SHAPE = chamfer(0, 0, BUSY[0], BUSY[1], tl=14, tr=14, br=14, bl=14)


def make_busy(frame):
    W, H = BUSY
    a = Art(W, H, bg=LINE_HI + (255,))
    a.poly(chamfer(1, 1, W - 1, H - 1, tl=13, tr=13, br=13, bl=13),
           fill=(12, 16, 22))
    cx, cy = W / 2, 86
    n = BUSY_FRAMES
    for i in range(n):
        ang = -90 + i * 360 / n
        age = (frame - i) % n  # 0 = head of the sweep
        if age < 6:
            t = age / 6
            col = tuple(round(c * (1 - t) + d * t) for c, d in
                        zip(ACCENT, (20, 60, 72)))
        else:
            col = (30, 40, 52)
        r0, r1 = 40, 62
        a0 = math.radians(ang - 11)
        a1 = math.radians(ang + 11)
        pts = [(cx + r0 * math.cos(a0), cy + r0 * math.sin(a0)),
               (cx + r1 * math.cos(a0), cy + r1 * math.sin(a0)),
               (cx + r1 * math.cos(a1), cy + r1 * math.sin(a1)),
               (cx + r0 * math.cos(a1), cy + r0 * math.sin(a1))]
        a.poly(pts, fill=col)
    # centre chevron
    a.poly([(cx - 14, cy - 10), (cx, cy + 4), (cx + 14, cy - 10),
            (cx + 14, cy - 2), (cx, cy + 12), (cx - 14, cy - 2)], fill=ACCENT)
    dots = "." * (frame // 3 % 4)
    a.text(cx, 164, "LOADING", 11, TEXT, anchor="ma", spacing=2.0)
    w_loading = font(11 * SS).getlength("LOADING") / SS + 2.0 * 6
    a.text(cx + w_loading / 2 + 2, 164, dots, 11, ACCENT)
    return apply_key(a.done(), BUSY_SHAPE)


# --------------------------------------------------------------------------
# Application icon
# --------------------------------------------------------------------------
ICON_SVG = """<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <path d="M44 8H212L248 44V212L212 248H44L8 212V44Z" fill="#2e3a48"/>
  <path d="M46 14H210L242 46V210L210 242H46L14 210V46Z" fill="#0e131a"/>
  <path d="M20 58L58 20" stroke="#00e5ff" stroke-width="6"/>
  <path d="M198 236L236 198" stroke="#00e5ff" stroke-width="6"/>
  <path d="M128 40C90 40 76 70 76 104V168C76 200 98 222 128 222C158 222 180 200 180 168V104C180 70 166 40 128 40Z" fill="#1e2733" stroke="#6a8098" stroke-width="4"/>
  <path d="M128 44V98M88 116L128 98L168 116" stroke="#6a8098" stroke-width="4" fill="none"/>
  <rect x="120" y="58" width="16" height="34" rx="8" fill="#00e5ff"/>
  <path d="M104 150L128 170L152 150V162L128 182L104 162Z" fill="#00e5ff"/>
</svg>
"""


def make_icon():
    S = ICON
    a = Art(S, S)
    a.poly(chamfer(8, 8, 248, 248, tl=36, tr=36, br=36, bl=36),
           fill=(46, 58, 72))
    a.poly(chamfer(14, 14, 242, 242, tl=32, tr=32, br=32, bl=32),
           fill=(14, 19, 26))
    a.line([(20, 58), (58, 20)], ACCENT, 6)
    a.line([(198, 236), (236, 198)], ACCENT, 6)
    body = mouse_outline(128, 40, 182, 104)
    a.poly(body, fill=(30, 39, 51), line=(106, 128, 152), width=4)
    a.line([(128, 44), (128, 98)], (106, 128, 152), 4)
    a.line([(88, 116), (128, 98), (168, 116)], (106, 128, 152), 4)
    a.box(120, 58, 136, 92, fill=ACCENT, r=8)
    a.poly([(104, 150), (128, 170), (152, 150), (152, 162), (128, 182),
            (104, 162)], fill=ACCENT)
    return a.done()


DESKTOP_ENTRY = """[Desktop Entry]
Type=Application
Name=Korvex48 Gaming Mouse
Comment=Configure Korvex48 gaming mice: buttons, DPI, lighting and macros
Exec=korvex48
Icon=korvex48
Terminal=false
Categories=Settings;HardwareSettings;
Keywords=mouse;gaming;DPI;macro;
"""


# --------------------------------------------------------------------------
# Output
# --------------------------------------------------------------------------
def deflate(data, strategy):
    z = zlib.compressobj(9, zlib.DEFLATED, 15, 9, strategy)
    return z.compress(data) + z.flush()


def png_bytes(im):
    """The PNG file of an RGB or RGBA picture, written here rather than by
    Pillow so that every row uses filter type 0 (none): the editor decodes
    its pictures at start-up, and unfiltered rows decode about twice as fast
    as Pillow's adaptive filters while compressing as small or smaller for
    this flat artwork. Only IHDR, IDAT and IEND are written, so the bytes
    depend on nothing but the pixels (and zlib)."""
    colour_type = {"RGB": 2, "RGBA": 6}[im.mode]
    w, h = im.size
    raw = im.tobytes()
    stride = w * len(im.mode)
    rows = b"".join(b"\0" + raw[y * stride:(y + 1) * stride] for y in range(h))
    # The smallest of zlib's strategies at level 9: the inflate cost is the
    # same for all of them.
    data = min((deflate(rows, strategy)
                for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED, zlib.Z_RLE)),
               key=len)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body)))

    ihdr = struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", data)
            + chunk(b"IEND", b""))


def save(path, im):
    path.parent.mkdir(parents=True, exist_ok=True)
    if im.mode not in ("RGB", "RGBA"):
        im = im.convert("RGBA")
    if im.mode == "RGBA" and im.getextrema()[3][0] == 255:
        im = im.convert("RGB")  # fully opaque: no alpha channel needed
    path.write_bytes(png_bytes(im))


def all_pictures():
    """Every picture by resource name."""
    pics = {}
    for lang in (1, 2, 3):
        lay = Layout(lang)
        pics[f"L{lang}_BackGround"] = make_background(lay)
        pics[f"L{lang}_Back1"] = make_back1(lay)
        pics[f"L{lang}_Back2"] = make_back2(lay)
        pics[f"L{lang}_Back3"] = make_back3(lay)
        pics[f"L{lang}_Back4"] = make_back4(lay)
        if lang == 1:
            pics["Update"] = make_update(lay)
    pics.update(make_btns())
    pics.update(make_undo_redo())
    pics.update(make_sets())
    pics.update(make_keys())
    pics.update(make_webs())
    pics.update(make_macros())
    pics.update(make_marks())
    lay = Layout(1)
    pics["InsertDelayBase"] = make_insert_base(lay, "delay")
    pics["InsertKeyBase"] = make_insert_base(lay, "key")
    pics.update(make_event_icons())
    pics["Dialog_Assembly"] = make_dialog("assembly")
    pics["Dialog_MacroName"] = make_dialog("name")
    pics["Dialog_BtnHover"] = make_dialog_hover()
    for f in range(BUSY_FRAMES):
        pics[f"Busy_{f + 1:02d}"] = make_busy(f)
    return pics




# --------------------------------------------------------------------------
# Previews: pages composed from the pictures at their table places, with
# sample texts in the table's fonts, for looking at the artwork.
# --------------------------------------------------------------------------
NAV_TEXT = {"B1": "Main Control", "B2": "Alternate Key", "B3": "Reset Control",
            "B4": "Advanced", "B5": "Breathing Light", "B11": "Macro",
            "B12": "Update", "B6": "Save Profile", "B7": "Load Profile",
            "B8": "Language1", "B9": "Language2", "B10": "Language3"}
KEY_TEXT = {1: "Left Key", 2: "Right Key", 3: "Middle Key", 4: "Backward",
            5: "Forward", 6: "CPI +", 7: "CPI -", 8: "Fire Key1",
            9: "WWW Favorites", 10: "Previous Track", 11: "KB Switch Key",
            12: "Ctrl+Shift+F12"}


def write_previews(pics, out):
    out.mkdir(parents=True, exist_ok=True)
    lay = Layout(1)

    def px(pt):
        return round(pt * 96 / 72)

    def colour(prefix):
        return tuple(lay[f"{prefix}_{c}"] for c in "RGB")

    def label(im, x, y, w, h, s, pt, col, align="c"):
        d = ImageDraw.Draw(im)
        f = font(px(pt), FONT_REG)
        if align == "c":
            d.text((x + w / 2, y + h / 2), s, font=f, fill=col, anchor="mm")
        else:
            d.text((x, y + h / 2), s, font=f, fill=col, anchor="lm")

    def put(im, name, x, y):
        p = pics[name]
        im.paste(p, (x, y), p if p.mode == "RGBA" else None)

    def base(page_key, panel_name, k):
        im = pics["L1_BackGround"].copy()
        put(im, panel_name, *lay.panel(k))
        for key in NAV_KEYS:
            if not lay[f"Btn_{key}_Enable"]:
                continue
            x, y = lay[f"Btn_{key}_X"], lay[f"Btn_{key}_Y"]
            look = "SetS_02" if key in (page_key, "B8") else "SetS_01"
            if key == "B5" and page_key == "B1":
                look = "SetS_03"
            put(im, look, x, y)
            w, h = SIZES["SetS"]
            f, b = lay["Btn_Space_F"], lay["Btn_Space_B"]
            label(im, x + f, y, w - f - b, h, NAV_TEXT[key], lay["Size_B"],
                  colour("Color_B"))
        for key, s, look in (("A3", "Reset", "BtnS_01"),
                             ("A4", "Exit", "BtnS_02")):
            x, y = lay[f"Btn_{key}_X"], lay[f"Btn_{key}_Y"]
            put(im, look, x, y)
            label(im, x, y, *SIZES["BtnS"], s, lay["Size_A"],
                  colour("Color_A"))
        put(im, "WebS_01", lay.org_value("Web_X"), lay.org_value("Web_Y"))
        return im

    # Main page
    im = base("B1", "L1_Back1", 1)
    for m, x, y in key_labels(lay):
        x, y = x + lay.panel(1)[0], y + lay.panel(1)[1]
        put(im, "KeyS_02" if m == 9 else "KeyS_01", x, y)
        label(im, x, y, *SIZES["KeyS"], KEY_TEXT[m], lay["Size_C"],
              colour("Color_C"))
    im.save(out / "preview_main.png")

    # Advanced page
    im = base("B4", "L1_Back2", 2)
    d = ImageDraw.Draw(im)
    sel, unsel = colour("Color_D_Selected"), colour("Color_D_notSelected")
    values = [400, 800, 1600, 3200, 200, 200, 200, 200]
    swatch = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 0, 255)] + \
        [(60, 60, 60)] * 4
    bw, bh = SIZES["Bar2"]
    f = font(px(lay["Size_D"]), FONT_REG)
    for d_ in range(1, 9):
        x, y = lay[f"DPI{d_}_Color_X"], lay[f"DPI{d_}_Color_Y"]
        put(im, "Col_F", x, y)
        cw, ch = SIZES["Col_F"]
        d.rectangle([x + 3, y + 3, x + cw - 4, y + ch - 4], fill=swatch[d_ - 1])
        put(im, "CbS_E" if d_ == 2 else "CbS_D", lay[f"DPI{d_}_Check_X"],
            lay[f"DPI{d_}_Check_Y"])
        on = d_ <= 4
        d.text((lay[f"DPI{d_}_X"], lay[f"DPI{d_}_Y"]), f"DPI{d_}",
               font=font(px(lay["Size_D"] + 1), FONT_REG),
               fill=sel if on else unsel)
        d.text((lay[f"DPI{d_}_Value_X"], lay[f"DPI{d_}_Value_Y"]),
               str(values[d_ - 1]), font=f, fill=unsel)
        sx, sy = lay[f"DPI{d_}_Steps_X"], lay[f"DPI{d_}_Steps_Y"]
        lit = [2, 4, 7, 10, 1, 1, 1, 1][d_ - 1]
        for k in range(12):
            put(im, "Bar2_E" if k < lit else "Bar2_D", sx + k * bw, sy)
    sx, sy = lay["AIMDPI_Steps_X"], lay["AIMDPI_Steps_Y"]
    for k in range(12):
        put(im, "Bar2_E" if k < 3 else "Bar2_D", sx + k * bw, sy)
    d.text((lay["AIMDPI_X"], lay["AIMDPI_Y"]), "AIM",
           font=font(px(lay["Size_D"] + 1), FONT_REG), fill=sel)
    d.text((lay["AIMDPI_Value_X"], lay["AIMDPI_Value_Y"]), "600", font=f,
           fill=unsel)
    for r, s in enumerate(["125Hz", "250Hz", "500Hz", "1000Hz"], 1):
        x, y = lay[f"Rep{r}_X"], lay[f"Rep{r}_Y"]
        put(im, "RdS_E" if r == 4 else "RdS_D", x, y)
        d.text((x + 20, y + 8), s, font=f, fill=unsel, anchor="lm")
    back = colour("Color_D_Back")
    ew, eh = EDIT_SIZE
    for fk in range(1, 4):
        for part, s, w in (("Cnt", "3", ew), ("Delay", "50", ew + 8)):
            x, y = lay[f"FK{fk}{part}_X"], lay[f"FK{fk}{part}_Y"]
            d.rectangle([x, y, x + w - 1, y + eh - 1], fill=back, outline=back)
            d.text((x + 4, y + eh / 2), s, font=f, fill=unsel, anchor="lm")
        put(im, "CbS_E" if fk == 1 else "CbS_D", lay[f"FK{fk}Continue_X"],
            lay[f"FK{fk}Continue_Y"])
    for key, pos in (("Spd", 6), ("DbSpd", 4), ("ScrSpd", 3)):
        x, y = lay[f"{key}_X"], lay[f"{key}_Y"]
        w = SIZES["Bar1"][0]
        for k in range(10):
            put(im, "Bar1_E" if k < pos else "Bar1_D", x + k * w, y)
            d.text((x + k * w - 4 + 15, y + 8), str(k + 1), font=f,
                   fill=unsel, anchor="ma")
    im.save(out / "preview_advanced.png")

    # Breathing Light page
    im = base("B5", "L1_Back3", 3)
    d = ImageDraw.Draw(im)
    fe = font(px(lay["Size_E"]), FONT_REG)
    ce = colour("Color_E")
    for i, key in enumerate(["LEDOff"] + [f"LEDMode{m}" for m in range(1, 6)]):
        x, y = lay[f"{key}_X"], lay[f"{key}_Y"]
        put(im, "RdS_E" if i == 2 else "RdS_D", x, y)
        d.text((x + 20, y + 8), ["Off", "Steady", "Breathing", "Neon",
                                 "Wave", "Flash"][i], font=fe, fill=ce,
               anchor="lm")
    x, y = lay["StepTime_X"], lay["StepTime_Y"]
    w = SIZES["Bar1"][0]
    for k in range(10):
        put(im, "Bar1_E" if k < 5 else "Bar1_D", x + k * w, y)
        d.text((x + k * w - 4 + 15, y + 8), str(k + 1), font=fe, fill=ce,
               anchor="ma")
    cols = [(255, 0, 0), (255, 128, 0), (255, 255, 0), (0, 255, 0),
            (0, 255, 255), (0, 0, 255), (255, 0, 255)]
    for c in range(1, 8):
        x, y = lay[f"LEDColor{c}_X"], lay[f"LEDColor{c}_Y"]
        put(im, "Col_F", x, y)
        cw, ch = SIZES["Col_F"]
        d.rectangle([x + 3, y + 3, x + cw - 4, y + ch - 4], fill=cols[c - 1])
    im.save(out / "preview_light.png")

    # Macro page, with and without the insert panel
    for variant in ("delay", "insert"):
        im = base("B11", "L1_Back4", 4)
        d = ImageDraw.Draw(im)
        ff = font(px(lay["Size_F"]), FONT_REG)
        fcol = colour("Color_F_Font")
        fback = colour("Color_F_Back")
        rows = lay["MacroNameHeight"]
        samples = {"LB_PCMacroName": ["Reload", "Burst x3", "Combo A"],
                   "LB_MacroName": ["Burst x3"],
                   "LB_macro": [("1", "A"), ("0", "50 ms"), ("2", "A"),
                                ("3", "X-Axis  12"), ("7", "Rep-Start  10"),
                                ("8", "Rep-Stop")]}
        for name, (x, y, w, h) in macro_list_rects(lay).items():
            d.rectangle([x, y, x + w - 1, y + h - 1], fill=fback)
            for i, s in enumerate(samples[name]):
                top = y + i * rows
                if i == 1 and name != "LB_MacroName":
                    d.rectangle([x, top, x + w - 1, top + rows - 1],
                                fill=(0, 92, 110))
                if isinstance(s, tuple):
                    icon = pics[f"MacroEvent_{s[0]}"].resize(
                        (rows - 2, rows - 2), Image.BILINEAR)
                    im.paste(icon, (x + 2, top + 2), icon)
                    s = s[1]
                    d.text((x + 45, top + rows / 2), s, font=ff, fill=fcol,
                           anchor="lm")
                else:
                    d.text((x + 4, top + rows / 2), s, font=ff, fill=fcol,
                           anchor="lm")
        x, y = lay["BtnStart_X"], lay["BtnStart_Y"]
        put(im, "MacroS_02", x, y)
        label(im, x, y, *SIZES["MacroS"], "Record", lay["Size_F"],
              colour("Color_F"))
        if variant == "delay":
            for i, s in enumerate(["Record Delay", "Default Delay",
                                   "No Delay"]):
                x = lay["RecDelay_X"]
                y = lay["RecDelay_Y"] + i * lay["RecDelay_H"]
                d.ellipse([x, y + 3, x + 10, y + 13],
                          fill=ACCENT if i == 0 else (60, 70, 80))
                d.text((x + 18, y + 8), s, font=ff, fill=colour("Color_F"),
                       anchor="lm")
            x, y = lay["DelayEdit_X"], lay["DelayEdit_Y"]
            d.text((x + 4, y + 11), "50", font=ff, fill=fcol, anchor="lm")
        else:
            put(im, "InsertDelayBase", lay["Insert_X"], lay["Insert_Y"])
            x, y = lay["InsertList_X"], lay["InsertList_Y"]
            d.rectangle([x, y, x + 150, y + 21], fill=(40, 44, 52))
            d.text((x + 4, y + 11), "Insert X axis Front", font=ff,
                   fill=fcol, anchor="lm")
            for key, s in (("InsertDelayEdit", "Delay Time"),
                           ("InsertAxisEdit", "X axis value")):
                x, y = lay[key + "_X"], lay[key + "_Y"]
                d.text((x - 74, y + 2 + 8), s, font=ff, fill=colour("Color_F"),
                       anchor="lm")
                d.text((x + 4, y + 11), "12", font=ff, fill=fcol, anchor="lm")
            for key, look, s in (("InsertBtnOK", "MacroBtnS_01", "OK"),
                                 ("InsertBtnCancel", "MacroBtnS_02",
                                  "Cancel")):
                x, y = lay[key + "_X"], lay[key + "_Y"]
                put(im, look, x, y)
                label(im, x, y, *SIZES["MacroBtnS"], s, lay["Size_F"],
                      colour("Color_F"))
        im.save(out / f"preview_macro_{variant}.png")

    # Update page
    im = base("B12", "Update", 5)
    d = ImageDraw.Draw(im)
    fi = font(px(lay["Size_I"]), FONT_REG)
    d.text((lay["lbl_BINPath_X"], lay["lbl_BINPath_Y"]), "Update File Path",
           font=fi, fill=TEXT)
    d.text((lay["lbl_LoadBin_X"], lay["lbl_LoadBin_Y"]),
           "/home/user/firmware/korvex48-v1.2.bin", font=fi, fill=TEXT_DIM)
    for key, look, s in (("Btn_LoadBin", "KeyS_01", "Load File"),
                         ("Btn_Program", "KeyS_02", "Update")):
        x, y = lay[key + "_X"], lay[key + "_Y"]
        put(im, look, x, y)
        label(im, x, y, *SIZES["KeyS"], s, lay["Size_I"], colour("Color_I"))
    im.save(out / "preview_update.png")

    # dialogs and busy frames on a desktop-like ground
    sheet = Image.new("RGB", (760, 420), (90, 100, 110))
    for i, (name, title) in enumerate((("Dialog_Assembly", "Assembly Key"),
                                       ("Dialog_MacroName", "Macro Name"))):
        dlg = pics[name].copy()
        dd = ImageDraw.Draw(dlg)
        dd.text(DIALOG_RECTS["title"], title, font=font(px(10), FONT_BOLD),
                fill=TEXT)
        hover = pics["Dialog_BtnHover"]
        x, y, w, h = DIALOG_RECTS["confirm"]
        dlg.paste(hover, (x, y), hover)
        for key, s in (("confirm", "Confirm" if i == 0 else "OK"),
                       ("cancel", "Clear" if i == 0 else "Cancel")):
            x, y, w, h = DIALOG_RECTS[key]
            dd.text((x + w / 2, y + h / 2), s, font=font(px(9), FONT_REG),
                    fill=TEXT, anchor="mm")
        if i == 0:
            for k, s in enumerate(["Ctrl", "Shift", "Alt", "Win"]):
                cx = 28 + k * 76
                dd.rectangle([cx, DIALOG_RECTS["checks_y"], cx + 12,
                              DIALOG_RECTS["checks_y"] + 12],
                             outline=TEXT_DIM)
                dd.text((cx + 18, DIALOG_RECTS["checks_y"] + 6), s,
                        font=font(px(9), FONT_REG), fill=TEXT, anchor="lm")
        keymask = Image.new("1", dlg.size, 0)
        keymask.putdata([0 if p == KEY else 1 for p in dlg.getdata()])
        sheet.paste(dlg, (20 + i * 370, 20), keymask)
    for i in range(4):
        fr = pics[f"Busy_{i * 3 + 1:02d}"]
        keymask = Image.new("1", fr.size, 0)
        keymask.putdata([0 if p == KEY else 1 for p in fr.getdata()])
        sheet.paste(fr.resize((103, 98)), (20 + i * 120, 220),
                    keymask.resize((103, 98)))
    for i in range(9):
        icon = pics[f"MacroEvent_{i}"]
        tile = Image.new("RGB", (32, 32), colour("Color_F_Back"))
        tile.paste(icon, (4, 4), icon)
        sheet.paste(tile.resize((64, 64), Image.NEAREST),
                    (20 + i * 80, 340))
    sheet.save(out / "preview_dialogs.png")


SHAPED = ("BackGround", "Dialog_Assembly", "Dialog_MacroName", "Busy_")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", type=Path, default=ROOT / "resources/pictures")
    ap.add_argument("--icons", type=Path, default=ROOT / "resources/icons")
    ap.add_argument("--preview", type=Path, default=None,
                    help="also write composed page previews into this folder")
    ap.add_argument("--tables", type=Path, default=None,
                    help="read ORG and org1..org3 from this folder")
    args = ap.parse_args()
    if args.tables:
        global TABLES
        TABLES = args.tables

    global SCALE
    pics = all_pictures()
    SCALE = 2
    twins = all_pictures()
    SCALE = 1
    for name, im in sorted(pics.items()):
        twin = twins[name]
        if twin.size != (im.size[0] * 2, im.size[1] * 2):
            sys.exit(f"{name}@2x: {twin.size}, not twice {im.size}")
        for n, picture in ((name, im), (f"{name}@2x", twin)):
            if any(s in name for s in SHAPED):
                check_key_edges(n, picture)
            save(args.out / f"{n}.png", picture)
    save(args.icons / "korvex48.png", make_icon())
    (args.icons / "korvex48.svg").write_text(ICON_SVG)
    (args.icons.parent / "korvex48.desktop").write_text(DESKTOP_ENTRY)
    if args.preview:
        write_previews(pics, args.preview)
    total = sum((args.out / f"{n}.png").stat().st_size for n in pics)
    total2 = sum((args.out / f"{n}@2x.png").stat().st_size for n in pics)
    print(f"{len(pics)} pictures, {total} bytes; their 2x twins, {total2} bytes")


if __name__ == "__main__":
    main()
