// Plain blits: BitBlt and StretchBlt's clipping of the two rectangles, pattern fills, and the
// same-size transfer through a fast row function or the general one.
#include "platform/gdi/gdi_internal.h"

// The pixels a rectangle covers; a negative extent reaches back from one past its start.
static GdiRect Gdi_Bounds(int x, int y, int width, int height)
{
    GdiRect r = {x, y, x + width, y + height};
    if (r.left > r.right) {
        int t = r.left;
        r.left = r.right + 1, r.right = t + 1;
    }
    if (r.top > r.bottom) {
        int t = r.top;
        r.top = r.bottom + 1, r.bottom = t + 1;
    }
    return r;
}

static bool Gdi_Intersect(GdiRect *out, const GdiRect *a, const GdiRect *b)
{
    out->left = a->left > b->left ? a->left : b->left;
    out->top = a->top > b->top ? a->top : b->top;
    out->right = a->right < b->right ? a->right : b->right;
    out->bottom = a->bottom < b->bottom ? a->bottom : b->bottom;
    return out->left < out->right && out->top < out->bottom;
}

static bool Gdi_ClipToView(GdiRect *r, const GdiView *view)
{
    GdiRect all = {0, 0, view->width, view->height};
    return Gdi_Intersect(r, r, &all);
}

static void Gdi_PatternRect(const GdiView *dst, const GdiDC *dc, const GdiRect *r, uint8_t rop)
{
    GdiPattern pattern;
    Gdi_PreparePattern(&pattern, dc, dst);
    int n = r->right - r->left;
    uint32_t *d = Gdi_Scratch(1, n), *p = Gdi_Scratch(2, n);
    if (!d || !p)
        return;
    for (int y = r->top; y < r->bottom; y++) {
        uint8_t *row = dst->top + y * dst->pitch;
        Gdi_UnpackRow(row, dst->bpp, r->left, n, d);
        Gdi_RopRow(rop, d, 0, Gdi_PatternRow(&pattern, r->left, y, n, p), pattern.solid, n);
        Gdi_PackRow(row, dst->bpp, r->left, n, d);
    }
}

void Gdi_CopyRect(const GdiView *dst, GdiDC *dstDC, const GdiRect *d, const GdiView *src,
                  const GdiDC *srcDC, int sx, int sy, uint8_t rop)
{
    GdiConvert c;
    Gdi_PrepareConvert(&c, src, srcDC, dst, dstDC);
    int n = d->right - d->left, rows = d->bottom - d->top;
    GdiPattern pattern;
    Gdi_PreparePattern(&pattern, dstDC, dst);
    // One bitmap on both sides: rows walk away from the overlap; each row goes through a
    // copy of its source first.
    bool same = src->top == dst->top && src->pitch == dst->pitch;
    bool upward = same && sy < d->top;
    GdiFastRow fast = same || Gdi_RopUsesPattern(rop) ? 0 : Gdi_PickFastRow(&c, rop);
    uint32_t *sv = Gdi_Scratch(0, n), *dv = Gdi_Scratch(1, n), *pv = Gdi_Scratch(2, n);
    if (!sv || !dv || !pv)
        return;
    for (int k = 0; k < rows; k++) {
        int i = upward ? rows - 1 - k : k;
        uint8_t *row = dst->top + (d->top + i) * dst->pitch;
        if (fast) {
            fast(row, d->left, src->top + (sy + i) * src->pitch, sx, n, &c);
            continue;
        }
        Gdi_ConvertRow(&c, sx, sy + i, n, sv);
        Gdi_UnpackRow(row, dst->bpp, d->left, n, dv);
        Gdi_RopRow(rop, dv, sv, Gdi_PatternRow(&pattern, d->left, d->top + i, n, pv), pattern.solid,
                   n);
        Gdi_PackRow(row, dst->bpp, d->left, n, dv);
    }
}

