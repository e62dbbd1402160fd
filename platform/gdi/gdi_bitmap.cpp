// Bitmaps: monochrome and 32-bit DDBs, DIB sections, their bits and colour tables.
#include "platform/gdi/gdi_internal.h"

#include <stdlib.h>

enum {
    GDI_MAX_SIDE = 0x7FFF,         // DIB sections and compatible bitmaps
    GDI_MAX_DDB_WIDTH = 0x7FFFFFF, // CreateBitmap: wider fails, as the platform's does
    GDI_MAX_DDB_BYTES = 1 << 28,   // ... and so do bitmaps of more memory than this
    GDI_SPARES = 4,                // freed pixel buffers kept for the next bitmap of their size
    GDI_SPARE_MIN = 64 * 1024,     // smaller ones go straight back to the allocator
};

static struct {
    uint8_t *spare[GDI_SPARES];
    size_t spareSize[GDI_SPARES];
} s_bitmaps;

uint8_t *Gdi_AllocBits(size_t size)
{
    // A frame's scratch bitmaps come and go at the same sizes: reusing their memory spares
    // the system fresh pages every time.
    for (int i = 0; size >= GDI_SPARE_MIN && i < GDI_SPARES; i++)
        if (s_bitmaps.spare[i] && s_bitmaps.spareSize[i] == size) {
            uint8_t *bits = s_bitmaps.spare[i];
            s_bitmaps.spare[i] = 0;
            memset(bits, 0, size);
            return bits;
        }
    return (uint8_t *)calloc(size ? size : 1, 1);
}

void Gdi_FreeBits(uint8_t *bits, size_t size)
{
    for (int i = 0; bits && size >= GDI_SPARE_MIN && i < GDI_SPARES; i++)
        if (!s_bitmaps.spare[i]) {
            s_bitmaps.spare[i] = bits, s_bitmaps.spareSize[i] = size;
            return;
        }
    free(bits);
}

// A side's length whatever its sign, or 0 when it is out of range.
static int Gdi_Side(int length)
{
    return length < -GDI_MAX_SIDE || length > GDI_MAX_SIDE ? 0 : length < 0 ? -length : length;
}

// A zeroed bitmap of the given format, not yet registered; null when out of memory.
static GdiBitmap *Gdi_NewBitmap(int width, int height, int bpp, bool dib)
{
    int limit = dib ? GDI_MAX_SIDE : GDI_MAX_DDB_WIDTH;
    if (width <= 0 || height <= 0 || width > limit || height > limit)
        return 0;
    // DIB rows end on a 4-byte boundary, DDB rows (as SetBitmapBits takes them) on 2 bytes.
    int align = dib ? 32 : 16;
    int64_t stride = ((int64_t)width * bpp + align - 1) / align * (align / 8);
    if (stride * height > GDI_MAX_DDB_BYTES)
        return 0;
    GdiBitmap *b = (GdiBitmap *)calloc(1, sizeof(GdiBitmap));
    if (!b)
        return 0;
    b->width = width, b->height = height, b->bpp = bpp, b->dib = dib;
    b->stride = (int)stride;
    b->bits = Gdi_AllocBits((size_t)b->stride * height);
    if (!b->bits) {
        free(b);
        return 0;
    }
    return b;
}

