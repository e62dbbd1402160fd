// Internals of the native software GDI shared between its files: objects behind handles,
// pixel views of device contexts, colour matching and the raster-operation engine.
#pragma once

#include "platform/gdi/gdi.h"

#include <stddef.h>

typedef enum { GDI_DC = 1, GDI_BITMAP, GDI_PALETTE, GDI_BRUSH } GdiKind;

typedef struct {
    int width, height;
    int bpp;       // 1, 4, 8 or 32
    uint8_t *bits; // storage, top row first unless bottomUp
    int stride;    // bytes per stored row
    bool bottomUp; // a DIB section stored bottom row first
    bool dib;      // a DIB section: its colour table speaks for its pixels
    int colors;    // colour-table entries (indexed DIB sections)
    RGBQUAD table[256];
    HDC owner;   // the memory device context it is selected into
    bool doomed; // deleted while selected: freed when it leaves its device context
} GdiBitmap;

typedef struct {
    int count;
    PALETTEENTRY entries[256];
} GdiPalette;

typedef struct {
    COLORREF color;
    bool hollow;
} GdiBrush;

typedef struct {
    bool surface; // a window device context drawing into the window layer's pixels
    HBITMAP bitmap;
    uint32_t *pixels;
    int width, height, stride;
    bool drawn;
    HPALETTE palette;
    HBRUSH brush;
    COLORREF background, text;
} GdiDC;

// What a blit reads or writes: rows of pixels with their format.
typedef struct {
    uint8_t *top;    // row 0
    ptrdiff_t pitch; // bytes from a row to the one below
    int width, height, bpp;
    const RGBQUAD *table; // indexed views
    int colors;
    bool mono; // 1-bit device-dependent: device-context colours stand for its bits as a source
} GdiView;

// ---- objects (gdi_objects.cpp) ----

// Registers a new object of `kind` owning `object` (from malloc, a bitmap with its bits); its
// handle, or null (the object freed) when out of memory or a creation failure was asked for.
// Counted objects are those of Gdi_LiveObjects and Gdi_FailCreationAt.
void *Gdi_Register(GdiKind kind, void *object, bool counted);

// The object behind a live handle of `kind`; null for anything else.
void *Gdi_Lookup(const void *handle, GdiKind kind);

// The kind of a live handle, or 0.
int Gdi_KindOf(const void *handle);

// Frees a registered object and retires its handle.
void Gdi_Unregister(const void *handle);

// True for the stock objects, which are never freed.
bool Gdi_IsStock(const void *handle);

// The 1 x 1 monochrome bitmap every new memory device context holds.
HBITMAP Gdi_DefaultBitmap(void);

// Frees a doomed bitmap once it left its device context.
void Gdi_ReleaseBitmap(HBITMAP bitmap);

// ---- bitmaps (gdi_bitmap.cpp) ----

// Zeroed memory for a bitmap's pixels (null when out of memory), and its return.
uint8_t *Gdi_AllocBits(size_t size);
void Gdi_FreeBits(uint8_t *bits, size_t size);

// A bitmap description: size (height negative: rows top-down), depth and colours.
typedef struct {
    int width, height, bpp, colors;
    RGBQUAD table[256];
} GdiFormat;

// Whether a device context can draw into the bitmap: DIB sections and DDBs of one bit or
// the display's 32.
bool Gdi_Drawable(const GdiBitmap *bitmap);

// Reads a BITMAPINFO (info or core header) and its colours: DIB_RGB_COLORS entries, or
// DIB_PAL_COLORS indices into the DC's palette. False for what this GDI cannot draw.
bool Gdi_ReadInfo(const BITMAPINFO *info, UINT usage, const GdiDC *dc, GdiFormat *format);

// ---- device contexts (gdi_dc.cpp) ----

// The device context behind a handle, or null.
GdiDC *Gdi_GetDC(HDC dc);

