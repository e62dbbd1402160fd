// MaskBlt: the foreground operation where the mask has 1 bits, the background one where it has
// 0 bits. Done as the platform does it: both operations on copies of the destination, combined
// through the mask as a pattern ((fore & P) | (back & ~P)), the result copied back; and one
// fast path for the composition's two calls.
#include "platform/gdi/gdi_internal.h"

#include <stdlib.h>

enum { GDI_MAX_SCRATCH_PIXELS = 1 << 26 };

static struct {
    uint32_t expanded[256][8]; // a mask byte's eight pattern pixels, for the fast path
    uint64_t pairs[256];       // a 4-bit source byte's two pixels
    GdiQuad patternQuads[16];  // four mask bits' pattern pixels
} s_mask;

// The four pixels of two 4-bit source bytes.
static inline GdiQuad Gdi_Source4(const uint8_t *bytes)
{
    const uint64_t pair[2] = {s_mask.pairs[bytes[0]], s_mask.pairs[bytes[1]]};
    return Gdi_Load4(pair);
}

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
    t->top = Gdi_AllocBits((size_t)t->pitch * height);
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
        // White selects all four bytes of a 32-bit pixel: the fourth comes with the rest.
        if (dst->bpp == 32 && pixels[i] == 0xFFFFFF)
            pixels[i] = 0xFFFFFFFF;
    }
}

// The composition's case: 0xCCAA0029 or 0xAACC0020 into 32 bits, every rectangle inside its
// bitmap, the mask not repeating. Per pixel exactly what the general path makes:
// back ^ ((back ^ fore) & pattern), with fore and back each the source or the destination.
static bool Gdi_FastMaskBlt(const GdiView *dv, int x, int y, int w, int h, const GdiView *sv,
                            const GdiDC *srcDC, const GdiDC *scratch, int sx, int sy,
                            const GdiView *mv, int mx, int my, const uint32_t pattern[2],
                            uint8_t fore, uint8_t back)
{
    bool composing = (fore == 0xAA && back == 0xCC) || (fore == 0xCC && back == 0xAA);
    if (!composing || dv->bpp != 32 || !Gdi_FastPaths() || w <= 0 || h <= 0 || x < 0 || y < 0 ||
        x + w > dv->width || y + h > dv->height || sx < 0 || sy < 0 || sx + w > sv->width ||
        sy + h > sv->height || mx < 0 || my < 0 || mx + w > mv->width || my + h > mv->height ||
        sv->top == dv->top)
        return false;
    GdiConvert c;
    Gdi_PrepareConvert(&c, sv, srcDC, dv, scratch);
    uint32_t *line = Gdi_Scratch(0, w + 8);
    if (!line)
        return false;
    for (int b = 0; b < 256; b++) {
        for (int k = 0; k < 8; k++)
            s_mask.expanded[b][k] = pattern[(b >> (7 - k)) & 1];
        s_mask.pairs[b] = c.lut[b >> 4] | (uint64_t)c.lut[b & 0xF] << 32;
    }
    for (int v = 0; v < 16; v++)
        for (int k = 0; k < 4; k++)
            s_mask.patternQuads[v][k] = pattern[(v >> (3 - k)) & 1];
    const bool foreIsSource = fore == 0xCC;
    // A 4-bit source whose pixels start on a byte where the mask's do: read in place.
    const int lead = (8 - (mx & 7)) & 7;
    const bool inPlace = sv->bpp == 4 && !c.identity && !((sx + lead) & 1);
    for (int j = 0; j < h; j++) {
        uint32_t *d = (uint32_t *)(dv->top + (y + j) * dv->pitch) + x;
        const uint8_t *m = mv->top + (my + j) * mv->pitch;
        const uint8_t *sb = sv->top + (sy + j) * sv->pitch + ((sx + lead) >> 1);
        if (!inPlace)
            Gdi_ConvertRow(&c, sx, sy + j, w, line);
        else if (lead)
            Gdi_ConvertRow(&c, sx, sy + j, lead < w ? lead : w, line);
        int i = 0;
        for (; i < w && ((mx + i) & 7); i++) {
            uint32_t p = pattern[Gdi_GetPixel(m, 1, mx + i)];
            uint32_t fg = foreIsSource ? line[i] : d[i], bg = foreIsSource ? d[i] : line[i];
            d[i] = bg ^ ((bg ^ fg) & p);
        }
        const uint8_t *mb = m + ((mx + i) >> 3);
        // In place: four pixels at a time; a mask byte of 0 bits with a 0 pattern there keeps
        // the destination (text) or is the source (graphics).
        for (; inPlace && i + 8 <= w; i += 8, mb++, sb += 4) {
            uint8_t bits = *mb;
            uint32_t *dd = d + i;
            for (int k = 0; k < 2; k++) {
                if (!bits && !pattern[0] && foreIsSource)
                    break;
                GdiQuad s4 = Gdi_Source4(sb + 2 * k), d4 = Gdi_Load4(dd + 4 * k);
                GdiQuad p4 = s_mask.patternQuads[(bits >> (4 - 4 * k)) & 0xF];
                d4 = foreIsSource ? d4 ^ ((d4 ^ s4) & p4) : s4 ^ ((s4 ^ d4) & p4);
                memcpy(dd + 4 * k, &d4, sizeof d4);
            }
        }
        for (; i + 8 <= w; i += 8, mb++) {
            const uint32_t *p = s_mask.expanded[*mb];
            uint32_t *dd = d + i;
            const uint32_t *ss = line + i;
            if (foreIsSource)
                for (int k = 0; k < 8; k++)
                    dd[k] ^= (dd[k] ^ ss[k]) & p[k];
            else
                for (int k = 0; k < 8; k++)
                    dd[k] = ss[k] ^ ((ss[k] ^ dd[k]) & p[k]);
        }
        if (inPlace && i < w)
            Gdi_ConvertRow(&c, sx, sy + j, w, line);
        for (; i < w; i++) {
            uint32_t p = pattern[Gdi_GetPixel(m, 1, mx + i)];
            uint32_t fg = foreIsSource ? line[i] : d[i], bg = foreIsSource ? d[i] : line[i];
            d[i] = bg ^ ((bg ^ fg) & p);
        }
    }
    return true;
}

