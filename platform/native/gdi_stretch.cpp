// Stretching blits: which source pixels make each destination pixel, mirrored extents,
// shrinking that ANDs the pixels it merges (the default stretch mode), and PlgBlt's
// axis-aligned parallelograms.
#include "platform/native/gdi_internal.h"

#include <stdlib.h>

// The run of source pixels (as steps along the source extent) behind one destination pixel.
typedef struct {
    int first, count;
} GdiSpan;

// Spreads `from` source pixels over `to` destination pixels with an error term: growing
// repeats source pixels, shrinking merges runs of them. One destination pixel takes all but
// the last source pixel.
static void Gdi_MapAxis(int from, int to, GdiSpan *spans)
{
    if (to == 1 && from > 1)
        from--;
    if (to >= from) {
        int s = 0, error = 3 * from - 2 * to;
        for (int k = 0; k < to; k++) {
            spans[k].first = s, spans[k].count = 1;
            if (error > 0)
                s++, error += 2 * (from - to);
            else
                error += 2 * from;
        }
        return;
    }
    int k = 0, error = 3 * to - 2 * from;
    spans[0].first = 0, spans[0].count = 0;
    for (int m = 0; m < from; m++) {
        spans[k].count++;
        if (error > 0) {
            if (++k == to)
                break;
            spans[k].first = m + 1, spans[k].count = 0;
            error += 2 * (to - from);
        } else {
            error += 2 * to;
        }
    }
}

// The k-th pixel along an extent from `start`: a negative extent runs backwards.
static inline int Gdi_Along(int start, int extent, int k)
{
    return extent > 0 ? start + k : start - k;
}

void Gdi_StretchRect(const GdiView *dst, GdiDC *dstDC, const GdiRect *dvis, int dx, int dy, int dw,
                     int dh, const GdiView *src, const GdiDC *srcDC, const GdiRect *svis, int sx,
                     int sy, int sw, int sh, uint8_t rop)
{
    int DW = abs(dw), DH = abs(dh), SW = abs(sw), SH = abs(sh);
    int n = dvis->right - dvis->left, sn = svis->right - svis->left;
    GdiSpan *columns = (GdiSpan *)malloc(sizeof(GdiSpan) * (DW + DH));
    uint32_t *line = Gdi_Scratch(0, sn), *out = Gdi_Scratch(1, n), *row = Gdi_Scratch(2, n);
    uint32_t *patternRow = Gdi_Scratch(3, n);
    uint8_t *filled = (uint8_t *)malloc((size_t)n);
    if (!columns || !line || !out || !row || !patternRow || !filled) {
        free(columns);
        free(filled);
        return;
    }
    GdiSpan *rows = columns + DW;
    Gdi_MapAxis(SW, DW, columns);
    Gdi_MapAxis(SH, DH, rows);
    GdiConvert c;
    Gdi_PrepareConvert(&c, src, srcDC, dst, dstDC);
    GdiPattern pattern;
    Gdi_PreparePattern(&pattern, dstDC, dst);
    for (int kr = 0; kr < DH; kr++) {
        int y = Gdi_Along(dy, dh, kr);
        if (y < dvis->top || y >= dvis->bottom)
            continue;
        memset(filled, 0, (size_t)n);
        bool any = false;
        for (int j = 0; j < rows[kr].count; j++) {
            int syj = Gdi_Along(sy, sh, rows[kr].first + j);
            if (syj < svis->top || syj >= svis->bottom)
                continue;
            Gdi_ConvertRow(&c, svis->left, syj, sn, line);
            for (int kc = 0; kc < DW; kc++) {
                int x = Gdi_Along(dx, dw, kc) - dvis->left;
                if (x < 0 || x >= n)
                    continue;
                for (int i = 0; i < columns[kc].count; i++) {
                    int sxi = Gdi_Along(sx, sw, columns[kc].first + i) - svis->left;
                    if (sxi < 0 || sxi >= sn)
                        continue;
                    out[x] = filled[x] ? out[x] & line[sxi] : line[sxi];
                    filled[x] = 1;
                    any = true;
                }
            }
        }
        if (!any)
            continue;
        uint8_t *target = dst->top + y * dst->pitch;
        Gdi_UnpackRow(target, dst->bpp, dvis->left, n, row);
        const uint32_t *p = Gdi_PatternRow(&pattern, dvis->left, y, n, patternRow);
        for (int x = 0; x < n; x++)
            if (filled[x])
                row[x] = Gdi_Rop3(rop, p ? p[x] : pattern.solid, out[x], row[x]);
        Gdi_PackRow(target, dst->bpp, dvis->left, n, row);
    }
    free(columns);
    free(filled);
}

BOOL WINAPI PlgBlt(HDC dest, const POINT *points, HDC source, int sourceX, int sourceY, int width,
                   int height, HBITMAP mask, int maskX, int maskY)
{
    (void)maskX, (void)maskY;
    // Only parallelograms that are rectangles on the axes: a stretch, mirrored where the
    // corners run backwards. Turned or sheared ones and masks are not drawn.
    if (!points || mask || points[1].y != points[0].y || points[2].x != points[0].x)
        return FALSE;
    return Gdi_Blit(dest, points[0].x, points[0].y, points[1].x - points[0].x,
                    points[2].y - points[0].y, source, sourceX, sourceY, width, height, 0xCC);
}
