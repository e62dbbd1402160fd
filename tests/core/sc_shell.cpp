// Start-up (no arguments), the argument tail, and shutdown through the caption's close button.
#include "tests/core/testcore.h"

enum { SHELL_FRAMES = 3, SHELL_CLOSE_AT = 5, SHELL_STYLE = 0x00CB0000 | WS_VISIBLE };

static struct {
    uint32_t closedAt; // record length when the close button was pressed
} s_shell;

static void Startup_Begin(const char *tail)
{
    Log_Check(tail == NULL, "null tail without arguments", "\"%s\"", tail);
    HWND window = Scenario_Window();
    ProbeWindow w;
    Probe_GetWindow(window, &w);
    // Top-level windows always get WS_CLIPSIBLINGS from the platform.
    uint32_t style = (uint32_t)GetWindowLongA(window, GWL_STYLE) & ~0x04000000u;
    Log_Check(
        w.visible && style == SHELL_STYLE && w.clientWidth == 640 && w.clientHeight == 400 &&
            w.clientOrigin.x == 650 && w.clientOrigin.y == 150 && !strcmp(w.title, "Video Out"),
        "window shown: caption, system menu, boxes; 640 x 400 at (650, 150); Video Out",
        "%s, style 0x%08x, %d x %d at (%d, %d), \"%s\"", w.visible ? "shown" : "hidden", style,
        w.clientWidth, w.clientHeight, (int)w.clientOrigin.x, (int)w.clientOrigin.y, w.title);
    Log_Check(w.classRegistered && w.classStyle == CS_CLASSDC && w.largeIcon == 32 &&
                  w.smallIcon == 16 && w.blackBackground && w.arrowCursor,
              "class WCGRAPH: CS_CLASSDC, icons 32 and 16, black background, arrow, no extras",
              "registered %d, style 0x%x, icons %d and %d, black %d, arrow %d", w.classRegistered,
              w.classStyle, w.largeIcon, w.smallIcon, w.blackBackground, w.arrowCursor);
    // Before Time_Initialize the clock must count ms (the tick count steps by up to 16 ms).
    // Real time is read around each reading: a pause between the two cannot fail the check.
    uint64_t start = Probe_Micros();
    uint32_t counted = Time_Get();
    uint64_t asleep = Probe_Micros();
    Sleep(60);
    uint32_t least = (uint32_t)((Probe_Micros() - asleep) / 1000);
    counted = Time_Get() - counted;
    uint32_t most = (uint32_t)((Probe_Micros() - start) / 1000);
    Log_Check(counted + 17 >= least && counted <= most + 17,
              "Time_Get counts milliseconds before Time_Initialize",
              "%u ms counted in %u to %u real ms", counted, least, most);
    // Sleep may wake up to a tick early, never much sooner.
    Log_Check(least + 17 >= 60, "Sleep(60) waits about 60 ms", "at most %u ms passed", least);
}

static ScenarioStep Startup_Step(uint32_t frame)
{
    if (frame == 1) {
        // First a paint right after Kernel_Initialize, then the message it posted, then a frame.
        uint32_t paint = Record_Find(CALL_MESSAGE + WM_PAINT, 0);
        uint32_t mark = Record_Find(CALL_MESSAGE + WM_TEST_MARK, 0);
        uint32_t step = Record_Find(CALL_KERNEL_STEP, 0);
        Log_Check(paint < mark && mark < step,
                  "first paint, then the queued messages, then the first frame",
                  "paint #%u, mark #%u, Kernel_Step #%u", paint, mark, step);
    }
    return frame < SHELL_FRAMES ? STEP_CONTINUE : STEP_CLOSE;
}

// At exit, where the platform counts them: the palette alone, which lives as long as the
// process; the surfaces are gone with the renderer's shutdown.
static void Startup_End(void)
{
    int32_t live = Probe_LiveGdiObjects();
    Log_Check(live < 0 || live == 1, "shutdown leaves no GDI object but the palette", "%d alive",
              (int)live);
}

const Scenario Scenario_Startup = {"startup", Startup_Begin, Startup_Step,
                                   NULL,      Startup_End,   false};

// The runner passes: args "x  y" z "" p\"q; the core gets the line's rest unsplit, as quoted.
static void Args_Begin(const char *tail)
{
    const char *expected = "args \"x  y\" z \"\" p\\\"q";
    Log_Check(tail && strcmp(tail, expected) == 0, "the tail after the program name, unsplit",
              "\"%s\", expected \"%s\"", tail, expected);
}

const Scenario Scenario_Args = {"args", Args_Begin, Startup_Step, NULL, NULL, false};

static ScenarioStep Shutdown_Step(uint32_t frame)
{
    if (frame < SHELL_CLOSE_AT)
        return STEP_CONTINUE;
    s_shell.closedAt = Record_Count();
    Probe_Close(Scenario_Window());
    return STEP_CLOSED;
}

static void Shutdown_Message(UINT message, WPARAM, LPARAM)
{
    // After the program's PostQuitMessage(0) the quit message carries 3; the exit code stays 0.
    if (message == WM_DESTROY)
        PostQuitMessage(3);
}

// The run's end checks that the window is destroyed once, after the close button.
static void Shutdown_End(void)
{
    // The core has no shutdown call: nothing reaches it once the window is gone.
    uint32_t destroy = Record_Find(CALL_MESSAGE + WM_DESTROY, s_shell.closedAt), calls = 0;
    for (uint32_t i = destroy; i < Record_Count(); i++)
        calls += Record_Get(i)->code < CALL_COUNT;
    Log_Check(calls == 0, "no core call after the window is destroyed", "%u calls", calls);
}

const Scenario Scenario_Shutdown = {"shutdown",       NULL,         Shutdown_Step,
                                    Shutdown_Message, Shutdown_End, false};
