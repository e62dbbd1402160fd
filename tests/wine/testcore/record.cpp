// The record of calls into the core and of the messages the front-end's window receives.
#include "core/core.h"
#include "testcore.h"

enum { RECORD_CAPACITY = 16384 };

static RecordEvent record_events[RECORD_CAPACITY];
static uint32_t record_count;
static bool record_overflowed;

static HWND hook_window;
static WNDPROC hook_original;

static const char *const RECORD_CALL_NAMES[CALL_COUNT] = {
    "Kernel_Initialize",   "Kernel_Step",        "GDCGraph_IsPaletteChanged",
    "GDCGraph_GetPalette", "GDCText_GetPalette", "GDCPal_GetColor",
    "GDC_RenderBuffer",    "GDC_RenderSep",      "Keyboard_Press",
    "Keyboard_Release",    "Input_Event",        "Mouse_Move",
    "Mouse_EnterWindow",   "Mouse_LeaveWindow",  "Mouse_IsInWindow",
    "Mouse_KeyPress",      "Mouse_KeyRelease"};

const char *Record_CallName(uint32_t call)
{
    return call < CALL_COUNT ? RECORD_CALL_NAMES[call] : "?";
}

static RecordEvent *Record_Add(uint32_t kind, uint32_t code, uint32_t a, uint32_t b)
{
    if (record_count == RECORD_CAPACITY) {
        record_overflowed = true;
        return NULL;
    }
    RecordEvent *event = &record_events[record_count++];
    event->kind = kind;
    event->code = code;
    event->a = a;
    event->b = b;
    event->micros = Clock_Micros();
    event->text[0] = 0;
    return event;
}

static RecordFilter record_filter;

void Record_SetFilter(RecordFilter filter)
{
    record_filter = filter;
}

void Record_Call(uint32_t call, uint32_t a, uint32_t b)
{
    if (record_filter && record_filter(call, a, b))
        return;
    Record_Add(RECORD_CALL, call, a, b);
}

uint32_t Record_Count(void)
{
    return record_count;
}

const RecordEvent *Record_Get(uint32_t index)
{
    return &record_events[index];
}

bool Record_IsCall(const RecordEvent *event, uint32_t call)
{
    return event->kind == RECORD_CALL && event->code == call;
}

bool Record_IsMessage(const RecordEvent *event, uint32_t message)
{
    return event->kind == RECORD_MESSAGE && event->code == message;
}

uint32_t Record_FindCall(uint32_t call, uint32_t n)
{
    for (uint32_t i = 0; i < record_count; i++)
        if (Record_IsCall(&record_events[i], call) && --n == 0)
            return i;
    return record_count;
}

uint32_t Record_CountCalls(uint32_t call)
{
    uint32_t count = 0;
    for (uint32_t i = 0; i < record_count; i++)
        count += Record_IsCall(&record_events[i], call);
    return count;
}

uint32_t Record_CountMessages(uint32_t message, uint32_t from, uint32_t to)
{
    uint32_t count = 0;
    for (uint32_t i = from; i < to && i < record_count; i++)
        count += Record_IsMessage(&record_events[i], message);
    return count;
}

static const char *Record_MessageName(uint32_t message)
{
    switch (message) {
    case WM_PAINT:
        return "WM_PAINT";
    case WM_SETTEXT:
        return "WM_SETTEXT";
    case WM_CLOSE:
        return "WM_CLOSE";
    case WM_DESTROY:
        return "WM_DESTROY";
    case WM_SYSCOMMAND:
        return "WM_SYSCOMMAND";
    case WM_TEST_INIT_MARK:
        return "init mark";
    case WM_TEST_FRAME_MARK:
        return "frame mark";
    case WM_TEST_CHAIN:
        return "chain";
    }
    return "message";
}

void Record_Dump(uint32_t from, uint32_t to)
{
    if (to > record_count)
        to = record_count;
    for (uint32_t i = from; i < to; i++) {
        const RecordEvent *event = &record_events[i];
        if (event->kind == RECORD_CALL)
            Log_Line("  #%u %s(%u, %u)", i, Record_CallName(event->code), event->a, event->b);
        else
            Log_Line("  #%u %s 0x%x (%u) \"%s\"", i, Record_MessageName(event->code), event->code,
                     event->a, event->text);
    }
}

bool Record_Overflowed(void)
{
    return record_overflowed;
}

// Only the messages the scenarios look at are kept, so that the record stays short.
static bool Hook_IsRecorded(UINT message)
{
    return message == WM_PAINT || message == WM_SETTEXT || message == WM_CLOSE ||
           message == WM_DESTROY || message == WM_SYSCOMMAND ||
           (message >= WM_TEST_INIT_MARK && message <= WM_TEST_CHAIN);
}

static LRESULT CALLBACK Hook_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    RecordEvent *event = NULL;
    if (Hook_IsRecorded(message)) {
        event = Record_Add(RECORD_MESSAGE, message, wParam, lParam);
        if (event && message == WM_SETTEXT && lParam)
            lstrcpynA(event->text, (const char *)lParam, sizeof event->text);
    }
    // Our own messages are not the front-end's business.
    LRESULT result = 0;
    if (message < WM_TEST_INIT_MARK || message > WM_TEST_CHAIN)
        result = CallWindowProcA(hook_original, window, message, wParam, lParam);
    // A paint's lParam means nothing: it keeps how long the front-end took to paint.
    if (event && message == WM_PAINT)
        event->b = Clock_Micros() - event->micros;
    Scenario_Message(window, message, wParam, lParam);
    return result;
}

static BOOL CALLBACK Hook_FindWindow(HWND window, LPARAM found)
{
    char name[16];
    if (GetClassNameA(window, name, sizeof name) && lstrcmpA(name, "WCGRAPH") == 0) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

HWND Hook_Install(void)
{
    // This thread's windows only: a parent run's window of the same class may be on screen.
    HWND window = NULL;
    EnumThreadWindows(GetCurrentThreadId(), Hook_FindWindow, (LPARAM)&window);
    if (!window)
        return NULL;
    hook_window = window;
    hook_original = (WNDPROC)SetWindowLongA(window, GWL_WNDPROC, (LONG)(LONG_PTR)Hook_WindowProc);
    return window;
}

HWND Hook_Window(void)
{
    return hook_window;
}
