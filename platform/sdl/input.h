// Keyboard and mouse: SDL events turned into messages, and the state GetKeyState answers.
#pragma once

#include "platform/sdl/window.h"

// Keyboard.

// Queues the key message of an SDL key event.
void Keys_FromSdl(const SDL_KeyboardEvent *key);
// Applies a retrieved key message's change to the state GetKeyState answers.
void Keys_Apply(int vk, bool down);
// MK_SHIFT and MK_CONTROL as the keys are now.
WPARAM Keys_MouseFlags(void);
// Sets a key's state byte (bit 7 down, bit 0 toggled) for GetKeyState and the input rules.
void Keys_Set(int vk, uint8_t state);
// True while Num Lock is on in the keyboard input.
bool Keys_NumLock(void);
// The SDL scancode of the first key giving a virtual key; SDL_SCANCODE_UNKNOWN when none.
int Keys_ScancodeOf(int vk);

// Mouse.

// Queues the mouse message of an SDL motion or button event.
void Mouse_FromSdlMotion(const SDL_MouseMotionEvent *motion);
void Mouse_FromSdlButton(const SDL_MouseButtonEvent *button);
// The capture holder; null when none.
HWND Mouse_Capture(void);
// Maps client coordinates to SDL window coordinates and back.
void Mouse_ClientToSdl(const NativeWindow *w, int x, int y, int *sx, int *sy);
void Mouse_SdlToClient(const NativeWindow *w, int sx, int sy, int *x, int *y);
// SDL's button mask of the buttons held.
uint32_t Mouse_SdlButtons(void);
