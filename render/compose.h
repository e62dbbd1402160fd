// Composition and presentation: graphics and text combined through the priority mask and
// drawn into the window, 1:1 or through a buffer copied or stretched to the client area.
#pragma once

#include "render/surfaces.h"

// Where and how the picture goes into the client area.
typedef struct {
    uint16_t clientWidth;
    uint16_t clientHeight;
    int16_t offsetX; // the picture's top left; keeps its sign, so a larger picture stays centred
    int16_t offsetY;
    uint8_t blackBorders; // paint the client outside the picture black (fullscreen)
} RenderPlacement;

// Draws the surfaces' frame into the window as the mode and the placement say.
void Render_Present(const RenderSurfaces *surfaces, HDC dc, int32_t mode,
                    const RenderPlacement *placement, uint16_t frameWidth, uint16_t frameHeight);

// Combines graphics, text and mask as the mode says into the target at (x, y).
void Render_Compose(const RenderSurfaces *surfaces, HDC target, int32_t mode, uint16_t width,
                    uint16_t height, int16_t x, int16_t y);
