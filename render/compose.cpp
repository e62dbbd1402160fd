// Composition and presentation: graphics and text combined through the priority mask, drawn
// into the window 1:1 or through a 640 x 400 buffer copied or stretched to the client area.
#include "platform/platform.h"
#include "render/compose.h"
#include "render/maskblt.h"
#include "render/merge.h"
#include "render/modes.h"

enum {
    RENDER_ROP4_SOURCE_WHERE_MASK_0 = 0xCCAA0029, // background: source, foreground: dest
    RENDER_ROP4_SOURCE_WHERE_MASK_1 = 0xAACC0020  // background: dest, foreground: source
};

// Paints the client black around the picture rectangle, never inside it.
static void Render_PaintBorders(HDC dc, const RenderPlacement *p, int left, int top, int width,
                                int height)
{
    int cw = p->clientWidth, ch = p->clientHeight;
    int right = left + width, bottom = top + height;
    left = left < 0 ? 0 : left > cw ? cw : left;
    right = right < left ? left : right > cw ? cw : right;
    top = top < 0 ? 0 : top > ch ? ch : top;
    bottom = bottom < top ? top : bottom > ch ? ch : bottom;
    const RECT bands[4] = {
        {0, 0, cw, top}, {0, bottom, cw, ch}, {0, top, left, bottom}, {right, top, cw, bottom}};
    for (int i = 0; i < 4; i++)
        if (bands[i].right > bands[i].left && bands[i].bottom > bands[i].top)
            BitBlt(dc, bands[i].left, bands[i].top, bands[i].right - bands[i].left,
                   bands[i].bottom - bands[i].top, 0, 0, 0, BLACKNESS);
}

void Render_Present(const RenderSurfaces *surfaces, HDC dc, int32_t mode, const RenderPlacement *p,
                    uint16_t frameWidth, uint16_t frameHeight)
{
    if (!Render_SurfacesComplete(surfaces, mode))
        return; // no frame to show: leave the window as it is
    int pictureWidth = frameWidth, pictureHeight = frameHeight;
    // Either dimension suffices: a 640-wide client taller than 400 gets the picture 1:1 at
    // the top, the rows below it left alone.
    bool matches = p->clientWidth == frameWidth || p->clientHeight == frameHeight;
    if (matches && !Render_GetMode(mode)->buffered) {
        Render_Compose(surfaces, dc, mode, frameWidth, frameHeight, p->offsetX, p->offsetY);
    } else {
        HDC buffer = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, frameWidth, frameHeight);
        HGDIOBJ displaced = SelectObject(buffer, bitmap);
        Render_Compose(surfaces, buffer, mode, frameWidth, frameHeight, 0, 0);
        if (matches) {
            BitBlt(dc, p->offsetX, p->offsetY, p->clientWidth, p->clientHeight, buffer, 0, 0,
                   SRCCOPY);
        } else {
            // An offset centres the picture (fullscreen): it fills the client less both
            // margins, so that none of it runs past the far edges.
            pictureWidth = p->clientWidth - 2 * p->offsetX;
            pictureHeight = p->clientHeight - 2 * p->offsetY;
            StretchBlt(dc, p->offsetX, p->offsetY, pictureWidth, pictureHeight, buffer, 0, 0,
                       frameWidth, frameHeight, SRCCOPY);
        }
        SelectObject(buffer, displaced);
        DeleteObject(bitmap);
        DeleteDC(buffer);
    }
    // Nothing else paints there (the background is never erased): without this the bands
    // would show whatever the screen held before.
    if (p->blackBorders)
        Render_PaintBorders(dc, p, p->offsetX, p->offsetY, pictureWidth, pictureHeight);
}

