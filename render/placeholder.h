// Placeholder pattern: what render modes 10 and above show instead of the core's display.
#pragma once

#include "platform/platform.h"

enum {
    RENDER_PLACEHOLDER_COLOR_BYTES = 48 // 16 colours of three bytes
};

// Tiles the area with the placeholder, upright or mirrored as rand() after srand(seed) says.
void Render_PaintPlaceholder(HDC dc, uint16_t width, uint16_t height, uint16_t seed);

// Copies the 48 bytes of the placeholder colour table.
void Render_GetPlaceholderColors(uint8_t *colors);
