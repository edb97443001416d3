#!/usr/bin/env python3
"""Writes a small seed corpus for fuzz_rtf_reader into DIR (default ./seeds)."""
import os
import sys

SEEDS = {
    "plain": rb"{\rtf1 Hello\par world}",
    "hex": rb"{\rtf1 a\'e0b\'CF\'f0}",
    "unicode": rb"{\rtf1\uc1 \u1055?\u1088?\uc2 \u20013??}",
    "fonts": rb"{\rtf1{\fonttbl{\f0\fcharset204 Arial;}{\f1 Courier;}}{\colortbl;\red255\green0\blue0;}"
             rb"\f0\fs20{\b\i\ul\cf1 x}\plain y}",
    "link": rb'{\rtf1{\field{\*\fldinst HYPERLINK "doc.rtf" \\l "bm_A_b"}{\fldrslt link}}'
            rb"{\*\bkmkstart bm_Part_2}z}",
    "table": rb"{\rtf1\trowd\trgaph108\clvmgf\clbrdrt\cellx1000\cellx2050*\pard\intbl a\cell b\cell\row"
             rb"\trowd\clvmrg\cellx1020\cellx3000\pard\intbl\cell c\cell\row\pard after}",
    "pict": rb"{\rtf1{\pict\pngblip\picw2\pich2\picwgoal100\pichgoal100 89504e47}"
            rb"{\pict\wmetafile8\picw100\pich100 010009000003000000000000000000000000}"
            rb"{\pict\dibitmap0 2800000001000000010000000100080000000000}{\pict\bin3 abc}}",
    "pre": rb"{\rtf1 a~b\par c\par d~e\line f\page g}",
    "skip": rb"{\rtf1{\*\unknown x}{\info{\title t}}{\header h}{\*\shppict{\pict 00}}{\nonshppict x}}",
}

def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "seeds"
    os.makedirs(out, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(out, name + ".rtf"), "wb") as f:
            f.write(data)

if __name__ == "__main__":
    main()
