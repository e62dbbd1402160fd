// Test hooks of the native build, in the test programs only: they answer the scripted core's
// probe inside the program (real input as SDL events, SDL's virtual joysticks, the clock, the
// display) and hand the window's messages to an observer.
#pragma once

#include "tests/core/probe.h"

// Called after every window-procedure call, with the procedure's result.
typedef void (*HooksObserver)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT result);
// Sets the observer (null: none); the first live window of the class, or null.
extern "C" __attribute__((visibility("default"))) HWND Hooks_Observe(const char *className,
                                                                     HooksObserver observer);
