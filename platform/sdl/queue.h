// The message queue and the SDL events that feed it.
#pragma once

#include "platform/winapi_more.h"

// One queued message and the key-state change it carries.
typedef struct {
    MSG msg;
    int16_t keyVk; // sided virtual key whose state changes on retrieval; -1 none
    bool keyDown;
} NativeQueued;

// Posts to the window's queue (as PostMessageA); false for a bad window handle.
bool Queue_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Appends an input message; mouse moves merge into a queued move with the same buttons.
void Queue_PostInput(const NativeQueued *input);
// Drops the window's queued key messages, their key-state changes applied: the keys a window
// loses the focus with are released by the loss, never again by the messages after it.
void Queue_DropKeys(HWND window);

// Takes every pending SDL event and turns it into messages and state changes.
void Events_Pump(void);
