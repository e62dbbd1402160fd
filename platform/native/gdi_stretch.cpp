// Stretching blits: which source pixels make each destination pixel, mirrored extents,
// shrinking that ANDs the pixels it merges (the default stretch mode), and PlgBlt's
// axis-aligned parallelograms.
#include "platform/native/gdi_internal.h"

#include <stdlib.h>

// The run of source pixels (as steps along the source extent) behind one destination pixel.
typedef struct {
    int first, count;
} GdiSpan;

// Which source pixels make each of `to` destination pixels along one axis. Growing, each
// destination pixel shows the source pixel under its centre (the lower one on a boundary);
// shrinking, each source pixel goes to the destination pixel under its centre, where the
// pixels that meet are merged. A single destination pixel leaves the last source pixel out.
static void Gdi_MapAxis(int from, int to, GdiSpan *spans)
{
    if (to == 1 && from > 1)
        from--;
    for (int k = 0; k < to; k++)
        spans[k].first = (int)(((2 * (int64_t)k + 1) * from - 1) / (2 * to)), spans[k].count = 1;
    if (to >= from)
        return;
    for (int k = 0; k < to; k++)
        spans[k].count = 0;
    for (int m = 0; m < from; m++) {
        GdiSpan *span = &spans[((2 * (int64_t)m + 1) * to - 1) / (2 * from)];
        if (!span->count++)
            span->first = m;
    }
}

// Where the source pixels behind each destination pixel lie within the clipped source: for
// destination pixel k from `dstart` along `dextent`, the run from spans[k] along `sextent`
// from `sstart`, as an inclusive range [lo, hi] of offsets from `vislo`, cut to [0, size);
// lo > hi when none is left. Only destination pixels within [dvlo, dvhi) are kept, at their
// offset from dvlo.
typedef struct {
    int lo, hi;
} GdiRange;

static void Gdi_Ranges(const GdiSpan *spans, int count, int dstart, int dextent, int dvlo, int dvhi,
                       int sstart, int sextent, int vislo, int size, GdiRange *ranges)
{
    for (int k = 0; k < count; k++) {
        int d = dextent > 0 ? dstart + k : dstart - k;
        if (d < dvlo || d >= dvhi)
            continue;
        int a = spans[k].first, b = spans[k].first + spans[k].count - 1;
        int lo = sextent > 0 ? sstart + a : sstart - b, hi = sextent > 0 ? sstart + b : sstart - a;
        lo -= vislo, hi -= vislo;
        ranges[d - dvlo].lo = lo < 0 ? 0 : lo;
        ranges[d - dvlo].hi = hi >= size ? size - 1 : hi;
    }
}