BOOL WINAPI MaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, HBITMAP mask, int maskX, int maskY, DWORD rop4)
{
    uint8_t fore = (uint8_t)(rop4 >> 16), back = (uint8_t)(rop4 >> 24);
    const int64_t all[] = {x, y, width, height, sourceX, sourceY, maskX, maskY};
    if (!Gdi_Reasonable(8, all))
        return FALSE;
    // Equal operations need no mask, which is then not even looked at; different ones need
    // a source device context, and a mask covering the whole rectangle where there is one.
    if (fore == back)
        return Gdi_Blit(dest, x, y, width, height, source, sourceX, sourceY, width, height, fore);
    if (!source)
        return FALSE;
    if (!mask)
        return Gdi_Blit(dest, x, y, width, height, source, sourceX, sourceY, width, height, fore);
    GdiDC *d = Gdi_GetDC(dest);
    GdiBitmap *m = (GdiBitmap *)Gdi_Lookup(mask, GDI_BITMAP);
    bool usesSource = Gdi_RopUsesSource(fore) || Gdi_RopUsesSource(back);
    GdiDC *s = Gdi_GetDC(source);
    GdiView dv, sv, mv;
    if (!d || !m || m->bpp != 1 || (usesSource && !s) || maskX < 0 || maskY < 0 ||
        maskX + abs(width) > m->width || maskY + abs(height) > m->height)
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
    if ((int64_t)w * h > GDI_MAX_SCRATCH_PIXELS)
        return FALSE; // no scratch bitmaps that large

    const GdiBitmap *held = d->surface ? 0 : (const GdiBitmap *)Gdi_Lookup(d->bitmap, GDI_BITMAP);
    bool refused = held && held->dib && width < 0;
    GdiView back1, fore2;
    if (!Gdi_ScratchView(&back1, &dv, refused, w, h) ||
        !Gdi_ScratchView(&fore2, &dv, refused, w, h)) {
        Gdi_FreeBits(back1.top, (size_t)back1.pitch * back1.height);
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
        const uint8_t *mrow = mv.top + (j + maskY) * mv.pitch;
        uint8_t *frow = fore2.top + j * fore2.pitch;
        Gdi_UnpackRow(frow, fore2.bpp, 0, w, fv);
        Gdi_UnpackRow(back1.top + j * back1.pitch, back1.bpp, 0, w, bv);
        for (int i = 0; i < w; i++) {
            uint32_t p = pattern[Gdi_GetPixel(mrow, 1, i + maskX)];
            fv[i] = (fv[i] & p) | (bv[i] & ~p);
        }
        Gdi_PackRow(frow, fore2.bpp, 0, w, fv);
    }
    Gdi_BlitViews(&dv, d, x, y, width, height, &fore2, &scratch, 0, 0, width, height, 0xCC);
    Gdi_FreeBits(back1.top, (size_t)back1.pitch * back1.height);
    Gdi_FreeBits(fore2.top, (size_t)fore2.pitch * fore2.height);
    Gdi_MarkDrawn(d);
    return TRUE;
}
