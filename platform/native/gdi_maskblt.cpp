// MaskBlt: the foreground operation where the mask has 1 bits, the background one where it has
// 0 bits. Done as the platform does it: both operations on copies of the destination, combined
// through the mask as a pattern ((fore & P) | (back & ~P)), the result copied back; and one
// fast path for the composition's two calls.
#include "platform/native/gdi_internal.h"

#include <stdlib.h>

// A scratch bitmap as CreateCompatibleBitmap makes it for the destination: of its format, or,
// where that fails (a negative width beside a DIB section), the 1 x 1 monochrome bitmap the
// scratch device context keeps.
static bool Gdi_ScratchView(GdiView *t, const GdiView *like, bool refused, int width, int height)
{
    *t = *like;
    if (refused) {
        memset(t, 0, sizeof *t);
        t->bpp = 1, t->mono = true, t->table = Gdi_MonoTable(), t->colors = 2;
        width = height = 1;
    }
    t->width = width, t->height = height;
    t->pitch = (width * like->bpp + 31) / 32 * 4;
    t->top = (uint8_t *)calloc((size_t)t->pitch, (size_t)height);
    return t->top != 0;
}

// The mask's two pattern pixels in the destination's format: a monochrome DDB's bits take
// black and white (a new device context's text and background colours), a DIB section's
// its colour table's.
static void Gdi_MaskPixels(const GdiView *mask, const GdiDC *dc, const GdiView *dst,
                           uint32_t pixels[2])
{
    for (int i = 0; i < 2; i++) {
        COLORREF color = mask->mono ? (i ? 0xFFFFFF : 0) : Gdi_EntryColor(&mask->table[i]);
        pixels[i] = Gdi_BrushPixel(dc, dst, color);
    }
}

static inline int Gdi_Wrap(int v, int n)
{
    v %= n;
    return v < 0 ? v + n : v;
}

// The composition's case: 0xCCAA0029 or 0xAACC0020 into 32 bits, every rectangle inside its
// bitmap, the mask not repeating. Per pixel exactly what the general path makes.
static bool Gdi_FastMaskBlt(const GdiView *dv, int x, int y, int w, int h, const GdiView *sv,
                            const GdiDC *srcDC, const GdiDC *scratch, int sx, int sy,
                            const GdiView *mv, int mx, int my, const uint32_t pattern[2],
                            uint8_t fore, uint8_t back)
{
    bool composing = (fore == 0xAA && back == 0xCC) || (fore == 0xCC && back == 0xAA);
    if (!composing || dv->bpp != 32 || !Gdi_FastPaths() || w <= 0 || h <= 0 || x < 0 || y < 0 ||
        x + w > dv->width || y + h > dv->height || sx < 0 || sy < 0 || sx + w > sv->width ||
        sy + h > sv->height || mx < 0 || my < 0 || mx + w > mv->width || my + h > mv->height ||
        (sv->top == dv->top))
        return false;
    GdiConvert c;
    Gdi_PrepareConvert(&c, sv, srcDC, dv, scratch);
    uint32_t *line = Gdi_Scratch(0, w);
    if (!line)
        return false;
    const uint32_t p1 = pattern[1], p0 = pattern[0];
    const bool foreIsSource = fore == 0xCC;
    for (int j = 0; j < h; j++) {
        uint32_t *d = (uint32_t *)(dv->top + (y + j) * dv->pitch) + x;
        const uint8_t *m = mv->top + (my + j) * mv->pitch;
        Gdi_ConvertRow(&c, sx, sy + j, w, line);
        for (int i = 0; i < w; i++) {
            int bit = (m[(mx + i) >> 3] >> (7 - ((mx + i) & 7))) & 1;
            uint32_t p = bit ? p1 : p0;
            uint32_t s = line[i], old = d[i];
            uint32_t fg = foreIsSource ? s : old, bg = foreIsSource ? old : s;
            d[i] = (fg & p) | (bg & ~p);
        }
    }
    return true;
}

