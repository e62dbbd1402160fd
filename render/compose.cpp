// Composition and presentation: graphics and text combined through the priority mask, drawn
// into the window 1:1 or through a 640 x 400 buffer copied or stretched to the client area.
#include "platform/platform.h"
#include "render/render.h"

enum {
    RENDER_ROP4_SOURCE_WHERE_MASK_0 = 0xCCAA0029, // background: source, foreground: dest
    RENDER_ROP4_SOURCE_WHERE_MASK_1 = 0xAACC0020  // background: dest, foreground: source
};

void Render_Present(HDC dc, int32_t mode, uint16_t clientWidth, uint16_t clientHeight,
                    int16_t offsetX, int16_t offsetY, uint16_t frameWidth, uint16_t frameHeight)
{
    if (!Render_SurfacesComplete(mode))
        return; // no frame to show: leave the window as it is
    bool matches = clientWidth == frameWidth || clientHeight == frameHeight;
    if (matches && mode != 6) {
        Render_Compose(dc, mode, frameWidth, frameHeight, offsetX, offsetY);
        return;
    }
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, frameWidth, frameHeight);
    HGDIOBJ displaced = SelectObject(buffer, bitmap);
    Render_Compose(buffer, mode, frameWidth, frameHeight, 0, 0);
    if (matches) {
        BitBlt(dc, offsetX, offsetY, clientWidth, clientHeight, buffer, 0, 0, SRCCOPY);
    } else {
        // An offset centres the picture (fullscreen): it fills the client less both margins,
        // so that none of it runs past the far edges.
        StretchBlt(dc, offsetX, offsetY, clientWidth - 2 * offsetX, clientHeight - 2 * offsetY,
                   buffer, 0, 0, frameWidth, frameHeight, SRCCOPY);
    }
    SelectObject(buffer, displaced);
    DeleteObject(bitmap);
    DeleteDC(buffer);
}

// Modes 8 and 9: the mask applied with AND and OR blits. Under the mask's 1 bits the target
// ends as exactly the text pixel, elsewhere as the graphics pixel, whatever it held before.
static void Render_ComposeMasked(HDC target, HDC graphics, HDC text, HBITMAP mask, int width,
                                 int height, int x, int y)
{
    HDC maskDC = CreateCompatibleDC(target);
    HGDIOBJ displaced = SelectObject(maskDC, mask);
    // Mask bits 1 arrive white under the default colours, from a plane bitmap and from a
    // mask with its own colour table alike: graphics turn black where text shows.
    BitBlt(graphics, 0, 0, width, height, maskDC, 0, 0, RENDER_ROP_DEST_AND_NOT_SOURCE);
    BitBlt(target, x, y, width, height, text, 0, 0, SRCCOPY);
    BitBlt(target, x, y, width, height, graphics, 0, 0, SRCPAINT);
    // Now white where text shows: the AND keeps the text there and the graphics elsewhere.
    BitBlt(graphics, 0, 0, width, height, maskDC, 0, 0, SRCPAINT);
    BitBlt(target, x, y, width, height, graphics, 0, 0, SRCAND);
    SelectObject(maskDC, displaced);
    DeleteDC(maskDC);
}

void Render_Compose(HDC target, int32_t mode, uint16_t width, uint16_t height, int16_t x, int16_t y)
{
    if (!Render_SurfacesComplete(mode))
        return; // nothing to compose from
    const RenderSurfaces *s = Render_GetSurfaces();

    HDC graphics = CreateCompatibleDC(target);
    HGDIOBJ graphicsDisplaced = SelectObject(graphics, s->graphics);
    HDC text = CreateCompatibleDC(target);
    HGDIOBJ textDisplaced = SelectObject(text, s->text);

    if (mode & 1) {
        Render_MergePlanes(graphics, 0, 0, width, height, &s->planes[0], 4, 0, 0);
        Render_MergePlanes(text, 0, 0, width, height, &s->planes[5], 3, 0, 0);
    }
    switch (mode & ~1) {
    case 2:
        MaskBlt(target, x, y, width, height, graphics, 0, 0, s->mask, 0, 0,
                RENDER_ROP4_SOURCE_WHERE_MASK_0);
        MaskBlt(target, x, y, width, height, text, 0, 0, s->mask, 0, 0,
                RENDER_ROP4_SOURCE_WHERE_MASK_1);
        break;
    case 4:
        Render_EmulatedMaskBlt(target, x, y, width, height, graphics, 0, 0, s->mask, 0, 0,
                               RENDER_ROP4_SOURCE_WHERE_MASK_0);
        Render_EmulatedMaskBlt(target, x, y, width, height, text, 0, 0, s->mask, 0, 0,
                               RENDER_ROP4_SOURCE_WHERE_MASK_1);
        break;
    case 6:
        BitBlt(target, x, y, width, height, graphics, 0, 0, SRCCOPY);
        BitBlt(target, x, y, width, height, text, 0, 0, SRCPAINT);
        break;
    case 8:
        Render_ComposeMasked(target, graphics, text, s->mask, width, height, x, y);
        break;
    }

    SelectObject(graphics, graphicsDisplaced);
    DeleteDC(graphics);
    SelectObject(text, textDisplaced);
    DeleteDC(text);
}
