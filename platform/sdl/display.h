// The desktop, the virtual display modes, and where a covering window is shown.
#pragma once

#include "platform/sdl/window.h"

// The desktop's size: the one set where no display tells it, or SDL's display's.
void Display_Desktop(int *width, int *height);
// The screen the program sees: the virtual mode while one is set, else the desktop.
void Display_Screen(int *width, int *height);
// True while a virtual mode is set.
bool Display_VirtualModeSet(void);
// True when the window covers the whole virtual screen: shown scaled over the desktop.
bool Display_Covers(const NativeWindow *w);
// Where a covering window's client pixels go in its SDL window of the given size (aspect
// kept, centred).
SDL_Rect Display_ScaledRect(int clientWidth, int clientHeight, int outWidth, int outHeight);
// Sets the desktop size used where no display tells it (0 x 0: SDL's); the windows follow.
void Display_SetDesktop(int width, int height);
// Lists the classic modes before the desktop's (true), or the desktop's alone.
void Display_ListClassicModes(bool listed);
// The cursor display counter.
int Display_CursorCount(void);
