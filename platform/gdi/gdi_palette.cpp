// Logical palettes and colour matching: COLORREFs into pixels of each destination format.
#include "platform/gdi/gdi_internal.h"

#include <stdlib.h>

HPALETTE WINAPI CreatePalette(const LOGPALETTE *logical)
{
    if (!logical || logical->palNumEntries > 256)
        return 0;
    GdiPalette *palette = (GdiPalette *)calloc(1, sizeof(GdiPalette));
    if (!palette)
        return 0;
    palette->count = logical->palNumEntries;
    memcpy(palette->entries, logical->palPalEntry, palette->count * sizeof(PALETTEENTRY));
    return (HPALETTE)Gdi_Register(GDI_PALETTE, palette, true);
}

UINT WINAPI SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY *entries)
{
    GdiPalette *palette = (GdiPalette *)Gdi_Lookup(handle, GDI_PALETTE);
    if (!palette || !entries || Gdi_IsStock(handle) || start >= (UINT)palette->count)
        return 0;
    if (count > palette->count - start)
        count = palette->count - start;
    memcpy(&palette->entries[start], entries, count * sizeof(PALETTEENTRY));
    return count;
}

HPALETTE WINAPI SelectPalette(HDC handle, HPALETTE palette, BOOL background)
{
    (void)background; // a true-colour display has no foreground palette to fight over
    GdiDC *dc = Gdi_GetDC(handle);
    if (!dc || !Gdi_Lookup(palette, GDI_PALETTE))
        return 0;
    HPALETTE previous = dc->palette;
    dc->palette = palette;
    return previous;
}

UINT WINAPI RealizePalette(HDC handle)
{
    // Nothing to map on a true-colour display.
    return Gdi_GetDC(handle) ? 0 : 0xFFFFFFFF;
}

COLORREF Gdi_ResolveColor(const GdiDC *dc, COLORREF color)
{
    if ((color >> 24) == 0x01) { // PALETTEINDEX
        const GdiPalette *palette = (const GdiPalette *)Gdi_Lookup(dc->palette, GDI_PALETTE);
        if (!palette)
            palette = (const GdiPalette *)Gdi_Lookup(GetStockObject(DEFAULT_PALETTE), GDI_PALETTE);
        uint32_t index = color & 0xFFFF;
        if (!palette || index >= (uint32_t)palette->count)
            index = 0;
        const PALETTEENTRY *e = palette ? &palette->entries[index] : 0;
        return e ? RGB(e->peRed, e->peGreen, e->peBlue) : 0;
    }
    return color & 0xFFFFFF;
}

COLORREF Gdi_EntryColor(const RGBQUAD *entry)
{
    return RGB(entry->rgbRed, entry->rgbGreen, entry->rgbBlue);
}

uint32_t Gdi_NearestEntry(const RGBQUAD *table, int colors, COLORREF color)
{
    int r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    uint32_t best = 0, bestDistance = UINT32_MAX;
    for (int i = 0; i < colors; i++) {
        int dr = r - table[i].rgbRed, dg = g - table[i].rgbGreen, db = b - table[i].rgbBlue;
        uint32_t distance = (uint32_t)(dr * dr + dg * dg + db * db);
        if (distance < bestDistance) {
            best = (uint32_t)i;
            bestDistance = distance;
            if (!distance)
                break;
        }
    }
    return best;
}

uint32_t Gdi_ColorToPixel(const GdiView *view, COLORREF color)
{
    if (view->bpp == 32)
        return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
    return Gdi_NearestEntry(view->table, view->colors, color);
}

uint32_t Gdi_DCColorPixel(const GdiDC *dc, const GdiView *view, COLORREF color)
{
    if ((color >> 16) == 0x10FF) // DIBINDEX: an index of indexed views, black elsewhere
        return view->bpp <= 8 ? color & 0xFF : 0;
    return Gdi_ColorToPixel(view, Gdi_ResolveColor(dc, color));
}

uint32_t Gdi_BrushPixel(const GdiDC *dc, const GdiView *view, COLORREF color)
{
    color = Gdi_ResolveColor(dc, color);
    if (view->bpp != 1)
        return Gdi_ColorToPixel(view, color);
    // One bit: a colour of the table is its bit; any other one goes with the background
    // colour if it is that colour, else against it.
    for (int i = 0; i < 2; i++)
        if (Gdi_EntryColor(&view->table[i]) == color)
            return (uint32_t)i;
    COLORREF background = Gdi_ResolveColor(dc, dc->background);
    uint32_t bit = Gdi_ColorToPixel(view, background);
    return color == background ? bit : bit ^ 1;
}

// Thresholds of the ordered dither, 0..63, repeating every 8 pixels across and down.
static const uint8_t GDI_BAYER[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

void Gdi_PreparePattern(GdiPattern *p, const GdiDC *dc, const GdiView *view)
{
    memset(p, 0, sizeof *p);
    const GdiBrush *brush = (const GdiBrush *)Gdi_Lookup(dc->brush, GDI_BRUSH);
    p->hollow = !brush || brush->hollow;
    if (p->hollow)
        return;
    COLORREF color = Gdi_ResolveColor(dc, brush->color);
    // A monochrome DDB dithers a brush by its brightness; other views take one pixel.
    p->dithered = view->mono;
    p->level =
        (30 * (color & 0xFF) + 59 * ((color >> 8) & 0xFF) + 11 * ((color >> 16) & 0xFF)) / 100;
    p->solid = Gdi_BrushPixel(dc, view, color);
}

const uint32_t *Gdi_PatternRow(const GdiPattern *p, int x, int y, int n, uint32_t *buffer)
{
    if (!p->dithered)
        return 0;
    const uint8_t *thresholds = GDI_BAYER[y & 7];
    for (int i = 0; i < n; i++)
        buffer[i] = p->level + 4 * thresholds[(x + i) & 7] >= 254;
    return buffer;
}