// The pixels a device context draws into; false (and an empty view) when it has none.
bool Gdi_ViewOf(GdiDC *dc, GdiView *view);

// Black and white: a monochrome DDB's colours where it is drawn into.
const RGBQUAD *Gdi_MonoTable(void);

// Records that drawing reached a window device context.
void Gdi_MarkDrawn(GdiDC *dc);

// ---- colours (gdi_palette.cpp) ----

// A COLORREF as plain red, green, blue: palette indices through the device context's palette.
COLORREF Gdi_ResolveColor(const GdiDC *dc, COLORREF color);

// The colour-table entry nearest to a colour: an exact match first, else the least squared
// distance, earlier entries winning ties.
uint32_t Gdi_NearestEntry(const RGBQUAD *table, int colors, COLORREF color);

// A resolved colour as a pixel value of the view's format.
uint32_t Gdi_ColorToPixel(const GdiView *view, COLORREF color);

// A text or background colour of a DC as a pixel of the view.
uint32_t Gdi_DCColorPixel(const GdiDC *dc, const GdiView *view, COLORREF color);

// A pattern brush's colour as a pixel of the destination (1-bit views: a colour of the
// table is its bit, another one goes with or against the DC's background colour).
uint32_t Gdi_BrushPixel(const GdiDC *dc, const GdiView *view, COLORREF color);

// A DC's brush as the pattern operand of raster operations on a view.
typedef struct {
    bool hollow;    // paints nothing
    bool dithered;  // onto a monochrome DDB: an ordered dither of the brush's brightness
    int level;      // that brightness, 0..255
    uint32_t solid; // elsewhere: one pixel value everywhere
} GdiPattern;

// Prepares the pattern of the DC's brush for the view.
void Gdi_PreparePattern(GdiPattern *p, const GdiDC *dc, const GdiView *view);

// The pattern's values for n pixels from (x, y) into buffer; null when it is p->solid
// everywhere.
const uint32_t *Gdi_PatternRow(const GdiPattern *p, int x, int y, int n, uint32_t *buffer);

// The colour of an entry of a colour table as a COLORREF.
COLORREF Gdi_EntryColor(const RGBQUAD *entry);

// ---- rows and raster operations (gdi_rows.cpp) ----

// Pixel x of a row of `bpp` bits.
uint32_t Gdi_GetPixel(const uint8_t *row, int bpp, int x);

// Reads n pixels from x of a row into values.
void Gdi_UnpackRow(const uint8_t *row, int bpp, int x, int n, uint32_t *values);

// Writes n values into a row from x, masked to its depth.
void Gdi_PackRow(uint8_t *row, int bpp, int x, int n, const uint32_t *values);

// The ternary raster operation `rop` on pattern, source and destination values, bitwise.
uint32_t Gdi_Rop3(uint8_t rop, uint32_t p, uint32_t s, uint32_t d);

// A scratch row of n values (0 <= which < 4), kept between calls; null when out of memory.
uint32_t *Gdi_Scratch(int which, int n);

// Applies `rop` to n destination values with source and pattern values (either may be null
// when the operation does not use it; `pattern` null means `solid` everywhere).
void Gdi_RopRow(uint8_t rop, uint32_t *d, const uint32_t *s, const uint32_t *pattern,
                uint32_t solid, int n);

// The operation without pattern that `rop` amounts to when the brush is hollow.
uint8_t Gdi_HollowRop(uint8_t rop);

// Whether the operation reads the source, the pattern.
bool Gdi_RopUsesSource(uint8_t rop);
bool Gdi_RopUsesPattern(uint8_t rop);

