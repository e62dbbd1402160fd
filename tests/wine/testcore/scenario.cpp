// Scenario driver: picks the scenario, closes the window when done, judges the shutdown.
#include "core/core.h"
#include "testcore.h"

// A scenario that has not finished after this many frames (about 15 s) is closed as failed.
enum { SCENARIO_FRAME_LIMIT = 900 };

static const Scenario *const scenario_table[] = {
    &Scenario_Args,       &Scenario_CmdLine, &Scenario_Frames,      &Scenario_Shutdown,
    &Scenario_Pixels,     &Scenario_MaskBlt, &Scenario_RenderBench, &Scenario_Keys,
    &Scenario_Mouse,      &Scenario_Flood,   &Scenario_Joystick,    &Scenario_Fullscreen,
    &Scenario_Placeholder};

static const Scenario *scenario_current;
static bool scenario_started;
static uint32_t scenario_frame;
static bool scenario_closing;
static uint32_t scenario_close_index; // record length when the close was asked for

static bool Scenario_NameMatches(const char *name, const char *tail)
{
    size_t length = strlen(name);
    return strncmp(tail, name, length) == 0 && (tail[length] == 0 || tail[length] == ' ');
}

static const Scenario *Scenario_Select(const char *tail)
{
    char child[32];
    if (Env_Get("TESTCORE_CHILD", child, sizeof child)) {
        char prefix[48];
        _snprintf(prefix, sizeof prefix - 1, "child %s: ", child);
        prefix[sizeof prefix - 1] = 0;
        Log_SetPrefix(prefix);
        return &Scenario_Child;
    }
    // A run without arguments is the start-up scenario; it depends on the null tail.
    if (!tail)
        return &Scenario_Startup;
    for (uint32_t i = 0; i < sizeof scenario_table / sizeof scenario_table[0]; i++)
        if (Scenario_NameMatches(scenario_table[i]->name, tail))
            return scenario_table[i];
    return NULL;
}

void Scenario_Initialize(const char *tail)
{
    if (scenario_started) {
        Log_Fail("Kernel_Initialize is called once", "called again");
        return;
    }
    scenario_started = true;
    scenario_current = Scenario_Select(tail);
    if (scenario_current)
        Log_Line("scenario %s", scenario_current->name);
    else
        Log_Fail("scenario",
                 "no scenario is named by the tail \"%s\" (a run without "
                 "arguments must give a null tail)",
                 tail);

    HWND window = Hook_Install();
    Log_Check(window != NULL, "window exists at Kernel_Initialize",
              "no window of class WCGRAPH on this thread");
    if (!window) {
        scenario_current = NULL;
        return;
    }
    // Shows where the message loop starts in the record.
    PostMessageA(window, WM_TEST_INIT_MARK, 0, 0);
    if (scenario_current)
        scenario_current->begin(tail);
}

static void Scenario_Close(ScenarioStep how)
{
    scenario_closing = true;
    scenario_close_index = Record_Count();
    if (how == STEP_CLOSE && Hook_Window())
        PostMessageA(Hook_Window(), WM_CLOSE, 0, 0);
}

void Scenario_Step(void)
{
    scenario_frame++;
    if (!scenario_started && scenario_frame == 1)
        Log_Fail("Kernel_Initialize comes first", "Kernel_Step ran before it");
    if (scenario_closing)
        return;
    ScenarioStep result = STEP_CLOSE;
    if (scenario_current && Hook_Window())
        result = scenario_current->step(scenario_frame);
    if (result == STEP_CONTINUE && scenario_frame >= SCENARIO_FRAME_LIMIT) {
        Log_Fail("scenario finishes", "still running after %u frames", scenario_frame);
        result = STEP_CLOSE;
    }
    if (result != STEP_CONTINUE)
        Scenario_Close(result);
}

void Scenario_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (scenario_current && scenario_current->message)
        scenario_current->message(window, message, wParam, lParam);
}

uint32_t Scenario_CloseIndex(void)
{
    return scenario_closing ? scenario_close_index : Record_Count();
}

// What every run must show at its end: the window closed by the loop, destroyed, and its
// class unregistered before the process exits.
static void Scenario_CheckShutdown(void)
{
    HWND window = Hook_Window();
    if (!Log_Check(scenario_closing, "run ends when the test closes the window",
                   "the process ended on its own after %u frames", scenario_frame))
        Record_Dump(Record_Count() > 30 ? Record_Count() - 30 : 0, Record_Count());
    if (!window)
        return;
    // The close is queued when asked for: the loop must take it before any further frame.
    uint32_t late = 0;
    for (uint32_t i = Scenario_CloseIndex(); i < Record_Count(); i++)
        late += Record_IsCall(Record_Get(i), CALL_KERNEL_STEP);
    Log_Check(late == 0, "no frame runs once the close is queued", "%u more Kernel_Step", late);
    uint32_t destroys = Record_CountMessages(WM_DESTROY, 0, Record_Count());
    Log_Check(destroys == 1, "window destroyed once on close", "%u WM_DESTROY", destroys);
    Log_Check(!IsWindow(window), "window gone at exit", "the window still exists");
    WNDCLASSEXA info;
    info.cbSize = sizeof info;
    bool registered = GetClassInfoExA(GetModuleHandleA(NULL), "WCGRAPH", &info);
    Log_Check(!registered, "window class unregistered at exit", "WCGRAPH is still registered");
}

void Scenario_Exit(void)
{
    if (!scenario_started) {
        Log_Fail("Kernel_Initialize is called", "the process ended without calling it");
    } else {
        Scenario_CheckShutdown();
        if (scenario_current && scenario_current->end)
            scenario_current->end();
    }
    Log_Check(!Record_Overflowed(), "record kept every event", "the record overflowed");
    uint32_t failures = Log_Failures();
    if (failures)
        Log_Line("FAIL verdict: %u failed checks", failures);
    else
        Log_Line("PASS");
}
