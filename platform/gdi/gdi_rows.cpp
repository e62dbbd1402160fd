// Rows of pixels: unpacking and packing each depth, ternary raster operations on pixel
// values, and the conversion of source pixels into destination pixel values.
#include "platform/gdi/gdi_internal.h"

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
    int i = 0;
    switch (bpp) {
    case 32:
        memcpy(values, (const uint32_t *)row + x, (size_t)n * 4);
        return;
    case 8:
        for (; i < n; i++)
            values[i] = row[x + i];
        return;
    case 4: // whole bytes once on a byte
        if (x & 1)
            values[i++] = row[x >> 1] & 0xF;
        for (const uint8_t *p = row + ((x + i) >> 1); i + 2 <= n; i += 2, p++)
            values[i] = *p >> 4, values[i + 1] = *p & 0xF;
        break;
    case 1:
        for (; i < n && ((x + i) & 7); i++)
            values[i] = Gdi_GetPixel(row, 1, x + i);
        for (const uint8_t *p = row + ((x + i) >> 3); i + 8 <= n; i += 8, p++)
            for (int k = 0; k < 8; k++)
                values[i + k] = (*p >> (7 - k)) & 1;
        break;
    }
    for (; i < n; i++)
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

// With a hollow brush the pattern drops out of each operation in its own way: what each
// one does to source and destination then, as measured, as an operation without pattern.
static const uint8_t GDI_HOLLOW_ROPS[256] = {
    0x00, 0x11, 0x88, 0xCC, 0x88, 0xAA, 0x99, 0x88,
    0x88, 0x66, 0xAA, 0x44, 0xCC, 0x22, 0x11, 0xAA, // 0x00..0x0F
    0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x44, 0x77,
    0x88, 0xBB, 0xEE, 0xBB, 0xEE, 0xDD, 0xEE, 0xEE, // 0x10..0x1F
    0x88, 0x11, 0x22, 0x11, 0x44, 0x88, 0x22, 0x22,
    0x88, 0x22, 0x88, 0xBB, 0x22, 0xDD, 0xEE, 0xDD, // 0x20..0x2F
    0xCC, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
    0x88, 0x66, 0xAA, 0x77, 0xCC, 0xDD, 0xEE, 0xCC, // 0x30..0x3F
    0x44, 0x11, 0x22, 0x44, 0x44, 0x11, 0x44, 0x88,
    0x88, 0x44, 0x44, 0xBB, 0x88, 0xDD, 0xEE, 0xBB, // 0x40..0x4F
    0xAA, 0x11, 0x22, 0x55, 0x11, 0x55, 0x66, 0x77,
    0x88, 0x66, 0xAA, 0xBB, 0xCC, 0x77, 0xEE, 0xAA, // 0x50..0x5F
    0x66, 0x11, 0x22, 0x66, 0x44, 0x66, 0x66, 0x22,
    0x88, 0x66, 0x66, 0x44, 0x66, 0x22, 0x44, 0x99, // 0x60..0x6F
    0x77, 0x11, 0x22, 0x77, 0x44, 0x77, 0x22, 0x77,
    0x88, 0x77, 0x77, 0x77, 0x77, 0x77, 0xEE, 0x77, // 0x70..0x7F
    0x88, 0x11, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88,
    0x88, 0xDD, 0x88, 0xBB, 0x88, 0xDD, 0xEE, 0x77, // 0x80..0x8F
    0x99, 0xBB, 0x22, 0x99, 0x44, 0x99, 0x66, 0x22,
    0xDD, 0x99, 0x66, 0xBB, 0x66, 0xDD, 0xEE, 0x66, // 0x90..0x9F
    0xAA, 0xEE, 0x88, 0x33, 0xEE, 0xAA, 0x66, 0x88,
    0x88, 0x99, 0xAA, 0xEE, 0xAA, 0xDD, 0xEE, 0xAA, // 0xA0..0xAF
    0xBB, 0xEE, 0x22, 0x77, 0x44, 0xBB, 0x44, 0x77,
    0x88, 0xBB, 0xEE, 0xBB, 0xBB, 0xDD, 0xEE, 0xEE, // 0xB0..0xBF
    0xCC, 0x11, 0x22, 0xCC, 0x88, 0x55, 0x66, 0x88,
    0x88, 0x99, 0xCC, 0xBB, 0xCC, 0xEE, 0xEE, 0xCC, // 0xC0..0xCF
    0xDD, 0xEE, 0x22, 0xDD, 0x44, 0x77, 0x22, 0x77,
    0x88, 0xDD, 0xDD, 0xBB, 0xEE, 0xDD, 0xEE, 0xEE, // 0xD0..0xDF
    0xEE, 0xEE, 0x22, 0xEE, 0x44, 0xEE, 0x44, 0x77,
    0x88, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, // 0xE0..0xEF
    0xAA, 0x11, 0x22, 0xCC, 0x44, 0xAA, 0x66, 0x77,
    0x88, 0x99, 0xAA, 0xEE, 0xCC, 0xDD, 0xEE, 0xFF, // 0xF0..0xFF
};

uint8_t Gdi_HollowRop(uint8_t rop)
{
    return GDI_HOLLOW_ROPS[rop];
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
    if (src->mono ? dst->mono : Gdi_SameTables(src, dst)) {
        c->identity = true;
        return;
    }
    if (src->mono) {
        // A monochrome DDB's bits are the destination's text (0) and background (1) colours.
        c->lut[0] = Gdi_DCColorPixel(dstDC, dst, dstDC->text);
        c->lut[1] = Gdi_DCColorPixel(dstDC, dst, dstDC->background);
        return;
    }
    const RGBQUAD *table = src->table;
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
