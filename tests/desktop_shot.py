# The picture on a screen shot (1920 x 1080 RGB) within a region X Y W H: the rows holding a
# run of at least 320 lit pixels (a channel above 0x10: darker is black, or a dark frame);
# prints the runs' bounding box and how many pixels the runs hold: "x y w h count".
import sys
W, H = 1920, 1080
shot = open(sys.argv[1], 'rb').read()
rx, ry, rw, rh = map(int, sys.argv[2:6])
lit = bytes(1 if b > 0x10 else 0 for b in range(256))
x0, y0, x1, y1, n = W, H, -1, -1, 0
for y in range(ry, ry + rh):
    row = shot[(y * W + rx) * 3:(y * W + rx + rw) * 3].translate(lit)
    mask = (int.from_bytes(row[0::3], 'big') | int.from_bytes(row[1::3], 'big') |
            int.from_bytes(row[2::3], 'big')).to_bytes(rw, 'big')
    at, best, start = 0, 0, 0
    for run in mask.split(b'\0'):
        if len(run) > best:
            best, start = len(run), at
        at += len(run) + 1
    if best >= 320:
        n += best
        x0, x1 = min(x0, rx + start), max(x1, rx + start + best - 1)
        y0, y1 = min(y0, y), max(y1, y)
print(x0, y0, x1 - x0 + 1, y1 - y0 + 1, n)
