// Emulated mask blit and the table of ternary raster operations it draws on.
#pragma once

#include "platform/platform.h"

enum {
    RENDER_ROP_DEST_AND_NOT_SOURCE = 0x00220326 // D & ~S: black where a mask bit arrives white
};

// MaskBlt carried out with plain blits: same arguments, same picture; 0 when it could not.
BOOL Render_EmulatedMaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                            int sourceY, HBITMAP mask, int maskX, int maskY, DWORD rop4);

// The raster-operation index with the source and destination operands exchanged.
uint8_t Render_SwapRopOperands(uint8_t index);

// The full ternary raster-operation code for an operation index.
DWORD Render_GetRopCode(uint8_t index);