BOOL WINAPI MaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, HBITMAP mask, int maskX, int maskY, DWORD rop4)
{
    uint8_t fore = (uint8_t)(rop4 >> 16), back = (uint8_t)(rop4 >> 24);
    if (!mask)
        return Gdi_Blit(dest, x, y, width, height, source, sourceX, sourceY, width, height, fore);
    GdiDC *d = Gdi_GetDC(dest);
    GdiBitmap *m = (GdiBitmap *)Gdi_Lookup(mask, GDI_BITMAP);
    bool usesSource = Gdi_RopUsesSource(fore) || Gdi_RopUsesSource(back);
    GdiDC *s = Gdi_GetDC(source);
    GdiView dv, sv, mv;
    if (!d || !m || m->bpp != 1 || (usesSource && !s))
        return FALSE;
    if (!Gdi_ViewOf(d, &dv))
        return TRUE;
    if (s && !Gdi_ViewOf(s, &sv))
        return FALSE;
    // The mask as a view, through a device context of its own.
    GdiDC maskDC;
    memset(&maskDC, 0, sizeof maskDC);
    maskDC.bitmap = mask;
    Gdi_ViewOf(&maskDC, &mv);
    // The scratch device contexts: new ones' colours, the destination's brush.
    GdiDC scratch;
    memset(&scratch, 0, sizeof scratch);
    scratch.background = 0xFFFFFF, scratch.brush = d->brush, scratch.palette = d->palette;
    uint32_t pattern[2];
    Gdi_MaskPixels(&mv, &scratch, &dv, pattern); // for the fast path, into 32 bits
    const GdiView *src = s ? &sv : 0;
    if (s && Gdi_FastMaskBlt(&dv, x, y, width, height, &sv, s, &scratch, sourceX, sourceY, &mv,
                             maskX, maskY, pattern, fore, back)) {
        Gdi_MarkDrawn(d);
        return TRUE;
    }
    int w = abs(width), h = abs(height);
    if (!w || !h)
        return TRUE;
    const GdiBitmap *held = d->surface ? 0 : (const GdiBitmap *)Gdi_Lookup(d->bitmap, GDI_BITMAP);
    bool refused = held && held->dib && width < 0;
    GdiView back1, fore2;
    if (!Gdi_ScratchView(&back1, &dv, refused, w, h) ||
        !Gdi_ScratchView(&fore2, &dv, refused, w, h)) {
        free(back1.top);
        return FALSE;
    }
    Gdi_BlitViews(&back1, &scratch, 0, 0, width, height, &dv, d, x, y, width, height, 0xCC);
    Gdi_BlitViews(&back1, &scratch, 0, 0, width, height, src, s, sourceX, sourceY, width, height,
                  back);
    Gdi_BlitViews(&fore2, &scratch, 0, 0, width, height, &dv, d, x, y, width, height, 0xCC);
    Gdi_BlitViews(&fore2, &scratch, 0, 0, width, height, src, s, sourceX, sourceY, width, height,
                  fore);
    Gdi_MaskPixels(&mv, &scratch, &fore2, pattern);
    w = fore2.width < w ? fore2.width : w;
    h = fore2.height < h ? fore2.height : h;
    uint32_t *fv = Gdi_Scratch(0, w), *bv = Gdi_Scratch(1, w);
    for (int j = 0; fv && bv && j < h; j++) {
        const uint8_t *mrow = mv.top + Gdi_Wrap(j + maskY, mv.height) * mv.pitch;
        uint8_t *frow = fore2.top + j * fore2.pitch;
        Gdi_UnpackRow(frow, fore2.bpp, 0, w, fv);
        Gdi_UnpackRow(back1.top + j * back1.pitch, back1.bpp, 0, w, bv);
        for (int i = 0; i < w; i++) {
            uint32_t p = pattern[Gdi_GetPixel(mrow, 1, Gdi_Wrap(i + maskX, mv.width))];
            fv[i] = (fv[i] & p) | (bv[i] & ~p);
        }
        Gdi_PackRow(frow, fore2.bpp, 0, w, fv);
    }
    Gdi_BlitViews(&dv, d, x, y, width, height, &fore2, &scratch, 0, 0, width, height, 0xCC);
    free(back1.top);
    free(fore2.top);
    Gdi_MarkDrawn(d);
    return TRUE;
}
