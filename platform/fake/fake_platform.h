// Recording fake of the platform for host unit tests: every call is logged in order, and one
// fake clock in microseconds drives all three platform clocks and Sleep.
#pragma once

#include "platform/platform.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#define FAKE_WINDOW ((HWND)(uintptr_t)0x1000)
#define FAKE_INSTANCE ((HINSTANCE)(uintptr_t)0x400000)
#define FAKE_DC ((HDC)(uintptr_t)0x2000)
#define FAKE_RESULT_DEFAULT ((LRESULT)0x5A5A) // what the fake DefWindowProcA answers

struct FakePlatform {
    std::vector<std::string> calls; // "Name(args)" per recorded call

    // Clocks.
    uint64_t nowMicros = 0;
    uint64_t sleepOvershootMicros = 0;
    bool kernel32Present = true;
    bool counterPresent = true;   // QueryPerformanceCounter found
    bool frequencyPresent = true; // QueryPerformanceFrequency found
    bool frequencyFails = false;  // QueryPerformanceFrequency returns FALSE
    uint64_t counterFrequency = 10000000;
    uint64_t counterOffset = 0; // added to the counter, to place its wrap
    bool winmmPresent = true;
    std::string winmmMissing; // a timer entry point WinMM lacks
    int librariesHeld = 0;    // LoadLibraryA successes minus FreeLibrary calls

    // Shell.
    std::string commandLine = "MAIN.exe";
    bool themePresent = true;
    bool themeFunctionPresent = true;
    std::deque<MSG> queue;
    WNDPROC windowProc = nullptr;
    uint32_t idlePasses = 0;      // PeekMessageA calls that found the queue empty
    std::function<void()> onIdle; // runs on each empty PeekMessageA, before it returns

    // Drawing: every object is a numbered handle; DCs remember what is selected in them.
    struct Object {
        char kind;                       // 'D' device context, 'B' bitmap, 'I' DIB, 'P' palette
        uintptr_t selected = 0;          // for a DC: the selected bitmap
        std::vector<RGBQUAD> colorTable; // for a DIB
        std::vector<uint8_t> bits;       // for a DIB
    };
    std::map<uintptr_t, Object> objects; // live objects
    uintptr_t nextHandle = 0x10000;
    int rasterCaps = 0xBE99;
    // Failure injection: the n-th call (counting from 1) of each fails; 0 never.
    int failCompatibleDC = 0, failCompatibleBitmap = 0, failSelect = 0, failDIBSection = 0,
        failBitmap = 0;
    bool dibSectionsFail = false; // every CreateDIBSection fails

    // Input.
    SHORT keyState[256] = {}; // GetKeyState answers; bit 15 = down
    HWND capture = nullptr;   // the window holding the mouse capture
    uint32_t joystickIds = 0; // joyGetNumDevs
    struct Joystick {
        UINT result = 165; // joyGetPosEx result; 0 answers with state
        JOYINFOEX state = {};
    };
    std::map<UINT, Joystick> joysticks;
    std::vector<UINT> joystickQueries; // ids asked, in order

    // Display and window geometry.
    std::vector<std::pair<DWORD, DWORD>> displayModes; // listed modes, width x height
    LONG changeResult = DISP_CHANGE_SUCCESSFUL;        // ChangeDisplaySettingsA with a mode
    int screenWidth = 1600, screenHeight = 1200;
    LONG windowStyle = 0x10CB0000;
    RECT windowRect = {647, 128, 1293, 553};
    int cursorCount = 0; // ShowCursor's display counter
    bool iconic = false; // the window is minimized (SW_MINIMIZE sets, SW_RESTORE clears)
    int callsCompatibleDC = 0, callsCompatibleBitmap = 0, callsSelect = 0, callsDIBSection = 0,
        callsBitmap = 0;
};

// The fake's state; tests set it up and read it back.
FakePlatform &Fake();

// Back to a fresh fake: no calls, clock at 0, everything present.
void Fake_Reset();

// Appends one call to the log.
void Fake_Record(const std::string &call);

// The recorded calls whose names start with one of the given prefixes, in order.
std::vector<std::string> Fake_CallsMatching(std::initializer_list<const char *> prefixes);

// Live objects of one kind ('D', 'B', 'I', 'P'), not counting the window's own DC.
int Fake_LiveObjects(char kind);

// The handle's name in the log: "dc1", "bmp2", "dib3", "pal4", "window", "stockbitmap".
std::string Fake_Name(const void *handle);

// Queues a message for the fake window.
void Fake_Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
