// Shared declarations of the scripted test core: log, call record, window hook, scenarios.
#pragma once

#include "core/core.h"

// ---- Log: one line per write, appended to the file named by TESTCORE_LOG ----

// Opens the log; lines of a child run carry the prefix "child NAME: ".
void Log_Open(void);
void Log_SetPrefix(const char *prefix);
void Log_Line(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Writes "ok WHAT" when ok, else "FAIL WHAT: details" and counts the failure.
bool Log_Check(bool ok, const char *what, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
void Log_Fail(const char *what, const char *format, ...) __attribute__((format(printf, 2, 3)));
unsigned Log_Failures(void);
// Reads a file into the buffer, NUL-terminated and cut to fit; false when unreadable.
bool File_Read(const char *path, char *buffer, uint32_t size);
// Reads the whole log file into a static buffer (NUL-terminated); null when unreadable.
const char *Log_ReadAll(void);

// ---- Record: every call into the core and every hooked window message, in order ----

enum RecordKind {
    RECORD_CALL,   // code = RecordCall
    RECORD_MESSAGE // code = window message, a = wParam, b = lParam, text for WM_SETTEXT;
                   // for WM_PAINT b = microseconds spent in the front-end's painting
};

enum RecordCall {
    CALL_KERNEL_INITIALIZE,
    CALL_KERNEL_STEP, // a = Time_Get()
    CALL_GDCGRAPH_ISPALETTECHANGED,
    CALL_GDCGRAPH_GETPALETTE,
    CALL_GDCTEXT_GETPALETTE,
    CALL_GDCPAL_GETCOLOR,
    CALL_GDC_RENDERBUFFER,
    CALL_GDC_RENDERSEP,
    CALL_KEYBOARD_PRESS,
    CALL_KEYBOARD_RELEASE,
    CALL_INPUT_EVENT,
    CALL_MOUSE_MOVE,
    CALL_MOUSE_ENTERWINDOW,
    CALL_MOUSE_LEAVEWINDOW,
    CALL_MOUSE_ISINWINDOW,
    CALL_MOUSE_KEYPRESS,
    CALL_MOUSE_KEYRELEASE,
    CALL_COUNT
};

struct RecordEvent {
    uint32_t kind;
    uint32_t code;
    uint32_t a;
    uint32_t b;
    uint32_t micros; // real time of the event
    char text[28];
};

// Messages the test core posts to the window.
enum {
    WM_TEST_INIT_MARK = WM_APP + 1, // posted from Kernel_Initialize
    WM_TEST_FRAME_MARK,             // posted from Kernel_Step, wParam = frame number
    WM_TEST_CHAIN                   // reposts itself while wParam > 1
};

void Record_Call(uint32_t call, uint32_t a, uint32_t b);
// The exported function's name for a RecordCall.
const char *Record_CallName(uint32_t call);
uint32_t Record_Count(void);
const RecordEvent *Record_Get(uint32_t index);
bool Record_IsCall(const RecordEvent *event, uint32_t call);
bool Record_IsMessage(const RecordEvent *event, uint32_t message);
// Index of the n-th (1-based) occurrence of a call, or Record_Count() when there is none.
uint32_t Record_FindCall(uint32_t call, uint32_t n);
uint32_t Record_CountCalls(uint32_t call);
uint32_t Record_CountMessages(uint32_t message, uint32_t from, uint32_t to);
// Writes events [from, to) to the log, to show what went wrong.
void Record_Dump(uint32_t from, uint32_t to);
bool Record_Overflowed(void);
// A scenario may take calls before the record does (a flood of them would overflow it): the
// filter returns true for a call it has taken, which is then not recorded. Null: none.
typedef bool (*RecordFilter)(uint32_t call, uint32_t a, uint32_t b);
void Record_SetFilter(RecordFilter filter);

// Finds this process's "WCGRAPH" window and hooks its window procedure; null when none.
HWND Hook_Install(void);
HWND Hook_Window(void);

// ---- Frame answers: a scenario may answer the renderer's questions to the core itself ----

// The palette handles GDCGraph_GetPalette and GDCText_GetPalette give.
enum { TESTCORE_GRAPHICS_PALETTE = 0x6701, TESTCORE_TEXT_PALETTE = 0x7E02 };

struct FrameAnswers {
    uint8_t (*isPaletteChanged)(void);
    uint16_t (*getColor)(uint32_t palette, uint8_t index);
    void (*renderBuffer)(uint8_t **graphics, uint8_t **maskAndText);
    void (*renderSep)(void *graphicsBits, void *textBits, void *maskBits);
};
// From now on these four calls are answered by answers (every member set); null: the fixed
// picture again. The calls are recorded either way.
void Exports_SetFrameAnswers(const FrameAnswers *answers);

// ---- Scenarios ----

enum ScenarioStep {
    STEP_CONTINUE,
    STEP_CLOSE,       // done: the driver posts WM_CLOSE
    STEP_CLOSE_POSTED // done: the scenario has asked the window to close its own way
};

struct Scenario {
    const char *name;
    // From Kernel_Initialize, after the window is hooked.
    void (*begin)(const char *tail);
    // From Kernel_Step with the 1-based frame number.
    ScenarioStep (*step)(uint32_t frame);
    // From the window hook, after the front-end's procedure; may be null.
    void (*message)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // At process exit, before the verdict; may be null.
    void (*end)(void);
};

extern const Scenario Scenario_Startup;
extern const Scenario Scenario_Args;
extern const Scenario Scenario_CmdLine;
extern const Scenario Scenario_Child;
extern const Scenario Scenario_Frames;
extern const Scenario Scenario_Shutdown;
extern const Scenario Scenario_Pixels;
extern const Scenario Scenario_MaskBlt;
extern const Scenario Scenario_RenderBench;
// Input, fullscreen and placeholder scenarios.
extern const Scenario Scenario_Keys;
extern const Scenario Scenario_Mouse;
extern const Scenario Scenario_Flood;
extern const Scenario Scenario_Joystick;
extern const Scenario Scenario_Fullscreen;
extern const Scenario Scenario_Placeholder;

void Scenario_Initialize(const char *tail);
void Scenario_Step(void);
void Scenario_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void Scenario_Exit(void);
// Record length when the close was asked for; the whole record while none was.
uint32_t Scenario_CloseIndex(void);

// Reads an environment variable into a static buffer; null when unset.
const char *Env_Get(const char *name, char *buffer, uint32_t size);
// Real time in microseconds (low 32 bits), independent of the front-end's clock.
uint32_t Clock_Micros(void);
