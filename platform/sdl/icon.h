// The program's icon: its pictures as icon handles, and on SDL windows.
#pragma once

#include "platform/winapi_more.h"

#include <SDL.h>

// The program's icon picture nearest in size, as a handle; null when none decodes.
HICON Icon_Load(int size);
// The side of an icon handle's picture; 0 for no icon of ours.
int Icon_Side(HICON icon);
// Sets the SDL window's icon from an icon handle.
void Icon_Apply(SDL_Window *window, HICON icon);
