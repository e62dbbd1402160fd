// Fullscreen switching: a 640 x 400 display mode (else 640 x 480, else the first listed), a
// borderless window over the whole screen, the picture centred, the cursor hidden.
#pragma once

#include "platform/platform.h"

enum {
    // The framed window the program opens, and returns to from fullscreen.
    RENDER_WINDOW_STYLE = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX
};

// Switches the window to fullscreen (non-zero) or back: 0 done or nothing to do, 1 when the
// display mode could not be changed (the window then stays as it was).
uint8_t Render_SwitchFullscreen(HWND window, uint8_t on);

// Non-zero while fullscreen.
uint8_t Render_FullscreenFlag(void);

// Records whether the last resize while windowed was a maximize; ignored in fullscreen.
void Render_NoteMaximized(uint8_t maximized);

// Where the 640 x 400 picture starts in the client area; negative on a smaller screen.
void Render_GetPictureOffset(int32_t *x, int32_t *y);

// Fills the record with 640 x 400 (400), else 640 x 480 (480), else the first listed mode
// (-1); -2 when the display lists no mode at all.
int32_t FindFullscreenMode(DEVMODEA *mode);
