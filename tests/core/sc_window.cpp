// The window's arithmetic on any input (positions and sizes near the int limits, sizes beyond
// WM_SIZE's 16 bits) and invalidations made while painting, which stay pending.
#include "tests/core/table.h"

#include <limits.h>

enum { WINDOW_ARM_AT = 2, WINDOW_PAINTS = 3 };

static struct {
    uint32_t armedAt;       // record index of the frame that armed the invalidations
    uint32_t invalidations; // still to make, one in each coming paint
} s_window;

// In a paint, after the program's: alternately InvalidateRect alone, and InvalidateRect
// between a BeginPaint and an EndPaint of our own.
static void Window_Message(UINT message, WPARAM, LPARAM)
{
    if (message != WM_PAINT || s_window.invalidations == 0)
        return;
    HWND window = Scenario_Window();
    bool own = --s_window.invalidations % 2 == 0;
    PAINTSTRUCT paint;
    if (own)
        BeginPaint(window, &paint);
    InvalidateRect(window, NULL, FALSE);
    if (own)
        EndPaint(window, &paint);
}

// SetWindowPos with the places of the file named by CASES: the window rectangle and the
// client size in WM_SIZE that each must leave.
static void Window_CheckPlaces(void)
{
    HWND window = Scenario_Window();
    TableRow row;
    for (bool read = Table_Open("CASES"); read && Table_Next(&row);) {
        int p[10]; // x, y, cx, cy, the rectangle, the client's width and height
        for (int i = 0; i < 10; i++)
            p[i] = (int)strtol(row.field[i], NULL, 10);
        uint32_t from = Record_Count();
        SetWindowPos(window, 0, p[0], p[1], p[2], p[3], SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r = {0, 0, 0, 0};
        GetWindowRect(window, &r);
        uint32_t size = Record_Find(CALL_MESSAGE + WM_SIZE, from), lParam = 0;
        for (uint32_t i = size; i < Record_Count(); i = Record_Find(CALL_MESSAGE + WM_SIZE, i + 1))
            lParam = Record_Get(i)->b;
        Log_Check(size < Record_Count() && r.left == p[4] && r.top == p[5] && r.right == p[6] &&
                      r.bottom == p[7] && lParam == (uint32_t)(p[9] << 16 | p[8]),
                  "SetWindowPos keeps Windows' coordinates, WM_SIZE the client's size",
                  "(%d, %d) %d x %d: window (%d, %d)-(%d, %d), WM_SIZE %u x %u", p[0], p[1], p[2],
                  p[3], (int)r.left, (int)r.top, (int)r.right, (int)r.bottom, lParam & 0xFFFF,
                  lParam >> 16);
    }
    // AdjustWindowRect wraps at 32 bits, as Windows' does.
    RECT r = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    AdjustWindowRect(&r, 0x00CB0000, FALSE);
    Log_Check(r.left == INT_MAX - 2 && r.top == INT_MAX - 21 && r.right == INT_MIN + 2 &&
                  r.bottom == INT_MIN + 2,
              "AdjustWindowRect at the int limits wraps", "(%d, %d)-(%d, %d)", (int)r.left,
              (int)r.top, (int)r.right, (int)r.bottom);
}

static ScenarioStep Window_Step(uint32_t frame)
{
    if (frame < WINDOW_ARM_AT)
        return STEP_CONTINUE;
    if (frame == WINDOW_ARM_AT) {
        s_window.armedAt = Record_Count();
        s_window.invalidations = WINDOW_PAINTS;
        return STEP_CONTINUE;
    }
    // The frame's own paint, then one more for each invalidation made while painting.
    uint32_t paints = Record_Tally(CALL_MESSAGE + WM_PAINT, s_window.armedAt, Record_Count());
    Log_Check(paints == 1 + WINDOW_PAINTS, "an invalidation made while painting stays pending",
              "%u paints after %u invalidations", paints, (unsigned)WINDOW_PAINTS);
    Probe_SetDesktop(1600, 1200, false);
    Window_CheckPlaces();
    return STEP_CLOSE;
}

const Scenario Scenario_WindowLimits = {"window", NULL, Window_Step, Window_Message, NULL, false};
