// Renderer: the entry points the window procedure, the main loop and the core call (the
// exported ones are declared with the core contract), and what the renderer's files share.
#pragma once

#include "core/core.h"

enum {
    RENDER_FRAME_WIDTH = CORE_SCREEN_WIDTH,
    RENDER_FRAME_HEIGHT = CORE_SCREEN_HEIGHT,
    RENDER_PLACEHOLDER_MODES = 10, // modes from here on show the placeholder, no surfaces
    RENDER_PALETTE_ENTRIES = 24,   // 16 graphics colours, then 8 text colours
    RENDER_ROP_DEST_AND_NOT_SOURCE = 0x00220326
};

// The frame surfaces: three DIB sections, and in odd modes eight monochrome planes of which
// plane 4 is the priority mask.
typedef struct {
    HBITMAP graphics;
    uint8_t *graphicsBits;
    HBITMAP text;
    uint8_t *textBits;
    HBITMAP mask;
    uint8_t *maskBits;
    HBITMAP planes[8];
} RenderSurfaces;

// ---- front (render.cpp) ----

// The render mode in force; fixed at build time, 5 after a failed surface creation.
int32_t Render_GetMode(void);

// Logs and records the client size from WM_SIZE, and the maximized state while windowed.
void Render_Resize(uint16_t width, uint16_t height, uint8_t maximized);

// The renderer's window, stored at its creation.
HWND Render_GetWindow(void);

// Non-zero when the last WM_SIZE while windowed reported a maximized window.
uint8_t Render_IsMaximized(void);

// ---- fullscreen (fullscreen.cpp) ----

// Where the 640 x 400 picture starts in the client area; negative on a smaller screen.
void Render_GetPictureOffset(int32_t *x, int32_t *y);

// Fills the record with 640 x 400 (400), else 640 x 480 (480), else the first listed mode
// (-1); -2 when the display lists no mode at all.
int32_t FindFullscreenMode(DEVMODEA *mode);

// ---- placeholder (placeholder.cpp) ----

// Tiles the area with the placeholder, upright or mirrored as rand() after srand(seed) says.
void Render_PaintPlaceholder(HDC dc, uint16_t width, uint16_t height, uint16_t seed);

// Copies the 48 bytes of the placeholder colour table.
void Render_GetPlaceholderColors(uint8_t *colors);

// ---- palette (palette.cpp) ----

// Creates the palette object from the 24-entry logical palette (still all black).
HPALETTE Render_CreatePalette(void);

// Rebuilds the logical palette from the core, recolours the surfaces, realizes the palette.
void Render_UpdatePalette(HDC dc, HPALETTE palette);

// The logical palette as last rebuilt.
const LOGPALETTE *Render_GetLogicalPalette(void);

// Copies logical entries 0..15 and 16..23 into the graphics and text surfaces' colour tables.
void Render_LoadSurfaceColors(HDC dc, const LOGPALETTE *logical);

// ---- surfaces (surfaces.cpp) ----

// Creates the surface set for a mode below 10: 0, or non-zero (logged) when any is missing.
int32_t Render_CreateSurfaces(HDC dc, int32_t mode, uint16_t width, uint16_t height);

// Fills the surfaces with the core's current frame.
void Render_FetchFrame(int32_t mode);

// Deletes the surface set; the result of the last deletion.
BOOL Render_DestroySurfaces(int32_t mode);

// Every object the mode draws from exists.
bool Render_SurfacesComplete(int32_t mode);

// The surface set; null handles where nothing exists.
const RenderSurfaces *Render_GetSurfaces(void);

// ---- plane merging (merge.cpp) ----

// Merges 2..8 plane bitmaps into the indexed target, plane i giving index bit i; 0 refused.
int Render_MergePlanes(HDC target, int x, int y, int width, int height, const HBITMAP *planes,
                       uint8_t count, int sourceX, int sourceY);

// The same from device contexts holding the planes; 0 when refused or a blit failed.
int Render_MergePlaneDCs(HDC target, int x, int y, int width, int height, const HDC *planes,
                         uint8_t count, int sourceX, int sourceY);

// ---- composition (compose.cpp) ----

// Draws the frame into the window: directly, or through a buffer copied or stretched. The
// offset keeps its sign, so a picture larger than the screen stays centred.
void Render_Present(HDC dc, int32_t mode, uint16_t clientWidth, uint16_t clientHeight,
                    int16_t offsetX, int16_t offsetY, uint16_t frameWidth, uint16_t frameHeight);

// Combines graphics, text and mask as the mode says into the target at (x, y).
void Render_Compose(HDC target, int32_t mode, uint16_t width, uint16_t height, int16_t x,
                    int16_t y);

// ---- emulated mask blit (maskblt.cpp, rop_table.cpp) ----

// MaskBlt carried out with plain blits: same arguments, same picture; 0 when it could not.
BOOL Render_EmulatedMaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                            int sourceY, HBITMAP mask, int maskX, int maskY, DWORD rop4);

// The raster-operation index with the source and destination operands exchanged.
uint8_t Render_SwapRopOperands(uint8_t index);

// The full ternary raster-operation code for an operation index.
DWORD Render_GetRopCode(uint8_t index);
