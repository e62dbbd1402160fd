// Render modes as data: for each mode, how the core hands over a frame, how the frame is put
// together on a paint, and whether it always goes through the off-screen buffer.
#pragma once

#include <stdint.h>

// How a frame reaches the front-end, and so which frame surfaces exist.
typedef enum {
    RENDER_FETCH_NONE,     // no surfaces, nothing fetched
    RENDER_FETCH_SEPARATE, // GDC_RenderSep draws into the graphics, text and mask DIB sections
    RENDER_FETCH_PLANES    // GDC_RenderBuffer's eight planes copied into plane bitmaps, which
                           // each paint merges into the graphics and text surfaces first
} RenderFetch;

// How a paint combines graphics, text and the priority mask.
typedef enum {
    RENDER_COMPOSE_NOTHING,    // nothing drawn (the surfaces are still filled, and merged)
    RENDER_COMPOSE_MASKBLT,    // two MaskBlt calls: graphics where the mask is 0, text where 1
    RENDER_COMPOSE_EMULATED,   // the same two calls through the emulated mask blit
    RENDER_COMPOSE_OR,         // graphics copied, text OR-ed over it; the mask is not used
    RENDER_COMPOSE_AND_OR,     // the mask applied with AND and OR blits
    RENDER_COMPOSE_PLACEHOLDER // the tiled placeholder instead of the core's display
} RenderComposition;

typedef struct {
    RenderFetch fetch;
    RenderComposition composition;
    bool buffered; // composed in the off-screen buffer even when the client matches the frame
} RenderMode;

// The row of a render mode; every mode outside 0..9 shows the placeholder.
const RenderMode *Render_GetMode(int32_t mode);
