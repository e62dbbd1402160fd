// Frame surfaces: made once for the render mode, refilled from the core every frame.
#include "platform/platform.h"
#include "render/modes.h"
#include "render/surfaces.h"

bool Render_SurfacesComplete(const RenderSurfaces *s, int32_t mode)
{
    if (!s->graphics || !s->text || !s->mask)
        return false;
    if (Render_GetMode(mode)->fetch == RENDER_FETCH_PLANES) {
        for (int k = 0; k < 8; k++)
            if (!s->planes[k])
                return false;
        return true;
    }
    return s->graphicsBits && s->textBits && s->maskBits;
}

int32_t Render_CreateSurfaces(RenderSurfaces *s, HDC dc, int32_t mode, uint16_t width,
                              uint16_t height)
{
    // One header and a 32-byte colour table: sixteen palette indices or eight RGBQUADs.
    struct {
        BITMAPINFOHEADER header;
        union {
            WORD indices[16];
            RGBQUAD colors[8];
        } table;
    } info;
    memset(&info, 0, sizeof info);
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -(LONG)height; // rows run top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = 4;
    RenderFetch fetch = Render_GetMode(mode)->fetch;
    if (fetch == RENDER_FETCH_NONE)
        return -1;

    const BITMAPINFO *bitmapInfo = (const BITMAPINFO *)&info;
    if (fetch == RENDER_FETCH_PLANES) {
        for (int k = 0; k < 8; k++)
            s->planes[k] = CreateBitmap(width, height, 1, 1, 0);
        s->graphics =
            CreateDIBSection(dc, bitmapInfo, DIB_PAL_COLORS, (void **)&s->graphicsBits, 0, 0);
        s->text = CreateDIBSection(dc, bitmapInfo, DIB_PAL_COLORS, (void **)&s->textBits, 0, 0);
        s->mask = s->planes[4];
    } else {
        for (WORD i = 0; i < 16; i++)
            info.table.indices[i] = i;
        s->graphics =
            CreateDIBSection(dc, bitmapInfo, DIB_PAL_COLORS, (void **)&s->graphicsBits, 0, 0);
        for (WORD i = 0; i < 8; i++)
            info.table.indices[i] = (WORD)(16 + i);
        info.header.biClrUsed = 8;
        s->text = CreateDIBSection(dc, bitmapInfo, DIB_PAL_COLORS, (void **)&s->textBits, 0, 0);
        info.header.biBitCount = 1;
        info.header.biClrUsed = 2;
        memset(&info.table.colors[0], 0x00, sizeof(RGBQUAD));
        memset(&info.table.colors[1], 0xFF, sizeof(RGBQUAD));
        s->mask = CreateDIBSection(dc, bitmapInfo, DIB_RGB_COLORS, (void **)&s->maskBits, 0, 0);
    }
    if (Render_SurfacesComplete(s, mode))
        return 0;

    // A missing surface would leave a silently black window: say so, keep nothing half made.
    printf("[Render] CreateSurfaces: the frame surfaces for render mode %i could not be made\n",
           (int)mode);
    Render_DestroySurfaces(s, mode);
    return 1;
}

void Render_FetchFrame(const RenderSurfaces *s, int32_t mode)
{
    if (!Render_SurfacesComplete(s, mode))
        return; // the core must not be handed null surfaces
    if (Render_GetMode(mode)->fetch == RENDER_FETCH_PLANES) {
        uint8_t *first = 0;
        uint8_t *second = 0;
        GDC_RenderBuffer(&first, &second);
        if (!first || !second)
            return;
        for (int k = 0; k < 8; k++)
            SetBitmapBits(s->planes[k], CORE_PLANE_BYTES,
                          (k < 4 ? first : second) + CORE_PLANE_BYTES * (k & 3));
    } else {
        GDC_RenderSep(s->graphicsBits, s->textBits, s->maskBits);
    }
}

BOOL Render_DestroySurfaces(RenderSurfaces *s, int32_t mode)
{
    BOOL result = 0;
    if (s->graphics)
        DeleteObject(s->graphics);
    if (s->text)
        DeleteObject(s->text);
    if (Render_GetMode(mode)->fetch == RENDER_FETCH_PLANES) {
        // The priority mask is plane 4 itself: deleted once, here.
        for (int k = 0; k < 8; k++)
            result = s->planes[k] ? DeleteObject(s->planes[k]) : 0;
    } else if (s->mask) {
        result = DeleteObject(s->mask);
    }
    memset(s, 0, sizeof *s); // no handle outlives its object
    return result;
}
