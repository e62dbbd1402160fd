// The window's arithmetic on any input (positions and sizes near the int limits, sizes beyond
// WM_SIZE's 16 bits) and invalidations made while painting, which stay pending.
#include "tests/core/testcore.h"

#include <limits.h>

enum { WINDOW_ARM_AT = 2, WINDOW_PAINTS = 3 };

// SetWindowPos on a 1600 x 1200 screen, and the window rectangle and client size it leaves:
// positions are kept in 16 bits, sizes within the tracking sizes, 112 x 27 up to the screen
// and 12 (the client is that less the 3-pixel sides and 22-pixel top).
static const struct {
    int x, y, cx, cy;
    RECT window;
    int clientWidth, clientHeight;
} WINDOW_PLACES[] = {
    {INT_MAX - 5, 20, 300, 100, {32767, 20, 33067, 120}, 294, 75}, // x + cx past INT_MAX
    {INT_MIN, INT_MIN + 1, 310, 110, {-32768, -32768, -32458, -32658}, 304, 85},
    {5, 6, INT_MAX, 120, {5, 6, 1617, 126}, 1606, 95},     // the widest window
    {7, 8, 70000, 130, {7, 8, 1619, 138}, 1606, 105},      // beyond WM_SIZE's 16 bits
    {9, 10, -50, -60, {9, 10, 121, 37}, 106, 2},           // negative sizes: the smallest
    {647, 128, 646, 425, {647, 128, 1293, 553}, 640, 400}, // home again
};

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

static void Window_CheckPlaces(void)
{
    HWND window = Scenario_Window();
    for (const auto &p : WINDOW_PLACES) {
        uint32_t from = Record_Count();
        SetWindowPos(window, 0, p.x, p.y, p.cx, p.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r = {0, 0, 0, 0};
        GetWindowRect(window, &r);
        uint32_t size = Record_Find(CALL_MESSAGE + WM_SIZE, from), lParam = 0;
        for (uint32_t i = size; i < Record_Count(); i = Record_Find(CALL_MESSAGE + WM_SIZE, i + 1))
            lParam = Record_Get(i)->b;
        Log_Check(size < Record_Count() && !memcmp(&r, &p.window, sizeof r) &&
                      lParam == (uint32_t)(p.clientHeight << 16 | p.clientWidth),
                  "SetWindowPos keeps Windows' coordinates, WM_SIZE the client's size",
                  "(%d, %d) %d x %d: window (%d, %d)-(%d, %d), WM_SIZE %u x %u", p.x, p.y, p.cx,
                  p.cy, (int)r.left, (int)r.top, (int)r.right, (int)r.bottom, lParam & 0xFFFF,
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
    Probe_PlainScreen();
    Window_CheckPlaces();
    return STEP_CLOSE;
}

const Scenario Scenario_WindowLimits = {"window", NULL, Window_Step, Window_Message, NULL, false};
