// SDL joysticks behind the WinMM joystick ids.
#pragma once

#include "platform/winapi_more.h"

#include <SDL.h>

// An SDL joystick appeared or went away.
void Joystick_Added(int deviceIndex);
void Joystick_Removed(SDL_JoystickID instance);
// True while a WinMM id (0..15) holds an SDL joystick, attached or not.
bool Joystick_InUse(int id);
// The SDL hat of a point-of-view angle (hundredths of a degree, or centred); -1 for one that
// no hat reports.
int Joystick_HatOf(DWORD pov);
