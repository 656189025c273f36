#!/usr/bin/env python3
"""Reads a 24/32-bit screenshot taken with xwd: prints the lit pixels of a region (all of it by
default) and the share of them that are red shades (green equal to blue, red above both), or
writes the region as a PNG.
  xwd_pixels.py FILE.xwd [X Y W H] [--png OUT.png]"""
import struct, sys, zlib

def read(path):
    d = open(path, 'rb').read()
    f = struct.unpack('>25I', d[:100])
    size, width, height, order, line, ncolors = f[0], f[4], f[5], f[7], f[12], f[19]
    data = d[size + 12 * ncolors:]
    step = f[11] // 8  # bytes a pixel: 3 or 4 on a 24-bit screen
    def pixel(x, y):
        p = data[y * line + step * x: y * line + step * x + step] + b'\0'
        v = struct.unpack('<I' if order == 0 else '>I', p[:4] if order == 0 else p[-4:])[0]
        return (v >> 16) & 255, (v >> 8) & 255, v & 255
    return width, height, pixel

def png(path, w, h, rows):
    raw = b''.join(b'\0' + bytes(c for p in row for c in p) for row in rows)
    chunk = lambda t, c: struct.pack('>I', len(c)) + t + c + struct.pack('>I', zlib.crc32(t + c))
    open(path, 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) +
                           chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

args = sys.argv[1:]
out = args.pop(args.index('--png') + 1) if '--png' in args else None
if out: args.remove('--png')
width, height, pixel = read(args[0])
x0, y0, w, h = (int(a) for a in args[1:5]) if len(args) >= 5 else (0, 0, width, height)
rows = [[pixel(x, y) for x in range(x0, x0 + w)] for y in range(y0, y0 + h)]
if out:
    png(out, w, h, rows)
else:
    lit = [p for row in rows for p in row if any(p)]
    red = sum(1 for r, g, b in lit if g == b and r > g)
    print(len(lit), round(red / max(1, len(lit)), 3))