// How a source's pixels become destination pixel values.
typedef struct {
    const GdiView *src;
    const GdiView *dst;
    bool identity;      // same format: values as they are
    bool fromTrueColor; // 32-bit source onto an indexed or monochrome destination
    uint32_t lut[256];  // indexed sources: value per source index
    bool byBackground;  // onto a monochrome DDB: 1 for the source's background colour
    COLORREF key;       // that colour
    // The fast rows' tables, made when picked:
    uint32_t wide[256];    // a 1-bit byte as four bytes of 4-bit pixels
    uint64_t pairs[256];   // a 4-bit byte as two 32-bit pixels
    uint32_t quads[16][4]; // four 1-bit pixels as 32-bit ones
} GdiConvert;

// Four neighbouring 32-bit pixels at once (the compiler's vectors: SSE2, NEON or plain).
typedef uint32_t GdiQuad __attribute__((vector_size(16)));

static inline GdiQuad Gdi_Load4(const void *p)
{
    GdiQuad v;
    memcpy(&v, p, sizeof v);
    return v;
}

// Prepares the conversion from `src` (drawn through srcDC) to `dst` (of dstDC). Without a
// source DC (SetDIBits) colours become a monochrome DDB's nearest of black and white.
void Gdi_PrepareConvert(GdiConvert *c, const GdiView *src, const GdiDC *srcDC, const GdiView *dst,
                        const GdiDC *dstDC);

// n source pixels from (x, y), as destination values.
void Gdi_ConvertRow(const GdiConvert *c, int x, int y, int n, uint32_t *values);

// ---- blits (gdi_blit.cpp, gdi_stretch.cpp, gdi_fast.cpp) ----

// A rectangle of pixels, left/top inclusive, right/bottom exclusive.
typedef struct {
    int left, top, right, bottom;
} GdiRect;

enum { GDI_MAX_COORDINATE = 1 << 27 }; // the device coordinate space's reach

// True when every coordinate and extent is within the device coordinate space: farther ones
// fail the call rather than overflow.
bool Gdi_Reasonable(int count, const int64_t *values);

// The common blit: source (or none) onto destination with a ternary operation, stretching
// when the extents differ. Coordinates as the API takes them.
BOOL Gdi_Blit(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
              int sourceWidth, int sourceHeight, uint8_t rop);

// A blit between views with the API's clipping: the destination rectangle and the source
// rectangle (src may be null when the operation takes none). TRUE unless it cannot be done.
BOOL Gdi_BlitViews(const GdiView *dv, GdiDC *dstDC, int x, int y, int width, int height,
                   const GdiView *sv, const GdiDC *srcDC, int sx, int sy, int sw, int sh,
                   uint8_t rop);

// Same-size blit of the clipped rectangles, fast path or general.
void Gdi_CopyRect(const GdiView *dst, GdiDC *dstDC, const GdiRect *d, const GdiView *src,
                  const GdiDC *srcDC, int sx, int sy, uint8_t rop);

// Stretching blit between the extents (which may be negative: mirrored) within the clipped
// destination and source rectangles.
void Gdi_StretchRect(const GdiView *dst, GdiDC *dstDC, const GdiRect *dvis, int dx, int dy, int dw,
                     int dh, const GdiView *src, const GdiDC *srcDC, const GdiRect *svis, int sx,
                     int sy, int sw, int sh, uint8_t rop);

// A mirrored stretch (the extents' signs differ) whose source leaves its bitmap of `size`
// pixels along one axis: the source clipped to the bitmap and the destination cut on the same
// side in proportion, as the platform does. False when nothing of the source is left.
bool Gdi_TrimMirrored(int *d, int *dextent, int *s, int *sextent, int size);

// A fast row function for the pair of formats and operation, or null: it writes n pixels at
// (dx, row d) from (sx, row s) with the conversion's tables.
typedef void (*GdiFastRow)(uint8_t *d, int dx, const uint8_t *s, int sx, int n,
                           const GdiConvert *c);
GdiFastRow Gdi_PickFastRow(GdiConvert *c, uint8_t rop);

// Turns the fast paths off (false) to compare them with the general one.
void Gdi_SetFastPaths(bool on);
bool Gdi_FastPaths(void);
