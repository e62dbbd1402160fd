// SetDIBits: scan lines of a device-independent description, converted into a bitmap.
#include "platform/gdi/gdi_internal.h"

int WINAPI SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void *bits,
                     const BITMAPINFO *info, UINT usage)
{
    GdiDC *d = Gdi_GetDC(dc);
    GdiFormat format;
    if ((dc && !d) || !bits || !Gdi_ReadInfo(info, usage, d, &format))
        return 0;
    // The bitmap through a device context of its own, with a new one's colours.
    GdiDC holder;
    memset(&holder, 0, sizeof holder);
    holder.background = 0xFFFFFF;
    holder.bitmap = bitmap;
    holder.palette = d ? d->palette : 0;
    GdiView dst;
    if (!Gdi_ViewOf(&holder, &dst))
        return 0;
    // No more lines than the description has: bottom-up descriptions end at their last,
    // top-down ones take the count from their top (their block moves up and out of the
    // bitmap). Lines from past the end: none drawn, all counted.
    int height = format.height < 0 ? -format.height : format.height;
    if (lines > (UINT)height)
        lines = (UINT)height;
    if (start >= (UINT)height || !lines)
        return (int)lines;
    if (format.height > 0 && lines > (UINT)height - start)
        lines = (UINT)height - start;
    // The caller's rows as a view. Scan lines count from the bottom in both row orders, and
    // the description's rows keep their places from the top of the bitmap.
    int stride = (format.width * format.bpp + 31) / 32 * 4;
    GdiView src;
    memset(&src, 0, sizeof src);
    src.width = format.width, src.height = (int)lines, src.bpp = format.bpp;
    src.table = format.table, src.colors = format.colors;
    int top = height - (int)start - (int)lines;
    src.top = (uint8_t *)bits;
    src.pitch = stride;
    if (format.height > 0) {
        src.top += (ptrdiff_t)(lines - 1) * stride;
        src.pitch = -stride;
    }
    GdiConvert c;
    Gdi_PrepareConvert(&c, &src, 0, &dst, &holder);
    // Without a device context a two-colour description goes onto a monochrome DDB by index,
    // whatever its colours: entry 0 white, entry 1 black.
    if (!d && dst.mono && src.bpp == 1)
        c.identity = false, c.lut[0] = 1, c.lut[1] = 0;
    int n = format.width < dst.width ? format.width : dst.width;
    uint32_t *values = Gdi_Scratch(0, n);
    for (int i = 0; values && i < (int)lines; i++) {
        int y = top + i;
        if (y < 0 || y >= dst.height)
            continue;
        Gdi_ConvertRow(&c, 0, i, n, values);
        Gdi_PackRow(dst.top + y * dst.pitch, dst.bpp, 0, n, values);
    }
    return (int)lines;
}