BOOL Gdi_BlitViews(const GdiView *dv, GdiDC *dstDC, int x, int y, int width, int height,
                   const GdiView *sv, const GdiDC *srcDC, int sx, int sy, int sw, int sh,
                   uint8_t rop)
{
    const GdiBrush *brush = (const GdiBrush *)Gdi_Lookup(dstDC->brush, GDI_BRUSH);
    if (!brush || brush->hollow)
        rop = Gdi_HollowRop(rop);
    if (rop == 0xAA)
        return TRUE; // the destination as it is
    bool stretch = Gdi_RopUsesSource(rop) && (width != sw || height != sh);
    if (stretch && (!Gdi_TrimMirrored(&x, &width, &sx, &sw, sv->width) ||
                    !Gdi_TrimMirrored(&y, &height, &sy, &sh, sv->height)))
        return TRUE; // nothing of the source is left
    GdiRect dvis = Gdi_Bounds(x, y, width, height);
    bool visible = width && height && Gdi_ClipToView(&dvis, dv);
    if (!Gdi_RopUsesSource(rop)) {
        if (visible)
            Gdi_PatternRect(dv, dstDC, &dvis, rop);
        return TRUE;
    }
    GdiRect svis = Gdi_Bounds(sx, sy, sw, sh);
    if (!sw || !sh || !Gdi_ClipToView(&svis, sv) || !visible)
        return TRUE;
    if (width == sw && height == sh) {
        GdiRect moved = {svis.left + x - sx, svis.top + y - sy, svis.right + x - sx,
                         svis.bottom + y - sy};
        GdiRect r;
        if (Gdi_Intersect(&r, &moved, &dvis))
            Gdi_CopyRect(dv, dstDC, &r, sv, srcDC, r.left - x + sx, r.top - y + sy, rop);
        return TRUE;
    }
    Gdi_StretchRect(dv, dstDC, &dvis, x, y, width, height, sv, srcDC, &svis, sx, sy, sw, sh, rop);
    return TRUE;
}

bool Gdi_Reasonable(int count, const int64_t *values)
{
    for (int i = 0; i < count; i++)
        if (values[i] < -GDI_MAX_COORDINATE || values[i] > GDI_MAX_COORDINATE)
            return false;
    return true;
}

BOOL Gdi_Blit(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
              int sourceWidth, int sourceHeight, uint8_t rop)
{
    const int64_t all[] = {x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight};
    if (!Gdi_Reasonable(8, all))
        return FALSE;
    GdiDC *d = Gdi_GetDC(dest);
    GdiDC *s = Gdi_RopUsesSource(rop) ? Gdi_GetDC(source) : 0;
    if (!d || (Gdi_RopUsesSource(rop) && !s))
        return FALSE;
    GdiView dv, sv;
    if (!Gdi_ViewOf(d, &dv))
        return TRUE; // a window without pixels: nothing to draw
    if (s && !Gdi_ViewOf(s, &sv))
        return FALSE;
    BOOL result = Gdi_BlitViews(&dv, d, x, y, width, height, s ? &sv : 0, s, sourceX, sourceY,
                                sourceWidth, sourceHeight, rop);
    Gdi_MarkDrawn(d);
    return result;
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop)
{
    return Gdi_Blit(dest, x, y, width, height, source, sourceX, sourceY, width, height,
                    (uint8_t)(rop >> 16));
}

BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                       int sourceY, int sourceWidth, int sourceHeight, DWORD rop)
{
    const int64_t all[] = {x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight};
    if (!Gdi_Reasonable(8, all))
        return FALSE;
    // Nothing mirrored, yet extents negative: the spans reach back from the origins
    // themselves, x + width .. x - 1. (Mirrored on either axis, every negative extent
    // reaches back from one past its origin.)
    bool mirrored = (width < 0) != (sourceWidth < 0) || (height < 0) != (sourceHeight < 0);
    if (!mirrored && width < 0)
        x += width, width = -width, sourceX += sourceWidth, sourceWidth = -sourceWidth;
    if (!mirrored && height < 0)
        y += height, height = -height, sourceY += sourceHeight, sourceHeight = -sourceHeight;
    return Gdi_Blit(dest, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight,
                    (uint8_t)(rop >> 16));
}
