// Echo of the core's input on the test card's text page: keys, events, mouse, joysticks.
#pragma once

#include "platform/platform.h"

// What the text page shows besides the input.
struct EchoStatus {
    uint32_t frame;            // frames stepped
    uint32_t time;             // Time_Get of this frame
    uint32_t step;             // milliseconds since the previous frame
    int timeKnown;             // zero before the first frame step
    uint32_t palettePhase;     // steps the graphics palette has cycled
    uint32_t paletteCountdown; // frames until its next change
};

// Keeps the command tail to show (null = none given).
void Echo_SetTail(const char *tail);
// A key went down or up (virtual-key code).
void Echo_Key(uint32_t vk, int down);
// An input event: keyboard, joystick button, hat or axis.
void Echo_Event(uint32_t code, uint32_t value);
// The pointer moved to (x, y).
void Echo_MouseMove(int32_t x, int32_t y);
// The pointer entered (non-zero) or left the emulated display.
void Echo_MouseInside(int inside);
// Non-zero while the pointer counts as inside.
uint8_t Echo_IsInside(void);
// A mouse button (1 left, 2 right) went down or up.
void Echo_MouseButton(uint32_t button, int down);
// The last pointer position.
void Echo_Pointer(int *x, int *y);
// Writes the whole text page for this frame.
void Echo_Show(const EchoStatus *status);
