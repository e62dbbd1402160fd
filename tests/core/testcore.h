// The scripted core: a core library that records the program's calls and messages, and runs
// and checks the scenario the command line names from inside the process, on every platform.
#pragma once

#include "core/core.h"
#include "tests/core/probe.h"

// ---- Log: lines appended to the file named by TESTCORE_LOG ----

void Log_Line(const char *format, ...) __attribute__((format(printf, 1, 2)));
// "ok WHAT" when ok, else "FAIL WHAT: details"; the result.
bool Log_Check(bool ok, const char *what, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
// "digest WHAT: hash": what must come out the same on every platform.
void Log_Digest(const char *what, uint32_t hash);
uint32_t Log_Failures(void);

// ---- Record: calls into the core and the messages the scenarios look at, in order ----

enum RecordCall {
    CALL_KERNEL_INITIALIZE,
    CALL_KERNEL_STEP, // a = Time_Get()
    CALL_GDCGRAPH_ISPALETTECHANGED,
    CALL_GDCGRAPH_GETPALETTE,
    CALL_GDCTEXT_GETPALETTE,
    CALL_GDCPAL_GETCOLOR,
    CALL_GDC_RENDERBUFFER,
    CALL_GDC_RENDERSEP,
    CALL_KEYBOARD_PRESS, // the input calls from here on
    CALL_KEYBOARD_RELEASE,
    CALL_INPUT_EVENT,
    CALL_MOUSE_MOVE,
    CALL_MOUSE_ENTERWINDOW,
    CALL_MOUSE_LEAVEWINDOW,
    CALL_MOUSE_ISINWINDOW, // a = the answer
    CALL_MOUSE_KEYPRESS,
    CALL_MOUSE_KEYRELEASE,
    CALL_COUNT,
    CALL_MESSAGE = 0x10000 // + message: a window message, a = wParam, b = lParam
};

struct RecordEvent {
    uint32_t code; // a RecordCall, or CALL_MESSAGE + message
    uint32_t a, b;
};

// Messages the scripted core sends itself: not the program's business.
enum { WM_TEST_MARK = WM_USER + 0x100, WM_TEST_CHAIN };

void Record_Add(uint32_t code, uint32_t a, uint32_t b);
// A core function that records its call, then answers (void ones with (void)0, or what they do).
#define RECORDED(type, name, params, code, a, b, answer)                                           \
    CORE_API type name params                                                                      \
    {                                                                                              \
        Record_Add(code, a, b);                                                                    \
        return answer;                                                                             \
    }
// From now on only the window's closing and destruction are recorded (for long runs).
void Record_SetQuiet(void);
// Forgets what was recorded so far (a run that writes its events out as they come).
void Record_Clear(void);
uint32_t Record_Count(void);
const RecordEvent *Record_Get(uint32_t index);
// Index of the first event with the code at or after from; Record_Count() when none.
uint32_t Record_Find(uint32_t code, uint32_t from);
// Events with the code in [from, to).
uint32_t Record_Tally(uint32_t code, uint32_t from, uint32_t to);
// Writes events [from, to) to the log.
void Record_Dump(uint32_t from, uint32_t to);

// One expected input call; a list ends at code 0 (an empty {}).
struct Expected {
    uint32_t code, a, b;
};
// The input calls (or the key calls alone) from index from on must be exactly the list.
bool Expect_Calls(const char *what, uint32_t from, const Expected *calls, bool keysOnly);
// The calls of the scenarios' tables.
#define PRESS(vk) (Expected{CALL_KEYBOARD_PRESS, vk, 0})
#define RELEASE(vk) (Expected{CALL_KEYBOARD_RELEASE, vk, 0})
#define EVENT(code, value) (Expected{CALL_INPUT_EVENT, code, value})
// A key going up as the core hears it: the key call, then the event of its low byte.
#define KEY_UP(vk) RELEASE(vk), EVENT((vk)&0xFF, 2)

// ---- Scenarios ----

enum ScenarioStep { STEP_CONTINUE, STEP_CLOSE, STEP_CLOSED };

struct Scenario {
    const char *name;
    void (*begin)(const char *tail);      // from Kernel_Initialize; may be null
    ScenarioStep (*step)(uint32_t frame); // from Kernel_Step, frames counted from 1
    void (*message)(UINT message, WPARAM wParam, LPARAM lParam); // may be null
    void (*end)(void);                                           // at exit; may be null
    bool unbounded; // runs as long as it likes (the benchmarks); else closed after 1800 frames
};

// The program's window.
HWND Scenario_Window(void);
// The scenario's argument: the tail's second word as a number; -1 when there is none.
int32_t Scenario_Argument(void);

// After the program's window procedure has handled a message (from the probe).
void Scenario_Observe(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// At process exit: the checks every run makes, then the verdict line.
void Scenario_Exit(void);

extern const Scenario Scenario_Startup, Scenario_Args, Scenario_Shutdown, Scenario_Frames,
    Scenario_Pixels, Scenario_Blit, Scenario_Keys, Scenario_Mouse, Scenario_Joystick,
    Scenario_Fullscreen, Scenario_Placeholder, Scenario_KeyTable, Scenario_Crash,
    Scenario_WindowLimits;
// As the core library loads, before the program runs: what TESTCORE_AT_LOAD asks for.
void Scenario_AtLoad(void);
// Driven from outside on a real desktop: logs input calls and sizes as they come.
extern const Scenario Scenario_Desktop;
// The benchmarks' scenarios (bench/core/): they print figures and judge nothing.
extern const Scenario Scenario_RenderBench, Scenario_PaceBench, Scenario_Soak;

// ---- Helpers ----

// xorshift32: the same sequence on every run and platform.
uint32_t Test_Random(uint32_t *state);
// FNV-1a over 32-bit words.
uint32_t Test_Hash(uint32_t hash, const uint32_t *words, uint32_t count);
enum { TEST_HASH_START = 2166136261u };
// A top-down DIB section of up to 8 bits with a colour table (count 0: none), or 32 bits.
HBITMAP Test_MakeDIB(int width, int height, int bits, const RGBQUAD *colors, int count,
                     void **pixels);
