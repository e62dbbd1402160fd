// The core's functions, each recorded (the frame's in picture.cpp), and the scenario driver.
#include "tests/core/testcore.h"

static const Scenario *const SCENARIOS[] = {
    &Scenario_Startup,  &Scenario_Args,         &Scenario_Shutdown,    &Scenario_Frames,
    &Scenario_Pixels,   &Scenario_Blit,         &Scenario_Keys,        &Scenario_Mouse,
    &Scenario_Joystick, &Scenario_Fullscreen,   &Scenario_Placeholder, &Scenario_KeyTable,
    &Scenario_Crash,    &Scenario_WindowLimits, &Scenario_RenderBench, &Scenario_PaceBench,
    &Scenario_Soak,     &Scenario_Desktop};

enum { SCENARIO_FRAME_LIMIT = 1800 }; // a scenario still running then is closed as failed

static struct {
    const Scenario *scenario;
    HWND window;
    char tail[256];
    bool started, closing;
    bool inside; // the core's notion of the pointer
    uint32_t frame;
    uint32_t closeIndex; // record length when the close was asked for
} s_core;

HWND Scenario_Window(void)
{
    return s_core.window;
}

int32_t Scenario_Argument(void)
{
    const char *space = strchr(s_core.tail, ' ');
    return space && space[1] >= '0' && space[1] <= '9' ? atoi(space + 1) : -1;
}

void Scenario_Observe(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TEST_CHAIN && wParam > 1)
        Probe_Post(s_core.window, WM_TEST_CHAIN, wParam - 1, 0);
    if (message == WM_PAINT || message == WM_SETTEXT || message == WM_CLOSE ||
        message == WM_DESTROY || message == WM_SIZE || message == WM_TEST_MARK ||
        message == WM_TEST_CHAIN)
        Record_Add(CALL_MESSAGE + message, (uint32_t)wParam, (uint32_t)lParam);
    if (s_core.scenario && s_core.scenario->message)
        s_core.scenario->message(message, wParam, lParam);
    // On a desktop the window manager closes the window: that close ends the run.
    if (message == WM_CLOSE && s_core.scenario == &Scenario_Desktop && !s_core.closing) {
        s_core.closing = true;
        s_core.closeIndex = Record_Count();
    }
}

CORE_API void Kernel_Initialize(const char *tail)
{
    Record_Add(CALL_KERNEL_INITIALIZE, tail != NULL, 0);
    if (!Log_Check(!s_core.started, "Kernel_Initialize is called once", "called again"))
        return;
    s_core.started = true;
    snprintf(s_core.tail, sizeof s_core.tail, "%s", tail ? tail : "");
    // A run without arguments is the start-up scenario: it depends on the null tail.
    const char *name = tail ? tail : "startup";
    for (const Scenario *s : SCENARIOS) {
        size_t length = strlen(s->name);
        if (strncmp(name, s->name, length) == 0 && (name[length] == 0 || name[length] == ' '))
            s_core.scenario = s;
    }
    Log_Check(s_core.scenario != NULL, "the tail names a scenario", "tail \"%s\"", s_core.tail);
    s_core.window = Probe_HookWindow();
    if (!Log_Check(s_core.window != NULL, "window exists at Kernel_Initialize", "none found"))
        s_core.scenario = NULL;
    // Shows where the message loop starts in the record.
    Probe_Post(s_core.window, WM_TEST_MARK, 0, 0);
    if (s_core.scenario && s_core.scenario->begin)
        s_core.scenario->begin(tail);
}

CORE_API void Kernel_Step(void)
{
    Record_Add(CALL_KERNEL_STEP, Time_Get(), 0);
    s_core.frame++;
    if (s_core.closing)
        return;
    ScenarioStep result = s_core.scenario ? s_core.scenario->step(s_core.frame) : STEP_CLOSE;
    if (result == STEP_CONTINUE && s_core.frame >= SCENARIO_FRAME_LIMIT &&
        !s_core.scenario->unbounded) {
        Log_Check(false, "scenario finishes", "still running after %u frames", s_core.frame);
        result = STEP_CLOSE;
    }
    if (result == STEP_CONTINUE)
        return;
    s_core.closing = true;
    s_core.closeIndex = Record_Count();
    if (result == STEP_CLOSE)
        Probe_Post(s_core.window, WM_CLOSE, 0, 0);
}

// At every run's end: closed by the test, no frame after that, destroyed once, class gone.
void Scenario_Exit(void)
{
    if (!Log_Check(s_core.started, "Kernel_Initialize is called", "never"))
        return;
    Log_Check(s_core.closing, "the run ends when the test closes the window",
              "ended on its own after %u frames", s_core.frame);
    if (s_core.window) {
        uint32_t late = Record_Tally(CALL_KERNEL_STEP, s_core.closeIndex, Record_Count());
        Log_Check(late == 0, "no frame runs once the close is queued", "%u more", late);
        uint32_t destroys = Record_Tally(CALL_MESSAGE + WM_DESTROY, 0, Record_Count());
        Log_Check(destroys == 1, "window destroyed once", "%u WM_DESTROY", destroys);
        ProbeWindow state;
        Probe_GetWindow(s_core.window, &state);
        Log_Check(!state.exists && !state.classRegistered, "window and class gone at exit",
                  "window %s, class %s", state.exists ? "exists" : "gone",
                  state.classRegistered ? "registered" : "gone");
    }
    if (s_core.scenario && s_core.scenario->end)
        s_core.scenario->end();
    if (Log_Failures())
        Log_Line("FAIL verdict: %u failed checks", Log_Failures());
    else
        Log_Line("PASS");
}

RECORDED(void, Keyboard_Press, (uint32_t vk), CALL_KEYBOARD_PRESS, vk, 0, (void)0)
RECORDED(void, Keyboard_Release, (uint32_t vk), CALL_KEYBOARD_RELEASE, vk, 0, (void)0)
RECORDED(void, Input_Event, (uint32_t code, uint32_t value), CALL_INPUT_EVENT, code, value, (void)0)
RECORDED(void, Mouse_Move, (int32_t x, int32_t y), CALL_MOUSE_MOVE, (uint32_t)x, (uint32_t)y,
         (void)0)
RECORDED(void, Mouse_KeyPress, (uint32_t button), CALL_MOUSE_KEYPRESS, button, 0, (void)0)
RECORDED(void, Mouse_KeyRelease, (uint32_t button), CALL_MOUSE_KEYRELEASE, button, 0, (void)0)
RECORDED(void, Mouse_EnterWindow, (void), CALL_MOUSE_ENTERWINDOW, 0, 0, (void)(s_core.inside = 1))
RECORDED(void, Mouse_LeaveWindow, (void), CALL_MOUSE_LEAVEWINDOW, 0, 0, (void)(s_core.inside = 0))
RECORDED(uint8_t, Mouse_IsInWindow, (void), CALL_MOUSE_ISINWINDOW, s_core.inside, 0, s_core.inside)