void Gdi_StretchRect(const GdiView *dst, GdiDC *dstDC, const GdiRect *dvis, int dx, int dy, int dw,
                     int dh, const GdiView *src, const GdiDC *srcDC, const GdiRect *svis, int sx,
                     int sy, int sw, int sh, uint8_t rop)
{
    int DW = abs(dw), DH = abs(dh), SW = abs(sw), SH = abs(sh);
    int n = dvis->right - dvis->left, rows = dvis->bottom - dvis->top;
    int sn = svis->right - svis->left, sr = svis->bottom - svis->top;
    GdiSpan *spans = (GdiSpan *)malloc(sizeof(GdiSpan) * (DW + DH));
    GdiRange *ranges = (GdiRange *)malloc(sizeof(GdiRange) * (n + rows));
    uint32_t *line = Gdi_Scratch(0, sn), *out = Gdi_Scratch(1, n), *row = Gdi_Scratch(2, n);
    uint32_t *patternRow = Gdi_Scratch(3, n);
    if (!spans || !ranges || !line || !out || !row || !patternRow) {
        free(spans);
        free(ranges);
        return;
    }
    GdiRange *columns = ranges, *lines = ranges + n;
    for (int i = 0; i < n + rows; i++)
        ranges[i].lo = 1, ranges[i].hi = 0;
    Gdi_MapAxis(SW, DW, spans);
    Gdi_Ranges(spans, DW, dx, dw, dvis->left, dvis->right, sx, sw, svis->left, sn, columns);
    Gdi_MapAxis(SH, DH, spans);
    Gdi_Ranges(spans, DH, dy, dh, dvis->top, dvis->bottom, sy, sh, svis->top, sr, lines);
    bool everyColumn = true, single = true;
    for (int x = 0; x < n; x++) {
        everyColumn = everyColumn && columns[x].lo <= columns[x].hi;
        single = single && columns[x].lo == columns[x].hi;
    }
    GdiConvert c;
    Gdi_PrepareConvert(&c, src, srcDC, dst, dstDC);
    GdiPattern pattern;
    Gdi_PreparePattern(&pattern, dstDC, dst);
    // A plain copy into 32 bits writes straight into the destination row, and a row made of
    // the same source row as the one above is a copy of it.
    bool direct = rop == 0xCC && dst->bpp == 32 && everyColumn;
    const uint8_t *previous = 0;
    int previousLine = -1;
    for (int j = 0; j < rows; j++) {
        GdiRange r = lines[j];
        if (r.lo > r.hi)
            continue;
        uint8_t *target = dst->top + (dvis->top + j) * dst->pitch;
        uint32_t *o = direct ? (uint32_t *)target + dvis->left : out;
        if (direct && single && r.lo == r.hi && r.lo == previousLine && previous) {
            memcpy(o, (const uint32_t *)previous + dvis->left, (size_t)n * 4);
            previous = target;
            continue;
        }
        for (int k = r.lo; k <= r.hi; k++) {
            const uint32_t *l = line;
            if (c.identity && src->bpp == 32)
                l = (const uint32_t *)(src->top + (svis->top + k) * src->pitch) + svis->left;
            else
                Gdi_ConvertRow(&c, svis->left, svis->top + k, sn, line);
            if (single) {
                for (int x = 0; x < n; x++)
                    o[x] = k == r.lo ? l[columns[x].lo] : o[x] & l[columns[x].lo];
                continue;
            }
            for (int x = 0; x < n; x++) {
                uint32_t v = ~0u; // shrinking merges its pixels with AND
                for (int i = columns[x].lo; i <= columns[x].hi; i++)
                    v &= l[i];
                o[x] = k == r.lo ? v : o[x] & v;
            }
        }
        previous = target, previousLine = r.lo == r.hi ? r.lo : -1;
        if (direct)
            continue;
        Gdi_UnpackRow(target, dst->bpp, dvis->left, n, row);
        const uint32_t *p = Gdi_PatternRow(&pattern, dvis->left, dvis->top + j, n, patternRow);
        for (int x = 0; x < n; x++)
            if (columns[x].lo <= columns[x].hi)
                row[x] = Gdi_Rop3(rop, p ? p[x] : pattern.solid, out[x], row[x]);
        Gdi_PackRow(target, dst->bpp, dvis->left, n, row);
    }
    free(spans);
    free(ranges);
}

BOOL WINAPI PlgBlt(HDC dest, const POINT *points, HDC source, int sourceX, int sourceY, int width,
                   int height, HBITMAP mask, int maskX, int maskY)
{
    (void)maskX, (void)maskY;
    // Only parallelograms that are rectangles on the axes: a stretch, mirrored where the
    // corners run backwards. Turned or sheared ones and masks are not drawn.
    if (!points || mask || points[1].y != points[0].y || points[2].x != points[0].x)
        return FALSE;
    const int64_t corners[] = {points[0].x, points[0].y, points[1].x, points[2].y};
    if (!Gdi_Reasonable(4, corners))
        return FALSE;
    return Gdi_Blit(dest, points[0].x, points[0].y, points[1].x - points[0].x,
                    points[2].y - points[0].y, source, sourceX, sourceY, width, height, 0xCC);
}
