// Stretching blits: which source pixels make each destination pixel, mirrored extents,
// shrinking that ANDs the pixels it merges (the default stretch mode), and PlgBlt's
// axis-aligned parallelograms.
#include "platform/gdi/gdi_internal.h"

#include <stdlib.h>

// The run of source pixels (as steps along the source extent) behind one destination pixel.
typedef struct {
    int64_t first, count;
} GdiSpan;

// floor(a / b) for b > 0, whatever the sign of a.
static int64_t Gdi_FloorDiv(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Which source pixels make destination pixel k of `to` along one axis, from `from`. Growing,
// each destination pixel shows the source pixel under its centre (the lower one on a
// boundary); shrinking, each source pixel goes to the destination pixel under its centre,
// where the pixels that meet are merged. Worked out for the one pixel, so that a stretch
// costs what is visible, not what was asked.
static GdiSpan Gdi_SpanOf(int64_t from, int64_t to, int64_t k)
{
    GdiSpan span;
    if (to >= from) {
        span.first = ((2 * k + 1) * from - 1) / (2 * to), span.count = 1;
        return span;
    }
    // Source pixel m goes to ((2m + 1) to - 1) / (2 from): the first of those that reach k.
    int64_t first = -Gdi_FloorDiv(-(2 * from * k + 1 - to), 2 * to);
    int64_t next = -Gdi_FloorDiv(-(2 * from * (k + 1) + 1 - to), 2 * to);
    first = first < 0 ? 0 : first;
    next = next > from ? from : next;
    span.first = first, span.count = next - first;
    return span;
}

// Where the source pixels behind each visible destination pixel lie within the clipped
// source: for the `count` destination pixels from `dvlo`, the run along `sextent` from
// `sstart` as an inclusive range [lo, hi] of offsets from `svlo`, cut to [0, size); lo > hi
// when none is left. A single destination pixel from a source read forwards leaves the
// source's last pixel out; read backwards, it merges them all.
typedef struct {
    int lo, hi;
} GdiRange;

static void Gdi_AxisRanges(int dstart, int dextent, int dvlo, int count, int sstart, int sextent,
                           int svlo, int size, GdiRange *ranges)
{
    int64_t from = sextent < 0 ? -(int64_t)sextent : sextent;
    int64_t to = dextent < 0 ? -(int64_t)dextent : dextent;
    if (to == 1 && from > 1 && sextent > 0)
        from--;
    for (int i = 0; i < count; i++) {
        ranges[i].lo = 1, ranges[i].hi = 0;
        int64_t k = dextent > 0 ? (int64_t)dvlo + i - dstart : (int64_t)dstart - dvlo - i;
        if (k < 0 || k >= to)
            continue;
        GdiSpan span = Gdi_SpanOf(from, to, k);
        if (span.count <= 0)
            continue;
        int64_t a = span.first, b = span.first + span.count - 1;
        int64_t lo = (sextent > 0 ? sstart + a : sstart - b) - svlo;
        int64_t hi = (sextent > 0 ? sstart + b : sstart - a) - svlo;
        ranges[i].lo = lo < 0 ? 0 : lo > size ? size : (int)lo;
        ranges[i].hi = hi >= size ? size - 1 : hi < -1 ? -1 : (int)hi;
    }
}

bool Gdi_TrimMirrored(int *d, int *dextent, int *s, int *sextent, int size)
{
    if ((*dextent < 0) == (*sextent < 0))
        return true;
    // The spans as [lo, hi): a negative extent reaches back from one past its start.
    int64_t dlo = *dextent > 0 ? *d : (int64_t)*d + *dextent + 1, dhi = dlo + abs(*dextent);
    int64_t slo = *sextent > 0 ? *s : (int64_t)*s + *sextent + 1, shi = slo + abs(*sextent);
    int64_t cutLo = slo < 0 ? -slo : 0, cutHi = shi > size ? shi - size : 0;
    if (!cutLo && !cutHi)
        return true;
    int64_t from = shi - slo, to = dhi - dlo;
    if (cutLo + cutHi >= from)
        return false;
    // The source is clipped to its bitmap, and the destination loses the same side, in
    // proportion: the platform maps what is left without turning the cut around.
    slo += cutLo, shi -= cutHi;
    dlo += cutLo * to / from, dhi -= cutHi * to / from;
    if (dlo >= dhi)
        return false;
    *s = (int)(*sextent > 0 ? slo : shi - 1);
    *sextent = (int)(*sextent > 0 ? shi - slo : slo - shi);
    *d = (int)(*dextent > 0 ? dlo : dhi - 1);
    *dextent = (int)(*dextent > 0 ? dhi - dlo : dlo - dhi);
    return true;
}

// The visible source rectangle copied aside (a stretch within one bitmap then reads the
// source as it was before the call); false when out of memory.
static bool Gdi_CopyAside(const GdiView *src, const GdiRect *svis, GdiView *copy)
{
    int sn = svis->right - svis->left, sr = svis->bottom - svis->top;
    *copy = *src;
    copy->width = sn, copy->height = sr;
    copy->pitch = ((ptrdiff_t)sn * src->bpp + 31) / 32 * 4;
    copy->top = Gdi_AllocBits((size_t)copy->pitch * sr);
    uint32_t *values = Gdi_Scratch(0, sn);
    if (!copy->top || !values) {
        Gdi_FreeBits(copy->top, (size_t)copy->pitch * sr);
        return false;
    }
    for (int j = 0; j < sr; j++) {
        Gdi_UnpackRow(src->top + (svis->top + j) * src->pitch, src->bpp, svis->left, sn, values);
        Gdi_PackRow(copy->top + j * copy->pitch, src->bpp, 0, sn, values);
    }
    return true;
}

void Gdi_StretchRect(const GdiView *dst, GdiDC *dstDC, const GdiRect *dvis, int dx, int dy, int dw,
                     int dh, const GdiView *src, const GdiDC *srcDC, const GdiRect *svis, int sx,
                     int sy, int sw, int sh, uint8_t rop)
{
    int n = dvis->right - dvis->left, rows = dvis->bottom - dvis->top;
    int sn = svis->right - svis->left, sr = svis->bottom - svis->top;
    GdiView aside;
    bool same = src->top == dst->top;
    if (same && !Gdi_CopyAside(src, svis, &aside))
        return;
    const GdiView *from = same ? &aside : src;
    int baseX = same ? 0 : svis->left, baseY = same ? 0 : svis->top;
    GdiRange *ranges = (GdiRange *)malloc(sizeof(GdiRange) * ((size_t)n + rows));
    uint32_t *line = Gdi_Scratch(0, sn), *out = Gdi_Scratch(1, n), *row = Gdi_Scratch(2, n);
    uint32_t *patternRow = Gdi_Scratch(3, n);
    if (!ranges || !line || !out || !row || !patternRow) {
        free(ranges);
        if (same)
            Gdi_FreeBits(aside.top, (size_t)aside.pitch * aside.height);
        return;
    }
    GdiRange *columns = ranges, *lines = ranges + n;
    Gdi_AxisRanges(dx, dw, dvis->left, n, sx, sw, svis->left, sn, columns);
    Gdi_AxisRanges(dy, dh, dvis->top, rows, sy, sh, svis->top, sr, lines);
    bool everyColumn = true, single = true;
    for (int x = 0; x < n; x++) {
        everyColumn = everyColumn && columns[x].lo <= columns[x].hi;
        single = single && columns[x].lo == columns[x].hi;
    }
    GdiConvert c;
    Gdi_PrepareConvert(&c, from, srcDC, dst, dstDC);
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
            if (c.identity && from->bpp == 32)
                l = (const uint32_t *)(from->top + (baseY + k) * from->pitch) + baseX;
            else
                Gdi_ConvertRow(&c, baseX, baseY + k, sn, line);
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
    free(ranges);
    if (same)
        Gdi_FreeBits(aside.top, (size_t)aside.pitch * aside.height);
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
