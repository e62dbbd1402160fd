// Input: keyboard and mouse cases of the window procedure, and joystick polling.
#pragma once

#include "platform/platform.h"

// WM_KEYDOWN: forwards a press (auto-repeats dropped); the default procedure's result.
LRESULT Input_KeyDown(HWND window, WPARAM wParam, LPARAM lParam);

// WM_KEYUP: forwards a release; the default procedure's result.
LRESULT Input_KeyUp(HWND window, WPARAM wParam, LPARAM lParam);

// WM_SYSKEYDOWN: Alt+Enter toggles fullscreen; no system key is forwarded; 1.
LRESULT Input_SysKeyDown(HWND window, WPARAM wParam, LPARAM lParam);

// WM_MOUSEMOVE: position, capture and the inside notion; 1.
LRESULT Input_MouseMove(HWND window, WPARAM wParam, LPARAM lParam);

// Left, right and middle button messages: position, focus and button; 1.
LRESULT Input_MouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_MOUSELEAVE: releases the capture and tells the core; 1.
LRESULT Input_MouseLeave(HWND window);

// The window lost the keyboard focus: releases every key the core was told is down, in the
// order they were pressed, since their key-ups now go to another window.
void Input_ReleaseHeldKeys(void);

// Re-reports both sided keys of a generic Shift, Ctrl or Alt code; nothing for others.
void Main_SyncModifierKeys(uint32_t vk);

// Counts the joystick ids once, after the window exists.
void Joystick_Initialize(void);

// Reads every joystick id and sends its changes to the core.
void Joystick_Poll(void);
