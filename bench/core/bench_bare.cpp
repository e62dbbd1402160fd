// The rendering benchmark's baseline: the GDI work of one frame in a render mode, done with the
// bare calls by the test core itself (own surfaces, the same fetch, merge, blits and buffer).
#include "core/core.h"
#include "render/maskblt.h"
#include "tests/wine/testcore/testcore.h"
#include "tests/wine/testcore/pixels.h"
#include "bench_bare.h"

static struct {
    int32_t mode;
    HBITMAP graphics, text, mask, planes[8];
    void *graphicsBits, *textBits, *maskBits;
    RGBQUAD grey[256];
} s_bare;

static RGBQUAD Bare_Quad(uint16_t color)
{
    RGBQUAD q = {(BYTE)((color >> 8 & 0xF) * 0x11), (BYTE)((color >> 4 & 0xF) * 0x11),
                 (BYTE)((color & 0xF) * 0x11), 0};
    return q;
}

bool Bare_Create(int32_t mode)
{
    s_bare.mode = mode;
    const PixelsPalette *palette = Pixels_CorePalette();
    RGBQUAD graphics[16], text[16];
    memset(text, 0, sizeof text);
    for (int i = 0; i < 16; i++)
        graphics[i] = Bare_Quad(palette->graphics[i]);
    for (int i = 0; i < 8; i++)
        text[i] = Bare_Quad(palette->text[i]);
    for (int i = 0; i < 256; i++) {
        RGBQUAD q = {(BYTE)i, (BYTE)i, (BYTE)i, 0};
        s_bare.grey[i] = q;
    }
    s_bare.graphics =
        Pixels_MakeDIB(PIXELS_WIDTH, PIXELS_HEIGHT, 4, graphics, 16, &s_bare.graphicsBits);
    s_bare.text =
        Pixels_MakeDIB(PIXELS_WIDTH, PIXELS_HEIGHT, 4, text, (mode & 1) ? 16 : 8, &s_bare.textBits);
    if (mode & 1) {
        for (int k = 0; k < 8; k++)
            if (!(s_bare.planes[k] = CreateBitmap(PIXELS_WIDTH, PIXELS_HEIGHT, 1, 1, NULL)))
                return false;
        s_bare.mask = s_bare.planes[4];
    } else {
        static const RGBQUAD blackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
        s_bare.mask =
            Pixels_MakeDIB(PIXELS_WIDTH, PIXELS_HEIGHT, 1, blackWhite, 2, &s_bare.maskBits);
    }
    return s_bare.graphics && s_bare.text && s_bare.mask;
}

// Plane i becomes index bit i while a grey table stands in for the target's colours.
static void Bare_Merge(HDC target, const HBITMAP *planes, int count)
{
    HDC dcs[8];
    HGDIOBJ displaced[8];
    for (int i = 0; i < count; i++) {
        dcs[i] = CreateCompatibleDC(target);
        displaced[i] = SelectObject(dcs[i], planes[i]);
    }
    RGBQUAD saved[256];
    UINT n = GetDIBColorTable(target, 0, 256, saved);
    SetDIBColorTable(target, 0, n, s_bare.grey);
    for (int i = 0; i < count; i++) {
        SetBkColor(target, (1u << i) * 0x010101u);
        BitBlt(target, 0, 0, PIXELS_WIDTH, PIXELS_HEIGHT, dcs[i], 0, 0, i ? SRCPAINT : SRCCOPY);
    }
    SetBkColor(target, 0xFFFFFF);
    SetDIBColorTable(target, 0, n, saved);
    for (int i = 0; i < count; i++) {
        SelectObject(dcs[i], displaced[i]);
        DeleteDC(dcs[i]);
    }
}

static void Bare_Compose(HDC target, int x, int y)
{
    const int w = PIXELS_WIDTH, h = PIXELS_HEIGHT;
    HDC graphics = CreateCompatibleDC(target);
    HGDIOBJ graphicsDisplaced = SelectObject(graphics, s_bare.graphics);
    HDC text = CreateCompatibleDC(target);
    HGDIOBJ textDisplaced = SelectObject(text, s_bare.text);
    if (s_bare.mode & 1) {
        Bare_Merge(graphics, &s_bare.planes[0], 4);
        Bare_Merge(text, &s_bare.planes[5], 3);
    }
    switch (s_bare.mode & ~1) {
    case 2:
        MaskBlt(target, x, y, w, h, graphics, 0, 0, s_bare.mask, 0, 0, 0xCCAA0029);
        MaskBlt(target, x, y, w, h, text, 0, 0, s_bare.mask, 0, 0, 0xAACC0020);
        break;
    case 4: // the emulated blit is GDI calls only; the core has its own copy compiled in
        Render_EmulatedMaskBlt(target, x, y, w, h, graphics, 0, 0, s_bare.mask, 0, 0, 0xCCAA0029);
        Render_EmulatedMaskBlt(target, x, y, w, h, text, 0, 0, s_bare.mask, 0, 0, 0xAACC0020);
        break;
    case 6:
        BitBlt(target, x, y, w, h, graphics, 0, 0, SRCCOPY);
        BitBlt(target, x, y, w, h, text, 0, 0, SRCPAINT);
        break;
    case 8: {
        HDC mask = CreateCompatibleDC(target);
        HGDIOBJ maskDisplaced = SelectObject(mask, s_bare.mask);
        BitBlt(graphics, 0, 0, w, h, mask, 0, 0, RENDER_ROP_DEST_AND_NOT_SOURCE);
        BitBlt(target, x, y, w, h, text, 0, 0, SRCCOPY);
        BitBlt(target, x, y, w, h, graphics, 0, 0, SRCPAINT);
        BitBlt(graphics, 0, 0, w, h, mask, 0, 0, SRCPAINT);
        BitBlt(target, x, y, w, h, graphics, 0, 0, SRCAND);
        SelectObject(mask, maskDisplaced);
        DeleteDC(mask);
        break;
    }
    }
    SelectObject(graphics, graphicsDisplaced);
    DeleteDC(graphics);
    SelectObject(text, textDisplaced);
    DeleteDC(text);
}

void Bare_Frame(HWND window, int width, int height, bool fetch)
{
    // The same questions to the core as the front-end's frame fetch.
    if (fetch && (s_bare.mode & 1)) {
        uint8_t *first = NULL, *second = NULL;
        GDC_RenderBuffer(&first, &second);
        for (int k = 0; k < 8; k++)
            SetBitmapBits(s_bare.planes[k], CORE_PLANE_BYTES,
                          (k < 4 ? first : second) + CORE_PLANE_BYTES * (k & 3));
    } else if (fetch) {
        GDC_RenderSep(s_bare.graphicsBits, s_bare.textBits, s_bare.maskBits);
    }
    InvalidateRect(window, NULL, FALSE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    bool matches = width == PIXELS_WIDTH || height == PIXELS_HEIGHT;
    if (matches && s_bare.mode != 6) {
        Bare_Compose(dc, 0, 0);
    } else {
        HDC buffer = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, PIXELS_WIDTH, PIXELS_HEIGHT);
        HGDIOBJ displaced = SelectObject(buffer, bitmap);
        Bare_Compose(buffer, 0, 0);
        if (matches)
            BitBlt(dc, 0, 0, width, height, buffer, 0, 0, SRCCOPY);
        else
            StretchBlt(dc, 0, 0, width, height, buffer, 0, 0, PIXELS_WIDTH, PIXELS_HEIGHT, SRCCOPY);
        SelectObject(buffer, displaced);
        DeleteObject(bitmap);
        DeleteDC(buffer);
    }
    EndPaint(window, &paint);
}
