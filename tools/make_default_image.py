#!/usr/bin/env python3
"""Builds resources/image/KORVEX48DATA, the default device image.

The image is 768 bytes: the first 256 come from the table below (parameter
section, profile section, customer identifier, five unused 0xFF bytes), the
512-byte macro area after them is all zero. The script refuses to write an
image whose section checksums do not hold.

Usage: tools/make_default_image.py [output]   (default: resources/image/KORVEX48DATA)
       tools/make_default_image.py --flash-flash [output]
           (default: resources/image/KORVEX48DATA-flash-flash)

--flash-flash writes the same defaults for a build of the mouse with "Flash"
+ "Flash" storage: byte 0 = 0xF0, parameter byte 6 bits 7-6 = 11, and the
8960-byte slot layout with an empty names table and empty pages. The programs
take it with --default-image (screenshots, demos of the Update page).
"""
import pathlib
import sys

# Image bytes 0..255, sixteen a row.
TABLE = """
E0 31 3A B0 08 B8 BF 7F 7F CF AF 00 00 45 02 EF
10 70 10 40 10 FF 00 48 00 03 03 48 96 FA 20 03
02 00 EF 15 2F F3 66 42 86 A9 BB 00 00 00 00 FF
00 3C 00 64 3C 3C 0F 00 00 00 0F 00 00 00 0F 0F
0F 00 0F 00 0F 00 0F 0F 0F 0F 0F 0F FF 0F F0 00
FF 0F FF F7 FF F0 F0 48 49 44 20 47 61 6D 69 6E
67 20 4D 6F 75 73 65 60 01 01 00 00 06 13 00 32
01 08 00 00 03 02 23 00 01 02 00 00 02 08 07 00
01 10 00 00 02 08 07 00 01 04 00 00 09 02 00 00
09 01 00 00 03 01 94 00 01 01 00 00 06 11 00 32
01 08 00 00 03 02 23 00 01 02 00 00 02 08 07 00
01 10 00 00 02 08 07 00 01 04 00 00 08 00 00 00
09 00 00 00 03 01 94 00 01 01 00 00 06 15 00 32
01 08 00 00 03 02 23 00 01 02 00 00 02 08 07 00
01 10 00 00 02 08 07 00 01 04 00 00 08 00 00 00
09 00 00 00 03 01 94 00 70 FF FF FF FF FF FF FF
"""

IMAGE_SIZE = 768
PARAMETER = (0, 104)  # offset, size; checksum is the last byte
PROFILE = (104, 145)


def checksum(data: bytes) -> int:
    return (sum(data) & 0xFF) ^ 0x5A


def build() -> bytes:
    head = bytes(int(tok, 16) for tok in TABLE.split())
    if len(head) != 256:
        raise SystemExit(f"table holds {len(head)} bytes, expected 256")
    image = head + bytes(IMAGE_SIZE - len(head))
    for name, (offset, size) in (("parameter", PARAMETER), ("profile", PROFILE)):
        section = image[offset:offset + size]
        if checksum(section[:-1]) != section[-1]:
            raise SystemExit(f"{name} checksum does not hold")
    return image


FLASH_FLASH_SIZE = 8960


def build_flash_flash() -> bytes:
    image = bytearray(build()[:256])
    image[0] = 0xF0
    image[6] |= 0xC0
    offset, size = PARAMETER
    image[offset + size - 1] = checksum(image[offset:offset + size - 1])
    return bytes(image) + bytes(FLASH_FLASH_SIZE - len(image))


def main() -> None:
    root = pathlib.Path(__file__).resolve().parent.parent
    args = sys.argv[1:]
    flash = bool(args) and args[0] == "--flash-flash"
    if flash:
        args = args[1:]
    default = "KORVEX48DATA-flash-flash" if flash else "KORVEX48DATA"
    out = pathlib.Path(args[0]) if args else root / "resources/image" / default
    out.write_bytes(build_flash_flash() if flash else build())
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
