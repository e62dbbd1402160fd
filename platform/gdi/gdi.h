// Software GDI of the native backend: what the window layer asks of it beyond the API itself.
#pragma once

#include "platform/winapi_more.h"

// A window device context: draws into a window's client pixels, 32 bits a pixel as
// 0x00RRGGBB (a top-down 32-bit DIB's layout), clipped to the pixels' bounds.
HDC Gdi_CreateSurfaceDC(void);

// Points a window device context at the client's pixels (after a resize); null pixels or a
// zero size: nothing is drawn. The context keeps its palette, colours and other settings.
void Gdi_SetSurface(HDC dc, uint32_t *pixels, int width, int height, int stride);

// True once after anything was drawn through the window device context; then false until
// the next drawing. The window layer presents the client when it sees this.
bool Gdi_TakeSurfaceDrawn(HDC dc);

// Deletes a window device context with its window (not through DeleteDC).
void Gdi_DeleteSurfaceDC(HDC dc);

// Device contexts, bitmaps and palettes alive now, not counting stock objects and window
// device contexts: a frame must leave it where it found it.
uint32_t Gdi_LiveObjects(void);

// The n-th creation of a device context, bitmap or palette from now on fails
// (1: the next one); 0 switches it off.
void Gdi_FailCreationAt(uint32_t n);
