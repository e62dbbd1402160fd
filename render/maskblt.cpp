// Emulated mask blit: MaskBlt's picture from plain blits. The background operation runs with
// source and destination exchanged, its index rewritten to match.
#include "platform/platform.h"
#include "render/maskblt.h"

uint8_t Render_SwapRopOperands(uint8_t index)
{
    // Bit 4p + 2s + d holds the result for pattern p, source s, destination d: exchanging
    // s and d swaps bits 1 and 2, and bits 5 and 6.
    return (uint8_t)((index & 0x99) | ((index & 0x22) << 1) | ((index & 0x44) >> 1));
}

// What one emulated blit made; released in the reverse order of making.
typedef struct {
    HDC maskDC;
    HGDIOBJ maskDisplaced;
    HDC scratchDC[2];
    HBITMAP scratch[2];
    HGDIOBJ scratchDisplaced[2];
} RenderMaskBltObjects;

// A scratch device context holding a bitmap of the blit's size; false if either fails.
static bool Render_MakeScratch(RenderMaskBltObjects *o, int k, HDC dest, int width, int height)
{
    o->scratchDC[k] = CreateCompatibleDC(dest);
    if (!o->scratchDC[k])
        return false;
    o->scratch[k] = CreateCompatibleBitmap(dest, width, height);
    if (!o->scratch[k])
        return false;
    o->scratchDisplaced[k] = SelectObject(o->scratchDC[k], o->scratch[k]);
    return o->scratchDisplaced[k] != 0;
}

static void Render_ReleaseMaskBltObjects(RenderMaskBltObjects *o)
{
    if (o->maskDC && o->maskDisplaced)
        SelectObject(o->maskDC, o->maskDisplaced);
    for (int k = 0; k < 2; k++)
        if (o->scratchDC[k] && o->scratchDisplaced[k])
            SelectObject(o->scratchDC[k], o->scratchDisplaced[k]);
    for (int k = 0; k < 2; k++)
        if (o->scratch[k])
            DeleteObject(o->scratch[k]);
    for (int k = 0; k < 2; k++)
        if (o->scratchDC[k])
            DeleteDC(o->scratchDC[k]);
    if (o->maskDC)
        DeleteDC(o->maskDC);
}

BOOL Render_EmulatedMaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                            int sourceY, HBITMAP mask, int maskX, int maskY, DWORD rop4)
{
    const DWORD foreground = rop4 & 0x00FFFFFF;
    if (!mask)
        return BitBlt(dest, x, y, width, height, source, sourceX, sourceY, foreground);

    RenderMaskBltObjects o;
    memset(&o, 0, sizeof o);
    BOOL result = 0;
    o.maskDC = CreateCompatibleDC(dest);
    if (o.maskDC)
        o.maskDisplaced = SelectObject(o.maskDC, mask);
    // Only the last blit writes the destination: every failure before it leaves it untouched.
    if (o.maskDisplaced && Render_MakeScratch(&o, 0, dest, width, height)) {
        const DWORD background = Render_GetRopCode(Render_SwapRopOperands((uint8_t)(rop4 >> 24)));
        HDC s1 = o.scratchDC[0];
        BitBlt(s1, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
        // Scratch 1 holds the source and plays the destination operand, hence the swap.
        BitBlt(s1, 0, 0, width, height, dest, x, y, background);
        // Mask bits 1 arrive white: black there, the background result elsewhere.
        BitBlt(s1, 0, 0, width, height, o.maskDC, maskX, maskY, RENDER_ROP_DEST_AND_NOT_SOURCE);
        if (Render_MakeScratch(&o, 1, dest, width, height)) {
            HDC s2 = o.scratchDC[1];
            BitBlt(s2, 0, 0, width, height, dest, x, y, SRCCOPY);
            BitBlt(s2, 0, 0, width, height, source, sourceX, sourceY, foreground);
            BitBlt(s2, 0, 0, width, height, o.maskDC, maskX, maskY, SRCAND);
            BitBlt(s1, 0, 0, width, height, s2, 0, 0, SRCPAINT);
            BitBlt(dest, x, y, width, height, s1, 0, 0, SRCCOPY);
            result = 1;
        }
    }
    Render_ReleaseMaskBltObjects(&o);
    return result;
}