bool Gdi_ReadInfo(const BITMAPINFO *info, UINT usage, const GdiDC *dc, GdiFormat *format)
{
    memset(format, 0, sizeof *format);
    if (!info || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS))
        return false;
    const BITMAPINFOHEADER *h = &info->bmiHeader;
    const void *colors;
    bool triples = h->biSize == sizeof(BITMAPCOREHEADER);
    if (triples) {
        const BITMAPCOREHEADER *core = (const BITMAPCOREHEADER *)info;
        format->width = core->bcWidth, format->height = core->bcHeight;
        format->bpp = core->bcBitCount;
        if (core->bcPlanes != 1)
            return false;
        colors = (const uint8_t *)info + core->bcSize;
    } else {
        if (h->biSize < sizeof(BITMAPINFOHEADER) || h->biCompression != BI_RGB)
            return false;
        if (h->biPlanes != 1)
            return false; // descriptions of more than one plane are refused
        format->width = h->biWidth, format->height = h->biHeight, format->bpp = h->biBitCount;
        format->colors = (int)h->biClrUsed;
        colors = (const uint8_t *)info + h->biSize;
    }
    int bpp = format->bpp;
    if ((bpp != 1 && bpp != 4 && bpp != 8 && bpp != 32) || format->width <= 0 ||
        format->height == 0 || format->width > GDI_MAX_SIDE || !Gdi_Side(format->height))
        return false;
    if (bpp > 8) {
        format->colors = 0;
        return true;
    }
    // The table always has an entry per index; those the description leaves out are black.
    int given = format->colors && format->colors < 1 << bpp ? format->colors : 1 << bpp;
    format->colors = 1 << bpp;
    const GdiPalette *palette = 0;
    if (usage == DIB_PAL_COLORS) {
        palette = (const GdiPalette *)Gdi_Lookup(dc ? dc->palette : 0, GDI_PALETTE);
        if (!palette)
            palette = (const GdiPalette *)Gdi_Lookup(GetStockObject(DEFAULT_PALETTE), GDI_PALETTE);
    }
    for (int i = 0; i < given; i++) {
        RGBQUAD *q = &format->table[i];
        if (palette) {
            // Indices wrap around the entries the table could take from the palette.
            int usable = palette->count < format->colors ? palette->count : format->colors;
            const PALETTEENTRY *e =
                usable ? &palette->entries[((const WORD *)colors)[i] % usable] : 0;
            q->rgbRed = e ? e->peRed : 0, q->rgbGreen = e ? e->peGreen : 0;
            q->rgbBlue = e ? e->peBlue : 0, q->rgbReserved = 0;
        } else if (triples) {
            const RGBTRIPLE *t = &((const RGBTRIPLE *)colors)[i];
            q->rgbRed = t->rgbtRed, q->rgbGreen = t->rgbtGreen, q->rgbBlue = t->rgbtBlue;
            q->rgbReserved = 0;
        } else {
            *q = ((const RGBQUAD *)colors)[i]; // with its reserved byte, as given
        }
    }
    return true;
}

// Bitmap depths: what CreateBitmap rounds planes x bits up to.
static const uint8_t GDI_DEPTHS[] = {1, 4, 8, 16, 24, 32};

HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void *bits)
{
    // A zero side gives the default bitmap whatever the rest; negative sides fail; planes
    // times bits is the depth, rounded up. Only depths of one bit and the display's 32 are
    // drawn; the others are kept (SetBitmapBits) but a device context refuses them.
    if (!width || !height)
        return Gdi_DefaultBitmap();
    uint64_t depth = (uint64_t)planes * bitsPerPixel;
    if (width < 0 || height < 0 || depth > 32)
        return 0;
    int bpp = 1;
    for (int i = 0; GDI_DEPTHS[i] < depth; i++)
        bpp = GDI_DEPTHS[i + 1];
    GdiBitmap *b = Gdi_NewBitmap(width, height, bpp, false);
    if (b && bits)
        memcpy(b->bits, bits, (size_t)b->stride * b->height);
    return (HBITMAP)Gdi_Register(GDI_BITMAP, b, true);
}

bool Gdi_Drawable(const GdiBitmap *bitmap)
{
    return bitmap->dib || bitmap->bpp == 1 || bitmap->bpp == 32;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC handle, int width, int height)
{
    GdiDC *dc = Gdi_GetDC(handle);
    if (!dc)
        return 0;
    if (!width || !height)
        return Gdi_DefaultBitmap();
    const GdiBitmap *model =
        dc->surface ? 0 : (const GdiBitmap *)Gdi_Lookup(dc->bitmap, GDI_BITMAP);
    GdiBitmap *b;
    if (model && model->dib) {
        // A DIB section in the DC: another of its format and colours, rows bottom-up; no
        // negative width.
        if (width < 0)
            return 0;
        b = Gdi_NewBitmap(width, Gdi_Side(height), model->bpp, true);
        if (b) {
            b->bottomUp = true;
            b->colors = model->colors;
            memcpy(b->table, model->table, sizeof b->table);
        }
    } else {
        b = Gdi_NewBitmap(Gdi_Side(width), Gdi_Side(height), model ? model->bpp : 32, false);
    }
    return (HBITMAP)Gdi_Register(GDI_BITMAP, b, true);
}

