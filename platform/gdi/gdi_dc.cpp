// Device contexts: memory DCs and window DCs, what is selected into them, their colours.
#include "platform/gdi/gdi_internal.h"

#include <stdlib.h>

enum {
    // What the screen and every memory DC answer for RASTERCAPS on a 32-bit display: BITBLT,
    // BITMAP64, GDI20_OUTPUT, DI_BITMAP, DIBTODEV, BIGFONT, STRETCHBLT, FLOODFILL, STRETCHDIB,
    // DEVBITS.
    GDI_RASTER_CAPS = 0xBE99,
};

// Black and white: the colours a monochrome DDB's bits have as a destination.
static const RGBQUAD GDI_MONO_TABLE[2] = {{0, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0}};

const RGBQUAD *Gdi_MonoTable(void)
{
    return GDI_MONO_TABLE;
}

GdiDC *Gdi_GetDC(HDC dc)
{
    return (GdiDC *)Gdi_Lookup(dc, GDI_DC);
}

static GdiDC *Gdi_NewDC(bool surface)
{
    GdiDC *dc = (GdiDC *)calloc(1, sizeof(GdiDC));
    if (!dc)
        return 0;
    dc->surface = surface;
    dc->bitmap = surface ? 0 : Gdi_DefaultBitmap();
    dc->palette = (HPALETTE)GetStockObject(DEFAULT_PALETTE);
    dc->brush = (HBRUSH)GetStockObject(WHITE_BRUSH);
    dc->background = 0xFFFFFF;
    dc->text = 0;
    return dc;
}

bool Gdi_ViewOf(GdiDC *dc, GdiView *view)
{
    memset(view, 0, sizeof *view);
    if (dc->surface) {
        if (!dc->pixels || dc->width <= 0 || dc->height <= 0)
            return false;
        view->top = (uint8_t *)dc->pixels;
        view->pitch = dc->stride;
        view->width = dc->width, view->height = dc->height, view->bpp = 32;
        return true;
    }
    GdiBitmap *b = (GdiBitmap *)Gdi_Lookup(dc->bitmap, GDI_BITMAP);
    if (!b || !Gdi_Drawable(b))
        return false;
    view->top = b->bottomUp ? b->bits + (ptrdiff_t)(b->height - 1) * b->stride : b->bits;
    view->pitch = b->bottomUp ? -(ptrdiff_t)b->stride : b->stride;
    view->width = b->width, view->height = b->height, view->bpp = b->bpp;
    if (b->bpp <= 8) {
        view->mono = !b->dib;
        view->table = b->dib ? b->table : Gdi_MonoTable();
        view->colors = b->dib ? b->colors : 2;
    }
    return true;
}

void Gdi_MarkDrawn(GdiDC *dc)
{
    if (dc->surface)
        dc->drawn = true;
}

HDC WINAPI CreateCompatibleDC(HDC dc)
{
    if (dc && !Gdi_GetDC(dc))
        return 0;
    return (HDC)Gdi_Register(GDI_DC, Gdi_NewDC(false), true);
}

BOOL WINAPI DeleteDC(HDC handle)
{
    GdiDC *dc = Gdi_GetDC(handle);
    if (!dc || dc->surface)
        return FALSE; // window DCs go with their window
    HBITMAP bitmap = dc->bitmap;
    Gdi_Unregister(handle);
    Gdi_ReleaseBitmap(bitmap);
    return TRUE;
}

static HGDIOBJ Gdi_SelectBitmap(HDC handle, GdiDC *dc, HBITMAP bitmap)
{
    GdiBitmap *b = (GdiBitmap *)Gdi_Lookup(bitmap, GDI_BITMAP);
    if (!b || dc->surface || (b->owner && b->owner != handle) || b->doomed || !Gdi_Drawable(b))
        return 0; // one device context at a time, of the display's depth
    HBITMAP previous = dc->bitmap;
    if (previous == bitmap)
        return previous;
    if (!Gdi_IsStock(bitmap))
        b->owner = handle;
    dc->bitmap = bitmap;
    Gdi_ReleaseBitmap(previous);
    return previous;
}

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ object)
{
    GdiDC *dc = Gdi_GetDC(handle);
    if (!dc)
        return 0;
    switch (Gdi_KindOf(object)) {
    case GDI_BITMAP:
        return Gdi_SelectBitmap(handle, dc, (HBITMAP)object);
    case GDI_BRUSH: {
        HBRUSH previous = dc->brush;
        dc->brush = (HBRUSH)object;
        return previous;
    }
    default:
        return 0; // palettes go through SelectPalette
    }
}

COLORREF WINAPI SetBkColor(HDC handle, COLORREF color)
{
    GdiDC *dc = Gdi_GetDC(handle);
    if (!dc)
        return CLR_INVALID;
    COLORREF previous = dc->background;
    dc->background = color;
    return previous;
}

COLORREF WINAPI SetTextColor(HDC handle, COLORREF color)
{
    GdiDC *dc = Gdi_GetDC(handle);
    if (!dc)
        return CLR_INVALID;
    COLORREF previous = dc->text;
    dc->text = color;
    return previous;
}

int WINAPI GetDeviceCaps(HDC handle, int index)
{
    if (!Gdi_GetDC(handle))
        return 0;
    switch (index) {
    case RASTERCAPS:
        return GDI_RASTER_CAPS;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}

HDC Gdi_CreateSurfaceDC(void)
{
    return (HDC)Gdi_Register(GDI_DC, Gdi_NewDC(true), false);
}

void Gdi_SetSurface(HDC handle, uint32_t *pixels, int width, int height, int stride)
{
    GdiDC *dc = Gdi_GetDC(handle);
    if (!dc || !dc->surface)
        return;
    bool usable = pixels && width > 0 && height > 0 && stride >= 4 * width;
    dc->pixels = usable ? pixels : 0;
    dc->width = usable ? width : 0;
    dc->height = usable ? height : 0;
    dc->stride = usable ? stride : 0;
}

bool Gdi_TakeSurfaceDrawn(HDC handle)
{
    GdiDC *dc = Gdi_GetDC(handle);
    if (!dc || !dc->drawn)
        return false;
    dc->drawn = false;
    return true;
}

void Gdi_DeleteSurfaceDC(HDC handle)
{
    GdiDC *dc = Gdi_GetDC(handle);
    if (dc && dc->surface)
        Gdi_Unregister(handle);
}
