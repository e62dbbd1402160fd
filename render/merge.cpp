// Bit-plane merging: monochrome planes into an indexed surface, with the blitter only. While an
// identity grey table stands in for the target's colours, grey k is exactly index k, so a
// background colour of grey 1 << i turns plane i's 1 bits into index bit i.
#include "platform/platform.h"
#include "render/merge.h"

static struct {
    RGBQUAD grey[256]; // entry i is (i, i, i); complete once entry 255 reads 255
} s_merge;

int Render_MergePlanes(HDC target, int x, int y, int width, int height, const HBITMAP *planes,
                       uint8_t count, int sourceX, int sourceY)
{
    if ((uint8_t)(count - 2) > 6)
        return 0; // 2 to 8 planes only
    HDC dcs[8];
    HGDIOBJ displaced[8];
    for (int i = 0; i < count; i++) {
        dcs[i] = CreateCompatibleDC(target);
        displaced[i] = SelectObject(dcs[i], planes[i]);
    }
    int result = Render_MergePlaneDCs(target, x, y, width, height, dcs, count, sourceX, sourceY);
    for (int i = 0; i < count; i++) {
        SelectObject(dcs[i], displaced[i]);
        DeleteDC(dcs[i]);
    }
    return result;
}

int Render_MergePlaneDCs(HDC target, int x, int y, int width, int height, const HDC *planes,
                         uint8_t count, int sourceX, int sourceY)
{
    if (count < 2)
        return 0;
    if (s_merge.grey[255].rgbRed != 255)
        for (int i = 0; i < 256; i++)
            s_merge.grey[i].rgbBlue = s_merge.grey[i].rgbGreen = s_merge.grey[i].rgbRed = (BYTE)i;

    RGBQUAD saved[256];
    UINT n = GetDIBColorTable(target, 0, 256, saved);
    if (n == 0)
        return 0; // no colour table to exchange
    SetDIBColorTable(target, 0, n, s_merge.grey);

    int result = ~0;
    for (int i = 0; i < count; i++) {
        SetBkColor(target, (COLORREF)(uint8_t)(1u << i) * 0x010101u);
        result &= BitBlt(target, x, y, width, height, planes[i], sourceX, sourceY,
                         i == 0 ? SRCCOPY : SRCPAINT);
    }
    SetBkColor(target, 0xFFFFFF);
    SetDIBColorTable(target, 0, n, saved);
    return result;
}