HBITMAP WINAPI CreateDIBSection(HDC handle, const BITMAPINFO *info, UINT usage, void **bits,
                                HANDLE section, DWORD offset)
{
    (void)offset;
    if (bits)
        *bits = 0;
    GdiDC *dc = Gdi_GetDC(handle);
    GdiFormat format;
    if ((handle && !dc) || section || !Gdi_ReadInfo(info, usage, dc, &format))
        return 0;
    GdiBitmap *b = Gdi_NewBitmap(format.width, Gdi_Side(format.height), format.bpp, true);
    if (!b)
        return 0;
    b->bottomUp = format.height > 0;
    b->colors = format.colors;
    memcpy(b->table, format.table, sizeof b->table);
    uint8_t *storage = b->bits;
    HBITMAP made = (HBITMAP)Gdi_Register(GDI_BITMAP, b, true);
    if (made && bits)
        *bits = storage;
    return made;
}

LONG WINAPI SetBitmapBits(HBITMAP handle, DWORD count, const void *bits)
{
    GdiBitmap *b = (GdiBitmap *)Gdi_Lookup(handle, GDI_BITMAP);
    if (!b || !bits || Gdi_IsStock(handle))
        return 0;
    // Rows as a DDB keeps them: top row first, each padded to 2 bytes.
    int rowBytes = (b->width * b->bpp + 15) / 16 * 2;
    uint32_t total = (uint32_t)rowBytes * b->height;
    if (count > total)
        count = total;
    const uint8_t *from = (const uint8_t *)bits;
    for (uint32_t done = 0, y = 0; done < count; y++) {
        uint32_t n = count - done < (uint32_t)rowBytes ? count - done : (uint32_t)rowBytes;
        int row = b->bottomUp ? b->height - 1 - (int)y : (int)y;
        memcpy(b->bits + (size_t)row * b->stride, from + done, n);
        done += n;
    }
    return (LONG)count;
}

// The DIB section selected into a DC, if it has a colour table.
static GdiBitmap *Gdi_TableBitmap(HDC handle)
{
    GdiDC *dc = Gdi_GetDC(handle);
    GdiBitmap *b = dc && !dc->surface ? (GdiBitmap *)Gdi_Lookup(dc->bitmap, GDI_BITMAP) : 0;
    return b && b->dib && b->bpp <= 8 ? b : 0;
}

UINT WINAPI GetDIBColorTable(HDC handle, UINT start, UINT count, RGBQUAD *colors)
{
    GdiDC *dc = Gdi_GetDC(handle);
    const GdiBitmap *held =
        dc && !dc->surface ? (const GdiBitmap *)Gdi_Lookup(dc->bitmap, GDI_BITMAP) : 0;
    // A monochrome DDB answers with black and white, the colours its bits stand for.
    const GdiBitmap *b = held && !held->dib && held->bpp == 1 ? held : Gdi_TableBitmap(handle);
    const RGBQUAD *table = b && !b->dib ? Gdi_MonoTable() : b ? b->table : 0;
    UINT entries = b && !b->dib ? 2 : b ? (UINT)b->colors : 0;
    if (!table || !colors || start >= entries)
        return 0;
    if (count > entries - start)
        count = entries - start;
    memcpy(colors, &table[start], count * sizeof(RGBQUAD));
    return count;
}

UINT WINAPI SetDIBColorTable(HDC handle, UINT start, UINT count, const RGBQUAD *colors)
{
    GdiBitmap *b = Gdi_TableBitmap(handle);
    if (!b || !colors || start >= (UINT)b->colors)
        return 0;
    if (count > b->colors - start)
        count = b->colors - start;
    for (UINT i = 0; i < count; i++) {
        b->table[start + i] = colors[i];
        b->table[start + i].rgbReserved = 0;
    }
    return count;
}
