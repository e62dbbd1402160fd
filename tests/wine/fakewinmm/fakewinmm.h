// The fake WinMM's scripting side, shared by the fake winmm.dll and the test core.
#pragma once

#include <stdint.h>

enum {
    FAKEWINMM_IDS = 32,        // ids that can be scripted; every other id gives FAKEWINMM_NO_DEVICE
    FAKEWINMM_FIELDS = 11,     // JOYINFOEX from dwXpos on: X Y Z R U V, buttons, button
                               // number, POV, reserved 1 and 2
    FAKEWINMM_NO_DEVICE = 165, // what Wine answers for an id without a joystick
    FAKEWINMM_LOG = 2048       // queries kept between two takes
};

// One joyGetPosEx call as the fake saw it.
struct FakeJoyQuery {
    uint32_t id;
    uint32_t size;   // dwSize as passed
    uint32_t flags;  // dwFlags as passed
    uint32_t record; // the record's address
};

// Exported by the fake (cdecl, undecorated), found with GetProcAddress.
// FakeJoy_Set: from now on joyGetPosEx of the id gives result and, when that is 0, fills the
// fields its flags ask for from fields (FAKEWINMM_FIELDS values).
typedef void (*FakeJoy_SetFn)(uint32_t id, uint32_t result, const uint32_t *fields);
// FakeJoy_TakeQueries: copies the queries made since the last take (at most max) and
// returns their number; *lost is set when some did not fit into the fake's log.
typedef uint32_t (*FakeJoy_TakeQueriesFn)(FakeJoyQuery *queries, uint32_t max, uint32_t *lost);
// FakeJoy_DeviceCount: what joyGetNumDevs gives (FAKEWINMM_DEVICES from the environment, else
// 20, more than the 16 that Windows and Wine report).
typedef uint32_t (*FakeJoy_DeviceCountFn)(void);