// The mask applied with AND and OR blits, in true colour, so that every pixel
// ends as exactly the text pixel under the mask's 1 bits and the graphics pixel elsewhere,
// whatever the palette and whatever the target held. The surfaces are left as they were.
static void Render_ComposeMasked(HDC target, HDC graphics, HDC text, HBITMAP mask, int width,
                                 int height, int x, int y)
{
    HDC maskDC = CreateCompatibleDC(target);
    HGDIOBJ maskDisplaced = SelectObject(maskDC, mask);
    HDC scratchDC = CreateCompatibleDC(target);
    HBITMAP scratch = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ scratchDisplaced = scratch ? SelectObject(scratchDC, scratch) : 0;
    if (scratchDisplaced) {
        // Mask bits arrive white (1) and black (0) under the default colours, from a plane
        // bitmap and from a mask with its own black and white colour table alike.
        BitBlt(scratchDC, 0, 0, width, height, graphics, 0, 0, SRCCOPY);
        BitBlt(scratchDC, 0, 0, width, height, maskDC, 0, 0, RENDER_ROP_DEST_AND_NOT_SOURCE);
        BitBlt(target, x, y, width, height, text, 0, 0, SRCCOPY);
        BitBlt(target, x, y, width, height, maskDC, 0, 0, SRCAND);
        BitBlt(target, x, y, width, height, scratchDC, 0, 0, SRCPAINT);
        SelectObject(scratchDC, scratchDisplaced);
    }
    if (scratch)
        DeleteObject(scratch);
    DeleteDC(scratchDC);
    SelectObject(maskDC, maskDisplaced);
    DeleteDC(maskDC);
}

void Render_Compose(const RenderSurfaces *s, HDC target, int32_t mode, uint16_t width,
                    uint16_t height, int16_t x, int16_t y)
{
    if (!Render_SurfacesComplete(s, mode))
        return; // nothing to compose from

    HDC graphics = CreateCompatibleDC(target);
    HGDIOBJ graphicsDisplaced = SelectObject(graphics, s->graphics);
    HDC text = CreateCompatibleDC(target);
    HGDIOBJ textDisplaced = SelectObject(text, s->text);

    const RenderMode *row = Render_GetMode(mode);
    if (row->fetch == RENDER_FETCH_PLANES) {
        Render_MergePlanes(graphics, 0, 0, width, height, &s->planes[0], 4, 0, 0);
        Render_MergePlanes(text, 0, 0, width, height, &s->planes[5], 3, 0, 0);
    }
    switch (row->composition) {
    case RENDER_COMPOSE_MASKBLT:
        MaskBlt(target, x, y, width, height, graphics, 0, 0, s->mask, 0, 0,
                RENDER_ROP4_SOURCE_WHERE_MASK_0);
        MaskBlt(target, x, y, width, height, text, 0, 0, s->mask, 0, 0,
                RENDER_ROP4_SOURCE_WHERE_MASK_1);
        break;
    case RENDER_COMPOSE_EMULATED:
        Render_EmulatedMaskBlt(target, x, y, width, height, graphics, 0, 0, s->mask, 0, 0,
                               RENDER_ROP4_SOURCE_WHERE_MASK_0);
        Render_EmulatedMaskBlt(target, x, y, width, height, text, 0, 0, s->mask, 0, 0,
                               RENDER_ROP4_SOURCE_WHERE_MASK_1);
        break;
    case RENDER_COMPOSE_OR:
        BitBlt(target, x, y, width, height, graphics, 0, 0, SRCCOPY);
        BitBlt(target, x, y, width, height, text, 0, 0, SRCPAINT);
        break;
    case RENDER_COMPOSE_AND_OR:
        Render_ComposeMasked(target, graphics, text, s->mask, width, height, x, y);
        break;
    case RENDER_COMPOSE_NOTHING: // modes 0 and 1: the surfaces are filled but never shown
    case RENDER_COMPOSE_PLACEHOLDER:
        break;
    }

    SelectObject(graphics, graphicsDisplaced);
    DeleteDC(graphics);
    SelectObject(text, textDisplaced);
    DeleteDC(text);
}
