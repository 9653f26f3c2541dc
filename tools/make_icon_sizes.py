#!/usr/bin/python3
"""Makes the hicolor theme sizes of the application icon from the 256 x 256
picture that make_artwork.py draws.

Usage: tools/make_icon_sizes.py   (writes resources/icons/hicolor/NxN/korvex48.png)
"""
from pathlib import Path

from PIL import Image

ROOT = Path(__file__).resolve().parent.parent
SIZES = (16, 22, 24, 32, 48, 64, 128)


def main():
    icons = ROOT / "resources/icons"
    source = Image.open(icons / "korvex48.png").convert("RGBA")
    for size in SIZES:
        out = icons / "hicolor" / f"{size}x{size}" / "korvex48.png"
        out.parent.mkdir(parents=True, exist_ok=True)
        source.resize((size, size), Image.LANCZOS).save(out, optimize=True)
        print(out.relative_to(ROOT))


if __name__ == "__main__":
    main()
