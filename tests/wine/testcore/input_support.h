// Input tests' helpers: expected call lists checked against the record, and real input injected.
#pragma once

#include "core/core.h"
#include "testcore.h"

// One expected call into the core; a and b as the record keeps them (for Mouse_IsInWindow, a is
// what the core answered).
struct ExpectedCall {
    uint32_t call;
    uint32_t a;
    uint32_t b;
};

// Keyboard, Input_Event and mouse calls: what the input forwarding sends.
bool Expect_IsInputCall(const RecordEvent *event);
// Number of input calls recorded from index from on.
uint32_t Expect_CountInputCalls(uint32_t from);
// The input calls recorded from index from on must be exactly the list; logs ok or FAIL with
// both lists side by side.
bool Expect_InputCalls(const char *what, uint32_t from, const ExpectedCall *calls, uint32_t count);
// The same for the key calls alone: Keyboard_Press, Keyboard_Release, key codes of Input_Event.
bool Expect_KeyCalls(const char *what, uint32_t from, const ExpectedCall *calls, uint32_t count);
// Writes a list of expected calls to the log.
void Expect_Dump(const ExpectedCall *calls, uint32_t count);

// Real input through SendInput, as a keyboard or mouse would give it.
void Inject_Key(uint16_t vk, bool up, bool extended);
// Moves the pointer to a client position of the window (absolute, also outside the window),
// with extra MOUSEEVENTF_ button flags in the same event.
void Inject_MouseTo(HWND window, int x, int y, uint32_t buttons);

// Reads the thread's key state, sets one key's down bit and writes it back.
void Keys_SetDown(uint8_t vk, bool down);
// All keys up in the thread's key state.
void Keys_ClearAll(void);

// What the program has written to its stdout so far (flushed first), from the file the runner
// sends it to: the log's name with .stdout for .log. Null when unreadable.
const char *Expect_ReadStdout(void);
// Whether some line of the text starts with the given text.
bool Expect_HasLineStarting(const char *text, const char *start);

// ---- What the mouse forwarding must do: a model kept apart from the front-end's code ----

enum { MODEL_MAX_CALLS = 6 };

struct MouseModel {
    bool inside;  // the core's notion
    bool capture; // this window holds the mouse capture
};

// The calls one mouse message (move, left/right/middle button, leave) must give, in order,
// with the model brought up to date; the number of calls. Capture is only taken while no
// window holds it: the model assumes no other window does.
uint32_t Model_MouseMessage(MouseModel *model, UINT message, WPARAM wParam, LPARAM lParam,
                            ExpectedCall *calls);
