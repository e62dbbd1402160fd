// Frame surfaces: the front-end's copy of the emulated display, made once for the render mode
// and refilled from the core every frame. The renderer front owns the set; these functions
// work on the set they are given.
#pragma once

#include "core/core.h"

// Three DIB sections, and in the modes fetching planes eight monochrome planes of which plane 4
// is the priority mask.
typedef struct {
    HBITMAP graphics;
    uint8_t *graphicsBits;
    HBITMAP text;
    uint8_t *textBits;
    HBITMAP mask;
    uint8_t *maskBits;
    HBITMAP planes[8];
} RenderSurfaces;

// Creates the set for the mode in the context's palette: 0, or non-zero (logged, and nothing
// kept) when any object could not be made; -1 for a mode that fetches nothing.
int32_t Render_CreateSurfaces(RenderSurfaces *surfaces, HDC dc, int32_t mode, uint16_t width,
                              uint16_t height);

// Fills the set with the core's current frame, as planes or in place, as the mode fetches.
void Render_FetchFrame(const RenderSurfaces *surfaces, int32_t mode);

// Deletes the set and forgets its handles; the result of the last deletion.
BOOL Render_DestroySurfaces(RenderSurfaces *surfaces, int32_t mode);

// Every object the mode draws from exists.
bool Render_SurfacesComplete(const RenderSurfaces *surfaces, int32_t mode);
