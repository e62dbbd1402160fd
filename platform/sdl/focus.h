// Activation, keyboard focus and what they send.
#pragma once

#include "platform/sdl/window.h"

// Activates a window with WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE and the focus.
void Focus_Activate(NativeWindow *w);
// Takes the activation and the focus away from the active window.
void Focus_Deactivate(void);
// Forgets a window that is being destroyed (activation, focus, capture).
void Focus_Forget(NativeWindow *w);
// The active window and the focus window; null when none.
HWND Focus_Active(void);
HWND Focus_Keyboard(void);
