// Palette: the 24-entry logical palette that mirrors the core's graphics and text palettes,
// its palette object, and the surfaces' colour tables made from it.
#pragma once

#include "render/surfaces.h"

enum {
    RENDER_PALETTE_ENTRIES = 24 // 16 graphics colours, then 8 text colours
};

// Creates the palette object from the logical palette (still all black at this point).
HPALETTE Render_CreatePalette(void);

// Rebuilds the logical palette from the core (entries 0..15 from the placeholder colours in
// placeholder modes), recolours the surfaces, then loads, selects and realizes the palette.
void Render_UpdatePalette(HDC dc, HPALETTE palette, int32_t mode, const RenderSurfaces *surfaces);

// Copies logical entries 0..15 and 16..23 into the graphics and text surfaces' colour
// tables; a surface that does not exist is skipped.
void Render_LoadSurfaceColors(HDC dc, const RenderSurfaces *surfaces);
