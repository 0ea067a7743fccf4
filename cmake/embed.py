#!/usr/bin/env python3
"""Writes a file as a C byte array: embed.py IN OUT SYMBOL."""
import sys

src, out, symbol = sys.argv[1:4]
data = open(src, "rb").read()
rows = (",".join(str(b) for b in data[i:i + 40]) for i in range(0, len(data), 40))
with open(out, "w") as f:
    f.write(f"/* generated from {src} */\n")
    f.write(f"const unsigned char {symbol}[{len(data)} + 1] = {{\n")
    f.write(",\n".join(rows))
    f.write(f"{',' if data else ''}0}};\nconst unsigned long {symbol}_size = {len(data)};\n")
