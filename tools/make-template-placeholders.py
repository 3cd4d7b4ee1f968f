#!/usr/bin/env python3
"""Writes the placeholder template portraits m1..m23 and f1..f10 as SVG.

They are drawn for this project so the app runs end to end without third-party
photos. A deployment replaces them with real portrait photos (see README).
"""
import colorsys
import os
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "template-sources")
W, H = 1024, 1536


def hexcolor(h, s, v):
    r, g, b = colorsys.hsv_to_rgb(h % 1.0, s, v)
    return "#%02x%02x%02x" % (int(r * 255), int(g * 255), int(b * 255))


def portrait(index, count, woman):
    t = index / count
    bg_top = hexcolor(0.55 + 0.35 * t, 0.35, 0.55)
    bg_bottom = hexcolor(0.60 + 0.35 * t, 0.45, 0.22)
    skin = hexcolor(0.06 + 0.02 * ((index * 7) % 5) / 5, 0.35 + 0.25 * ((index * 3) % 4) / 4,
                    0.92 - 0.45 * ((index * 5) % 6) / 6)
    hair = hexcolor(0.08, 0.5, 0.12 + 0.5 * ((index * 11) % 7) / 7)
    suit = hexcolor(0.6 + 0.1 * ((index * 13) % 5) / 5, 0.4, 0.15 + 0.25 * ((index * 3) % 5) / 5)
    shirt = "#f2f2f2" if index % 3 else "#dfe8f5"
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" viewBox="0 0 {W} {H}">',
        '<defs><linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{bg_top}"/><stop offset="1" stop-color="{bg_bottom}"/>'
        '</linearGradient></defs>',
        f'<rect width="{W}" height="{H}" fill="url(#bg)"/>',
    ]
    if woman:
        parts.append(f'<ellipse cx="512" cy="600" rx="270" ry="380" fill="{hair}"/>')
    # shoulders and jacket
    parts.append(f'<path d="M112 1536 C132 1200 300 1110 512 1100 C724 1110 892 1200 912 1536 Z" fill="{suit}"/>')
    parts.append(f'<path d="M432 1110 L512 1290 L592 1110 Z" fill="{shirt}"/>')
    if not woman:
        parts.append('<path d="M497 1150 L527 1150 L540 1290 L512 1330 L484 1290 Z" fill="#7a1f2b"/>')
    # neck and head
    parts.append(f'<rect x="447" y="880" width="130" height="250" rx="50" fill="{skin}"/>')
    parts.append(f'<ellipse cx="512" cy="640" rx="200" ry="270" fill="{skin}"/>')
    if woman:
        parts.append(f'<path d="M312 610 C320 380 704 380 712 610 C650 470 380 470 312 610 Z" fill="{hair}"/>')
    else:
        parts.append(f'<path d="M318 590 C300 380 724 380 706 590 C660 470 364 470 318 590 Z" fill="{hair}"/>')
    # eyes, brows, nose, mouth
    for x in (435, 589):
        parts.append(f'<ellipse cx="{x}" cy="620" rx="26" ry="15" fill="#ffffff"/>')
        parts.append(f'<circle cx="{x}" cy="620" r="11" fill="#3a2a20"/>')
        parts.append(f'<rect x="{x - 40}" y="572" width="80" height="12" rx="6" fill="{hair}"/>')
    parts.append('<path d="M512 640 L492 730 L532 730 Z" fill="#000000" fill-opacity="0.12"/>')
    parts.append('<path d="M450 790 Q512 835 574 790" stroke="#8a3b3b" stroke-width="12" fill="none" stroke-linecap="round"/>')
    parts.append('</svg>')
    return "\n".join(parts) + "\n"


def main():
    os.makedirs(OUT, exist_ok=True)
    for i in range(1, 24):
        with open(os.path.join(OUT, f"m{i}.svg"), "w") as f:
            f.write(portrait(i, 23, False))
    for i in range(1, 11):
        with open(os.path.join(OUT, f"f{i}.svg"), "w") as f:
            f.write(portrait(i, 10, True))
    return 0


if __name__ == "__main__":
    sys.exit(main())
