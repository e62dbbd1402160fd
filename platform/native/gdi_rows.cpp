// Rows of pixels: unpacking and packing each depth, ternary raster operations on pixel
// values, and the conversion of source pixels into destination pixel values.
#include "platform/native/gdi_internal.h"

#include <stdlib.h>

static struct {
    uint32_t *rows[4];
    int sizes[4];
} s_rows;

uint32_t *Gdi_Scratch(int which, int n)
{
    if (n > s_rows.sizes[which]) {
        uint32_t *grown = (uint32_t *)realloc(s_rows.rows[which], (size_t)n * sizeof(uint32_t));
        if (!grown)
            return 0;
        s_rows.rows[which] = grown;
        s_rows.sizes[which] = n;
    }
    return s_rows.rows[which];
}

uint32_t Gdi_GetPixel(const uint8_t *row, int bpp, int x)
{
    switch (bpp) {
    case 32:
        return ((const uint32_t *)row)[x];
    case 8:
        return row[x];
    case 4:
        return (x & 1) ? row[x >> 1] & 0xF : row[x >> 1] >> 4;
    default:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

void Gdi_UnpackRow(const uint8_t *row, int bpp, int x, int n, uint32_t *values)
{
    if (bpp == 32) {
        memcpy(values, (const uint32_t *)row + x, (size_t)n * 4);
        return;
    }
    for (int i = 0; i < n; i++)
        values[i] = Gdi_GetPixel(row, bpp, x + i);
}

void Gdi_PackRow(uint8_t *row, int bpp, int x, int n, const uint32_t *values)
{
    switch (bpp) {
    case 32:
        memcpy((uint32_t *)row + x, values, (size_t)n * 4);
        return;
    case 8:
        for (int i = 0; i < n; i++)
            row[x + i] = (uint8_t)values[i];
        return;
    case 4:
        for (int i = 0; i < n; i++) {
            uint8_t *p = &row[(x + i) >> 1];
            *p = ((x + i) & 1) ? (uint8_t)((*p & 0xF0) | (values[i] & 0xF))
                               : (uint8_t)((*p & 0x0F) | (values[i] & 0xF) << 4);
        }
        return;
    default:
        for (int i = 0; i < n; i++) {
            uint8_t bit = (uint8_t)(0x80 >> ((x + i) & 7));
            uint8_t *p = &row[(x + i) >> 3];
            *p = (values[i] & 1) ? (uint8_t)(*p | bit) : (uint8_t)(*p & ~bit);
        }
    }
}

bool Gdi_RopUsesSource(uint8_t rop)
{
    return ((rop >> 2) ^ rop) & 0x33;
}

bool Gdi_RopUsesPattern(uint8_t rop)
{
    return ((rop >> 4) ^ rop) & 0x0F;
}

uint32_t Gdi_Rop3(uint8_t rop, uint32_t p, uint32_t s, uint32_t d)
{
    // Bit 4p + 2s + d of the index is the result for those operand bits.
    uint32_t r = 0;
    for (int k = 0; k < 8; k++)
        if ((rop >> k) & 1)
            r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
    return r;
}

void Gdi_RopRow(uint8_t rop, uint32_t *d, const uint32_t *s, const uint32_t *pattern,
                uint32_t solid, int n)
{
    if (!pattern) {
        switch (rop) { // the common ones without the general evaluation
        case 0xCC:
            memcpy(d, s, (size_t)n * 4);
            return;
        case 0xEE:
            for (int i = 0; i < n; i++)
                d[i] |= s[i];
            return;
        case 0x88:
            for (int i = 0; i < n; i++)
                d[i] &= s[i];
            return;
        case 0x22:
            for (int i = 0; i < n; i++)
                d[i] &= ~s[i];
            return;
        case 0x66:
            for (int i = 0; i < n; i++)
                d[i] ^= s[i];
            return;
        }
    }
    for (int i = 0; i < n; i++)
        d[i] = Gdi_Rop3(rop, pattern ? pattern[i] : solid, s ? s[i] : 0, d[i]);
}

static RGBQUAD Gdi_Quad(COLORREF color)
{
    RGBQUAD q;
    q.rgbRed = color & 0xFF, q.rgbGreen = (color >> 8) & 0xFF, q.rgbBlue = (color >> 16) & 0xFF;
    q.rgbReserved = 0;
    return q;
}

// The colour of a 32-bit pixel (its top byte is not a colour).
static COLORREF Gdi_PixelColor(uint32_t pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

static bool Gdi_SameTables(const GdiView *a, const GdiView *b)
{
    return a->bpp == b->bpp && a->colors == b->colors &&
           !memcmp(a->table, b->table, (size_t)a->colors * sizeof(RGBQUAD));
}

void Gdi_PrepareConvert(GdiConvert *c, const GdiView *src, const GdiDC *srcDC, const GdiView *dst,
                        const GdiDC *dstDC)
{
    memset(c, 0, sizeof *c);
    c->src = src, c->dst = dst;
    c->byBackground = dst->mono && srcDC;
    if (c->byBackground)
        c->key = Gdi_ResolveColor(srcDC, srcDC->background);
    if (src->bpp == 32) {
        c->identity = dst->bpp == 32;
        c->fromTrueColor = !c->identity;
        return;
    }
    // A monochrome DDB's bits are the destination's text (0) and background (1) colours.
    RGBQUAD dcColors[2] = {Gdi_Quad(Gdi_ResolveColor(dstDC, dstDC->text)),
                           Gdi_Quad(Gdi_ResolveColor(dstDC, dstDC->background))};
    const RGBQUAD *table = src->mono ? dcColors : src->table;
    if (src->mono ? dst->mono : Gdi_SameTables(src, dst)) {
        c->identity = true;
        return;
    }
    // Onto a monochrome DDB only the entry nearest to the source's background colour is 1.
    uint32_t keyIndex = c->byBackground ? Gdi_NearestEntry(table, src->colors, c->key) : 0;
    for (int i = 0; i < 1 << src->bpp; i++) {
        COLORREF color = i < src->colors ? Gdi_EntryColor(&table[i]) : 0;
        c->lut[i] = c->byBackground ? (uint32_t)i == keyIndex : Gdi_ColorToPixel(dst, color);
    }
}

void Gdi_ConvertRow(const GdiConvert *c, int x, int y, int n, uint32_t *values)
{
    const GdiView *src = c->src;
    const uint8_t *row = src->top + y * src->pitch;
    Gdi_UnpackRow(row, src->bpp, x, n, values);
    if (c->identity)
        return;
    if (!c->fromTrueColor) {
        for (int i = 0; i < n; i++)
            values[i] = c->lut[values[i]];
        return;
    }
    uint32_t last = 0, lastValue = 0;
    for (int i = 0; i < n; i++) {
        uint32_t pixel = values[i];
        if (i && pixel == last) {
            values[i] = lastValue;
            continue;
        }
        COLORREF color = Gdi_PixelColor(pixel);
        // Onto 8 bits colours are matched at 5 bits a channel, each in the middle of its step.
        if (c->dst->bpp == 8)
            color = (color & 0xF8F8F8) + 0x040404;
        last = pixel;
        values[i] = lastValue = c->byBackground ? color == c->key : Gdi_ColorToPixel(c->dst, color);
    }
}
